"""Shared fixtures: the example drawings, their pick points, the command-line tool."""

import json
import os
import pathlib
import subprocess

import pytest

SOURCE = pathlib.Path(os.environ.get("PPHATCH_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
EXAMPLES = SOURCE / "examples"
# Real drawings kept beside the checkout, when they are there.
REAL_DRAWINGS = SOURCE.parent / "shared" / "drawings"
MESSAGE = "Operation can not be performed with these objects."


def read_points(path):
    """The points of a points file: "X Y" or "X,Y" a line, '#' starts a comment."""
    points = []
    for line in pathlib.Path(path).read_text().splitlines():
        line = line.split("#")[0].replace(",", " ").split()
        if line:
            points.append((float(line[0]), float(line[1])))
    return points


# Example drawings with points: each has an area, and one point in the void has none.
EXAMPLE_PICKS = [
    ("floor_plan.dxf", read_points(EXAMPLES / "floor_plan.points") + [(-50.0, -50.0)]),
    ("walls.json", read_points(EXAMPLES / "walls.points") + [(800.0, 100.0)]),
    ("plate.dxf", [(12.0, 60.0), (-500.0, -500.0)]),
]


def cli_picks(drawing, points, *options):
    """The command-line tool's JSON line for each point (with the options given)."""
    cli = os.environ.get("PPHATCH_CLI")
    if not cli:
        pytest.skip("PPHATCH_CLI names no command-line tool")
    args = [cli, "pick", str(drawing), *options]
    for x, y in points:
        args += ["--at", f"{x!r},{y!r}"]
    run = subprocess.run(args, capture_output=True, text=True, check=False)
    assert run.returncode in (0, 1), run.stderr
    return [json.loads(line) for line in run.stdout.splitlines()]
