// Reading the plot data file into the result graphs.
//
// The file is a sequence of blocks, one per analysed set (a single
// analysis, short- and long-term, or each construction stage):
//   nEP, nEP x (depth, total, soils, surcharge), units,
//   nPY, nPY x (label, n, n x (y, p)),
//   nSets, nNodes, units, nNodes x (depth, deflection, moment, shear, reaction)
// The values are taken as one stream of tokens; the line layout does not
// matter.  US blocks are in inches, pounds and pound-inches; the depth
// graphs show feet, kips and in-kips.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "ProgramData.h"
#include "ResultGraphs.h"
#include "WordRead.h"

namespace ramvex {

const char kPlotReadError[] = "An error occured in running the main program.";

namespace {

constexpr TCurveList P1 = TCurveList::Panel1;

// The token reader's own text for a file that ends too early.
const char kIncomplete[] = "This file either invalid or incomplete.";

// Upper bound of the tokens of a text: runs of non-blank characters (the
// token reader splits on fewer characters, so it never finds more).
long long CountTokens(const std::string& text) {
  long long n = 0;
  bool inToken = false;
  for (char c : text) {
    bool blank = std::isspace(static_cast<unsigned char>(c)) != 0;
    if (!blank && !inToken) ++n;
    inToken = !blank;
  }
  return n;
}

// The token stream with a count of the tokens left, so that a count read
// from a damaged file (2147483647 curves) is refused before anything is
// allocated for it: a count whose records the rest of the file cannot hold
// can only end in the "incomplete" error anyway.
class TPlotTokens {
 public:
  explicit TPlotTokens(const std::string& text)
      : reader_(TWordReader::FromText(text)), total_(CountTokens(text)), left_(total_) {}

  long double Real() {
    Take();
    return reader_.ReadReal();
  }
  int Integer() {
    Take();
    return reader_.ReadInteger();
  }
  // A count of records of `size` tokens each; negative counts read as 0.
  int Count(int n, int size) {
    n = std::max(n, 0);
    Require(static_cast<long long>(n) * size);
    return n;
  }
  void Require(long long tokens) const {
    if (tokens > left_) throw EInOutError(kIncomplete);
  }
  // Curves of a graph are padded to the longest one, so a graph holds
  // curves x points values whatever the file holds.  A real file has at
  // least as many tokens as its longest curve has points for every curve of
  // a graph; a damaged count that would ask for far more is refused.
  void RequireGrid(long long curves, long long points) const {
    if (curves > 0 && points > 0 && curves * points > 4 * total_ + 4096) throw EInOutError(kIncomplete);
  }

 private:
  void Take() {
    if (left_ > 0) --left_;
  }
  TWordReader reader_;
  long long total_;
  long long left_;
};

// Pads every curve of the list to the longest one by repeating its own last
// point, so that every curve can be drawn and exported over the same rows.
void ExtendCurves(TGraphPlot& g, TCurveList list) {
  size_t longest = 0;
  for (const auto& line : g.Lines(list)) longest = std::max(longest, line->Points.size());
  for (int i = 0; i < g.CurveCount(list); ++i) {
    auto& pts = g.Curve(list, i).Points;
    pts.resize(longest, pts.empty() ? TFloatPoint{} : pts.back());
  }
}

// Copies the curves of `from`'s panel 1 (points, names, labels) into a panel
// of the three-panel graph.
void CopyPanel(const TGraphPlot& from, TGraphPlot& to, TCurveList list) {
  to.SetCurveCount(list, from.CurveCount());
  for (int i = 0; i < from.CurveCount(); ++i) {
    const TLine& src = from.Curve(P1, i);
    TLine& dst = to.Curve(list, i);
    dst.Points = src.Points;
    dst.Name = src.Name;
    dst.LabelValue = src.LabelValue;
  }
}

struct TSoilName {
  const char* Name;
  int Code;
};

// Strip name and fill code by soil type; the clays share one fill.
TSoilName SoilName(int type) {
  switch (type) {
    case 1:
    case 2:
    case 3:
      return {" CLAY ", 1};
    case 4:
      return {" SAND ", 7};
    case 5:
      return {" SILT ", 8};
    case 6:
      return {"STRONG ROCK", 9};
    case 7:
      return {"WEAK ROCK", 10};
    default:
      return {nullptr, 0};
  }
}

class TPlotReader {
 public:
  TPlotReader(TResultGraphs& g, const TProgramData& project, TPlotTokens& tokens)
      : g_(g), project_(project), t_(tokens), usProject_(project.UnitSystem == 1) {}

