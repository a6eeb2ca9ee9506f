// The chains of straight pieces a drawing is made of, read back from the
// in-memory host once the drawing is built, for the comparison with GEOS.
//
// Curves become the chords the component samples them into (see CurveSteps):
// a whole circle or ellipse 60 chords from the end of its major axis on, an
// arc 61 per turn of its sweep (at least 5, 10 or 20), its chain ending
// where the arc's ends lie up to rounding (GeosFaces joins them to what meets
// them there); polylines are cut into their straight runs and their arcs.
// With the same chords on both sides, the areas must agree to rounding. The
// true curves stay beside their chords, for two rules of the drawing that
// chords alone do not show:
//  - a vertex of another chain lying on the true curve (a line ending on a
//    circle between its samples, an arc's end on an ellipse) is on the curve:
//    it is put into the curve's chain between the samples it lies between,
//    so that both meet there;
//  - a straight piece touching a true curve between its samples (a tangent)
//    touches it: the touching point is put into the piece and into the
//    curve's chain between its samples.
// How the component bends its chords to such points is its own affair: it
// may move a sample where the oracle puts a point in, or put the point in
// after the chord is cut where others cross it. The chains then differ only
// near the point, by an area bounded in Contact::allowance. Inserts are
// read through their children, which the host has placed.
#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "differential/line_pieces.h"
#include "differential/random_drawing.h"
#include "memhost/drawing.h"
#include "memhost/graphic.h"
#include "memhost/graphics.h"

namespace pphatch::differential {

/// One chain of straight pieces; a closed chain repeats its first point.
struct Chain {
  std::vector<Vec2> points;
  /// The true curve a curve's chain samples.
  std::optional<ArcShape> curve;
  /// Curves: how far the chords may lie from the true curve (the largest
  /// distance at the chords' middles, a quarter more for the ellipses,
  /// whose farthest point lies a little off the middle), and the longest chord.
  double chordError = 0, chordLength = 0;
  Box box;
};

/// A point of another chain put into a curve's chain.
struct Contact {
  Vec2 at;
  /// The point is where a straight piece touches the curve (else a vertex on it).
  bool touch = false;
  /// Only faces that come this near the point can differ: a chord of the
  /// curve, two for a touching point.
  double reach = 0;
  /// How much the area of such a face may differ: for a vertex, the
  /// triangle of the chord and the point (half the chord's length times the
  /// chord error). For a touching point one side may move the nearest sample
  /// onto it where the other puts it in, which changes the chain within one
  /// and a half sample steps of the point (hence the reach of two chords).
  /// All such chains lie within the segment the true curve cuts off over
  /// those steps, of area r^2 (1.5 t)^3 / 12 for a circle of radius r and
  /// step angle t: 2.25 times the chord's length (r t) times the chord error
  /// (r t^2 / 8). Taken as 3 times, as ellipses bend unevenly.
  double allowance = 0;
};

/// The chains of a built drawing, with the points where they meet curves.
class DrawingChords {
 public:
  /// `onCurve`: how far a point may lie from a true curve and still be on
  /// it. Rounding puts computed points some 1e-14 of the drawing's size off;
  /// a point that is not meant to be on a curve lies very much farther.
  DrawingChords(const mem::MemDrawing& drawing, double onCurve) : onCurve_(onCurve) {
    for (const auto& g : drawing.List()->Items()) Collect(*g);
    for (Chain& c : chains_) {
      for (const Vec2 p : c.points) c.box.Add(p);
    }
    FindContacts();
  }

  const std::vector<Chain>& Chains() const { return chains_; }
  const std::vector<Contact>& Contacts() const { return contacts_; }

  /// How much the area of a face within that box may differ from the area
  /// the chains give (see Contact::allowance).
  double Allowance(const Box& face) const {
    double allowance = 0;
    for (const Contact& c : contacts_) {
      if (face.Grown(c.reach).Holds(c.at)) allowance += c.allowance;
    }
    return allowance;
  }

  /// Distance from p to the nearest chain, less that chain's chord error:
  /// negative or small between a curve's chords and the true curve.
  double Clearance(Vec2 p) const {
    double best = INFINITY;
    for (const Chain& c : chains_) {
      if (c.box.Distance(p) - c.chordError >= best) continue;
      for (size_t i = 0; i + 1 < c.points.size(); ++i) {
        best = std::min(best, DistanceToSegment(p, c.points[i], c.points[i + 1]) - c.chordError);
      }
    }
    return best;
  }

 private:
  /// Where a point lies in the frame in which the curve is the unit circle.
  static Vec2 Local(const ArcShape& s, Vec2 p) {
    const double m2 = mem::Dot(s.major, s.major);
    const Vec2 d = p - s.centre, perp{-s.major.y, s.major.x};
    return {mem::Dot(d, s.major) / m2, mem::Dot(d, perp) / (m2 * s.ratio)};
  }
  /// The curve's parameter at a point of the unit frame, measured from the start.
  static double Offset(const ArcShape& s, Vec2 local) {
    return mem::NormalizeAngle(std::atan2(local.y, local.x) - (s.full ? 0 : s.start));
  }

  void Collect(const mem::MemGraphic& g) {
    const std::string& type = g.TypeText();
    const std::vector<mem::VertexData>& v = g.VertexList();
    if (type == "INSERT") {
      for (const auto& child : g.ChildItems()) Collect(*child);
    } else if ((type == "CIRCLE" || type == "ARC") && g.Shape()) {
      AddCurve(*g.Shape());
    } else if (type == "PWW50Polyline") {
      CollectPolyline(v);
    } else if (v.size() >= 2) {
      Chain c;
      for (const mem::VertexData& p : v) c.points.push_back({p.x, p.y});
      chains_.push_back(std::move(c));
    }
  }

