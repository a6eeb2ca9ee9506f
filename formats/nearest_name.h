// The known name closest to a misspelt one, for "did you mean ...?" hints.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pphatch::formats {

/// The candidate closest to `word` by edits (insert, delete, replace, or
/// swap two neighbouring letters; case ignored), when it is at most two
/// edits away and fewer edits than `word` has letters; else nothing.
std::optional<std::string> NearestName(const std::string& word,
                                       const std::vector<std::string>& candidates);

}  // namespace pphatch::formats
