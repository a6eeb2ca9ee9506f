// Reading translation catalogs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wordhold {

/// One catalog line split into its parts; nothing for a blank line, a
/// comment or a line that does not have the form "<module> <id> <text>".
struct CatalogEntry {
  std::string_view module;
  std::int64_t id = 0;
  std::string_view text;
};
std::optional<CatalogEntry> ParseCatalogLine(std::string_view line);

/// The text for the module and id in the catalog file, or nothing when the
/// file cannot be read, has no such line or the text is empty.
std::optional<std::string> FindInCatalog(const std::string& file, std::string_view module,
                                         std::int64_t id);

}  // namespace wordhold
