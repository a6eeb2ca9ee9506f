#!/usr/bin/env python3
"""Writes the example drawings of pphatch as R12 ASCII DXF files.

Run from anywhere: `python3 examples/generate_examples.py`. The outputs are
checked in; run this again only after changing a drawing here. Standard
library only.

floor_plan.dxf (units: cm): a 10 m x 7 m building with 20 cm outer walls and
10 cm inner walls, four rooms, two doors with their swings, two round
columns, a cabinet standing against a wall and a desk-and-chair block
inserted three times (once turned by 90 and once by 30 degrees). Room labels
are TEXT entities, which carry no boundary.

rooms_plan.dxf (units: cm): a labelled office floor for `pphatch rooms`:
four rooms with their names as TEXT on layer ROOMS, one room with two
labels, a terrace left open to the outside, and a scale note on layer NOTES.

plate.dxf (units: mm): a 200 x 120 plate with 10 mm corner fillets (a bulged
polyline), four 16 mm bolt holes, a 50 mm bore and a slot drawn as two lines
and two arcs.
"""

import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# tan(included angle / 4) for a quarter turn, counter-clockwise.
QUARTER_BULGE = math.tan(math.pi / 8)


def num(value):
    """A coordinate as DXF text: integral values without a fraction."""
    if abs(value - round(value)) < 1e-12:
        return "%d.0" % round(value)
    return repr(float(value))


class Dxf:
    """Collects group code / value pairs and writes them as an R12 file."""

    def __init__(self):
        self.pairs = []

    def add(self, code, value):
        self.pairs.append((code, value))

    def point(self, x, y, base=10):
        self.add(base, num(x))
        self.add(base + 10, num(y))
        self.add(base + 20, num(0))

    def line(self, layer, a, b):
        self.add(0, "LINE")
        self.add(8, layer)
        self.point(*a)
        self.point(*b, base=11)

    def polyline(self, layer, vertices, closed):
        """vertices: (x, y) or (x, y, bulge) of the segment starting there."""
        self.add(0, "POLYLINE")
        self.add(8, layer)
        self.add(66, 1)
        self.point(0, 0)
        self.add(70, 1 if closed else 0)
        for v in vertices:
            self.add(0, "VERTEX")
            self.add(8, layer)
            self.point(v[0], v[1])
            if len(v) > 2 and v[2] != 0:
                self.add(42, num(v[2]))
        self.add(0, "SEQEND")
        self.add(8, layer)

    def rectangle(self, layer, lo, hi):
        self.polyline(layer, [(lo[0], lo[1]), (hi[0], lo[1]), (hi[0], hi[1]), (lo[0], hi[1])], True)

    def circle(self, layer, centre, radius):
        self.add(0, "CIRCLE")
        self.add(8, layer)
        self.point(*centre)
        self.add(40, num(radius))

    def arc(self, layer, centre, radius, start_deg, end_deg):
        """Counter-clockwise from start to end, angles in degrees."""
        self.add(0, "ARC")
        self.add(8, layer)
        self.point(*centre)
        self.add(40, num(radius))
        self.add(50, num(start_deg))
        self.add(51, num(end_deg))

    def text(self, layer, at, height, content):
        self.add(0, "TEXT")
        self.add(8, layer)
        self.point(*at)
        self.add(40, num(height))
        self.add(1, content)

    def insert(self, layer, block, at, rotation_deg):
        self.add(0, "INSERT")
        self.add(8, layer)
        self.add(2, block)
        self.point(*at)
        self.add(41, num(1))
        self.add(42, num(1))
        self.add(50, num(rotation_deg))

    def text_lines(self):
        out = []
        for code, value in self.pairs:
            out.append("%3d" % code)
            out.append(str(value))
        return out


# $INSUNITS values of the drawing units.
MILLIMETERS = 4
CENTIMETERS = 5


