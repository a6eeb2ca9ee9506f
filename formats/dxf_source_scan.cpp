#include "formats/dxf_source_scan.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "formats/dxf_line_pairs.h"
#include "formats/errors.h"

namespace pphatch::formats {

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// A hexadecimal handle; 0 when the text is not one.
std::uint64_t ParseHandle(const std::string& text) {
  std::uint64_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return result.ec == std::errc() ? value : 0;
}

}  // namespace

bool DxfSourceMap::Modern() const { return version >= "AC1012"; }

DxfSourceMap ScanDxfSource(const std::string& text, const std::string& name) {
  DxfSourceMap map;
  const std::size_t firstEnd = text.find('\n');
  if (firstEnd != std::string::npos && firstEnd > 0 && text[firstEnd - 1] == '\r') map.newline = "\r\n";
  PairReader reader(text);
  std::string section, table, object, variable, recordName, recordHandle;
  std::uint64_t highest = 0, seedHandle = 0;
  bool expectSectionName = false;
  std::size_t sectionStart = 0;
  while (reader.Next()) {
    if (!reader.Valid()) {
      throw ReadError(name + ": line " + std::to_string(reader.LineNumber() - 1) +
                      ": not a group code");
    }
    const int code = reader.Code();
    const std::string& value = reader.Value();
    if (code == 0) {
      object = value;
      recordName.clear();
      recordHandle.clear();
      if (value == "SECTION") {
        expectSectionName = true;
        sectionStart = reader.Start();
        section.clear();
      } else if (value == "ENDSEC") {
        if (section == "ENTITIES") map.entitiesEnd = reader.Start();
        if (section == "BLOCKS") map.blocksEnd = reader.Start();
        section.clear();
      } else if (value == "ENDTAB") {
        if (table == "LAYER") map.layerTableEnd = reader.Start();
        table.clear();
      } else if (value == "EOF") {
        map.eof = reader.Start();
        break;
      }
      continue;
    }
    if (code == 2 && expectSectionName) {
      section = value;
      expectSectionName = false;
      if (section == "OBJECTS" && map.objectsStart == kNowhere) map.objectsStart = sectionStart;
      if (section == "ENTITIES" && map.entitiesStart == kNowhere) map.entitiesStart = sectionStart;
      continue;
    }
    const bool seed = section == "HEADER" && variable == "$HANDSEED" && code == 5;
    if ((code == 5 || code == 105) && !seed) highest = std::max(highest, ParseHandle(value));
    if (section == "BLOCKS" && object == "BLOCK" && code == 2) map.blocks.insert(Upper(value));
    if (section == "HEADER") {
      if (code == 9) {
        variable = value;
      } else if (variable == "$ACADVER" && code == 1) {
        map.version = value;
      } else if (variable == "$INSUNITS" && code == 70) {
        map.insunits = std::atoi(value.c_str());
      } else if (variable == "$HANDSEED" && code == 5) {
        map.handseedValue = reader.ValueStart();
        map.handseedLength = reader.ValueLength();
        seedHandle = ParseHandle(value);
      }
    } else if (section == "TABLES") {
      if (object == "TABLE" && code == 2) {
        table = value;
      } else if (object == "TABLE" && code == 5 && table == "LAYER") {
        map.layerTableHandle = value;
      } else if (object == "LAYER" && code == 2) {
        map.layers.insert(Upper(value));
      } else if (object == "LTYPE" && code == 2 && Upper(value) == "CONTINUOUS") {
        map.hasContinuous = true;
      } else if (object == "BLOCK_RECORD" && (code == 2 || code == 5)) {
        (code == 2 ? recordName : recordHandle) = value;
        if (Upper(recordName) == "*MODEL_SPACE" && !recordHandle.empty()) map.modelSpace = recordHandle;
      }
    }
  }
  map.firstFreeHandle = std::max(highest + 1, seedHandle);
  return map;
}

}  // namespace pphatch::formats
