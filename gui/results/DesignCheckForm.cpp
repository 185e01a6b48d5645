#include "DesignCheckForm.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "PlotDraw.h"
#include "PlotView.h"
#include "ProgramData.h"

namespace ramvex {

namespace {

// The length to recommend: long enough to be past the critical length and
// to meet the deflection limit.
int RecommendedIndex(const TSweepVerdict& v) {
  if (v.Critical < 0 || v.Shortest < 0) return -1;
  return std::max(v.Critical, v.Shortest);
}

void FillGraph(TGraphPlot& g, const char* caption, const std::string& yCaption, const std::string& yUnits,
               const std::string& lengthUnit, const std::vector<TCaseResult>& cases, int recommended,
               double (*value)(const TCaseResult&)) {
  g.Caption = caption;
  g.XOnTop = false;
  g.CurveName = "";
  g.XCaption = "Wall length";
  g.XUnits = lengthUnit;
  g.YCaption = yCaption;
  g.YUnits = yUnits;
  g.Markers = 1;
  std::vector<TFloatPoint> points;
  for (const TCaseResult& c : cases) {
    if (c.HasResults) points.push_back({c.Length, value(c)});
  }
  g.SetCurveCount(TCurveList::Panel1, recommended >= 0 ? 2 : 1);
  TLine& curve = g.Curve(TCurveList::Panel1, 0);
  curve.Points = points;
  curve.Name = yCaption;
  if (recommended >= 0 && !points.empty()) {
    long double lo = 0, hi = 0;
    for (const TFloatPoint& p : points) {
      lo = std::min(lo, p.Y);
      hi = std::max(hi, p.Y);
    }
    TLine& mark = g.Curve(TCurveList::Panel1, 1);
    const long double x = cases[static_cast<size_t>(recommended)].Length;
    mark.Points = {{x, lo}, {x, hi}};
    mark.Name = "Recommended length";
  }
  IncludeCurves(g);
}

QString Text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// ---------------------------------------------------------------- graph

TDesignGraphView::TDesignGraphView(QWidget* parent) : QWidget(parent) { setMinimumSize(480, 260); }

void TDesignGraphView::SetCases(const std::vector<TCaseResult>& cases, int units, int recommended) {
  const TSummaryUnits u = SummaryUnits(units);
  const std::string len = WallLengthUnit(units);
  deflection_.SetUnits(units);
  moment_.SetUnits(units);
  FillGraph(deflection_, "Top Deflection vs Wall Length", "Top deflection", u.Deflection, len, cases, recommended,
            [](const TCaseResult& c) { return c.TopDeflection; });
  FillGraph(moment_, "Maximum Moment vs Wall Length", "Maximum moment", u.Moment, len, cases, recommended,
            [](const TCaseResult& c) { return c.Moment.Valid ? c.Moment.Value : 0.0; });
  shown_ = deflection_.HasData();
  update();
}

void TDesignGraphView::Clear() {
  shown_ = false;
  update();
}

void TDesignGraphView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!shown_) {
    painter.drawText(rect(), Qt::AlignCenter, tr("The graphs appear when a sweep has two lengths with results."));
    return;
  }
  const int half = width() / 2;
  draw(painter, QRect(0, 0, half, height()), deflection_, NewGraphView(deflection_));
  draw(painter, QRect(half, 0, width() - half, height()), moment_, NewGraphView(moment_));
}

// ---------------------------------------------------------------- form

