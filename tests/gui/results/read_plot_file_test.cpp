#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "NumberText.h"
#include "ProgramData.h"
#include "ResultGraphs.h"
#include "golden.h"
#include "plot_reader.h"

namespace ramvex {
namespace {

namespace fs = std::filesystem;
constexpr TCurveList P1 = TCurveList::Panel1;

const fs::path kExamples = fs::path(RAMVEX_SOURCE_DIR) / "examples";

struct PlotFileTest : ::testing::Test {
  test::ScratchDir scratch;
  std::unique_ptr<TProjectTables> tables = CreateProjectTables();
  TProgramData project{*tables};
  TResultGraphs graphs;
  std::vector<std::string> messages;
  TMessageSink sink = [this](const std::string& m) { messages.push_back(m); };

  void SetUp() override { project.NewProject(); }
  // Opening a staged project writes its stage files beside it: open a copy.
  void OpenExample(const char* name) {
    const fs::path copy = scratch.path() / (std::string(name) + ".rv5d");
    fs::copy_file(kExamples / (std::string(name) + ".rv5d"), copy);
    project.OpenProject(copy);
  }
  bool Read(const std::string& text, bool report = true) {
    return graphs.ReadPlotText(text, project, report ? sink : TMessageSink{});
  }
};

// One block: nEP points, unit code, p-y curves, then nSets, the nodes.
std::string Block(int nSets, int units, const std::vector<std::vector<double>>& pressure,
                  const std::vector<std::vector<double>>& nodes, const std::string& curves = "0") {
  std::string s = std::to_string(pressure.size()) + "\n";
  for (const auto& p : pressure) s += " " + std::to_string(p[0]) + " " + std::to_string(p[1]) + " " +
                                      std::to_string(p[2]) + " " + std::to_string(p[3]) + "\n";
  s += std::to_string(units) + " " + curves + "\n";
  s += std::to_string(nSets) + " " + std::to_string(nodes.size()) + " " + std::to_string(units) + "\n";
  for (const auto& n : nodes) {
    for (double v : n) s += " " + std::to_string(v);
    s += "\n";
  }
  return s;
}

TEST_F(PlotFileTest, StagedExampleFillsEveryDepthGraphFromItsBlocks) {
  OpenExample("three_stages");
  const fs::path plot = kExamples / "golden" / "three_stages.rv5p";
  ASSERT_TRUE(graphs.ReadPlotFile(plot, project, sink));
  EXPECT_TRUE(messages.empty());

  const std::vector<test::PlotBlock> blocks = test::readPlotFile(plot);
  ASSERT_EQ(blocks.size(), 3u);
  for (TGraphPlot* g : {&graphs.pltDef, &graphs.pltMom, &graphs.pltShear, &graphs.pltSoil}) {
    SCOPED_TRACE(g->Caption);
    ASSERT_EQ(g->CurveCount(), 3);
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(g->Curve(P1, k).LegendText(), "Stage: " + std::to_string(k + 1));
      ASSERT_EQ(g->Curve(P1, k).PointCount(), 61);
    }
    EXPECT_EQ(g->YCaption, "Depth (ft)");
    EXPECT_EQ(g->Units(), 1);
  }
  // US block: depths in feet, moments and shears in kips.
  for (int k = 0; k < 3; ++k) {
    for (int i = 0; i < 61; ++i) {
      const test::PlotNode& n = blocks[static_cast<size_t>(k)].nodes[static_cast<size_t>(i)];
      EXPECT_DOUBLE_EQ(static_cast<double>(graphs.pltDef.Point(P1, k, i).X), n.deflection);
      EXPECT_DOUBLE_EQ(static_cast<double>(graphs.pltDef.Point(P1, k, i).Y), n.depth / 12);
      EXPECT_NEAR(static_cast<double>(graphs.pltMom.Point(P1, k, i).X), n.moment / 1000, 1e-12);
      EXPECT_NEAR(static_cast<double>(graphs.pltShear.Point(P1, k, i).X), n.shear / 1000, 1e-12);
      EXPECT_DOUBLE_EQ(static_cast<double>(graphs.pltSoil.Point(P1, k, i).X), n.reaction);
    }
  }
  EXPECT_EQ(graphs.pltMom.XCaption, "Bending Moment (in-kips)");
  EXPECT_EQ(graphs.pltShear.XCaption, "Shear (kips)");

