#include "engine_run.h"

#include <cstdio>
#include <exception>

#include "main_sequence.h"
#include "run_context.h"
#include "run_state.h"

namespace ramvex {

int runEngine() noexcept {
  try {
    RunState run;
    if (!readRunContext(run)) {
      std::fputs(" PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n", stderr);
      std::fputs(" BEFORE COMPUTATION.  TRY IT AGAIN!\n", stderr);
      return 0;
    }
    runProblems(run);
  } catch (const std::exception& e) {
    std::fprintf(stderr, " RAMVEX ENGINE: RUN ABANDONED: %s\n", e.what());
  } catch (...) {
    std::fputs(" RAMVEX ENGINE: RUN ABANDONED\n", stderr);
  }
  return 0;
}

}  // namespace ramvex
