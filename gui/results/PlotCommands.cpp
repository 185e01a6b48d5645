#include "PlotCommands.h"

#include <QAction>
#include <QFileDialog>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "Caption.h"
#include "ChangeActiveLines.h"
#include "ChangeLineNames.h"
#include "PlotForm.h"
#include "PlotLegend.h"
#include "SaveAttb.h"

namespace ramvex {

const char kNoPrinter[] = "No printer is installed. Install a printer to print the graph.";

namespace {

constexpr TCurveList P1 = TCurveList::Panel1;

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool PrinterInstalled() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

template <size_t N>
std::vector<QAction*> Choices(QMenu* menu, const std::array<TMenuChoice, N>& choices, TPlotCommands* owner,
                              void (TPlotCommands::*click)(int)) {
  std::vector<QAction*> actions;
  for (const TMenuChoice& c : choices) {
    QAction* a = menu->addAction(QString::fromLatin1(c.Caption));
    a->setCheckable(true);
    a->setData(c.Tag);
    const int tag = c.Tag;
    QObject::connect(a, &QAction::triggered, owner, [owner, click, tag] { (owner->*click)(tag); });
    actions.push_back(a);
  }
  return actions;
}

void CheckTag(const std::vector<QAction*>& actions, int tag) {
  for (QAction* a : actions) a->setChecked(a->data().toInt() == tag);
}

}  // namespace

TPlotCommands::TPlotCommands(TPlotForm& form) : QObject(&form), form_(form), graph_(form.Graph()) {
  setObjectName(QStringLiteral("PlotCommands"));
  menu_ = new QMenu(QStringLiteral("&Plot"), &form);
  menu_->setObjectName(QStringLiteral("Plot"));
  for (int i = 0; i < kFixedPlotItems; ++i) {
    const auto item = static_cast<TPlotItem>(i);
    QAction* a = nullptr;
    switch (item) {
      case TPlotItem::Separator1:
      case TPlotItem::Separator2:
        a = menu_->addSeparator();
        break;
      case TPlotItem::ShowMarkers:
      case TPlotItem::FontSize:
      case TPlotItem::LineWidth: {
        QMenu* sub = menu_->addMenu(QString::fromLatin1(kPlotItemCaptions[static_cast<size_t>(i)]));
        a = sub->menuAction();
        if (item == TPlotItem::ShowMarkers) {
          markers_ = Choices(sub, kMarkerChoices, this, &TPlotCommands::MarkersClick);
          // The checked marker interval is found when the submenu opens.
          connect(sub, &QMenu::aboutToShow, this, [this] { CheckTag(markers_, CheckedTag(kMarkerChoices, graph_.Markers)); });
        } else if (item == TPlotItem::FontSize) {
          fontSizes_ = Choices(sub, kFontSizeChoices, this, &TPlotCommands::FontSizeClick);
        } else {
          lineWidths_ = Choices(sub, kLineWidthChoices, this, &TPlotCommands::LineWidthClick);
        }
        break;
      }
      default:
        a = menu_->addAction(QString::fromLatin1(kPlotItemCaptions[static_cast<size_t>(i)]));
        break;
    }
    fixed_.push_back(a);
  }
  auto on = [this](TPlotItem item, void (TPlotCommands::*click)()) {
    connect(Action(item), &QAction::triggered, this, click);
  };
  on(TPlotItem::ShowLegend, &TPlotCommands::ShowLegendClick);
  on(TPlotItem::ShowSoilLayer, &TPlotCommands::ShowLayersClick);
  on(TPlotItem::ShowWallGeometry, &TPlotCommands::ShowWallClick);
  on(TPlotItem::GraphTitle, &TPlotCommands::GraphTitleClick);
  on(TPlotItem::EditLegend, &TPlotCommands::EditLegendClick);
  on(TPlotItem::ActiveCurves, &TPlotCommands::ActiveCurvesClick);
  on(TPlotItem::Print, &TPlotCommands::PrintClick);
  on(TPlotItem::PageSetup, &TPlotCommands::PageSetupClick);
  on(TPlotItem::SaveToDisk, &TPlotCommands::SaveClick);
  connect(menu_, &QMenu::aboutToShow, this, &TPlotCommands::UpdateMenu);

  if (QListWidget* legend = form_.Legend()) {
    InstallLegendBehaviour(*legend, form_, graph_);
    FitLegend(*legend, true);
    PlaceLegendInCorner();
  }
  UpdateMenu();
}

TPlotCommands::~TPlotCommands() = default;

std::vector<QAction*> TPlotCommands::CurveActions() const {
  const QList<QAction*> all = menu_->actions();
  return std::vector<QAction*>(all.begin() + std::min<qsizetype>(kFixedPlotItems, all.size()), all.end());
}

void TPlotCommands::UpdateMenu() {
  const TPlotMenuState s = PlotMenuState(graph_, PrinterInstalled());
  for (int i = 0; i < kFixedPlotItems; ++i) {
    QAction* a = fixed_[static_cast<size_t>(i)];
    const TMenuItemState& st = s.Fixed[static_cast<size_t>(i)];
    a->setVisible(st.Visible);
    a->setEnabled(st.Enabled);
    if (st.Checkable) {
      a->setCheckable(true);
      a->setChecked(st.Checked);
    }
  }
  CheckTag(markers_, s.CheckedMarkers);
  CheckTag(fontSizes_, s.CheckedFontSize);
  CheckTag(lineWidths_, s.CheckedLineWidth);

  // Curve items: existing ones reused, missing ones added, surplus ones
  // deleted from the end.
  std::vector<QAction*> curves = CurveActions();
  for (size_t k = 0; k < s.Curves.size(); ++k) {
    QAction* a;
    if (k < curves.size()) {
      a = curves[k];
    } else {
      a = menu_->addAction(QString());
      a->setCheckable(true);
      connect(a, &QAction::triggered, this, [this, a] { CurveClick(a->data().toInt()); });
    }
    a->setText(Q(MenuCaption(s.Curves[k].Caption)));
    a->setData(s.Curves[k].Tag);
    a->setChecked(s.Curves[k].Checked);
  }
  for (size_t k = s.Curves.size(); k < curves.size(); ++k) {
    menu_->removeAction(curves[k]);
    curves[k]->deleteLater();
  }
}

void TPlotCommands::Tell(const std::string& message) {
  if (messages_) {
    messages_(message);
  } else {
    QMessageBox::information(&form_, Q(graph_.Caption), Q(message));
  }
}

void TPlotCommands::PlaceLegendInCorner() {
  QListWidget* legend = form_.Legend();
  if (!legend) return;
  const TPixelRect plot = form_.Layout().Plot;
  legend->move(plot.Right - legend->width(), plot.Bottom - legend->height());
}

void TPlotCommands::Relayout() {
  PlaceLegendInCorner();
  form_.Refresh();
}

void TPlotCommands::RefreshLegend() {
  if (QListWidget* legend = form_.Legend()) {
    SyncLegend(*legend, graph_);
    FitLegend(*legend, false);
    legend->setVisible(graph_.ShowLegend);
    legend->viewport()->update();
  }
  UpdateMenu();
  form_.Refresh();
}

void TPlotCommands::ShowLegendClick() {
  graph_.ShowLegend = !graph_.ShowLegend;
  if (QListWidget* legend = form_.Legend()) legend->setVisible(graph_.ShowLegend && graph_.CurveCount() > 0);
  UpdateMenu();
}

void TPlotCommands::ShowLayersClick() {
  graph_.ShowLayers = !graph_.ShowLayers;
  UpdateMenu();
  Relayout();
}

void TPlotCommands::ShowWallClick() {
  graph_.ShowWall = !graph_.ShowWall;
  UpdateMenu();
  Relayout();
}

void TPlotCommands::MarkersClick(int tag) {
  graph_.Markers = tag;
  UpdateMenu();
  form_.Refresh();
}

void TPlotCommands::FontSizeClick(int tag) {
  graph_.SizeFont = tag;
  if (QListWidget* legend = form_.Legend()) {
    SetLegendFont(*legend, graph_);
    FitLegend(*legend, true);
  }
  UpdateMenu();
  Relayout();
}

void TPlotCommands::LineWidthClick(int tag) {
  graph_.WidthLine = tag;
  UpdateMenu();
  form_.Refresh();
}

void TPlotCommands::CurveClick(int curve) {
  if (curve < 0 || curve >= graph_.CurveCount()) return;
  TLine& line = graph_.Curve(P1, curve);
  line.Shown = !line.Shown;
  RefreshLegend();
}

void TPlotCommands::GraphTitleClick() {
  TfrmGraphCaption dialog(&form_);
  dialog.Load(graph_);
  dialog.exec();
  // The title has no Cancel: closing the dialog in any way keeps the text.
  dialog.Store(graph_);
  TitleChanged();
}

void TPlotCommands::TitleChanged() {
  // The plot area moves; the legend keeps its place inside the window.
  if (QListWidget* legend = form_.Legend()) legend->setGeometry(KeepInside(legend->geometry(), form_.size()));
  form_.Refresh();
}

void TPlotCommands::EditLegendClick() {
  TfrmLineNames dialog(&form_, messages_);
  dialog.Load(graph_);
  if (dialog.exec() == QDialog::Accepted) ApplyLineNames(dialog.Names());
}

void TPlotCommands::ApplyLineNames(const std::vector<std::string>& names) {
  for (int i = 0; i < graph_.CurveCount() && i < static_cast<int>(names.size()); ++i) {
    graph_.Curve(P1, i).Name = names[static_cast<size_t>(i)];
  }
  RefreshLegend();
}

void TPlotCommands::ActiveCurvesClick() {
  TfrmActiveLines dialog(&form_);
  dialog.Load(graph_);
  if (dialog.exec() == QDialog::Accepted) ApplyActiveCurves(dialog.States());
}

void TPlotCommands::ApplyActiveCurves(const std::vector<bool>& included) {
  for (int i = 0; i < graph_.CurveCount() && i < static_cast<int>(included.size()); ++i) {
    graph_.Curve(P1, i).Included = included[static_cast<size_t>(i)];
  }
  RefreshLegend();
}

QPrinter& TPlotCommands::Printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    ApplyMargins(*printer_, margins_);
  }
  return *printer_;
}

