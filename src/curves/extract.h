// Turning a host graphic into a CurveRecord chain.
#pragma once

#include "curves/curve_record.h"
#include "pphatch/host.h"

namespace pphatch {

/// Writes the graphic's chain into the record. False when the record must
/// not be used (any error on the way); an unsupported type leaves the
/// record untouched and gives true. Fields the chosen extractor does not
/// write keep their values.
bool ExtractCurve(const HostGraphicPtr& graphic, CurveRecord& record);

}  // namespace pphatch
