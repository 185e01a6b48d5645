// Small data files for engine tests.
#pragma once

#include <string>

namespace ramvex::testing {

// A plain problem: a 20-increment wall with one stiffness row and nothing
// else, in units 1.  `control` and `solution` replace the two records.
inline std::string plainProblem(const std::string& title = "PLAIN WALL",
                                const std::string& control = "1 0 1 0 0 0 0 0 0 0",
                                const std::string& specified = "",
                                const std::string& solution = "20 6 10 0.001 60 12",
                                const std::string& continuation = "0") {
  return title + "\n" + control + "\n" + solution + "\n" + specified + "0 20 1 1E9\n0\n0\n" + continuation + "\n";
}

}  // namespace ramvex::testing
