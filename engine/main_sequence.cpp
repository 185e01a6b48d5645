#include "main_sequence.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include "data_file.h"
#include "data_reader.h"
#include "earth_pressure.h"
#include "earth_pressure_echo.h"
#include "earth_pressure_table.h"
#include "fortran_format.h"
#include "input_echo.h"
#include "iteration.h"
#include "plot_output.h"
#include "problem_input.h"
#include "py_curves.h"
#include "py_generation.h"
#include "report_header.h"
#include "run_errors.h"
#include "soil_curves_file.h"
#include "soil_profile.h"
#include "station_data.h"
#include "surcharge.h"
#include "wall_report.h"

namespace ramvex {
namespace {

std::tm localNow() {
  std::time_t t = std::time(nullptr);
  std::tm now{};
  localtime_r(&t, &now);
  return now;
}

void errorStop(RunState& run, const char* message) {
  run.report.empty(2);
  run.report.line(message);
  throw ErrorStop{};
}

// Where the chain of problems stands; decides the result block written when
// the run ends early.  Once a continuation code has been read, the block it
// closed is the last one the run writes: a stop in a later problem, or a
// file ending after the code, adds none.
struct ChainState {
  bool continuationRead = false;
  int units = 0;
};

// Section 4: the station order is checked row by row as the rows are read.
void checkSpecifiedRows(RunState& run, const std::vector<SpecifiedRow>& rows, int increments) {
  int previous = -1;
  for (const SpecifiedRow& r : rows) {
    if (r.station < previous) errorStop(run, "     ERROR STOP -- STATIONS NOT IN ORDER");
    previous = r.station;
  }
  // A slope row also fixes its two neighbours, so the last usable station
  // is N + 1; every station beyond it gets the same message.
  for (const SpecifiedRow& r : rows)
    if (r.station > increments + 1) errorStop(run, kSpecifiedBeyondWall);
}

// The user table of option 1 as line loads, with the surcharge pressure at
// each depth over the loaded width added when surcharge rows exist.
EarthPressureTable userEarthPressureTable(const ProblemInput& input) {
  EarthPressureTable table;
  for (const EarthPressureRow& r : input.earthPressure) {
    EarthPressurePoint p;
    p.depth = r.depth;
    p.soil = r.lineLoad;
    p.surcharge = input.surcharges.empty() ? 0.0 : input.solution.wa * surchargePressureAt(input, r.depth);
    p.total = p.soil + p.surcharge;
    table.push_back(p);
  }
  return table;
}

// p-y option 2: the curves generated from the soil layers, with the user
// curves passed through ahead of them, as read back from "SOILDATA".
// sigmaH is the backfill overburden at the excavation level as the
// earth-pressure step found it; without that step (options 0 and 1) it is 0,
// so the curves are not shifted by an active pressure the wall does not
// carry, or already carries through the user's own table.
CurveSet generatedCurveSet(RunState& run, const ProblemInput& input, double sigmaH) {
  runPyGeneration(run, input, sigmaH);
  CurveSet set;
  bool anyGenerated = false;
  for (SoilFileCurve& c : readSoilCurvesFile(run, input)) {
    anyGenerated = anyGenerated || c.generated;
    PyCurve curve;
    curve.station = c.station;
    curve.y = std::move(c.y);
    curve.p = std::move(c.p);
    curve.pLine = std::move(c.pLine);
    curve.interpolate = c.interpolate;
    curve.generated = c.generated;
    curve.depth = c.depth;
    appendCurve(run, set, std::move(curve));
  }
  if (!anyGenerated) {
    run.report.empty();
    run.report.line(std::string(20, ' '));
  }
  return set;
}

// The p-y block of the plot file: user curves are labelled with their
// station, generated ones with their nearest station unless every curve is
// generated, in which case the depth labels them.  Values per length of wall.
bool allGenerated(const CurveSet& curves) {
  if (curves.curves.empty()) return false;
  for (const PyCurve& c : curves.curves)
    if (!c.generated) return false;
  return true;
}

std::vector<PlotCurve> plotCurves(const CurveSet& curves) {
  const bool depths = allGenerated(curves);
  std::vector<PlotCurve> plotted;
  for (const PyCurve& c : curves.curves)
    plotted.push_back({depths ? c.depth : static_cast<double>(c.station), c.y, c.pLine});
  return plotted;
}

// Returns true when another problem follows.
bool analyseProblem(RunState& run, DataFile& file, ChainState& chain) {
  ProblemInput input;
  input.title = readTitleRecord(file);
  ++run.problemCounter;
  run.currentTitle = input.title;
  if (run.problemCounter == 1) run.firstTitle = input.title;

  input.control = readProblemControl(file);
  const ProblemControl& control = input.control;
  const int controlLine = file.recordLine();
  chain.units = control.units;

  // The header comes first, so a count out of range stops the run below it
  // like every other error stop.
  if (run.problemCounter > 1) run.report.empty(2);
  writeReportHeader(run, control.nstage, localNow());
  run.labels.setFor(control.units);
  checkProblemControl(control, controlLine);

  input.solution = readSolutionControl(file);
  const SolutionControl& solution = input.solution;
  writeProgramControl(run, control, solution);

  // Negative counts end the run without a message.
  if (control.nsds < 0 || control.nstif < 0 || control.nupy < 0) throw ErrorStop{};
  if (control.nsds > kMaxSpecifiedRows) {
    run.report.empty(2);
    run.report.line("     TOO MUCH DATA FOR AVAILABLE STORAGE");
    run.report.empty(2);
    throw ErrorStop{};
  }

  input.specified = readSpecifiedRows(file, control.nsds);
  checkSpecifiedRows(run, input.specified, solution.increments);
  writeSpecifiedRows(run, input.specified);

  StationData stations;
  resetStations(run, input, stations);
  applySpecifiedRows(run, input, stations);

  input.stiffness = readStiffnessRows(file, control.nstif);
  input.loads = readLoadRows(file);
  readSpringAndTiebackRows(file, control.units, solution.h, control.ntie, input);
  distributeWallTables(run, input, stations);

  input.pyModifiers = readPyModRows(file, control.npymod);
  if (control.earthPressureOption == 1) input.earthPressure = readEarthPressureRows(file);
  if (control.earthPressureOption >= 2 || control.pyOption == 2) readSiteRecords(file, control.units, input);

  // The full table loads the wall; the plot file gets the points printed.
  EarthPressureTable earthPressure, plotted;
  double sigmaH = 0.0;
  if (control.earthPressureOption == 1) {
    earthPressure = userEarthPressureTable(input);
    writeUserEarthPressure(run, input);
    plotted = earthPressure;
  } else if (control.earthPressureOption >= 2) {
    sigmaH = runEarthPressureStep(run, input);
    earthPressure = readEarthPressureFile(run, input);
    const std::vector<size_t> printed = printedEarthPressurePoints(earthPressure.size(), control.units);
    writeGeneratedEarthPressure(run, earthPressure, printed);
    for (size_t i : printed) plotted.push_back(earthPressure[i]);
  }
  writePlotEarthPressure(run.plot, plotted);

  if (control.earthPressureOption == 1) {
    const double lastDepth = earthPressure.empty() ? 0.0 : earthPressure.back().depth;
    addEarthPressureLoads(earthPressure, lastDepth, stations);
  } else if (control.earthPressureOption >= 2) {
    addEarthPressureLoads(earthPressure, input.site.freeHeight, stations);
  }
  checkBeyondEnd(run, stations);

  if (control.nupy > 0 && control.pyOption <= 2) input.userCurves = readUserCurves(file, control.nupy);
  if (control.nmei > 0) input.momentEiCurves = readMomentEiCurves(file, control.nmei, solution.increments);

  echoUserCurves(run, input);
  const CurveSet curves = control.pyOption == 2 ? generatedCurveSet(run, input, sigmaH) : buildCurveSet(run, input);
  writePlotCurves(run.plot, control.units, plotCurves(curves), allGenerated(curves));

  run.report.line(titleLine(run, control.nstage));

  const IterationResult iteration = iterate(run, input, stations, curves);
  const WallResults results = computeResults(stations, iteration.w);
  writeResults(run, iteration, results);
  writeTiebackResults(run, tiebackResults(stations, iteration.w));

  std::vector<NodeResult> nodes;
  for (int j = 0; j < results.nodes(); ++j)
    nodes.push_back({results.x[j], results.deflection[j], results.moment[j], results.shear[j], results.reaction[j]});

  int continuation = readContinuation(file);
  chain.continuationRead = true;
  if (continuation == control.nstage) continuation = 0;
  if (continuation == 0) {
    writePlotResults(run.plot, run.resultSetCount, control.units, nodes);
    return false;
  }
  run.resultSetCount = continuation == 9 ? 2 : control.nstage;
  writePlotResults(run.plot, run.resultSetCount, control.units, nodes);
  return true;
}

void writeReadError(RunState& run, const DataReadError& error) {
  TextOutput& out = run.report;
  out.empty(2);
  const std::string line = fmt::freeInt(error.line);
  switch (error.kind) {
    case DataReadError::Kind::BadValue:
      out.line("     ERROR STOP -- DATA FILE UNREADABLE AT LINE " + line);
      break;
    case DataReadError::Kind::EndOfFile:
      out.line("     ERROR STOP -- DATA FILE ENDS BEFORE LINE " + line);
      break;
    case DataReadError::Kind::OutOfRange:
      out.line("     ERROR STOP -- VALUE OUT OF RANGE AT LINE " + line);
      out.line("     " + error.what);
      break;
  }
}

bool readWholeFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return !in.bad();
}

}  // namespace

