"""The rows of a parameter study: its input file read and checked, one system a row."""

import csv

from . import _core


# The columns, from the program's parameter table: the dialogue's groups (1) to (3) are
# required; the initial conditions and the parameters set by options may be left out
# (0: at rest at the origin; for an option's parameter, not given).
ORDER = tuple(p["name"] for p in _core.parameters)  # the table's order
REQUIRED = tuple(p["name"] for p in _core.parameters if 1 <= p["group"] <= 3)
OPTIONAL = tuple(p["name"] for p in _core.parameters
                 if p["group"] == 0) + tuple(p["name"] for p in _core.parameters
                                              if p["group"] == 4)
DEFAULTS = {name: 0.0 for name in OPTIONAL}


class StudyInputError(Exception):
    """The input as a whole cannot be read: no file, no header, a column missing."""


class Row:
    """One input row: its line number, its cells as written and its eight values."""

    __slots__ = ("line", "text", "values")

    def __init__(self, line, text, values):
        self.line, self.text, self.values = line, text, values


def _number(name, text):
    cell = text.strip()
    # float() also takes digit groups ("1_000"); a CSV number has none.
    if "_" in cell:
        raise ValueError(f"{name}: '{text}' is not a number")
    try:
        return float(cell)
    except ValueError:
        raise ValueError(f"{name}: '{text}' is not a number") from None


def _values(header, cells):
    named = dict(zip(header, cells))
    values = {}
    for name in ORDER:
        text = named.get(name, "")
        if text.strip() == "" and name in DEFAULTS:
            values[name] = DEFAULTS[name]
        elif text.strip() == "":
            raise ValueError(f"{name}: no value")
        else:
            values[name] = _number(name, text)
    ordered = [values[name] for name in ORDER]
    refusal = _core.refusal(ordered)  # the model's rule for a system it means something by
    if refusal:
        raise ValueError(refusal)
    return ordered


def read_rows(path):
    """The header and the rows of the study in path, and the bad rows as (line, reason)."""
    try:
        with open(path, newline="", encoding="utf-8") as f:
            reader = csv.reader(f)
            header = _header(next(reader, None), path)
            rows, bad = [], []
            for cells in reader:
                line = reader.line_num
                if not cells:
                    continue  # a blank line
                if len(cells) != len(header):
                    bad.append((line, f"{len(cells)} cells, the header has {len(header)}"))
                    continue
                try:
                    rows.append(Row(line, ",".join(cells), _values(header, cells)))
                except ValueError as e:
                    bad.append((line, str(e)))
    except (OSError, UnicodeDecodeError, csv.Error) as e:
        raise StudyInputError(f"{path}: {e}") from None
    return header, rows, bad


def _header(cells, path):
    if cells is None:
        raise StudyInputError(f"{path}: empty, no header")
    header = [c.strip() for c in cells]
    unknown = [c for c in header if c not in REQUIRED + OPTIONAL]
    missing = [c for c in REQUIRED if c not in header]
    repeated = sorted({c for c in header if header.count(c) > 1})
    if unknown:
        raise StudyInputError(f"{path}: unknown column {', '.join(unknown)} "
                              f"(columns: {','.join(REQUIRED + OPTIONAL)})")
    if missing:
        raise StudyInputError(f"{path}: missing column {', '.join(missing)}")
    if repeated:
        raise StudyInputError(f"{path}: column {', '.join(repeated)} given twice")
    return header
