// The room schedule: one pick per label of a drawing, as a table.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "formats/dxf_labels.h"
#include "memhost/drawing.h"
#include "picking.h"

namespace pphatch::cli {

/// One row of the schedule.
struct RoomRow {
  std::string label;
  DrawingPoint at;        ///< the point picked: the label's insertion point or its box's middle
  PickOutcome outcome;    ///< the pick there
  int sameAs = -1;        ///< index of an earlier row that found the same area, or -1
  std::vector<int> alsoLabelled;  ///< later rows that found this row's area

  /// "ok", "duplicate" (an area already counted) or "failed".
  std::string Status() const;
  /// What a reader should know: the other labels of the area, or why the pick failed.
  std::string Note(const std::vector<RoomRow>& rows) const;
};

/// The point to pick for a label: its insertion point when that lies in
/// free space (on no graphic of the drawing), else the middle of its text
/// box when that does, else the insertion point.
DrawingPoint LabelPoint(mem::MemDrawing& drawing, const formats::DxfLabel& label);

/// The rows for the labels and their pick outcomes (in the same order),
/// with the labels that found one area linked to each other.
std::vector<RoomRow> ScheduleRows(const std::vector<formats::DxfLabel>& labels,
                                  const std::vector<DrawingPoint>& points,
                                  std::vector<PickOutcome> outcomes);

/// The sum of the areas, each area counted once, and the number of areas.
double TotalArea(const std::vector<RoomRow>& rows, int& areas);

/// The schedule as CSV: a header line, one line per row, a TOTAL line.
void WriteRoomsCsv(std::ostream& out, const std::vector<RoomRow>& rows);

/// The schedule as one JSON object: {"rooms":[...],"total_area":...,"areas":N}.
void WriteRoomsJson(std::ostream& out, const std::vector<RoomRow>& rows);

}  // namespace pphatch::cli
