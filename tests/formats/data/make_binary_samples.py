#!/usr/bin/python3
"""Writes the binary DXF samples of the reader tests with ezdxf, another
program's writer: floor_plan_bin.dxf (release 12, one-byte group codes) from
examples/floor_plan.dxf, and sampler_2018.dxf with sampler_2018_bin.dxf (the
same drawing as text and as binary, two-byte group codes). Run from the
project root: /usr/bin/python3 tests/formats/data/make_binary_samples.py"""
import ezdxf

OUT = "tests/formats/data/"

ezdxf.readfile("examples/floor_plan.dxf").saveas(OUT + "floor_plan_bin.dxf", fmt="bin")

doc = ezdxf.new("R2018")
msp = doc.modelspace()
doc.layers.add("HIDDEN").off()
chair = doc.blocks.new("CHAIR")
chair.add_lwpolyline([(0, 0), (1, 0), (1, 1), (0, 1)], close=True)
chair.add_circle((0.5, 0.5), 0.2)
msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (10, 0), (10, 8), (0, 8)], format="xyseb", close=True)
msp.add_line((2, 2), (6, 2))
msp.add_arc((5, 5), 1.5, 20, 250)
msp.add_ellipse((7, 5), major_axis=(1.5, 0), ratio=0.5)
msp.add_spline([(1, 6), (2, 7), (3, 6), (4, 7)])
msp.add_blockref("CHAIR", (3, 3), dxfattribs={"rotation": 30, "xscale": 1.5, "yscale": 1.5})
hatch = msp.add_hatch(color=2)
hatch.paths.add_polyline_path([(8, 1), (9, 1), (9, 2)], is_closed=True)
msp.add_text("ROOM", dxfattribs={"insert": (1, 1)})
msp.add_line((0, 0), (1, 1), dxfattribs={"layer": "HIDDEN"})
msp.add_point((4, 4))
doc.saveas(OUT + "sampler_2018.dxf")
doc.saveas(OUT + "sampler_2018_bin.dxf", fmt="bin")
