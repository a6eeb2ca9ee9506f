"""Drawing.from_ezdxf makes the same drawing as Drawing.read of the saved document."""

import math
import re

import ezdxf
import pytest
from conftest import EXAMPLES, REAL_DRAWINGS

import pphatch


def assert_same_drawing(doc, path):
    """from_ezdxf(doc) equals read(path), graphic for graphic, and reports the same."""
    from_doc = pphatch.Drawing.from_ezdxf(doc)
    from_file = pphatch.Drawing.read(path)
    assert from_doc.graphic_count == from_file.graphic_count
    assert from_doc._snapshot() == from_file._snapshot()
    # Paper space is never looked at in a document, so it is not counted
    # there; a document has no lines to name.
    assert from_doc.report == [re.sub(r"^line \d+: ", "", r) for r in from_file.report
                               if "paper space" not in r]
    return from_doc


def sampler():
    """A document with every entity kind the readers place, in blocks and out."""
    doc = ezdxf.new("R2018")
    doc.layers.add("OFF").off()
    doc.layers.add("FROZEN").freeze()
    msp = doc.modelspace()
    # A room of a bulged LWPOLYLINE, with a 2D POLYLINE and a 3D POLYLINE inside.
    msp.add_lwpolyline([(0, 0, 0), (100, 0, 0.4), (100, 80, 0), (0, 80, -0.2)],
                       format="xyb", close=True, dxfattribs={"elevation": 2})
    msp.add_polyline2d([(10, 10), (30, 10), (30, 20)], close=True)
    msp.add_polyline3d([(40, 10, 1), (50, 10, 2), (50, 20, 3)])
    msp.add_line((0, -10), (100, -10), dxfattribs={"thickness": 5})
    msp.add_circle((200, 0), 10)
    msp.add_arc((250, 0), 10, 30, 300)
    msp.add_arc((280, 0), 10, 30, 120, dxfattribs={"extrusion": (0, 0, -1)})
    msp.add_ellipse((300, 0), major_axis=(20, 5), ratio=0.4)
    msp.add_ellipse((350, 0), major_axis=(0, 20), ratio=0.5, start_param=0.5, end_param=4)
    msp.add_spline_control_frame([(0, 100), (20, 130), (40, 90), (60, 120)])
    msp.add_spline([(100, 100), (120, 130), (140, 90), (160, 120)])
    msp.add_open_spline([(200, 100), (220, 140), (240, 90), (260, 120)], degree=2)
    msp.add_point((5, 5))
    msp.add_solid([(400, 0), (410, 0), (400, 10)])
    msp.add_3dface([(420, 0, 1), (430, 0, 2), (430, 10, 3), (420, 10, 4)])
    msp.add_text("TEXT", dxfattribs={"insert": (0, 200)})
    msp.add_line((0, 0), (1, 1), dxfattribs={"layer": "OFF"})
    msp.add_circle((0, 0), 1, dxfattribs={"layer": "FROZEN"})
    msp.add_linear_dim(base=(0, -30), p1=(0, -10), p2=(100, -10)).render()
    hatch = msp.add_hatch()
    edges = hatch.paths.add_edge_path()
    edges.add_line((500, 0), (520, 0))
    edges.add_arc((520, 10), radius=10, start_angle=270, end_angle=90)
    edges.add_ellipse((510, 20), major_axis=(10, 0), ratio=0.5, start_angle=0, end_angle=180)
    edges.add_spline(control_points=[(500, 20), (495, 10), (500, 0)], degree=2)
    hatch.paths.add_polyline_path([(530, 0, 0), (540, 0, 0.5), (540, 10, 0)], is_closed=True)
    # Nested blocks: a frame of lines holding an insert of a door arc.
    door = doc.blocks.new("DOOR", base_point=(1, 1))
    door.add_arc((1, 1), 8, 0, 90)
    door.add_lwpolyline([(1, 1), (9, 1)], dxfattribs={"layer": "0"})
    frame = doc.blocks.new("FRAME")
    frame.add_lwpolyline([(0, 0), (40, 0), (40, 30), (0, 30)], close=True)
    frame.add_blockref("DOOR", (5, 5), dxfattribs={"rotation": 30, "xscale": 1.5, "yscale": -1})
    frame.add_attdef("TAG", (0, 0))
    msp.add_blockref("FRAME", (600, 0), dxfattribs={"rotation": 15, "xscale": 2, "yscale": 0.5})
    msp.add_blockref("FRAME", (700, 0), dxfattribs={
        "column_count": 3, "row_count": 2, "column_spacing": 50, "row_spacing": 40})
    msp.add_blockref("FRAME", (600, 200), dxfattribs={"extrusion": (0, 0, -1)}).add_attrib(
        "TAG", "A1", (600, 200))
    msp.add_blockref("MISSING", (0, 0))
    return doc


def test_every_entity_kind_is_placed_as_the_dxf_reader_places_it(tmp_path):
    doc = sampler()
    doc.saveas(tmp_path / "sampler.dxf")
    drawing = assert_same_drawing(doc, tmp_path / "sampler.dxf")
    assert any("ATTRIB" in line for line in drawing.report)
    assert any("MISSING" in line for line in drawing.report)
    # The frame placed at (600, 0), turned by 15 degrees and scaled by 2 x 0.5.
    c, s = math.cos(math.radians(15)), math.sin(math.radians(15))
    x, y = 2 * 38, 0.5 * 28
    area = drawing.pick(600 + c * x - s * y, s * x + c * y)
    assert area.area == pytest.approx(40 * 2 * 30 * 0.5, rel=1e-9)


@pytest.mark.parametrize("name", ["floor_plan.dxf", "plate.dxf"])
def test_example_drawings(name):
    doc = ezdxf.readfile(EXAMPLES / name)
    assert_same_drawing(doc, EXAMPLES / name)
    with pytest.raises(TypeError):
        pphatch.Drawing.from_ezdxf(doc.modelspace())


@pytest.mark.parametrize("name", ["acadsharp_2018.dxf", "libredwg_ex2000.dxf", "qcad_flange.dxf",
                                  "hal9k_floorplan.dxf", "ezdxf_us_states.dxf"])
def test_real_drawings(name):
    path = REAL_DRAWINGS / name
    if not path.exists():
        pytest.skip(f"{path} is not there (real drawings are kept beside the checkout)")
    assert_same_drawing(ezdxf.readfile(path), path)
