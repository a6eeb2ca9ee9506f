// Reading the JSON drawing format into an in-memory drawing.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "formats/json_values.h"
#include "formats/load_summary.h"
#include "memhost/builders.h"

namespace pphatch::formats {

/// What reading a JSON drawing keeps track of: block definitions by name,
/// for "insert" shapes, and the graphics made so far.
struct JsonReadState {
  std::map<std::string, mem::GraphicPtr> blocks;
  double graphics = 0;
  double maxGraphics = kMaxLoadedGraphics;
};

/// The keys every graphic may carry, whatever its type, and `own`.
std::vector<std::string> GraphicKeys(std::vector<std::string> own);

/// Where a graphic goes: the end of the drawing's list, or the end of the
/// children of `parent` (then `into` is Into(parent)).
struct JsonTarget {
  mem::Into into;
  mem::GraphicPtr parent;
  int depth = 0;  ///< how many graphics enclose this one
};

/// Deepest nesting of children read; deeper drawings are refused (this
/// bounds the recursion of the reader and of everything that walks the drawing).
inline constexpr int kMaxJsonNesting = 100;

/// The drawing described by a parsed JSON document; JsonContentError for
/// content that does not fit the format or would make more than
/// `maxGraphics` graphics.
std::shared_ptr<mem::MemDrawing> ReadJsonDrawing(const Json& root,
                                                 double maxGraphics = kMaxLoadedGraphics);

/// Adds the graphic described by `j` (full form or shorthand) to `into`.
mem::GraphicPtr ReadJsonGraphic(const Json& j, const JsonTarget& target, const std::string& path,
                                JsonReadState& state);

/// A vertex: [x, y], [x, y, z] or {"x", "y", "z", "pen", "arc"}.
mem::VertexData ReadVertex(const Json& j, const std::string& path);

/// Adds the shorthand shape of lower-case type `type` ("line", "circle",
/// ...) with its own keys; null when `type` names no shorthand.
mem::GraphicPtr AddJsonShape(const std::string& type, const Json& j, const JsonTarget& target,
                             const std::string& path, JsonReadState& state);

/// Counts `count` more graphics; JsonContentError at `path` when the
/// drawing would then hold more than the state allows.
void CountGraphics(JsonReadState& state, double count, const std::string& path);

}  // namespace pphatch::formats
