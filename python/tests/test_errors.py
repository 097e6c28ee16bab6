"""Bad jobs and bad requests raise, with the C++ reader's code."""

import os
import struct
import subprocess
import sys
from pathlib import Path

import pytest

import telio


def patch(path, offset, data):
    with open(path, "r+b") as f:
        f.seek(offset)
        f.write(data)


def cut(path, size):
    os.truncate(path, size)


def file_of(job, kind):
    return job.files[kind]


# (what is read, the damage done to the job's copy, the code)
DAMAGE = [
    # No NAM file.
    ("load_case_names", lambda job: os.remove(file_of(job, "NAM")), 2),
    # The model ends inside its beam table (header 112, settings 178, 23 nodes).
    ("model", lambda job: cut(file_of(job, "T3L"), 112 + 178 + 23 * 32 + 40), 38),
    # A combination count past the file's end.
    ("combinations", lambda job: patch(file_of(job, "CMI"), 0, struct.pack("<i", 1000)), 38),
    # The topology ends inside its node table (header 128).
    ("topology", lambda job: cut(file_of(job, "TOP"), 128 + 18 * 5), 38),
    # MaxIP 1, below the blocks' IP counts.
    ("ip_results", lambda job: patch(file_of(job, "OUC"), 4, struct.pack("<i", 1)), 1392),
    # The results' topology is gone: the side file's code.
    ("results", lambda job: os.remove(file_of(job, "TOP")), 2),
]


def test_negative_counts_are_empty_tables(sample_copy):
    job = telio.Job(sample_copy)
    patch(file_of(job, "CMI"), 0, struct.pack("<i", -1))
    patch(file_of(job, "OUC"), 0, struct.pack("<i", -1))
    assert len(job.combinations) == 0
    assert job.ip_results.load_cases <= 0  # held as read; no block


@pytest.mark.parametrize("reader, damage, code", DAMAGE)
def test_damaged_files_raise_their_code(sample_copy, reader, damage, code):
    job = telio.Job(sample_copy)
    damage(job)
    with pytest.raises(telio.FileError) as e:
        getattr(job, reader)
    assert e.value.code == code
    assert e.value.message == telio.system_error_message(code)
    assert Path(e.value.filename).parent == Path(job.folder)
    assert f"error {code}: " in str(e.value)


def test_results_cut_short_raise_on_the_load_results_lost(sample_copy):
    job = telio.Job(sample_copy)
    res = job.results
    block = (23 + 3 + 2 * 40) * 52
    cut(job.files["RES"], 52 + 3 * block + (23 + 3 + 10) * 52 + 5)  # in result 3's 11th beam
    assert res.displacements(3)["node"][-1] == 23
    for read, r, code in ((res.forces, 3, 38), (res.end_forces, 3, 38),
                          (res.displacements, 4, 1392), (res.forces, 4, 1392)):
        with pytest.raises(telio.FileError) as e:
            read(r)
        assert (e.value.code, e.value.filename) == (code, job.files["RES"])


def test_bad_requests(sample_path, tmp_path):
    with pytest.raises(telio.FileError) as e:
        telio.Job(tmp_path / "NONE.AJF")
    assert e.value.code == 3
    job = telio.Job(sample_path)
    with pytest.raises(IndexError):
        job.results.forces(5)
    with pytest.raises(IndexError):
        job.results.displacements(-1)
    with pytest.raises(IndexError):
        job.ip_results.beam(0, 40)
    with pytest.raises(IndexError):
        telio.IPResults(job.files["OUC"], indexed=True).beam(0, 40)
    with pytest.raises(ValueError):
        telio.IPResults(job.files["OUC"], indexed=True).load_case(0)
    with pytest.raises(IndexError):
        job.combinations[2]
    with pytest.raises(ValueError, match="beams"):
        telio.write_sample_job(tmp_path, beams=0)
    with pytest.raises(telio.FileError) as e:
        telio.write_sample_job(tmp_path, suite=tmp_path)
    assert e.value.code in (2, 3)


def test_example_lists_the_most_stressed_beams(sample_path):
    example = Path(__file__).resolve().parents[2] / "examples" / "most_stressed_beams.py"
    out = subprocess.run([sys.executable, str(example), str(sample_path)], check=True,
                         capture_output=True, text=True).stdout
    rows = [line.split() for line in out.splitlines() if line[:1].isspace() and line.split()[0].isdigit()]
    # Every force grows with the beam number and the load result: beams
    # 40 down to 31, each in the last combination.
    assert [int(row[1]) for row in rows] == list(range(40, 30, -1))
