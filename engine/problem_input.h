// The values of one problem as the data file gives them.
//
// The reader fills these structures record by record; the station builder,
// the iteration and the soil models take what they need from them.  Lengths
// and forces are in the problem's units as read (inches and pounds for unit
// system 1, metres and kilonewtons for 2) except where a field says
// otherwise; tieback depths, lengths and spacings stay in feet for units 1.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace ramvex {

inline constexpr int kMaxIncrements = 300;
inline constexpr int kMaxSpecifiedRows = 20;
inline constexpr int kMaxStiffnessRows = 10;
inline constexpr int kMaxPyModRows = 30;
inline constexpr int kMaxUserCurves = 30;
inline constexpr int kMaxStages = 5;
inline constexpr int kMaxMomentEiCurves = 20;
inline constexpr int kMaxTiebacks = 20;
inline constexpr int kMaxLoadRows = 20;
inline constexpr int kMaxSpringRows = 20;
inline constexpr int kMaxEarthPressureRows = 100;
inline constexpr int kMaxSurchargeRows = 20;
inline constexpr int kMaxSoilLayers = 10;
inline constexpr int kMaxUserCurvePoints = 17;
inline constexpr int kMaxMomentEiPoints = 100;
inline constexpr int kMaxCurves = 63;  // user plus generated p-y curves

struct ProblemControl {
  int units = 0;
  int nsds = 0;
  int nstif = 0;
  int npymod = 0;
  int earthPressureOption = 0;  // 0 none, 1 user table, 2 triangular, 3 trapezoidal
  int pyOption = 0;             // 0 none, 1 user curves, 2 generated (+ user)
  int nupy = 0;
  int nstage = 0;
  int nmei = 0;
  int ntie = 0;
};

struct SolutionControl {
  int increments = 0;  // N
  double h = 0;
  double maxDeflection = 0;
  double closureTolerance = 0;
  double freeHeight = 0;
  double wa = 0;  // width receiving earth pressure, also scales tiebacks
};

// Case below 2: deflection imposed; 2: slope imposed; 3 or more: both.
struct SpecifiedRow {
  int caseCode = 0;
  int station = 0;
  double deflection = 0;
  double slope = 0;
};

struct StiffnessRow {
  int from = 0, to = 0, contd = 0;
  double ei = 0;
};

struct LoadRow {
  int contd = 0, from = 0, to = 0;
  double lateral = 0, moment = 0, axial = 0;
};

struct SpringRow {
  int from = 0, to = 0, contd = 0;
  double lateral = 0, rotational = 0;
};

// Depth, unbonded length and spacing in feet for units 1, metres for units 2.
struct TiebackRow {
  double depth = 0, area = 0, modulus = 0, unbondedLength = 0, angle = 0, spacing = 0, prestress = 0;
  int station = 0;  // nearest station, set by the reader
};

struct PyModRow {
  double depth = 0, pMultiplier = 0, yMultiplier = 0;
};

struct EarthPressureRow {
  double depth = 0;
  double lineLoad = 0;  // force per length of wall height, as given
};

struct SiteRecord {
  double freeHeight = 0, wa = 0, wp = 0;
  double waterDepthBackfill = 0, waterDepthExcavation = 0;
  double activeFactor = 0;
  int pressureStepOption = 0;
  double backfillSlope = 0;  // degrees
};

struct SingleSurcharge {
  double uniform = 0, distance = 0, point = 0, line = 0, strip = 0, stripWidth = 0;
};

// Type 1 point load, 2 line load, 3 strip load.  Distance and width are in
// inches (units 1) or metres (units 2): the reader converts the millimetres
// of the SI data file.
struct SurchargeRow {
  int type = 0;
  double magnitude = 0, distance = 0, width = 0;
};

struct SoilLayer {
  int type = 0;  // 1 soft clay ... 7 weak rock
  double bottomDepth = 0;
  std::array<double, 6> top{};
  std::array<double, 6> bottom{};
};

struct UserPyCurve {
  int station = 0;
  double pMultiplier = 0, yMultiplier = 0;
  std::vector<double> y, p;  // as given, without the multipliers
};

struct MomentEiCurve {
  int from = 0, to = 0;
  std::vector<double> moment, ei;
};

struct ProblemInput {
  std::string title;  // 70 characters
  ProblemControl control;
  SolutionControl solution;
  std::vector<SpecifiedRow> specified;
  std::vector<StiffnessRow> stiffness;
  std::vector<LoadRow> loads;
  std::vector<SpringRow> springs;
  std::vector<TiebackRow> tiebacks;
  std::vector<PyModRow> pyModifiers;
  std::vector<EarthPressureRow> earthPressure;
  bool hasSite = false;
  SiteRecord site;
  SingleSurcharge singleSurcharge;
  std::vector<SurchargeRow> surcharges;
  std::vector<SoilLayer> layers;
  std::vector<UserPyCurve> userCurves;
  std::vector<MomentEiCurve> momentEiCurves;
  int continuation = 0;
};

}  // namespace ramvex
