#!/usr/bin/env python3
"""Builds the interface language tables zh.ini (GBK) and en.ini (ASCII) from captions.tsv.

Usage: make_tables.py            write zh.ini and en.ini next to this script
       make_tables.py --check    exit 1 when the files on disk differ from what would be written
       make_tables.py --counts   print the number of keys per dialog in both tables

Both tables: CR LF line ends, no byte-order mark, one "[String]" header, one comment line and the keys of
each dialog in the order of the source, a blank line between dialogs. The English table must stay ASCII
apart from its comment lines, which the application never reads.
"""

import re
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
SOURCE = HERE / "captions.tsv"
ABSENT = "<absent>"
KEY_PATTERN = re.compile(r"^(title|//|[0-9]+)$")


def read_rows():
    rows = []
    for number, line in enumerate(SOURCE.read_text(encoding="utf-8").split("\n"), 1):
        if not line or line.startswith("#"):
            continue
        cells = line.split("\t")
        if len(cells) != 5:
            sys.exit(f"{SOURCE.name}:{number}: expected 5 tab-separated cells, found {len(cells)}")
        dialog, key, zh, en, _note = cells
        if not dialog.isdigit() or not KEY_PATTERN.match(key):
            sys.exit(f"{SOURCE.name}:{number}: bad dialog or key {dialog!r} {key!r}")
        for text in (zh, en):
            if "\r" in text or "\n" in text:
                sys.exit(f"{SOURCE.name}:{number}: caption with a line break")
        rows.append((int(dialog), key, zh, en))
    return rows


def table_lines(rows, column):
    """The text lines of one table; column 2 is Chinese, 3 English."""
    lines = ["[String]"]
    seen = set()
    current = None
    for row in rows:
        dialog, key, text = row[0], row[1], row[column]
        if dialog != current:
            if current is not None:
                lines.append("")
            current = dialog
        if text == ABSENT:
            continue
        if key == "//":
            lines.append(text)
            continue
        name = f"IDD{dialog}_{key}"
        if name.lower() in seen:
            sys.exit(f"key {name} occurs twice")
        seen.add(name.lower())
        lines.append(f"{name}={text}")
    return lines


def encode(lines, encoding, ascii_keys):
    out = bytearray()
    for line in lines:
        data = line.encode(encoding)
        if ascii_keys and not line.startswith("//") and not line.isascii():
            sys.exit(f"English table line is not ASCII: {line!r}")
        out += data + b"\r\n"
    return bytes(out)


def build():
    rows = read_rows()
    return {
        "zh.ini": encode(table_lines(rows, 2), "gbk", ascii_keys=False),
        "en.ini": encode(table_lines(rows, 3), "gbk", ascii_keys=True),
    }


def counts():
    rows = read_rows()
    result = {}
    for dialog, key, zh, en in rows:
        if key == "//":
            result.setdefault(dialog, [0, 0])
            continue
        entry = result.setdefault(dialog, [0, 0])
        entry[0] += zh != ABSENT
        entry[1] += en != ABSENT
    return result


def main(argv):
    tables = build()
    if "--counts" in argv:
        for dialog, (zh, en) in counts().items():
            print(f"{dialog}\t{zh}\t{en}")
        return 0
    if "--check" in argv:
        stale = [name for name, data in tables.items() if (HERE / name).read_bytes() != data]
        for name in stale:
            print(f"{name} is out of date; run {Path(__file__).name}", file=sys.stderr)
        return 1 if stale else 0
    for name, data in tables.items():
        (HERE / name).write_bytes(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
