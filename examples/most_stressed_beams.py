#!/usr/bin/env python3
"""The ten most stressed beams of an analysis job.

    most_stressed_beams.py [PROJECT.AJF]

The measure is simple: a beam's largest end-force component, in absolute
value, over both ends and every load result. Without a project, a sample
job is written to a temporary folder first.
"""

import sys
import tempfile

import numpy as np

import telio


def most_stressed(job, count=10):
    """(beam index, peak, load result) of the count beams with the largest peaks."""
    res = job.results
    peak = np.zeros(res.beams, np.float32)
    where = np.zeros(res.beams, np.int64)
    for r in range(res.load_results):
        f = np.abs(res.end_forces(r)).max(axis=(1, 2))
        higher = f > peak
        peak[higher] = f[higher]
        where[higher] = r
    top = np.argsort(-peak, kind="stable")[:count]
    return [(b, peak[b], where[b]) for b in top]


def report(job):
    sections = job.topology.section_names
    section_of = job.topology.beams["section"]
    print(f"{job.name}: largest end-force component over {job.results.load_results} load results")
    print(" rank  beam  section              peak  load result")
    for rank, (b, peak, r) in enumerate(most_stressed(job), 1):
        section = sections[section_of[b] - 1] if section_of[b] else "-"
        print(f"{rank:5d} {b + 1:5d}  {section:<14} {peak:10.4g}  {job.load_result_name(r)}")


def main(argv):
    if len(argv) > 1:
        report(telio.Job(argv[1]))
    else:
        with tempfile.TemporaryDirectory(prefix="telio-") as folder:
            report(telio.write_sample_job(folder, "SAMPLE"))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except telio.FileError as e:
        print(f"most_stressed_beams: {e}", file=sys.stderr)
        sys.exit(1)
