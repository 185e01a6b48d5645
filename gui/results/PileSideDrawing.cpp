#include "PileSideDrawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "NumberText.h"
#include "ProgramData.h"
#include "Units.h"

namespace ramvex {

namespace {

// Soil layer depths are entered in feet in the US system and held in inches
// everywhere else in the project.
constexpr double kInchesPerFoot = 12;
constexpr double kMetresPerInch = 0.0254;

// The wall drawn as a plate a fortieth of its free height thick: thick enough
// to read at any scale, thin enough to look like a sheet pile.
constexpr double kWallThicknessPerHeight = 1.0 / 40;
// World window margin around the wall, and the wall top offset as a fraction
// of the wall length.
constexpr double kWorldMargin = 1.05;
constexpr double kTopOffset = 0.1;

// Places across the picture, as fractions of its width.  The wall axis is
// always at the middle whatever the world window, so the marks are placed by
// fraction too.
constexpr double kAxis = 0.50;
constexpr double kSlopeEnd = 0.25;
constexpr double kDeflectionTail = 0.52;
constexpr double kArrowHead = 0.01;
constexpr double kCurveShaftStart = 0.45;
constexpr double kCurveTailStart = 0.43;
constexpr double kCurveTip = 0.38;
constexpr double kCurveHeadEnd = 0.40;
constexpr double kSpringEnd = 0.60;
// The top view of the piles sits on the excavation side, clear of the marks
// at the wall and of the layer texts at the left edge.
constexpr double kTopViewAxis = 0.80;
// First pile of the top view: 70 inches below the world origin.
constexpr double kTopViewDepthInches = 70;

// Screen pixel lengths of the fixed-size details: the hatch strokes on a
// level backfill and the offset of the view labels below the top edge.
constexpr int kHatchStart = 100;
constexpr int kHatchStep = 20;
constexpr int kHatchLength = 15;
constexpr int kHatchDrop = 5;
constexpr int kHatchCount = 5;
constexpr int kLabelDrop = 5;
constexpr int kTopViewPiles = 5;

// Pixel coordinates beyond this are taken as off the picture: a node number
// or width far out of range must not overflow the integer geometry.
constexpr double kPixelLimit = 1e6;

bool Fits(double v) { return std::isfinite(v) && std::abs(v) < kPixelLimit; }
int Round(double v) { return static_cast<int>(std::lround(v)); }

QString Number(long double v) { return QString::fromStdString(FormatGeneral(v, 15)); }

// Maps world coordinates into a frame through the fitted window.
class TMapping {
 public:
  TMapping(const TWorldWindow& fitted, const QRect& frame) : w_(fitted), f_(frame) {}

  double X(double x) const { return f_.width() * (x - w_.XMin) / (w_.XMax - w_.XMin); }
  double Y(double y) const { return f_.height() * (y - w_.YMin) / (w_.YMax - w_.YMin); }
  // Pixel column at a fraction of the width.
  int Across(double fraction) const { return f_.left() + Round(f_.width() * fraction); }
  // Pixel row of a world depth, none when it lies outside the frame.
  std::optional<int> Row(double y) const {
    const double v = Y(y);
    if (!std::isfinite(v) || v < 0 || v > f_.height()) return std::nullopt;
    return f_.top() + Round(v);
  }
  std::optional<QPoint> Point(double x, double y) const {
    const double px = X(x);
    const double py = Y(y);
    if (!Fits(px) || !Fits(py)) return std::nullopt;
    return QPoint(f_.left() + Round(px), f_.top() + Round(py));
  }
  double PixelsPerUnit() const { return f_.width() / (w_.XMax - w_.XMin); }

