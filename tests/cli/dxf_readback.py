"""Reads back with ezdxf what `pphatch pick --format dxf` wrote over a
drawing, and checks it as a CAD program's user would.

usage: dxf_readback.py PPHATCH SCRATCH_DIR
       dxf_readback.py PPHATCH SCRATCH_DIR SOURCE.dxf X,Y...

The first form makes its own source drawing (R2000, millimetres): a
400 x 300 room with rounded corners, a round column, an elliptical plinth,
a door swing in one corner and a block of a round table inserted twice,
plus a text; it checks the hatches in detail. The second hatches a given
drawing at the points and checks that everything of the source is kept.
Exits non-zero with a message on the first check that fails.
"""

import collections
import json
import math
import os
import subprocess
import sys

import ezdxf
from ezdxf import path as ezpath


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def make_source(path):
    doc = ezdxf.new("R2000")
    doc.header["$INSUNITS"] = 4
    for name in ("WALLS", "COLUMNS", "DOORS", "FURNITURE", "TEXT"):
        doc.layers.add(name)
    msp = doc.modelspace()
    b = math.tan(math.pi / 8)
    msp.add_lwpolyline([(20, 0, 0, 0, 0), (380, 0, 0, 0, b), (400, 20, 0, 0, 0), (400, 280, 0, 0, b),
                        (380, 300, 0, 0, 0), (20, 300, 0, 0, b), (0, 280, 0, 0, 0), (0, 20, 0, 0, b)],
                       format="xyseb", close=True, dxfattribs={"layer": "WALLS"})
    msp.add_circle((200, 150), 20, dxfattribs={"layer": "COLUMNS"})
    msp.add_ellipse((300, 80), major_axis=(30, 10), ratio=0.4, dxfattribs={"layer": "COLUMNS"})
    # Door: hinge (0, 200) on the wall face x = 0, leaf into the room, swing back to the wall.
    msp.add_line((0, 200), (80, 200), dxfattribs={"layer": "DOORS"})
    msp.add_arc((0, 200), 80, -90, 0, dxfattribs={"layer": "DOORS"})
    table = doc.blocks.new("TABLE")
    table.add_circle((0, 0), 15, dxfattribs={"layer": "FURNITURE"})
    msp.add_blockref("TABLE", (100, 80), dxfattribs={"layer": "FURNITURE", "xscale": 2, "yscale": 2})
    msp.add_blockref("TABLE", (100, 250), dxfattribs={"layer": "FURNITURE"})
    msp.add_text("ROOM 1", dxfattribs={"layer": "TEXT", "height": 10, "insert": (150, 270)})
    doc.saveas(path)


def counts(doc):
    return collections.Counter((e.dxftype(), e.dxf.layer) for e in doc.modelspace())


def audit_codes(doc):
    return sorted(set(e.code for e in doc.audit().errors))


def conic_area_twice(centre, u, v, t0, t1, origin):
    """Twice the signed area swept from origin by the arc c + cos t u + sin t v."""
    def at(t):
        return (centre[0] + math.cos(t) * u[0] + math.sin(t) * v[0],
                centre[1] + math.cos(t) * u[1] + math.sin(t) * v[1])
    p0, p1 = at(t0), at(t1)
    cx, cy = centre[0] - origin[0], centre[1] - origin[1]
    return cx * (p1[1] - p0[1]) - cy * (p1[0] - p0[0]) + (u[0] * v[1] - u[1] * v[0]) * (t1 - t0)


def edge_range(edge):
    """The edge's parameter range in the direction the loop runs (radians)."""
    s, e = math.radians(edge.start_angle), math.radians(edge.end_angle)
    if e <= s:
        e += 2 * math.pi
    return (s, e) if edge.ccw else (e, s)


def loop_area(path):
    """Exact area of a boundary path of line, arc and elliptic arc edges."""
    origin = path.edges[0].start if path.edges[0].type.name == "LINE" else path.edges[0].center
    twice = 0
    for e in path.edges:
        kind = e.type.name
        if kind == "LINE":
            twice += ((e.start[0] - origin[0]) * (e.end[1] - origin[1])
                      - (e.end[0] - origin[0]) * (e.start[1] - origin[1]))
        elif kind == "ARC":
            t0, t1 = edge_range(e)
            twice += conic_area_twice(e.center, (e.radius, 0), (0, e.radius), t0, t1, origin)
        elif kind == "ELLIPSE":
            u = e.major_axis
            v = (-u[1] * e.ratio, u[0] * e.ratio)
            t0, t1 = edge_range(e)
            twice += conic_area_twice(e.center, u, v, t0, t1, origin)
        else:
            fail("unexpected edge type " + kind)
    return abs(twice) / 2


def flattened_area(path):
    """Area of ezdxf's own path of the loop, flattened: a check of continuity."""
    points = list(ezpath.from_hatch_boundary_path(path).flattening(0.01))
    return abs(sum(points[k].x * points[k + 1].y - points[k + 1].x * points[k].y
                   for k in range(len(points) - 1))) / 2