TDesignCheckForm::TDesignCheckForm(TProgramData& project, QWidget* parent)
    : QWidget(parent), project_(project), units_(project.UnitSystem) {
  setWindowTitle(tr("Design Check"));
  toolPath_ = QCoreApplication::applicationDirPath() + "/ramvex-design";
  ask_ = [this](const QString& question) {
    return QMessageBox::question(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
  };

  const QString unit = WallLengthUnit(project.UnitSystem);
  auto lengthBox = [&](double value) {
    auto* box = new QDoubleSpinBox(this);
    box->setRange(0, 100000);
    box->setDecimals(3);
    box->setSuffix(" " + unit);
    box->setValue(value);
    return box;
  };
  const double length = WallLength(project);
  const double h = static_cast<double>(project.IncrementLength / WallLengthFactor(project.UnitSystem));
  study_ = new QComboBox(this);
  study_->addItems({tr("Embedment sweep"), tr("Mesh check (h and h/2)")});
  from_ = lengthBox(length > 0 ? std::max(h, std::round(length * 0.6 / h) * h) : 0);
  to_ = lengthBox(length > 0 ? std::round(length * 1.6 / h) * h : 0);
  step_ = lengthBox(h > 0 ? std::max(h, std::round(length * 0.1 / h) * h) : 0);
  maxDeflection_ = new QDoubleSpinBox(this);
  maxDeflection_->setRange(0, 1e6);
  maxDeflection_->setDecimals(4);
  maxDeflection_->setSpecialValueText(tr("none"));
  maxDeflection_->setSuffix(" " + Text(SummaryUnits(project.UnitSystem).Deflection));
  tolerance_ = new QDoubleSpinBox(this);
  tolerance_->setRange(0.1, 99);
  tolerance_->setValue(5);
  tolerance_->setSuffix(" %");
  jobs_ = new QSpinBox(this);
  jobs_->setRange(1, 256);
  jobs_->setValue(std::max(1, QThread::idealThreadCount()));

  auto* settings = new QFormLayout;
  settings->addRow(tr("Study:"), study_);
  settings->addRow(tr("From length:"), from_);
  settings->addRow(tr("To length:"), to_);
  settings->addRow(tr("Step:"), step_);
  settings->addRow(tr("Max. top deflection:"), maxDeflection_);
  settings->addRow(tr("Tolerance:"), tolerance_);
  settings->addRow(tr("Runs at once:"), jobs_);

  run_ = new QPushButton(tr("&Run"), this);
  cancel_ = new QPushButton(tr("Cancel"), this);
  apply_ = new QPushButton(tr("&Apply to Project..."), this);
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 1);
  progress_->setValue(0);
  status_ = new QLabel(this);
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  verdict_ = new QLabel(this);
  verdict_->setWordWrap(true);
  verdict_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(run_);
  buttons->addWidget(cancel_);
  buttons->addWidget(progress_, 1);
  buttons->addWidget(apply_);

  table_ = new QTableWidget(this);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  graph_ = new TDesignGraphView(this);
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(table_);
  split->addWidget(graph_);

  auto* top = new QHBoxLayout;
  top->addLayout(settings);
  auto* right = new QVBoxLayout;
  right->addWidget(verdict_);
  right->addStretch();
  right->addWidget(status_);
  top->addLayout(right, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  layout->addWidget(split, 1);

  connect(run_, &QPushButton::clicked, this, &TDesignCheckForm::RunClick);
  connect(cancel_, &QPushButton::clicked, this, &TDesignCheckForm::CancelClick);
  connect(apply_, &QPushButton::clicked, this, [this] { ApplyClick(); });
  connect(study_, &QComboBox::currentIndexChanged, this, &TDesignCheckForm::StudyChanged);
  resize(900, 680);
  UpdateControls();
}

TDesignCheckForm::~TDesignCheckForm() {
  // The tool stops its cases on SIGTERM and removes their folders; a window
  // closed during a study leaves nothing running.
  if (Running()) {
    cancelled_ = true;
    process_->disconnect(this);
    process_->terminate();
    if (!process_->waitForFinished(5000)) {
      process_->kill();
      process_->waitForFinished(2000);
    }
  }
}

void TDesignCheckForm::SetStudy(TStudy study) { study_->setCurrentIndex(study); }

void TDesignCheckForm::SetSweep(double from, double to, double step, double maxDeflection, double tolerancePercent) {
  from_->setValue(from);
  to_->setValue(to);
  step_->setValue(step);
  maxDeflection_->setValue(maxDeflection);
  tolerance_->setValue(tolerancePercent);
}

void TDesignCheckForm::SetJobs(int jobs) { jobs_->setValue(jobs); }

bool TDesignCheckForm::Running() const { return process_ && process_->state() != QProcess::NotRunning; }

QString TDesignCheckForm::WorkFolder() const { return work_ ? work_->path() : QString(); }

QString TDesignCheckForm::VerdictText() const { return verdict_->text(); }

QString TDesignCheckForm::StatusText() const { return status_->text(); }

void TDesignCheckForm::StudyChanged() { UpdateControls(); }

void TDesignCheckForm::UpdateControls() {
  const bool running = Running();
  const bool sweep = study_->currentIndex() == kSweep;
  for (QWidget* w : std::initializer_list<QWidget*>{from_, to_, step_, maxDeflection_, tolerance_}) {
    w->setEnabled(sweep && !running);
  }
  study_->setEnabled(!running);
  jobs_->setEnabled(!running);
  run_->setEnabled(!running);
  cancel_->setEnabled(running);
  const bool canApply = running_ == kSweep ? recommended_ >= 0 : (mesh_ && mesh_->Judged && !mesh_->Adequate);
  apply_->setEnabled(!running && canApply);
}

void TDesignCheckForm::RunClick() {
  if (Running()) return;
  cases_.clear();
  recommended_ = -1;
  mesh_.reset();
  table_->clear();
  table_->setRowCount(0);
  table_->setColumnCount(0);
  graph_->Clear();
  verdict_->clear();
  errors_.clear();
  cancelled_ = false;
  running_ = static_cast<TStudy>(study_->currentIndex());
  units_ = project_.UnitSystem;

  work_ = std::make_unique<QTemporaryDir>();
  if (!work_->isValid()) {
    status_->setText(tr("No temporary folder can be made for the study."));
    work_.reset();
    emit StudyFinished(false);
    return;
  }
  // The study works on the project as it stands now, saved into the
  // temporary folder; the user's own file is not touched.
  const QString data = work_->filePath("study.rv5d");
  try {
    const bool modified = project_.Modified;
    SaveTextFile(data.toStdString(), project_.DataFileText());
    project_.Modified = modified;
  } catch (const std::exception& e) {
    status_->setText(tr("The project cannot be saved for the study: %1").arg(e.what()));
    emit StudyFinished(false);
    return;
  }
  QStringList args;
  if (running_ == kSweep) {
    args << "length" << "--from" << QString::number(from_->value(), 'g', 12) << "--to"
         << QString::number(to_->value(), 'g', 12) << "--step" << QString::number(step_->value(), 'g', 12)
         << "--tolerance" << QString::number(tolerance_->value(), 'g', 12);
    if (maxDeflection_->value() > 0) args << "--max-deflection" << QString::number(maxDeflection_->value(), 'g', 12);
  } else {
    args << "mesh";
  }
  args << "-j" << QString::number(jobs_->value()) << "--csv" << work_->filePath("study.csv") << data;

  process_ = new QProcess(this);
  // The tool's and the runner's temporary folders go into the study's
  // folder, so nothing is left elsewhere whatever happens.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TMPDIR", work_->path());
  process_->setProcessEnvironment(env);
  process_->setWorkingDirectory(work_->path());
  connect(process_, &QProcess::readyReadStandardError, this, &TDesignCheckForm::ReadProgress);
  connect(process_, &QProcess::finished, this, &TDesignCheckForm::Finished);
  connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) {
      status_->setText(tr("The design program cannot be started: %1").arg(toolPath_));
      process_->deleteLater();
      process_ = nullptr;
      work_.reset();
      progress_->setRange(0, 1);
      UpdateControls();
      emit StudyFinished(false);
    }
  });
  progress_->setRange(0, 0);
  status_->setText(tr("Running..."));
  process_->start(toolPath_, args);
  UpdateControls();
}

