// The C++ side of the Python timing (bench/python_picks.py): writes a
// generated floor plan as DXF, reads it back as the Python module does, and
// times each click through the same C++ call the module makes, one click a
// call. Prints one JSON object per click: {"x", "y", "ok", "area", "seconds"},
// the area as the call measures it (on the true curves) and seconds the
// fastest of the rounds.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "bench/drawings.h"
#include "formats/dxf_reader.h"
#include "formats/dxf_writer.h"
#include "picking.h"

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

int main(int argc, char** argv) {
  std::size_t pieces = 10000;
  int clicks = 20, rounds = 5;
  unsigned seed = 1;
  std::string dxf;
  CLI::App app{"Times clicks through the C++ call the Python module makes"};
  app.add_option("--pieces", pieces, "floor plan size, in straight pieces");
  app.add_option("--clicks", clicks, "clicks in the plan")->check(CLI::PositiveNumber);
  app.add_option("--rounds", rounds, "times each click is made; the fastest counts")
      ->check(CLI::PositiveNumber);
  app.add_option("--seed", seed, "seed of the plan and its clicks");
  app.add_option("--dxf", dxf, "where to write the plan as DXF")->required();
  CLI11_PARSE(app, argc, argv);

  const pphatch::bench::Plan plan = pphatch::bench::MakeFloorPlan(pieces, seed, clicks);
  pphatch::formats::WriteDxfResult(dxf, {}, pphatch::bench::BuildDrawing(plan).get());
  const auto drawing = pphatch::formats::ReadDxfFile(dxf).drawing;
  // Rounds go over all the clicks in turn, as the Python side makes them.
  const std::size_t n = plan.clicks.size();
  std::vector<double> best(n, std::numeric_limits<double>::infinity());
  std::vector<pphatch::cli::PickOutcome> outcomes(n);
  for (int r = 0; r < rounds; ++r) {
    for (std::size_t i = 0; i < n; ++i) {
      const pphatch::mem::Vec2 click = plan.clicks[i];
      const auto start = Clock::now();
      outcomes[i] = pphatch::cli::RunPicks(drawing, {{click.x, click.y}}).front();
      best[i] = std::min(best[i], std::chrono::duration<double>(Clock::now() - start).count());
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    std::printf("{\"x\": %.17g, \"y\": %.17g, \"ok\": %s, \"area\": %.17g, \"seconds\": %.9g}\n",
                plan.clicks[i].x, plan.clicks[i].y, outcomes[i].ok ? "true" : "false",
                outcomes[i].ok ? outcomes[i].measures.area : 0.0, best[i]);
  }
  return 0;
}
