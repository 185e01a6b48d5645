// The summary window shows the summary's tables and messages.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>

#include <filesystem>

#include "SummaryForm.h"
#include "golden.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;

const fs::path kGolden = fs::path(RAMVEX_SOURCE_DIR) / "examples" / "golden";

TEST(SummaryForm, ShowsEveryProblemTiebackAndMessage) {
  const TResultsSummary staged =
      SummarizeResults("Three stages", ParseReport(test::readTextFile(kGolden / "three_stages.rv5o")), {}, 1);
  QWidget parent;
  TSummaryForm form(staged, &parent);
  EXPECT_EQ(form.windowTitle(), "Results Summary");
  EXPECT_EQ(form.parentWidget(), &parent);
  EXPECT_TRUE(form.Heading()->text().startsWith("Three stages"));
  QTableWidget* grid = form.ProblemGrid();
  ASSERT_EQ(grid->rowCount(), 3);
  EXPECT_EQ(grid->item(1, 0)->text(), "Stage 2");
  EXPECT_EQ(grid->item(1, 1)->text(), "closed");
  EXPECT_EQ(grid->horizontalHeaderItem(6)->text(), "Max moment\n(in-kips)");
  EXPECT_EQ(form.TiebackGrid()->rowCount(), 2);
  EXPECT_FALSE(form.TiebackGrid()->isHidden());
  EXPECT_EQ(form.Messages()->toPlainText(), "The engine reported no errors and no warnings.");

  // A run that stopped on bad input: no tiebacks, the engine's message.
  const TResultsSummary stopped = SummarizeResults(
      "Garbage", ParseReport("\n\n     ERROR STOP -- DATA FILE UNREADABLE AT LINE 2\n\n\n\n     END OF ANALYSIS\n"), {},
      1);
  form.SetSummary(stopped);
  ASSERT_EQ(grid->rowCount(), 1);
  EXPECT_EQ(grid->item(0, 1)->text(), "error stop");
  EXPECT_EQ(grid->item(0, 4)->text(), "-");
  EXPECT_TRUE(form.TiebackGrid()->isHidden());
  EXPECT_TRUE(form.Messages()->toPlainText().contains("ERROR STOP -- DATA FILE UNREADABLE AT LINE 2"));
}

}  // namespace
}  // namespace ramvex