  void Read() {
    ReadFirstBlock();
    for (int k = 2; k <= blocks_; ++k) ReadBlock(k);
    Finish();
  }

  // Keeps the three-panel graph a copy of the graphs it shows, also when a
  // read stops half way.
  void SyncThreePanels() {
    CopyPanel(g_.pltDef, g_.pltDMS, TCurveList::Panel1);
    CopyPanel(g_.pltMom, g_.pltDMS, TCurveList::Panel2);
    CopyPanel(g_.pltShear, g_.pltDMS, TCurveList::Panel3);
  }

 private:
  std::vector<TGraphPlot*> DepthGraphs() { return {&g_.pltDef, &g_.pltMom, &g_.pltShear, &g_.pltSoil}; }

  void ReadFirstBlock() {
    g_.pltLD.SetCurveCount(P1, 1);
    g_.PltCombine.SetCurveCount(P1, 3);
    const int nEP = t_.Count(t_.Integer(), 4);
    g_.PltCombine.SetPointCount(P1, nEP);
    // PltCombine's depths follow the project's unit system, pltLD's the
    // block's; both are feet for a US project run by this program.
    const long double combineDepth = usProject_ ? 12 : 1;
    ReadPressure(0, nEP, [&](int i, long double depth, long double total, long double soils, long double surcharge) {
      g_.PltCombine.Point(P1, 0, i) = {total, depth / combineDepth};
      g_.PltCombine.Point(P1, 1, i) = {soils, depth / combineDepth};
      g_.PltCombine.Point(P1, 2, i) = {surcharge, depth / combineDepth};
    });
    g_.PltCombine.Curve(P1, 0).Name = "Total Earth Pressure";
    g_.PltCombine.Curve(P1, 1).Name = "from Soils ";
    g_.PltCombine.Curve(P1, 2).Name = "from Surcharge Loads";
    g_.Values.FirstBlockPressureCount = nEP;
    ReadUnits(0);
    ReadPYCurves();

    const int nSets = t_.Integer();
    // Every further block needs at least its six counts.
    const long long further = std::max(nSets, 1) - 1LL;
    t_.Require(further * 6);
    blocks_ = static_cast<int>(further + 1);
    for (TGraphPlot* g : DepthGraphs()) g->SetCurveCount(P1, blocks_);

    const int nNodes = t_.Count(t_.Integer(), 5);
    t_.RequireGrid(blocks_, nNodes);
    for (TGraphPlot* g : DepthGraphs()) g->SetPointCount(P1, nNodes);
    t_.Integer();  // the unit code again
    g_.pltDMS.ShowThree = true;
    ReadNodes(0, nNodes);
    BuildSoilLines();
    SyncThreePanels();
  }

  void ReadBlock(int k) {
    const int c = k - 1;
    g_.pltLD.SetCurveCount(P1, std::max(k, g_.pltLD.CurveCount()));
    const int nEP = t_.Count(t_.Integer(), 4);
    ReadPressure(c, nEP, [](int, long double, long double, long double, long double) {});
    ReadUnits(c);
    ReadPYCurves();

    const int nSets = t_.Integer();
    if (nSets > g_.pltDef.CurveCount()) {
      // More sets than the first block announced: the graphs get the extra
      // (empty) curves, but only the announced blocks are read.  A count no
      // file could hold is a damaged file.
      t_.Require(static_cast<long long>(nSets) - g_.pltDef.CurveCount());
      t_.RequireGrid(nSets, g_.pltDef.PointCount());
      for (TGraphPlot* g : DepthGraphs()) g->SetCurveCount(P1, nSets);
    }
    for (TGraphPlot* g : DepthGraphs()) {
      if (project_.LongTermAnalysis) {
        g->Curve(P1, 0).Name = "Short-Term";
        if (g->CurveCount() > 1) g->Curve(P1, 1).Name = "Long-Term";
      } else {
        g->Curve(P1, 0).Name = "Stage: 1";
        g->Curve(P1, c).Name = "Stage: " + std::to_string(k);
      }
    }
    const int nNodes = t_.Count(t_.Integer(), 5);
    t_.RequireGrid(g_.pltDef.CurveCount(), nNodes);
    t_.Integer();  // the unit code again
    for (TGraphPlot* g : DepthGraphs()) g->Curve(P1, c).Points.assign(static_cast<size_t>(nNodes), TFloatPoint{});
    ReadNodes(c, nNodes);
    SyncThreePanels();
  }

