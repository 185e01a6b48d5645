// The tieback dialog: the ground anchors of the wall.
#pragma once

#include "InputDialog.h"

namespace ramvex {

class TDlgInc : public TTableButtonDialog {
  Q_OBJECT

 public:
  TDlgInc(TProgramData& data, QMdiArea* area);
};

}  // namespace ramvex
