#include "formats/nearest_name.h"

#include <algorithm>
#include <cctype>

namespace pphatch::formats {

namespace {

// Most edits between a misspelt name and the name it is taken for.
constexpr std::size_t kMaxEdits = 2;

// Edits between a and b, neighbouring swaps counting one (optimal string alignment).
std::size_t Edits(const std::string& a, const std::string& b) {
  const auto same = [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  };
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = same(a[i - 1], b[j - 1]) ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && same(a[i - 1], b[j - 2]) && same(a[i - 2], b[j - 1])) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

std::optional<std::string> NearestName(const std::string& word,
                                       const std::vector<std::string>& candidates) {
  std::optional<std::string> best;
  std::size_t bestEdits = kMaxEdits + 1;
  for (const std::string& candidate : candidates) {
    const std::size_t edits = Edits(word, candidate);
    if (edits < bestEdits && edits < word.size()) {
      best = candidate;
      bestEdits = edits;
    }
  }
  return best;
}

}  // namespace pphatch::formats
