// A build without the program's result libraries: the runner still tells
// how every problem ended, but writes no summary, CSV or report.
#include <cstdio>

#include "run_results.h"

namespace ramvex::run {

bool ResultsAvailable() { return false; }

bool WriteResults(const TRunFiles&, const TRunOptions&, int, char**) {
  std::fprintf(stderr, "ramvex-run: this build has no summary, CSV or PDF output\n");
  return false;
}

}  // namespace ramvex::run
