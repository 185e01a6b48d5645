// Every way the data file can stop a run ends it in order: the message in
// the report, then "END OF ANALYSIS", status 0.
#include <gtest/gtest.h>

#include "engine_harness.h"
#include "engine_test_data.h"
#include "plot_reader.h"

namespace ramvex::testing {
namespace {

struct StopCase {
  const char* name;
  std::string data;
  std::string message;  // expected in the report; empty: no message at all
};

void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }

std::string control(const std::string& nsds) { return "1 " + nsds + " 1 0 0 0 0 0 0 0"; }

std::vector<StopCase> stopCases() {
  return {
      {"TooManySpecifiedRows", plainProblem("T", control("21")),
       "\n\n\n     TOO MUCH DATA FOR AVAILABLE STORAGE\n\n\n"},
      {"SpecifiedRowsOutOfOrder", plainProblem("T", control("2"), "1 7 0 0\n1 5 0 0\n"),
       "\n\n     ERROR STOP -- STATIONS NOT IN ORDER\n"},
      {"FirstSpecifiedRowAboveStationMinusOne", plainProblem("T", control("1"), "1 -2 0 0\n"),
       "\n\n     ERROR STOP -- STATIONS NOT IN ORDER\n"},
      {"SpecifiedRowBeyondTheWall", plainProblem("T", control("1"), "3 40 0 0\n"),
       "\n\n     ERROR STOP -- SPECIFIED DEFLECTION OR SLOPE BEYOND THE WALL\n"},
      {"SpecifiedRowAtTheSecondStationBeyondTheWall", plainProblem("T", control("1"), "3 22 0 0\n"),
       "\n\n     ERROR STOP -- SPECIFIED DEFLECTION OR SLOPE BEYOND THE WALL\n"},
      {"MomentEiCurveBeyondTheWall", "T\n1 0 1 0 0 0 0 0 2 0\n20 6 10 0.001 60 12\n0 20 1 1E9\n0\n0\n"
                                     "0 20 2\n0 1E9\n1E7 5E8\n10 21 2\n0 1E9\n1E7 5E8\n0\n",
       "\n\n     ERROR STOP -- VALUE OUT OF RANGE AT LINE 10\n     MOMENT-EI CURVE STATIONS 10 TO 21 REACH BEYOND "
       "STATION 20, THE END OF THE WALL\n"},
      {"WordWhereANumberBelongs", plainProblem("T", "1 0 1 0 0 0 0 0 0 0", "", "20 six 10 0.001 60 12"),
       "\n\n     ERROR STOP -- DATA FILE UNREADABLE AT LINE 3\n"},
      {"RealWhereAnIntegerBelongs", plainProblem("T", "1 0 1.5 0 0 0 0 0 0 0"),
       "\n\n     ERROR STOP -- DATA FILE UNREADABLE AT LINE 2\n"},
      {"FileEndsEarly", "T\n1 0 1 0 0 0 0 0 0 0\n20 6 10\n",
       "\n\n     ERROR STOP -- DATA FILE ENDS BEFORE LINE 4\n"},
      {"EmptyFile", "", "\n\n     ERROR STOP -- DATA FILE ENDS BEFORE LINE 1\n"},
      {"TooManyIncrements", plainProblem("T", "1 0 1 0 0 0 0 0 0 0", "", "301 6 10 0.001 60 12"),
       "\n\n     ERROR STOP -- VALUE OUT OF RANGE AT LINE 3\n     NUMBER OF INCREMENTS MUST BE 1 TO 300, NOT 301\n"},
      {"ZeroIncrementLength", plainProblem("T", "1 0 1 0 0 0 0 0 0 0", "", "20 0 10 0.001 60 12"),
       "\n\n     ERROR STOP -- VALUE OUT OF RANGE AT LINE 3\n     INCREMENT LENGTH MUST BE GREATER THAN ZERO\n"},
      {"TooManyStiffnessRows", plainProblem("T", "1 0 11 0 0 0 0 0 0 0"),
       "\n\n     ERROR STOP -- VALUE OUT OF RANGE AT LINE 2\n     NUMBER OF WALL STIFFNESS ROWS MUST BE 1 TO 10, NOT 11\n"},
      {"NegativeLoadCount", "T\n1 0 1 0 0 0 0 0 0 0\n20 6 10 0.001 60 12\n0 20 1 1E9\n-1\n0\n0\n",
       "\n\n     ERROR STOP -- VALUE OUT OF RANGE AT LINE 5\n     NUMBER OF CONCENTRATED LOAD ROWS MUST BE 0 TO 20, NOT -1\n"},
      {"StiffnessRangeRunsBackward", "T\n1 0 1 0 0 0 0 0 0 0\n20 6 10 0.001 60 12\n10 5 1 1E9\n0\n0\n0\n",
       "\n\n     ERROR STOP -- STATIONS NOT IN ORDER\n"},
      {"StiffnessBeyondTheBottomOfTheWall", "T\n1 0 1 0 0 0 0 0 0 0\n20 6 10 0.001 60 12\n0 21 1 1E9\n0\n0\n0\n",
       "\n\n     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END\n"},
      {"NegativeStiffnessCountEndsQuietly", plainProblem("T", "1 0 -1 0 0 0 0 0 0 0"), ""},
      {"NegativeSpecifiedCountEndsQuietly", plainProblem("T", control("-1")), ""},
  };
}

class ErrorStops : public ::testing::TestWithParam<StopCase> {};

TEST_P(ErrorStops, EndTheRunInOrder) {
  const StopCase& c = GetParam();
  EngineHarness h;
  EXPECT_EQ(h.run(c.data), 0);
  const std::string report = h.report();
  const std::string ending = "\n\n\n     END OF ANALYSIS                             \n";
  ASSERT_GE(report.size(), ending.size());
  EXPECT_EQ(report.substr(report.size() - ending.size()), ending) << report;
  if (!c.message.empty()) {
    EXPECT_NE(report.find(c.message), std::string::npos) << report;
  } else {
    EXPECT_EQ(report.find("ERROR"), std::string::npos) << report;
  }
  // A stop in the first problem leaves one result block without stations.
  const std::string plot = h.plot();
  EXPECT_NE(plot.find(" 1 0 "), std::string::npos) << plot;
}

INSTANTIATE_TEST_SUITE_P(DataFile, ErrorStops, ::testing::ValuesIn(stopCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ErrorStops, SpecifiedRowsAtTheSameStationAreAccepted) {
  EngineHarness h;
  h.run(plainProblem("T", control("3"), "1 5 0 0\n1 5 0 0\n2 7 0 0\n"));
  EXPECT_EQ(h.report().find("ERROR"), std::string::npos) << h.report();
}

TEST(ErrorStops, StopInALaterProblemKeepsTheFirstAndWritesNoBlockOfItsOwn) {
  EngineHarness h;
  h.run(plainProblem("FIRST", "1 0 1 0 0 0 0 0 0 0", "", "20 6 10 0.001 60 12", "9") +
        plainProblem("SECOND", control("2"), "1 7 0 0\n1 5 0 0\n"));
  const std::string report = h.report();
  EXPECT_NE(report.find("Long Term :  FIRST"), std::string::npos);
  EXPECT_NE(report.find("ERROR STOP -- STATIONS NOT IN ORDER"), std::string::npos);
  const std::string plot = h.plot();
  // The first problem's block is headed by 2 (a long-term problem followed); no second block.
  const size_t block = plot.find("\n 2 ");
  EXPECT_NE(block, std::string::npos) << plot;
  EXPECT_EQ(block, plot.rfind("\n 2 "));
  EXPECT_EQ(plot.find(" 1 0 "), std::string::npos) << plot;
}

// Ten sand layers give fifty generated curves; with fourteen user curves the
// set would hold 64, one more than the iteration can take.
TEST(ErrorStops, GenerationBeyondSixtyThreeCurvesIsTooMuchData) {
  std::string data = "T\n1 0 1 0 2 2 14 0 0 0\n300 2 10 0.001 100 12\n0 300 1 5E9\n0\n0\n";
  data += "100 12 12 1000 1000 1 1 0\n0 0 0 0 0 0\n0\n10\n";
  for (int layer = 1; layer <= 10; ++layer) {
    data += "4 " + std::to_string(100 + 50 * layer) + "\n";
    data += "0.0694 0 32 0 90 0\n0.0694 0 32 0 90 0\n";
  }
  for (int curve = 0; curve < 14; ++curve)
    data += std::to_string(60 + 10 * curve) + " 3 1 1\n-1 100\n0 0\n1 -100\n";
  data += "0\n";
  EngineHarness h;
  EXPECT_EQ(h.run(data), 0);
  const std::string report = h.report();
  EXPECT_NE(report.find("\n\n\n     TOO MUCH DATA FOR AVAILABLE STORAGE\n\n\n"), std::string::npos) << report;
  EXPECT_NE(report.find("END OF ANALYSIS"), std::string::npos);
  EXPECT_EQ(report.find("RESULTS -- ITERATION"), std::string::npos);
}

TEST(ErrorStops, UnreadableDataPathIsReported) {
  EngineHarness h;
  h.write("names.dat", "2015.5.13\nmissing/none.rv5d\ncase.rv5o\ncase.rv5p\ncase.rv5r\n");
  EXPECT_EQ(IRAMVEX(13), 0);
  const std::string report = h.report();
  EXPECT_NE(report.find("ERROR STOP -- DATA FILE CANNOT BE OPENED: missing/none.rv5d"), std::string::npos);
  EXPECT_NE(report.find("END OF ANALYSIS"), std::string::npos);
}

// A file that ends right after a continuation code has closed the first
// problem's block; the missing title is an error stop in a problem that
// never began, and adds no block of its own.
TEST(ErrorStops, FileEndingAfterAContinuationCodeAddsNoSecondBlock) {
  EngineHarness h;
  h.run(plainProblem("FIRST", "1 0 1 0 0 0 0 0 0 0", "", "20 6 10 0.001 60 12", "9"));
  EXPECT_NE(h.report().find("END OF ANALYSIS"), std::string::npos);
  const std::vector<test::PlotBlock> blocks = test::readPlotData(h.plot());
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].nSets, 2);
  EXPECT_EQ(blocks[0].nodes.size(), 21u);
}

// A count out of range in the first problem stops below the report header,
// and the block it leaves carries the problem's unit system.
TEST(ErrorStops, CountOutOfRangeStopsBelowTheHeaderWithTheProblemsUnits) {
  EngineHarness h;
  h.run(plainProblem("SI WALL", "2 0 11 0 0 0 0 0 0 0"));
  const std::string report = h.report();
  const size_t title = report.find("SI WALL");
  const size_t stop = report.find("ERROR STOP -- VALUE OUT OF RANGE AT LINE 2");
  ASSERT_NE(title, std::string::npos) << report;
  ASSERT_NE(stop, std::string::npos) << report;
  EXPECT_LT(title, stop);
  // The stop comes before any earth-pressure block: the file holds the
  // result block alone.
  EXPECT_EQ(h.plot(), " 1 0 2\n");
}

}  // namespace
}  // namespace ramvex::testing
