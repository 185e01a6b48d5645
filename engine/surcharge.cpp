#include "surcharge.h"

#include <cmath>

namespace ramvex {
namespace {

// Constants of the formulas, held in single precision.
constexpr double kSwitchRatio = static_cast<double>(0.4f);
constexpr double kPoint1 = static_cast<double>(0.28f);
constexpr double kOffset = static_cast<double>(0.16f);
constexpr double kPoint2 = static_cast<double>(1.77f);
constexpr double kLine1 = static_cast<double>(0.203f);
constexpr double kFour = static_cast<double>(4.0f);
constexpr double kPi = static_cast<double>(3.1416f);
constexpr double kFourOverPi = static_cast<double>(1.273f);
constexpr double kTwoOverPi = static_cast<double>(0.6366f);
constexpr int kSlices = 200;
constexpr int kSublayerSlices = 10;
constexpr double kMinMagnitude = static_cast<double>(1.0e-4f);
constexpr double kMinFreeHeight = 1.0e-6;

double square(double v) { return v * v; }

double pointPressure(double p, double x, double z, double h) {
  if (!(h > kMinFreeHeight)) {
    // With no free height the ratio m is unbounded and the far-field formula
    // applies; written in X and z it does not depend on H.
    return kPoint2 * p * square(x) * square(z) / std::pow(square(x) + square(z), 3);
  }
  const double m = x / h;
  const double n = z / h;
  if (m <= kSwitchRatio) return kPoint1 * p * square(n) / (square(h) * std::pow(kOffset + square(n), 3));
  return kPoint2 * p * square(m) * square(n) / (square(h) * std::pow(square(m) + square(n), 3));
}

double linePressure(double q, double x, double z, double h, PiConstants constants) {
  const bool rounded = constants == PiConstants::Rounded;
  if (!(h > kMinFreeHeight)) {
    const double s = square(x) + square(z);
    const double num = q * square(x) * z;
    return rounded ? kFourOverPi * num / square(s) : kFour * num / (kPi * square(s));
  }
  const double m = x / h;
  const double n = z / h;
  if (m <= kSwitchRatio) return kLine1 * q * n / (h * square(kOffset + square(n)));
  const double s = square(m) + square(n);
  if (rounded) return kFourOverPi * q * square(m) * n / (h * square(s));
  return kFour * q * square(m) * n / (kPi * h * square(s));
}

double stripPressure(double q, double x, double w, double z, PiConstants constants) {
  const double a1 = std::atan((x + w / 2.0) / z);
  const double a2 = std::atan((x - w / 2.0) / z);
  const double beta = a1 - a2;
  const double term = q * (beta - std::sin(beta) * std::cos(a1 + a2));
  if (constants == PiConstants::Rounded) return kTwoOverPi * term;
  return 2.0 * term / kPi;
}

}  // namespace

double surchargeEntryPressure(const SurchargeRow& entry, double z, double freeHeight, PiConstants constants) {
  if (!(z > 0.0)) return 0.0;
  switch (entry.type) {
    case 2:
      return linePressure(entry.magnitude, entry.distance, z, freeHeight, constants);
    case 3:
      return stripPressure(entry.magnitude, entry.distance, entry.width, z, constants);
    default:
      return pointPressure(entry.magnitude, entry.distance, z, freeHeight);
  }
}

double surchargePressure(const std::vector<SurchargeRow>& entries, double freeHeight, double wallLength,
                         double depth) {
  if (entries.empty()) return 0.0;
  const double slice = wallLength / kSlices;
  // The deepest slice depth strictly above the enquiry depth.
  int k = 0;
  for (int j = 1; j <= kSlices; ++j) {
    if (j * slice < depth) k = j;
    else break;
  }
  if (k == 0) return 0.0;
  const double z = k * slice;
  double sum = 0.0;
  for (const SurchargeRow& e : entries) sum += surchargeEntryPressure(e, z, freeHeight);
  return sum;
}

double sublayerSurchargeShare(const std::vector<SurchargeRow>& entries, double freeHeight, double ztop,
                              double thickness) {
  const double dz = thickness / kSublayerSlices;
  double sum = 0.0;
  for (const SurchargeRow& e : entries) {
    if (!(e.magnitude > kMinMagnitude)) continue;
    for (int j = 1; j <= kSublayerSlices; ++j)
      sum += dz * surchargeEntryPressure(e, ztop + j * dz, freeHeight, PiConstants::Rounded);
  }
  return sum;
}

std::vector<SurchargeRow> effectiveSurcharges(const ProblemInput& input) {
  if (!input.surcharges.empty()) return input.surcharges;
  std::vector<SurchargeRow> legacy;
  const SingleSurcharge& s = input.singleSurcharge;
  if (s.point != 0.0) legacy.push_back({1, s.point, s.distance, 0.0});
  if (s.line != 0.0) legacy.push_back({2, s.line, s.distance, 0.0});
  if (s.strip != 0.0) legacy.push_back({3, s.strip, s.distance, s.stripWidth});
  return legacy;
}

double problemFreeHeight(const ProblemInput& input) {
  return input.hasSite ? input.site.freeHeight : input.solution.freeHeight;
}

double wallLength(const ProblemInput& input) { return input.solution.increments * input.solution.h; }

double surchargePressureAt(const ProblemInput& input, double depth) {
  return surchargePressure(input.surcharges, problemFreeHeight(input), wallLength(input), depth);
}

}  // namespace ramvex
