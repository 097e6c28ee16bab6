"""The readers of the job files, their records given named fields.

Every reader reads its file in its constructor and never changes after.
Arrays over what a reader holds are read-only views that keep the reader
alive; results read from the file on request are arrays of their own.
Failures raise telio.FileError with the C++ reader's code.
"""

from collections import namedtuple

from . import _telio, layouts


def _table(kind, dtype, doc):
    return property(lambda self: self._table(kind).view(dtype), doc=doc)


class Model(_telio.Model):
    """The analysis model (T3L): its tables as structured arrays."""

    nodes = _table(1, layouts.opaque(32), "Node records (not interpreted).")
    beams = _table(2, layouts.MODEL_BEAM, "Beams: start and end node, section and material numbers.")
    sections = _table(3, layouts.opaque(96), "Section records; the names are in section_names.")
    physical_beams = _table(4, layouts.MODEL_PHYSICAL_BEAM, "Physical beams: their two node numbers.")
    supports = _table(5, layouts.MODEL_SUPPORT, "Supports: the supported node's number.")
    connections = _table(6, layouts.opaque(64), "Connection records (not interpreted).")
    materials = _table(7, layouts.opaque(64), "Material records (not interpreted).")
    load_cases = _table(8, layouts.MODEL_LOAD_CASE, "Static load cases: self-weight list lengths.")
    beam_loads = _table(9, layouts.opaque(64), "Static beam loads (not interpreted).")
    node_loads = _table(10, layouts.opaque(64), "Static node loads (not interpreted).")
    beam_masses = _table(11, layouts.opaque(64), "Beam masses (not interpreted).")
    node_masses = _table(12, layouts.opaque(64), "Node masses (not interpreted).")

    @property
    def load_case_extra(self):
        """The extra data of each static load case."""
        return self._load_case_extra().view(layouts.MODEL_LOAD_CASE_EXTRA)


class Topology(_telio.Topology):
    """The topology (TOP): nodes, beams, supports and sections as structured arrays."""

    nodes = _table(0, layouts.TOPOLOGY_NODE, "Nodes: label, x, y, z and restraint code.")
    beams = _table(1, layouts.TOPOLOGY_BEAM, "Beams: section, label, start and end node.")
    supports = _table(2, layouts.TOPOLOGY_SUPPORT, "Supports: the supported node's number.")
    sections = _table(3, layouts.TOPOLOGY_SECTION,
                      "Sections: family, sub-number, catalogue key and composite data; the names "
                      "are in section_names.")

    def property_block(self, section):
        """The property block of a section (0-based), or None when it has none."""
        block = self._property_block(section)
        return None if block is None else block.view(layouts.TOPOLOGY_PROPERTY_BLOCK)[0]


Combination = namedtuple("Combination", "cases factors kind link")
Combination.__doc__ = "A load combination: 0-based load cases, their factors, kind and link words."


class Combinations(_telio.Combinations):
    """The load combinations (CMI); combinations[j] is a Combination."""

    def __getitem__(self, j):
        if j < 0:
            j += len(self)
        if not 0 <= j < len(self):
            raise IndexError(f"no combination {j}")
        rec = self._record(j).view(layouts.COMBINATION)
        n = max(int(rec["count"][0]), 0)
        return Combination(rec["cases"][0, :n], rec["factors"][0, :n], self.kind(j), self.link(j))


class StaticResults(_telio.StaticResults):
    """The static results (RES), read one load result at a time.

    Load results count from 0: the static load cases, then the
    combinations. A result that cannot be read whole raises FileError.
    """

    def displacements(self, r):
        """Node displacements of load result r, indexed by node number - 1."""
        return self._displacements(r).view(layouts.NODE_RESULT)

    def reactions(self, r):
        """Support reactions of load result r, indexed by node number - 1."""
        return self._reactions(r).view(layouts.NODE_RESULT)

    def forces(self, r):
        """Beam end forces of load result r, in beam order."""
        return self._forces(r).view(layouts.BEAM_FORCES)


LoadCaseIP = namedtuple("LoadCaseIP", "beams ip_counts values")
LoadCaseIP.__doc__ = ("Every block of a load case: beam numbers, IP counts and values "
                      "(blocks, 7, max_ip), rows in file order (IPResults.ROW_KINDS).")


class IPResults(_telio.IPResults):
    """The intermediate-point results (OUC).

    Loaded mode (the default) holds every block in memory and hands out
    views; indexed mode keeps only an index of the file and copies each
    block read. A block is the b-th of its load case in loaded mode and
    the beam numbered b + 1 in indexed mode (the same for files that hold
    every beam in order).
    """

    ROW_KINDS = layouts.IP_ROW_KINDS

    def table(self, lc, b, kind):
        """One kind's table of a block (kind 0: positions, 1 to 6: the values)."""
        if not 0 <= kind < len(self.ROW_KINDS):
            raise ValueError(f"no table kind {kind}")
        return self.beam(lc, b)[self.ROW_KINDS.index(kind)]

    def load_case(self, lc):
        return LoadCaseIP(*super().load_case(lc))

    load_case.__doc__ = LoadCaseIP.__doc__


read_load_case_names = _telio.read_load_case_names
