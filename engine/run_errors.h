// The two ways a run ends early.
//
// ErrorStop: an input error.  Its message is already in the report where the
// error was found; the run goes on to the closing step ("END OF ANALYSIS").
// SoilModelStop: a stop requested by a soil-model step.  The run ends at once
// with what the outputs hold so far; the files are closed.
// Neither ever leaves the engine's entry point.
#pragma once

#include <string>

namespace ramvex {

struct ErrorStop {};

// A specified deflection or slope beyond station N + 1: one message, whether
// the reader's order check or the station setup finds it.
inline constexpr const char* kSpecifiedBeyondWall = "     ERROR STOP -- SPECIFIED DEFLECTION OR SLOPE BEYOND THE WALL";

struct SoilModelStop {
  int code = 0;
  std::string reason;
};

}  // namespace ramvex
