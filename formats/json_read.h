// Reading the JSON drawing format into an in-memory drawing.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "formats/json_values.h"
#include "memhost/builders.h"

namespace pphatch::formats {

/// Block definitions of a JSON drawing by name, for "insert" shapes.
using JsonBlocks = std::map<std::string, mem::GraphicPtr>;

/// The keys every graphic may carry, whatever its type, and `own`.
std::vector<std::string> GraphicKeys(std::vector<std::string> own);

/// Where a graphic goes: the end of the drawing's list, or the end of the
/// children of `parent` (then `into` is Into(parent)).
struct JsonTarget {
  mem::Into into;
  mem::GraphicPtr parent;
};

/// The drawing described by a parsed JSON document; JsonContentError for
/// content that does not fit the format.
std::shared_ptr<mem::MemDrawing> ReadJsonDrawing(const Json& root);

/// Adds the graphic described by `j` (full form or shorthand) to `into`.
mem::GraphicPtr ReadJsonGraphic(const Json& j, const JsonTarget& target, const std::string& path,
                                const JsonBlocks& blocks);

/// A vertex: [x, y], [x, y, z] or {"x", "y", "z", "pen", "arc"}.
mem::VertexData ReadVertex(const Json& j, const std::string& path);

/// Adds the shorthand shape of lower-case type `type` ("line", "circle",
/// ...) with its own keys; null when `type` names no shorthand.
mem::GraphicPtr AddJsonShape(const std::string& type, const Json& j, const JsonTarget& target,
                             const std::string& path, const JsonBlocks& blocks);

}  // namespace pphatch::formats
