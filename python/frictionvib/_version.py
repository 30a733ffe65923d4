"""The package's version: the program's (project() in CMakeLists.txt)."""

__version__ = "1.1.0"
