#include "station_data.h"

#include <array>
#include <cmath>
#include <string>

#include "fortran_format.h"
#include "run_errors.h"

namespace ramvex {
namespace {

// Single-precision value of 3.1416 that the degree conversion of the
// tiebacks has always used; results are compared against it.
constexpr double kPi4 = 3.1415998935699463;

constexpr const char* kNotInOrder = "     ERROR STOP -- STATIONS NOT IN ORDER";
constexpr const char* kBeyondEnd = "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END";

[[noreturn]] void stop(RunState& run, const char* message) {
  run.report.empty(2);
  run.report.line(message);
  throw ErrorStop{};
}

// Values a table row carries, in the order of the echo: EI, Q, S, T, R, P.
using RowValues = std::array<double, 6>;

struct TableRow {
  int from = 0, to = 0, contd = 1;
  RowValues values{};  // what is distributed
  RowValues echo{};    // what is printed (F filled in at echo time)
  bool echoFAtFrom = false;
};

void addRange(StationData& sd, int a, int b, const RowValues& v0, const RowValues& v1) {
  std::array<std::vector<double>*, 6> arrays{&sd.F, &sd.Q, &sd.S, &sd.T, &sd.R, &sd.P};
  for (int k = a; k <= b; ++k) {
    // A one-station range takes its start value whole.
    const double t = b == a ? 0.0 : static_cast<double>(k - a) / static_cast<double>(b - a);
    for (size_t q = 0; q < 6; ++q)
      (*arrays[q])[StationData::index(k)] += v0[q] + (v1[q] - v0[q]) * t;
  }
  if (b != a) {
    for (size_t q = 0; q < 6; ++q) {
      (*arrays[q])[StationData::index(a)] += -0.5 * v0[q];
      (*arrays[q])[StationData::index(b)] += -0.5 * v1[q];
    }
  }
}

void checkRange(RunState& run, const StationData& sd, int a, int b) {
  if (b < a || a < -3) stop(run, kNotInOrder);
  if (b > sd.n + 3) stop(run, kBeyondEnd);
}

void echoRow(RunState& run, const StationData& sd, const TableRow& row, int s) {
  RowValues values = row.echo;
  if (row.echoFAtFrom) values[0] = sd.inRange(row.from) ? sd.F[StationData::index(row.from)] : 0.0;
  fmt::Record r;
  r.X(5);
  if (s == 2) {
    r.I(row.from, 4).X(4);
  } else if (s == 3 || s == 4) {
    r.X(4).I(row.to, 4);
  } else {
    r.I(row.from, 4).I(row.to, 4);
  }
  r.I(static_cast<long long>(row.contd) - 1, 3).X(1);
  for (double v : values) r.E(v, 10, 3);
  run.report.line(r.str());
}

// One table through the row-state machine: s = 2p + c + 1 with c this row's
// and p the previous row's "linear to the next row" flag.
void distributeTable(RunState& run, StationData& sd, const std::vector<TableRow>& rows) {
  int p = 0;
  int startStation = 0;
  RowValues startValues{};
  for (const TableRow& row : rows) {
    const int c = row.contd == 2 ? 1 : 0;
    const int s = 2 * p + c + 1;
    switch (s) {
      case 1:
        checkRange(run, sd, row.from, row.to);
        addRange(sd, row.from, row.to, row.values, row.values);
        break;
      case 2:
        startStation = row.from;
        startValues = row.values;
        break;
      default:  // 3 ends a linear variation, 4 ends one and starts the next
        checkRange(run, sd, startStation, row.to);
        addRange(sd, startStation, row.to, startValues, row.values);
        if (s == 4) {
          startStation = row.to;
          startValues = row.values;
        }
        break;
    }
    echoRow(run, sd, row, s);
    p = c;
  }
}

void writeStiffnessHeader(RunState& run) {
  const UnitLabels& u = run.labels;
  run.report.empty(2);
  run.report.line("      **************************************************");
  run.report.line("      *        STIFFNESS AND LOAD DATA                 *");
  run.report.line("      **************************************************");
  run.report.line("      EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,");
  run.report.line("      S - STIFFNESS OF TRANSVERSE RESISTANCE,");
  run.report.line("      T - TORQUE,              P - AXIAL LOAD,");
  run.report.line("      R - STIFFNESS OF TORSIONAL RESISTANCE.");
  run.report.empty();
  run.report.line("     FROM TO CONTD     EI         Q        S'        T         R         P");
  run.report.empty();
  fmt::Record r;
  r.X(18).lit(u.force4).lit("-").lit(u.length2).lit("**").lit("2");
  r.X(4).lit(u.force4);
  r.X(4).lit(u.force4).lit("/").lit(u.length2);
  r.X(3).lit(u.length3).lit("-").lit(u.force3);
  r.X(2).lit(u.length3).lit("-").lit(u.force3);
  r.X(4).lit(u.force4);
  run.report.line(r.str());
}

}  // namespace

int roundedStation(double value, int lo, int hi) {
  if (!(value >= lo)) return lo;  // also NaN
  if (value >= hi) return hi;
  return static_cast<int>(std::round(value));
}

void StationData::reset(int increments, double incrementLength) {
  n = increments < 0 ? 0 : increments;
  h = incrementLength;
  const size_t count = static_cast<size_t>(size());
  for (std::vector<double>* a : {&F, &Q, &S, &T, &R, &P}) a->assign(count, 0.0);
  code.assign(count, 1);
  specDeflection.clear();
  specSlope.clear();
  moments.clear();
  tiebacks.clear();
}

void resetStations(RunState& run, const ProblemInput& input, StationData& sd) {
  const SolutionControl& sc = input.solution;
  sd.reset(0, sc.h);
  sd.units = input.control.units;
  sd.wa = sc.wa;
  if (sc.increments < 1 || sc.increments > kMaxIncrements)
    stop(run, "     ERROR STOP -- NUMBER OF INCREMENTS OUT OF RANGE");
  if (!(sc.h > 0) || !std::isfinite(sc.h)) stop(run, "     ERROR STOP -- INCREMENT LENGTH NOT POSITIVE");
  sd.reset(sc.increments, sc.h);
}

void applySpecifiedRows(RunState& run, const ProblemInput& input, StationData& sd) {
  for (const SpecifiedRow& row : input.specified) {
    const int j = row.station;
    if (j < -1 || j > sd.n + 1) stop(run, kSpecifiedBeyondWall);
    if (row.caseCode < 2) {
      sd.code[StationData::index(j)] = 2;
    } else if (row.caseCode == 2) {
      sd.code[StationData::index(j - 1)] = 3;
      sd.code[StationData::index(j + 1)] = 5;
    } else {
      sd.code[StationData::index(j - 1)] = 3;
      sd.code[StationData::index(j)] = 4;
      sd.code[StationData::index(j + 1)] = 5;
    }
    sd.specDeflection.push_back(row.deflection);
    sd.specSlope.push_back(row.slope);
  }
}

void distributeWallTables(RunState& run, const ProblemInput& input, StationData& sd) {
  if (input.control.nstif <= 0) {
    run.report.empty();
    run.report.line(std::string(20, ' '));
    return;
  }
  if (sd.F.size() != static_cast<size_t>(sd.size())) resetStations(run, input, sd);
  writeStiffnessHeader(run);

  std::vector<TableRow> rows;
  for (const StiffnessRow& s : input.stiffness) {
    TableRow r;
    r.from = s.from; r.to = s.to; r.contd = s.contd;
    r.values = {s.ei, 0, 0, 0, 0, 0};
    r.echo = r.values;
    rows.push_back(r);
  }
  distributeTable(run, sd, rows);

  rows.clear();
  for (const LoadRow& l : input.loads) {
    TableRow r;
    r.from = l.from; r.to = l.to; r.contd = l.contd;
    r.values = {0, l.lateral, 0, l.moment, 0, -l.axial};
    r.echo = {0, l.lateral, 0, l.moment, 0, l.axial};
    r.echoFAtFrom = true;
    rows.push_back(r);
    if (l.moment != 0) sd.moments.push_back({l.from, l.moment / (2.0 * sd.h)});
  }
  distributeTable(run, sd, rows);

  rows.clear();
  for (const SpringRow& s : input.springs) {
    TableRow r;
    r.from = s.from; r.to = s.to; r.contd = s.contd;
    r.values = {0, 0, s.lateral, 0, s.rotational, 0};
    r.echo = r.values;
    r.echoFAtFrom = true;
    rows.push_back(r);
  }
  // Feet to inches for the lengths of a US-customary tieback.
  const double lengthScale = input.control.units == 1 ? 12.0 : 1.0;
  for (const TiebackRow& t : input.tiebacks) {
    TiebackData d;
    d.station = t.station;
    d.depth = t.depth * lengthScale;
    d.angle = t.angle * kPi4 / 180.0;
    d.spacing = t.spacing * lengthScale;
    const double length = t.unbondedLength * lengthScale;
    const double c = std::cos(d.angle);
    d.stie = c * t.modulus * t.area * sd.wa / (d.spacing * length);
    d.qtie = -(sd.wa / d.spacing) * t.prestress * c;
    sd.tiebacks.push_back(d);

    TableRow r;
    r.from = r.to = t.station;
    r.contd = 1;
    r.values = {0, d.qtie, d.stie, 0, 0, 0};
    r.echo = r.values;
    r.echoFAtFrom = true;
    rows.push_back(r);
  }
  distributeTable(run, sd, rows);
}

void addEarthPressureLoads(const EarthPressureTable& table, double lastDepth, StationData& sd) {
  if (!(sd.h > 0)) return;
  // Loads below N + 3 have no station to go to; any load past N is caught by
  // the beyond-end check anyway.
  const int last = roundedStation(lastDepth / sd.h, 0, sd.n + 3);
  double previous = 0;
  for (int b = 1; b <= last; ++b) {
    const double depth = b * sd.h;
    double load = previous;
    for (size_t i = 0; i < table.size(); ++i) {
      if (table[i].depth >= depth) {
        const double d0 = i == 0 ? 0.0 : table[i - 1].depth;
        const double l0 = i == 0 ? 0.0 : table[i - 1].total * sd.h;
        const double l1 = table[i].total * sd.h;
        const double span = table[i].depth - d0;
        load = span > 0 ? l0 + (l1 - l0) * (depth - d0) / span : l1;
        break;
      }
    }
    sd.Q[StationData::index(b)] += load;
    previous = load;
  }
}

void checkBeyondEnd(RunState& run, const StationData& sd) {
  // Every value is tested on its own, so that values of opposite sign cannot
  // cancel and let data below the wall pass unnoticed.
  for (int j = sd.n + 1; j <= sd.n + 3; ++j) {
    const int i = StationData::index(j);
    for (const std::vector<double>* a : {&sd.F, &sd.Q, &sd.S, &sd.T, &sd.R, &sd.P})
      if ((*a)[i] != 0) stop(run, kBeyondEnd);
  }
}

}  // namespace ramvex
