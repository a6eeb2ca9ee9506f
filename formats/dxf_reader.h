// Reading DXF files (R12 to R2018, text or binary) into an in-memory drawing.
//
// Model-space entities become graphics of the host's kinds:
//   LINE -> "GRAPHIC" line; LWPOLYLINE, 2D/3D POLYLINE -> "PWW50Polyline"
//   (bulges become arc runs); CIRCLE -> "CIRCLE"; ARC, partial ELLIPSE ->
//   "ARC"; full ELLIPSE -> "CIRCLE" with an axis ratio; SPLINE ->
//   "PWW30CURVE" sampled from its control points (or through its fit
//   points); INSERT (with rows and columns) -> "INSERT" whose children are
//   the block's entities, placed;
// and the entities that never bound an area to the kinds the scan leaves
// out: HATCH -> closed chains with info text "Hatch"; DIMENSION ->
// "PWW25DimLin" (and the other dimension kinds); LEADER -> "PWW25DimLead";
// POINT -> "PWW30POINT"; SOLID, TRACE, 3DFACE -> "PWW40CUBE"; 3DSOLID,
// REGION, BODY -> "PWW60ACISSOLID"; surfaces -> "SURFACE".
//
// Coordinates are projected onto the world XY plane after each entity's own
// coordinate system (its extrusion direction) and every enclosing insert
// have been applied; so a mirrored arc (extrusion 0,0,-1) lands where CAD
// programs draw it. Entities on layers that are off or frozen, and paper
// space, are not loaded; entities that are not understood are counted in
// the report.
#pragma once

#include <string>

#include "formats/errors.h"
#include "formats/layer_filter.h"
#include "formats/load_summary.h"

namespace pphatch::formats {

/// Reads the DXF file at `path`, leaving out the entities on the layers
/// that `layers` does not keep. Throws ReadError naming the file (and the
/// line, or the byte offset in a binary DXF file, where known) for a missing,
/// empty, malformed or truncated file, or binary data that is no DXF.
LoadedDrawing ReadDxfFile(const std::string& path, const LayerFilter& layers = {});

/// Reads a DXF file's content (text or binary); `name` stands for the file in
/// error messages.
LoadedDrawing ReadDxfText(const std::string& text, const std::string& name);

/// ReadDxfText with a layer selection.
LoadedDrawing ReadDxfTextOfLayers(const std::string& text, const std::string& name,
                                  const LayerFilter& layers);

}  // namespace pphatch::formats
