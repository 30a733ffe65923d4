#!/usr/bin/env bash
# The package as a user installs it: a fresh venv over Debian's packages, `pip install`
# of the source folder offline (Debian's setuptools, pybind11 and numpy build it), a few
# calls of the installed package from outside the source tree, and the example notebook
# executed (nbclient) against it.
#
#   install_test.sh SOURCE WORKDIR
set -euo pipefail
source_dir=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
/usr/bin/python3 -m venv --system-site-packages "$work/venv"
python=$work/venv/bin/python
# A copy of the source, so that the installation writes nothing into the work tree.
tar -C "$source_dir" --exclude='./build*' --exclude='./.git' -cf - . | (mkdir -p "$work/src" && tar -C "$work/src" -xf -)
(cd "$work/src" && "$python" -m pip install --no-build-isolation --no-index --quiet .)
cd "$work"
env -u PYTHONPATH "$python" - <<'PY'
import pathlib
import numpy as np
import frictionvib
where = pathlib.Path(frictionvib.__file__).parent
assert "site-packages" in str(where), where
assert (where / "py.typed").exists() and (where / "_core.pyi").exists()
system = frictionvib.System(1, 0.2, 1, 1, 0.8, 0.9)
assert frictionvib.steady(system)["stops_per_cycle"] == 2
assert np.min(np.abs(frictionvib.floquet(system))) == 0.0
assert frictionvib.trajectory(system, 10.0)["t"].size == 101
assert frictionvib.study.run({"m": [1.0], "lambda": [0.2], "K": [1.0], "F": [1.0],
                              "omf": [0.8], "Fric": [0.9]})["exact_stops_per_cycle"][0] == 2
print("installed", frictionvib.__version__, "at", where)
PY
# The notebook's kernel is the venv's python (Debian's own kernel runs /usr/bin/python3).
"$python" -m ipykernel install --prefix "$work/venv" --name frictionvib-venv >/dev/null
env -u PYTHONPATH MPLBACKEND=Agg "$python" - "$source_dir/python/examples" <<'PY'
import pathlib
import sys
import nbformat
from nbclient import NotebookClient
for path in sorted(pathlib.Path(sys.argv[1]).glob("*.ipynb")):
    notebook = nbformat.read(path, as_version=4)
    NotebookClient(notebook, timeout=300, kernel_name="frictionvib-venv").execute()
    print("executed", path.name)
PY
