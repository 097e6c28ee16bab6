"""telio: the files of a steel-structure analysis job as numpy arrays.

    job = telio.Job("path/to/NAME.AJF")
    job.topology.nodes["x"]            # structured arrays with named fields
    job.results.end_forces(r)          # (beams, 2, 6) float32
    job.ip_results.beam(lc, b)         # (7, n) float32
    telio.design.Project("P.MDP")      # design projects (telio.design)

Arrays over what a reader holds are read-only views that keep the reader
alive; errors raise FileError with the C++ reader's Windows error code.
"""

from ._errors import FileError  # first: the extension raises it
from . import _telio, design, layouts
from ._job import Job, write_sample_job
from ._readers import (Combination, Combinations, IPResults, LoadCaseIP, Model, StaticResults,
                       Topology, read_load_case_names)

__version__ = _telio.__version__
system_error_message = _telio.system_error_message

__all__ = [
    "Combination", "Combinations", "FileError", "IPResults", "Job", "LoadCaseIP", "Model",
    "StaticResults", "Topology", "design", "layouts", "read_load_case_names", "system_error_message",
    "write_sample_job",
]