void TDesignCheckForm::CancelClick() {
  if (!Running()) return;
  cancelled_ = true;
  status_->setText(tr("Cancelling..."));
  // SIGTERM: the tool stops every running case and removes their folders
  // before it ends; Finished reports the end.
  process_->terminate();
}

void TDesignCheckForm::ReadProgress() {
  errors_ += process_->readAllStandardError();
  static const QRegularExpression step(R"(\[(\d+)/(\d+)\])");
  QRegularExpressionMatch last;
  for (auto it = step.globalMatch(QString::fromUtf8(errors_)); it.hasNext();) last = it.next();
  if (last.hasMatch()) {
    progress_->setRange(0, last.captured(2).toInt());
    progress_->setValue(last.captured(1).toInt());
  }
}

void TDesignCheckForm::Finished(int exitCode, QProcess::ExitStatus status) {
  errors_ += process_->readAllStandardError();
  process_->deleteLater();
  process_ = nullptr;
  progress_->setRange(0, 1);
  progress_->setValue(0);
  bool completed = false;
  if (cancelled_) {
    status_->setText(tr("Cancelled."));
  } else if (status != QProcess::NormalExit || (exitCode != 0 && exitCode != 1)) {
    // The tool's own words: every line that is not progress.
    QStringList lines;
    for (QString line : QString::fromUtf8(errors_).split('\n', Qt::SkipEmptyParts)) {
      if (!line.contains(QRegularExpression(R"(\[\d+/\d+\])"))) lines << line.remove("ramvex-design: ");
    }
    status_->setText(lines.isEmpty() ? tr("The study failed.") : lines.join('\n'));
  } else {
    try {
      std::ifstream in(work_->filePath("study.csv").toStdString(), std::ios::binary);
      if (!in) throw EDesignError("the study wrote no results");
      int units = units_;
      cases_ = ReadCasesCsv(in, units);
      units_ = units;
      completed = true;
    } catch (const std::exception& e) {
      status_->setText(tr("The study's results cannot be read: %1").arg(e.what()));
    }
  }
  if (completed) {
    const TSummaryUnits labels = SummaryUnits(units_);
    if (running_ == kSweep) {
      const double tolerance = tolerance_->value() / 100;
      const std::optional<double> limit =
          maxDeflection_->value() > 0 ? std::optional<double>(maxDeflection_->value()) : std::nullopt;
      const TSweepVerdict v = JudgeSweep(cases_, tolerance, limit);
      recommended_ = RecommendedIndex(v);
      ShowTable(SweepTable(cases_, units_));
      graph_->SetCases(cases_, units_, recommended_);
      QString text = Text(SweepVerdictText(cases_, v, units_, tolerance, limit)).trimmed();
      if (recommended_ >= 0) {
        text += "\n" + tr("Recommended length: %1 %2")
                           .arg(Text(NumberText(cases_[static_cast<size_t>(recommended_)].Length, 6)),
                                WallLengthUnit(units_));
        table_->selectRow(recommended_);
      }
      verdict_->setText(text);
    } else if (cases_.size() == 2) {
      mesh_ = JudgeMesh(cases_[0], cases_[1], labels);
      if (mesh_->Judged) ShowTable(MeshTable(*mesh_, labels));
      verdict_->setText(Text(mesh_->Text));
    }
    status_->setText(tr("Completed: %1 runs.").arg(cases_.size()));
    progress_->setValue(1);
  }
  // The cases' folders are gone with the tool; the saved project and the
  // results go with the folder.
  work_.reset();
  UpdateControls();
  emit StudyFinished(completed);
}

