"""The record layouts of the job files as numpy dtypes.

Each dtype has the record's full size, so an array of raw records takes it
with ``.view``; only the fields the library interprets are named (the other
bytes are carried unread). File records are little-endian whatever the
host; the topology's sections are the reader's own in-memory records.
"""

import numpy as np

from . import _telio


def record(size, **fields):
    """A dtype of ``size`` bytes with fields given as name=(format, offset)."""
    return np.dtype({
        "names": list(fields),
        "formats": [f for f, _ in fields.values()],
        "offsets": [at for _, at in fields.values()],
        "itemsize": size,
    })


def opaque(size):
    """A record the library does not interpret: its bytes as ``raw``."""
    return record(size, raw=(("u1", (size,)), 0))


# Model (T3L).
MODEL_BEAM = record(32, start_node=("<u2", 10), end_node=("<u2", 12), section=("<u2", 14),
                    material=("<u2", 16))
MODEL_PHYSICAL_BEAM = record(128, first_node=("<u2", 0), second_node=("<u2", 2))
MODEL_SUPPORT = record(64, node=("<u2", 24))
MODEL_LOAD_CASE = record(32, self_weight_count=("<u2", 30))
MODEL_LOAD_CASE_EXTRA = record(14, first=("u1", 0), second=("u1", 1), value=("<f4", 2))

# Topology (TOP). A section's name is in Topology.section_names.
TOPOLOGY_NODE = record(18, label=("<i2", 0), x=("<f4", 4), y=("<f4", 8), z=("<f4", 12),
                       restraint=("<i2", 16))
TOPOLOGY_BEAM = record(8, section=("<u2", 0), label=("<i2", 2), start_node=("<u2", 4),
                       end_node=("<u2", 6))
TOPOLOGY_SUPPORT = record(14, node=("<u2", 0))
TOPOLOGY_SECTION = record(_telio.SECTION_RECORD_SIZE, family=("<i2", 16), sub_number=("<i2", 18),
                          key=("<u4", 20),
                          composite=(("<f4", (7,)), _telio.SECTION_COMPOSITE_OFFSET))
TOPOLOGY_PROPERTY_BLOCK = record(32, head=("<u2", 0), values=(("<f4", (7,)), 2), tail=("<u2", 30))

# Combinations (CMI): the first ``count`` cases (0-based) and factors hold.
COMBINATION = record(3204, count=("<i4", 0), cases=(("<i4", (400,)), 4),
                     factors=(("<f4", (400,)), 1604))

# Static results (RES): a node's six values, a beam's six at each end.
NODE_RESULT = record(32, load_result=("<i4", 0), node=("<i4", 4), values=(("<f4", (6,)), 8))
BEAM_FORCES = record(72, load_result=("<i4", 0), beam=("<i4", 4), first=(("<f4", (6,)), 16),
                     second=(("<f4", (6,)), 48))

# Intermediate-point results (OUC): the kind of each row of a block's
# tables, in file order (kind 0 the positions along the beam).
IP_ROW_KINDS = (0, 1, 2, 6, 3, 4, 5)
