#include "view_export.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "formats/dxf_writer.h"
#include "formats/errors.h"
#include "formats/svg_writer.h"
#include "output.h"
#include "view_api.h"

namespace pphatch::cli {

namespace {

// A file of its own in the temporary directory, removed with this object.
class TemporaryFile {
 public:
  TemporaryFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pphatch-view-XXXXXX").string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0) throw formats::WriteError("cannot make a temporary file for the export");
    close(fd);
    path_ = pattern;
  }
  ~TemporaryFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& Path() const { return path_; }
  std::string Read() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

 private:
  std::string path_;
};

}  // namespace

ExportFile Export(const std::string& format, const std::vector<ExportPoint>& points,
                  Picker& picker, mem::MemDrawing& drawing, const std::string& units) {
  if (format != "dxf" && format != "svg" && format != "jsonl") {
    throw BadRequest("format: dxf, svg or jsonl");
  }
  std::vector<PickOutcome> outcomes;
  outcomes.reserve(points.size());
  for (const ExportPoint& p : points) {
    picker.SetGap(p.gap);
    outcomes.push_back(picker.Pick(p.at));
    outcomes.back().index = static_cast<int>(outcomes.size());
  }

  if (format == "dxf") {
    // The DXF writer writes to a path; the file is read back whole.
    TemporaryFile file;
    formats::WriteDxfResult(file.Path(), ToAreas(outcomes), &drawing);
    return {"application/dxf", ".dxf", file.Read()};
  }
  std::ostringstream out;
  if (format == "svg") {
    formats::WriteSvg(out, drawing, ToSvgPicks(outcomes));
    return {"image/svg+xml", ".svg", out.str()};
  }
  WriteJsonLines(out, outcomes, units);
  return {"application/jsonl", ".jsonl", out.str()};
}

}  // namespace pphatch::cli
