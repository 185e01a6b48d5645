// The commands of the main window and the rules that enable, check and show
// them.  The rules are one pure function of a plain state record, so that
// every menu item and tool button follows the same table and a test can read
// it without a display.
#pragma once

#include <array>
#include <string>

namespace ramvex {

class TProgramData;

// One entry per command.  A menu item and its tool button share an entry
// when they follow the same rule; the buttons whose rule differs from their
// menu item's have entries of their own (the Tool... names).
enum class TCommand {
  FileNew, FileOpen, FileSave, FileSaveAs, FileExit,
  DataTitle, DataProp, DataCSD, DataAxLoads,
  SoilLayerDataMenu, SoilShortTerm, SoilLongTerm,
  DistributedActiveEarthPressureMenu, DataLoading, DistShortTerm, DistLongTerm,
  DataRebar, DataBoundCond, TiebackGroundAnchorData1, DataSoilLayer, DataPYMod, DataPYCurves, DataSoilSpring,
  DataEICurves,
  UnitsEnglish, UnitsSI, UnitsOther,
  EarthPressureUser, EarthPressureTriangular, EarthPressureTrapezoidal,
  OptionsKPYOP, OptionsConcentrate, ApplyTiebackGroundAnchor1, OptionsTipRes, OptionsPYCurves,
  OptionsLateralSpring, OptionsPYMod, OptionsSurcharge, OptionsEICurves, OptionsLong, OptionsStaged,
  OptionofTexeEditor1,
  StageMenu, Stage1, Stage2, Stage3, Stage4, Stage5, CopyPreviousStage,
  CompRun, CompInput, CompKernel, CompOutput, CompLayers, View3D,
  Comppy, CompDef, CompMom, CompShear, CompSoil, DefMomShear, CompLD, CompCombine, ExportExcel,
  Show3DViewMenu, Show3DWall, Show3DSoilLayers, Show3DWaterLevel, Show3DSurcharge, Show3DConcentratedLoads,
  Show3DTieBacks, Show3DBoundaryConditions, Show3DLateralSprings, Show3DDeformedShape,
  WindowCascade, WindowTile, WindowArrangeIcons,
  HelpContents, HelpUsersManual, HelpTechnicalManual, HelpAbout, HelpUpdates,
  ToolWallConfiguration, ToolSoilLayers, ToolStageOption, ToolViewSoilProfile,
  Tool3DPan, Tool3DZoomWindow, Tool3DZooming, Tool3DRotating, Tool3DZoomIn, Tool3DZoomOut, Tool3DRestart,
  CompSummary, CompCalcReport, CompDesignCheck,
  Count
};
constexpr int kCommandCount = static_cast<int>(TCommand::Count);

// The result graphs, in the order of the Graphics menu.
enum class TGraph { pltPY, pltDef, pltMom, pltShear, pltSoil, pltDMS, pltLD, PltCombine, Count };
constexpr int kGraphCount = static_cast<int>(TGraph::Count);

// Subjects of the three-dimensional view that its menu switches on and off,
// in menu order.
constexpr int k3DSubjectCount = 8;

struct TCommandState {
  bool Enabled = true;
  bool Checked = false;
  bool Visible = true;
  bool operator==(const TCommandState&) const = default;
};

using TCommandStates = std::array<TCommandState, kCommandCount>;

// Everything the rules look at.
struct TMainState {
  int UnitSystem = 1;
  int EarthPressureMode = 2;
  int StageCount = 1;
  int CurrentStage = 1;
  bool GeneratedEarthPressure = false;
  bool GeneratePYCurves = true;
  bool ApplyExternalPYCurves = false;
  bool ApplyEICurves = false;
  bool ApplyPYModification = false;
  bool ApplyConcentratedLoads = false;
  bool ApplySprings = false;
  bool ApplyTiebacks = false;
  bool ApplySurcharge = false;
  bool ApplyRestraints = false;
  bool LongTermAnalysis = false;

  // Outcome of the last read of a plot data file.
  bool ResultsAvailable = false;
  // The files beside the data file.
  bool DataFileExists = false;
  bool ReportExists = false;
  bool RunNotesExists = false;
  bool PlotFileExists = false;
  // A graph has data when it holds a curve of more than one point.
  std::array<bool, kGraphCount> GraphHasData{};

  bool View3DOpen = false;
  std::array<bool, k3DSubjectCount> View3DSwitches{};
  // Mouse mode of the 3D view: 1 panning, 2 zooming, 3 rotating, 4 zoom
  // window.
  int View3DMouseMode = 3;
};

// The project's part of the state; the results and file parts are left at
// their defaults for the caller to fill.
TMainState ProjectState(const TProgramData& data);

TCommandStates ComputeCommandStates(const TMainState& state);

inline const TCommandState& StateOf(const TCommandStates& states, TCommand c) {
  return states[static_cast<size_t>(c)];
}

}  // namespace ramvex
