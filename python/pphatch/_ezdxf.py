"""Records of an ezdxf document for the compiled part.

The compiled part turns these records into the document the DXF reader makes
of a file, so that a drawing taken from ezdxf is placed by the same rules as
one read from disk (object coordinate systems, blocks, hidden layers). Each
entity becomes ``(dxf name, layer, extrusion, thickness, kind, data)``:

========== ==============================================================
kind       data
========== ==============================================================
line       (start, end)
circle     (centre, radius, is an arc, start degrees, end degrees)
ellipse    (centre, major axis, ratio, start parameter, end parameter)
polyline   ([(x, y, z, bulge)...], closed, 3D, elevation)
spline     (degree, closed, knots, weights, control points, fit points)
insert     (block, point, (sx, sy, sz), rotation, columns, rows,
           column spacing, row spacing)
hatch      the entity's DXF groups [(code, value text)...]
dimension  (type, point 10, point 13, point 14, point 15)
marker     (host type, points, points in the OCS, closed)
ignored    None (counted by name, like a text)
========== ==============================================================
"""

from __future__ import annotations

import math

from ezdxf.lldxf.tagwriter import TagCollector

_BODIES = {"3DSOLID", "REGION", "BODY"}
_SURFACES = {"SURFACE", "PLANESURFACE", "EXTRUDEDSURFACE", "LOFTEDSURFACE",
             "REVOLVEDSURFACE", "SWEPTSURFACE", "NURBSURFACE"}
# POLYLINE vertex flag of a spline frame control point, which is not drawn.
_FRAME_VERTEX = 16


def _get(e, name, default):
    """A DXF attribute, or the default when the entity does not have it."""
    try:
        return e.dxf.get(name, default)
    except Exception:  # attributes that the entity kind does not define
        return default


def _xyz(p):
    return (float(p[0]), float(p[1]), float(p[2]) if len(p) > 2 else 0.0)


def _polyline(e):
    if e.is_poly_face_mesh or e.is_polygon_mesh:
        return None
    three_d = e.is_3d_polyline
    elevation = float(_get(e, "elevation", (0, 0, 0))[2])
    vertices = []
    for v in e.vertices:
        if v.dxf.get("flags", 0) & _FRAME_VERTEX:
            continue
        x, y, z = _xyz(v.dxf.location)
        vertices.append((x, y, z if three_d else elevation, float(v.dxf.get("bulge", 0))))
    return "polyline", (vertices, e.is_closed, three_d, elevation)


def _lwpolyline(e):
    elevation = float(_get(e, "elevation", 0))
    vertices = [(float(x), float(y), elevation, float(b)) for x, y, b in e.get_points("xyb")]
    return "polyline", (vertices, e.closed, False, elevation)


def _corners(e, order):
    corners = [_xyz(e.dxf.get(f"vtx{i}", (0, 0, 0))) for i in order]
    if corners[2] == corners[3]:  # a triangle repeats its third corner
        corners.pop()
    return corners


def _hatch_groups(e):
    collector = TagCollector(dxfversion=e.doc.dxfversion if e.doc else "AC1032")
    e.export_dxf(collector)
    groups = []
    for tag in collector.tags[1:]:
        value = tag.value
        if isinstance(value, (tuple, list)):  # a point written as one tag
            groups.extend((tag.code + 10 * i, repr(float(c))) for i, c in enumerate(value))
        elif isinstance(value, float):
            groups.append((tag.code, repr(value) if math.isfinite(value) else "0"))
        else:
            groups.append((tag.code, str(value)))
    return groups


def _shape(e):
    """(kind, data) of one entity."""
    t = e.dxftype()
    d = e.dxf
    if t == "LINE":
        return "line", (_xyz(d.start), _xyz(d.end))
    if t == "CIRCLE":
        return "circle", (_xyz(d.center), float(d.radius), False, 0.0, 0.0)
    if t == "ARC":
        return "circle", (_xyz(d.center), float(d.radius), True,
                          float(d.get("start_angle", 0)), float(d.get("end_angle", 360)))
    if t == "ELLIPSE":
        return "ellipse", (_xyz(d.center), _xyz(d.major_axis), float(d.get("ratio", 1)),
                           float(d.get("start_param", 0)), float(d.get("end_param", 2 * math.pi)))
    if t == "LWPOLYLINE":
        return _lwpolyline(e)
    if t == "POLYLINE":
        return _polyline(e)
    if t == "SPLINE":
        return "spline", (int(d.get("degree", 3)), bool(d.get("flags", 0) & 1),
                          [float(k) for k in e.knots], [float(w) for w in e.weights],
                          [_xyz(p) for p in e.control_points], [_xyz(p) for p in e.fit_points])
    if t == "INSERT":
        return "insert", (d.name, _xyz(d.insert),
                          (float(d.get("xscale", 1)), float(d.get("yscale", 1)),
                           float(d.get("zscale", 1))),
                          float(d.get("rotation", 0)),
                          int(d.get("column_count", 1)), int(d.get("row_count", 1)),
                          float(d.get("column_spacing", 0)), float(d.get("row_spacing", 0)))
    if t == "HATCH":
        return "hatch", _hatch_groups(e)
    if t == "DIMENSION":
        return "dimension", (int(d.get("dimtype", 0)) & 7,
                             *(_xyz(d.get(n, (0, 0, 0)))
                               for n in ("defpoint", "defpoint2", "defpoint3", "defpoint4")))
    if t == "LEADER":
        return "marker", ("PWW25DimLead", [_xyz(v) for v in e.vertices], False, False)
    if t == "POINT":
        return "marker", ("PWW30POINT", [_xyz(d.location)], False, False)
    if t in ("SOLID", "TRACE"):
        return "marker", ("PWW40CUBE", _corners(e, (0, 1, 3, 2)), True, True)
    if t == "3DFACE":
        return "marker", ("PWW40CUBE", _corners(e, (0, 1, 2, 3)), False, True)
    if t in _BODIES:
        return "marker", ("PWW60ACISSOLID", [], False, False)
    if t in _SURFACES:
        return "marker", ("SURFACE", [], False, False)
    return None


def _entity_records(entities):
    """Records of the entities, in order; an insert's attributes follow it as texts."""
    records = []
    for e in entities:
        t = e.dxftype()
        shape = _shape(e)
        name = t if shape is not None or t != "POLYLINE" else "POLYLINE (mesh)"
        kind, data = shape if shape is not None else ("ignored", None)
        records.append((name, _get(e, "layer", "0"), _xyz(_get(e, "extrusion", (0, 0, 1))),
                        float(_get(e, "thickness", 0)), kind, data))
        if t == "INSERT":
            for a in e.attribs:
                records.append(("ATTRIB", _get(a, "layer", "0"),
                                _xyz(_get(a, "extrusion", (0, 0, 1))), 0.0, "ignored", None))
    return records


def document_records(doc):
    """(layers, blocks, model-space entities, $TILEMODE) of an ezdxf document."""
    layers = {layer.dxf.name: layer.is_off() or layer.is_frozen() for layer in doc.layers}
    blocks = [(b.name, _xyz(b.block.dxf.get("base_point", (0, 0, 0))), _entity_records(b))
              for b in doc.blocks if not b.is_any_layout]
    tile_mode = doc.header.get("$TILEMODE")
    return layers, blocks, _entity_records(doc.modelspace()), tile_mode
