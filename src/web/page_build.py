"""The page's texts before its module has loaded: writes the page's script PAGE_JS to
OUTPUT behind a definition of fvPreloadCatalogs, {code: {name, texts: {msgid: msgstr}}}
for every compiled catalog, so that the page shows the reader's language from its first
paint. Only the texts the page's script marks (_('...') and N_('...')) are taken, from the
same .mo files the module embeds.

    preload_texts.py PAGE_JS OUTPUT CATALOG.mo...
"""

import gettext
import json
import os
import re
import sys

MARKED = re.compile(r"\bN?_\('((?:[^'\\]|\\.)*)'\)")
LANGUAGE_NAME = "日本語"  # each catalog's translation of it is its language's own name


def marked_texts(path):
    with open(path, encoding="utf-8") as f:
        return sorted({m.group(1) for m in MARKED.finditer(f.read())})


def catalog(path, texts):
    with open(path, "rb") as f:
        translations = gettext.GNUTranslations(f)
    return {
        "name": translations.gettext(LANGUAGE_NAME),
        "texts": {t: translations.gettext(t) for t in texts if translations.gettext(t) != t},
    }


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    page, output, catalogs = argv[0], argv[1], argv[2:]
    texts = marked_texts(page)
    table = {os.path.splitext(os.path.basename(p))[0]: catalog(p, texts) for p in sorted(catalogs)}
    with open(page, encoding="utf-8") as f:
        script = f.read()
    with open(output + ".tmp", "w", encoding="utf-8") as f:
        f.write("// Made by preload_texts.py from the compiled catalogs: do not edit.\n")
        f.write("var fvPreloadCatalogs = " + json.dumps(table, ensure_ascii=False,
                                                        sort_keys=True) + ";\n")
        f.write(script)
    os.replace(output + ".tmp", output)


if __name__ == "__main__":
    main(sys.argv[1:])
