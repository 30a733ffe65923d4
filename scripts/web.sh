#!/usr/bin/env bash
# Builds the web page into build-web/site/ (index.html, frictionvib.js, frictionvib.wasm)
# and serves it at http://127.0.0.1:8000/; with --build-only it only builds. The folder
# is the whole site: any static web server can publish it as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
case ${1:-} in
--build-only | "") ;;
*) echo "usage: bash scripts/web.sh [--build-only]" >&2; exit 2 ;;
esac
bash scripts/deps.sh web
jobs=$(nproc)

# The browser has no GLUT fonts: the desktop GLUT's own bitmaps become a table, made by
# a small desktop program under a private X server.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target fvglyphtable fvpagetables frictionvib
mkdir -p build-web/generated
# The page's form and key buttons are written from the program's tables.
tables=build-web/generated/tables.json
build/fvpagetables >"$tables.new"
if cmp -s "$tables.new" "$tables"; then rm "$tables.new"; else mv "$tables.new" "$tables"; fi
glyphs=build-web/generated/glyphs.h
xvfb-run -a build/fvglyphtable >"$glyphs.new"
if cmp -s "$glyphs.new" "$glyphs"; then rm "$glyphs.new"; else mv "$glyphs.new" "$glyphs"; fi

# Emscripten's optimiser needs Node.js to find Debian's acorn.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DFV_GLYPH_TABLE="$PWD/$glyphs" \
    -DFV_PAGE_TABLES="$PWD/$tables" >/dev/null
cmake --build build-web -j"$jobs"

# The page shows the program's first picture of the starting values until the reader
# reaches for it: drawn by the desktop program in the page's default clear view, in each
# catalog's language.
start=$(/usr/bin/python3 -c 'import json, sys
p = json.load(open(sys.argv[1]))["parameters"]
print("\n".join(" ".join(format(r["start"], ".15g") for r in p if r["group"] == g) for g in range(1, 5)))' "$tables")
for po in po/*.po; do
    code=$(basename "$po" .po)
    poster=build-web/site/poster-$code.png
    [[ $poster -nt build/frictionvib && $poster -nt "$tables" && $poster -nt "$po" ]] && continue
    printf '%s\n' "$start" | build/frictionvib --png "$poster" --frames 1 --view clear --lang "$code" >/dev/null
done
echo "built: build-web/site/ ($(ls build-web/site | tr '\n' ' '))"
[[ ${1:-} == --build-only ]] && exit 0

port=8000
echo "serving http://127.0.0.1:$port/ (Ctrl-C ends)"
exec /usr/bin/python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
