#include "layer_options.h"

namespace pphatch::cli {

namespace {

// The patterns of every value given, in order.
std::vector<std::string> Patterns(const std::vector<std::string>& values) {
  std::vector<std::string> patterns;
  for (const std::string& value : values) {
    for (std::string& p : formats::SplitLayerList(value)) patterns.push_back(std::move(p));
  }
  return patterns;
}

}  // namespace

formats::LayerFilter LayerOptions::Filter() const {
  return {Patterns(layers), Patterns(ignoreLayers)};
}

void AddLayerOptions(CLI::App& command, LayerOptions& options) {
  command
      .add_option("--layers", options.layers,
                  "Only entities on these layers bound areas: names separated by commas, * and ? "
                  "as wildcards, any case")
      ->allow_extra_args(false)
      ->type_name("A,B");
  command
      .add_option("--ignore-layers", options.ignoreLayers,
                  "Leave the entities on these layers out (e.g. CENTER,HIDDEN,DIM*)")
      ->allow_extra_args(false)
      ->type_name("C,D");
}

}  // namespace pphatch::cli
