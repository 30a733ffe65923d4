#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing: those of
# the desktop program and its tests, and with "web" those of the web page, with
# "browser" those of the browser tests, with "python" the Python module, its tests and
# its parameter studies on Dask, with "lighthouse" the page's Lighthouse and axe bench
# (npm packages at the versions bench/package-lock.json pins, into bench/node_modules).
set -euo pipefail

packages=(
    g++ cmake make libgtest-dev locales                          # build, tests, locales for the encoding tests
    nlohmann-json3-dev libpng-dev                                # the files written out: JSON, PNG
    gettext                                                      # the translators' catalogs (msgfmt, xgettext, msgmerge)
    libboost-dev                                                 # root finding of the exact motion (Boost.Math)
    libicu-dev                                                   # Unicode categories, for one-line messages
    e2fsprogs util-linux                                         # file tests: a small ext2 disk, another user
    freeglut3-dev libgl-dev libx11-dev                           # the window
    libfreetype-dev libfontconfig-dev fonts-ipafont-gothic       # the clear view's text, Japanese included
    xvfb xauth xdotool libgl1-mesa-dri libglx-mesa0              # window tests under a private X server
    clang libclang-rt-14-dev                                     # fuzz targets (libFuzzer)
)
for group in "$@"; do
    case $group in
    web) packages+=(emscripten) ;;                               # the web page (with its Node.js)
    browser) packages+=(chromium chromium-driver python3-selenium # browser tests, headless
                        fonts-ipafont-gothic) ;; # the page's Japanese as readers see it
    python) packages+=(pybind11-dev python3-dev python3-numpy python3-pytest # the module, its tests
                       python3-dask python3-distributed python3-pandas # studies, as tables
                       python3-matplotlib # plots
                       python3-venv python3-pip python3-setuptools python3-wheel # pip install .
                       python3-nbclient python3-ipykernel jupyter-nbconvert) ;; # the notebook
    lighthouse) packages+=(nodejs chromium chromium-driver python3-selenium) ;; # bench/web_lighthouse.py (npm)
    *) echo "deps.sh: unknown group '$group' (web, browser, python, lighthouse)" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "installing: ${missing[*]}"
    sudo_cmd=()
    [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# Lighthouse and axe-core come from the npm registry, pinned by the lock file.
if [[ " $* " == *" lighthouse "* ]]; then
    (cd "$(dirname "$0")/../bench" && npm ci --no-audit --no-fund --loglevel=error)
fi
