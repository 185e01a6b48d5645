#include "PlotView.h"

#include <algorithm>
#include <cmath>

namespace ramvex {

namespace {

// Pixel positions far outside the target are held at this distance, so
// that a zoomed-in curve never overflows the integer coordinates of the
// painter.
constexpr double kFarPixels = 1 << 24;

double Clamp(double v) {
  if (std::isnan(v)) return v;
  return std::clamp(v, -kFarPixels, kFarPixels);
}

}  // namespace

bool TooSmall(const TDrawDevice& d) { return d.Client.Width() < d.Dx || d.Client.Height() < d.Dy; }

TGraphLayout LayoutGraph(const TGraphPlot& g, const TDrawDevice& d) {
  const int h = d.H;
  const int dx = d.Dx;
  const int dy = d.Dy;
  const TPixelRect& c = d.Client;
  TGraphLayout l;
  TPixelRect& p = l.Plot;
  const bool hasTitle = !g.UserTitle.empty();
  if (d.Target == TDrawTarget::Printer) {
    // The page has its margins already; the plot runs to their edges.
    p.Left = c.Left + 2 * h + dx / 8 + h / 8;
    p.Right = c.Right;
    if (g.XOnTop) {
      p.Top = c.Top + 2 * h + dy / 8 + h / 8;
      p.Bottom = c.Bottom;
    } else {
      p.Top = c.Top;
      p.Bottom = c.Bottom - 2 * h - dy / 8 - h / 8;
    }
    if (hasTitle) {
      if (g.TitleOnTop) {
        p.Top += dy / 4;
      } else {
        p.Bottom -= dy / 2;
      }
    }
  } else {
    p.Left = c.Left + 2 * h + dx / 8 + h / 8;
    p.Right = c.Left + c.Width() - dx / 4 - h / 2;
    if (g.XOnTop) {
      p.Top = c.Top + 2 * h + dy / 8 + h / 8;
      p.Bottom = c.Top + c.Height() - dy / 4 - h / 2;
    } else {
      p.Top = c.Top + h / 2 + dy / 4;
      p.Bottom = c.Top + c.Height() - 2 * h - dy / 8 - h / 8;
    }
    if (hasTitle) {
      if (g.TitleOnTop) {
        p.Top += h / 8 + h;
      } else {
        p.Bottom -= h;
      }
    }
  }
  if (g.ShowLayers) {
    // A saved bitmap is usually small; its strip takes half an inch.
    const int strip = d.Target == TDrawTarget::Bitmap ? dx / 2 : dx;
    const int oldRight = p.Right;
    p.Right -= strip;
    l.HasStrip = true;
    l.Strip = {p.Right + dx / 5, p.Top, oldRight, p.Bottom};
  }
  if (g.ShowThree) {
    const int gap = 2 * h + dx / 4;
    const int w = (p.Width() - 4 * h - dx / 2) / 3;
    l.PanelCount = 3;
    l.Panels[0] = {p.Left, p.Top, p.Left + w, p.Bottom};
    l.Panels[1] = {l.Panels[0].Right + gap, p.Top, l.Panels[0].Right + gap + w, p.Bottom};
    l.Panels[2] = {l.Panels[1].Right + gap, p.Top, p.Right, p.Bottom};
  } else {
    l.PanelCount = 1;
    l.Panels[0] = p;
  }
  return l;
}

TGraphView NewGraphView(const TGraphPlot& graph) {
  TGraphView v;
  v.Full = ComputeScales(graph);
  v.Scales = v.Full;
  return v;
}

void IncludeCurves(TGraphPlot& graph) {
  for (int i = 0; i < graph.CurveCount(); ++i) {
    graph.Curve(TCurveList::Panel1, i).Included = !graph.LimitTo20 || i < 20;
  }
}

TAxisMap::TAxisMap(int from, int length, const TScale& scale, bool reversed)
    : from_(from),
      min_(static_cast<double>(scale.Min)),
      factor_(length / static_cast<double>(scale.Max - scale.Min)),
      reversed_(reversed) {}

double TAxisMap::operator()(long double value) const {
  const double c = Clamp(std::round((static_cast<double>(value) - min_) * factor_));
  return Clamp(reversed_ ? from_ - c : from_ + c);
}

TAxisMap XMap(const TPixelRect& panel, const TScale& x) { return TAxisMap(panel.Left, panel.Width(), x, false); }

TAxisMap YMap(const TPixelRect& panel, const TScale& y, bool xOnTop) {
  return xOnTop ? TAxisMap(panel.Top, panel.Height(), y, false) : TAxisMap(panel.Bottom, panel.Height(), y, true);
}

double MapX(const TPixelRect& panel, const TScale& x, long double value) { return XMap(panel, x)(value); }

double MapY(const TPixelRect& panel, const TScale& y, bool xOnTop, long double value) {
  return YMap(panel, y, xOnTop)(value);
}

TDataPoint PixelToData(const TPixelRect& panel, const TPanelScale& s, bool xOnTop, QPoint p) {
  const int x = std::clamp(p.x(), panel.Left, panel.Right);
  const int y = std::clamp(p.y(), panel.Top, panel.Bottom);
  const long double w = std::max(1, panel.Width());
  const long double h = std::max(1, panel.Height());
  TDataPoint d;
  d.X = s.X.Min + (x - panel.Left) / w * s.X.Width();
  const long double c = xOnTop ? y - panel.Top : panel.Bottom - y;
  d.Y = s.Y.Min + c / h * s.Y.Width();
  return d;
}

int PanelAt(const TGraphLayout& layout, QPoint p) {
  int best = 0;
  int bestDistance = -1;
  for (int i = 0; i < layout.PanelCount; ++i) {
    const TPixelRect& r = layout.Panels[static_cast<size_t>(i)];
    const int d = p.x() < r.Left ? r.Left - p.x() : p.x() > r.Right ? p.x() - r.Right : 0;
    if (bestDistance < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

std::string ReadoutTitle(const std::string& caption, long double x, long double y) {
  return caption + " X: " + GeneralText(x, 5) + " Y: " + GeneralText(y, 5);
}

TScale ZoomRange(const TScale& full, long double a, long double b) {
  TScale r{std::min(a, b), std::max(a, b)};
  const long double least = full.Width() / 20;
  if (r.Width() < least) {
    const long double centre = (r.Min + r.Max) / 2;
    r = {centre - least / 2, centre + least / 2};
    if (r.Min < full.Min) r = {full.Min, full.Min + least};
    if (r.Max > full.Max) r = {full.Max - least, full.Max};
  }
  return r;
}

TScale ZoomOutRange(const TScale& current, const TScale& full, long double clicked) {
  const long double half = std::min(current.Width(), full.Width() / 2);
  const long double c = std::clamp(clicked, full.Min + half, full.Max - half);
  return {c - half, c + half};
}

}  // namespace ramvex
