// `pphatch info`: what was loaded from a drawing.
#include <cstdio>
#include <iostream>
#include <string>

#include "cli_error.h"
#include "commands.h"
#include "load.h"

namespace pphatch::cli {

namespace {

// A coordinate in short form.
std::string Short(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

}  // namespace

int RunInfoCommand(const std::string& drawing) {
  const formats::LoadedDrawing loaded = LoadDrawing(drawing);
  const formats::LoadSummary& summary = loaded.summary;
  std::cout << drawing << '\n';
  std::cout << "  graphics: " << summary.graphicCount << " top-level, "
            << summary.graphicsAtAnyDepth << " at any depth\n";
  for (const auto& [type, count] : summary.graphicsByType) {
    std::cout << "    " << type << std::string(type.size() < 16 ? 16 - type.size() : 1, ' ')
              << count << '\n';
  }
  if (summary.extents) {
    const mem::Box& b = *summary.extents;
    std::cout << "  extents: x " << Short(b.minX) << " .. " << Short(b.maxX) << ", y "
              << Short(b.minY) << " .. " << Short(b.maxY) << " (" << Short(b.maxX - b.minX)
              << " x " << Short(b.maxY - b.minY) << ")\n";
  } else {
    std::cout << "  extents: none (no geometry)\n";
  }
  const auto lines = summary.report.Lines();
  if (lines.empty()) std::cout << "  nothing ignored\n";
  for (const std::string& line : lines) std::cout << "  " << line << '\n';
  return kExitAllFound;
}

}  // namespace pphatch::cli
