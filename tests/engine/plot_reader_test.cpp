// The plot-data reader the engine tests use to check the ".rv5p" file.
#include "plot_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <string>

#include "golden.h"

namespace ramvex::test {
namespace {

// Node records in the layout the engine writes them: 1X, E13.4 each.
const std::string kThreeNodes =
    "  0.0000E+00  0.1250E+01 -0.2500E+05  0.1000E+04  0.0000E+00\n"
    "  0.1200E+03  0.5000E+00  0.1234E+02 -0.7500E+03 -0.3000E+02\n"
    "  0.2400E+03 -0.1000E-02  0.0000E+00  0.0000E+00  0.4500E+02\n";

TEST(PlotReader, BlockWithoutEarthPressureOrCurves) {
  const std::vector<PlotBlock> blocks = readPlotData("0\n           2           0\n 1 3 2\n" + kThreeNodes);
  ASSERT_EQ(blocks.size(), 1u);
  const PlotBlock& b = blocks[0];
  EXPECT_TRUE(b.earthPressure.empty());
  EXPECT_EQ(b.units, 2);
  EXPECT_TRUE(b.curves.empty());
  EXPECT_EQ(b.nSets, 1);
  EXPECT_EQ(b.nodeUnits, 2);
  ASSERT_EQ(b.nodes.size(), 3u);
  EXPECT_EQ(b.nodes[0].deflection, 1.25);
  EXPECT_EQ(b.nodes[0].moment, -25000.0);
  EXPECT_EQ(b.nodes[0].shear, 1000.0);
  EXPECT_EQ(b.nodes[1].depth, 120.0);
  EXPECT_EQ(b.nodes[1].moment, 12.34);
  EXPECT_EQ(b.nodes[1].reaction, -30.0);
  EXPECT_EQ(b.nodes[2].deflection, -0.001);
  EXPECT_EQ(b.nodes[2].reaction, 45.0);
}

TEST(PlotReader, BlockAfterAnErrorStopHasNoNodes) {
  const std::vector<PlotBlock> blocks = readPlotData("0\n 1 0\n 1 0 1\n");
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].units, 1);
  EXPECT_EQ(blocks[0].nodeUnits, 1);
  EXPECT_TRUE(blocks[0].nodes.empty());
}

TEST(PlotReader, TwoBlocksWithEarthPressureAndCurves) {
  const std::string first =
      "2\n"
      "   0.000E+00  0.000E+00  0.100E-06  0.000E+00\n"
      "   0.120E+03  0.450E+02  0.300E+02  0.150E+02\n"
      " 1 2\n"
      "      12.50    3\n"
      " -1.5 -30.0\n 0.0 0.0\n 1.5 30.0\n"
      "      24.00    2\n"
      " -2.0 -40.5\n 2.0 40.5\n"
      " 2 3 1\n" +
      kThreeNodes;
  // A block holding user curves labels them with node numbers, free format.
  const std::string second =
      "0\n 1 1\n 7 2\n -0.25 -100.0\n 0.25 100.0\n 2 1 1\n"
      "  0.0000E+00  0.2000E+01  0.0000E+00  0.0000E+00  0.0000E+00\n";
  const std::vector<PlotBlock> blocks = readPlotData(first + second);
  ASSERT_EQ(blocks.size(), 2u);

  const PlotBlock& a = blocks[0];
  ASSERT_EQ(a.earthPressure.size(), 2u);
  EXPECT_EQ(a.earthPressure[0].soil, 1.0e-7);
  EXPECT_EQ(a.earthPressure[1].depth, 120.0);
  EXPECT_EQ(a.earthPressure[1].total, 45.0);
  EXPECT_EQ(a.earthPressure[1].soil, 30.0);
  EXPECT_EQ(a.earthPressure[1].surcharge, 15.0);
  ASSERT_EQ(a.curves.size(), 2u);
  EXPECT_EQ(a.curves[0].label, 12.5);
  ASSERT_EQ(a.curves[0].points.size(), 3u);
  EXPECT_EQ(a.curves[0].points[2], std::make_pair(1.5, 30.0));
  EXPECT_EQ(a.curves[1].label, 24.0);
  EXPECT_EQ(a.curves[1].points[0], std::make_pair(-2.0, -40.5));
  EXPECT_EQ(a.nSets, 2);
  EXPECT_EQ(a.nodes.size(), 3u);

  const PlotBlock& b = blocks[1];
  EXPECT_TRUE(b.earthPressure.empty());
  ASSERT_EQ(b.curves.size(), 1u);
  EXPECT_EQ(b.curves[0].label, 7.0);
  EXPECT_EQ(b.curves[0].points[1], std::make_pair(0.25, 100.0));
  EXPECT_EQ(b.nSets, 2);
  ASSERT_EQ(b.nodes.size(), 1u);
  EXPECT_EQ(b.nodes[0].deflection, 2.0);
}

TEST(PlotReader, MalformedDataNamesTheToken) {
  struct Case {
    const char* what;
    std::string text;
    std::string message;  // part of the exception text
  };
  const Case cases[] = {
      {"empty", " \n\n", "no block"},
      {"ends inside the first block", "0 2 0 1 3", "ends after token 5 (line 1): expected block 1 B8 unit system"},
      {"overflowed field", "1\n 0.1E+01 0.2E+01 ********* 0.0E+00\n 2 0 1 0 2",
       "token 4 (line 2) \"*********\": expected block 1 B2 earth-pressure point 1 soil part (a real)"},
      {"count written as a real", "0 2 0 1.0 0 2", "token 4 (line 1) \"1.0\": expected block 1 B6 nSets (an integer)"},
      {"negative count", "0 2 -1 1 0 2", "token 3 (line 1) \"-1\": expected block 1 B4 nPY (a count of 0 or more)"},
      {"count beyond 32 bits", "0 2 0 1 4294967296 2", "token 5 (line 1) \"4294967296\": expected block 1 B7 nNodes"},
      {"Fortran D exponent", "0 2 1 0.1D+01 1 0 0 1 0 2",
       "token 4 (line 1) \"0.1D+01\": expected block 1 B5 p-y curve 1 label"},
      {"second block cut short", "0 2 0 2 0 2\n0\n2", "ends after token 8 (line 3): expected block 2 B4 nPY"},
      // The missing pair is taken from the counts after it, so the file
      // ends one count early.
      {"curve shorter than its count", "0 2 1 5.0 3 -1.0 -9.0 1.0 9.0 1 0 2",
       "ends after token 12 (line 1): expected block 1 B7 nNodes"},
  };
  for (const Case& c : cases) {
    try {
      readPlotData(c.text);
      ADD_FAILURE() << c.what << ": no exception";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
          << c.what << ":\n  message  " << e.what() << "\n  expected " << c.message;
    }
  }
}

TEST(PlotReader, ReadsAFileAndNamesItInErrors) {
  ScratchDir scratch;
  std::ofstream("good.rv5p") << "0\n 2 0\n 1 0 2\n";
  EXPECT_EQ(readPlotFile("good.rv5p").size(), 1u);
  std::ofstream("bad.rv5p") << "0\n 2 0\n 1 x 2\n";
  try {
    readPlotFile("bad.rv5p");
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("bad.rv5p: plot data token 5 (line 3)"), std::string::npos) << e.what();
  }
  EXPECT_THROW(readPlotFile("missing.rv5p"), std::runtime_error);
}

}  // namespace
}  // namespace ramvex::test
