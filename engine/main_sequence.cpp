#include "main_sequence.h"

#include <string>

namespace ramvex {

void runProblems(RunState& run) {
  run.report.open(run.reportPath);
  run.plot.open(run.plotPath);
  run.notes.open(run.notesPath);
  run.report.empty(3);
  run.report.line("     END OF ANALYSIS                             ");
}

}  // namespace ramvex
