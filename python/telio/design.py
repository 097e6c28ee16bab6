"""Design projects (MDP): members with their beams, sections and forces.

    project = telio.design.Project("Hall.MDP")               # a project file
    project = telio.design.Project.from_job("Hall.AJF/Hall.MDD")  # MDD or MDL
    project = telio.design.Project.link("Hall.AJF")          # one member per physical beam
    m = project.members[0]
    m.name, m.section["name"], m.grade, m.start, m.end
    b = m.beams[0]
    b.distances      # float64 (points,): from the beam's start
    b.forces         # float64 (load cases, points, 6): Fx, Fy, Fz, Mx, My, Mz;
                     # NaN where a point holds nothing for a load case
    project.invalid_members()   # [(name, code, meaning)] against the topology
    project.save("Other.MDP")

A linked project takes its members' forces from the analysis job's results
when a member is first read. Members and their arrays are copies: they do
not change with the project. Sections come from the catalogue of the suite
data folder shipped with the package (``use_suite`` names another).
Failures raise telio.FileError.
"""

import os
from dataclasses import dataclass
from typing import List, Tuple

import numpy as np

from . import _telio
from ._job import _SUITE_DATA


def use_suite(folder):
    """Makes folder the suite data folder whose section catalogue
    (FilesSectionDB) projects take their sections from."""
    _telio.use_suite(os.fspath(folder))


use_suite(_SUITE_DATA)


@dataclass(frozen=True)
class Beam:
    """An internal beam of a member and the forces at its points."""

    name: str
    start: Tuple[float, float, float]
    end: Tuple[float, float, float]
    distances: np.ndarray
    forces: np.ndarray


@dataclass(frozen=True)
class Member:
    """A design member: its line, section, grade and beams."""

    name: str
    start: Tuple[float, float, float]
    end: Tuple[float, float, float]
    length: float
    section: dict
    grade: str
    beams: List[Beam]


class Project:
    """A member design project, from its file (MDP)."""

    def __init__(self, path=None, *, _native=None):
        self._p = _native if _native is not None else _telio.DesignProject.load(os.fspath(path))

    @classmethod
    def from_job(cls, path):
        """A new project from a member-design job (NAME.MDD or NAME.MDL)."""
        return cls(_native=_telio.DesignProject.import_job(os.fspath(path)))

    @classmethod
    def link(cls, job):
        """A new project linked to the analysis job folder NAME.AJF, with one
        member per physical beam of its topology."""
        return cls(_native=_telio.DesignProject.link(os.fspath(job)))

    def __len__(self):
        return self._p.member_count

    def member(self, i):
        """Member i (0-based)."""
        d = self._p.member(i)
        beams = [Beam(**b) for b in d.pop("beams")]
        for b in beams:
            b.distances.setflags(write=False)
            b.forces.setflags(write=False)
        return Member(beams=beams, **d)

    @property
    def members(self):
        """Every member, in project order."""
        self._p._link_all()
        return [self.member(i) for i in range(len(self))]

    load_case_names = property(lambda self: self._p.load_case_names, doc="The project's load cases.")
    section_names = property(lambda self: self._p.section_names, doc="The sections the project uses.")
    groups = property(lambda self: self._p.groups, doc="Each group's name and its members' names.")
    linked = property(lambda self: self._p.linked, doc="Linked to an analysis job.")
    link_valid = property(lambda self: self._p.link_valid, doc="Linked, and the job's files are there.")
    checksum = property(lambda self: self._p.checksum, doc="The project's checksum (changes with its content).")

    def invalid_members(self):
        """The members that fail their validation against the linked topology."""
        return self._p.invalid_members()

    def save(self, path):
        """Writes the project to path (atomically)."""
        self._p.save(os.fspath(path))
