// A canonical text of a whole drawing, to prove that work left it unchanged.
#pragma once

#include <string>

namespace pphatch::mem {

class MemDrawing;

/// Everything a user could see change in the drawing, one item a line:
/// its properties and workplane, then every graphic of its list in order
/// with ID, type, info text, flags, workplane, properties, exact shape,
/// vertices (coordinates to 17 digits, pen and arc flags) and children,
/// recursively. Two snapshots are equal exactly when nothing changed.
std::string Snapshot(const MemDrawing& drawing);

}  // namespace pphatch::mem
