"""The extension frictionvib._core, built by the project's CMake build (the target
fvpython, with the model it links) and copied into the package: pyproject.toml holds
the rest. FV_CMAKE_ARGS adds arguments to the configuration; FV_BUILD_JOBS sets the
build's jobs (default 2)."""

import os
import pathlib
import shlex
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

SOURCE = pathlib.Path(__file__).resolve().parent
DEFAULT_JOBS = "2"  # the build machines are shared: two jobs, as the project builds
# setuptools' own folder, apart from the project's build/ (which CMake owns).
BUILD_BASE = "build-pip"


class CMakeExtension(Extension):
    def __init__(self, name):
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = pathlib.Path(self.build_temp).resolve() / "cmake"
        build.mkdir(parents=True, exist_ok=True)
        configure = ["cmake", "-S", str(SOURCE), "-B", str(build),
                     "-DCMAKE_BUILD_TYPE=Release", "-DFV_PYTHON=ON", "-DFV_TESTS=OFF",
                     "-DFV_BENCH=OFF", "-DFV_GRAPHICS=OFF",
                     *shlex.split(os.environ.get("FV_CMAKE_ARGS", ""))]
        subprocess.run(configure, check=True)
        jobs = os.environ.get("FV_BUILD_JOBS", DEFAULT_JOBS)
        subprocess.run(["cmake", "--build", str(build), "--target", "fvpython", "-j", jobs],
                       check=True)
        built = sorted((build / "python" / "frictionvib").glob("_core*.so"))
        if not built:
            sys.exit(f"setup.py: no extension in {build / 'python' / 'frictionvib'}")
        target = pathlib.Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built[0], target)


setup(ext_modules=[CMakeExtension("frictionvib._core")], cmdclass={"build_ext": CMakeBuild},
      options={"build": {"build_base": BUILD_BASE}})
