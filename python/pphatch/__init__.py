"""Pick-point hatching: the closed area around a point of a 2D drawing.

    >>> import pphatch
    >>> drawing = pphatch.Drawing.read("plan.dxf")
    >>> room = drawing.pick(150, 150)
    >>> room.area, len(room.islands)

Drawing.from_ezdxf(doc) takes an ezdxf document instead of a file;
Area.add_hatch(msp) adds the area to an ezdxf layout as a HATCH and
Area.to_shapely() gives it as a shapely Polygon. drawing.pick(x, y, gap=0.5)
bridges gaps up to 0.5 drawing units; a NoArea tells the cause and the gap
tolerance that would close the boundary.
"""

from ._area import Arc, Area, Gap, Line, NoArea
from ._drawing import Drawing, DrawingError

__all__ = ["Arc", "Area", "Drawing", "DrawingError", "Gap", "Line", "NoArea"]
