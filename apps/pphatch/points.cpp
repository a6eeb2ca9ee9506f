#include "points.h"

#include <cerrno>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iostream>
#include <optional>
#include <string_view>

#include "cli_error.h"
#include "files.h"

namespace pphatch::cli {

namespace {

constexpr std::string_view kBlanks = " \t\r";

// Bad lines of a points file named one by one; the rest are counted.
constexpr int kMaxBadLinesShown = 20;

// The text without blanks at either end.
std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

// A finite number that fills the whole text, or nothing.
std::optional<double> Number(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// Two numbers separated by one comma or by blanks, or nothing.
std::optional<DrawingPoint> Pair(std::string_view text) {
  text = Trim(text);
  std::size_t split = text.find(',');
  std::size_t rest = split + 1;
  if (split == std::string_view::npos) {
    split = text.find_first_of(kBlanks);
    if (split == std::string_view::npos) return std::nullopt;
    rest = split;
  } else if (text.find(',', rest) != std::string_view::npos) {
    return std::nullopt;
  }
  const auto x = Number(text.substr(0, split));
  const auto y = Number(text.substr(rest));
  if (!x || !y) return std::nullopt;
  return DrawingPoint{*x, *y};
}

}  // namespace

DrawingPoint ParseAtValue(const std::string& text) {
  const auto point = Pair(text);
  if (!point) throw CliError("--at " + text + ": expected X,Y (two numbers)");
  return *point;
}

mem::Box ParseFrameValue(const std::string& text) {
  std::vector<double> values;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    const auto value = Number(std::string_view(text).substr(start, end - start));
    if (!value) break;
    values.push_back(*value);
    start = end + 1;
  }
  if (values.size() != 4 || start <= text.size()) {
    throw CliError("--frame " + text + ": expected X1,Y1,X2,Y2 (four numbers)");
  }
  const mem::Box box{std::min(values[0], values[2]), std::min(values[1], values[3]),
                     std::max(values[0], values[2]), std::max(values[1], values[3])};
  if (box.maxX == box.minX || box.maxY == box.minY) {
    throw CliError("--frame " + text + ": the frame needs a width and a height");
  }
  return box;
}

std::optional<std::string> SplitPointHint(const std::string& value, const std::string& next) {
  if (Pair(value) && Pair(next) && next.find(',') != std::string::npos) {
    return "--at " + value + " " + next + ": give --at before each point (--at " + value +
           " --at " + next + ")";
  }
  std::string x = value, y = next;
  if (!x.empty() && x.back() == ',') x.pop_back();
  if (!y.empty() && y.front() == ',') y.erase(0, 1);
  if (!Number(x) || !Number(y)) return std::nullopt;
  return "--at " + value + " " + next + ": write the point as X,Y (" + x + "," + y + ")";
}

std::vector<DrawingPoint> ReadPoints(std::istream& in, const std::string& name) {
  std::vector<DrawingPoint> points;
  std::vector<std::string> bad;
  int badCount = 0;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::string_view text = line;
    text = Trim(text.substr(0, text.find('#')));
    if (text.empty()) continue;
    if (const auto point = Pair(text)) {
      points.push_back(*point);
      continue;
    }
    if (++badCount <= kMaxBadLinesShown) {
      bad.push_back(name + ": line " + std::to_string(number) + ": expected X Y or X,Y, not '" +
                    std::string(text) + "'");
    }
  }
  if (in.bad()) throw CliError(name + ": cannot read: " + SystemReason());
  if (badCount > kMaxBadLinesShown) {
    bad.push_back(name + ": " + std::to_string(badCount - kMaxBadLinesShown) +
                  " more bad lines not shown");
  }
  if (!bad.empty()) {
    std::string message = bad[0];
    for (std::size_t i = 1; i < bad.size(); ++i) message += "\n" + bad[i];
    throw CliError(message);
  }
  return points;
}

std::vector<DrawingPoint> ReadPointsFile(const std::string& path) {
  if (path == kStandardStream) return ReadPoints(std::cin, "standard input");
  errno = 0;
  std::ifstream file(path);
  if (!file) throw CliError(path + ": cannot open: " + SystemReason());
  return ReadPoints(file, path);
}

}  // namespace pphatch::cli
