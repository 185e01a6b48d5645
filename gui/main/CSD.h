// Wall configuration dialog: the wall and water geometry, the widths of the
// wall units and the backfill surface.
#pragma once

#include "InputDialog.h"

namespace ramvex {

class TDlgCSD : public TInputDialog {
  Q_OBJECT

 public:
  TDlgCSD(TProgramData& data, QMdiArea* area);

  TDataEdit* FreeHeight() const { return freeHeight_; }
  TDataEdit* ActiveWidth() const { return activeWidth_; }
  TDataEdit* WaterBackfill() const { return waterBackfill_; }
  TDataEdit* PYWidth() const { return pyWidth_; }
  TDataEdit* WaterExcavation() const { return waterExcavation_; }
  TDataEdit* PressureFactor() const { return factor_; }
  TDataEdit* BackfillSlope() const { return slope_; }
  TDataEdit* SurfacePressure() const { return surface_; }

 protected:
  void Load() override { LoadFields(); }
  void Store() override { StoreFields(); }

 private:
  TDataEdit* freeHeight_;
  TDataEdit* activeWidth_;
  TDataEdit* waterBackfill_;
  TDataEdit* pyWidth_;
  TDataEdit* waterExcavation_;
  TDataEdit* factor_;
  TDataEdit* slope_;
  TDataEdit* surface_;
};

}  // namespace ramvex
