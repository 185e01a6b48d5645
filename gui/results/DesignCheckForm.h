// The design check window: runs the embedment sweep or the mesh check of
// the open project, shows the table and a graph of the top deflection and
// the largest moment against the wall length, marks the recommended length
// and applies it to the project after asking.
//
// The study is the ramvex-design program run through QProcess on the
// project saved into a temporary folder: every case is a separate engine
// run, so the window stays responsive and Cancel stops the processes.
#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "DesignCheck.h"
#include "PltData.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace ramvex {

class TProgramData;

// The two graphs of a sweep, painted by the program's graph code.
class TDesignGraphView : public QWidget {
 public:
  explicit TDesignGraphView(QWidget* parent = nullptr);
  // Top deflection and largest moment against length; the recommended
  // length (index into cases, -1 for none) as a vertical line.
  void SetCases(const std::vector<TCaseResult>& cases, int units, int recommended);
  void Clear();
  const TGraphPlot& Deflection() const { return deflection_; }
  const TGraphPlot& Moment() const { return moment_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TGraphPlot deflection_, moment_;
  bool shown_ = false;
};

class TDesignCheckForm : public QWidget {
  Q_OBJECT
 public:
  TDesignCheckForm(TProgramData& project, QWidget* parent = nullptr);
  ~TDesignCheckForm() override;

  enum TStudy { kSweep = 0, kMesh = 1 };

  // The program that makes the study; by default ramvex-design beside the
  // running program.
  void SetToolPath(const QString& path) { toolPath_ = path; }
  // The Yes/No question before the project is changed; a message box by
  // default.
  void SetAsk(std::function<bool(const QString&)> ask) { ask_ = std::move(ask); }

  // The study's settings, in the project's shown units.
  void SetStudy(TStudy study);
  void SetSweep(double from, double to, double step, double maxDeflection = 0, double tolerancePercent = 5);
  void SetJobs(int jobs);

  bool Running() const;
  // Folder that holds the saved project and every case while a study runs.
  QString WorkFolder() const;
  const std::vector<TCaseResult>& Cases() const { return cases_; }
  // Index of the recommended length of the last sweep, -1 when none.
  int Recommended() const { return recommended_; }
  QString VerdictText() const;
  QString StatusText() const;
  const TDesignGraphView& Graph() const { return *graph_; }
  const QTableWidget& Table() const { return *table_; }

 public slots:
  void RunClick();
  void CancelClick();
  // Applies the recommended length (sweep) or the finer mesh (mesh check)
  // to the project, after asking.  True when the project was changed.
  bool ApplyClick();

 signals:
  // The study ended: completed, or not (cancelled, or failed with the
  // message in the status line).
  void StudyFinished(bool completed);
  // The project was rewritten: the main window refreshes its views.
  void ProjectChanged();

 private:
  void ReadProgress();
  void Finished(int exitCode, QProcess::ExitStatus status);
  void ShowTable(const TTextTable& table);
  void UpdateControls();
  void StudyChanged();

  TProgramData& project_;
  QString toolPath_;
  std::function<bool(const QString&)> ask_;

  QComboBox* study_;
  QDoubleSpinBox *from_, *to_, *step_, *maxDeflection_, *tolerance_;
  QSpinBox* jobs_;
  QPushButton *run_, *cancel_, *apply_;
  QProgressBar* progress_;
  QLabel *status_, *verdict_;
  QTableWidget* table_;
  TDesignGraphView* graph_;

  QProcess* process_ = nullptr;
  std::unique_ptr<QTemporaryDir> work_;
  QByteArray errors_;
  bool cancelled_ = false;
  TStudy running_ = kSweep;
  int units_ = 1;
  std::vector<TCaseResult> cases_;
  int recommended_ = -1;
  std::optional<TMeshVerdict> mesh_;
};

}  // namespace ramvex
