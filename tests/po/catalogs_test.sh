#!/usr/bin/env bash
# The translators' catalogs: every po/*.po passes msgfmt --check (formats, header,
# syntax) and is merged with the current template, and the template is what
# scripts/po.sh makes from the sources now: the same texts, comments and flags (the
# creation date and the source line references aside, which any edit moves).
set -euo pipefail
cd "$(dirname "$0")/../.."
export LC_ALL=C.UTF-8
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0

shopt -s nullglob
catalogs=(po/*.po)
((${#catalogs[@]} >= 2)) || { echo "FAIL: fewer than two catalogs in po/"; exit 1; }
for po in "${catalogs[@]}"; do
    if ! msgfmt --check -o /dev/null "$po" 2>"$tmp/err"; then
        echo "FAIL: $po does not pass msgfmt --check:"; cat "$tmp/err"; status=1
    fi
    # Every msgid of the template and no other: the catalog is merged.
    msgcmp --use-untranslated "$po" po/frictionvib.pot 2>"$tmp/err" ||
        { echo "FAIL: $po is not merged with the template:"; cat "$tmp/err"; status=1; }
done
# English has every text translated: no word of the reader's is left in Japanese.
if msgattrib --untranslated po/en.po | grep -q '^msgid'; then
    echo "FAIL: po/en.po has untranslated texts"; status=1
fi

bash scripts/po.sh template "$tmp/now.pot"
if ! diff <(grep -v -e '^"POT-Creation-Date:' -e '^#:' po/frictionvib.pot) \
          <(grep -v -e '^"POT-Creation-Date:' -e '^#:' "$tmp/now.pot") >"$tmp/diff"; then
    echo "FAIL: po/frictionvib.pot is not current: run bash scripts/po.sh update"
    head -40 "$tmp/diff"; status=1
fi
exit $status