  // The three panels copy deflection, moment and shear.
  const TGraphPlot& dms = graphs.pltDMS;
  EXPECT_TRUE(dms.ShowThree);
  ASSERT_EQ(dms.CurveCount(TCurveList::Panel3), 3);
  EXPECT_EQ(dms.Curve(TCurveList::Panel3, 2).Points, graphs.pltShear.Curve(P1, 2).Points);
  EXPECT_EQ(dms.Curve(P1, 1).LegendText(), "Stage: 2");
  EXPECT_EQ(dms.XCaption2, "Bending Moment (in-kips)");
  EXPECT_EQ(dms.YCaption3, "Depth (ft)");
  EXPECT_EQ(dms.XUnits, "L");

  // The p-y graph holds the curves of the last stage.
  const auto& last = blocks.back().curves;
  ASSERT_EQ(graphs.pltPY.CurveCount(), static_cast<int>(last.size()));
  EXPECT_EQ(graphs.pltPY.Curve(P1, 0).LabelValue, static_cast<long double>(last[0].label));
  EXPECT_EQ(graphs.pltPY.Curve(P1, 0).LegendText(), "Depth " + FormatGeneral(last[0].label, 15));

  // Earth pressure: one curve per block, depths in feet; the combined graph
  // from the first block only.
  ASSERT_EQ(graphs.pltLD.CurveCount(), 3);
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.pltLD.Point(P1, 0, 1).Y), 96.0 / 12);
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.pltLD.Point(P1, 0, 1).X), 26.4);
  ASSERT_EQ(graphs.PltCombine.CurveCount(), 3);
  EXPECT_EQ(graphs.PltCombine.Curve(P1, 1).LegendText(), "from Soils ");
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.PltCombine.Point(P1, 0, 2).Y), 30);
  EXPECT_EQ(graphs.Values.FirstBlockPressureCount, 3);
  ASSERT_EQ(graphs.Values.Nodes.size(), 3u);
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.Values.Nodes[2][60].Depth), 30);
}

TEST_F(PlotFileTest, LongTermRunNamesItsTwoCurves) {
  OpenExample("long_term");
  ASSERT_TRUE(project.LongTermAnalysis);
  ASSERT_TRUE(graphs.ReadPlotFile(kExamples / "golden" / "long_term.rv5p", project, sink));
  ASSERT_EQ(graphs.pltDef.CurveCount(), 2);
  EXPECT_EQ(graphs.pltDef.Curve(P1, 0).LegendText(), "Short-Term");
  EXPECT_EQ(graphs.pltSoil.Curve(P1, 1).LegendText(), "Long-Term");
  // SI block: values as written.
  EXPECT_EQ(graphs.pltDef.YCaption, "Depth (m)");
  EXPECT_EQ(graphs.pltMom.XCaption, "Bending Moment (m-kN)");
  EXPECT_EQ(graphs.pltShear.XCaption, "Shear (kN)");
  const auto blocks = test::readPlotFile(kExamples / "golden" / "long_term.rv5p");
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.pltMom.Point(P1, 1, 10).X), blocks[1].nodes[10].moment);
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.pltMom.Point(P1, 1, 10).Y), blocks[1].nodes[10].depth);
}

TEST_F(PlotFileTest, TwoBlocksWithoutLongTermAreStages) {
  const std::string text = Block(2, 2, {}, {{0, 1, 2, 3, 4}, {1, 5, 6, 7, 8}}) +
                           Block(2, 2, {}, {{0, 9, 9, 9, 9}, {1, 8, 8, 8, 8}});
  ASSERT_TRUE(Read(text));
  EXPECT_EQ(graphs.pltDef.Curve(P1, 0).LegendText(), "Stage: 1");
  EXPECT_EQ(graphs.pltDef.Curve(P1, 1).LegendText(), "Stage: 2");
}

TEST_F(PlotFileTest, NoEarthPressureAndNoCurvesGiveEmptyPressureAndPYGraphs) {
  ASSERT_TRUE(Read(Block(1, 2, {}, {{0, 0.01, 0, 0, 0}, {2, 0.005, 1, 2, 3}, {4, 0, 0, 0, 0}})));
  EXPECT_EQ(graphs.pltLD.PointCount(), 0);
  EXPECT_FALSE(graphs.pltLD.HasData());
  EXPECT_EQ(graphs.pltPY.CurveCount(), 0);
  EXPECT_FALSE(graphs.pltPY.HasData());
  EXPECT_TRUE(graphs.pltDef.HasData());
  EXPECT_EQ(graphs.pltDef.PointCount(), 3);
  // A single block keeps the default legend text.
  EXPECT_EQ(graphs.pltDef.Curve(P1, 0).LegendText(), "Load #1");
}

