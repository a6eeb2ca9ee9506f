from os import PathLike
from typing import Any, Iterable, Literal, NamedTuple, Sequence, Union

import numpy as np
import numpy.typing as npt

_Contour = npt.NDArray[np.float64]
_Points = Union[npt.ArrayLike, Iterable[Sequence[float]]]

_Point = tuple[float, float]
_Cause = Literal["open", "not_enclosed", "on_boundary", "budget", "error"]

class Gap(NamedTuple):
    start: _Point
    end: _Point
    size: float

class Line(NamedTuple):
    start: _Point
    end: _Point

class Arc(NamedTuple):
    start: _Point
    end: _Point
    centre: _Point
    u: _Point
    v: _Point
    t0: float
    t1: float
    @property
    def circular(self) -> bool: ...
    def at(self, t: float) -> _Point: ...
    def split(self) -> list[Arc]: ...

class NoArea(Exception):
    message: str
    point: _Point
    cause: _Cause
    closes_at: float | None
    gaps: tuple[Gap, ...]
    free_ends: tuple[_Point, ...]
    def __init__(self, message: str, point: _Point, cause: _Cause = ...,
                 closes_at: float | None = ..., gaps: Iterable[Any] = ...,
                 free_ends: Iterable[_Point] = ...) -> None: ...

class DrawingError(Exception):
    path: str
    line: int | None
    reason: str
    def __init__(self, message: str, path: str, line: int | None, reason: str) -> None: ...

class Area:
    outer: _Contour
    islands: tuple[_Contour, ...]
    area: float
    perimeter: float
    bridged: tuple[Gap, ...]
    point: _Point
    def __init__(self, outer: _Contour, islands: Iterable[_Contour], area: float,
                 perimeter: float, point: _Point, bridged: Iterable[Any] = ...,
                 curves: Any = ...) -> None: ...
    @property
    def curves(self) -> tuple[tuple[Line | Arc, ...], ...]: ...
    def to_shapely(self) -> Any: ...
    def add_hatch(self, msp: Any, pattern: str = "ANSI31", scale: float = 1.0,
                  layer: str = "HATCH") -> Any: ...

class Drawing:
    name: str
    @classmethod
    def read(cls, path: str | PathLike[str]) -> Drawing: ...
    @classmethod
    def from_ezdxf(cls, doc: Any, name: str = "<ezdxf>") -> Drawing: ...
    @property
    def report(self) -> list[str]: ...
    @property
    def graphic_count(self) -> int: ...
    @property
    def extents(self) -> tuple[float, float, float, float] | None: ...
    def pick(self, x: float, y: float, gap: float = 0.0) -> Area: ...
    def pick_many(self, points: _Points, gap: float = 0.0) -> list[Area | NoArea]: ...

__all__ = ["Arc", "Area", "Drawing", "DrawingError", "Gap", "Line", "NoArea"]
