#include "beam_solver.h"

#include <cstddef>

namespace ramvex {
namespace {

// Specified value r (1-based) of a list; rows whose codes were overwritten by
// a later row can leave the counter past the end, where nothing is imposed.
double specified(const std::vector<double>& list, int r) {
  return r >= 1 && static_cast<size_t>(r) <= list.size() ? list[static_cast<size_t>(r) - 1] : 0.0;
}

}  // namespace

void solveBeam(const StationData& sd, const std::vector<double>& qw, const std::vector<double>& sw,
               std::vector<double>& w, SolverWork& work) {
  const size_t count = static_cast<size_t>(sd.size());
  work.A.assign(count, 0.0);
  work.B.assign(count, 0.0);
  work.C.assign(count, 0.0);
  w.assign(count, 0.0);
  if (sd.F.size() != count || qw.size() != count || sw.size() != count) return;

  std::vector<double>& A = work.A;
  std::vector<double>& B = work.B;
  std::vector<double>& C = work.C;
  const double h = sd.h;
  const double h2 = h * h;
  const double h3 = h2 * h;
  const int n = sd.n;

  int r = 1;
  double G3 = 0, A3 = 0, B3 = 0, C3 = 0;
  for (int j = -1; j <= n + 1; ++j) {
    const size_t i = static_cast<size_t>(StationData::index(j));
    // Axial load and rotational restraint of the neighbours act together.
    const double before = h * sd.P[i - 1] + sd.R[i - 1];
    const double after = h * sd.P[i + 1] + sd.R[i + 1];
    const double a = sd.F[i - 1] - 0.25 * h * before;
    const double b = -2.0 * (sd.F[i - 1] + sd.F[i]);
    const double c = sd.F[i - 1] + 4.0 * sd.F[i] + sd.F[i + 1] + h3 * sw[i] + 0.25 * h * (before + after);
    const double d = -2.0 * (sd.F[i] + sd.F[i + 1]);
    const double e = sd.F[i + 1] - 0.25 * h * after;
    const double f = h3 * qw[i] - 0.5 * h2 * (sd.T[i - 1] - sd.T[i + 1]);

    const double E = a * B[i - 2] + b;
    const double D = a * C[i - 2] + E * B[i - 1] + c;
    const double G = D == 0.0 ? 0.0 : -1.0 / D;
    C[i] = G * e;
    B[i] = G * (E * C[i - 1] + d);
    A[i] = G * (E * A[i - 1] + a * A[i - 2] - f);

    switch (sd.code[i]) {
      case 2:
      case 4:
        A[i] = specified(sd.specDeflection, r);
        B[i] = 0;
        C[i] = 0;
        if (sd.code[i] == 2) ++r;
        break;
      case 3:
        G3 = G;
        A3 = A[i];
        B3 = B[i];
        C3 = C[i];
        A[i] = -2.0 * h * specified(sd.specSlope, r);
        B[i] = 0;
        C[i] = 1;
        break;
      case 5: {
        const double theta = specified(sd.specSlope, r);
        // G / G3 is 0 when either pivot vanished; the station then keeps its
        // own equation.
        const double ratio = G3 == 0.0 ? 0.0 : G / G3;
        const double den = 1.0 - (B3 * B[i - 1] + C3 - 1.0) * ratio;
        const double g = den == 0.0 ? 0.0 : 1.0 / den;
        C[i] = g * C[i];
        B[i] = g * (B3 * C[i - 1] * ratio + B[i]);
        A[i] = g * ((B3 * A[i - 1] + 2.0 * h * theta + A3) * ratio + A[i]);
        ++r;
        break;
      }
      default:
        break;
    }
  }

  for (int j = n + 1; j >= -1; --j) {
    const size_t i = static_cast<size_t>(StationData::index(j));
    w[i] = A[i] + B[i] * w[i + 1] + C[i] * w[i + 2];
  }
}

WallResults computeResults(const StationData& sd, const std::vector<double>& wIn) {
  WallResults res;
  const int n = sd.n;
  const size_t count = static_cast<size_t>(sd.size());
  if (wIn.size() != count || sd.F.size() != count) return res;
  const double h = sd.h;
  const double h2 = h * h;

  std::vector<double> w = wIn;
  auto at = [](int j) { return static_cast<size_t>(StationData::index(j)); };
  w[at(-2)] = 2.0 * w[at(-1)] - w[at(0)];
  w[at(n + 2)] = 2.0 * w[at(n + 1)] - w[at(n)];

  std::vector<double> M(count, 0.0);
  for (int j = -1; j <= n + 1; ++j)
    M[at(j)] = sd.F[at(j)] * (w[at(j - 1)] - 2.0 * w[at(j)] + w[at(j + 1)]) / h2;
  // The reaction treats the moments above the wall as zero.
  std::vector<double> Mr = M;
  Mr[at(-2)] = 0;
  Mr[at(-1)] = 0;

  const size_t nodes = static_cast<size_t>(n) + 1;
  for (auto* v : {&res.x, &res.deflection, &res.slope, &res.moment, &res.shear, &res.reaction, &res.F})
    v->assign(nodes, 0.0);
  for (int j = 0; j <= n; ++j) {
    const size_t k = static_cast<size_t>(j);
    res.x[k] = j * h;
    res.deflection[k] = w[at(j)];
    res.slope[k] = (w[at(j + 1)] - w[at(j - 1)]) / (2.0 * h);
    res.moment[k] = M[at(j)];
    res.shear[k] = (M[at(j + 1)] - M[at(j - 1)]) / (2.0 * h);
    res.reaction[k] = (Mr[at(j - 1)] - 2.0 * Mr[at(j)] + Mr[at(j + 1)]) / h;
    res.F[k] = sd.F[at(j)];
  }
  for (const AppliedMoment& am : sd.moments) {
    auto shear = [&](int j, double dv) {
      if (j >= 0 && j <= n) res.shear[static_cast<size_t>(j)] -= dv;
    };
    auto reaction = [&](int j, double dv) {
      if (j >= 0 && j <= n) res.reaction[static_cast<size_t>(j)] += dv;
    };
    shear(am.station, am.value);
    shear(am.station - 1, 0.5 * am.value);
    shear(am.station + 1, 0.5 * am.value);
    reaction(am.station + 1, am.value);
    reaction(am.station - 1, -am.value);
  }
  return res;
}

}  // namespace ramvex
