#include "Inc.h"

#include "ProgramData.h"

namespace ramvex {

TDlgInc::TDlgInc(TProgramData& data, QMdiArea* area)
    : TTableButtonDialog(data, area, QStringLiteral("Tieback (Ground Anchor)"), TSketch::Tieback,
                         QStringLiteral("&Enter Tieback data"),
                         [&data]() -> TGridTable& { return *data.Tables().TiebackTable1; }) {}

}  // namespace ramvex
