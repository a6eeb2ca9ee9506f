// The texts of a DXF drawing's model space, as labels to pick at.
#pragma once

#include <string>
#include <vector>

#include "memhost/vec.h"

namespace pphatch::formats {

/// A TEXT or MTEXT of the ENTITIES section (paper space left out).
struct DxfLabel {
  std::string text;    ///< the text, MTEXT formatting removed, paragraphs joined by spaces
  std::string layer;
  mem::Vec2 insertion;  ///< the insertion point (a justified TEXT: its alignment point)
  mem::Vec2 middle;     ///< the middle of the text's box, its width estimated from the letters
};

/// The labels of an ASCII DXF text, in file order. ReadError naming `name`
/// when the text is not DXF.
std::vector<DxfLabel> ReadDxfLabels(const std::string& text, const std::string& name);

}  // namespace pphatch::formats