TEST_F(PlotFileTest, UsBlockShowsFeetAndKips) {
  ASSERT_TRUE(Read(Block(1, 1, {{120, 2, 1.5, 0.5}, {240, 3, 2, 1}}, {{0, 0.5, 0, 0, 0}, {120, 0.25, 25000, 3000, 7}})));
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.pltDef.Point(P1, 0, 1).Y), 10);
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.pltMom.Point(P1, 0, 1).X), 25);
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.pltShear.Point(P1, 0, 1).X), 3);
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.pltSoil.Point(P1, 0, 1).X), 7);
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.pltDef.Point(P1, 0, 1).X), 0.25);
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.pltLD.Point(P1, 0, 1).Y), 20);
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.PltCombine.Point(P1, 2, 0).X), 0.5);
  EXPECT_DOUBLE_EQ(static_cast<double>(graphs.PltCombine.Point(P1, 2, 0).Y), 10);
}

TEST_F(PlotFileTest, BlocksOfDifferentLengthsArePaddedWithTheirOwnLastPoint) {
  const std::string text =
      Block(2, 2, {{0, 1, 1, 0}, {1, 2, 2, 0}}, {{0, 1, 1, 1, 1}, {1, 2, 2, 2, 2}, {2, 3, 3, 3, 3}}) +
      Block(2, 2, {{0, 5, 5, 0}, {1, 6, 6, 0}, {2, 7, 7, 0}}, {{0, 4, 4, 4, 4}, {1, 5, 5, 5, 5}});
  ASSERT_TRUE(Read(text));
  ASSERT_EQ(graphs.pltLD.CurveCount(), 2);
  const auto& ep0 = graphs.pltLD.Curve(P1, 0).Points;
  ASSERT_EQ(ep0.size(), 3u);
  EXPECT_EQ(ep0[2], (TFloatPoint{2, 1}));  // its own last point repeated
  EXPECT_EQ(graphs.pltLD.Curve(P1, 1).Points[2], (TFloatPoint{7, 2}));
  const auto& def1 = graphs.pltDef.Curve(P1, 1).Points;
  ASSERT_EQ(def1.size(), 3u);
  EXPECT_EQ(def1[2], (TFloatPoint{5, 1}));
  EXPECT_EQ(graphs.pltDMS.Curve(TCurveList::Panel2, 1).Points, graphs.pltMom.Curve(P1, 1).Points);
  // The copies keep the true counts.
  EXPECT_EQ(graphs.Values.Nodes[1].size(), 2u);
  EXPECT_EQ(graphs.Values.EarthPressure[0].size(), 2u);
}

TEST_F(PlotFileTest, PYCurvesOfOneBlockArePaddedToTheLongest) {
  ASSERT_TRUE(Read(Block(1, 2, {}, {{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}}, "2\n 1.5 3\n -1 5\n 0 0\n 1 -5\n 3 2\n 0 0\n 2 -9\n")));
  ASSERT_EQ(graphs.pltPY.CurveCount(), 2);
  EXPECT_EQ(graphs.pltPY.Curve(P1, 0).LegendText(), "Depth 1.5");
  ASSERT_EQ(graphs.pltPY.Curve(P1, 1).PointCount(), 3);
  EXPECT_EQ(graphs.pltPY.Curve(P1, 1).Points[2], (TFloatPoint{2, -9}));
}

std::string Zeros(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "0 ";
  return s;
}