  /// A polyline's straight runs, and its arc runs (start, centre, a point
  /// on the arc that tells its sense, end) as circular arcs.
  void CollectPolyline(const std::vector<mem::VertexData>& v) {
    const auto at = [&v](size_t i) { return Vec2{v[i].x, v[i].y}; };
    Chain run;
    const auto flush = [&] {
      if (run.points.size() >= 2) chains_.push_back(run);
      run = Chain{};
    };
    for (size_t i = 0; i < v.size(); ++i) {
      run.points.push_back(at(i));
      if (i + 3 < v.size() && v[i + 1].arcPoint) {
        flush();
        const Vec2 s = at(i), c = at(i + 1), d = at(i + 2), e = at(i + 3);
        const bool counterClockwise = mem::Cross(s - c, d - s) > 0;
        const Vec2 first = counterClockwise ? s : e, last = counterClockwise ? e : s;
        const auto angle = [c](Vec2 p) { return std::atan2(p.y - c.y, p.x - c.x); };
        AddCurve(mem::CircularArcShape(c, mem::Length(s - c), angle(first), angle(last)));
        i += 2;  // the next run starts at the arc's end
      }
    }
    flush();
  }

  void AddCurve(const ArcShape& s) {
    Chain c;
    c.curve = s;
    const int k = CurveSteps(s);
    const double from = s.full ? 0 : s.start;
    for (int i = 0; i <= k; ++i) c.points.push_back(s.PointAt(from + SampleOffset(s, i)));
    if (s.full) c.points[k] = c.points[0];
    for (int i = 0; i < k; ++i) {
      const Vec2 middle = s.PointAt(from + 0.5 * (SampleOffset(s, i) + SampleOffset(s, i + 1)));
      const Vec2 a = c.points[i], b = c.points[i + 1];
      const double length = mem::Length(b - a);
      c.chordLength = std::max(c.chordLength, length);
      if (length > 0)
        c.chordError = std::max(c.chordError, std::fabs(mem::Cross(b - a, middle - a)) / length);
    }
    c.chordError *= s.Circular() ? 1.0 : 1.25;
    chains_.push_back(std::move(c));
  }

  /// True when p lies within onCurve of one of the chain's points.
  bool NearPoint(const Chain& c, Vec2 p) const {
    return std::any_of(c.points.begin(), c.points.end(),
                       [&](Vec2 q) { return mem::Length(p - q) <= onCurve_; });
  }

  /// The sample interval of the curve holding that offset; nothing beyond an arc's ends.
  static std::optional<size_t> PieceAt(const ArcShape& s, double offset) {
    const double sweep = s.Sweep();
    if (!(offset > 0 && offset < sweep)) return std::nullopt;
    const int k = CurveSteps(s);
    return std::min(static_cast<size_t>(offset / sweep * k), static_cast<size_t>(k - 1));
  }

  void FindContacts() {
    std::vector<std::vector<Insertion>> insertions(chains_.size());
    for (size_t ci = 0; ci < chains_.size(); ++ci) {
      const Chain& c = chains_[ci];
      if (!c.curve) continue;
      const ArcShape& s = *c.curve;
      const double unitTolerance = onCurve_ / (mem::Length(s.major) * s.ratio);  // over the minor radius
      const Box reach = c.box.Grown(c.chordError + onCurve_);
      for (size_t j = 0; j < chains_.size(); ++j) {
        const Chain& other = chains_[j];
        if (j == ci || !reach.Meets(other.box)) continue;
        // Vertices on the true curve.
        for (const Vec2 p : other.points) {
          if (!reach.Holds(p)) continue;
          const Vec2 local = Local(s, p);
          if (!(std::fabs(mem::Length(local) - 1) <= unitTolerance) || NearPoint(c, p)) continue;
          const double offset = Offset(s, local);
          if (const auto piece = PieceAt(s, offset)) {
            insertions[ci].push_back({*piece, offset, p});
            contacts_.push_back({p, false, c.chordLength, 0.5 * c.chordLength * c.chordError});
          }
        }
        if (other.curve) continue;
        // Straight pieces touching the true curve inside them.
        for (size_t k = 0; k + 1 < other.points.size(); ++k) {
          const Vec2 a = other.points[k], b = other.points[k + 1];
          Box piece;
          piece.Add(a);
          piece.Add(b);
          if (!reach.Meets(piece)) continue;
          const Vec2 la = Local(s, a), d = Local(s, b) - la;
          const double length = mem::Length(d);
          if (!(length > 0) ||
              !(std::fabs(std::fabs(mem::Cross(la, d)) / length - 1) <= unitTolerance))
            continue;
          const double w = -mem::Dot(la, d) / (length * length);
          const Vec2 t = a + w * (b - a);
          if (!(w > 0 && w < 1) || mem::Length(t - a) <= onCurve_ ||
              mem::Length(t - b) <= onCurve_ || NearPoint(c, t)) {
            continue;
          }
          const auto at = PieceAt(s, Offset(s, la + w * d));
          if (!at) continue;
          insertions[j].push_back({k, w, t});
          insertions[ci].push_back({*at, Offset(s, la + w * d), t});
          contacts_.push_back({t, true, 2 * c.chordLength, 3 * c.chordLength * c.chordError});
        }
      }
    }
    for (size_t ci = 0; ci < chains_.size(); ++ci)
      chains_[ci].points = WithInserted(chains_[ci].points, insertions[ci]);
  }

  double onCurve_;
  std::vector<Chain> chains_;
  std::vector<Contact> contacts_;
};

}  // namespace pphatch::differential
