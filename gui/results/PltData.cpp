#include "PltData.h"

#include <algorithm>
#include <cmath>

#include "NumberText.h"

namespace ramvex {

namespace {

// Quotients of decimal values by powers of ten are rarely whole in binary
// (0.7 / 0.1 = 6.9999...); within this relative distance a quotient counts
// as the whole number it is meant to be, so a scale end of 0.7 is not
// rounded out to 0.8.
constexpr long double kWholeTolerance = 1e-9L;

long double SnapWhole(long double q) {
  long double r = std::round(q);
  return std::fabs(q - r) <= kWholeTolerance * std::max(1.0L, std::fabs(r)) ? r : q;
}

// Away from zero to a whole multiple of d; 0 stays 0.
long double RoundAway(long double v, long double d) {
  long double q = SnapWhole(v / d);
  return (v > 0 ? std::ceil(q) : std::floor(q)) * d;
}

std::string ReplaceAll(std::string s, const std::string& token, const std::string& by) {
  for (size_t at = s.find(token); at != std::string::npos; at = s.find(token, at + by.size())) {
    s.replace(at, token.size(), by);
  }
  return s;
}

// The first token of the group found is replaced wherever it occurs; the
// longer tokens come first so that "F2" is not read as "F".
std::string ReplaceFirstOf(const std::string& s, const std::array<const char*, 3>& tokens,
                           const std::array<const char*, 3>& names) {
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (s.find(tokens[i]) != std::string::npos) return ReplaceAll(s, tokens[i], names[i]);
  }
  return s;
}

}  // namespace

TLine::TLine(TGraphPlot* graph, int pointCount, long double labelValue)
    : Points(static_cast<size_t>(std::max(0, pointCount))), LabelValue(labelValue), graph_(graph) {}

std::string TLine::LegendText() const {
  if (!Name.empty()) return Name;
  return (graph_ ? graph_->CurveName : std::string()) + FormatGeneral(LabelValue, 15);
}

TCurveList PanelList(int panel) {
  switch (panel) {
    case 1:
      return TCurveList::Panel2;
    case 2:
      return TCurveList::Panel3;
    default:
      return TCurveList::Panel1;
  }
}

void TGraphPlot::SetUnits(int system) { units_ = std::clamp(system, 1, 3); }

void TGraphPlot::SetCurveCount(TCurveList list, int count) {
  TLineList& lines = lists_[Index(list)];
  const size_t n = static_cast<size_t>(std::max(0, count));
  if (lines.size() > n) lines.resize(n);
  while (lines.size() < n) {
    // A new curve starts with as many points as the first curve of panel 1
    // has, so a list filled point by point stays rectangular.  Panel 1
    // numbers its new curves after the curves before them; the other lists
    // number theirs within their own list.
    const TLineList& first = lists_[Index(TCurveList::Panel1)];
    int points = first.empty() ? 0 : first.front()->PointCount();
    lines.push_back(std::make_unique<TLine>(this, points, static_cast<long double>(lines.size() + 1)));
  }
}

void TGraphPlot::SetPointCount(TCurveList list, int count) {
  const size_t n = static_cast<size_t>(std::max(0, count));
  for (auto& line : lists_[Index(list)]) line->Points.resize(n);
}

int TGraphPlot::CurveCount(TCurveList list) const { return static_cast<int>(lists_[Index(list)].size()); }

int TGraphPlot::PointCount(TCurveList list) const {
  const TLineList& lines = lists_[Index(list)];
  return lines.empty() ? 0 : lines.front()->PointCount();
}

const std::string& TGraphPlot::XCaptionOf(int panel) const {
  return panel == 1 ? XCaption2 : panel == 2 ? XCaption3 : XCaption;
}
const std::string& TGraphPlot::YCaptionOf(int panel) const {
  return panel == 1 ? YCaption2 : panel == 2 ? YCaption3 : YCaption;
}
const std::string& TGraphPlot::XUnitsOf(int panel) const { return panel == 1 ? XUnits2 : panel == 2 ? XUnits3 : XUnits; }
const std::string& TGraphPlot::YUnitsOf(int panel) const { return panel == 1 ? YUnits2 : panel == 2 ? YUnits3 : YUnits; }

