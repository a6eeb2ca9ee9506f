#include "memhost/workplane.h"

#include <cmath>
#include <utility>

namespace pphatch::mem {

namespace {

// Rodrigues rotation of v about the unit axis k by `angle` radians.
Vec3 RotateAbout(Vec3 v, Vec3 k, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  const Vec3 kxv{k.y * v.z - k.z * v.y, k.z * v.x - k.x * v.z, k.x * v.y - k.y * v.x};
  return c * v + s * kxv + ((1 - c) * Dot(k, v)) * k;
}

}  // namespace

MemWorkplane::MemWorkplane(Vec3 origin, Vec3 xAxis, Vec3 yAxis, Vec3 zAxis,
                           std::shared_ptr<FaultInjector> faults)
    : origin_(origin), x_(xAxis), y_(yAxis), z_(zAxis), faults_(std::move(faults)) {}

std::shared_ptr<MemWorkplane> MemWorkplane::Identity(std::shared_ptr<FaultInjector> faults) {
  return std::make_shared<MemWorkplane>(Vec3{0, 0, 0}, Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1},
                                        std::move(faults));
}

std::shared_ptr<MemWorkplane> MemWorkplane::Make(Vec3 origin, Vec3 xAxis, Vec3 yAxis,
                                                 Vec3 zAxis) const {
  return std::make_shared<MemWorkplane>(origin, xAxis, yAxis, zAxis, faults_);
}

std::shared_ptr<MemWorkplane> MemWorkplane::MovedAlongNormal(double distance) const {
  return Make(origin_ + distance * z_, x_, y_, z_);
}

std::shared_ptr<MemWorkplane> MemWorkplane::RotatedInPlane(double angle) const {
  return Make(origin_, RotateAbout(x_, z_, angle), RotateAbout(y_, z_, angle), z_);
}

std::shared_ptr<MemWorkplane> MemWorkplane::Tilted(double angle) const {
  return Make(origin_, x_, RotateAbout(y_, x_, angle), RotateAbout(z_, x_, angle));
}

Vec3 MemWorkplane::ToWorld(Vec3 p) const { return origin_ + p.x * x_ + p.y * y_ + p.z * z_; }

Vec3 MemWorkplane::ToPlane(Vec3 w) const {
  const Vec3 d = w - origin_;
  return {Dot(d, x_), Dot(d, y_), Dot(d, z_)};
}

bool MemWorkplane::SameFrame(const MemWorkplane& o) const {
  return origin_ == o.origin_ && x_ == o.x_ && y_ == o.y_ && z_ == o.z_;
}

bool MemWorkplane::IsEqual(const HostWorkplanePtr& other) {
  if (faults_) faults_->Enter("HostWorkplane.IsEqual");
  if (other.get() == this) return true;
  const auto* mine = dynamic_cast<const MemWorkplane*>(other.get());
  return mine != nullptr && SameFrame(*mine);
}

}  // namespace pphatch::mem
