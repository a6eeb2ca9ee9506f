#!/usr/bin/python3
"""Times picks through the Python module against the same picks through C++.

    /usr/bin/python3 bench/python_picks.py --tool BUILD/bench/pphatch_cpp_picks \
        --module BUILD/python [--sizes 1000,10000,100000] [--clicks 20] [--rounds 5]

For each size, pphatch_cpp_picks writes a generated floor plan as DXF and
times every click through the C++ call the module makes; this script reads
the same file with pphatch.Drawing.read and times Drawing.pick at the same
clicks (fastest of the rounds, each), checks that both found the same area,
and prints the cost of the Python pick against the C++ one. The goal: at
most 20 % more.
"""

import argparse
import json
import pathlib
import subprocess
import sys
import tempfile
import time

GOAL = 1.20


def python_seconds(drawing, x, y, rounds, pphatch):
    """Fastest of the rounds of one pick, and its area (None when no area)."""
    best, area = float("inf"), None
    for _ in range(rounds):
        start = time.perf_counter()
        try:
            area = drawing.pick(x, y).area
        except pphatch.NoArea:
            area = None
        best = min(best, time.perf_counter() - start)
    return best, area


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", required=True, help="the pphatch_cpp_picks program")
    parser.add_argument("--module", required=True, help="folder holding the built pphatch package")
    parser.add_argument("--sizes", default="1000,10000,100000")
    parser.add_argument("--clicks", type=int, default=20)
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()
    sys.path.insert(0, args.module)
    import pphatch

    print("Python pick against the C++ call it makes (fastest of "
          f"{args.rounds} rounds per click, sums over the clicks)")
    print(f"{'pieces':>8} {'clicks':>6} {'C++ ms':>9} {'Python ms':>10} {'ratio':>6}"
          f"  goal <= {GOAL:.2f}")
    worst = 0.0
    with tempfile.TemporaryDirectory() as folder:
        for size in (int(s) for s in args.sizes.split(",")):
            dxf = pathlib.Path(folder) / f"plan-{size}.dxf"
            run = subprocess.run([args.tool, "--pieces", str(size), "--clicks", str(args.clicks),
                                  "--rounds", str(args.rounds), "--dxf", str(dxf)],
                                 capture_output=True, text=True, check=True)
            clicks = [json.loads(line) for line in run.stdout.splitlines()]
            drawing = pphatch.Drawing.read(dxf)
            cpp = py = 0.0
            for click in clicks:
                seconds, area = python_seconds(drawing, click["x"], click["y"], args.rounds,
                                               pphatch)
                if (area is not None) != click["ok"] or (
                        area is not None and abs(area - click["area"]) > 1e-9 * click["area"]):
                    print(f"  the picks disagree at ({click['x']}, {click['y']}): "
                          f"C++ {click['area'] if click['ok'] else 'no area'}, Python {area}")
                    return 1
                cpp += click["seconds"]
                py += seconds
            ratio = py / cpp
            worst = max(worst, ratio)
            mark = "" if ratio <= GOAL else "  over the goal"
            print(f"{size:>8} {len(clicks):>6} {cpp * 1e3:>9.2f} {py * 1e3:>10.2f} "
                  f"{ratio:>6.3f}{mark}")
    print(f"worst ratio {worst:.3f}: {'within' if worst <= GOAL else 'OVER'} the goal")
    return 0


if __name__ == "__main__":
    sys.exit(main())
