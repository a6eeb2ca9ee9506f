"""Area.add_hatch makes a HATCH that ezdxf accepts and that covers the area."""

import math
import random
import subprocess
import sys

import ezdxf
import pytest
from conftest import EXAMPLES, REAL_DRAWINGS, read_points
from ezdxf import path as ezpath
from shapely.geometry import Polygon

import pphatch


def cross(a, b):
    return a[0] * b[1] - a[1] * b[0]


def loop_area(loop):
    """The signed area a hatch loop encloses, exactly, from its vertices and
    bulges or from its line, arc and ellipse edges as ezdxf reads them.
    Coordinates are taken from the loop's first point, so that far from the
    origin the products do not swamp the area."""
    total = 0.0
    if hasattr(loop, "vertices"):
        ox, oy, _ = loop.vertices[0]
        ring = [(x - ox, y - oy, bulge) for x, y, bulge in loop.vertices]
        for (x0, y0, bulge), (x1, y1, _) in zip(ring, ring[1:] + ring[:1]):
            total += (x0 * y1 - x1 * y0) / 2
            if bulge:  # the circular segment between chord and arc
                sweep = 4 * math.atan(bulge)
                chord2 = (x1 - x0) ** 2 + (y1 - y0) ** 2
                total += chord2 / (8 * math.sin(sweep / 2) ** 2) * (sweep - math.sin(sweep))
        return total
    origin = loop.edges[0].start_point
    for edge in loop.edges:
        if edge.type.name == "LINE":
            total += cross(edge.start - origin, edge.end - origin) / 2
            continue
        conic = edge.construction_tool()  # counter-clockwise from start to end parameter
        a, b, c = conic.major_axis, conic.minor_axis, conic.center - origin
        t0, t1 = conic.start_param, conic.end_param
        if t1 <= t0:
            t1 += 2 * math.pi
        part = (cross(c, a) * (math.cos(t1) - math.cos(t0)) + cross(c, b) * (math.sin(t1) - math.sin(t0))
                + cross(a, b) * (t1 - t0)) / 2
        total += part if edge.ccw else -part
    return total


def hatch_area(hatch):
    """The external loop's area less the other loops', from the hatch's own paths."""
    return sum(abs(loop_area(p)) * (1 if p.path_type_flags & 1 else -1) for p in hatch.paths)


def assert_hatch_covers(hatch, area):
    """The hatch has the area's exact measure and lies along its boundaries
    (off them by no more than the chords the contours follow curves with)."""
    assert hatch_area(hatch) == pytest.approx(area.area, rel=1e-9)
    rings = [Polygon(p.flattening(0.001)) for p in ezpath.from_hatch(hatch)]
    shape = Polygon(rings[0].exterior, [r.exterior for r in rings[1:]])
    xmin, ymin, xmax, ymax = shape.bounds
    assert shape.hausdorff_distance(area.to_shapely()) < 0.002 * max(xmax - xmin, ymax - ymin)


@pytest.mark.parametrize("pattern", ["ANSI31", "SOLID"])
def test_hatches_of_every_room_pass_the_audit_and_keep_their_areas(tmp_path, pattern):
    drawing = pphatch.Drawing.read(EXAMPLES / "floor_plan.dxf")
    doc = ezdxf.new("R2018")
    msp = doc.modelspace()
    areas = [a for a in drawing.pick_many(read_points(EXAMPLES / "floor_plan.points"))]
    assert all(isinstance(a, pphatch.Area) for a in areas)
    hatches = [a.add_hatch(msp, pattern=pattern, scale=5.0, layer="ROOMS") for a in areas]
    for area, hatch in zip(areas, hatches):
        assert hatch.dxf.layer == "ROOMS"
        assert hatch.dxf.pattern_name == pattern
        assert len(hatch.paths) == 1 + len(area.islands)
        assert_hatch_covers(hatch, area)
    auditor = doc.audit()
    assert not auditor.has_errors and not auditor.has_fixes
    out = tmp_path / "rooms.dxf"
    doc.saveas(out)
    again = ezdxf.readfile(out).modelspace().query("HATCH")
    assert len(again) == len(areas)
    assert [hatch_area(h) for h in again] == pytest.approx([a.area for a in areas], rel=1e-9)


