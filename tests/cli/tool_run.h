// Running the pphatch tool as a subprocess, and reading what it printed.
#pragma once

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace pphatch::cli_test {

namespace fs = std::filesystem;

/// What one run of the tool gave.
struct ToolRun {
  int status = -1;
  std::string out, err;
};

/// The text of a file ("" when it cannot be read).
inline std::string FileText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

/// A fresh empty folder for one test, removed with the object.
struct ScratchDir {
  ScratchDir() { fs::create_directories(path); }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  const fs::path& Path() const { return path; }
  /// Writes a file in the folder and returns its path.
  fs::path Write(const std::string& name, const std::string& text) const {
    std::ofstream(path / name, std::ios::binary) << text;
    return path / name;
  }
  const fs::path path =
      fs::temp_directory_path() / ("pphatch_cli_" + std::to_string(std::random_device()()));
};

/// An example drawing or points file of the source tree.
inline std::string Example(const std::string& name) {
  return std::string(PPHATCH_SOURCE_DIR) + "/examples/" + name;
}

/// Runs `program` with the arguments in `dir`, `input` on its standard input;
/// its exit status and both output streams.
inline ToolRun RunIn(const ScratchDir& dir, const std::string& program, const std::vector<std::string>& args,
                     const std::string& input = "") {
  const auto quoted = [](const std::string& word) {
    std::string q = "'";
    for (const char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
  };
  std::string command = "cd " + quoted(dir.Path().string()) + " && " + program;
  for (const std::string& arg : args) command += " " + quoted(arg);
  const fs::path errFile = dir.Write("stderr.txt", ""), inFile = dir.Write("stdin.txt", input);
  ToolRun run;
  FILE* pipe = popen((command + " 2>" + quoted(errFile) + " <" + quoted(inFile)).c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, got);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.err = FileText(errFile);
  return run;
}

/// The tool's path in the build tree.
inline std::string ToolPath() { return std::string(PPHATCH_BUILD_DIR) + "/pphatch"; }

/// Runs the tool with the arguments in `dir`, `input` on its standard input.
inline ToolRun RunTool(const std::vector<std::string>& args, const ScratchDir& dir,
                       const std::string& input = "") {
  return RunIn(dir, ToolPath(), args, input);
}

/// Runs a script of this folder with /usr/bin/python3 and the arguments.
inline ToolRun RunScript(const std::string& script, std::vector<std::string> args) {
  const ScratchDir dir;
  args.insert(args.begin(), std::string(PPHATCH_SOURCE_DIR) + "/tests/cli/" + script);
  return RunIn(dir, "/usr/bin/python3", args);
}

/// The JSON objects of JSON Lines output, one per non-empty line.
inline std::vector<nlohmann::json> JsonLines(const std::string& text) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.push_back(nlohmann::json::parse(line));
  }
  return lines;
}

/// Hatched area of one pick: its outer boundary less its islands (shoelace
/// areas of closed contours whose last point repeats the first).
inline double HatchedArea(const nlohmann::json& pick) {
  const auto& contours = pick.at("contours");
  double area = 0;
  for (std::size_t i = 0; i < contours.size(); ++i) {
    const auto& p = contours[i].at("points");
    double twice = 0;
    for (std::size_t k = 0; k + 1 < p.size(); ++k) {
      twice += p[k][0].get<double>() * p[k + 1][1].get<double>() -
               p[k + 1][0].get<double>() * p[k][1].get<double>();
    }
    area += (i == 0 ? 0.5 : -0.5) * std::fabs(twice);
  }
  return area;
}

}  // namespace pphatch::cli_test
