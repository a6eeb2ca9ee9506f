#include "bench/report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace pphatch::bench {

namespace {

// A time in milliseconds, or the reason there is none.
std::string Ms(const Timing& t, double seconds) {
  char text[32];
  if (t.skipped) {
    std::snprintf(text, sizeof text, "skip(~%.0fs)", t.estimate);
  } else if (t.seconds.empty()) {
    return "-";
  } else {
    std::snprintf(text, sizeof text, "%.3f", seconds * 1e3);
  }
  return text;
}

// pphatch's p50 over the peer's, or the reason there is none: "1/250" when
// pphatch is 250 times faster, "1/1.4" when it is 1.4 times faster, "2.1"
// when it is 2.1 times slower.
std::string Ratio(const Timing& ours, const Timing& peer) {
  if (peer.skipped || peer.seconds.empty() || ours.seconds.empty()) return "-";
  char text[32];
  const double faster = peer.P50() / ours.P50();
  if (faster >= 10) {
    std::snprintf(text, sizeof text, "1/%.0f", faster);
  } else if (faster >= 1) {
    std::snprintf(text, sizeof text, "1/%.1f", faster);
  } else {
    std::snprintf(text, sizeof text, "%.1f", 1 / faster);
  }
  return text;
}

// Matching areas, as "agreeing/compared".
std::string Agreement(const Timing& t) {
  if (t.compared == 0) return "-";
  return std::to_string(t.agreeing) + "/" + std::to_string(t.compared);
}

// A number for the CSV; empty when not measured.
std::string CsvMs(const Timing& t, double seconds) {
  if (t.skipped || t.seconds.empty()) return "";
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", seconds * 1e3);
  return text;
}

std::string CsvNumber(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", v);
  return text;
}

}  // namespace

double Quantile(std::vector<double> samples, double q) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const double rank = std::ceil(q * static_cast<double>(samples.size()));
  const std::size_t i = static_cast<std::size_t>(std::max(1.0, rank)) - 1;
  return samples[std::min(i, samples.size() - 1)];
}

void PrintTable(std::ostream& out, const std::vector<Row>& rows) {
  char line[512];
  std::snprintf(
      line, sizeof line,
      "%-30s %9s %6s | %9s %9s %9s %9s | %12s %12s %8s %7s | %12s %12s %8s %7s | %9s %9s | %8s\n",
      "drawing", "pieces", "found", "pp p50", "pp p95", "cpu p95", "peak KiB", "GEOS p50",
      "GEOS p95", "pp/GEOS", "agree", "CGAL p50", "CGAL p95", "pp/CGAL", "agree", "loc p50",
      "loc p95", "DXF MB/s");
  out << line;
  std::snprintf(
      line, sizeof line,
      "%-30s %9s %6s | %9s %9s %9s %9s | %12s %12s %8s %7s | %12s %12s %8s %7s | %9s %9s | %8s\n",
      "", "", "", "ms", "ms", "ms", "max", "ms", "ms", "p50", "", "ms", "ms", "p50", "", "ms", "ms",
      "");
  out << line;
  for (const Row& r : rows) {
    const double peak =
        r.peakKiB.empty() ? 0 : *std::max_element(r.peakKiB.begin(), r.peakKiB.end());
    const std::string dxf = r.dxfMBps ? CsvNumber(*r.dxfMBps) : "-";
    const std::string found = std::to_string(r.found) + "/" + std::to_string(r.clicks);
    std::snprintf(line, sizeof line,
                  "%-30s %9zu %6s | %9s %9s %9.3f %9.0f | %12s %12s %8s %7s | %12s %12s %8s %7s | "
                  "%9s %9s | %8s\n",
                  r.drawing.c_str(), r.pieces, found.c_str(),
                  Ms(r.pphatch, r.pphatch.P50()).c_str(), Ms(r.pphatch, r.pphatch.P95()).c_str(),
                  Quantile(r.pphatchCpu, 0.95) * 1e3, peak, Ms(r.geos, r.geos.P50()).c_str(),
                  Ms(r.geos, r.geos.P95()).c_str(), Ratio(r.pphatch, r.geos).c_str(),
                  Agreement(r.geos).c_str(), Ms(r.cgal, r.cgal.P50()).c_str(),
                  Ms(r.cgal, r.cgal.P95()).c_str(), Ratio(r.pphatch, r.cgal).c_str(),
                  Agreement(r.cgal).c_str(), Ms(r.cgalLocate, r.cgalLocate.P50()).c_str(),
                  Ms(r.cgalLocate, r.cgalLocate.P95()).c_str(), dxf.c_str());
    out << line;
  }
}

