#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
set -euo pipefail

packages=(
    g++ cmake make libgtest-dev locales                          # build, tests, locales for the encoding tests
    nlohmann-json3-dev libpng-dev                                # the files written out: JSON, PNG
    libboost-dev                                                 # root finding of the exact motion (Boost.Math)
    freeglut3-dev libgl-dev libx11-dev                           # the window
    xvfb xauth xdotool libgl1-mesa-dri libglx-mesa0              # window tests under a private X server
    clang libclang-rt-14-dev                                     # fuzz targets (libFuzzer)
)

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
