#include "RunChecks.h"

#include "NumberText.h"
#include "ProgramData.h"

namespace ramvex {

namespace {

std::string Number(long double v) { return FormatGeneral(v, 15); }

}  // namespace

std::optional<std::string> CheckWallStiffness(const TProgramData& project) {
  const TGridTable& sections = *project.Tables().PileSect;
  const int n = project.IncrementCount;
  for (int r = 0; r < sections.RowCount(); ++r) {
    const std::string row = std::to_string(r + 1);
    const std::string tail = " in row " + row + " of Wall Stiffness definition\nis greater than number of nodes defined, " +
                             std::to_string(n) + ".\nPlease check on Wall Properties Windows and Wall Stiffness Table";
    const int from = sections.Int(0, r);
    if (from > n) return "Initial Node, " + std::to_string(from) + tail;
    const int to = sections.Int(1, r);
    if (to > n) return "End Node, " + std::to_string(to) + tail;
  }
  return std::nullopt;
}

std::optional<std::string> CheckBackfillSlope(const TProgramData& project) {
  const long double slope = project.BackfillSlope;
  if (!(slope > 0)) return std::nullopt;
  const TGridTable& soil = *project.Tables().NewSoil;
  for (int j = 0; j < soil.RowCount(); ++j) {
    const int type = soil.Int(0, j);
    if (type != kSand && type != kSilt) continue;
    const TGridTable* parameters = soil.Nested(2, j);
    // Friction angle at the top of the layer: column 1 of row 1 for both.
    if (!parameters || parameters->RowCount() < 1 || parameters->ColumnCount() < 2) continue;
    const long double angle = parameters->Float(1, 0);
    if (!(angle < slope)) continue;
    const std::string layer = std::to_string(j + 1);
    if (type == kSand) {
      return "Slope of the Backfill: " + Number(slope) + " deg.\nis greater than friction angle, " + Number(angle) +
             " deg.,\nin layer " + layer + "\nPlease check on Wall Configuration and Soil Layers Windows";
    }
    return "Slope of the Backfill: " + Number(slope) + "\nis greater than friction angle, " + Number(angle) +
           ",\nin layer " + layer + "\nPlease check Soil Layers";
  }
  return std::nullopt;
}

std::optional<std::string> CheckProject(const TProgramData& project) {
  if (auto warning = CheckWallStiffness(project)) return warning;
  return CheckBackfillSlope(project);
}

}  // namespace ramvex
