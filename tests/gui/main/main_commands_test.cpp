#include "MainCommands.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace ramvex {
namespace {

using C = TCommand;

struct TExpect {
  C Command;
  bool Enabled;
  bool Checked;
  bool Visible;
};

struct TCase {
  std::string Name;
  std::function<void(TMainState&)> Set;
  std::vector<TExpect> Expected;
};

std::array<bool, kGraphCount> AllGraphs() {
  std::array<bool, kGraphCount> a{};
  a.fill(true);
  return a;
}

void Results(TMainState& s) {
  s.ResultsAvailable = true;
  s.PlotFileExists = true;
  s.GraphHasData = AllGraphs();
}

// Each row: a project state, and the enabled, checked and visible state of
// the commands the rules single out for it.
const std::vector<TCase>& Cases() {
  static const std::vector<TCase> cases = {
      {"NewProject",
       [](TMainState&) {},
       {{C::DataTitle, true, false, true},
        {C::DataCSD, true, false, true},
        {C::DataAxLoads, true, false, true},
        {C::SoilLayerDataMenu, true, false, false},
        {C::DistributedActiveEarthPressureMenu, false, false, true},
        {C::DataLoading, false, false, false},
        {C::DataRebar, false, false, true},
        {C::DataEICurves, false, false, true},
        {C::UnitsEnglish, true, true, true},
        {C::UnitsSI, true, false, true},
        {C::EarthPressureTriangular, true, true, true},
        {C::OptionsKPYOP, true, true, true},
        {C::OptionsLong, true, false, true},
        {C::OptionsStaged, true, false, true},
        {C::ToolStageOption, true, false, true},
        {C::ToolSoilLayers, true, false, true},
        {C::StageMenu, true, false, false},
        {C::Stage1, false, true, false},
        {C::CompRun, true, false, true},
        {C::CompInput, false, false, true},
        {C::CompOutput, false, false, true},
        {C::CompLayers, false, false, true},
        {C::View3D, true, false, true},
        {C::CompDef, false, false, true},
        {C::CompCombine, false, false, true},
        {C::ExportExcel, false, false, true},
        {C::CompSummary, false, false, true},
        {C::CompCalcReport, false, false, true},
        // The design check runs its own analyses: open before any run.
        {C::CompDesignCheck, true, false, true},
        {C::Show3DViewMenu, true, false, false},
        {C::Tool3DPan, true, false, false},
        {C::Show3DDeformedShape, false, false, false}}},
      {"NoSiteDataWithoutGeneration",
       [](TMainState& s) { s.GeneratePYCurves = false; },
       {{C::DataCSD, false, false, true},
        {C::DataAxLoads, false, false, true},
        // The tool button is not subject to the menu's condition.
        {C::ToolWallConfiguration, true, false, true},
        {C::OptionsKPYOP, true, false, true}}},
      {"GeneratedEarthPressureKeepsSiteData",
       [](TMainState& s) {
         s.GeneratePYCurves = false;
         s.GeneratedEarthPressure = true;
       },
       {{C::DataCSD, true, false, true}, {C::DataAxLoads, true, false, true}}},
      {"UserEarthPressure",
       [](TMainState& s) { s.EarthPressureMode = 1; },
       {{C::DistributedActiveEarthPressureMenu, true, false, true}, {C::EarthPressureUser, true, true, true}}},
      {"ModeZeroShowsUserSpecified",
       [](TMainState& s) { s.EarthPressureMode = 0; },
       {{C::EarthPressureUser, true, true, true}, {C::EarthPressureTriangular, true, false, true}}},
      {"LongTerm",
       [](TMainState& s) {
         s.LongTermAnalysis = true;
         s.EarthPressureMode = 1;
       },
       {{C::DataAxLoads, true, false, false},
        {C::SoilLayerDataMenu, true, false, true},
        {C::SoilShortTerm, true, false, true},
        {C::SoilLongTerm, true, false, true},
        {C::DistributedActiveEarthPressureMenu, true, false, false},
        {C::DataLoading, true, false, true},
        {C::DistLongTerm, true, false, true},
        {C::OptionsLong, true, true, true},
        {C::OptionsStaged, false, false, true},
        {C::ToolStageOption, false, false, true},
        {C::ToolSoilLayers, false, false, true}}},
      {"LongTermInAStagedFileHidesTheTermEntries",
       [](TMainState& s) {
         s.LongTermAnalysis = true;
         s.StageCount = 2;
       },
       {{C::SoilShortTerm, true, false, false}, {C::DistLongTerm, true, false, false}, {C::OptionsLong, false, true, true}}},
      {"ThreeStagesInStageTwo",
       [](TMainState& s) {
         s.StageCount = 3;
         s.CurrentStage = 2;
       },
       {{C::StageMenu, true, false, true},
        {C::Stage1, true, false, true},
        {C::Stage2, true, true, true},
        {C::Stage3, true, false, true},
        {C::Stage4, false, false, true},
        {C::Stage5, false, false, true},
        {C::CopyPreviousStage, true, false, true},
        {C::OptionsLong, false, false, true},
        {C::OptionsStaged, true, true, true}}},
      {"FirstStageHasNoPreviousStage",
       [](TMainState& s) { s.StageCount = 3; },
       {{C::CopyPreviousStage, false, false, true}, {C::Stage1, true, true, true}}},
      {"RunFiles",
       [](TMainState& s) {
         s.DataFileExists = true;
         s.RunNotesExists = true;
       },
       {{C::CompInput, true, false, true}, {C::CompKernel, true, false, true}, {C::CompOutput, false, false, true}}},
      {"ReportAlone",
       [](TMainState& s) { s.ReportExists = true; },
       {{C::CompOutput, true, false, true}, {C::CompInput, false, false, true}}},
      {"AllResults",
       Results,
       {{C::CompLayers, true, false, true},
        {C::Comppy, true, false, true},
        {C::CompDef, true, false, true},
        {C::DefMomShear, true, false, true},
        {C::CompLD, true, false, true},
        {C::CompCombine, true, false, true},
        {C::ExportExcel, true, false, true},
        {C::CompSummary, true, false, true},
        {C::CompCalcReport, true, false, true}}},
      {"ResultsWithoutThePlotFile",
       [](TMainState& s) {
         Results(s);
         s.PlotFileExists = false;
       },
       {{C::CompLayers, false, false, true},
        {C::Comppy, false, false, true},
        {C::CompCombine, false, false, true},
        {C::ExportExcel, false, false, true},
        {C::CompSummary, false, false, true},
        {C::CompCalcReport, false, false, true}}},
      {"PlotFileOfAFailedRead",
       [](TMainState& s) {
         Results(s);
         s.ResultsAvailable = false;
       },
       {{C::CompDef, false, false, true},
        {C::CompLayers, false, false, true},
        {C::ExportExcel, false, false, true},
        {C::CompSummary, false, false, true},
        {C::CompCalcReport, false, false, true}}},
      {"DeflectionCurvesOfOnePointEach",
       [](TMainState& s) {
         Results(s);
         s.GraphHasData[static_cast<size_t>(TGraph::pltDef)] = false;
         s.View3DOpen = true;
       },
       {{C::CompDef, false, false, true},
        {C::DefMomShear, false, false, true},
        {C::CompMom, true, false, true},
        {C::CompShear, true, false, true},
        {C::CompCombine, true, false, true},
        {C::Show3DDeformedShape, false, false, true}}},
      {"CombinedGraphWithoutItsOwnData",
       [](TMainState& s) {
         Results(s);
         s.GraphHasData[static_cast<size_t>(TGraph::pltDMS)] = false;
         s.GraphHasData[static_cast<size_t>(TGraph::PltCombine)] = false;
       },
       {{C::DefMomShear, true, false, true}, {C::CompCombine, true, false, true}}},
      {"ThreeDimensionalViewOpen",
       [](TMainState& s) {
         Results(s);
         s.View3DOpen = true;
         s.View3DSwitches = {true, false, true, false, false, false, false, true};
         s.View3DMouseMode = 4;
       },
       {{C::Show3DViewMenu, true, false, true},
        {C::Show3DWall, true, true, true},
        {C::Show3DSoilLayers, true, false, true},
        {C::Show3DWaterLevel, true, true, true},
        {C::Show3DLateralSprings, true, true, true},
        {C::Show3DDeformedShape, true, false, true},
        {C::Tool3DZoomWindow, true, true, true},
        {C::Tool3DRotating, true, false, true},
        {C::Tool3DRestart, true, false, true}}},
  };
  return cases;
}

class CommandStatesTest : public ::testing::TestWithParam<TCase> {};

TEST_P(CommandStatesTest, Table) {
  TMainState state;
  GetParam().Set(state);
  const TCommandStates states = ComputeCommandStates(state);
  for (const TExpect& e : GetParam().Expected) {
    const TCommandState& s = StateOf(states, e.Command);
    SCOPED_TRACE("command " + std::to_string(static_cast<int>(e.Command)));
    EXPECT_EQ(s.Enabled, e.Enabled);
    EXPECT_EQ(s.Checked, e.Checked);
    EXPECT_EQ(s.Visible, e.Visible);
  }
}

INSTANTIATE_TEST_SUITE_P(Rules, CommandStatesTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.Name; });

