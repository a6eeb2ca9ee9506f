// pphatch_compare: per-click cost of pphatch and of two peer libraries on the
// same benchmark drawings and the same clicks.
//
//   pphatch  CreateClosedContour through the in-memory host, the view set up
//            for each click as the command-line tool does it;
//   GEOS     the whole drawing per click: node all pieces (unary union),
//            polygonize, find the face holding the click;
//   CGAL     the whole drawing per click: build the arrangement of all pieces
//            (segment traits, exact predicates and constructions), locate the
//            click, read the face's boundary; and, separately, locating the
//            click in an arrangement built beforehand.
//
// The drawings: floor plans of growing size (every click in a room of the
// same size), random segments, and the scaling rows: one area whose
// boundary grows (a gear outline of separate lines, and the same outline as
// one polyline), and one room whose island count grows.
//
// Prints a table (p50 and p95 per click, pphatch's p50 over each peer's) and
// writes it as CSV. A peer whose click is estimated, from the smaller sizes,
// to take longer than the limit is marked skipped at that size.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/drawings.h"
#include "bench/peer_cgal.h"
#include "bench/peer_geos.h"
#include "bench/plan.h"
#include "bench/pphatch_run.h"
#include "bench/report.h"
#include "formats/dxf_reader.h"
#include "formats/dxf_writer.h"

namespace pphatch::bench {
namespace {

// Two areas are the same area when they differ by less than this fraction.
constexpr double kAreaAgreement = 1e-6;
// Clicks where a peer disagrees that are listed, per peer and drawing.
constexpr int kDisagreementsShown = 3;
// pphatch makes at least this many clicks on a drawing, whatever its budget.
constexpr std::size_t kMinClicks = 5;

// What to run, from the command line.
struct Settings {
  std::vector<std::size_t> sizes{1000, 10000, 100000, 1000000};
  std::size_t randomSegments = 5000;
  int clicks = 200;
  // The scaling rows: boundary pieces of the gear, islands of the room, the
  // clicks on each of their drawings, and the time pphatch and each peer
  // may spend on one of them.
  std::vector<std::size_t> boundaries{1000, 10000, 100000};
  std::vector<std::size_t> islands{1000, 10000, 100000};
  int scaleClicks = 30;
  double scaleSeconds = 10;       // pphatch's clicks, at least kMinClicks
  double scaleBudgetSeconds = 3;  // one peer
  double scaleLimitSeconds = 5;   // a peer click estimated longer is skipped
  unsigned seed = 1;
  double limitSeconds = 60;   // a peer click estimated longer than this is skipped
  double budgetSeconds = 20;  // time spent on one peer at one size, at most
  // Time spent on pphatch's clicks on one drawing (0: no limit); at least
  // kMinClicks are made.
  double ourBudgetSeconds = 0;
  std::string csv = "bench-results.csv";
  bool dxf = false;
  bool peers = true;
  ViewChoice view = ViewChoice::kAroundClick;
  int viewCheckClicks = 0;
};

using Clock = std::chrono::steady_clock;

// Wall-clock seconds since `start`.
double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// True when both found the same area, or neither found one.
bool SameArea(const ClickOutcome& ours, const std::optional<double>& theirs) {
  if (!ours.ok || !theirs) return !ours.ok && !theirs;
  return std::fabs(ours.area - *theirs) <= kAreaAgreement * std::max(1.0, std::fabs(*theirs));
}

// What the last measured size of one peer tells about the next one: a click
// grows like n log n with the number of pieces n.
struct Trend {
  std::size_t pieces = 0;
  double seconds = 0;

