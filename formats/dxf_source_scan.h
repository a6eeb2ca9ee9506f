// A light scan of an ASCII DXF file's text: where new layers, entities and
// the handle seed go, so that a file can be written back with additions
// and otherwise exactly as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

namespace pphatch::formats {

inline constexpr std::size_t kNowhere = std::string::npos;

/// What the scan found; offsets are into the scanned text.
struct DxfSourceMap {
  std::string newline = "\n";  ///< the file's line ending
  std::string version;         ///< $ACADVER, e.g. "AC1015"; empty when absent
  int insunits = 0;            ///< $INSUNITS; 0 when absent
  std::size_t handseedValue = kNowhere;  ///< start of the $HANDSEED value line
  std::size_t handseedLength = 0;        ///< its length, without the line ending
  std::uint64_t firstFreeHandle = 1;     ///< above $HANDSEED and every handle used
  std::size_t layerTableEnd = kNowhere;  ///< start of the LAYER table's ENDTAB pair
  std::string layerTableHandle;          ///< handle of the LAYER table
  std::set<std::string> layers;          ///< layer names, upper case
  bool hasContinuous = false;            ///< the CONTINUOUS line type exists
  std::string modelSpace;                ///< handle of the *Model_Space block record
  std::size_t blocksEnd = kNowhere;      ///< start of the ENDSEC pair closing BLOCKS
  std::set<std::string> blocks;          ///< block names, upper case
  std::size_t entitiesStart = kNowhere;  ///< start of the SECTION pair opening ENTITIES
  std::size_t entitiesEnd = kNowhere;    ///< start of the ENDSEC pair closing ENTITIES
  std::size_t objectsStart = kNowhere;   ///< start of the SECTION pair opening OBJECTS
  std::size_t eof = kNowhere;            ///< start of the EOF pair

  /// R13 or later: HATCH, LWPOLYLINE and owner handles exist.
  bool Modern() const;
};

/// Scans the text of an ASCII DXF file. ReadError naming `name` when the
/// text is not a sequence of group code / value lines.
DxfSourceMap ScanDxfSource(const std::string& text, const std::string& name);

}  // namespace pphatch::formats
