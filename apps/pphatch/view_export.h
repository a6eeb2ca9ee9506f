// The hatches of `pphatch view` as files to download.
#pragma once

#include <string>
#include <vector>

#include "memhost/drawing.h"
#include "picking.h"
#include "view_api.h"
#include "points.h"

namespace pphatch::cli {

/// A file made for download.
struct ExportFile {
  std::string contentType;
  std::string extension;  ///< ".dxf", ".svg" or ".jsonl"
  std::string body;
};

/// Hatches the points again and writes the outcomes as `format`: "dxf" (the
/// drawing with a HATCH per found area, as `pphatch pick --format dxf`
/// writes it), "svg" (as `--format svg`) or "jsonl" (as `--format json`).
/// `units` are the drawing's, for the JSON lines. BadRequest for another
/// format; formats::WriteError when the file cannot be made. Runs on the
/// thread that owns `picker` and `drawing`.
ExportFile Export(const std::string& format, const std::vector<ExportPoint>& points,
                  Picker& picker, mem::MemDrawing& drawing, const std::string& units);

}  // namespace pphatch::cli
