"""Picks through the module agree with the command-line tool and keep their contract."""

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


def test_gap_other_than_zero_is_refused_until_gaps_can_be_closed():
    drawing = pphatch.Drawing.read(EXAMPLES / "walls.json")
    assert drawing.pick(150, 150, gap=0.0).area == pytest.approx(300 * 250 - 60 * 40)
    for gap in (0.5, -1.0, float("nan")):
        with pytest.raises(ValueError):
            drawing.pick(150, 150, gap=gap)
