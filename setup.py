"""Builds the extension pphatch._core with the project's CMake.

The component, the in-memory host and the drawing readers are compiled by
the same CMake files as the rest of the project, in a build folder of its
own (build-pip/), and only the module's target is built.
"""

import os
import pathlib
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = pathlib.Path(__file__).resolve().parent


class CMakeBuild(build_ext):
    """Configures the project for this interpreter and builds the module's target."""

    def build_extension(self, ext):
        build = pathlib.Path(self.build_temp).resolve() / "cmake"
        configure = ["cmake", "-S", str(ROOT), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
                     "-DPPHATCH_BUILD_TESTS=OFF", "-DPPHATCH_BUILD_PYTHON=ON",
                     f"-DPython_EXECUTABLE={sys.executable}"]
        if shutil.which("ccache"):
            configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        subprocess.run(configure, check=True)
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", "2")
        subprocess.run(["cmake", "--build", str(build), "--target", "pphatch_python", "-j", jobs],
                       check=True)
        built = sorted((build / "python" / "pphatch").glob("_core.*"))
        if not built:
            raise RuntimeError("CMake built no pphatch._core: is pybind11-dev installed?")
        target = pathlib.Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built[0], target)


setup(
    ext_modules=[Extension("pphatch._core", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    # Not build/, which holds the project's own CMake build.
    options={"build": {"build_base": "build-pip"}, "egg_info": {"egg_base": "build-pip"}},
)
