"""Drawings and picks."""

from __future__ import annotations

import math
import numbers
import os
import re

import numpy as np

from . import _core
from ._area import Area, NoArea


class DrawingError(Exception):
    """A drawing file that cannot be read.

    ``str(error)`` is the full message ("plan.dxf: line 57: the file ends
    after group code 70, before its value"); ``path`` is the file, ``line``
    the line where reading failed (None when no line applies, such as a
    missing file) and ``reason`` the message without file and line.
    """

    def __init__(self, message, path, line, reason):
        super().__init__(message)
        self.path = path
        self.line = line
        self.reason = reason


def _drawing_error(path, message):
    """The DrawingError of a reader's message.

    The readers write "PATH: line N: REASON" (JSON syntax errors "PATH: line
    N, column M: REASON"), or "PATH: REASON" where no line applies.
    """
    rest = message[len(path) + 2:] if message.startswith(path + ": ") else message
    located = re.match(r"line (\d+)(?:, column \d+)?: (.*)", rest, re.S)
    if located:
        return DrawingError(message, path, int(located[1]), located[2])
    return DrawingError(message, path, None, rest)


def _check_gap(gap):
    if not (isinstance(gap, numbers.Real) and math.isfinite(gap) and gap >= 0):
        raise ValueError(f"gap must be a finite number >= 0, not {gap!r}")


def _result(outcome, point):
    """An Area of a compiled pick's (contours, area, perimeter, curves, bridged),
    or NoArea of its (message, cause, closes_at, gaps, free_ends)."""
    if isinstance(outcome[0], str):
        return NoArea(outcome[0], point, *outcome[1:])
    contours, area, perimeter, curves, bridged = outcome
    return Area(contours[0], contours[1:], area, perimeter, point, bridged, curves)


class Drawing:
    """A drawing to pick areas in.

    Make one with Drawing.read(path) or Drawing.from_ezdxf(doc). Picks on a
    drawing release the interpreter lock, so threads with drawings of their
    own pick at the same time; picks on the same drawing from several
    threads are safe and run one after another.
    """

    __slots__ = ("_core", "name", "__weakref__")

    def __init__(self, core, name):
        self._core = core
        self.name = name

    def __repr__(self):
        return f"Drawing({self.name!r}, {self.graphic_count} graphics)"

    @classmethod
    def read(cls, path):
        """Reads a drawing file: DXF (ASCII, R12 to R2018) or JSON, by extension.

        Model space only; layers that are off or frozen are left out, and
        what could not be used is listed in ``report``.

        Raises DrawingError (with ``path`` and ``line``) when the file is
        missing, of another format, malformed or truncated.
        """
        path = os.fspath(path)
        try:
            return cls(_core.DrawingCore.read(path), path)
        except _core.ReadFailure as e:
            raise _drawing_error(path, str(e)) from None

    @classmethod
    def from_ezdxf(cls, doc, name="<ezdxf>"):
        """The model space of an ezdxf document as a drawing.

        The document is read in memory, never written to a file, and its
        entities become the same graphics as when the document is saved and
        read with Drawing.read: lines, polylines (with bulges), circles,
        arcs, ellipses, splines, block inserts (nested, scaled, turned,
        mirrored, with rows and columns), and the kinds that bound nothing
        (hatches, dimensions, points, solids...); texts are counted in
        ``report``. ``name`` stands for the drawing in messages.
        """
        from ._ezdxf import document_records

        if not hasattr(doc, "modelspace"):
            raise TypeError(f"from_ezdxf takes an ezdxf document (ezdxf.readfile(...)), "
                            f"not {type(doc).__name__}")
        layers, blocks, entities, tile_mode = document_records(doc)
        try:
            core = _core.DrawingCore.from_records(layers, blocks, entities, tile_mode, name)
        except _core.ReadFailure as e:
            raise _drawing_error(name, str(e)) from None
        return cls(core, name)

    @property
    def report(self):
        """What the reader left out, one sentence each ("4 TEXT entities ignored")."""
        return self._core.report

    @property
    def graphic_count(self):
        """The number of top-level graphics."""
        return self._core.graphic_count

    @property
    def extents(self):
        """(xmin, ymin, xmax, ymax) of the drawn geometry, or None for an empty drawing."""
        return self._core.extents

    def pick(self, x, y, gap=0.0):
        """Finds the closed area around the point (x, y).

        x, y: the point, in drawing coordinates.
        gap: the widest gap between graphics to bridge, in drawing units
            (0: the boundary must be closed). A boundary open by gaps up to
            this size is closed along straight bridges, listed in the
            Area's ``bridged``.

        Returns an Area: outer boundary and islands as closed (n, 2) float64
        arrays, the same on the true curves (``curves``), area, perimeter,
        bridged gaps.

        Raises NoArea when no closed boundary holds the point (its message
        is "Operation can not be performed with these objects."; its
        ``cause``, ``closes_at``, ``gaps`` and ``free_ends`` tell why, and
        which gap tolerance would close the boundary), and ValueError for a
        coordinate or gap that is not a finite number (or a negative gap).
        """
        _check_gap(gap)
        point = (float(x), float(y))
        if not (math.isfinite(point[0]) and math.isfinite(point[1])):
            raise ValueError(f"the point must have finite coordinates, not {point}")
        result = _result(self._core.pick(point[0], point[1], float(gap)), point)
        if isinstance(result, NoArea):
            raise result
        return result

    def pick_many(self, points, gap=0.0):
        """Picks at every point, in order, with the interpreter lock released throughout.

        points: an (n, 2) array or a sequence of (x, y) pairs.
        gap: as for pick.

        Returns a list with one entry per point: an Area, or the NoArea
        error (returned, not raised) for a point without an area. Raises
        ValueError when a coordinate is not a finite number.
        """
        _check_gap(gap)
        array = np.asarray(points, dtype=np.float64)
        if array.size == 0:
            array = array.reshape(0, 2)
        if array.ndim != 2 or array.shape[1] != 2:
            raise ValueError(f"points must be (x, y) pairs, shape (n, 2), not {array.shape}")
        if not np.isfinite(array).all():
            raise ValueError("every point must have finite coordinates")
        outcomes = self._core.pick_many(array, float(gap))
        return [_result(o, (float(p[0]), float(p[1]))) for o, p in zip(outcomes, array)]

    def _snapshot(self):
        """Canonical text of every graphic, for comparing two drawings."""
        return self._core.snapshot()
