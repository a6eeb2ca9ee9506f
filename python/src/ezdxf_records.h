// An ezdxf document, as records made by the package's _ezdxf.py, turned into
// the document the DXF reader makes of a file: the reader's placement rules
// (object coordinate systems, blocks, hidden layers) then apply unchanged.
#pragma once

#include <pybind11/pybind11.h>

#include "formats/dxf_document.h"

namespace pphatch::python {

/// The document of these records. `layers` maps each layer name to true when
/// it is hidden (off or frozen); `blocks` holds (name, base point, entity
/// records); `entities` the model-space entity records; `tileMode` is the
/// header's $TILEMODE or None. An entity record is (DXF name, layer,
/// extrusion, thickness, kind, data), kind and data as _ezdxf.py documents
/// them. Throws std::invalid_argument for a record of an unknown kind.
formats::DxfDocument DocumentFromRecords(const pybind11::dict& layers, const pybind11::list& blocks,
                                         const pybind11::list& entities,
                                         const pybind11::object& tileMode);

}  // namespace pphatch::python
