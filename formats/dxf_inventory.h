// What a DXF document holds in DXF words, and leaving out the layers that a
// layer selection does not keep.
#pragma once

#include <optional>
#include <string>

#include "formats/dxf_document.h"
#include "formats/layer_filter.h"
#include "formats/load_summary.h"

namespace pphatch::formats {

/// The name of a $INSUNITS value ("millimeters"); "unitless" for 0 and for
/// values the format does not define.
std::string UnitsName(int insUnits);

/// Entity names, layers with their counts and states (`filter` marks the
/// layers it leaves out), units, thickness and blocks of the document's
/// model space.
FileContents DxfContents(const DxfDocument& document, const LayerFilter& filter);

/// Removes the entities on layers the filter leaves out, from model space
/// and from the blocks, and counts them in the report. In a block, layer
/// "0" stands for the layer of the insert, so those entities stay.
void LeaveOutLayers(DxfDocument& document, const LayerFilter& filter);

}  // namespace pphatch::formats
