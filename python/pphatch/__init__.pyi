from os import PathLike
from typing import Any, Iterable, Sequence, Union

import numpy as np
import numpy.typing as npt

_Contour = npt.NDArray[np.float64]
_Points = Union[npt.ArrayLike, Iterable[Sequence[float]]]

class NoArea(Exception):
    message: str
    point: tuple[float, float]
    def __init__(self, message: str, point: tuple[float, float]) -> None: ...

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
    bridged: tuple[Any, ...]
    point: tuple[float, float]
    def __init__(self, outer: _Contour, islands: Iterable[_Contour], area: float,
                 perimeter: float, point: tuple[float, float],
                 bridged: Iterable[Any] = ...) -> None: ...
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

__all__ = ["Area", "Drawing", "DrawingError", "NoArea"]
