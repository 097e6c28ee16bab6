"""Values read through Python against the sample job's rules."""

import numpy as np
import pytest
from numpy.testing import assert_allclose, assert_array_equal

import telio
from conftest import SIZE

N, M, S, K = SIZE["nodes"], SIZE["beams"], SIZE["cases"], SIZE["combinations"]
SIGMA = SIZE["seed"] % 1000
nodes = np.arange(1, N + 1)
beams = np.arange(1, M + 1)
v1 = np.arange(1, 7)  # value index + 1


def beam_ends():
    k = beams - 1
    start = 1 + k % (N - 1)
    end = 1 + (start - 1 + 1 + k // (N - 1)) % N
    return start, np.where(end == start, start % N + 1, end)


def first_end(r):
    """F1(r, b, v) for every beam, (beams, 6)."""
    return v1 * (SIGMA + r + 1 + beams[:, None] / 16)


def test_model_and_topology_follow_the_rules(sample_path):
    job = telio.Job(sample_path)
    start, end = beam_ends()
    top, t3l = job.topology, job.model

    assert_array_equal(top.nodes["label"], nodes)
    assert_array_equal(top.nodes["x"], 6 * ((nodes - 1) % 10))
    assert_array_equal(top.nodes["y"], 3.5 * ((nodes - 1) // 10))
    assert_array_equal(top.nodes["restraint"] != 0, (nodes - 1) % 10 == 0)
    assert_array_equal(top.supports["node"], [1, 11, 21])
    assert_array_equal(t3l.supports["node"], [1, 11, 21])
    for b in (top.beams, t3l.beams):
        assert_array_equal(b["start_node"], start)
        assert_array_equal(b["end_node"], end)
    # Four catalogue sections (families 12, 13, 14, 41), then the composite.
    assert top.section_names == t3l.section_names
    assert top.section_names[-1] == "COMPOSITE 1"
    assert_array_equal(top.sections["family"], [12, 13, 14, 41, 104])
    assert_array_equal(top.sections["sub_number"], [0, 0, 0, 0, 1])
    assert_array_equal(top.beams["section"], 1 + ((beams - 1) // 10) % 5)  # one per grid row
    assert top.property_block(0) is None and top.property_block(4) is not None
    assert_array_equal(t3l.beams["material"], 1)
    assert [(p[0], p[1], p[2], list(p[3])) for p in top.physical_beams[:2]] == [
        (1, 1, 3, [1, 2]), (2, 3, 5, [3, 4])]
    assert len(top.physical_beams) == 9  # beams 10r + 2s + 1, + 2 up to min(M, N - 1)
    assert list(top.physical_beams[8][3]) == [21, 22]
    assert_array_equal(t3l.load_case_extra["first"], [1, 2, 3])
    assert_array_equal(t3l.load_case_extra["value"], [1, 1.25, 1.5])
    assert not top.is_3d and len(t3l.nodes) == N


def test_names_and_combinations(sample_path):
    job = telio.Job(sample_path)
    assert job.load_case_names == ["Load case 1", "Load case 2", "Load case 3"]
    combos = job.combinations
    assert len(combos) == K
    assert_array_equal(combos[0].cases, [0])
    assert_array_equal(combos[0].factors, [1.25])
    assert_array_equal(combos[1].cases, [1, 2])
    assert_array_equal(combos[1].factors, [1.25, 1.5])
    assert [job.load_result_name(r) for r in (2, 3)] == ["Load case 3", "Combination 1"]


def test_static_results(sample_path):
    res = telio.Job(sample_path).results
    assert (res.nodes, res.beams, res.supports, res.load_results) == (N, M, 3, S + K)
    assert res.header_word == SIZE["seed"]
    # Worked row: load result 2, node 5: (v + 1) * (7 + 3 + 5/16).
    assert_array_equal(res.displacements(2)[4]["values"],
                       [10.3125, 20.625, 30.9375, 41.25, 51.5625, 61.875])
    every = np.zeros((S + K, M, 2, 6), np.float32)
    for r in range(S + K):
        d = res.displacements(r)
        assert_array_equal(d["node"], nodes)
        assert_array_equal(d["load_result"], r + 1)
        assert_array_equal(d["values"], v1 * (SIGMA + r + 1 + nodes[:, None] / 16))
        q = res.reactions(r)
        supported = (nodes - 1) % 10 == 0
        assert_array_equal(q["values"][supported], -d["values"][supported])
        assert_array_equal(q["values"][~supported], 0)
        f = res.forces(r)
        assert_array_equal(f["beam"], beams)
        assert_array_equal(f["first"], first_end(r))
        assert_array_equal(f["second"], first_end(r) + 2 * v1)
        ends = res.end_forces(r)
        assert ends.shape == (M, 2, 6) and ends.dtype == np.float32
        assert_array_equal(ends[:, 0], f["first"])
        assert_array_equal(ends[:, 1], f["second"])
        res.end_forces(r, out=every[r])
    assert_array_equal(every[:, :, 0], [first_end(r) for r in range(S + K)])
    assert_array_equal(every[:, :, 1], [first_end(r) + 2 * v1 for r in range(S + K)])
    for wrong in (every[0].astype(np.float64), every[:, 0], np.zeros((M, 2, 12), np.float32)[:, :, ::2]):
        with pytest.raises(TypeError):
            res.end_forces(0, out=wrong)


def test_intermediate_points_in_both_modes(sample_path):
    job = telio.Job(sample_path)
    start, end = beam_ends()
    x = 6.0 * ((nodes - 1) % 10)
    y = 3.5 * ((nodes - 1) // 10)
    length = np.hypot(x[end - 1] - x[start - 1], y[end - 1] - y[start - 1])
    ips = np.array([2, 3, 5, 9])[beams % 4]
    loaded = job.ip_results
    indexed = telio.IPResults(job.files["OUC"], indexed=True)
    assert (loaded.load_cases, loaded.max_ip, loaded.max_lce) == (S + K, 9, 400)
    kinds = list(telio.IPResults.ROW_KINDS)
    for r in (0, S + K - 1):
        case = loaded.load_case(r)
        assert_array_equal(case.beams, beams)
        assert_array_equal(case.ip_counts, ips)
        for b in range(M):
            t = np.arange(ips[b]) / (ips[b] - 1)
            f1 = first_end(r)[b]
            want = np.vstack([length[b] * np.arange(ips[b]) / (ips[b] - 1),
                              f1[:, None] + 2 * v1[:, None] * t])[kinds]
            for got in (loaded.beam(r, b), indexed.beam(r, b), case.values[b, :, :ips[b]]):
                assert_allclose(got[0], want[0], rtol=1e-7)
                assert_array_equal(got[1:], want[1:])
            assert_array_equal(case.values[b, :, ips[b]:], 0)
        assert_array_equal(loaded.table(r, 5, 6), indexed.beam(r, 5)[3])


def test_arrays_outlive_their_readers(sample_path):
    import gc
    import weakref

    job = telio.Job(sample_path)
    topology = weakref.ref(job.topology)
    held = {
        "x": job.topology.nodes["x"],
        "angles": job.topology.angles,
        "beams": job.model.beams,
        "cases": job.combinations[1].factors,
        "forces": job.results.end_forces(4),
        "ip": job.ip_results.beam(4, 3),
        "case": job.ip_results.load_case(4).values,
    }
    del job
    gc.collect()
    assert topology() is not None
    _ = [np.full(1 << 16, 0xAB, np.uint8) for _ in range(64)]  # reuse freed memory
    assert_array_equal(held["x"][:3], [0, 6, 12])
    assert_array_equal(held["beams"]["end_node"][:2], [2, 3])
    assert_array_equal(held["cases"], [1.25, 1.5])
    assert_array_equal(held["forces"][39, 1], (v1 * (SIGMA + 5 + 40 / 16) + 2 * v1))
    assert_array_equal(held["ip"][1], [12.25, 14.25])
    assert_array_equal(held["case"][3, 1, :2], [12.25, 14.25])
    for name in ("x", "beams", "ip", "case"):
        assert not held[name].flags.writeable, name
    del held
    gc.collect()
    assert topology() is None


def test_threads_share_readers(sample_path):
    from concurrent.futures import ThreadPoolExecutor

    job = telio.Job(sample_path)
    res = job.results
    indexed = telio.IPResults(job.files["OUC"], indexed=True)
    work = [(r, b) for r in range(S + K) for b in range(M)] * 12

    def read(rb):
        r, b = rb
        return res.end_forces(r)[b, 1, 5], indexed.beam(r, b)[1, -1]

    with ThreadPoolExecutor(4) as pool:
        got = list(pool.map(read, work))
    # The second end's sixth force, and value 1 at the last IP: F2(r, b, 0).
    assert got == [(6 * (SIGMA + r + 1 + (b + 1) / 16) + 12, SIGMA + r + 1 + (b + 1) / 16 + 2)
                   for r, b in work]
