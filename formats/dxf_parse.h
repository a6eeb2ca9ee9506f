// From checked DXF pairs to a DxfDocument: sections, layers, blocks, entities.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "formats/dxf_document.h"
#include "formats/dxf_pairs.h"
#include "formats/dxf_record.h"

namespace pphatch::formats {

/// Reads the document from the pairs of SplitDxfPairs. Throws ReadError
/// (with `name` and the line) for a section that never ends. An ENTITIES
/// section of `parseInHalvesFrom` pairs or more is read by two threads, a
/// half each, to the same entities and findings.
inline constexpr std::size_t kParseInHalvesFrom = std::size_t{1} << 20;
DxfDocument ParseDxf(const DxfPairs& pairs, const std::string& name,
                     std::size_t parseInHalvesFrom = kParseInHalvesFrom);

/// Reads the entity whose record starts at `begin` (before `end`), with the
/// records that belong to it (the VERTEXes and SEQEND of a POLYLINE, the
/// ATTRIBs of an INSERT), and appends it to `out`; entities that are not
/// understood are appended as DxfIgnored. Findings go to `report`.
/// Returns where the next record starts.
std::size_t ReadEntity(const DxfPairs& pairs, std::size_t begin, std::size_t end,
                       std::vector<DxfEntity>& out, LoadReport& report);

/// The boundary loops, fill and elevation of a HATCH record. A boundary
/// that cannot be read leaves no loops and a warning in `report`.
DxfHatch ReadHatch(const DxfRecord& record, LoadReport& report);

}  // namespace pphatch::formats
