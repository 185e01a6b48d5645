#include "data_reader.h"

#include <cmath>
#include <string>

#include "fortran_format.h"

namespace ramvex {
namespace {

[[noreturn]] void outOfRange(int line, const std::string& what) {
  throw DataReadError{DataReadError::Kind::OutOfRange, line, what};
}

void checkCount(int value, int low, int high, const char* what, int line) {
  if (value < low || value > high)
    outOfRange(line, std::string(what) + " MUST BE " + fmt::freeInt(low) + " TO " + fmt::freeInt(high) +
                         ", NOT " + fmt::freeInt(value));
}

}  // namespace

std::string readTitleRecord(DataFile& file) { return file.readText(70); }

ProblemControl readProblemControl(DataFile& file) {
  ProblemControl c;
  file.beginRecord();
  c.units = file.readInt();
  c.nsds = file.readInt();
  c.nstif = file.readInt();
  c.npymod = file.readInt();
  c.earthPressureOption = file.readInt();
  c.pyOption = file.readInt();
  c.nupy = file.readInt();
  c.nstage = file.readInt();
  c.nmei = file.readInt();
  c.ntie = file.readInt();
  file.endRecord();
  return c;
}

void checkProblemControl(const ProblemControl& c, int line) {
  // NSDS above 20 has its own message, given by the caller after the echo.
  if (c.nstif >= 0) checkCount(c.nstif, 1, kMaxStiffnessRows, "NUMBER OF WALL STIFFNESS ROWS", line);
  checkCount(c.npymod, 0, kMaxPyModRows, "NUMBER OF P-Y MODIFICATION FACTORS", line);
  checkCount(c.earthPressureOption, 0, 3, "EARTH-PRESSURE OPTION", line);
  checkCount(c.pyOption, 0, 2, "P-Y CURVE OPTION", line);
  if (c.nupy >= 0) checkCount(c.nupy, 0, kMaxUserCurves, "NUMBER OF USER P-Y CURVES", line);
  checkCount(c.nstage, 0, kMaxStages, "NUMBER OF CONSTRUCTION STAGES", line);
  checkCount(c.nmei, 0, kMaxMomentEiCurves, "NUMBER OF MOMENT-EI CURVES", line);
  checkCount(c.ntie, 0, kMaxTiebacks, "NUMBER OF TIEBACKS", line);
}

SolutionControl readSolutionControl(DataFile& file) {
  SolutionControl s;
  file.beginRecord();
  s.increments = file.readInt();
  s.h = file.readReal();
  s.maxDeflection = file.readReal();
  s.closureTolerance = file.readReal();
  s.freeHeight = file.readReal();
  s.wa = file.readReal();
  const int line = file.recordLine();
  file.endRecord();
  checkCount(s.increments, 1, kMaxIncrements, "NUMBER OF INCREMENTS", line);
  if (!(s.h > 0)) outOfRange(line, "INCREMENT LENGTH MUST BE GREATER THAN ZERO");
  return s;
}

std::vector<SpecifiedRow> readSpecifiedRows(DataFile& file, int count) {
  std::vector<SpecifiedRow> rows;
  for (int i = 0; i < count; ++i) {
    SpecifiedRow r;
    file.beginRecord();
    r.caseCode = file.readInt();
    r.station = file.readInt();
    r.deflection = file.readReal();
    r.slope = file.readReal();
    file.endRecord();
    rows.push_back(r);
  }
  return rows;
}

std::vector<StiffnessRow> readStiffnessRows(DataFile& file, int count) {
  std::vector<StiffnessRow> rows;
  for (int i = 0; i < count; ++i) {
    StiffnessRow r;
    file.beginRecord();
    r.from = file.readInt();
    r.to = file.readInt();
    r.contd = file.readInt();
    r.ei = file.readReal();
    file.endRecord();
    rows.push_back(r);
  }
  return rows;
}

std::vector<LoadRow> readLoadRows(DataFile& file) {
  file.beginRecord();
  const int count = file.readInt();
  const int line = file.recordLine();
  file.endRecord();
  checkCount(count, 0, kMaxLoadRows, "NUMBER OF CONCENTRATED LOAD ROWS", line);
  std::vector<LoadRow> rows;
  for (int i = 0; i < count; ++i) {
    LoadRow r;
    file.beginRecord();
    r.contd = file.readInt();
    r.from = file.readInt();
    r.to = file.readInt();
    r.lateral = file.readReal();
    r.moment = file.readReal();
    r.axial = file.readReal();
    file.endRecord();
    rows.push_back(r);
  }
  return rows;
}

int tiebackStation(double depth, int units, double h, int line) {
  const double inLengthUnits = units == 1 ? depth * 12.0 : depth;
  const double ratio = inLengthUnits / h;
  // Anything this far off lies outside every wall; refuse it before the
  // conversion to an integer could overflow.
  if (!std::isfinite(ratio) || std::fabs(ratio) > 1.0e6) outOfRange(line, "TIEBACK DEPTH OUTSIDE THE WALL");
  return static_cast<int>(std::round(ratio));  // std::round: halves away from zero
}

void readSpringAndTiebackRows(DataFile& file, int units, double h, int tiebackCount, ProblemInput& input) {
  file.beginRecord();
  const int count = file.readInt();
  const int line = file.recordLine();
  file.endRecord();
  checkCount(count, 0, kMaxSpringRows, "NUMBER OF SPRING ROWS", line);
  for (int i = 0; i < count; ++i) {
    SpringRow r;
    file.beginRecord();
    r.from = file.readInt();
    r.to = file.readInt();
    r.contd = file.readInt();
    r.lateral = file.readReal();
    r.rotational = file.readReal();
    file.endRecord();
    input.springs.push_back(r);
  }
  for (int i = 0; i < tiebackCount; ++i) {
    TiebackRow t;
    file.beginRecord();
    t.depth = file.readReal();
    t.area = file.readReal();
    t.modulus = file.readReal();
    t.unbondedLength = file.readReal();
    t.angle = file.readReal();
    t.spacing = file.readReal();
    t.prestress = file.readReal();
    const int rowLine = file.recordLine();
    file.endRecord();
    t.station = tiebackStation(t.depth, units, h, rowLine);
    input.tiebacks.push_back(t);
  }
}

std::vector<PyModRow> readPyModRows(DataFile& file, int count) {
  std::vector<PyModRow> rows;
  for (int i = 0; i < count; ++i) {
    PyModRow r;
    file.beginRecord();
    r.depth = file.readReal();
    r.pMultiplier = file.readReal();
    r.yMultiplier = file.readReal();
    file.endRecord();
    rows.push_back(r);
  }
  return rows;
}

std::vector<EarthPressureRow> readEarthPressureRows(DataFile& file) {
  file.beginRecord();
  const int count = file.readInt();
  const int line = file.recordLine();
  file.endRecord();
  checkCount(count, 0, kMaxEarthPressureRows, "NUMBER OF EARTH-PRESSURE ROWS", line);
  std::vector<EarthPressureRow> rows;
  for (int i = 0; i < count; ++i) {
    EarthPressureRow r;
    file.beginRecord();
    r.depth = file.readReal();
    r.lineLoad = file.readReal();
    file.endRecord();
    rows.push_back(r);
  }
  return rows;
}

void readSiteRecords(DataFile& file, int units, ProblemInput& input) {
  input.hasSite = true;
  SiteRecord& s = input.site;
  file.beginRecord();
  s.freeHeight = file.readReal();
  s.wa = file.readReal();
  s.wp = file.readReal();
  s.waterDepthBackfill = file.readReal();
  s.waterDepthExcavation = file.readReal();
  s.activeFactor = file.readReal();
  s.pressureStepOption = file.readInt();
  s.backfillSlope = file.readReal();
  file.endRecord();

  SingleSurcharge& q = input.singleSurcharge;
  file.beginRecord();
  q.uniform = file.readReal();
  q.distance = file.readReal();
  q.point = file.readReal();
  q.line = file.readReal();
  q.strip = file.readReal();
  q.stripWidth = file.readReal();
  file.endRecord();

  file.beginRecord();
  const int surchargeCount = file.readInt();
  int line = file.recordLine();
  file.endRecord();
  checkCount(surchargeCount, 0, kMaxSurchargeRows, "NUMBER OF SURCHARGE ROWS", line);
  for (int i = 0; i < surchargeCount; ++i) {
    SurchargeRow r;
    file.beginRecord();
    r.type = file.readInt();
    r.magnitude = file.readReal();
    r.distance = file.readReal();
    r.width = file.readReal();
    file.endRecord();
    if (units == 2) {  // millimetres in the SI data file
      r.distance /= 1000.0;
      r.width /= 1000.0;
    }
    input.surcharges.push_back(r);
  }

  file.beginRecord();
  const int layerCount = file.readInt();
  line = file.recordLine();
  file.endRecord();
  checkCount(layerCount, 1, kMaxSoilLayers, "NUMBER OF SOIL LAYERS", line);
  for (int i = 0; i < layerCount; ++i) {
    SoilLayer layer;
    file.beginRecord();
    layer.type = file.readInt();
    layer.bottomDepth = file.readReal();
    file.endRecord();
    for (std::array<double, 6>* values : {&layer.top, &layer.bottom}) {
      file.beginRecord();
      for (double& v : *values) v = file.readReal();
      file.endRecord();
    }
    input.layers.push_back(layer);
  }
}

std::vector<UserPyCurve> readUserCurves(DataFile& file, int count) {
  std::vector<UserPyCurve> curves;
  for (int i = 0; i < count; ++i) {
    UserPyCurve c;
    file.beginRecord();
    c.station = file.readInt();
    const int points = file.readInt();
    c.pMultiplier = file.readReal();
    c.yMultiplier = file.readReal();
    const int line = file.recordLine();
    file.endRecord();
    checkCount(points, 2, kMaxUserCurvePoints, "NUMBER OF P-Y CURVE POINTS", line);
    if (c.station < -3 || c.station > 10 * kMaxIncrements)
      outOfRange(line, "P-Y CURVE STATION OUTSIDE THE WALL");
    for (int k = 0; k < points; ++k) {
      file.beginRecord();
      c.y.push_back(file.readReal());
      c.p.push_back(file.readReal());
      file.endRecord();
    }
    curves.push_back(std::move(c));
  }
  return curves;
}

std::vector<MomentEiCurve> readMomentEiCurves(DataFile& file, int count, int increments) {
  std::vector<MomentEiCurve> curves;
  for (int i = 0; i < count; ++i) {
    MomentEiCurve c;
    file.beginRecord();
    c.from = file.readInt();
    c.to = file.readInt();
    const int points = file.readInt();
    const int line = file.recordLine();
    file.endRecord();
    // A single point has no segment to interpolate on: refused, like a
    // range outside the wall (the curvature needs both neighbours).
    checkCount(points, 2, kMaxMomentEiPoints, "NUMBER OF MOMENT-EI CURVE POINTS", line);
    if (c.from > c.to || c.from < -2)
      outOfRange(line, "MOMENT-EI CURVE STATIONS OUTSIDE THE WALL OR REVERSED");
    // The stiffness is updated from the curvature at the wall's own
    // stations; a range past the bottom would be cut without a word.
    if (c.to > increments)
      outOfRange(line, "MOMENT-EI CURVE STATIONS " + fmt::freeInt(c.from) + " TO " + fmt::freeInt(c.to) +
                           " REACH BEYOND STATION " + fmt::freeInt(increments) + ", THE END OF THE WALL");
    for (int k = 0; k < points; ++k) {
      file.beginRecord();
      c.moment.push_back(file.readReal());
      c.ei.push_back(file.readReal());
      file.endRecord();
    }
    curves.push_back(std::move(c));
  }
  return curves;
}

int readContinuation(DataFile& file) {
  file.beginRecord();
  const int code = file.readInt();
  file.endRecord();
  return code;
}

}  // namespace ramvex
