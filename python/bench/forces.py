#!/usr/bin/env python3
"""Every beam force of a 20,000-beam, 400-result job into one numpy array,
beside the C++ reader doing the same.

    forces.py [--cpp build/release/bench/telio_bench] [--folder DIR] [--rounds 3]

Writes a sample job (1,000 nodes, 20,000 beams, 360 static cases and 40
combinations: about 2 GB) into DIR (default: a temporary folder, removed
after), then times on the warm file, in turns for a few rounds:
  - C++: the reader's forces of each load result copied into one float
    array (the Google Benchmark BM_JobForces_IntoOneArray, beside plain
    freads of the same force records, BM_JobForces_RawReadForceBlocks);
  - Python: results.end_forces(r, out=out[r]) for each load result r, into
    one float32 array (load results, beams, 2, 6); and, for comparison,
    out[r] = results.end_forces(r) (a view, then numpy's copy).
Prints the best wall and CPU times of each (CPU time is the steadier on a
shared machine) and the ratios to the C++ reader.
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import numpy as np

import telio

SIZE = dict(nodes=1000, beams=20000, cases=360, combinations=40, seed=1)


def into_out(res, out, r):
    res.end_forces(r, out=out[r])


def view_then_copy(res, out, r):
    out[r] = res.end_forces(r)


def python_path(res, out, step, repeat):
    """Best (wall, cpu) seconds of reading every load result with step."""
    wall = cpu = float("inf")
    for _ in range(repeat):
        out.fill(0)
        w, c = time.perf_counter(), time.process_time()
        for r in range(res.load_results):
            step(res, out, r)
        wall = min(wall, time.perf_counter() - w)
        cpu = min(cpu, time.process_time() - c)
    assert out[-1, -1, 1, 5] == 6 * (1 + res.load_results + res.beams / 16 + 2)
    return wall, cpu


def cpp_path(bench, res_path, repeat):
    """Best (wall, cpu) seconds of each C++ benchmark, by name."""
    env = dict(os.environ, TELIO_BENCH_RES=res_path)
    run = subprocess.run([bench, "--benchmark_filter=BM_JobForces_", "--benchmark_format=json",
                          f"--benchmark_repetitions={repeat}"],
                         env=env, check=True, capture_output=True, text=True)
    times = {}
    for b in json.loads(run.stdout)["benchmarks"]:
        if b.get("run_type") == "iteration" and "error_occurred" not in b:
            assert b["time_unit"] == "ms"
            name = b["run_name"].split("/")[0]
            wall, cpu = times.get(name, (float("inf"),) * 2)
            times[name] = (min(wall, b["real_time"] / 1000), min(cpu, b["cpu_time"] / 1000))
    return times


def best(a, b):
    return tuple(min(x, y) for x, y in zip(a, b)) if a else b


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    root = Path(__file__).resolve().parents[2]
    parser.add_argument("--cpp", default=str(root / "build/release/bench/telio_bench"))
    parser.add_argument("--folder")
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="telio-bench-", dir=args.folder) as folder:
        start = time.perf_counter()
        job = telio.write_sample_job(folder, "BIG", **SIZE)
        print(f"sample job written in {time.perf_counter() - start:.1f} s")
        res = job.results
        out = np.empty((res.load_results, res.beams, 2, 6), np.float32)
        t = {}
        for _ in range(args.rounds):
            for name, wall_cpu in cpp_path(args.cpp, job.files["RES"], 3).items():
                t[name] = best(t.get(name), wall_cpu)
            t["into"] = best(t.get("into"), python_path(res, out, into_out, 3))
            t["view"] = best(t.get("view"), python_path(res, out, view_then_copy, 3))

        mb = res.load_results * res.beams * 52 / 1e6
        reader = t["BM_JobForces_IntoOneArray"]
        print(f"{res.load_results} load results x {res.beams} beams, {mb:.0f} MB of force records")
        print(f"  {'':36} {'wall ms':>8} {'cpu ms':>8} {'wall/C++':>9} {'cpu/C++':>8}")
        for label, key in (("plain freads of the force records", "BM_JobForces_RawReadForceBlocks"),
                           ("C++ reader into one array", "BM_JobForces_IntoOneArray"),
                           ("Python end_forces(r, out=out[r])", "into"),
                           ("Python out[r] = end_forces(r)", "view")):
            wall, cpu = t[key]
            print(f"  {label:36} {wall * 1000:8.1f} {cpu * 1000:8.1f} "
                  f"{wall / reader[0]:9.2f} {cpu / reader[1]:8.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
