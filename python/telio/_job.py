"""An analysis job: the project folder NAME.AJF and its files."""

import os
from functools import cached_property
from pathlib import Path

from . import _telio
from ._errors import FileError
from ._readers import (Combinations, IPResults, Model, StaticResults, Topology,
                       read_load_case_names)

_SUITE_DATA = Path(__file__).resolve().parent / "data"


class Job:
    """An analysis job, from its project folder or a file in it.

    Each file is read on first use and kept; a file that cannot be read
    raises FileError then. ``files`` maps each kind (T3L, TOP, JOB, NAM,
    CMI, ACE, RES, OUC) to its path.
    """

    def __init__(self, path):
        path = os.fspath(path)
        self.folder, self.name, self.files, exists = _telio.project_paths(path)
        if not exists:
            raise FileError(3, _telio.system_error_message(3), path)

    def __repr__(self):
        return f"telio.Job({self.folder!r})"

    @cached_property
    def model(self):
        """The model (T3L)."""
        return Model(self.files["T3L"])

    @cached_property
    def topology(self):
        """The topology (TOP)."""
        return Topology(self.files["TOP"])

    @cached_property
    def load_case_names(self):
        """The static load-case names (NAM)."""
        return read_load_case_names(self.files["NAM"])

    @cached_property
    def combinations(self):
        """The load combinations (CMI)."""
        return Combinations(self.files["CMI"])

    @cached_property
    def results(self):
        """The static results (RES)."""
        return StaticResults(self.files["RES"])

    @cached_property
    def ip_results(self):
        """The intermediate-point results (OUC), held in memory."""
        return IPResults(self.files["OUC"])

    def load_result_name(self, r):
        """The name of load result r: a static case's own, then "Combination <j+1>"."""
        names = self.load_case_names
        return names[r] if r < len(names) else f"Combination {r - len(names) + 1}"


def write_sample_job(folder, name="SAMPLE", *, nodes=1000, beams=1800, cases=4, combinations=3,
                     eak=False, seed=1, suite=None, members=0):
    """Writes a complete sample job folder/name.AJF and returns it as a Job.

    Every value of the job follows rules of its size and seed (drawn in
    the repository's tools/telio/SampleJob.h); sections come from the
    catalogue in the suite data folder ``suite`` (default: the one shipped
    with the package). With ``members`` it also writes member-design jobs
    of that many members (tools/telio/SampleMemberJob.h): one linked to the
    analysis job, name.AJF/name.MDD, and one with its own forces,
    folder/name_own.MDL.
    """
    folder = os.fspath(folder)
    suite = os.fspath(suite) if suite is not None else str(_SUITE_DATA)
    _telio.write_sample_job(folder, name, nodes, beams, cases, combinations, eak, seed, suite, members)
    return Job(os.path.join(folder, name + ".AJF"))