  template <class Extra>
  void ReadPressure(int curve, int nEP, Extra extra) {
    t_.RequireGrid(g_.pltLD.CurveCount(), nEP);
    auto& pts = g_.pltLD.Curve(P1, curve).Points;
    pts.assign(static_cast<size_t>(nEP), TFloatPoint{});
    for (int i = 0; i < nEP; ++i) {
      const long double depth = t_.Real();
      const long double total = t_.Real();
      const long double soils = t_.Real();
      const long double surcharge = t_.Real();
      pts[static_cast<size_t>(i)] = {total, depth};
      extra(i, depth, total, soils, surcharge);
    }
  }

  // The block's unit code; a US block's earth-pressure depths become feet.
  void ReadUnits(int curve) {
    units_ = t_.Integer();
    auto& pts = g_.pltLD.Curve(P1, curve).Points;
    if (units_ == 1) {
      for (TFloatPoint& p : pts) p.Y /= 12;
    }
    std::vector<TPressureValues> copy;
    copy.reserve(pts.size());
    for (const TFloatPoint& p : pts) copy.push_back({p.Y, p.X});
    g_.Values.EarthPressure.push_back(std::move(copy));
    g_.Values.Units = units_;
  }

  void ReadPYCurves() {
    const int nPY = t_.Count(t_.Integer(), 2);
    g_.pltPY.SetCurveCount(P1, nPY);
    for (int c = 0; c < nPY; ++c) {
      TLine& line = g_.pltPY.Curve(P1, c);
      line.LabelValue = t_.Real();
      const int n = t_.Count(t_.Integer(), 2);
      t_.RequireGrid(nPY, n);
      line.Points.assign(static_cast<size_t>(n), TFloatPoint{});
      for (TFloatPoint& p : line.Points) {
        p.X = t_.Real();
        p.Y = t_.Real();
      }
    }
    ExtendCurves(g_.pltPY, P1);
  }

  void ReadNodes(int curve, int nNodes) {
    const bool us = units_ == 1;
    std::vector<TNodeValues> copy(static_cast<size_t>(nNodes));
    for (int i = 0; i < nNodes; ++i) {
      TNodeValues& v = copy[static_cast<size_t>(i)];
      v.Depth = t_.Real();
      v.Deflection = t_.Real();
      v.Moment = t_.Real();
      v.Shear = t_.Real();
      v.Reaction = t_.Real();
      if (us) {
        v.Depth /= 12;
        v.Moment /= 1000;
        v.Shear /= 1000;
      }
      g_.pltDef.Point(P1, curve, i) = {v.Deflection, v.Depth};
      g_.pltMom.Point(P1, curve, i) = {v.Moment, v.Depth};
      g_.pltShear.Point(P1, curve, i) = {v.Shear, v.Depth};
      g_.pltSoil.Point(P1, curve, i) = {v.Reaction, v.Depth};
    }
    g_.Values.Nodes.push_back(std::move(copy));
  }

