#include "wall_report.h"

#include <cstddef>
#include <string>

#include "fortran_format.h"
#include "py_curves.h"

namespace ramvex {
namespace {

void framedTitle(RunState& run, const char* title) {
  run.report.empty(2);
  run.report.line("      **************************************************");
  run.report.line(std::string("      ") + title);
  run.report.line("      **************************************************");
}

}  // namespace

void echoUserCurves(RunState& run, const ProblemInput& input) {
  if (input.userCurves.empty()) return;
  const UnitLabels& u = run.labels;
  framedTitle(run, "*     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *");
  run.report.empty();
  const bool withGenerated = input.control.pyOption >= 2;
  int previous = 0;
  for (const UserPyCurve& c : input.userCurves) {
    const int flag = userCurveFlag(input, c);
    const int s = withGenerated ? 3 : 2 * previous + flag + 1;
    previous = flag;
    const size_t points = c.y.size() < c.p.size() ? c.y.size() : c.p.size();

    run.report.empty();
    run.report.line("     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER'      POINTS     ");
    run.report.empty(2);
    fmt::Record r;
    if (s == 2) {
      r.X(5).I(c.station, 4).X(4).I(flag, 3).X(5).E(c.pMultiplier, 14, 3).E(c.yMultiplier, 14, 3);
      r.X(10).I(static_cast<long long>(points), 3);
    } else if (s == 3 || s == 4) {
      r.X(9).I(c.station, 4).I(flag, 3).X(5).E(c.pMultiplier, 14, 3).E(c.yMultiplier, 14, 3);
      r.X(10).I(static_cast<long long>(points), 3);
    } else {
      r.X(5).I(c.station, 4).I(c.station, 4).I(flag, 3).X(5).E(c.pMultiplier, 14, 3).E(c.yMultiplier, 14, 3);
      r.X(8).I(static_cast<long long>(points), 4);
    }
    run.report.line(r.str());
    run.report.empty(2);
    run.report.line(fmt::Record().X(18).lit("    Y    ").X(12).lit("   P    ").str());
    run.report.line(fmt::Record().X(18).X(2).lit(u.length3).X(16).lit(u.force4).lit("/").lit(u.length2).str());
    run.report.line(fmt::Record().X(18).lit("---------").X(12).lit("--------").str());
    for (size_t k = 0; k < points; ++k)
      run.report.line(
          fmt::Record().X(17).E(c.y[k] * c.yMultiplier, 10, 3).X(10).E(c.p[k] * c.pMultiplier, 10, 3).str());
  }
}

void writeResults(RunState& run, const IterationResult& it, const WallResults& res) {
  const UnitLabels& u = run.labels;
  run.report.empty(2);
  run.report.line(fmt::Record().lit("     RESULTS -- ITERATION").I(it.iteration, 3).str());
  run.report.line("     --------------------");
  if (it.offCurve) {
    run.report.empty();
    run.report.line("     ***** DEFLECTION OFF Q - W CURVES *****");
  }
  if (it.beyondLimit > 0) {
    run.report.empty();
    run.report.line(fmt::Record()
                        .lit("     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***")
                        .I(it.beyondLimit, 4)
                        .lit("  *** STATIONS *****")
                        .str());
  }
  if (it.notClosed > 0) {
    run.report.empty();
    run.report.line("     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****");
  }
  run.report.empty();
  run.report.line("   STA I      X         DEFL.       SLOPE"
                  "      MOMENT      SHEAR    NET REACT/STA    EI ");
  run.report.line(fmt::Record()
                      .X(12).lit(u.length3)
                      .X(9).lit(u.length3)
                      .X(19).lit(u.force3).lit("-").lit(u.length2)
                      .X(7).lit(u.force4)
                      .X(8).lit(u.force4)
                      .X(7).lit(u.force3).lit("-").lit(u.length2).lit("**").lit("2")
                      .str());
  run.report.line("   ------    ----        ----       -----"
                  "      ------      ------    ---------    ----------");
  for (int j = 0; j < res.nodes(); ++j) {
    const size_t k = static_cast<size_t>(j);
    run.report.line(fmt::Record()
                        .X(2).I(j, 4)
                        .X(2).E(res.x[k], 10, 3)
                        .E(res.deflection[k], 12, 3)
                        .E(res.slope[k], 12, 3)
                        .E(res.moment[k], 12, 3)
                        .E(res.shear[k], 12, 3)
                        .E(res.reaction[k], 12, 3)
                        .E(res.F[k], 12, 3)
                        .str());
  }
}

void writeTiebackResults(RunState& run, const std::vector<TiebackResult>& tiebacks) {
  if (tiebacks.empty()) return;
  const UnitLabels& u = run.labels;
  run.report.empty(2);
  run.report.line("     TIE BACK RESULTS");
  run.report.line("     ----------------");
  run.report.empty();
  run.report.line("     N     STA         X       "
                  " HOR.FORCE/STA.     FORCE/STA.     FORCE/TIE BACK");
  run.report.line(fmt::Record()
                      .X(21).lit(u.length3)
                      .X(12).lit(u.force3)
                      .X(15).lit(u.force3)
                      .X(15).lit(u.force3)
                      .str());
  run.report.line("   -----  -----    --------    "
                  " --------------   --------------   --------------");
  for (const TiebackResult& t : tiebacks) {
    run.report.line(fmt::Record()
                        .X(1).I(t.number, 5)
                        .X(2).I(t.station, 5)
                        .X(2).E(t.depth, 12, 3)
                        .X(2).E(t.horizontal, 15, 4)
                        .X(2).E(t.alongAnchor, 15, 4)
                        .X(2).E(t.perTieback, 15, 4)
                        .str());
  }
}

}  // namespace ramvex