def test_hatch_loops_follow_circles_with_bulges_and_ellipses_with_edges():
    doc = ezdxf.new("R2018")
    msp = doc.modelspace()
    # A room whose top wall is half an ellipse, whose right wall is half an
    # ellipse bulging into the room (run clockwise), with an ellipse and a
    # round column in it.
    msp.add_line((0, 0), (200, 0))
    msp.add_line((0, 0), (0, 100))
    msp.add_ellipse((100, 100), major_axis=(100, 0), ratio=0.4, start_param=0, end_param=math.pi)
    msp.add_ellipse((200, 50), major_axis=(0, 50), ratio=0.3, start_param=0, end_param=math.pi)
    msp.add_ellipse((60, 50), major_axis=(20, 10), ratio=0.5)
    msp.add_circle((140, 40), 15)
    area = pphatch.Drawing.from_ezdxf(doc).pick(30, 30)
    ellipse_island = math.pi * (20 ** 2 + 10 ** 2) * 0.5
    expected = 200 * 100 + math.pi * 100 * 40 / 2 - math.pi * 50 * 15 / 2 - ellipse_island - math.pi * 15 ** 2
    assert area.area == pytest.approx(expected, rel=1e-9)
    assert [sum(isinstance(p, pphatch.Arc) for p in c) for c in area.curves] == [2, 1, 1]

    out = ezdxf.new("R2018")
    hatch = area.add_hatch(out.modelspace(), pattern="SOLID")
    assert_hatch_covers(hatch, area)
    outer = hatch.paths[0]
    assert [e.type.name for e in outer.edges].count("ELLIPSE") == 2
    assert sorted(e.ccw for e in outer.edges if e.type.name == "ELLIPSE") == [False, True]
    column = next(p for p in hatch.paths[1:] if hasattr(p, "vertices"))
    assert [abs(b) for *_, b in column.vertices] == pytest.approx([1, 1])  # two half circles
    assert abs(loop_area(column)) == pytest.approx(math.pi * 15 ** 2, rel=1e-12)
    auditor = out.audit()
    assert not auditor.has_errors and not auditor.has_fixes


@pytest.mark.parametrize("name", ["emf_siteplan.dxf", "qcad_flange.dxf", "f550_gear.dxf"])
def test_hatches_of_real_drawings_keep_their_areas(name):
    # A site plan far from the origin, a flange with elliptic edges, a gear of arcs.
    path = REAL_DRAWINGS / name
    if not path.exists():
        pytest.skip(f"{path} is not there (real drawings are kept beside the checkout)")
    drawing = pphatch.Drawing.read(path)
    xmin, ymin, xmax, ymax = drawing.extents
    chance = random.Random(3)
    points = [(chance.uniform(xmin, xmax), chance.uniform(ymin, ymax)) for _ in range(40)]
    areas = [a for a in drawing.pick_many(points) if isinstance(a, pphatch.Area)]
    assert len(areas) >= 10
    doc = ezdxf.new("R2018")
    for area in areas:
        assert_hatch_covers(area.add_hatch(doc.modelspace()), area)
    assert not doc.audit().has_errors


def test_the_example_script_hatches_every_room(tmp_path):
    run = subprocess.run([sys.executable, str(EXAMPLES / "hatch_rooms.py"), "-o", "rooms.dxf"],
                         cwd=tmp_path, capture_output=True, text=True, check=False)
    assert run.returncode == 0, run.stderr
    drawing = pphatch.Drawing.read(EXAMPLES / "floor_plan.dxf")
    points = read_points(EXAMPLES / "floor_plan.points")
    rows = run.stdout.splitlines()[1:1 + len(points)]
    for (x, y), row in zip(points, rows):
        assert f"{drawing.pick(x, y).area:.2f}" in row.split()
    hatches = ezdxf.readfile(tmp_path / "rooms.dxf").modelspace().query("HATCH")
    assert len(hatches) == len(points)
    assert {h.dxf.layer for h in hatches} == {"ROOMS"}
