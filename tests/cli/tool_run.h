// Running the pphatch tool as a subprocess, and reading what it printed.
#pragma once

#include <sys/wait.h>

#include <array>
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
  std::string out;
  std::string err;
};

/// The text of a file ("" when it cannot be read).
inline std::string FileText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

/// A word quoted for the shell.
inline std::string Quoted(const std::string& word) {
  std::string q = "'";
  for (const char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

/// A fresh empty folder for one test, removed with the object.
class ScratchDir {
 public:
  ScratchDir() {
    std::random_device seed;
    path_ = fs::temp_directory_path() / ("pphatch_cli_" + std::to_string(seed()));
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const fs::path& Path() const { return path_; }
  /// Writes a file in the folder and returns its path.
  fs::path Write(const std::string& name, const std::string& text) const {
    const fs::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }

 private:
  fs::path path_;
};

/// The tool's path in the build tree.
inline std::string ToolPath() { return std::string(PPHATCH_BUILD_DIR) + "/pphatch"; }

/// An example drawing or points file of the source tree.
inline std::string Example(const std::string& name) {
  return std::string(PPHATCH_SOURCE_DIR) + "/examples/" + name;
}

/// Runs a shell command; its exit status and standard output (standard
/// error only where the command sends it there).
inline ToolRun RunCommand(const std::string& command) {
  ToolRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer{};
  std::size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), got);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

/// Runs the tool with the arguments in `dir`, `input` on its standard input,
/// and collects its exit status and both output streams.
inline ToolRun RunTool(const std::vector<std::string>& args, const ScratchDir& dir,
                       const std::string& input = "") {
  std::string command = "cd " + Quoted(dir.Path().string()) + " && " + Quoted(ToolPath());
  for (const std::string& arg : args) command += " " + Quoted(arg);
  const fs::path errFile = dir.Path() / "stderr.txt";
  const fs::path inFile = dir.Write("stdin.txt", input);
  ToolRun run = RunCommand(command + " 2>" + Quoted(errFile.string()) + " <" + Quoted(inFile.string()));
  run.err = FileText(errFile);
  return run;
}

/// Runs a script of this folder with /usr/bin/python3 and the arguments.
inline ToolRun RunScript(const std::string& script, const std::vector<std::string>& args) {
  const std::string path = std::string(PPHATCH_SOURCE_DIR) + "/tests/cli/" + script;
  std::string command = "/usr/bin/python3 " + Quoted(path);
  for (const std::string& arg : args) command += " " + Quoted(arg);
  return RunCommand(command + " 2>&1");
}

/// The JSON objects of JSON Lines output, one per non-empty line.
inline std::vector<nlohmann::json> JsonLines(const std::string& text) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty()) lines.push_back(nlohmann::json::parse(line));
  }
  return lines;
}

/// Signed shoelace area of a closed JSON contour (its last point repeats the first).
inline double SignedArea(const nlohmann::json& points) {
  double twice = 0;
  for (std::size_t k = 0; k + 1 < points.size(); ++k) {
    twice += points[k][0].get<double>() * points[k + 1][1].get<double>() -
             points[k + 1][0].get<double>() * points[k][1].get<double>();
  }
  return twice / 2;
}

/// Hatched area of one pick: its outer boundary less its islands.
inline double HatchedArea(const nlohmann::json& pick) {
  const auto& contours = pick.at("contours");
  double area = 0;
  for (std::size_t i = 0; i < contours.size(); ++i) {
    const double a = std::fabs(SignedArea(contours[i].at("points")));
    area += i == 0 ? a : -a;
  }
  return area;
}

}  // namespace pphatch::cli_test
