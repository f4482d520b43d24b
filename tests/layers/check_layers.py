#!/usr/bin/env python3
"""Fails when a source file includes what its layer may not: a header of a folder its row in
ARCHITECTURE.md does not list, or Qt outside the rows that list it.

    check_layers.py SOURCE_DIR

A file belongs to the longest row that is a prefix of its path; a folder may always include
itself. Folders without a row (tests, bench) are not checked.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
QT_HEADER = re.compile(r"Q\w*(/|$)")


def read_rules(architecture):
    text = architecture.read_text()
    block = re.search(r"```layers\n(.*?)```", text, re.S)
    if not block:
        sys.exit(f"{architecture}: no ```layers block")
    rules = {}
    for line in block.group(1).splitlines():
        if line.strip():
            row, _, allowed = line.partition("->")
            rules[row.strip()] = {a.strip() for a in allowed.split(",") if a.strip()}
    return rules


def owner(path, rules):
    rows = [r for r in rules if path == r or path.startswith(r + "/")]
    return max(rows, key=len) if rows else None


def violations(root, rules):
    tops = sorted({r.split("/")[0] for r in rules})
    files = sorted(f for top in tops for f in (root / top).rglob("*") if f.suffix in (".h", ".cpp"))
    for file in files:
        rel = file.relative_to(root).as_posix()
        row = owner(rel, rules)
        text = file.read_text(errors="replace")
        for bracket, name in INCLUDE.findall(text):
            if bracket == "<" and QT_HEADER.match(name):
                if "Qt" not in rules[row]:
                    yield f"{rel}: includes Qt <{name}>"
                continue
            target = owner(name, rules)
            if target and target != row and target not in rules[row]:
                yield f"{rel}: includes {name} ({row} may not include {target})"


def main():
    root = pathlib.Path(sys.argv[1])
    found = list(violations(root, read_rules(root / "ARCHITECTURE.md")))
    for v in found:
        print(v, file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
