// pphatch_dxflib_read: reads a DXF file with dxflib through a creation
// interface that stores nothing (it only counts the entities it is handed),
// as the lower bound of what a reader built on a parsing library costs.
//
//   pphatch_dxflib_read FILE
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <cstdio>

namespace {

// Counts entities and keeps none of them.
class Counter : public DL_CreationAdapter {
 public:
  void addLine(const DL_LineData&) override { ++entities; }
  void addArc(const DL_ArcData&) override { ++entities; }
  void addCircle(const DL_CircleData&) override { ++entities; }
  void addEllipse(const DL_EllipseData&) override { ++entities; }
  void addPolyline(const DL_PolylineData&) override { ++entities; }
  void addVertex(const DL_VertexData&) override { ++vertices; }
  void addInsert(const DL_InsertData&) override { ++entities; }
  void addPoint(const DL_PointData&) override { ++entities; }

  long entities = 0;
  long vertices = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pphatch_dxflib_read FILE\n");
    return 2;
  }
  Counter counter;
  DL_Dxf dxf;
  if (!dxf.in(argv[1], &counter)) {
    std::fprintf(stderr, "pphatch_dxflib_read: cannot read %s\n", argv[1]);
    return 1;
  }
  std::printf("%ld entities, %ld vertices\n", counter.entities, counter.vertices);
  return 0;
}
