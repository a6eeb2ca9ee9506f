"""What a pick gives: an Area, or the NoArea error."""

from __future__ import annotations

# Boundary path flags of a hatch's loops: the outer one is external, the
# islands' are plain (ezdxf marks a polyline path external unless told).
_EXTERNAL_PATH = 1
_ISLAND_PATH = 0


class NoArea(Exception):
    """No closed area holds the point.

    ``str(error)`` and ``message`` are the component's message, "Operation
    can not be performed with these objects." (translated only when the
    language library libwordhold.so is found through PPHATCH_WORDHOLD_DIR
    and a language is set); ``point`` is the picked (x, y).
    """

    def __init__(self, message, point):
        super().__init__(message)
        self.message = message
        self.point = point


class Area:
    """The closed area found around a picked point.

    ``outer`` is the outer boundary and ``islands`` holds one boundary per
    island, each a float64 NumPy array of shape (n, 2), closed (its last row
    repeats the first), in drawing coordinates. ``area`` is the outer
    boundary's area less the islands'; ``perimeter`` the length of the outer
    boundary (as the command-line tool reports them); ``bridged`` lists the gaps the pick closed
    (always empty when picking without a gap tolerance); ``point`` is the
    picked (x, y).
    """

    __slots__ = ("outer", "islands", "area", "perimeter", "bridged", "point")

    def __init__(self, outer, islands, area, perimeter, point, bridged=()):
        self.outer = outer
        self.islands = tuple(islands)
        self.area = area
        self.perimeter = perimeter
        self.bridged = tuple(bridged)
        self.point = point

    def __repr__(self):
        return (f"Area(point={self.point}, area={self.area!r}, perimeter={self.perimeter!r}, "
                f"outer={len(self.outer)} points, islands={len(self.islands)})")

    def to_shapely(self):
        """The area as a shapely Polygon (outer shell, islands as holes).

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
        a loop of its own, as closed polylines. HATCH needs DXF R2000 or
        later: for an R12 document set ``doc.dxfversion = "R2000"`` first
        (ezdxf raises DXFVersionError otherwise).
        """
        hatch = msp.add_hatch(dxfattribs={"layer": layer})
        if pattern.upper() == "SOLID":
            hatch.set_solid_fill()
        else:
            hatch.set_pattern_fill(pattern, scale=scale)
        hatch.paths.add_polyline_path(self.outer[:-1].tolist(), is_closed=True,
                                      flags=_EXTERNAL_PATH)
        for island in self.islands:
            hatch.paths.add_polyline_path(island[:-1].tolist(), is_closed=True,
                                          flags=_ISLAND_PATH)
        return hatch
