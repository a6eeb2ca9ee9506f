// The group code / value pairs of an ASCII DXF file, checked for structure.
#pragma once

#include <string>
#include <vector>

namespace pphatch::formats {

/// One group: its code, its value text and the line of the code (from 1).
struct DxfPair {
  int code = 0;
  std::string value;
  int line = 0;
};

/// What a group code's value holds.
enum class DxfValueKind { kText, kReal, kInteger };

/// The kind of value that group codes of that number carry.
DxfValueKind ValueKindOf(int code);

/// Splits DXF text into pairs and checks them: every code line is an
/// integer group code, every number parses and is finite, the text does not
/// end inside a pair, and it ends with the EOF marker. Values have the line
/// end (and, for numbers and code-0 names, surrounding blanks) removed.
/// Refuses empty text, binary DXF and binary data. Throws ReadError whose
/// message starts with `name` and the line.
std::vector<DxfPair> SplitDxfPairs(const std::string& text, const std::string& name);

/// The number in a pair whose value was checked by SplitDxfPairs.
double PairReal(const DxfPair& pair);
/// The integer in a pair whose value was checked (reals are truncated).
long long PairInteger(const DxfPair& pair);

}  // namespace pphatch::formats
