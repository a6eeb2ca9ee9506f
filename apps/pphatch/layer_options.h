// The layer options every command that loads a drawing offers:
// --layers and --ignore-layers, comma-separated name patterns.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "formats/layer_filter.h"

namespace pphatch::cli {

/// The values of the layer options of one command.
struct LayerOptions {
  std::vector<std::string> layers;        ///< --layers A,B (repeatable)
  std::vector<std::string> ignoreLayers;  ///< --ignore-layers C,D (repeatable)

  /// The filter the reader applies while loading.
  formats::LayerFilter Filter() const;
};

/// Adds --layers and --ignore-layers to `command`, filling `options`.
void AddLayerOptions(CLI::App& command, LayerOptions& options);

}  // namespace pphatch::cli