  double EstimateFor(std::size_t n) const {
    if (pieces == 0) return 0;
    const double growth = static_cast<double>(n) / static_cast<double>(pieces);
    return seconds * growth * std::log(static_cast<double>(n)) /
           std::log(static_cast<double>(std::max<std::size_t>(pieces, 2)));
  }
};

// Times a peer's whole path on the clicks, as many as the budget allows (at
// least one), or marks it skipped when the trend says one click would take
// longer than the limit.
Timing TimePeer(const char* name, const std::function<std::optional<double>(Vec2)>& click,
                const std::vector<Vec2>& clicks, const std::vector<ClickOutcome>& ours,
                std::size_t pieces, Trend& trend, const Settings& settings) {
  Timing timing;
  const double estimate = trend.EstimateFor(pieces);
  if (estimate > settings.limitSeconds) {
    timing.skipped = true;
    timing.estimate = estimate;
    trend = {pieces, estimate};
    std::fprintf(stderr, "  %s: skipped, about %.0f s per click\n", name, estimate);
    return timing;
  }
  const auto start = Clock::now();
  for (std::size_t i = 0; i < clicks.size(); ++i) {
    if (i > 0 && SecondsSince(start) > settings.budgetSeconds) break;
    const auto t0 = Clock::now();
    const std::optional<double> area = click(clicks[i]);
    timing.seconds.push_back(SecondsSince(t0));
    ++timing.compared;
    if (SameArea(ours[i], area)) {
      ++timing.agreeing;
    } else if (timing.compared - timing.agreeing <= kDisagreementsShown) {
      std::fprintf(stderr, "  %s disagrees at (%.17g, %.17g): pphatch %s %.9g, %s %s %.9g\n", name,
                   clicks[i].x, clicks[i].y, ours[i].ok ? "area" : "fails", ours[i].area, name,
                   area ? "area" : "no face", area.value_or(0));
    }
  }
  trend = {pieces, timing.P50()};
  std::fprintf(stderr, "  %s: %zu clicks, p50 %.1f ms\n", name, timing.seconds.size(),
               timing.P50() * 1e3);
  return timing;
}

// Writes the drawing as DXF and reads it back; the read's rate in MB/s.
double DxfLoadRate(const std::shared_ptr<mem::MemDrawing>& drawing, const std::string& label) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("pphatch-bench-" + label + ".dxf");
  formats::WriteDxfResult(path.string(), {}, drawing.get());
  const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  const auto start = Clock::now();
  const auto loaded = formats::ReadDxfFile(path.string());
  const double seconds = SecondsSince(start);
  std::filesystem::remove(path);
  return megabytes / seconds;
}

// Runs each click with the view around the click and with the whole drawing
// in view, and reports clicks whose contours differ.
void CheckViews(const Plan& plan, const std::shared_ptr<mem::MemDrawing>& drawing, int count) {
  PphatchClicker around(drawing, ViewChoice::kAroundClick);
  std::vector<ClickOutcome> first;
  const std::size_t n = std::min(plan.clicks.size(), static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < n; ++i) first.push_back(around.Click(plan.clicks[i]));
  PphatchClicker whole(drawing, ViewChoice::kWholeDrawing);
  int same = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const ClickOutcome other = whole.Click(plan.clicks[i]);
    const bool equal = first[i].ok == other.ok &&
                       first[i].contours.size() == other.contours.size() &&
                       std::equal(first[i].contours.begin(), first[i].contours.end(),
                                  other.contours.begin(), [](const auto& a, const auto& b) {
                                    return std::equal(a.begin(), a.end(), b.begin(), b.end());
                                  });
    if (equal) {
      ++same;
      continue;
    }
    std::fprintf(stderr, "  view check: click (%.17g, %.17g): around %s %.9g, whole %s %.9g\n",
                 plan.clicks[i].x, plan.clicks[i].y, first[i].ok ? "area" : "fails", first[i].area,
                 other.ok ? "area" : "fails", other.area);
  }
  std::fprintf(stderr, "  view check: %d of %zu clicks give the same contours in both views\n",
               same, n);
}