std::string UnitLabel(const std::string& unitString, int system) {
  system = std::clamp(system, 1, 3);
  if (system == 3) return unitString;
  const bool us = system == 1;
  std::string s = ReplaceFirstOf(unitString, {"F2", "F1", "F"},
                                 us ? std::array<const char*, 3>{"tons", "kips", "lbs"}
                                    : std::array<const char*, 3>{"kN", "kN", "kN"});
  return ReplaceFirstOf(s, {"L2", "L1", "L"},
                        us ? std::array<const char*, 3>{"ft", "in", "in"} : std::array<const char*, 3>{"m", "mm", "m"});
}

std::string AxisCaption(const std::string& caption, const std::string& unitString, int system) {
  if (unitString.empty()) return caption;
  return caption + " (" + UnitLabel(unitString, system) + ")";
}

TScale RoundScale(long double min, long double max) {
  if (!(max > min)) {  // equal, or not numbers at all
    if (!std::isfinite(min) || !std::isfinite(max)) min = max = 0;
    max += 0.01L;
    min -= 0.01L;
  }
  const long double a = std::log10(max - min);
  if (!std::isfinite(a)) return {min, max};
  const long double fa = std::floor(a);
  long double d = std::pow(10.0L, fa);
  if (a - fa < std::log10(3.0L)) d /= 10;
  return {RoundAway(min, d), RoundAway(max, d)};
}

TPanelScale ComputeScale(const TLineList& lines) {
  long double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  for (const auto& line : lines) {
    for (const TFloatPoint& p : line->Points) {
      // A value that is not finite would make the whole scale unusable;
      // such a point is left out of the extent (and clipped when drawn).
      if (std::isfinite(p.X)) {
        x0 = std::min(x0, p.X);
        x1 = std::max(x1, p.X);
      }
      if (std::isfinite(p.Y)) {
        y0 = std::min(y0, p.Y);
        y1 = std::max(y1, p.Y);
      }
    }
  }
  return {RoundScale(x0, x1), RoundScale(y0, y1)};
}

std::array<TPanelScale, 3> ComputeScales(const TGraphPlot& graph) {
  return {ComputeScale(graph.Lines(TCurveList::Panel1)), ComputeScale(graph.Lines(TCurveList::Panel2)),
          ComputeScale(graph.Lines(TCurveList::Panel3))};
}

long double LabelStep(long double width, int intervals) {
  if (intervals <= 0 || !(width > 0) || !std::isfinite(width)) return 0;
  const long double raw = width / intervals;
  const long double g = std::pow(10.0L, std::floor(std::log10(raw)));
  const int t = static_cast<int>(SnapWhole(raw / g));
  if (t < 2) return g;
  if (t <= 4) return 2 * g;
  if (t <= 8) return 5 * g;
  return 10 * g;
}

std::string GeneralText(long double value, int digits, long double step) {
  if (step > 0 && std::fabs(value) < step * 1e-6L) value = 0;
  return FormatGeneral(value, digits);
}

const std::array<unsigned, 17> CurveColours = {
    0x000000,  // black
    0x0000FF,  // blue
    0xFF0000,  // red
    0x008000,  // green
    0x800080,  // purple
    0x800000,  // maroon
    0x000080,  // navy
    0xFF00FF,  // fuchsia
    0x808000,  // olive
    0x008080,  // teal
    0x808080,  // gray
    0x00FF00,  // lime
    0x808080,  // gray
    0xC0C0C0,  // silver
    0xC0C0C0,  // silver
    0xFFFF00,  // yellow
    0x00FFFF,  // aqua
};

unsigned CurveColour(int position) {
  int p = position % 17;
  if (p < 0) p += 17;
  return CurveColours[static_cast<size_t>(p)];
}

}  // namespace ramvex
