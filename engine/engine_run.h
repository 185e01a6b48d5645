// One whole engine run: reads "names.dat" in the current directory, analyses
// every problem of the data file and writes the report, the plot-data file
// and the run notes.  Never throws; returns the run status (0).
#pragma once

namespace ramvex {
int runEngine() noexcept;
}
