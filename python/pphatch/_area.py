"""What a pick gives: an Area, or the NoArea error."""

from __future__ import annotations

import math
from typing import NamedTuple

# Boundary path flags of a hatch's loops: the outer one is external, the
# islands' are plain (ezdxf marks a path external unless told).
_EXTERNAL_PATH = 1
_ISLAND_PATH = 0


class Gap(NamedTuple):
    """A gap in a boundary and the straight bridge over it.

    ``start`` is the free end of a chain, ``end`` the nearest point of the
    graphic it reaches, ``size`` the distance between them, in drawing units.
    """

    start: tuple
    end: tuple
    size: float


class Line(NamedTuple):
    """A straight piece of a boundary, from ``start`` to ``end``."""

    start: tuple
    end: tuple


class Arc(NamedTuple):
    """A piece of a boundary along a circle or an ellipse of the drawing.

    The curve is centre + cos(t) * u + sin(t) * v, with v a quarter turn
    counter-clockwise from u (for a circle u = (r, 0) and v = (0, r), so t
    is the direction seen from the centre; for an ellipse u is the major
    half-axis). The piece runs from t0 to t1: counter-clockwise when t1 > t0,
    clockwise when t1 < t0. ``start`` and ``end`` are its end points.
    """

    start: tuple
    end: tuple
    centre: tuple
    u: tuple
    v: tuple
    t0: float
    t1: float

    @property
    def circular(self):
        """True for an arc of a circle."""
        return math.isclose(math.hypot(*self.u), math.hypot(*self.v), rel_tol=1e-12)

    def at(self, t):
        """The curve's point at parameter t."""
        c, s = math.cos(t), math.sin(t)
        return (self.centre[0] + c * self.u[0] + s * self.v[0],
                self.centre[1] + c * self.u[1] + s * self.v[1])

    def split(self):
        """The arc as pieces of at most half a turn each (a whole circle in two halves)."""
        parts = max(1, math.ceil(abs(self.t1 - self.t0) / math.pi - 1e-9))
        if parts == 1:
            return [self]
        step = (self.t1 - self.t0) / parts
        ts = [self.t0 + i * step for i in range(parts)] + [self.t1]
        ends = [self.start] + [self.at(t) for t in ts[1:-1]] + [self.end]
        return [self._replace(start=ends[i], end=ends[i + 1], t0=ts[i], t1=ts[i + 1])
                for i in range(parts)]


def _piece(raw):
    """A Line or an Arc of the compiled module's piece tuple."""
    return Line(*raw[1:]) if raw[0] == "line" else Arc(*raw[1:])


def _add_loop(paths, pieces, flags):
    """Adds a closed boundary to a hatch's paths: a polyline path with bulges
    when it has only lines and circular arcs, else an edge path with line,
    arc and ellipse edges."""
    if all(p.circular for p in pieces if isinstance(p, Arc)):
        vertices = []
        for piece in pieces:
            if isinstance(piece, Line):
                vertices.append((*piece.start, 0.0))
                continue
            for half in piece.split():
                vertices.append((*half.start, math.tan((half.t1 - half.t0) / 4)))
        paths.add_polyline_path(vertices, is_closed=True, flags=flags)
        return
    edges = paths.add_edge_path(flags=flags)
    for piece in pieces:
        if isinstance(piece, Line):
            edges.add_line(piece.start, piece.end)
            continue
        for part in piece.split():
            ccw = part.t1 > part.t0
            first, last = (part.t0, part.t1) if ccw else (part.t1, part.t0)
            if part.circular:
                turn = math.degrees(math.atan2(part.u[1], part.u[0]))
                edges.add_arc(part.centre, math.hypot(*part.u), turn + math.degrees(first),
                              turn + math.degrees(last), ccw=ccw)
            else:
                major = math.hypot(*part.u)
                edge = edges.add_ellipse(part.centre, part.u, math.hypot(*part.v) / major,
                                         ccw=ccw)
                # ezdxf keeps an ellipse edge's ends as parameters counter-clockwise.
                edge.start_param, edge.end_param = first, last