// Every Apply option enables its Data command and shows its check mark; the
// others stay as they were.
TEST(CommandStates, EachApplyOptionEnablesItsDataCommand) {
  struct TOption {
    bool TMainState::*Flag;
    C Data;
    C Option;
  };
  const TOption options[] = {
      {&TMainState::ApplySurcharge, C::DataRebar, C::OptionsSurcharge},
      {&TMainState::ApplyConcentratedLoads, C::DataBoundCond, C::OptionsConcentrate},
      {&TMainState::ApplyTiebacks, C::TiebackGroundAnchorData1, C::ApplyTiebackGroundAnchor1},
      {&TMainState::ApplyRestraints, C::DataSoilLayer, C::OptionsTipRes},
      {&TMainState::ApplyPYModification, C::DataPYMod, C::OptionsPYMod},
      {&TMainState::ApplyExternalPYCurves, C::DataPYCurves, C::OptionsPYCurves},
      {&TMainState::ApplySprings, C::DataSoilSpring, C::OptionsLateralSpring},
      {&TMainState::ApplyEICurves, C::DataEICurves, C::OptionsEICurves},
  };
  for (const TOption& on : options) {
    TMainState state;
    state.*on.Flag = true;
    const TCommandStates states = ComputeCommandStates(state);
    for (const TOption& o : options) {
      const bool expected = &o == &on;
      EXPECT_EQ(StateOf(states, o.Data).Enabled, expected) << static_cast<int>(on.Data) << " " << static_cast<int>(o.Data);
      EXPECT_EQ(StateOf(states, o.Option).Checked, expected);
    }
  }
}

}  // namespace
}  // namespace ramvex
