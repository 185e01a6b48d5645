// Wall properties dialog: discretisation of the wall and control of the
// iteration.
#pragma once

#include "InputDialog.h"

class QPushButton;

namespace ramvex {

class TDlgProp : public TInputDialog {
  Q_OBJECT

 public:
  TDlgProp(TProgramData& data, QMdiArea* area);

  TDataEdit* Increments() const { return increments_; }
  TDataEdit* IncrementLength() const { return incrementLength_; }
  TDataEdit* FreeHeight() const { return freeHeight_; }
  TDataEdit* MaxDeflection() const { return maxDeflection_; }
  TDataEdit* Tolerance() const { return tolerance_; }
  QPushButton* SectionButton() const { return section_; }

 protected:
  void Load() override;
  void Store() override;

 private:
  TDataEdit* increments_;
  TDataEdit* incrementLength_;
  TDataEdit* freeHeight_;
  TDataEdit* maxDeflection_;
  TDataEdit* tolerance_;
  QPushButton* section_;
};

}  // namespace ramvex
