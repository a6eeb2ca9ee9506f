// Writes a benchmark floor plan as a DXF file and its click points beside it,
// for measuring the tools on large drawings (`pphatch view` in the browser).
#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "bench/drawings.h"
#include "formats/dxf_writer.h"

int main(int argc, char** argv) {
  std::size_t pieces = 1'000'000;
  std::uint32_t seed = 1;
  int clicks = 200;
  std::string output = "plan.dxf";
  CLI::App app{"Writes a generated floor plan as DXF, and its click points as OUTPUT.points"};
  app.add_option("--pieces", pieces, "about this many straight pieces");
  app.add_option("--seed", seed, "seed of the plan and the clicks");
  app.add_option("--clicks", clicks, "click points to write")->check(CLI::PositiveNumber);
  app.add_option("-o,--output", output, "the DXF file to write");
  CLI11_PARSE(app, argc, argv);

  using namespace pphatch;
  const bench::Plan plan = bench::MakeFloorPlan(pieces, seed, clicks);
  formats::WriteDxfResult(output, {}, bench::BuildDrawing(plan).get());
  std::ofstream points(output + ".points");
  points.precision(17);
  for (const bench::Vec2 p : plan.clicks) points << p.x << ' ' << p.y << '\n';
  std::cout << output << ": " << bench::PlanPieces(plan).size() << " pieces, " << plan.clicks.size()
            << " click points in " << output << ".points\n";
  return points ? 0 : 1;
}
