// The files of the viewer page, built into the binary from apps/pphatch/web.
#pragma once

#include <string_view>

namespace pphatch::cli {

/// One file of the page.
struct WebAsset {
  std::string_view name;          ///< file name, e.g. "view.js"
  std::string_view contentType;   ///< e.g. "text/javascript; charset=utf-8"
  std::string_view body;
};

/// The file of the page with this name, or null.
const WebAsset* FindWebAsset(std::string_view name);

}  // namespace pphatch::cli
