#include "ConLoads.h"

#include "ProgramData.h"

namespace ramvex {

TDlgConLoads::TDlgConLoads(TProgramData& data, QMdiArea* area)
    : TOptionTableDialog(data, area, QStringLiteral("Concentrated Loads"), TSketch::ConcentratedLoads,
                         QStringLiteral("Apply &Concentrated Loads"), &TProgramData::ApplyConcentratedLoads,
                         QStringLiteral("&Edit Concentrated Loads"),
                         [&data]() -> TGridTable& { return *data.Tables().BoundCond; }) {}

}  // namespace ramvex
