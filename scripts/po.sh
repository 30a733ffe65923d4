#!/usr/bin/env bash
# The translators' catalogs with GNU gettext's own tools.
#   bash scripts/po.sh template FILE   writes the template of the texts in po/POTFILES.in
#   bash scripts/po.sh update          rewrites po/frictionvib.pot and merges it into
#                                      every po/CODE.po (msgmerge), ready to translate
# The console's texts are the msgids of tr(console, "...") and N_("..."), printf formats
# (c-format) where consolePrintf prints them; the page's are those of _() and N_().
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C.UTF-8 # the texts are UTF-8

template() {
    local out=$1 tmp
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' RETURN
    mapfile -t files < <(grep -v '^#' po/POTFILES.in | grep -v '^$')
    local cxx=() js=()
    for f in "${files[@]}"; do
        case $f in *.js) js+=("$f") ;; *) cxx+=("$f") ;; esac
    done
    local common=(--from-code=UTF-8 --add-comments=TRANSLATORS: --package-name=frictionvib
                  --msgid-bugs-address= --no-wrap)
    # xgettext warns of every msgid that is not ASCII: its messages are shown only when
    # it fails.
    xgettext "${common[@]}" --language=C++ --keyword= --keyword=tr:2 --keyword=N_ --keyword=catalogText \
        --flag=consolePrintf:2:c-format --flag=tr:2:c-format -o "$tmp/cxx.pot" "${cxx[@]}" \
        2>"$tmp/log" || { cat "$tmp/log" >&2; return 1; }
    xgettext "${common[@]}" --language=JavaScript --keyword= --keyword=_ --keyword=N_ \
        -o "$tmp/js.pot" "${js[@]}" 2>"$tmp/log" || { cat "$tmp/log" >&2; return 1; }
    msgcat --no-wrap --use-first -o "$out" "$tmp/cxx.pot" "$tmp/js.pot"
}

case ${1:-} in
template)
    [[ $# -eq 2 ]] || { echo "usage: bash scripts/po.sh template FILE" >&2; exit 2; }
    template "$2"
    ;;
update)
    template po/frictionvib.pot
    for po in po/*.po; do
        msgmerge --quiet --update --backup=none --no-wrap "$po" po/frictionvib.pot
    done
    ;;
*)
    echo "usage: bash scripts/po.sh template FILE | update" >&2
    exit 2
    ;;
esac
