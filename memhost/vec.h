// Small plane and space vectors used throughout the in-memory host.
#pragma once

#include <cmath>

namespace pphatch::mem {

/// A point or direction in the drawing plane.
struct Vec2 {
  double x = 0, y = 0;
};

/// A point or direction in space.
struct Vec3 {
  double x = 0, y = 0, z = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(double s, Vec2 a) { return {s * a.x, s * a.y}; }
inline bool operator==(Vec2 a, Vec2 b) { return a.x == b.x && a.y == b.y; }

/// Dot product of two plane vectors.
inline double Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }

/// z component of the cross product; positive when b turns left of a.
inline double Cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }

/// Euclidean length of a plane vector.
inline double Length(Vec2 a) { return std::hypot(a.x, a.y); }

/// The vector turned by `angle` radians counter-clockwise.
inline Vec2 Rotated(Vec2 a, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  return {c * a.x - s * a.y, s * a.x + c * a.y};
}

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
inline bool operator==(Vec3 a, Vec3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

/// Dot product of two space vectors.
inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

}  // namespace pphatch::mem