class NoArea(Exception):
    """No closed area holds the point.

    ``str(error)`` and ``message`` are the component's message, "Operation
    can not be performed with these objects." (translated only when the
    language library libwordhold.so is found through PPHATCH_WORDHOLD_DIR
    and a language is set); ``point`` is the picked (x, y).

    The diagnosis: ``cause`` is "open" (the boundary around the point has
    gaps), "not_enclosed" (no boundary surrounds it), "on_boundary" (the
    point lies on a graphic that bounds no area), "budget" (the search ran
    out of time) or "error" (the drawing failed during the search).
    ``closes_at`` is the smallest gap tolerance with which the pick finds an
    area (None when none within reach does), ``gaps`` the Gap bridges it
    would close, shortest first, and ``free_ends`` the (x, y) ends of
    chains where an open boundary that no tolerance closes is open.
    """

    def __init__(self, message, point, cause="not_enclosed", closes_at=None, gaps=(),
                 free_ends=()):
        super().__init__(message)
        self.message = message
        self.point = point
        self.cause = cause
        self.closes_at = closes_at
        self.gaps = tuple(Gap(*g) for g in gaps)
        self.free_ends = tuple(free_ends)

    def __reduce__(self):
        # Pickled whole, so that results come back intact from other processes.
        return (type(self), (self.message, self.point, self.cause, self.closes_at, self.gaps,
                             self.free_ends))


class Area:
    """The closed area found around a picked point.

    ``outer`` is the outer boundary and ``islands`` holds one boundary per
    island, each a float64 NumPy array of shape (n, 2), closed (its last row
    repeats the first), in drawing coordinates; curves are followed by short
    chords. ``curves`` holds the same boundaries, outer first, as Line and
    Arc pieces on the drawing's true circles and ellipses. ``area`` is the
    outer boundary's area less the islands' and ``perimeter`` the length of
    the outer boundary, both measured on the true curves (as the
    command-line tool reports them). ``bridged`` lists the Gap bridges the
    boundaries run along (empty when picking without a gap tolerance);
    ``point`` is the picked (x, y).
    """

    __slots__ = ("outer", "islands", "area", "perimeter", "bridged", "point", "_pieces")

    def __init__(self, outer, islands, area, perimeter, point, bridged=(), curves=None):
        self.outer = outer
        self.islands = tuple(islands)
        self.area = area
        self.perimeter = perimeter
        self.bridged = tuple(Gap(*g) for g in bridged)
        self.point = point
        self._pieces = curves

    def __repr__(self):
        return (f"Area(point={self.point}, area={self.area!r}, perimeter={self.perimeter!r}, "
                f"outer={len(self.outer)} points, islands={len(self.islands)})")

    @property
    def curves(self):
        """The boundaries as tuples of Line and Arc pieces, outer first, each closed.

        Made when first asked for; an Area made without them takes its
        contours' chords as lines.
        """
        if not isinstance(self._pieces, tuple):
            raw = self._pieces
            if raw is None:
                raw = [[("line", tuple(a), tuple(b)) for a, b in zip(c[:-1].tolist(), c[1:].tolist())]
                       for c in (self.outer, *self.islands)]
            self._pieces = tuple(tuple(_piece(p) for p in c) for c in raw)
        return self._pieces

    def to_shapely(self):
        """The area as a shapely Polygon (outer shell, islands as holes), curves as chords.

        Needs shapely (Debian: python3-shapely).
        """
        from shapely.geometry import Polygon

        return Polygon(self.outer, [island for island in self.islands])

    def add_hatch(self, msp, pattern="ANSI31", scale=1.0, layer="HATCH"):
        """Adds a HATCH of the area to an ezdxf layout and returns it.

        msp: the ezdxf layout (model space, a block) to add the hatch to.
        pattern: a pattern name of ezdxf's set ("ANSI31", "BRICK", ...) or
            "SOLID" for a solid fill.
        scale: the pattern's scale.
        layer: the hatch's layer.

        The outer boundary becomes the hatch's external loop and each island
        a loop of its own, on the true curves: a closed polyline path whose
        circular arcs are bulges, or an edge path with line, arc and ellipse
        edges where a boundary follows an ellipse. HATCH needs DXF R2000 or
        later: for an R12 document set ``doc.dxfversion = "R2000"`` first
        (ezdxf raises DXFVersionError otherwise).
        """
        hatch = msp.add_hatch(dxfattribs={"layer": layer})
        if pattern.upper() == "SOLID":
            hatch.set_solid_fill()
        else:
            hatch.set_pattern_fill(pattern, scale=scale)
        for i, pieces in enumerate(self.curves):
            _add_loop(hatch.paths, pieces, _EXTERNAL_PATH if i == 0 else _ISLAND_PATH)
        return hatch