def run(tool, *args):
    done = subprocess.run([tool, *args], capture_output=True, text=True)
    if done.returncode != 0:
        fail("%s exited %d: %s" % (" ".join(args), done.returncode, done.stderr))
    return done.stdout


def check_kept(before, after):
    """Everything of the source is in the output, and its audit is no worse."""
    if audit_codes(after) != audit_codes(before):
        fail("audit: %s, source %s" % (audit_codes(after), audit_codes(before)))
    old, new = counts(before), counts(after)
    for key, n in old.items():
        if new[key] != n:
            fail("%s on %s: %d in the source, %d in the output" % (key[0], key[1], n, new[key]))
    for layer in before.layers:
        if layer.dxf.name not in after.layers:
            fail("layer %s missing from the output" % layer.dxf.name)
    for block in before.blocks:
        if block.name.upper().startswith(("*MODEL_SPACE", "*PAPER_SPACE")):
            continue  # layouts: their entities are counted above
        if block.name not in after.blocks or len(after.blocks[block.name]) != len(block):
            fail("block %s not kept" % block.name)


def keep(tool, scratch, source, points):
    output = os.path.join(scratch, "kept.dxf")
    args = [source]
    for p in points:
        args += ["--at", p]
    subprocess.run([tool, "pick", *args, "--format", "dxf", "-o", output], capture_output=True)
    after = ezdxf.readfile(output)
    check_kept(ezdxf.readfile(source), after)
    if not any(True for _ in after.modelspace().query("HATCH[layer=='PPHATCH_HATCH']")):
        fail("no hatch added")
    print("ok: kept")


def main():
    tool, scratch = sys.argv[1], sys.argv[2]
    if len(sys.argv) > 3:
        keep(tool, scratch, sys.argv[3], sys.argv[4:])
        return
    source = os.path.join(scratch, "room.dxf")
    output = os.path.join(scratch, "room_hatched.dxf")
    make_source(source)
    # The room around the column, plinth and tables; the door swing; the column's inside.
    picks = ["60,40", "20,190", "200,150"]
    args = [source]
    for p in picks:
        args += ["--at", p]
    lines = [json.loads(l) for l in run(tool, "pick", *args).splitlines()]
    run(tool, "pick", *args, "--format", "dxf", "-o", output)

    before, after = ezdxf.readfile(source), ezdxf.readfile(output)
    check_kept(before, after)
    with open(output) as f:
        text = f.read().splitlines()
    pairs = list(zip(text[0::2], text[1::2]))
    handles = [int(v, 16) for c, v in pairs if c.strip() in ("5", "105")]
    if len(handles) != len(set(handles)):
        fail("a handle is used twice")
    seed = int(after.header["$HANDSEED"], 16)
    if seed <= max(h for h in handles if h != seed):
        fail("$HANDSEED %s not above every handle" % after.header["$HANDSEED"])

    hatches = list(after.modelspace().query("HATCH"))
    if len(hatches) != len(picks):
        fail("%d hatches for %d picks" % (len(hatches), len(picks)))
    # Arc edges expected: the room's four corners, the door swing it goes
    # around, the column, two tables and the plinth (elliptic); the swing;
    # the column.
    expected = [{"ARC": 8, "ELLIPSE": 1}, {"ARC": 1}, {"ARC": 1}]
    for hatch, line, want in zip(hatches, lines, expected):
        if hatch.dxf.associative != 0 or any(p.source_boundary_objects for p in hatch.paths):
            fail("hatch refers to boundary objects")
        if [tuple(s) for s in hatch.seeds] != [tuple(line["at"])]:
            fail("seed %s for the pick at %s" % (hatch.seeds, line["at"]))
        flags = [p.path_type_flags for p in hatch.paths]
        if not flags[0] & 1 or any(not f & 16 for f in flags[1:]):
            fail("loop flags %s" % flags)
        kinds = collections.Counter(e.type.name for p in hatch.paths for e in p.edges)
        for kind, n in want.items():
            if kinds[kind] != n:
                fail("pick %s: %d %s edges, expected %d" % (line["at"], kinds[kind], kind, n))
        areas = [loop_area(p) for p in hatch.paths]
        area = areas[0] - sum(areas[1:])
        if abs(area - line["area"]) > 1e-9 * line["area"]:
            fail("pick %s: hatch area %r, JSON area %r" % (line["at"], area, line["area"]))
        for p, a in zip(hatch.paths, areas):
            if abs(flattened_area(p) - a) > 1e-3 * a:
                fail("pick %s: a loop's path is not the loop of its edges" % line["at"])
    # Our own reader takes the boundaries back with their bulges: the same areas.
    again = [json.loads(l) for l in run(tool, "pick", output, *args[1:]).splitlines()]
    for first, second in zip(lines, again):
        if abs(first["area"] - second["area"]) > 1e-9 * first["area"]:
            fail("re-read area %r, first %r" % (second["area"], first["area"]))
    print("ok: %d hatches, areas %s" % (len(hatches), [round(l["area"], 6) for l in lines]))


main()
