"""The page from the program's tables: writes index.html from its template, with the
dialogue's groups, their fields and sliders and the picture's key buttons written from
the tables of parameters and keys (page_tables' JSON), and the page's script behind a
definition of those tables (fvTables) and of the page's texts in every compiled
catalog's language (fvPreloadCatalogs), so that the page shows the reader's language
before its module has loaded. Only the texts the page's script marks (_('...') and
N_('...')) and those of the tables are taken, from the .mo files the module embeds.

    page_build.py TABLES_JSON INDEX_TEMPLATE PAGE_JS OUT_INDEX OUT_SCRIPT CATALOG.mo...
"""

import gettext
import html
import json
import os
import re
import sys

MARKED = re.compile(r"\bN?_\('((?:[^'\\]|\\.)*)'\)")
LANGUAGE_NAME = "日本語"  # each catalog's translation of it is its language's own name
SLIDER_STEPS = 1000       # a slider's positions, as the page's script moves them
CANVAS_LABEL = "振動と周波数特性の図。キー: %s、ESC で離れる"


def number(value):
    """A start value as the page's field shows it: 1, 0.2, not 1.0."""
    return format(value, ".15g")


def field(p):
    name, label = html.escape(p["name"]), html.escape(p["label"])
    # Both inputs are named by the label's words alone: the label around them would give
    # the field the slider's position as part of its name.
    return (f'    <label class="field"><span id="{name}-label">{label}</span><input id="{name}" '
            f'inputmode="decimal" value="{number(p["start"])}" aria-labelledby="{name}-label" '
            f'aria-describedby="{name}-note" aria-invalid="false"><input type="range" '
            f'id="{name}-slider" aria-label="{label}" min="0" max="{SLIDER_STEPS}">'
            f'<span class="note" id="{name}-note"></span></label>\n')


def groups(tables):
    text = ""
    for g, title in enumerate(tables["groups"], start=1):
        text += f"  <fieldset>\n    <legend>{html.escape(title)}</legend>\n"
        text += "".join(field(p) for p in tables["parameters"] if p["formGroup"] == g)
        text += (f'    <div><button type="button" id="apply{g}">({g}) から計算</button></div>\n'
                 "  </fieldset>\n")
    return text


def buttons(tables):
    text = ""
    for k in tables["keys"]:
        if k["words"] is None:
            continue
        key, words = html.escape(k["key"], quote=True), html.escape(k["words"])
        pressed = ' aria-pressed="false"' if k["key"] == " " else ""
        text += (f'  <button type="button" data-key="{key}" title="{words} '
                 f'({html.escape(k["name"])})"{pressed}>{words}</button>\n')
    return text


def canvas_label(tables):
    names = " ".join(k["name"] for k in tables["keys"] if k["words"] is not None)
    return html.escape(CANVAS_LABEL % names, quote=True)


def index(template, tables):
    parts = {"{{groups}}\n": groups(tables), "{{keys}}\n": buttons(tables),
             "{{canvas-label}}": canvas_label(tables)}
    for mark, text in parts.items():
        if mark not in template:
            sys.exit(f"page_build.py: the template has no {mark.strip()}")
        template = template.replace(mark, text)
    return template


def table_texts(tables):
    texts = set(tables["groups"])
    texts.update(p["label"] for p in tables["parameters"])
    for k in tables["keys"]:
        texts.add(k["name"])
        if k["words"] is not None:
            texts.add(k["words"])
    return texts


def catalog(path, texts):
    with open(path, "rb") as f:
        translations = gettext.GNUTranslations(f)
    return {
        "name": translations.gettext(LANGUAGE_NAME),
        "texts": {t: translations.gettext(t) for t in sorted(texts)
                  if translations.gettext(t) != t},
    }


def write(path, text):
    with open(path + ".tmp", "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(path + ".tmp", path)


def main(argv):
    if len(argv) < 5:
        sys.exit(__doc__)
    tables_path, template_path, page_path, out_index, out_script = argv[:5]
    with open(tables_path, encoding="utf-8") as f:
        tables = json.load(f)
    with open(template_path, encoding="utf-8") as f:
        template = f.read()
    with open(page_path, encoding="utf-8") as f:
        script = f.read()
    texts = {m.group(1) for m in MARKED.finditer(script)} | table_texts(tables)
    catalogs = {os.path.splitext(os.path.basename(p))[0]: catalog(p, texts)
                for p in sorted(argv[5:])}
    dump = lambda value: json.dumps(value, ensure_ascii=False, sort_keys=True)
    write(out_index, index(template, tables))
    write(out_script, "// Made by page_build.py from the program's tables and catalogs.\n"
                      f"var fvTables = {dump(tables)};\n"
                      f"var fvPreloadCatalogs = {dump(catalogs)};\n" + script)


if __name__ == "__main__":
    main(sys.argv[1:])