void TDesignCheckForm::ShowTable(const TTextTable& t) {
  table_->setColumnCount(static_cast<int>(t.Heading.size()));
  QStringList headers;
  for (size_t c = 0; c < t.Heading.size(); ++c) {
    QString h = Text(t.Heading[c]);
    if (c < t.Units.size() && !t.Units[c].empty()) h += "\n(" + Text(t.Units[c]) + ")";
    headers << h;
  }
  table_->setHorizontalHeaderLabels(headers);
  table_->setRowCount(static_cast<int>(t.Rows.size()));
  for (size_t r = 0; r < t.Rows.size(); ++r) {
    for (size_t c = 0; c < t.Rows[r].size(); ++c) {
      auto* item = new QTableWidgetItem(Text(t.Rows[r][c]));
      item->setTextAlignment(c + 1 == t.Rows[r].size() ? Qt::AlignLeft | Qt::AlignVCenter
                                                          : Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
    }
  }
  table_->resizeColumnsToContents();
}

bool TDesignCheckForm::ApplyClick() {
  if (Running()) return false;
  try {
    if (running_ == kSweep) {
      if (recommended_ < 0) return false;
      const TCaseResult& c = cases_[static_cast<size_t>(recommended_)];
      const QString question = tr("Change the wall length of the project from %1 %3 to %2 %3 (%4 increments)?")
                                   .arg(Text(NumberText(WallLength(project_), 6)), Text(NumberText(c.Length, 6)),
                                        WallLengthUnit(project_.UnitSystem))
                                   .arg(c.Increments);
      if (!ask_(question)) return false;
      SetWallIncrements(project_, IncrementsForLength(project_, c.Length));
    } else {
      if (!mesh_ || !mesh_->Judged || mesh_->Adequate || cases_.size() != 2) return false;
      const TCaseResult& fine = cases_[1];
      if (fine.Increments == project_.IncrementCount) return false;
      const QString question = tr("Change the mesh of the project to %1 increments of %2 %3?")
                                   .arg(fine.Increments)
                                   .arg(Text(NumberText(fine.IncrementLength, 6)),
                                        Text(SummaryUnits(project_.UnitSystem).Deflection));
      if (!ask_(question)) return false;
      // The increment length from the project itself, halved or doubled
      // exactly as the study did.
      const long double h = fine.Increments == 2 * project_.IncrementCount ? project_.IncrementLength / 2
                                                                            : project_.IncrementLength * 2;
      SetMesh(project_, fine.Increments, h);
    }
  } catch (const EDesignError& e) {
    QMessageBox::information(this, windowTitle(), e.what());
    return false;
  }
  status_->setText(tr("The project was changed."));
  emit ProjectChanged();
  return true;
}

}  // namespace ramvex
