// Small DXF texts for tests, written as "code value" tokens.
#pragma once

#include <sstream>
#include <string>

#include "formats/dxf_reader.h"

namespace pphatch::formats::testing {

/// DXF lines from whitespace-separated tokens "code value code value ...".
inline std::string Pairs(const std::string& tokens) {
  std::istringstream in(tokens);
  std::string code, value, out;
  while (in >> code >> value) out += code + "\n" + value + "\n";
  return out;
}

/// A whole DXF file: optional layer table and blocks, then the entities.
inline std::string DxfFile(const std::string& entities, const std::string& blocks = "",
                           const std::string& layers = "") {
  std::string out;
  if (!layers.empty()) {
    out += Pairs("0 SECTION 2 TABLES 0 TABLE 2 LAYER") + Pairs(layers) + Pairs("0 ENDTAB 0 ENDSEC");
  }
  if (!blocks.empty()) out += Pairs("0 SECTION 2 BLOCKS") + Pairs(blocks) + Pairs("0 ENDSEC");
  return out + Pairs("0 SECTION 2 ENTITIES") + Pairs(entities) + Pairs("0 ENDSEC 0 EOF");
}

/// The message of the ReadError that `read` throws, or "no error".
template <typename Read>
std::string ReadErrorOf(Read read) {
  try {
    read();
  } catch (const ReadError& e) {
    return e.what();
  }
  return "no error";
}

/// The message of the ReadError that reading `content` as the file `name`
/// throws, or "no error".
inline std::string DxfErrorOf(const std::string& content, const std::string& name = "drawing.dxf") {
  return ReadErrorOf([&] { ReadDxfText(content, name); });
}

}  // namespace pphatch::formats::testing