// One drawing: pphatch on every click, then the peers.
Row RunDrawing(const Plan& plan, const std::string& label, Trend& geosTrend, Trend& cgalTrend,
               Trend& buildTrend, const Settings& settings) {
  std::fprintf(stderr, "%s: %s\n", label.c_str(), plan.name.c_str());
  Row row;
  row.drawing = label;
  const std::shared_ptr<mem::MemDrawing> drawing = BuildDrawing(plan);
  const std::vector<Piece> pieces = PlanPieces(plan);
  row.pieces = pieces.size();
  row.graphics = drawing->List()->Count();

  std::vector<ClickOutcome> ours;
  {
    PphatchClicker clicker(drawing, settings.view);
    clicker.Click(plan.clicks.front());  // the host's index is built at the first pick
    const auto start = Clock::now();
    for (const Vec2 c : plan.clicks) {
      if (settings.ourBudgetSeconds > 0 && ours.size() >= kMinClicks &&
          SecondsSince(start) > settings.ourBudgetSeconds) {
        break;
      }
      ours.push_back(clicker.Click(c));
      row.pphatch.seconds.push_back(ours.back().seconds);
      row.pphatchCpu.push_back(ours.back().cpuSeconds);
      row.peakKiB.push_back(static_cast<double>(ours.back().peakBytes) / 1024);
      if (ours.back().ok) ++row.found;
    }
  }
  // The clicks made; the peers make the same ones.
  const std::vector<Vec2> clicks(plan.clicks.begin(),
                                 plan.clicks.begin() + static_cast<std::ptrdiff_t>(ours.size()));
  row.clicks = static_cast<int>(clicks.size());
  std::fprintf(stderr, "  pphatch: %d of %d found, p50 %.3f ms, p95 %.3f ms\n", row.found,
               row.clicks, row.pphatch.P50() * 1e3, row.pphatch.P95() * 1e3);
  if (plan.expectedContours > 0) {
    row.expected = 0;
    for (std::size_t i = 0; i < ours.size(); ++i) {
      const ClickOutcome& o = ours[i];
      if (o.ok && o.contours.size() == plan.expectedContours &&
          std::fabs(o.area - plan.expectedArea) <= kAreaAgreement * plan.expectedArea) {
        ++row.expected;
      } else if (static_cast<int>(i) - row.expected < kDisagreementsShown) {
        std::fprintf(stderr, "  pphatch: click (%.17g, %.17g): %s %.9g with %zu contours\n",
                     clicks[i].x, clicks[i].y, o.ok ? "area" : "fails", o.area,
                     o.contours.size());
      }
    }
    std::fprintf(stderr, "  pphatch: %d of %d clicks found the area %.9g with %zu contours\n",
                 row.expected, row.clicks, plan.expectedArea, plan.expectedContours);
  }
  const auto slowest = std::max_element(
      ours.begin(), ours.end(), [](const auto& a, const auto& b) { return a.seconds < b.seconds; });
  const Vec2 slow = clicks[static_cast<std::size_t>(slowest - ours.begin())];
  std::fprintf(stderr, "  pphatch: slowest click (%.17g, %.17g): %.3f ms, %zu contours\n", slow.x,
               slow.y, slowest->seconds * 1e3, slowest->contours.size());
  if (settings.viewCheckClicks > 0) CheckViews(plan, drawing, settings.viewCheckClicks);
  if (settings.dxf) row.dxfMBps = DxfLoadRate(drawing, std::to_string(row.pieces));
  if (!settings.peers) return row;

  row.geos = TimePeer(
      "GEOS", [&](Vec2 c) { return GeosAreaForClick(pieces, c); }, clicks, ours, row.pieces,
      geosTrend, settings);
  row.cgal = TimePeer(
      "CGAL", [&](Vec2 c) { return CgalAreaForClick(pieces, c); }, clicks, ours, row.pieces,
      cgalTrend, settings);

  // Locating in an arrangement built once: worth it while one build fits the limit.
  const double buildEstimate = buildTrend.EstimateFor(row.pieces);
  if (buildEstimate > settings.limitSeconds) {
    row.cgalLocate.skipped = true;
    row.cgalLocate.estimate = buildEstimate;
    buildTrend = {row.pieces, buildEstimate};
    std::fprintf(stderr, "  CGAL prebuilt: skipped, build about %.0f s\n", buildEstimate);
  } else {
    const auto start = Clock::now();
    const CgalArrangement arrangement(pieces, CgalArrangement::Locator::kLandmarks);
    row.cgalBuildSeconds = SecondsSince(start);
    buildTrend = {row.pieces, row.cgalBuildSeconds};
    for (std::size_t i = 0; i < clicks.size(); ++i) {
      const auto t0 = Clock::now();
      const std::optional<double> area = arrangement.AreaAround(clicks[i]);
      row.cgalLocate.seconds.push_back(SecondsSince(t0));
      ++row.cgalLocate.compared;
      if (SameArea(ours[i], area)) ++row.cgalLocate.agreeing;
    }
    std::fprintf(stderr, "  CGAL prebuilt: build %.1f s, locate p50 %.3f ms\n",
                 row.cgalBuildSeconds, row.cgalLocate.P50() * 1e3);
  }
  return row;
}

// "1k", "10k", "1M" for a piece count.
std::string SizeLabel(std::size_t n) {
  if (n >= 1000000 && n % 1000000 == 0) return std::to_string(n / 1000000) + "M";
  if (n >= 1000 && n % 1000 == 0) return std::to_string(n / 1000) + "k";
  return std::to_string(n);
}

}  // namespace
}  // namespace pphatch::bench

