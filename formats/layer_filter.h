// Choosing by layer what may bound an area: the layers to keep and the
// layers to leave out, as name patterns.
#pragma once

#include <string>
#include <vector>

namespace pphatch::formats {

/// Layer name patterns: '*' stands for any run of characters, '?' for one;
/// letters match in either case, as CAD programs treat layer names.
struct LayerFilter {
  /// Only layers matching one of these are kept; empty keeps every layer.
  std::vector<std::string> only;
  /// Layers matching one of these are left out, even when `only` names them.
  std::vector<std::string> ignore;

  /// True when the filter keeps every layer.
  bool KeepsAll() const { return only.empty() && ignore.empty(); }
  /// True when entities on `layer` stay in the drawing.
  bool Keeps(const std::string& layer) const;
};

/// True when `name` matches the wildcard `pattern`, letters in either case.
bool LayerNameMatches(const std::string& pattern, const std::string& name);

/// The patterns of a comma-separated list ("CENTER, DIM*"), blanks around
/// each trimmed, empty ones dropped.
std::vector<std::string> SplitLayerList(const std::string& list);

}  // namespace pphatch::formats
