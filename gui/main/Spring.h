// The springs dialog: lateral and rotational springs along the wall.
#pragma once

#include "InputDialog.h"

namespace ramvex {

class TDlgSpring : public TOptionTableDialog {
  Q_OBJECT

 public:
  TDlgSpring(TProgramData& data, QMdiArea* area);
};

}  // namespace ramvex
