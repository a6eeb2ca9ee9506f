// pphatch_load_table: how loading grows with the drawing. Writes the floor
// plans of `make bench` as DXF files (1k to 1M pieces), then times, each in
// a process of its own (wall clock from start to exit, peak resident memory
// from the kernel): `pphatch info`, `pphatch pick` of one point, ezdxf's
// readfile, and dxflib's reader with a creation interface that stores
// nothing. Prints a table with time per MB, bytes per graphic and each
// peer's time as a multiple of pphatch's `info`, and writes it as CSV.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/drawings.h"
#include "formats/dxf_reader.h"
#include "formats/dxf_writer.h"

extern char** environ;

namespace pphatch::bench {
namespace {

namespace fs = std::filesystem;

// One run of a command: wall seconds, peak resident KiB, exit status.
struct Run {
  double seconds = 0;
  long peakKiB = 0;
  int status = -1;
};

// The words as the argument list posix_spawn takes (valid while they live).
std::vector<char*> ArgumentList(const std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  return argv;
}

// Runs the command with its output thrown away and measures it, in this
// process.
Run RunHere(const std::vector<std::string>& command) {
  std::vector<char*> argv = ArgumentList(command);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  Run run;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKiB = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  return run;
}

// The first argument of this program that makes it run and measure the
// command after it, and print the figures.
constexpr const char* kMeasureFlag = "--measure-run";

// Runs the command with its output thrown away and measures it, through a
// fresh copy of this program: a process started from this one counts this
// one's peak memory as its own (the kernel keeps the highest resident size
// across the start), and this one holds the plans it wrote.
Run RunCommand(const std::vector<std::string>& command) {
  std::vector<std::string> words{"/proc/self/exe", kMeasureFlag};
  words.insert(words.end(), command.begin(), command.end());
  std::vector<char*> argv = ArgumentList(words);
  int pipeEnds[2];
  Run run;
  if (pipe(pipeEnds) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  pid_t pid = 0;
  const bool started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  std::string answer;
  char buffer[256];
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, static_cast<size_t>(n));
  close(pipeEnds[0]);
  if (!started) return run;
  int status = 0;
  waitpid(pid, &status, 0);
  if (std::sscanf(answer.c_str(), "%lf %ld %d", &run.seconds, &run.peakKiB, &run.status) != 3) run = Run{};
  return run;
}

// The fastest of `times` runs (the machine's noise only ever adds time).
Run Best(const std::vector<std::string>& command, int times) {
  Run best = RunCommand(command);
  for (int i = 1; i < times; ++i) {
    const Run run = RunCommand(command);
    if (run.seconds < best.seconds) best = run;
  }
  return best;
}

struct LoadRow {
  std::size_t pieces = 0, graphics = 0;
  double megabytes = 0;
  Run info, pick, ezdxf, dxflib;
};

struct Settings {
  std::vector<std::size_t> sizes{1000, 10000, 100000, 1000000};
  std::string pphatch = "pphatch";
  std::string dxflib = "pphatch_dxflib_read";
  std::string python = "/usr/bin/python3";
  std::string dir = fs::temp_directory_path().string();
  std::string csv = "load-results.csv";
  int repeats = 3;
  bool keep = false;
};

// One plan: written as DXF, then read by every contender.
LoadRow Measure(std::size_t pieces, const Settings& settings) {
  const Plan plan = MakeFloorPlan(pieces, 1, 1);
  const auto drawing = BuildDrawing(plan);
  const std::string path =
      (fs::path(settings.dir) / ("pphatch-plan-" + std::to_string(pieces) + ".dxf")).string();
  formats::WriteDxfResult(path, {}, drawing.get());
  LoadRow row;
  row.pieces = pieces;
  row.megabytes = static_cast<double>(fs::file_size(path)) / 1e6;
  char at[64];
  std::snprintf(at, sizeof at, "%.17g,%.17g", plan.clicks[0].x, plan.clicks[0].y);
  row.info = Best({settings.pphatch, "info", path}, settings.repeats);
  row.pick = Best({settings.pphatch, "pick", path, "--at", at}, settings.repeats);
  row.dxflib = Best({settings.dxflib, path}, settings.repeats);
  row.ezdxf = RunCommand(
      {settings.python, "-c", "import sys, ezdxf; ezdxf.readfile(sys.argv[1])", path});
  // Graphics as pphatch loads them (the writer takes polygons and inserts apart).
  row.graphics = static_cast<std::size_t>(formats::ReadDxfFile(path).summary.graphicCount);
  if (!settings.keep) fs::remove(path);
  for (const auto& [name, run] : {std::pair{"info", row.info}, {"pick", row.pick},
                                  {"dxflib", row.dxflib}, {"ezdxf", row.ezdxf}}) {
    if (run.status != 0) std::fprintf(stderr, "  %s failed on %s (status %d)\n", name, path.c_str(), run.status);
  }
  return row;
}

double MiB(long kib) { return static_cast<double>(kib) / 1024; }

void Print(const std::vector<LoadRow>& rows) {
  std::fflush(stderr);
  std::printf("\n| pieces | graphics | MB | info s | info s/MB | info MiB | info B/graphic | pick s | "
              "pick MiB | ezdxf s | ezdxf MiB | ezdxf/info | dxflib s | dxflib MiB | dxflib/info |\n");
  std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (const LoadRow& r : rows) {
    std::printf("| %zu | %zu | %.1f | %.3f | %.4f | %.0f | %.0f | %.3f | %.0f | %.2f | %.0f | %.1f | "
                "%.3f | %.0f | %.2f |\n",
                r.pieces, r.graphics, r.megabytes, r.info.seconds, r.info.seconds / r.megabytes,
                MiB(r.info.peakKiB), r.info.peakKiB * 1024.0 / static_cast<double>(r.graphics),
                r.pick.seconds, MiB(r.pick.peakKiB), r.ezdxf.seconds, MiB(r.ezdxf.peakKiB),
                r.ezdxf.seconds / r.info.seconds, r.dxflib.seconds, MiB(r.dxflib.peakKiB),
                r.dxflib.seconds / r.info.seconds);
  }
  std::printf("\n");
}

void WriteCsv(const std::string& path, const std::vector<LoadRow>& rows) {
  std::ofstream out(path);
  out << "pieces,graphics,mb,info_s,info_kib,pick_s,pick_kib,ezdxf_s,ezdxf_kib,dxflib_s,dxflib_kib\n";
  for (const LoadRow& r : rows) {
    out << r.pieces << ',' << r.graphics << ',' << r.megabytes << ',' << r.info.seconds << ','
        << r.info.peakKiB << ',' << r.pick.seconds << ',' << r.pick.peakKiB << ','
        << r.ezdxf.seconds << ',' << r.ezdxf.peakKiB << ',' << r.dxflib.seconds << ','
        << r.dxflib.peakKiB << '\n';
  }
}

}  // namespace
}  // namespace pphatch::bench

