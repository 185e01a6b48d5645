// How the report reader sorts the ways a problem ends.  The reports are a
// bundled example's report with the engine's outcome and stop lines put
// where the engine writes them.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "ReportOutcome.h"
#include "golden.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;

const fs::path kGolden = fs::path(RAMVEX_SOURCE_DIR) / "examples" / "golden";

std::string Report(const char* name) { return test::readTextFile(kGolden / (std::string(name) + ".rv5o")); }

// The report with `lines` written right under the first results heading,
// where the engine writes its outcome messages.
std::string WithOutcome(std::string report, const std::string& lines) {
  const std::string heading = "     --------------------\n";
  const size_t at = report.find(heading);
  EXPECT_NE(at, std::string::npos);
  return report.insert(at + heading.size(), lines);
}

// The report cut before the header of problem `problem` (1-based).
std::string UpToProblem(const std::string& report, int problem) {
  size_t at = 0;
  for (int k = 0; k < problem; ++k) at = report.find("RAMVEX for Windows", k == 0 ? 0 : at + 1);
  return report.substr(0, report.rfind("     =====", at));
}

const char kEnd[] = "\n\n\n     END OF ANALYSIS                             \n";

struct OutcomeCase {
  const char* name;
  const char* lines;
  TOutcome outcome;
  const char* message;
  int exceeded;
  bool offCurve;
};

class Outcomes : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(Outcomes, OutcomeLinesUnderTheResultsHeading) {
  const OutcomeCase& c = GetParam();
  const TReportOutcome r = ParseReport(WithOutcome(Report("cantilever"), c.lines));
  ASSERT_EQ(r.Problems.size(), 1u);
  const TReportProblem& p = r.Problems[0];
  EXPECT_EQ(p.Outcome(), c.outcome);
  EXPECT_EQ(p.Message, c.message);
  EXPECT_EQ(p.StationsExceeded, c.exceeded);
  EXPECT_EQ(p.OffCurve, c.offCurve);
  // The messages do not hide the results.
  EXPECT_EQ(p.Rows.size(), 61u);
  EXPECT_EQ(r.AllClosed(), c.outcome == TOutcome::Closed);
}