def header_and_tables(layers, units):
    """The HEADER and TABLES sections: version, units, line type and layers."""
    d = Dxf()
    d.add(0, "SECTION")
    d.add(2, "HEADER")
    d.add(9, "$ACADVER")
    d.add(1, "AC1009")
    d.add(9, "$INSUNITS")
    d.add(70, units)
    d.add(0, "ENDSEC")
    d.add(0, "SECTION")
    d.add(2, "TABLES")
    d.add(0, "TABLE")
    d.add(2, "LTYPE")
    d.add(70, 1)
    d.add(0, "LTYPE")
    d.add(2, "CONTINUOUS")
    d.add(70, 0)
    d.add(3, "Solid line")
    d.add(72, 65)
    d.add(73, 0)
    d.add(40, num(0))
    d.add(0, "ENDTAB")
    d.add(0, "TABLE")
    d.add(2, "LAYER")
    d.add(70, len(layers))
    for name, colour in layers:
        d.add(0, "LAYER")
        d.add(2, name)
        d.add(70, 0)
        d.add(62, colour)
        d.add(6, "CONTINUOUS")
    d.add(0, "ENDTAB")
    d.add(0, "ENDSEC")
    return d


def write(name, layers, blocks, entities, units):
    """Writes one file: header, tables, blocks (name -> Dxf), entities."""
    d = header_and_tables(layers, units)
    d.add(0, "SECTION")
    d.add(2, "BLOCKS")
    for block_name, body in blocks:
        d.add(0, "BLOCK")
        d.add(8, "0")
        d.add(2, block_name)
        d.add(70, 0)
        d.point(0, 0)
        d.add(3, block_name)
        d.pairs.extend(body.pairs)
        d.add(0, "ENDBLK")
        d.add(8, "0")
    d.add(0, "ENDSEC")
    d.add(0, "SECTION")
    d.add(2, "ENTITIES")
    d.pairs.extend(entities.pairs)
    d.add(0, "ENDSEC")
    d.add(0, "EOF")
    with open(os.path.join(HERE, name), "w") as f:
        f.write("\n".join(d.text_lines()) + "\n")


def floor_plan():
    """Outer face 0..1000 x 0..700, inner faces of the outer wall 20..980 x
    20..680; wall W1 at x 500..510, W2 at y 400..410 (left half), W3 at
    y 300..310 (right half). Rooms: A 20..500 x 20..400, B 20..500 x
    410..680, C 510..980 x 20..300, D 510..980 x 310..680."""
    e = Dxf()
    # Outer walls: both faces as closed polylines.
    e.rectangle("WALLS", (0, 0), (1000, 700))
    e.rectangle("WALLS", (20, 20), (980, 680))
    # W1, full height between the inner faces.
    e.line("WALLS", (500, 20), (500, 680))
    e.line("WALLS", (510, 20), (510, 680))
    # W2 with a door opening at x 100..190.
    for y in (400, 410):
        e.line("WALLS", (20, y), (100, y))
        e.line("WALLS", (190, y), (500, y))
    e.line("WALLS", (100, 400), (100, 410))
    e.line("WALLS", (190, 400), (190, 410))
    # W3 with a door opening at x 700..790.
    for y in (300, 310):
        e.line("WALLS", (510, y), (700, y))
        e.line("WALLS", (790, y), (980, y))
    e.line("WALLS", (700, 300), (700, 310))
    e.line("WALLS", (790, 300), (790, 310))
    # Door A-B: hinge (100, 400), leaf open into room A, swing to (190, 400).
    e.line("DOORS", (100, 400), (100, 310))
    e.arc("DOORS", (100, 400), 90, 270, 360)
    # Door C-D: hinge (790, 310), leaf open into room D, swing to (700, 310).
    e.line("DOORS", (790, 310), (790, 400))
    e.arc("DOORS", (790, 310), 90, 90, 180)
    # Round columns.
    e.circle("COLUMNS", (400, 250), 20)
    e.circle("COLUMNS", (745, 495), 20)
    # A cabinet standing against the wall of room A (its lower edge lies on y = 20).
    e.rectangle("FURNITURE", (200, 20), (300, 80))
    # Desks with chairs.
    e.insert("FURNITURE", "DESK", (560, 120), 0)
    e.insert("FURNITURE", "DESK", (900, 80), 90)
    e.insert("FURNITURE", "DESK", (300, 520), 30)
    # Room names.
    e.text("TEXT", (40, 40), 12, "A")
    e.text("TEXT", (40, 650), 12, "B")
    e.text("TEXT", (530, 40), 12, "C")
    e.text("TEXT", (530, 650), 12, "D")

    desk = Dxf()
    desk.rectangle("FURNITURE", (0, 0), (120, 60))
    desk.circle("FURNITURE", (60, -30), 15)

    layers = [("0", 7), ("WALLS", 7), ("DOORS", 3), ("COLUMNS", 5), ("FURNITURE", 4), ("TEXT", 8)]
    write("floor_plan.dxf", layers, [("DESK", desk)], e, CENTIMETERS)


