"""Builds the extension module telio._telio with the project's CMake build.

The metadata lives in pyproject.toml; this file only runs CMake (with the
interpreter that runs it) and puts the module and the sample suite data
folder into the package. CMAKE_CXX_COMPILER_LAUNCHER and CMAKE_GENERATOR
from the environment are honoured.
"""

import os
import re
import shutil
import subprocess
import sys
import sysconfig
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(telio VERSION ([0-9.]+)", text).group(1)


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = Path(self.build_temp).resolve() / "cmake"
        config = [
            "cmake", "-S", str(ROOT), "-B", str(build),
            "-DCMAKE_BUILD_TYPE=Release",
            "-DBUILD_SHARED_LIBS=OFF",
            "-DTELIO_BUILD_PYTHON=ON",
            "-DTELIO_BUILD_TESTS=OFF",
            "-DTELIO_BUILD_TOOLS=OFF",
            f"-DPython_EXECUTABLE={sys.executable}",
        ]
        if "CMAKE_GENERATOR" not in os.environ and shutil.which("ninja"):
            config += ["-G", "Ninja"]
        subprocess.run(config, check=True)
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", "2")
        subprocess.run(["cmake", "--build", str(build), "--target", "telio_python", "-j", jobs],
                       check=True)
        package = build / "python" / "telio"
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(package / ("_telio" + sysconfig.get_config_var("EXT_SUFFIX")), target)
        shutil.copytree(package / "data", target.parent / "data", dirs_exist_ok=True)


setup(
    version=project_version(),
    ext_modules=[Extension("telio._telio", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
)
