// A window with the project's tables in a list and a work area: a double
// click opens a table's editor.  It shows the editors at work without the
// main window.
//
//   table-editor-demo [--sample] [--open CAPTION [--nested ROW]]... [--shot FILE.png]
//
// --sample puts a few soil layers and a p-y curve into the tables, --open
// opens a table's editor at start, --nested the editor of the nested table
// in the given row (from 1) of the table opened last, --shot saves a
// picture of the window and quits.
#include <QApplication>
#include <QDockWidget>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QTimer>

#include <memory>

#include "DefinedTables.h"
#include "TableEditors.h"

using namespace ramvex;

namespace {

void FillSample(TProjectTables& t) {
  t.NewSoil->SetRowCount(3);
  const int types[] = {kSoftClay, kSand, kWeakRock};
  const long double bottoms[] = {120, 300, 480};
  for (int r = 0; r < 3; ++r) {
    t.NewSoil->Column(0)->SetInt(r, types[r]);
    t.NewSoil->Column(1)->SetFloat(r, bottoms[r]);
  }
  // A soft clay p-y curve, symmetric about the origin.
  const long double y[] = {-2, -1, -0.5, -0.2, 0, 0.2, 0.5, 1, 2};
  const long double p[] = {60, 50, 40, 28, 0, -28, -40, -50, -60};
  t.PYCurve2->SetRowCount(9);
  for (int r = 0; r < 9; ++r) {
    t.PYCurve2->Column(0)->SetFloat(r, y[r]);
    t.PYCurve2->Column(1)->SetFloat(r, p[r]);
  }
  t.DistLoad->SetRowCount(3);
  const long double depth[] = {0, 120, 240}, load[] = {0, 35, 80};
  for (int r = 0; r < 3; ++r) {
    t.DistLoad->Column(0)->SetFloat(r, depth[r]);
    t.DistLoad->Column(1)->SetFloat(r, load[r]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::unique_ptr<TProjectTables> tables = CreateProjectTables();

  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Input tables"));
  auto* area = new QMdiArea;
  area->setBackground(QColor(128, 128, 128));
  window.setCentralWidget(area);
  auto* list = new QListWidget;
  const std::vector<TGridTable*> all = tables->All();
  for (TGridTable* t : all) list->addItem(QString::fromStdString(t->Caption()));
  auto* dock = new QDockWidget(QStringLiteral("Tables"));
  dock->setWidget(list);
  dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
  window.addDockWidget(Qt::LeftDockWidgetArea, dock);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &window, [&](QListWidgetItem* item) {
    ShowEditor(*all[static_cast<size_t>(list->row(item))], area);
  });
  window.resize(1280, 860);
  window.show();

  QString shot;
  TGridTable* opened = nullptr;
  const QStringList args = app.arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--sample")) {
      FillSample(*tables);
    } else if (args[i] == QLatin1String("--open") && i + 1 < args.size()) {
      const QString caption = args[++i];
      for (TGridTable* t : all) {
        if (QString::fromStdString(t->Caption()) == caption) {
          ShowEditor(*t, area);
          opened = t;
        }
      }
    } else if (args[i] == QLatin1String("--nested") && i + 1 < args.size() && opened) {
      const int row = args[++i].toInt() - 1;
      for (int c = 0; c < opened->ColumnCount(); ++c) {
        if (opened->Column(c)->TypeId() == TTableColumn::kTypeId && row >= 0 && row < opened->RowCount()) {
          if (TGridTable* nested = opened->Nested(c, row)) ShowEditor(*nested, area);
          break;
        }
      }
    } else if (args[i] == QLatin1String("--shot") && i + 1 < args.size()) {
      shot = args[++i];
    }
  }
  if (!shot.isEmpty()) {
    QTimer::singleShot(500, &window, [&] {
      window.grab().save(shot);
      app.quit();
    });
  }
  const int result = app.exec();
  // The editors go before the tables they show.
  area->closeAllSubWindows();
  delete area;
  return result;
}
