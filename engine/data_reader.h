// Readers of the data file's sections, one function per section, in the
// order the sections stand in a problem.  They parse and check ranges;
// what the values mean for the wall is decided by their users.
#pragma once

#include "data_file.h"
#include "problem_input.h"

namespace ramvex {

std::string readTitleRecord(DataFile& file);
ProblemControl readProblemControl(DataFile& file);
// Counts that would overrun the engine's tables are refused; a negative
// NSDS, NSTIF or NUPY is left for the caller, which ends the run quietly.
void checkProblemControl(const ProblemControl& control, int line);
SolutionControl readSolutionControl(DataFile& file);
std::vector<SpecifiedRow> readSpecifiedRows(DataFile& file, int count);
std::vector<StiffnessRow> readStiffnessRows(DataFile& file, int count);
std::vector<LoadRow> readLoadRows(DataFile& file);
// Spring rows with their count record, then `tiebackCount` tieback rows.
void readSpringAndTiebackRows(DataFile& file, int units, double h, int tiebackCount, ProblemInput& input);
std::vector<PyModRow> readPyModRows(DataFile& file, int count);
std::vector<EarthPressureRow> readEarthPressureRows(DataFile& file);
void readSiteRecords(DataFile& file, int units, ProblemInput& input);
std::vector<UserPyCurve> readUserCurves(DataFile& file, int count);
std::vector<MomentEiCurve> readMomentEiCurves(DataFile& file, int count, int increments);
int readContinuation(DataFile& file);

// Nearest station of a depth: depth / h rounded half away from zero; depths
// in feet (units 1) are turned into inches first.
int tiebackStation(double depth, int units, double h, int line);

}  // namespace ramvex
