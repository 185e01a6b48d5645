#include "earth_pressure_echo.h"

#include "fortran_format.h"
#include "report_header.h"

namespace ramvex {
namespace {

void writeHeading(RunState& run) {
  TextOutput& out = run.report;
  out.empty(2);
  out.line("         DEPTH         ACTIVE EARTH PRESSURE");
  out.line(fmt::Record().X(8).X(1).lit(run.labels.length3).X(17).lit(run.labels.force4).lit("/").lit(run.labels.length2));
  out.line("        --------       ------------------------");
}

void writeRow(RunState& run, double depth, double load) {
  run.report.line(fmt::Record().X(6).E(depth, 10, 3).X(10).E(load, 10, 3));
}

}  // namespace

std::vector<size_t> printedEarthPressurePoints(size_t count, int units) {
  std::vector<size_t> printed;
  const size_t step = count <= 50 ? 1 : (units == 1 ? 6 : 4);
  for (size_t i = 0; i < count; i += step) printed.push_back(i);
  if (count > 0 && printed.back() != count - 1) printed.push_back(count - 1);
  return printed;
}

void writeUserEarthPressure(RunState& run, const ProblemInput& input) {
  writeBlockFrame(run.report, "*        SPECIFIED ACTIVE EARTH PRESSURE         *");
  run.report.empty();
  writeHeading(run);
  for (const EarthPressureRow& r : input.earthPressure) writeRow(run, r.depth, r.lineLoad);
}

void writeGeneratedEarthPressure(RunState& run, const EarthPressureTable& table, const std::vector<size_t>& printed) {
  writeHeading(run);
  for (size_t i : printed) writeRow(run, table[i].depth, table[i].total);
}

}  // namespace ramvex
