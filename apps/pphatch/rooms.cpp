#include "rooms.h"

#include <cmath>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "gap_report.h"

namespace pphatch::cli {

namespace {

using Json = nlohmann::ordered_json;

// A graphic this close to a point (relative to the drawing's size) keeps
// the point from being free space.
constexpr double kFreeSpace = 1e-9;

// True when no graphic passes through p.
bool Free(mem::MemDrawing& drawing, mem::Vec2 p) {
  const auto box = drawing.Index().Bounds();
  const double size = box ? std::max(box->maxX - box->minX, box->maxY - box->minY) : 1;
  return drawing.Index().AtPoint(p, kFreeSpace * size).empty();
}

// True when p lies inside the closed contour (even-odd rule).
bool Inside(const formats::Contour& ring, DrawingPoint p) {
  bool in = false;
  for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    const auto& a = ring[i];
    const auto& b = ring[j];
    if ((a[1] > p.y) != (b[1] > p.y) &&
        p.x < (b[0] - a[0]) * (p.y - a[1]) / (b[1] - a[1]) + a[0]) {
      in = !in;
    }
  }
  return in;
}

// True when two successful picks found the same area: the same measures
// and each pick point inside the other's outer contour.
bool SameArea(const RoomRow& a, const RoomRow& b) {
  const auto& ma = a.outcome.measures;
  const auto& mb = b.outcome.measures;
  const double scale = std::max(std::fabs(ma.area), std::fabs(mb.area));
  return std::fabs(ma.area - mb.area) <= 1e-9 * scale &&
         std::fabs(ma.perimeter - mb.perimeter) <= 1e-9 * std::max(ma.perimeter, mb.perimeter) &&
         Inside(a.outcome.contours[0], b.at) && Inside(b.outcome.contours[0], a.at);
}

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

// A number with up to 12 significant digits, as a spreadsheet reads it.
std::string CsvNumber(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.12g", v);
  return text;
}

}  // namespace

std::string RoomRow::Status() const {
  if (!outcome.ok) return "failed";
  return sameAs >= 0 ? "duplicate" : "ok";
}

std::string RoomRow::Note(const std::vector<RoomRow>& rows) const {
  if (!outcome.ok) return outcome.error + " (" + WhyNoArea(outcome) + ")";
  if (sameAs >= 0) return "same area as " + rows[sameAs].label + ", counted once";
  if (alsoLabelled.empty()) return "";
  std::string note = "also labelled";
  for (std::size_t k = 0; k < alsoLabelled.size(); ++k) {
    note += (k == 0 ? " " : ", ") + rows[alsoLabelled[k]].label;
  }
  return note;
}

DrawingPoint LabelPoint(mem::MemDrawing& drawing, const formats::DxfLabel& label) {
  if (Free(drawing, label.insertion)) return {label.insertion.x, label.insertion.y};
  if (Free(drawing, label.middle)) return {label.middle.x, label.middle.y};
  return {label.insertion.x, label.insertion.y};
}

std::vector<RoomRow> ScheduleRows(const std::vector<formats::DxfLabel>& labels,
                                  const std::vector<DrawingPoint>& points,
                                  std::vector<PickOutcome> outcomes) {
  std::vector<RoomRow> rows;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    RoomRow row;
    row.label = labels[i].text;
    row.at = points[i];
    row.outcome = std::move(outcomes[i]);
    for (std::size_t k = 0; k < rows.size() && row.outcome.ok; ++k) {
      if (rows[k].outcome.ok && rows[k].sameAs < 0 && SameArea(rows[k], row)) {
        row.sameAs = static_cast<int>(k);
        rows[k].alsoLabelled.push_back(static_cast<int>(i));
        break;
      }
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

double TotalArea(const std::vector<RoomRow>& rows, int& areas) {
  double total = 0;
  areas = 0;
  for (const RoomRow& row : rows) {
    if (row.Status() != "ok") continue;
    total += row.outcome.measures.area;
    ++areas;
  }
  return total;
}

void WriteRoomsCsv(std::ostream& out, const std::vector<RoomRow>& rows) {
  out << "label,area,perimeter,islands,x,y,status,note\r\n";
  for (const RoomRow& row : rows) {
    const bool ok = row.outcome.ok;
    const auto& m = row.outcome.measures;
    out << CsvField(row.label) << ',' << (ok ? CsvNumber(m.area) : "") << ','
        << (ok ? CsvNumber(m.perimeter) : "") << ','
        << (ok ? std::to_string(row.outcome.contours.size() - 1) : "") << ',' << CsvNumber(row.at.x)
        << ',' << CsvNumber(row.at.y) << ',' << row.Status() << ',' << CsvField(row.Note(rows))
        << "\r\n";
  }
  int areas = 0;
  const double total = TotalArea(rows, areas);
  out << "TOTAL," << CsvNumber(total) << ",,,,,," << areas << (areas == 1 ? " area" : " areas")
      << "\r\n";
}

void WriteRoomsJson(std::ostream& out, const std::vector<RoomRow>& rows) {
  Json rooms = Json::array();
  for (const RoomRow& row : rows) {
    Json room;
    room["label"] = row.label;
    room["at"] = Json::array({row.at.x, row.at.y});
    room["status"] = row.Status();
    if (row.outcome.ok) {
      room["area"] = row.outcome.measures.area;
      room["perimeter"] = row.outcome.measures.perimeter;
      room["islands"] = row.outcome.contours.size() - 1;
    }
    const std::string note = row.Note(rows);
    if (!note.empty()) room["note"] = note;
    rooms.push_back(std::move(room));
  }
  int areas = 0;
  Json doc;
  doc["rooms"] = std::move(rooms);
  doc["total_area"] = TotalArea(rows, areas);
  doc["areas"] = areas;
  out << doc.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace pphatch::cli
