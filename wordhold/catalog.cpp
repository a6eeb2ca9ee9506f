// Reading translation catalogs: one "<module> <id> <text>" entry per line.
#include "catalog.h"

#include <charconv>
#include <fstream>

namespace wordhold {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Position of the first character at or after `from` that is (or is not) blank.
std::size_t Skip(std::string_view s, std::size_t from, bool blank) {
  while (from < s.size() && IsBlank(s[from]) == blank) ++from;
  return from;
}

}  // namespace

// Splits a line; the text starts after exactly one blank behind the id.
std::optional<CatalogEntry> ParseCatalogLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::size_t moduleStart = Skip(line, 0, true);
  if (moduleStart == line.size() || line[moduleStart] == '#') return std::nullopt;
  const std::size_t moduleEnd = Skip(line, moduleStart, false);
  const std::size_t idStart = Skip(line, moduleEnd, true);
  const std::size_t idEnd = Skip(line, idStart, false);
  if (idStart == idEnd) return std::nullopt;
  CatalogEntry entry;
  const char* idFirst = line.data() + idStart;
  const char* idLast = line.data() + idEnd;
  const auto [ptr, ec] = std::from_chars(idFirst, idLast, entry.id);
  if (ec != std::errc() || ptr != idLast) return std::nullopt;
  entry.module = line.substr(moduleStart, moduleEnd - moduleStart);
  entry.text = idEnd < line.size() ? line.substr(idEnd + 1) : std::string_view();
  return entry;
}

// Scans the file line by line; the first matching line decides.
std::optional<std::string> FindInCatalog(const std::string& file, std::string_view module,
                                         std::int64_t id) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string line;
  while (std::getline(in, line)) {
    const std::optional<CatalogEntry> entry = ParseCatalogLine(line);
    if (!entry || entry->module != module || entry->id != id) continue;
    if (entry->text.empty()) return std::nullopt;
    return std::string(entry->text);
  }
  return std::nullopt;
}

}  // namespace wordhold
