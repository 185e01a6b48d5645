// The result graphs of the program and the reader of the plot data file
// (".rv5p") that fills them.
//
// The main window owns one TResultGraphs for its whole life; every read of
// a plot data file empties the graphs and refills them, so they always hold
// the last file read.  The graph windows, the spreadsheet export, the 3D
// view and the soil-profile view read the graphs from here.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "PltData.h"

namespace ramvex {

class TProgramData;

// Receives a message for the user (shown in an information box by the main
// window; collected by tests).
using TMessageSink = std::function<void(const std::string&)>;

// Results of one wall node as the graphs hold them (depth in feet or
// metres, moment in in-kips or m-kN, shear in kips or kN for US blocks).
struct TNodeValues {
  long double Depth = 0;
  long double Deflection = 0;
  long double Moment = 0;
  long double Shear = 0;
  long double Reaction = 0;
};

// One earth-pressure point: depth and total lateral earth pressure.
struct TPressureValues {
  long double Depth = 0;
  long double Pressure = 0;
};

// The values of the last plot file read, block by block, as converted for
// the graphs.  Kept apart from the graphs because the graphs pad shorter
// curves to a common length, while these keep each block's true counts.
struct TPlotValues {
  std::vector<std::vector<TPressureValues>> EarthPressure;  // per block
  std::vector<std::vector<TNodeValues>> Nodes;              // per block
  // Earth-pressure points of the first block.
  int FirstBlockPressureCount = 0;
  // Unit code of the last block read (1 US, 2 SI).
  int Units = 0;
  void Clear() { *this = TPlotValues{}; }
};

class TResultGraphs {
 public:
  // The graphs with their captions, curve-name prefixes and axes as
  // designed; X on top for all but pltPY.
  TResultGraphs();
  TResultGraphs(const TResultGraphs&) = delete;
  TResultGraphs& operator=(const TResultGraphs&) = delete;

  TGraphPlot pltPY;       // "p-y Curves": one curve per p-y curve of the last block
  TGraphPlot pltDef;      // "Deflection vs Depth": one curve per block
  TGraphPlot pltMom;      // "Moment vs Depth"
  TGraphPlot pltShear;    // "Shear vs Depth"
  TGraphPlot pltSoil;     // "Net Reaction vs Depth"
  TGraphPlot pltLD;       // "Earth Pressure Distribution": total pressure per block
  TGraphPlot pltDMS;      // "Deflection, Moment, Shear vs Depth": three panels and the soil strip
  TGraphPlot PltCombine;  // "Earth Pressure Combined": total, soils and surcharge parts, first block

  // Every graph, in the order of the Graphics menu's graph commands.
  std::vector<TGraphPlot*> All();

  // Copies of the values read, for views that need them without the
  // padding of the graphs.
  TPlotValues Values;

  // Reads a plot data file into the graphs.  The project gives the unit
  // system, the long-term option, the soil layers, the wall length and the
  // free height.  Returns true when the whole file was read.  A file that
  // cannot be opened, a value that is not a number, a count that the rest of
  // the file cannot hold or an early end stops the read; when `errors` is
  // given it then receives "An error occured in running the main program."
  // (the caller shows it; nothing is shown when it is empty).  Whatever was
  // read before the fault stays in the graphs.
  bool ReadPlotFile(const std::filesystem::path& path, const TProgramData& project, const TMessageSink& errors = {});

  // As ReadPlotFile, from text in memory.
  bool ReadPlotText(const std::string& text, const TProgramData& project, const TMessageSink& errors = {});
};

// Message shown when a plot data file cannot be read after a run.
extern const char kPlotReadError[];

}  // namespace ramvex