  void BuildSoilLines() {
    const TGridTable& soil = *project_.Tables().NewSoil;
    const int layers = soil.RowCount();
    TGraphPlot& dms = g_.pltDMS;
    dms.SetCurveCount(TCurveList::Layers, layers + 2);
    for (int r = 0; r < layers; ++r) {
      TLine& line = dms.Curve(TCurveList::Layers, r);
      const TSoilName kind = SoilName(soil.Int(0, r));
      // The table holds layer depths in feet or metres already.
      line.Points.assign(1, TFloatPoint{static_cast<long double>(kind.Code), soil.Float(1, r)});
      line.Name = kind.Name ? kind.Name : "LAYER " + std::to_string(r + 1);
    }
    dms.WallLineCount = layers;
    const long double foot = usProject_ ? 12 : 1;
    TLine& wall = dms.Curve(TCurveList::Layers, layers);
    wall.Points.assign(1, TFloatPoint{0, project_.IncrementCount * project_.IncrementLength / foot});
    wall.Name = "PILE";
    TLine& free = dms.Curve(TCurveList::Layers, layers + 1);
    free.Points.assign(1, TFloatPoint{0, project_.FreeHeight / foot});
    free.Name = "PILE";
  }

  void Finish() {
    ExtendCurves(g_.pltLD, P1);
    ExtendCurves(g_.PltCombine, P1);
    for (TGraphPlot* g : DepthGraphs()) ExtendCurves(*g, P1);
    SyncThreePanels();

    if (units_ == 1 || units_ == 2) {
      const bool us = units_ == 1;
      for (TGraphPlot* g : {&g_.pltDef, &g_.pltMom, &g_.pltShear, &g_.pltSoil, &g_.pltLD}) {
        g->YCaption = us ? "Depth (ft)" : "Depth (m)";
      }
      g_.pltMom.XCaption = us ? "Bending Moment (in-kips)" : "Bending Moment (m-kN)";
      g_.pltShear.XCaption = us ? "Shear (kips)" : "Shear (kN)";
    }
    TGraphPlot& dms = g_.pltDMS;
    dms.XCaption = g_.pltDef.XCaption;
    dms.YCaption = g_.pltDef.YCaption;
    dms.XUnits = g_.pltDef.XUnits;
    dms.XCaption2 = g_.pltMom.XCaption;
    dms.YCaption2 = g_.pltMom.YCaption;
    dms.XUnits2 = g_.pltMom.XUnits;
    dms.XCaption3 = g_.pltShear.XCaption;
    dms.YCaption3 = g_.pltShear.YCaption;
    dms.XUnits3 = g_.pltShear.XUnits;
    for (TGraphPlot* g : g_.All()) g->SetUnits(units_);
  }

  TResultGraphs& g_;
  const TProgramData& project_;
  TPlotTokens& t_;
  const bool usProject_;
  int units_ = 0;
  int blocks_ = 1;
};

}  // namespace

bool TResultGraphs::ReadPlotText(const std::string& text, const TProgramData& project, const TMessageSink& errors) {
  for (TGraphPlot* g : All()) {
    for (TCurveList list : {TCurveList::Panel1, TCurveList::Layers, TCurveList::Panel2, TCurveList::Panel3}) {
      g->SetPointCount(list, 0);
    }
  }
  // Legend names belong to the file they were read from: a single analysis
  // read after a staged one must not show "Stage: 1".
  for (TGraphPlot* g : {&pltDef, &pltMom, &pltShear, &pltSoil, &pltDMS}) {
    for (TCurveList list : {TCurveList::Panel1, TCurveList::Panel2, TCurveList::Panel3}) {
      for (int i = 0; i < g->CurveCount(list); ++i) g->Curve(list, i).Name.clear();
    }
  }
  Values.Clear();

  TPlotTokens tokens(text);
  TPlotReader reader(*this, project, tokens);
  try {
    reader.Read();
    return true;
  } catch (const EInOutError&) {
    reader.SyncThreePanels();
    if (errors) errors(kPlotReadError);
    return false;
  }
}

bool TResultGraphs::ReadPlotFile(const std::filesystem::path& path, const TProgramData& project,
                                 const TMessageSink& errors) {
  std::ifstream in(path, std::ios::binary);
  std::string text;
  if (in) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    // Cannot be opened or read: the same outcome as a damaged file.
    for (TGraphPlot* g : All()) {
      for (TCurveList list : {TCurveList::Panel1, TCurveList::Layers, TCurveList::Panel2, TCurveList::Panel3}) {
        g->SetPointCount(list, 0);
      }
    }
    Values.Clear();
    if (errors) errors(kPlotReadError);
    return false;
  }
  return ReadPlotText(text, project, errors);
}

}  // namespace ramvex