INSTANTIATE_TEST_SUITE_P(
    Report, Outcomes,
    ::testing::Values(
        OutcomeCase{"Closed", "", TOutcome::Closed, "", 0, false},
        OutcomeCase{"NotClosed", "\n     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n",
                    TOutcome::NotClosed, "SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE", 0, false},
        OutcomeCase{"Exceeded",
                    "\n     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  12  *** STATIONS *****\n"
                    "\n     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n",
                    TOutcome::DeflectionExceeded, "MAX ALLOWABLE DEFLECTION EXCEEDED AT 12 STATIONS", 12, false},
        OutcomeCase{"OffCurveIsAWarning", "\n     ***** DEFLECTION OFF Q - W CURVES *****\n", TOutcome::Closed, "", 0,
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportOutcome, OffCurveIsListedWithTheWarnings) {
  const TReportOutcome r =
      ParseReport(WithOutcome(Report("cantilever"), "\n     ***** DEFLECTION OFF Q - W CURVES *****\n"));
  ASSERT_EQ(r.Problems.at(0).Warnings.size(), 1u);
  EXPECT_EQ(r.Problems[0].Warnings[0], "DEFLECTION OFF Q - W CURVES");
}

TEST(ReportOutcome, StopBeforeAnyHeader) {
  // A data file that is not one: the engine stops on its second line, before
  // the problem's header.
  const TReportOutcome r = ParseReport("\n\n     ERROR STOP -- DATA FILE UNREADABLE AT LINE 2\n" + std::string(kEnd));
  EXPECT_TRUE(r.Closed);
  EXPECT_FALSE(r.AllClosed());
  ASSERT_EQ(r.Problems.size(), 1u);
  EXPECT_EQ(r.Problems[0].Outcome(), TOutcome::ErrorStop);
  EXPECT_EQ(r.Problems[0].Heading, "");
  EXPECT_EQ(r.Problems[0].Message, "ERROR STOP -- DATA FILE UNREADABLE AT LINE 2");
}

TEST(ReportOutcome, EveryLineOfAMultiLineStop) {
  std::string text = Report("cantilever");
  text = text.substr(0, text.find("      **************************************************"));
  text += "\n\n     ERROR STOP -- VALUE OUT OF RANGE AT LINE 3\n     NUMBER OF INCREMENTS MUST BE 1 TO 300, NOT 301\n";
  text += kEnd;
  const TReportOutcome r = ParseReport(text);
  ASSERT_EQ(r.Problems.size(), 1u);
  EXPECT_NE(r.Problems[0].Heading, "");
  EXPECT_EQ(r.Problems[0].Message,
            "ERROR STOP -- VALUE OUT OF RANGE AT LINE 3\nNUMBER OF INCREMENTS MUST BE 1 TO 300, NOT 301");
}

TEST(ReportOutcome, ErrorStopInTheSecondStageKeepsTheFirst) {
  const std::string full = Report("three_stages");
  // Stage 2's header and its echo up to the stiffness block, then the stop.
  const size_t stage2 = full.find("Stage No : 2");
  std::string text = full.substr(0, full.find("STIFFNESS AND LOAD DATA", stage2));
  text += "\n\n     ERROR STOP -- STATIONS NOT IN ORDER\n" + std::string(kEnd);
  const TReportOutcome r = ParseReport(text);
  ASSERT_EQ(r.Problems.size(), 2u);
  EXPECT_EQ(r.Problems[0].Outcome(), TOutcome::Closed);
  EXPECT_EQ(r.Problems[0].Rows.size(), 61u);
  EXPECT_EQ(r.Problems[1].Outcome(), TOutcome::ErrorStop);
  EXPECT_EQ(r.Problems[1].Heading.rfind("Stage No : 2", 0), 0u) << r.Problems[1].Heading;
  EXPECT_EQ(r.Problems[1].Message, "ERROR STOP -- STATIONS NOT IN ORDER");
  EXPECT_FALSE(r.AllClosed());
}

TEST(ReportOutcome, StopBetweenProblemsIsTheNextProblems) {
  // The next problem's control record cannot be read: its stop follows the
  // previous problem's tieback results, before any header.
  const std::string full = Report("three_stages");
  std::string text = UpToProblem(full, 2);
  text += "\n\n     ERROR STOP -- DATA FILE UNREADABLE AT LINE 71\n" + std::string(kEnd);
  const TReportOutcome r = ParseReport(text);
  ASSERT_EQ(r.Problems.size(), 2u);
  EXPECT_EQ(r.Problems[0].Outcome(), TOutcome::Closed);
  EXPECT_EQ(r.Problems[1].Outcome(), TOutcome::ErrorStop);
  EXPECT_EQ(r.Problems[1].Message, "ERROR STOP -- DATA FILE UNREADABLE AT LINE 71");
}

TEST(ReportOutcome, SoilModelStopEndsTheRunWithoutClosing) {
  std::string text = Report("cantilever");
  text = text.substr(0, text.find("      **************************************************"));
  text += "\n       --------------------WARNING----------------------\n"
          "       THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT\n"
          "       DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.\n";
  const TReportOutcome r = ParseReport(text);
  EXPECT_FALSE(r.Closed);
  ASSERT_EQ(r.Problems.size(), 1u);
  EXPECT_EQ(r.Problems[0].Outcome(), TOutcome::ErrorStop);
  EXPECT_EQ(r.Problems[0].Message,
            "THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT\n"
            "DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.");
}

TEST(ReportOutcome, WarningInsideACurveTableEndsAtTheNextRow) {
  std::string text = Report("sand_generated");
  // The engine's small-deflection warning between two rows of a curve.
  const std::string warning =
      "                             **** WARNING ****\n"
      "     DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM\n"
      "     USED A SOIL MODULUS OF  0.1000D+03\n";
  const std::string pointRow = "0.45000          1610.79933\n";
  const size_t row = text.find(pointRow);
  ASSERT_NE(row, std::string::npos);
  text.insert(row + pointRow.size(), warning + warning);
  const TReportOutcome r = ParseReport(text);
  ASSERT_EQ(r.Problems.size(), 1u);
  EXPECT_EQ(r.Problems[0].Outcome(), TOutcome::Closed);
  ASSERT_EQ(r.Problems[0].Warnings.size(), 1u);
  EXPECT_EQ(r.Problems[0].Warnings[0],
            "DEFLECTION IS LESS THAN 1.0E-14. THE PROGRAM USED A SOIL MODULUS OF 0.1000D+03");
}

TEST(ReportOutcome, TiebackRowsOfEveryStage) {
  const TReportOutcome r = ParseReport(Report("three_stages"));
  ASSERT_EQ(r.Problems.size(), 3u);
  EXPECT_TRUE(r.Problems[0].Tiebacks.empty());
  ASSERT_EQ(r.Problems[2].Tiebacks.size(), 1u);
  const TReportTieback& t = r.Problems[2].Tiebacks[0];
  EXPECT_EQ(t.Number, 1);
  EXPECT_EQ(t.Station, 8);
  EXPECT_DOUBLE_EQ(t.Depth, 48.0);
  EXPECT_DOUBLE_EQ(t.HorizontalForce, -2555.0);
  EXPECT_DOUBLE_EQ(t.AnchorForce, -2645.0);
  EXPECT_DOUBLE_EQ(t.TiebackForce, -21160.0);
}

TEST(ReportOutcome, AFieldOfAsterisksIsNotANumber) {
  std::string text = Report("cantilever");
  const size_t row = text.find("\n    10   ");
  ASSERT_NE(row, std::string::npos);
  text.replace(row + 1 + 18, 12, "************");
  const TReportOutcome r = ParseReport(text);
  ASSERT_EQ(r.Problems.at(0).Rows.size(), 61u);
  EXPECT_TRUE(std::isnan(r.Problems[0].Rows[10].Deflection));
  EXPECT_FALSE(std::isnan(r.Problems[0].Rows[10].Slope));
}

TEST(ReportOutcome, MissingReport) {
  const TReportOutcome r = ReadReport("no-such-folder/none.rv5o");
  EXPECT_FALSE(r.Read);
  EXPECT_FALSE(r.AllClosed());
}

}  // namespace
}  // namespace ramvex
