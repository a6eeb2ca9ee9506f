#!/usr/bin/env python3
"""Hatches every room of a floor plan and prints a table of their areas.

    python3 examples/hatch_rooms.py [DRAWING.dxf] [--points FILE] [--gap SIZE] [-o OUT.dxf]

Reads the drawing with ezdxf (by default the example floor plan beside this
script), picks the area at each point of the points file (one "X Y" a line;
the comment after '#' names the room), adds a HATCH per room to the model
space and writes the drawing with the hatches. With --gap, rooms open by
gaps up to SIZE drawing units are hatched across them; a room that stays
open says which gap would close it. Needs the pphatch module
(`pip install --no-build-isolation .` from the repository) and ezdxf.
"""

import argparse
import pathlib
import sys

import ezdxf
import pphatch

HERE = pathlib.Path(__file__).resolve().parent


def read_points(path):
    """(x, y, label) for each line "X Y  # label: remark" of a points file."""
    points = []
    for line in pathlib.Path(path).read_text().splitlines():
        text, _, comment = line.partition("#")
        fields = text.replace(",", " ").split()
        if fields:
            label = comment.split(":")[0].strip() or f"{fields[0]}, {fields[1]}"
            points.append((float(fields[0]), float(fields[1]), label))
    return points


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("drawing", nargs="?", default=HERE / "floor_plan.dxf")
    parser.add_argument("--points", default=None,
                        help="points file (default: the drawing's name with .points)")
    parser.add_argument("--gap", type=float, default=0.0,
                        help="bridge gaps up to this size (drawing units)")
    parser.add_argument("-o", "--output", default="hatched_rooms.dxf")
    args = parser.parse_args()
    drawing_path = pathlib.Path(args.drawing)
    points = read_points(args.points or drawing_path.with_suffix(".points"))

    doc = ezdxf.readfile(drawing_path)
    if doc.dxfversion < "AC1015":
        doc.dxfversion = "R2000"  # HATCH needs R2000; ezdxf upgrades the file on saving
    msp = doc.modelspace()
    drawing = pphatch.Drawing.from_ezdxf(doc, name=str(drawing_path))
    results = drawing.pick_many([(x, y) for x, y, _ in points], gap=args.gap)

    print(f"{'room':<16} {'at':>14} {'area':>14} {'perimeter':>11} {'islands':>7}")
    failed = 0
    for (x, y, label), result in zip(points, results):
        at = f"{x:g}, {y:g}"
        if isinstance(result, pphatch.NoArea):
            failed += 1
            hint = f" (closes with --gap {result.closes_at:.6g})" if result.closes_at else ""
            print(f"{label:<16} {at:>14}  {result}{hint}")
            continue
        result.add_hatch(msp, pattern="ANSI31", scale=10.0, layer="ROOMS")
        print(f"{label:<16} {at:>14} {result.area:>14.2f} {result.perimeter:>11.2f} "
              f"{len(result.islands):>7}"
              + (f"  {len(result.bridged)} gaps bridged" if result.bridged else ""))
    doc.saveas(args.output)
    print(f"{len(points) - failed} hatches written to {args.output}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
