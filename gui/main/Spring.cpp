#include "Spring.h"

#include "ProgramData.h"

namespace ramvex {

TDlgSpring::TDlgSpring(TProgramData& data, QMdiArea* area)
    : TOptionTableDialog(data, area, QStringLiteral("Lateral & Rotational Springs"), TSketch::Springs,
                         QStringLiteral("&Lateral and Rotational Springs"), &TProgramData::ApplySprings,
                         QStringLiteral("&Edit Spring Stiffness"),
                         [&data]() -> TGridTable& { return *data.Tables().SoilStrength; }) {}

}  // namespace ramvex
