// The additional surcharge dialog: the surcharge loads behind the wall.
#pragma once

#include "InputDialog.h"

namespace ramvex {

class TDlgRebar : public TTableButtonDialog {
  Q_OBJECT

 public:
  TDlgRebar(TProgramData& data, QMdiArea* area);
};

}  // namespace ramvex