int main(int argc, char** argv) {
  using namespace pphatch::bench;
  Settings settings;
  CLI::App app{"Per-click cost of pphatch, GEOS and CGAL on generated drawings"};
  app.add_option("--sizes", settings.sizes, "floor plan sizes, in straight pieces (0: none)")
      ->delimiter(',');
  app.add_option("--random", settings.randomSegments, "segments of the random drawing (0: none)");
  app.add_option("--clicks", settings.clicks, "clicks per drawing")->check(CLI::PositiveNumber);
  app.add_option("--seed", settings.seed, "seed of the drawings and clicks");
  app.add_option("--limit", settings.limitSeconds, "skip a peer whose click would take longer (s)");
  app.add_option("--budget", settings.budgetSeconds, "time for one peer at one size (s)");
  app.add_option("--csv", settings.csv, "where to write the table as CSV");
  app.add_flag("--dxf", settings.dxf, "also measure the DXF load rate of each drawing");
  app.add_flag("!--no-peers", settings.peers, "measure pphatch alone");
  app.add_option("--view", settings.view, "view for each click: around (the click) or whole")
      ->transform(CLI::CheckedTransformer(std::map<std::string, ViewChoice>{
          {"around", ViewChoice::kAroundClick}, {"whole", ViewChoice::kWholeDrawing}}));
  app.add_option("--view-check", settings.viewCheckClicks,
                 "compare this many clicks with the whole drawing in view");
  app.add_option("--boundaries", settings.boundaries,
                 "scaling rows: boundary pieces of the gear, drawn as lines and as a polyline "
                 "(0: none)")
      ->delimiter(',');
  app.add_option("--islands", settings.islands, "scaling rows: islands in the room (0: none)")
      ->delimiter(',');
  app.add_option("--scale-clicks", settings.scaleClicks, "scaling rows: clicks per drawing")
      ->check(CLI::PositiveNumber);
  app.add_option("--scale-time", settings.scaleSeconds,
                 "scaling rows: time for pphatch's clicks on one drawing (s; at least 5 clicks)");
  app.add_option("--scale-budget", settings.scaleBudgetSeconds,
                 "scaling rows: time for one peer on one drawing (s)");
  app.add_option("--scale-limit", settings.scaleLimitSeconds,
                 "scaling rows: skip a peer whose click would take longer (s)");
  CLI11_PARSE(app, argc, argv);

  std::vector<Row> rows;
  Trend geos, cgal, build;
  for (const std::size_t size : settings.sizes) {
    if (size == 0) continue;
    const Plan plan = MakeFloorPlan(size, settings.seed, settings.clicks);
    rows.push_back(RunDrawing(plan, "floor plan " + SizeLabel(size), geos, cgal, build, settings));
  }
  if (settings.randomSegments > 0) {
    Trend g, c, b;
    const Plan plan = MakeRandomSegments(settings.randomSegments, settings.seed, settings.clicks);
    rows.push_back(
        RunDrawing(plan, "random " + SizeLabel(settings.randomSegments), g, c, b, settings));
  }
  // The scaling rows: fewer clicks, and a shorter time for each contender.
  Settings scaling = settings;
  scaling.ourBudgetSeconds = settings.scaleSeconds;
  scaling.budgetSeconds = settings.scaleBudgetSeconds;
  scaling.limitSeconds = settings.scaleLimitSeconds;
  for (const OutlineAs outline : {OutlineAs::kLines, OutlineAs::kPolyline}) {
    Trend g, c, b;
    for (const std::size_t pieces : settings.boundaries) {
      if (pieces == 0) continue;
      const Plan plan = MakeGearBoundary(pieces, outline, settings.seed, settings.scaleClicks);
      const std::string label = "boundary " + SizeLabel(pieces) +
                                (outline == OutlineAs::kLines ? " lines" : " polyline");
      rows.push_back(RunDrawing(plan, label, g, c, b, scaling));
    }
  }
  {
    Trend g, c, b;
    for (const std::size_t count : settings.islands) {
      if (count == 0) continue;
      const Plan plan = MakeIslandRoom(count, settings.seed, settings.scaleClicks);
      rows.push_back(RunDrawing(plan, "room " + SizeLabel(count) + " islands", g, c, b, scaling));
    }
  }
  PrintTable(std::cout, rows);
  std::ofstream csv(settings.csv);
  WriteCsv(csv, rows);
  std::cout << "CSV written to " << settings.csv << '\n';
  return 0;
}
