#include "MainCommands.h"

#include "ProgramData.h"

namespace ramvex {

TMainState ProjectState(const TProgramData& data) {
  TMainState s;
  s.UnitSystem = data.UnitSystem;
  s.EarthPressureMode = data.EarthPressureMode;
  s.StageCount = data.StageCount;
  s.CurrentStage = data.CurrentStage;
  s.GeneratedEarthPressure = data.GeneratedEarthPressure;
  s.GeneratePYCurves = data.GeneratePYCurves;
  s.ApplyExternalPYCurves = data.ApplyExternalPYCurves;
  s.ApplyEICurves = data.ApplyEICurves;
  s.ApplyPYModification = data.ApplyPYModification;
  s.ApplyConcentratedLoads = data.ApplyConcentratedLoads;
  s.ApplySprings = data.ApplySprings;
  s.ApplyTiebacks = data.ApplyTiebacks;
  s.ApplySurcharge = data.ApplySurcharge;
  s.ApplyRestraints = data.ApplyRestraints;
  s.LongTermAnalysis = data.LongTermAnalysis;
  return s;
}

TCommandStates ComputeCommandStates(const TMainState& s) {
  TCommandStates out{};
  auto at = [&out](TCommand c) -> TCommandState& { return out[static_cast<size_t>(c)]; };
  using C = TCommand;

  // Data menu.  The soil-layer and distributed-pressure commands come in two
  // forms: a plain item for a single analysis and a Short-Term/Long-Term
  // submenu while the long-term analysis is on; only one form shows.
  const bool siteData = s.GeneratedEarthPressure || s.GeneratePYCurves;
  const bool longTerm = s.LongTermAnalysis;
  const bool splitTerms = longTerm && s.StageCount == 1;
  at(C::DataCSD).Enabled = siteData;
  at(C::DataAxLoads) = {siteData, false, !longTerm};
  at(C::SoilLayerDataMenu).Visible = longTerm;
  at(C::SoilShortTerm).Visible = splitTerms;
  at(C::SoilLongTerm).Visible = splitTerms;
  const bool userPressure = s.EarthPressureMode == 1;
  at(C::DistributedActiveEarthPressureMenu) = {userPressure, false, !longTerm};
  at(C::DataLoading) = {userPressure, false, longTerm};
  at(C::DistShortTerm).Visible = splitTerms;
  at(C::DistLongTerm).Visible = splitTerms;
  at(C::DataRebar).Enabled = s.ApplySurcharge;
  at(C::DataBoundCond).Enabled = s.ApplyConcentratedLoads;
  at(C::TiebackGroundAnchorData1).Enabled = s.ApplyTiebacks;
  at(C::DataSoilLayer).Enabled = s.ApplyRestraints;
  at(C::DataPYMod).Enabled = s.ApplyPYModification;
  at(C::DataPYCurves).Enabled = s.ApplyExternalPYCurves;
  at(C::DataSoilSpring).Enabled = s.ApplySprings;
  at(C::DataEICurves).Enabled = s.ApplyEICurves;

  // Options menu.
  at(C::UnitsEnglish).Checked = s.UnitSystem == 1;
  at(C::UnitsSI).Checked = s.UnitSystem == 2;
  at(C::UnitsOther).Checked = s.UnitSystem == 3;
  // A project that never chose shows the user-specified mode, as the menu
  // sets it when it opens.
  const int mode = s.EarthPressureMode == 0 ? 1 : s.EarthPressureMode;
  at(C::EarthPressureUser).Checked = mode == 1;
  at(C::EarthPressureTriangular).Checked = mode == 2;
  at(C::EarthPressureTrapezoidal).Checked = mode == 3;
  at(C::OptionsKPYOP).Checked = s.GeneratePYCurves;
  at(C::OptionsConcentrate).Checked = s.ApplyConcentratedLoads;
  at(C::ApplyTiebackGroundAnchor1).Checked = s.ApplyTiebacks;
  at(C::OptionsTipRes).Checked = s.ApplyRestraints;
  at(C::OptionsPYCurves).Checked = s.ApplyExternalPYCurves;
  at(C::OptionsLateralSpring).Checked = s.ApplySprings;
  at(C::OptionsPYMod).Checked = s.ApplyPYModification;
  at(C::OptionsSurcharge).Checked = s.ApplySurcharge;
  at(C::OptionsEICurves).Checked = s.ApplyEICurves;
  // A staged project cannot also carry a long-term problem: both use the
  // continuation record of the data file.
  at(C::OptionsLong) = {s.StageCount == 1, longTerm, true};
  at(C::OptionsStaged) = {!longTerm, s.StageCount > 1, true};
  at(C::ToolStageOption).Enabled = !longTerm;
  at(C::ToolSoilLayers).Enabled = !longTerm;

  // Stages: the menu and the five stage buttons.
  const bool staged = s.StageCount > 1;
  at(C::StageMenu).Visible = staged;
  for (int k = 1; k <= 5; ++k) {
    TCommandState& st = at(static_cast<C>(static_cast<int>(C::Stage1) + k - 1));
    st.Enabled = k == 1 ? staged : s.StageCount >= k;
    st.Checked = s.CurrentStage == k;
    st.Visible = staged;
  }
  at(C::CopyPreviousStage).Enabled = staged && s.CurrentStage > 1;

  // Computation menu.
  at(C::CompInput).Enabled = s.DataFileExists;
  at(C::CompKernel).Enabled = s.RunNotesExists;
  at(C::CompOutput).Enabled = s.ReportExists;
  const bool base = s.ResultsAvailable && s.PlotFileExists;
  at(C::CompLayers).Enabled = base;
  // The summary and the calculation report read the same plot file as the
  // graphs, beside the report of the same run.
  at(C::CompSummary).Enabled = base;
  at(C::CompCalcReport).Enabled = base;

  // Graphics menu and the graph buttons.
  auto has = [&s](TGraph g) { return s.GraphHasData[static_cast<size_t>(g)]; };
  const C graphCommands[] = {C::Comppy, C::CompDef, C::CompMom, C::CompShear, C::CompSoil, C::DefMomShear, C::CompLD};
  const TGraph graphs[] = {TGraph::pltPY,   TGraph::pltDef, TGraph::pltMom, TGraph::pltShear,
                           TGraph::pltSoil, TGraph::pltDMS, TGraph::pltLD};
  for (size_t i = 0; i < std::size(graphCommands); ++i) at(graphCommands[i]).Enabled = base && has(graphs[i]);
  // The combined diagram draws what the three single ones draw.
  at(C::DefMomShear).Enabled =
      at(C::CompDef).Enabled && at(C::CompMom).Enabled && at(C::CompShear).Enabled;
  at(C::CompCombine).Enabled = base;
  at(C::ExportExcel).Enabled = base;

  // Three-dimensional view.
  at(C::Show3DViewMenu).Visible = s.View3DOpen;
  const C switches[] = {C::Show3DWall,      C::Show3DSoilLayers,       C::Show3DWaterLevel,
                        C::Show3DSurcharge, C::Show3DConcentratedLoads, C::Show3DTieBacks,
                        C::Show3DBoundaryConditions, C::Show3DLateralSprings};
  for (size_t i = 0; i < std::size(switches); ++i) {
    at(switches[i]) = {true, s.View3DSwitches[i], s.View3DOpen};
  }
  at(C::Show3DDeformedShape) = {at(C::CompDef).Enabled && has(TGraph::pltDef), false, s.View3DOpen};
  const C tools3D[] = {C::Tool3DPan,    C::Tool3DZoomWindow, C::Tool3DZooming, C::Tool3DRotating,
                       C::Tool3DZoomIn, C::Tool3DZoomOut,    C::Tool3DRestart};
  for (C c : tools3D) at(c).Visible = s.View3DOpen;
  at(C::Tool3DPan).Checked = s.View3DMouseMode == 1;
  at(C::Tool3DZooming).Checked = s.View3DMouseMode == 2;
  at(C::Tool3DRotating).Checked = s.View3DMouseMode == 3;
  at(C::Tool3DZoomWindow).Checked = s.View3DMouseMode == 4;
  return out;
}

}  // namespace ramvex
