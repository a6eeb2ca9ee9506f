// The JSON drawing format: the in-memory host's model written as JSON, plus
// shorthand shapes for drawings written by hand. docs/drawing-format.md
// describes it.
#pragma once

#include <string>

#include "formats/errors.h"
#include "formats/load_summary.h"
#include "memhost/drawing.h"

namespace pphatch::formats {

/// Reads a JSON drawing file. ReadError names the file and the line (for
/// syntax errors) or the JSON path (for content errors, "/graphics/3/vertices").
LoadedDrawing ReadJsonFile(const std::string& path);

/// Reads JSON drawing text; `name` stands for the file in error messages.
LoadedDrawing ReadJsonText(const std::string& text, const std::string& name);

/// The drawing in the format's full form: reading it back gives a drawing
/// equal to this one in everything but graphic IDs.
std::string WriteJsonText(const mem::MemDrawing& drawing);

/// Writes WriteJsonText to a file; WriteError when it cannot be written.
void WriteJsonFile(const mem::MemDrawing& drawing, const std::string& path);

}  // namespace pphatch::formats