void WriteCsv(std::ostream& out, const std::vector<Row>& rows) {
  out << "drawing,pieces,graphics,clicks,found,pphatch_p50_ms,pphatch_p95_ms,pphatch_cpu_p50_ms,"
         "pphatch_cpu_p95_ms,pphatch_peak_kib_p50,"
         "pphatch_peak_kib_max,geos_clicks,geos_p50_ms,geos_p95_ms,geos_skipped_estimate_s,"
         "pphatch_over_geos_p50,geos_agreeing,cgal_clicks,cgal_p50_ms,cgal_p95_ms,"
         "cgal_skipped_estimate_s,pphatch_over_cgal_p50,cgal_agreeing,cgal_build_s,"
         "cgal_locate_p50_ms,cgal_locate_p95_ms,cgal_locate_skipped_estimate_s,dxf_mb_per_s,"
         "expected_area_found\n";
  for (const Row& r : rows) {
    const auto ratio = [&](const Timing& peer) -> std::string {
      if (peer.skipped || peer.seconds.empty() || r.pphatch.seconds.empty()) return "";
      return CsvNumber(r.pphatch.P50() / peer.P50());
    };
    const auto skipped = [](const Timing& t) -> std::string {
      return t.skipped ? CsvNumber(t.estimate) : "";
    };
    const double peakMax =
        r.peakKiB.empty() ? 0 : *std::max_element(r.peakKiB.begin(), r.peakKiB.end());
    out << '"' << r.drawing << "\"," << r.pieces << ',' << r.graphics << ',' << r.clicks << ','
        << r.found << ',' << CsvMs(r.pphatch, r.pphatch.P50()) << ','
        << CsvMs(r.pphatch, r.pphatch.P95()) << ',' << CsvNumber(Quantile(r.pphatchCpu, 0.5) * 1e3)
        << ',' << CsvNumber(Quantile(r.pphatchCpu, 0.95) * 1e3) << ','
        << CsvNumber(Quantile(r.peakKiB, 0.5)) << ',' << CsvNumber(peakMax) << ','
        << r.geos.seconds.size() << ',' << CsvMs(r.geos, r.geos.P50()) << ','
        << CsvMs(r.geos, r.geos.P95()) << ',' << skipped(r.geos) << ',' << ratio(r.geos) << ','
        << r.geos.agreeing << ',' << r.cgal.seconds.size() << ',' << CsvMs(r.cgal, r.cgal.P50())
        << ',' << CsvMs(r.cgal, r.cgal.P95()) << ',' << skipped(r.cgal) << ',' << ratio(r.cgal)
        << ',' << r.cgal.agreeing << ','
        << (r.cgalLocate.skipped ? "" : CsvNumber(r.cgalBuildSeconds)) << ','
        << CsvMs(r.cgalLocate, r.cgalLocate.P50()) << ',' << CsvMs(r.cgalLocate, r.cgalLocate.P95())
        << ',' << skipped(r.cgalLocate) << ',' << (r.dxfMBps ? CsvNumber(*r.dxfMBps) : "") << ','
        << (r.expected >= 0 ? std::to_string(r.expected) : "") << '\n';
  }
}

}  // namespace pphatch::bench