def rooms_plan():
    """Outer face 0..1200 x 0..800, inner faces 20..1180 x 20..780; wall at
    x 600..610 full height; left wall at y 400..410 (x 20..600), right wall
    at y 500..510 (x 610..1180). Office 1: 20..600 x 20..400 with a round
    column r 25; Office 2: 20..600 x 410..780, labelled twice; Lab:
    610..1180 x 20..500 with a desk; Store: 610..1180 x 510..780 less a
    quarter-round counter r 100 in its far corner. The terrace east of the
    building has two sides only."""
    e = Dxf()
    e.rectangle("WALLS", (0, 0), (1200, 800))
    e.rectangle("WALLS", (20, 20), (1180, 780))
    for x in (600, 610):
        e.line("WALLS", (x, 20), (x, 780))
    for y in (400, 410):
        e.line("WALLS", (20, y), (600, y))
    for y in (500, 510):
        e.line("WALLS", (610, y), (1180, y))
    e.circle("COLUMNS", (300, 200), 25)
    e.rectangle("FURNITURE", (800, 200), (920, 260))
    e.arc("FURNITURE", (1180, 780), 100, 180, 270)
    e.line("WALLS", (1200, 100), (1400, 100))
    e.line("WALLS", (1400, 100), (1400, 400))
    for at, name in (((40, 40), "Office 1"), ((40, 740), "Office 2"), ((400, 600), "Meeting"),
                     ((630, 40), "Lab"), ((630, 740), "Store"), ((1300, 250), "Terrace")):
        e.text("ROOMS", at, 15, name)
    e.text("NOTES", (0, -60), 15, "Scale 1:100")
    layers = [("0", 7), ("WALLS", 7), ("COLUMNS", 5), ("FURNITURE", 4), ("ROOMS", 3), ("NOTES", 8)]
    write("rooms_plan.dxf", layers, [], e)


def plate():
    """Plate 0..200 x 0..120 with 10 mm fillets, holes and a slot."""
    e = Dxf()
    b = QUARTER_BULGE
    e.polyline("OUTLINE", [
        (10, 0, 0), (190, 0, b), (200, 10, 0), (200, 110, b),
        (190, 120, 0), (10, 120, b), (0, 110, 0), (0, 10, b),
    ], True)
    for centre in ((25, 25), (175, 25), (25, 95), (175, 95)):
        e.circle("HOLES", centre, 8)
    e.circle("HOLES", (100, 50), 25)
    # Slot: straight sides y = 89 and y = 101 from x 60 to 140, round ends r 6.
    e.line("HOLES", (60, 89), (140, 89))
    e.line("HOLES", (60, 101), (140, 101))
    e.arc("HOLES", (140, 95), 6, 270, 90)
    e.arc("HOLES", (60, 95), 6, 90, 270)
    layers = [("0", 7), ("OUTLINE", 7), ("HOLES", 1)]
    write("plate.dxf", layers, [], e, MILLIMETERS)


if __name__ == "__main__":
    floor_plan()
    rooms_plan()
    plate()