int main(int argc, char** argv) {
  if (argc > 2 && std::string(argv[1]) == pphatch::bench::kMeasureFlag) {
    const pphatch::bench::Run run = pphatch::bench::RunHere(std::vector<std::string>(argv + 2, argv + argc));
    std::printf("%.6f %ld %d\n", run.seconds, run.peakKiB, run.status);
    return 0;
  }
  pphatch::bench::Settings settings;
  CLI::App app{"pphatch_load_table: loading time and memory of DXF plans of growing size"};
  app.add_option("--sizes", settings.sizes, "pieces of each plan")->delimiter(',');
  app.add_option("--pphatch", settings.pphatch, "the pphatch tool")->required();
  app.add_option("--dxflib", settings.dxflib, "the dxflib reader")->required();
  app.add_option("--python", settings.python, "the Python with ezdxf");
  app.add_option("--dir", settings.dir, "folder for the DXF files");
  app.add_option("--csv", settings.csv, "CSV output");
  app.add_option("--repeats", settings.repeats, "runs of pphatch and dxflib, the fastest counts");
  app.add_flag("--keep", settings.keep, "keep the DXF files");
  CLI11_PARSE(app, argc, argv);
  std::vector<pphatch::bench::LoadRow> rows;
  for (const std::size_t pieces : settings.sizes) {
    std::fprintf(stderr, "load table: %zu pieces\n", pieces);
    rows.push_back(pphatch::bench::Measure(pieces, settings));
  }
  pphatch::bench::Print(rows);
  pphatch::bench::WriteCsv(settings.csv, rows);
  return 0;
}
