#include "formats/dxf_parse.h"

#include <algorithm>
#include <cctype>

#include "formats/errors.h"
#include "formats/side_by_side.h"

namespace pphatch::formats {

namespace {

// Walks the sections of a checked pair list and fills a document.
class Parser {
 public:
  Parser(const DxfPairs& pairs, const std::string& name, std::size_t parseInHalvesFrom)
      : pairs_(pairs), name_(name), parseInHalvesFrom_(parseInHalvesFrom) {
    doc_.binary = pairs.Binary();
  }

  // Reads every section; pairs outside sections (comments) are passed over.
  DxfDocument Run() {
    std::size_t i = 0;
    while (i < pairs_.size()) {
      if (pairs_.Code(i) == 0 && pairs_.Value(i) == "EOF") break;
      if (pairs_.Code(i) == 0 && pairs_.Value(i) == "SECTION") {
        const std::string section =
            i + 1 < pairs_.size() && pairs_.Code(i + 1) == 2 ? std::string(pairs_.Value(i + 1)) : "";
        const std::size_t end = SectionEnd(i, section);
        const std::size_t first = NextRecordStart(pairs_, i, end);
        if (section == "HEADER") ReadHeader(i, end);
        if (section == "TABLES") ReadTables(first, end);
        if (section == "BLOCKS") ReadBlocks(first, end);
        if (section == "ENTITIES") ReadEntities(first, end);
        doc_.hasEntitiesSection = doc_.hasEntitiesSection || section == "ENTITIES";
        i = end + 1;
        continue;
      }
      ++i;
    }
    return std::move(doc_);
  }

 private:
  // Index of the section's ENDSEC pair; ReadError when another section or
  // the end comes first.
  std::size_t SectionEnd(std::size_t start, const std::string& section) const {
    const std::size_t i = pairs_.NextSectionMark(start);
    if (i == pairs_.size()) {
      throw ReadError(
          LocatedAt(name_, pairs_[start].place, doc_.binary, "section " + section + " never ends"));
    }
    if (pairs_.Value(i) != "ENDSEC") {
      throw ReadError(LocatedAt(name_, pairs_[i].place, doc_.binary,
                                "section " + section + " (" +
                                    PlaceText(pairs_[start].place, doc_.binary) +
                                    ") ends without ENDSEC"));
    }
    return i;
  }

  // Header variables: $TILEMODE matters to the drawing, $INSUNITS to its reader.
  void ReadHeader(std::size_t start, std::size_t end) {
    for (std::size_t i = start; i + 1 < end; ++i) {
      if (pairs_.Code(i) != 9 || pairs_.Code(i + 1) != 70) continue;
      if (pairs_.Value(i) == "$TILEMODE") doc_.tileMode = static_cast<int>(PairInteger(pairs_[i + 1]));
      if (pairs_.Value(i) == "$INSUNITS") doc_.insUnits = static_cast<int>(PairInteger(pairs_[i + 1]));
    }
  }

  // Layer table entries: off (negative colour) or frozen (flag bit 1) layers are hidden.
  void ReadTables(std::size_t first, std::size_t end) {
    for (std::size_t i = first; i < end; i = NextRecordStart(pairs_, i, end)) {
      const DxfRecord record(pairs_, i, NextRecordStart(pairs_, i, end));
      if (record.Name() != "LAYER") continue;
      const bool frozen = (record.Integer(70) & 1) != 0;
      const bool off = record.Integer(62, 7) < 0;
      doc_.hiddenLayers[NameKey(record.Text(2))] = frozen || off;
      doc_.layers[NameKey(record.Text(2))] = {record.Text(2), off, frozen};
    }
  }

  // Block definitions with their entities; the first definition of a name counts.
  void ReadBlocks(std::size_t first, std::size_t end) {
    std::optional<DxfBlock> block;
    std::size_t i = first;
    while (i < end) {
      const DxfRecord record(pairs_, i, NextRecordStart(pairs_, i, end));
      if (record.Name() == "BLOCK") {
        block = DxfBlock{record.Text(2), record.Point(10), {}};
        i = record.End();
      } else if (record.Name() == "ENDBLK") {
        if (block) doc_.blocks.emplace(NameKey(block->name), std::move(*block));
        block.reset();
        i = record.End();
      } else if (block) {
        i = ReadEntity(pairs_, i, end, block->entities, doc_.report);
      } else {
        i = record.End();
      }
    }
  }

  void ReadEntities(std::size_t first, std::size_t end) {
    const std::size_t middle =
        end - first >= parseInHalvesFrom_ ? EntityStartFrom(first + (end - first) / 2, end) : end;
    if (middle == end) {
      ReadEntityRange(first, end, doc_.entities, doc_.report);
      return;
    }
    // The second half in a thread of its own, into runs of its own that
    // then follow the first half's.
    DxfEntityRuns tail;
    LoadReport tailReport;
    RunSideBySide([&] { ReadEntityRange(first, middle, doc_.entities, doc_.report); },
                  [&] { ReadEntityRange(middle, end, tail, tailReport); });
    doc_.entities.Append(std::move(tail));
    doc_.report.Append(std::move(tailReport));
  }

  void ReadEntityRange(std::size_t first, std::size_t end, DxfEntityRuns& out,
                       LoadReport& report) const {
    std::size_t i = first;
    while (i < end) i = ReadEntity(pairs_, i, end, out.RoomForOne(), report);
  }

  // The first record from `from` on that starts an entity of its own (not a
  // VERTEX, ATTRIB or SEQEND, which belong to the entity before them), or `end`.
  std::size_t EntityStartFrom(std::size_t from, std::size_t end) const {
    for (std::size_t i = from; i < end; ++i) {
      if (pairs_.Code(i) != 0) continue;
      const std::string_view name = pairs_.Value(i);
      if (name != "VERTEX" && name != "ATTRIB" && name != "SEQEND") return i;
    }
    return end;
  }

  const DxfPairs& pairs_;
  const std::string& name_;
  std::size_t parseInHalvesFrom_;
  DxfDocument doc_;
};

}  // namespace

std::string NameKey(const std::string& name) {
  std::string key = name;
  std::transform(key.begin(), key.end(), key.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return key;
}

DxfDocument ParseDxf(const DxfPairs& pairs, const std::string& name, std::size_t parseInHalvesFrom) {
  return Parser(pairs, name, parseInHalvesFrom).Run();
}

}  // namespace pphatch::formats