TEST_F(PlotFileTest, BadFilesAreRefusedWithTheMessageOnlyWhenAsked) {
  const std::string good = Block(1, 2, {{0, 1, 1, 0}}, {{0, 1, 1, 1, 1}, {1, 2, 2, 2, 2}});
  struct Case {
    const char* name;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"garbage", "this is not a plot file"},
      {"non-numeric node value", "0\n2 0\n1 2 2\n 0 1 x 1 1\n 1 2 2 2 2\n"},
      {"real where a count belongs", "1.5\n"},
      {"cut in the middle of the node records", good.substr(0, good.size() - 12)},
      {"cut inside the second block", Block(2, 2, {{0, 1, 1, 0}}, {{0, 1, 1, 1, 1}}) + "3\n 0 1 1 0\n"},
      {"absurd count of points", "2147483647\n 0 0 0 0\n"},
      {"absurd count of sets", "0 2 0 2147483647 1 2 0 0 0 0 0"},
      // 3000 sets of 3000 nodes, each count within the file's 21000
      // values, together asking for 36 million points.
      {"sets times nodes beyond the file", "0 2 0 3000 3000 2 " + Zeros(21000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.clear();
    EXPECT_FALSE(Read(c.text, true));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "An error occured in running the main program.");
    messages.clear();
    EXPECT_FALSE(Read(c.text, false));
    EXPECT_TRUE(messages.empty());
  }
}

TEST_F(PlotFileTest, WhatWasReadBeforeAFaultStays) {
  const std::string first = Block(2, 2, {}, {{0, 1, 1, 1, 1}, {1, 2, 2, 2, 2}});
  EXPECT_FALSE(Read(first + "0 2 0 2 2 2 0 9 9 9 9 1 8 8 8"));
  EXPECT_EQ(graphs.pltDef.Curve(P1, 0).Points[1], (TFloatPoint{2, 1}));
  EXPECT_EQ(graphs.pltDMS.Curve(P1, 0).Points[1], (TFloatPoint{2, 1}));
}

TEST_F(PlotFileTest, MissingFileReportsLikeADamagedOne) {
  EXPECT_FALSE(graphs.ReadPlotFile("no-such-folder/none.rv5p", project, sink));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], kPlotReadError);
}

TEST_F(PlotFileTest, ASecondReadReplacesTheFirst) {
  const std::string staged = Block(2, 2, {}, {{0, 1, 1, 1, 1}, {1, 2, 2, 2, 2}}) +
                             Block(2, 2, {}, {{0, 3, 3, 3, 3}, {1, 4, 4, 4, 4}});
  ASSERT_TRUE(Read(staged));
  ASSERT_TRUE(Read(Block(1, 2, {}, {{0, 7, 7, 7, 7}, {2, 8, 8, 8, 8}, {4, 9, 9, 9, 9}})));
  ASSERT_EQ(graphs.pltDef.CurveCount(), 1);
  EXPECT_EQ(graphs.pltDef.Curve(P1, 0).LegendText(), "Load #1");
  EXPECT_EQ(graphs.pltDMS.Curve(P1, 0).LegendText(), "Curve #1");
  EXPECT_EQ(graphs.pltDef.PointCount(), 3);
  EXPECT_EQ(graphs.Values.Nodes.size(), 1u);
}

TEST_F(PlotFileTest, SoilLayerAndWallLinesComeFromTheProject) {
  // US project: table depths in feet, wall lengths in inches.
  TGridTable& soil = *project.Tables().NewSoil;
  soil.SetRowCount(4);
  const int types[] = {2, 4, 5, 6};
  for (int r = 0; r < 4; ++r) {
    soil.Column(0)->SetInt(r, types[r]);
    soil.Column(1)->SetFloat(r, 5.0L * (r + 1));
  }
  soil.Column(0)->SetInt(3, 0);  // not a soil type
  project.IncrementCount = 60;
  project.IncrementLength = 6;
  project.FreeHeight = 120;
  ASSERT_TRUE(Read(Block(1, 1, {}, {{0, 1, 1, 1, 1}, {360, 0, 0, 0, 0}})));
  const TGraphPlot& dms = graphs.pltDMS;
  ASSERT_EQ(dms.CurveCount(TCurveList::Layers), 6);
  EXPECT_EQ(dms.WallLineCount, 4);
  const char* names[] = {" CLAY ", " SAND ", " SILT ", "LAYER 4", "PILE", "PILE"};
  const long double codes[] = {1, 7, 8, 0, 0, 0};
  const long double depths[] = {5, 10, 15, 20, 30, 10};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const TLine& line = dms.Curve(TCurveList::Layers, i);
    EXPECT_EQ(line.Name, names[i]);
    ASSERT_EQ(line.PointCount(), 1);
    EXPECT_EQ(line.Points[0].X, codes[i]);
    EXPECT_EQ(line.Points[0].Y, depths[i]);
  }
}

}  // namespace
}  // namespace ramvex
