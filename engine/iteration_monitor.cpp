#include "iteration_monitor.h"

#include <cstddef>

#include "fortran_format.h"

namespace ramvex {

void writeMonitorHeader(RunState& run) {
  run.notes.empty(3);
  run.notes.line("     ITERATION MONITOR DATA");
  run.notes.line("     ----------------------");
}

void writeMonitorLine(RunState& run, int iteration, bool offCurve, int notClosed, int n,
                      const std::vector<double>& w) {
  fmt::Record r;
  r.X(3).I(iteration, 4).X(7);
  if (offCurve) {
    r.lit("YES").X(6);
  } else {
    r.lit("NO").X(7);
  }
  r.I(notClosed, 4).X(2);
  // A wall of fewer than 5 increments has no stations past N to show: their
  // fields stay blank rather than print the fictitious stations' values.
  for (int j = 1; j <= 5; ++j) {
    const size_t i = static_cast<size_t>(j + 4);
    if (j <= n && i < w.size()) {
      r.E(w[i], 10, 3);
    } else {
      r.X(10);
    }
  }
  run.notes.line(r.str());
}

}  // namespace ramvex
