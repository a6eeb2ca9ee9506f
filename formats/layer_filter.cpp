#include "formats/layer_filter.h"

#include <algorithm>
#include <cctype>

namespace pphatch::formats {

namespace {

// True when one of the patterns matches the name.
bool AnyMatches(const std::vector<std::string>& patterns, const std::string& name) {
  return std::any_of(patterns.begin(), patterns.end(),
                     [&](const std::string& p) { return LayerNameMatches(p, name); });
}

}  // namespace

bool LayerNameMatches(const std::string& pattern, const std::string& name) {
  const auto same = [](char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
  };
  // Greedy matching with a return to the last '*' on a mismatch: linear in
  // practice, never exponential.
  std::size_t p = 0, n = 0, star = std::string::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || (pattern[p] != '*' && same(pattern[p], name[n])))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool LayerFilter::Keeps(const std::string& layer) const {
  if (!only.empty() && !AnyMatches(only, layer)) return false;
  return !AnyMatches(ignore, layer);
}

std::vector<std::string> SplitLayerList(const std::string& list) {
  std::vector<std::string> patterns;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    std::string item = list.substr(start, end - start);
    const auto first = item.find_first_not_of(" \t");
    const auto last = item.find_last_not_of(" \t");
    if (first != std::string::npos) patterns.push_back(item.substr(first, last - first + 1));
    start = end + 1;
  }
  return patterns;
}

}  // namespace pphatch::formats
