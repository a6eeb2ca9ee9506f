"""Area.add_hatch makes a HATCH that ezdxf accepts and that covers the area."""

import subprocess
import sys

import ezdxf
import pytest
from conftest import EXAMPLES, read_points
from shapely.geometry import Polygon

import pphatch


def hatch_area(hatch):
    """The external loop's area less the other loops', from the hatch's own paths."""
    total = 0.0
    for path in hatch.paths:
        ring = Polygon([(x, y) for x, y, *_ in path.vertices])
        total += ring.area if path.path_type_flags & 1 else -ring.area
    return total


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
        assert hatch_area(hatch) == pytest.approx(area.area, rel=1e-12)
    auditor = doc.audit()
    assert not auditor.has_errors and not auditor.has_fixes
    out = tmp_path / "rooms.dxf"
    doc.saveas(out)
    again = ezdxf.readfile(out).modelspace().query("HATCH")
    assert len(again) == len(areas)
    assert [hatch_area(h) for h in again] == pytest.approx([a.area for a in areas], rel=1e-12)


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
