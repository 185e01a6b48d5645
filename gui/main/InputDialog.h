// Common behaviour of the input dialogs that live as child windows of the
// main window: they load the project when they become active, store into it
// when they lose the focus or close, and keep the user in an entry field
// whose value cannot be accepted.
#pragma once

#include <QMdiArea>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

#include "Sketches.h"
#include "TableEditors.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;

namespace ramvex {

class TDataEdit;
class TGridTable;
class TProgramData;

class TInputDialog : public QWidget, public TCommitTarget {
  Q_OBJECT

 public:
  TInputDialog(TProgramData& data, QMdiArea* area, const QString& title);

  // Activation: the fields take the project's unit system and the controls
  // show the project.
  void Activate();
  // Deactivation: stores the controls unless the active entry field holds a
  // value that cannot be accepted.
  bool CommitEdit() override;

 protected:
  virtual void Load() {}
  virtual void Store() {}

  // A labelled entry field on a row of grid.  A value held in the project
  // in inches (or per square inch) and shown in feet (or per square foot) in
  // unit system 1 gives the factor of the display: 1/12 or 144.
  TDataEdit* AddField(QGridLayout* grid, int row, const QString& caption, const QString& unitString,
                      long double TProgramData::*field = nullptr, long double englishFactor = 1);
  // Shows the bound fields.
  void LoadFields();
  // Stores the bound fields the user changed; marks the project modified
  // when one did.
  void StoreFields();
  // Text shown by the last load of field, to tell an edit from a display.
  bool Edited(const TDataEdit* field) const;
  void Loaded(const TDataEdit* field);

  void closeEvent(QCloseEvent* event) override;

  TProgramData& data_;
  QPointer<QMdiArea> area_;

 private:
  struct TBinding {
    TDataEdit* Edit;
    long double TProgramData::*Field;
    long double EnglishFactor;
    QString LoadedText;
  };
  TBinding* Find(const TDataEdit* field);
  const TBinding* Find(const TDataEdit* field) const;
  long double Factor(const TBinding& b) const;
  std::vector<TBinding> bindings_;
};

// A sketch and one button that opens the editor of a table: the additional
// surcharge and tieback dialogs.
class TTableButtonDialog : public TInputDialog {
  Q_OBJECT

 public:
  TTableButtonDialog(TProgramData& data, QMdiArea* area, const QString& title, TSketch sketch,
                     const QString& buttonCaption, std::function<TGridTable&()> table);
  QPushButton* Button() const { return button_; }

 private:
  QPushButton* button_;
};

// A sketch, a check box that switches an option and a button that opens the
// option's table: the concentrated loads and springs dialogs.
class TOptionTableDialog : public TInputDialog {
  Q_OBJECT

 public:
  TOptionTableDialog(TProgramData& data, QMdiArea* area, const QString& title, TSketch sketch,
                     const QString& checkCaption, bool TProgramData::*flag, const QString& buttonCaption,
                     std::function<TGridTable&()> table);
  QCheckBox* Check() const { return check_; }
  QPushButton* Button() const { return button_; }

 protected:
  void Load() override;
  void Store() override;

 private:
  void Clicked(bool checked);
  bool TProgramData::*flag_;
  std::function<TGridTable&()> table_;
  QCheckBox* check_;
  QPushButton* button_;
};

}  // namespace ramvex
