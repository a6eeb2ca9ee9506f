// Workplanes of the in-memory host: an origin and three orthonormal axes.
#pragma once

#include <memory>

#include "memhost/fault_injector.h"
#include "memhost/vec.h"
#include "pphatch/host.h"

namespace pphatch::mem {

/// A frame in space. Plane coordinates (x, y, z) have the world image
/// origin + x * xAxis + y * yAxis + z * zAxis. The axes must be orthonormal
/// and right-handed; the builders keep them so. A workplane never changes
/// after it is made, so graphics may share one.
class MemWorkplane : public HostWorkplane {
 public:
  MemWorkplane(Vec3 origin, Vec3 xAxis, Vec3 yAxis, Vec3 zAxis,
               std::shared_ptr<FaultInjector> faults = nullptr);

  /// The world frame: origin (0,0,0), axes along x, y and z.
  static std::shared_ptr<MemWorkplane> Identity(std::shared_ptr<FaultInjector> faults = nullptr);

  /// This frame moved by `distance` along its own z axis.
  std::shared_ptr<MemWorkplane> MovedAlongNormal(double distance) const;
  /// This frame turned by `angle` radians about its own z axis (same plane).
  std::shared_ptr<MemWorkplane> RotatedInPlane(double angle) const;
  /// This frame tilted by `angle` radians about its own x axis.
  std::shared_ptr<MemWorkplane> Tilted(double angle) const;

  /// World image of a point given in plane coordinates.
  Vec3 ToWorld(Vec3 plane) const;
  /// Plane coordinates of a point given in world coordinates.
  Vec3 ToPlane(Vec3 world) const;
  /// True when both frames have exactly the same origin and axes.
  bool SameFrame(const MemWorkplane& other) const;

  Vec3 Origin() const { return origin_; }
  Vec3 XAxis() const { return x_; }
  Vec3 YAxis() const { return y_; }
  Vec3 ZAxis() const { return z_; }

  /// True for the same object or a workplane with exactly the same frame.
  bool IsEqual(const HostWorkplanePtr& other) override;

 private:
  std::shared_ptr<MemWorkplane> Make(Vec3 origin, Vec3 xAxis, Vec3 yAxis, Vec3 zAxis) const;

  Vec3 origin_, x_, y_, z_;
  std::shared_ptr<FaultInjector> faults_;
};

}  // namespace pphatch::mem
