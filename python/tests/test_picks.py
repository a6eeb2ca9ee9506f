"""Picks through the module agree with the command-line tool and keep their contract."""

import math
import pickle

import numpy as np
import pytest
from conftest import EXAMPLE_PICKS, EXAMPLES, MESSAGE, cli_picks
from shapely.geometry import Point, Polygon

import pphatch


@pytest.mark.parametrize("name,points", EXAMPLE_PICKS, ids=[n for n, _ in EXAMPLE_PICKS])
def test_picks_equal_the_command_line_tools(name, points):
    drawing = pphatch.Drawing.read(EXAMPLES / name)
    expected = cli_picks(EXAMPLES / name, points)
    results = drawing.pick_many(points)
    assert len(results) == len(expected) == len(points)
    for point, result, line in zip(points, results, expected):
        if not line["ok"]:
            assert isinstance(result, pphatch.NoArea)
            assert str(result) == line["error"] == MESSAGE
            assert result.point == point
            continue
        contours = [np.array(c["points"]) for c in line["contours"]]
        assert isinstance(result, pphatch.Area), point
        assert np.array_equal(result.outer, contours[0])
        assert len(result.islands) == len(contours) - 1
        for island, contour in zip(result.islands, contours[1:]):
            assert np.array_equal(island, contour)
        # The tool's measures where it gives them, else those of its contours.
        shape = Polygon(contours[0], contours[1:])
        assert result.area == pytest.approx(line.get("area", shape.area), rel=1e-12)
        assert result.perimeter == pytest.approx(line.get("perimeter", shape.exterior.length),
                                                 rel=1e-12)


def test_contours_are_closed_float64_arrays_of_two_columns():
    drawing = pphatch.Drawing.read(EXAMPLES / "floor_plan.dxf")
    area = drawing.pick(750, 240)
    assert len(area.islands) == 4
    for contour in (area.outer, *area.islands):
        assert isinstance(contour, np.ndarray)
        assert contour.dtype == np.float64
        assert contour.ndim == 2 and contour.shape[1] == 2 and contour.shape[0] >= 4
        assert np.array_equal(contour[0], contour[-1])
    assert area.bridged == ()
    shape = area.to_shapely()
    assert shape.is_valid and shape.contains(Point(750, 240))
    assert len(shape.interiors) == 4


def test_a_point_in_the_void_raises_no_area_with_the_exact_message():
    drawing = pphatch.Drawing.read(EXAMPLES / "walls.json")
    with pytest.raises(pphatch.NoArea) as caught:
        drawing.pick(800, 100)
    assert str(caught.value) == MESSAGE
    assert caught.value.point == (800.0, 100.0)


def test_pick_many_answers_in_order_like_single_picks():
    drawing = pphatch.Drawing.read(EXAMPLES / "walls.json")
    points = np.array([[610, 123], [800, 100], [150, 150]], dtype=np.int64)
    many = drawing.pick_many(points)
    assert [type(r) for r in many] == [pphatch.Area, pphatch.NoArea, pphatch.Area]
    for point, result in zip(points.tolist(), many):
        if isinstance(result, pphatch.Area):
            assert np.array_equal(drawing.pick(*point).outer, result.outer)
            assert result.point == tuple(map(float, point))
    assert drawing.pick_many([]) == []
    for bad in ([150.0, 150.0], [(150, 150, 0)], [(150, 150), (float("nan"), 1)]):
        with pytest.raises(ValueError):
            drawing.pick_many(bad)
    with pytest.raises(ValueError):
        drawing.pick(float("inf"), 150)


def test_a_gap_closes_just_above_its_size_and_is_diagnosed_just_below():
    # The room is open by gaps of 0.5 and 1.3 units.
    drawing = pphatch.Drawing.read(EXAMPLES / "open_room.json")
    with pytest.raises(pphatch.NoArea) as caught:
        drawing.pick(100, 100)
    closed = caught.value
    assert str(closed) == MESSAGE and closed.cause == "open"
    assert closed.closes_at == pytest.approx(1.3, rel=1e-9)
    assert [g.size for g in closed.gaps] == pytest.approx([0.5, 1.3], rel=1e-9)
    widest = closed.gaps[-1]
    assert math.dist(widest.start, widest.end) == pytest.approx(widest.size, rel=1e-9)
    assert {widest.start, widest.end} == {(251.3, 400.0), (250.0, 400.0)}

    below = drawing.pick_many([(100, 100)], gap=1.3 * (1 - 1e-6))[0]
    assert isinstance(below, pphatch.NoArea) and below.cause == "open"
    assert below.closes_at == pytest.approx(1.3, rel=1e-9)
    # Results travel between processes whole.
    copy = pickle.loads(pickle.dumps(below))
    assert (str(copy), copy.point, copy.cause, copy.closes_at, copy.gaps) == \
        (str(below), below.point, below.cause, below.closes_at, below.gaps)
    area = drawing.pick(100, 100, gap=1.3 * (1 + 1e-6))
    assert [g.size for g in area.bridged] == pytest.approx([0.5, 1.3], rel=1e-9)
    # Across the bridges the room is the rectangle less the quarter of the
    # round wall end in its corner and the island, as the tool answers it.
    line = cli_picks(EXAMPLES / "open_room.json", [(100, 100)], "--gap", "1.3000013")[0]
    assert area.area == pytest.approx(line["area"], rel=1e-12)
    assert area.area == pytest.approx(500 * 400 - math.pi * 19.5 ** 2 / 4 - 140 * 80, rel=1e-9)
    assert len(area.islands) == 1


def test_the_diagnosis_names_the_cause_without_a_gap():
    drawing = pphatch.Drawing.read(EXAMPLES / "walls.json")
    void = drawing.pick_many([(800, 100)])[0]
    assert void.cause == "not_enclosed" and void.closes_at is None and void.gaps == ()
    assert drawing.pick(150, 150).bridged == ()


def test_gaps_must_be_finite_and_not_negative():
    drawing = pphatch.Drawing.read(EXAMPLES / "walls.json")
    for gap in (-1.0, float("nan"), float("inf"), "1"):
        with pytest.raises(ValueError):
            drawing.pick(150, 150, gap=gap)
        with pytest.raises(ValueError):
            drawing.pick_many([(150, 150)], gap=gap)
