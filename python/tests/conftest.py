import shutil

import pytest

import telio

# A small sample job: 23 nodes (3 supports), 40 beams, 3 static cases and
# 2 combinations (5 load results), seed 7 (sigma 7).
SIZE = dict(nodes=23, beams=40, cases=3, combinations=2, seed=7)


@pytest.fixture(scope="session")
def sample_path(tmp_path_factory):
    folder = tmp_path_factory.mktemp("sample")
    return telio.write_sample_job(folder, "SAMPLE", **SIZE).folder


@pytest.fixture
def sample_copy(sample_path, tmp_path):
    """A copy of the sample job that a test may damage."""
    return shutil.copytree(sample_path, tmp_path / "SAMPLE.AJF")