 private:
  TWorldWindow w_;
  QRect f_;
};

// The retained ground at the wall top, with the backfill slope rising away
// from the wall or, on level ground, the hatch strokes of a soil surface.
void AddRetainedGround(const TSideViewModel& model, const TMapping& map, const QRect& frame, double scale, int y,
                       TSideViewPicture& pic) {
  const int axis = map.Across(kAxis);
  pic.LayerLines.push_back({{frame.left(), y}, {axis, y}, TSideViewPen::Line});
  if (model.BackfillSlope > 0) {
    // The rise is cut at the top edge, so a steep slope stays on the picture.
    const double run = frame.width() * (kAxis - kSlopeEnd);
    const double room = y - frame.top();
    QPointF end;
    if (model.BackfillSlope >= 90) {
      end = QPointF(axis, frame.top());
    } else {
      const double rise = run * std::tan(model.BackfillSlope * std::numbers::pi / 180);
      if (rise <= room) {
        end = QPointF(map.Across(kSlopeEnd), y - rise);
      } else {
        end = QPointF(axis - run * room / rise, frame.top());
      }
    }
    pic.LayerLines.push_back({{axis, y}, {Round(end.x()), Round(end.y())}, TSideViewPen::Line});
  } else if (model.BackfillSlope == 0) {
    for (int k = 1; k <= kHatchCount; ++k) {
      const int x0 = frame.left() + Round((kHatchStart + kHatchStep * k) * scale);
      const int x1 = frame.left() + Round((kHatchStart + kHatchLength + kHatchStep * k) * scale);
      pic.LayerLines.push_back({{x0, y}, {x1, y + Round(kHatchDrop * scale)}, TSideViewPen::Line});
    }
  }
}

void AddLayers(const TSideViewModel& model, const TMapping& map, const QRect& frame, double scale, int lineHeight,
               TSideViewPicture& pic) {
  for (size_t i = 0; i < model.Layers.size(); ++i) {
    const TSoilBand& band = model.Layers[i];
    if (i == 0) {
      if (auto y = map.Row(model.Offset)) AddRetainedGround(model, map, frame, scale, *y, pic);
    }
    if (auto y = map.Row(band.Bottom)) {
      const int end = band.ReachesExcavation ? frame.left() + frame.width() : map.Across(kAxis);
      pic.LayerLines.push_back({{frame.left(), *y}, {end, *y}, TSideViewPen::Line});
    }
    if (auto y = map.Row(band.Top)) {
      if (!band.Name.isEmpty()) pic.LayerTexts.push_back({{frame.left(), *y}, band.Name});
      if (!band.Properties.isEmpty()) pic.LayerTexts.push_back({{frame.left(), *y + lineHeight}, band.Properties});
    }
  }
}

void AddMarks(const TSideViewModel& model, const TMapping& map, TSideViewPicture& pic) {
  const int head = Round(pic.Frame.width() * kArrowHead);
  const int axis = map.Across(kAxis);
  for (double depth : model.DeflectionMarks) {
    auto y = map.Row(depth);
    if (!y) continue;
    const int tail = map.Across(kDeflectionTail);
    pic.Marks.push_back({{axis, *y}, {tail, *y}, TSideViewPen::Mark});
    pic.Marks.push_back({{axis, *y}, {tail, *y + head}, TSideViewPen::Mark});
    pic.Marks.push_back({{axis, *y}, {tail, *y - head}, TSideViewPen::Mark});
  }
  for (double depth : model.PYCurveMarks) {
    auto y = map.Row(depth);
    if (!y) continue;
    const int tip = map.Across(kCurveTip);
    const int headEnd = map.Across(kCurveHeadEnd);
    pic.Marks.push_back({{axis, *y}, {map.Across(kCurveShaftStart), *y}, TSideViewPen::Mark});
    pic.Marks.push_back({{map.Across(kCurveTailStart), *y}, {tip, *y}, TSideViewPen::Mark});
    pic.Marks.push_back({{tip, *y}, {headEnd, *y + head}, TSideViewPen::Mark});
    pic.Marks.push_back({{tip, *y}, {headEnd, *y - head}, TSideViewPen::Mark});
  }
  for (double depth : model.SpringMarks) {
    auto y = map.Row(depth);
    if (!y) continue;
    pic.Marks.push_back({{axis, *y}, {map.Across(kSpringEnd), *y}, TSideViewPen::Spring});
  }
}

// Five piles seen from above, spaced twice the width for active pressure
// and drawn with the width for p-y resistance as radius: the drawing is at
// twice the scale of the elevation, so pile size and spacing read clearly.
void AddTopView(const TSideViewModel& model, const TMapping& map, double scale, TSideViewPicture& pic) {
  if (!(model.ActiveWidth > 0 && model.PYWidth > 0)) return;
  const QRect& f = pic.Frame;
  const double radius = model.PYWidth * map.PixelsPerUnit();
  if (!Fits(radius)) return;
  const int r = Round(radius);
  const int cx = map.Across(kTopViewAxis);
  for (int k = 0; k < kTopViewPiles; ++k) {
    const double cy = map.Y(model.TopViewY + 2 * model.ActiveWidth * k);
    if (!Fits(cy)) continue;
    const QPoint centre(cx, f.top() + Round(cy));
    const QRect box(centre.x() - r, centre.y() - r, 2 * r + 1, 2 * r + 1);
    if (!box.intersects(f)) continue;
    pic.Circles.push_back({centre, r});
  }
  const int labelY = f.top() + Round(kLabelDrop * scale);
  pic.Labels.push_back({{cx - Round(0.1 * 2 * r), labelY}, QStringLiteral("top view")});
  pic.Labels.push_back({{map.Across(kAxis), labelY}, QStringLiteral("side view")});
}

}  // namespace

bool TWorldWindow::IsEmpty() const {
  const double w = XMax - XMin;
  const double h = YMax - YMin;
  return !(std::isfinite(w) && std::isfinite(h) && w > 0 && h > 0);
}

bool LayersShown(const TProgramData& p) {
  int earthPressure = 0;
  if (p.UserEarthPressure) {
    earthPressure = 1;
  } else if (p.GeneratePYCurves || p.GeneratedEarthPressure) {
    earthPressure = p.EarthPressureMode;
  }
  const int py = p.GeneratePYCurves ? 2 : (p.ApplyExternalPYCurves ? 1 : 0);
  // Both generated distributions, triangular and trapezoidal, come from the
  // soil layers.
  return earthPressure >= 2 || py == 2;
}

QString SoilName(int type) {
  switch (type) {
    case kSoftClay: return QStringLiteral("Soft clay");
    case kStiffClayWater: return QStringLiteral("Stiff clay w/free water");
    case kStiffClayDry: return QStringLiteral("Stiff clay w/o free water");
    case kSand: return QStringLiteral("Sand");
    case kSilt: return QStringLiteral("Silt");
    case kStrongRock: return QStringLiteral("Rock");
    case kWeakRock: return QStringLiteral("Weak Rock");
    default: return {};
  }
}

QString SoilProperties(int type, const TGridTable* parameters) {
  // The second row of a layer's parameter table holds the values at its
  // bottom.
  constexpr int kBottom = 1;
  if (!parameters || parameters->RowCount() <= kBottom) return {};
  auto value = [&](int column) -> std::optional<QString> {
    if (column >= parameters->ColumnCount()) return std::nullopt;
    try {
      return Number(parameters->Float(column, kBottom));
    } catch (const EInvalidCast&) {
      return std::nullopt;
    }
  };
  // Every template holds the unit weight first and the strength next; silt
  // adds its cohesion after the friction angle.
  const auto gamma = value(0);
  const auto second = value(1);
  if (!gamma || !second) return {};
  const QString tail = QStringLiteral("; gamma= ") + *gamma;
  switch (type) {
    case kSoftClay:
    case kStiffClayWater:
    case kStiffClayDry: return QStringLiteral("c= ") + *second + tail;
    case kSand: return QStringLiteral("\u00f8= ") + *second + tail;
    case kSilt: {
      const auto cohesion = value(2);
      if (!cohesion) return {};
      return QStringLiteral("\u00f8= ") + *second + QStringLiteral("; c= ") + *cohesion + tail;
    }
    case kStrongRock:
    case kWeakRock: return QStringLiteral("compressive strength= ") + *second + tail;
    default: return {};
  }
}

TSideViewModel BuildSideView(const TProgramData& project) {
  TSideViewModel m;
  const TProjectTables& t = project.Tables();
  const double h = static_cast<double>(project.IncrementLength);
  const double length = project.IncrementCount * h;
  const double o = kTopOffset * length;
  const double height = static_cast<double>(project.FreeHeight);
  m.Offset = o;
  m.FreeHeight = height;
  m.BackfillSlope = static_cast<double>(project.BackfillSlope);
  m.ActiveWidth = static_cast<double>(project.ActiveWidth);
  m.PYWidth = static_cast<double>(project.PYWidth);
  m.TopViewY = project.UnitSystem == kSIUnits ? kTopViewDepthInches * kMetresPerInch : kTopViewDepthInches;

  if (t.PileSect && t.PileSect->RowCount() > 0) {
    const double a = kWallThicknessPerHeight * height;
    m.Walls.push_back({-a, o, a, o + length});
    m.World = {std::min(0.0, -a) * kWorldMargin, std::max(0.0, a) * kWorldMargin, 0, (o + length) * kWorldMargin};
  }

  m.ShowLayers = LayersShown(project);
  if (m.ShowLayers && t.NewSoil) {
    const TGridTable& soil = *t.NewSoil;
    const double toBase = project.UnitSystem == kEnglishUnits ? kInchesPerFoot : 1;
    double top = 0;
    for (int i = 0; i < soil.RowCount(); ++i) {
      TSoilBand band;
      band.Type = soil.Int(0, i);
      const double bottom = static_cast<double>(soil.Float(1, i)) * toBase;
      band.Top = top + o;
      band.Bottom = bottom + o;
      band.ReachesExcavation = bottom >= height;
      band.Name = SoilName(band.Type);
      band.Properties = SoilProperties(band.Type, soil.Nested(2, i));
      m.Layers.push_back(band);
      top = bottom;
    }
  }

  auto node = [&](int n) { return n * h + o; };
  if (project.ApplyRestraints && t.SoilLayer) {
    for (int r = 0; r < t.SoilLayer->RowCount(); ++r) m.DeflectionMarks.push_back(node(t.SoilLayer->Int(1, r)));
  }
  if (project.ApplyExternalPYCurves && t.PYCurves2) {
    for (int r = 0; r < t.PYCurves2->RowCount(); ++r) m.PYCurveMarks.push_back(node(t.PYCurves2->Int(0, r)));
  }
  if (project.ApplySprings && t.SoilStrength) {
    // Springs below the excavation act together with the soil resistance
    // and are not marked; those above it are the wall's only side support.
    for (int r = 0; r < t.SoilStrength->RowCount(); ++r) {
      const double y = node(t.SoilStrength->Int(1, r));
      if (y < o + height) m.SpringMarks.push_back(y);
    }
  }
  return m;
}

TWorldWindow FitWorldWindow(const TWorldWindow& world, int width, int height) {
  if (world.IsEmpty() || width <= 0 || height <= 0) return world;
  TWorldWindow fitted = world;
  const double r = (static_cast<double>(width) / height) / ((world.XMax - world.XMin) / (world.YMax - world.YMin));
  if (r >= 1) {
    fitted.XMin *= r;
    fitted.XMax *= r;
  } else {
    fitted.YMin /= r;
    fitted.YMax /= r;
  }
  return fitted;
}

TSideViewPicture LayoutSideView(const TSideViewModel& model, const QRect& frame, double pixelScale,
                                int lineHeight) {
  TSideViewPicture pic;
  pic.Frame = frame;
  pic.Fitted = FitWorldWindow(model.World, frame.width(), frame.height());
  if (model.World.IsEmpty() || frame.width() <= 0 || frame.height() <= 0 || pic.Fitted.IsEmpty()) return pic;
  pic.Empty = false;
  const TMapping map(pic.Fitted, frame);

  if (model.ShowLayers) AddLayers(model, map, frame, pixelScale, lineHeight, pic);

  for (const TWallOutline& w : model.Walls) {
    const auto a = map.Point(w.XMin, w.YMin);
    const auto b = map.Point(w.XMax, w.YMin);
    const auto c = map.Point(w.XMax, w.YMax);
    const auto d = map.Point(w.XMin, w.YMax);
    if (a && b && c && d) pic.Walls.push_back(QPolygon({*a, *b, *c, *d}));
  }

  const int axis = map.Across(kAxis);
  if (auto y = map.Row(model.Offset)) pic.GroundLines.push_back({{frame.left(), *y}, {axis, *y}, TSideViewPen::Line});
  if (auto y = map.Row(model.Offset + model.FreeHeight)) {
    pic.GroundLines.push_back({{axis, *y}, {frame.left() + frame.width(), *y}, TSideViewPen::Line});
  }

  AddMarks(model, map, pic);
  AddTopView(model, map, pixelScale, pic);
  return pic;
}

std::optional<double> DepthAt(const TSideViewModel& model, const QRect& frame, QPoint pixel) {
  const TWorldWindow fitted = FitWorldWindow(model.World, frame.width(), frame.height());
  if (model.World.IsEmpty() || fitted.IsEmpty() || frame.height() <= 0) return std::nullopt;
  const double y = fitted.YMin + (pixel.y() - frame.top()) * (fitted.YMax - fitted.YMin) / frame.height();
  return y - model.Offset;
}

QString DepthReadout(double depth) {
  // A point a hair above the wall top reads 0.0, not -0.0.
  if (std::abs(depth) < 0.05) depth = 0;
  return QStringLiteral("  Depth: ") + QString::number(depth, 'f', 1);
}

TSideViewStyle ScreenSideViewStyle(const QPalette& palette, const QFont& font) {
  TSideViewStyle s;
  s.Background = palette.color(QPalette::Window);
  s.Ink = palette.color(QPalette::WindowText);
  s.CirclePen = Qt::white;
  s.CircleFill = Qt::white;
  s.Font = font;
  return s;
}

TSideViewStyle PrintSideViewStyle() {
  TSideViewStyle s;
  s.Background = Qt::white;
  s.Ink = Qt::black;
  s.CirclePen = Qt::black;
  s.CircleFill = Qt::white;
  s.Font = QFont(QStringLiteral("Sans Serif"), 9);
  return s;
}

void DrawSideView(QPainter& painter, const QRect& frame, const TSideViewModel& model, const TSideViewStyle& style,
                  double pixelScale) {
  painter.save();
  painter.fillRect(frame, style.Background);
  painter.setFont(style.Font);
  const QFontMetrics metrics(painter.font(), painter.device());
  const TSideViewPicture pic = LayoutSideView(model, frame, pixelScale, metrics.height());
  if (pic.Empty) {
    painter.restore();
    return;
  }
  painter.setClipRect(frame);

  auto pen = [&](TSideViewPen p) {
    double width = style.LineWidth;
    if (p == TSideViewPen::Mark) width = style.MarkWidth;
    if (p == TSideViewPen::Spring) width = style.SpringWidth;
    return QPen(style.Ink, width * pixelScale, Qt::SolidLine, Qt::FlatCap);
  };
  auto lines = [&](const std::vector<TPictureLine>& list) {
    for (const TPictureLine& l : list) {
      painter.setPen(pen(l.Pen));
      painter.drawLine(l.From, l.To);
    }
  };
  auto texts = [&](const std::vector<TPictureText>& list) {
    painter.setPen(style.Ink);
    for (const TPictureText& t : list) painter.drawText(t.TopLeft + QPoint(0, metrics.ascent()), t.Text);
  };

  lines(pic.LayerLines);
  texts(pic.LayerTexts);
  painter.setPen(QPen(style.Ink, style.LineWidth * pixelScale));
  painter.setBrush(style.Ink);
  for (const QPolygon& wall : pic.Walls) painter.drawPolygon(wall);
  painter.setBrush(Qt::NoBrush);
  lines(pic.GroundLines);
  lines(pic.Marks);
  painter.setPen(QPen(style.CirclePen, style.CircleWidth * pixelScale));
  painter.setBrush(style.CircleFill);
  for (const TPictureCircle& c : pic.Circles) painter.drawEllipse(c.Centre, c.Radius, c.Radius);
  painter.setBrush(Qt::NoBrush);
  texts(pic.Labels);
  painter.restore();
}

QRect PrintFrame(const QRect& page) {
  return QRect(page.left(), page.top() + Round(0.1 * page.height()), page.width(), Round(0.8 * page.height()));
}

}  // namespace ramvex
