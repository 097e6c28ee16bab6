"""Design projects: a sample job's member-design jobs imported, linked,
saved and read back."""

import numpy as np
import pytest

import telio


@pytest.fixture(scope="module")
def job(tmp_path_factory):
    # 30 nodes, 50 beams, 3 static cases, seed 7 (sigma 7); 9 members.
    folder = tmp_path_factory.mktemp("design")
    return telio.write_sample_job(folder, "HALL", nodes=30, beams=50, cases=3, combinations=2, seed=7, members=9)


def ip_value(r, beam, i, n, v, sigma=7):
    """Force v at point i of n of a beam, for load result r (SampleJob.h)."""
    f1 = (v + 1) * (sigma + r + 1 + beam / 16)
    return f1 + 2 * (v + 1) * i / (n - 1)


def test_linked_job_becomes_a_project_with_the_analysis_forces(job, tmp_path):
    project = telio.design.Project.from_job(f"{job.folder}/HALL.MDD")
    assert len(project) == 9 and project.linked and project.link_valid
    assert project.load_case_names == ["Load case 1", "Load case 2", "Load case 3"]
    assert project.invalid_members() == []
    m = project.member(3)  # M4: beams 7, 8, 9 of the first row
    assert m.name == "M4" and m.length == 18.0
    assert [b.name for b in m.beams] == ["B7", "B8", "B9"]
    beam9 = m.beams[2]
    assert beam9.forces.shape == (3, 3, 6)
    np.testing.assert_array_equal(beam9.distances, [0.0, 3.0, 6.0])
    expected = [[[ip_value(r, 9, i, 3, v) for v in range(6)] for i in range(3)] for r in range(3)]
    np.testing.assert_array_equal(beam9.forces, expected)
    assert not beam9.forces.flags.writeable

    project.save(tmp_path / "HALL.MDP")
    again = telio.design.Project(tmp_path / "HALL.MDP")
    assert again.checksum == project.checksum
    assert [x.name for x in again.members] == [x.name for x in project.members]


def test_own_job_and_a_link_of_the_physical_beams(job, tmp_path):
    own = telio.design.Project.from_job(f"{job.folder}/../HALL_own.MDL")
    assert not own.linked and len(own) == 9
    first = own.member(0).beams[0]
    assert np.isfinite(first.forces[:, [0, -1], :]).all()  # MLC forces at the beam ends
    linked = telio.design.Project.link(job.folder)
    assert len(linked) == 12  # physical beams over beams 10r + 2s + 1, + 2 up to beam 29
    assert linked.member(0).section["family"] == 12


def test_bad_project_files_raise_their_code(tmp_path, job):
    with pytest.raises(telio.FileError) as missing:
        telio.design.Project(tmp_path / "NONE.MDP")
    assert missing.value.code == 1  # the path check refuses it
    project = telio.design.Project.from_job(f"{job.folder}/HALL.MDD")
    project.save(tmp_path / "CUT.MDP")
    data = (tmp_path / "CUT.MDP").read_bytes()
    (tmp_path / "CUT.MDP").write_bytes(data[: len(data) // 2])
    with pytest.raises(telio.FileError) as cut:
        telio.design.Project(tmp_path / "CUT.MDP")
    assert cut.value.code == 38
