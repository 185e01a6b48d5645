#include "Rebar.h"

#include "ProgramData.h"

namespace ramvex {

TDlgRebar::TDlgRebar(TProgramData& data, QMdiArea* area)
    : TTableButtonDialog(data, area, QStringLiteral("Additional Surcharge"), TSketch::Surcharge,
                         QStringLiteral("&Edit Surcharge Loads"),
                         [&data]() -> TGridTable& { return *data.Tables().SurchargeTable; }) {}

}  // namespace ramvex
