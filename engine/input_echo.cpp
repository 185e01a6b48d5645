#include "input_echo.h"

#include "fortran_format.h"
#include "report_header.h"

namespace ramvex {

void writeProgramControl(RunState& run, const ProblemControl& c, const SolutionControl& s) {
  TextOutput& out = run.report;
  writeBlockFrame(out, "*        PROGRAM CONTROL PARAMETERS              *");
  out.empty();
  auto count = [&](const char* label, int value) { out.line(fmt::Record().X(6).lit(label).I(value, 2)); };
  count("NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  = ", c.nsds);
  count("NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      = ", c.nstif);
  count("GENERATE EARTH PRESSURE INTERNALLY                 = ", c.earthPressureOption >= 2 ? 1 : 0);
  count("GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   = ", c.pyOption == 2 ? 1 : 0);
  count("NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES = ", c.npymod);
  count("NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  = ", c.nupy);
  const std::string& len = run.labels.length3;
  out.line(fmt::Record().X(6).lit("NUMBER OF INCREMENTS                               = ").I(s.increments, 3));
  out.line(fmt::Record().X(6).lit("INCREMENT LENGTH                                   = ").F(s.h, 9, 3).lit(len));
  out.line(fmt::Record().X(6).lit("FREE HEIGHT OF WALL                                = ").F(s.freeHeight, 9, 3).lit(len));
  out.line(fmt::Record().X(6).lit("MAXIMUM ALLOWABLE DEFLECTION                       = ").F(s.maxDeflection, 9, 3).lit(len));
  out.line(fmt::Record().X(6).lit("DEFLECTION CLOSURE TOLERANCE                       = ").PE(s.closureTolerance, 9, 3).lit(len));
}

void writeSpecifiedRows(RunState& run, const std::vector<SpecifiedRow>& rows) {
  TextOutput& out = run.report;
  if (rows.empty()) {
    out.empty();
    out.line(std::string(20, ' '));
    return;
  }
  writeBlockFrame(out, "*        SPECIFIED DEFLECTIONS AND SLOPES        *");
  out.empty();
  out.line("          STA      CASE       DEFLECTION        SLOPE");
  out.empty();
  for (const SpecifiedRow& r : rows) {
    fmt::Record line;
    line.X(10).I(r.station, 3).X(7).I(r.caseCode, 2);
    if (r.caseCode >= 3) line.X(3).X(5).E(r.deflection, 10, 3).X(5).E(r.slope, 10, 3);
    else if (r.caseCode == 2) line.X(11).lit("NONE").X(8).E(r.slope, 10, 3);
    else line.X(8).E(r.deflection, 10, 3).X(9).lit("NONE");
    out.line(line);
  }
}

}  // namespace ramvex
