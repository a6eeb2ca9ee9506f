// The vertex chain of a graphic, and single vertices.
#pragma once

#include <memory>

#include "memhost/vec.h"
#include "pphatch/host.h"

namespace pphatch::mem {

class MemGraphic;
class FaultInjector;

/// The vertices of one graphic. The world-mode switch belongs to the graphic,
/// so every HostVertices of it shares the mode.
class MemVertices : public HostVertices {
 public:
  explicit MemVertices(std::shared_ptr<MemGraphic> graphic);
  int Count() override;
  HostVertexPtr Item(int index) override;
  /// Appends (x, y, z) read in the current mode: plane or world coordinates.
  HostVertexPtr Add(double x, double y, double z = 0) override;
  void SetWorldMode(bool world) override;

 private:
  std::shared_ptr<MemGraphic> graphic_;
};

/// One vertex of a graphic, by position. X, Y and Z follow the graphic's
/// world mode; SetX and SetY in world mode write the plane coordinates whose
/// world image has the new value.
class MemVertex : public HostVertex {
 public:
  MemVertex(std::shared_ptr<MemGraphic> graphic, int index);
  double X() override;
  double Y() override;
  double Z() override;
  void SetX(double x) override;
  void SetY(double y) override;
  bool PenDown() override;
  void SetPenDown(bool down) override;
  bool ArcPoint() override;

 private:
  Vec3 Read(const char* operation);
  void Write(const char* operation, int axis, double value);

  std::shared_ptr<MemGraphic> graphic_;
  int index_;
};

/// A vertex that belongs to no graphic (the corner of a bounding box).
class PointVertex : public HostVertex {
 public:
  PointVertex(Vec3 point, std::shared_ptr<FaultInjector> faults);
  double X() override;
  double Y() override;
  double Z() override;
  void SetX(double x) override;
  void SetY(double y) override;
  bool PenDown() override;
  void SetPenDown(bool down) override;
  bool ArcPoint() override;

 private:
  Vec3 point_;
  bool penDown_ = true;
  std::shared_ptr<FaultInjector> faults_;
};

}  // namespace pphatch::mem