void runProblems(RunState& run) {
  std::string text;
  const bool dataRead = readWholeFile(run.dataPath, text);
  if (!run.report.open(run.reportPath)) {
    std::fprintf(stderr, " CANNOT CREATE THE OUTPUT FILE %s\n", run.reportPath.c_str());
    return;
  }
  run.plot.open(run.plotPath);
  run.notes.open(run.notesPath);
  run.resultSetCount = 1;
  run.problemCounter = 0;

  ChainState chain;
  try {
    if (!dataRead) {
      run.report.empty(2);
      run.report.line("     ERROR STOP -- DATA FILE CANNOT BE OPENED: " + run.dataPath);
      throw ErrorStop{};
    }
    DataFile file(text);
    try {
      while (analyseProblem(run, file, chain)) {
      }
    } catch (const DataReadError& error) {
      writeReadError(run, error);
      throw ErrorStop{};
    }
  } catch (const ErrorStop&) {
    // Only the first problem's stop leaves a result block: a later problem
    // follows a continuation code that already closed the previous block.
    if (run.problemCounter <= 1 && !chain.continuationRead) writePlotResults(run.plot, 1, chain.units, {});
  } catch (const SoilModelStop&) {
    // The step that stopped has told the console and the report why.
    return;
  }
  run.report.empty(3);
  run.report.line("     END OF ANALYSIS                             ");
}

}  // namespace ramvex