void TPlotCommands::PrintClick() {
  if (!PrinterInstalled()) {
    Tell(kNoPrinter);
    return;
  }
  QPrinter& printer = Printer();
  QPrintDialog dialog(&printer, &form_);
  if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
}

void TPlotCommands::PageSetupClick() {
  if (!PrinterInstalled()) {
    Tell(kNoPrinter);
    return;
  }
  PageSetup(Printer(), margins_, &form_);
}

bool TPlotCommands::PrintTo(QPrinter& printer) {
  QString error;
  const bool ok = PrintGraph(printer, graph_, form_.View(), margins_, LegendAt(), &error);
  form_.Refresh();
  if (!ok) Tell(error.toStdString());
  return ok;
}

void TPlotCommands::SaveClick() {
  QFileDialog files(&form_);
  files.setAcceptMode(QFileDialog::AcceptSave);
  files.setFileMode(QFileDialog::AnyFile);
  files.setNameFilters(SaveFilters().split(QStringLiteral(";;")));
  files.setDefaultSuffix(QStringLiteral("bmp"));
  connect(&files, &QFileDialog::filterSelected, &files,
          [&files](const QString& filter) { files.setDefaultSuffix(DefaultSuffix(filter)); });
  if (files.exec() != QDialog::Accepted || files.selectedFiles().isEmpty()) return;
  const QString fileName = files.selectedFiles().front();

  TdlgFormat format(&form_, messages_);
  if (format.exec() != QDialog::Accepted) return;
  TBitmapAttributes attributes;
  format.Store(attributes);
  SaveTo(fileName, attributes);
}

bool TPlotCommands::SaveTo(const QString& fileName, const TBitmapAttributes& attributes) {
  TSaveOptions options;
  options.ScreenDpi = form_.logicalDpiX();
  options.LegendAt = LegendAt();
  return SaveGraph(fileName, graph_, form_.View(), attributes, options, [this](const std::string& m) { Tell(m); });
}

QPointF TPlotCommands::LegendAt() const {
  const QListWidget* legend = form_.Legend();
  if (!legend || !graph_.ShowLegend) return {-1, -1};
  const TLegendFractions f = LegendFractions(legend->geometry(), form_.size());
  return {f.X, f.Y};
}

TPlotCommands* AttachPlotCommands(TPlotForm& form) { return new TPlotCommands(form); }

TPlotCommands* PlotCommandsOf(QWidget* window) {
  auto* form = qobject_cast<TPlotForm*>(window);
  return form ? form->findChild<TPlotCommands*>(QStringLiteral("PlotCommands"), Qt::FindDirectChildrenOnly)
              : nullptr;
}

}  // namespace ramvex
