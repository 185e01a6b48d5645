// The concentrated loads dialog: loads and moments applied on the wall.
#pragma once

#include "InputDialog.h"

namespace ramvex {

class TDlgConLoads : public TOptionTableDialog {
  Q_OBJECT

 public:
  TDlgConLoads(TProgramData& data, QMdiArea* area);
};

}  // namespace ramvex
