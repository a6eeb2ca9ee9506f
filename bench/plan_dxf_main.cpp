// pphatch_plan_dxf: writes a benchmark floor plan as a DXF file, with its
// click points beside it (one "X Y" a line), for timing the command-line
// tool and other DXF readers on the same drawing.
//
//   pphatch_plan_dxf PIECES OUT.dxf [POINTS.txt]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/drawings.h"
#include "formats/dxf_writer.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: pphatch_plan_dxf PIECES OUT.dxf [POINTS.txt]\n");
    return 2;
  }
  const auto pieces = static_cast<std::size_t>(std::strtoull(argv[1], nullptr, 10));
  const pphatch::bench::Plan plan = pphatch::bench::MakeFloorPlan(pieces, 1, 20);
  const auto drawing = pphatch::bench::BuildDrawing(plan);
  pphatch::formats::WriteDxfResult(argv[2], {}, drawing.get());
  if (argc > 3) {
    std::ofstream points(argv[3]);
    points.precision(17);
    for (const auto& click : plan.clicks) points << click.x << ' ' << click.y << '\n';
  }
  return 0;
}
