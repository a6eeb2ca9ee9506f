"""Picks from several threads: own drawings, a shared drawing, a drawing let go mid-pick."""

import gc
import threading
import weakref

import numpy as np
from conftest import EXAMPLE_PICKS, EXAMPLES

import pphatch

ROUNDS = 20


def answers(results):
    """Comparable form of pick results: contours as tuples, or the message."""
    out = []
    for r in results:
        if isinstance(r, pphatch.NoArea):
            out.append(str(r))
        else:
            out.append((r.area, tuple(r.outer.ravel()),
                        tuple(tuple(i.ravel()) for i in r.islands)))
    return out


def run_threads(targets):
    threads = [threading.Thread(target=t) for t in targets]
    for t in threads:
        t.start()
    for t in threads:
        t.join()


def test_threads_with_their_own_drawings_answer_as_one_thread_does():
    expected = {name: answers(pphatch.Drawing.read(EXAMPLES / name).pick_many(points))
                for name, points in EXAMPLE_PICKS}
    got = {}

    def work(index, name, points):
        drawing = pphatch.Drawing.read(EXAMPLES / name)
        got[index] = [answers(drawing.pick_many(points)) for _ in range(ROUNDS)]

    jobs = [(i, *EXAMPLE_PICKS[i % len(EXAMPLE_PICKS)]) for i in range(6)]
    run_threads([lambda job=job: work(*job) for job in jobs])
    for index, name, _ in jobs:
        assert got[index] == [expected[name]] * ROUNDS


def test_a_drawing_shared_by_threads_answers_every_one_of_them():
    name, points = EXAMPLE_PICKS[0]
    drawing = pphatch.Drawing.read(EXAMPLES / name)
    expected = answers(drawing.pick_many(points))
    got = []

    def pick(point):
        try:
            return drawing.pick(*point)
        except pphatch.NoArea as error:
            return error

    def work():
        for _ in range(ROUNDS):
            got.append(answers([pick(p) for p in points]))

    run_threads([work] * 4)
    assert got == [expected] * (4 * ROUNDS)


def test_a_drawing_let_go_while_a_pick_runs_stays_until_the_pick_ends():
    name, points = EXAMPLE_PICKS[0]
    drawing = pphatch.Drawing.read(EXAMPLES / name)
    expected = answers(drawing.pick_many(points))
    many = np.array(points * 40)
    out = []
    worker = threading.Thread(target=lambda pick_many: out.append(pick_many(many)),
                              args=(drawing.pick_many,))
    alive = weakref.ref(drawing)
    worker.start()
    del drawing
    gc.collect()
    worker.join()
    assert answers(out[0]) == expected * 40
    del worker
    gc.collect()
    assert alive() is None  # released once the pick let go of it
