#!/usr/bin/env python3
"""Generates a large benchmark input of one language from the real files of the corpus (whole
files, so comments and strings that span lines stay as they are), repeated in a fixed order
until the size is reached. Deterministic.

    gen_big_script.py LANG OUT [--size BYTES] [--corpus DIR]

LANG is vbscript, javascript, perl or php.
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
EXTENSIONS = {
    "vbscript": ("vbs", "asp", "inc", "asa"),
    "javascript": ("js",),
    "perl": ("pl", "pm", "cgi"),
    "php": ("php", "php3", "php4"),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("lang", choices=sorted(EXTENSIONS))
    parser.add_argument("out")
    parser.add_argument("--size", type=int, default=50 * 1000 * 1000)
    parser.add_argument("--corpus", default=os.path.join(HERE, "..", "..", "shared", "corpus"))
    args = parser.parse_args()
    files = []
    for base, dirs, names in os.walk(args.corpus):
        dirs.sort()
        for name in sorted(names):
            if name.lower().rsplit(".", 1)[-1] in EXTENSIONS[args.lang]:
                with open(os.path.join(base, name), "rb") as f:
                    data = f.read()
                files.append(data if data.endswith(b"\n") else data + b"\n")
    if not files:
        sys.exit("gen_big_script.py: no %s files under %s" % (args.lang, args.corpus))
    written = 0
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, "wb") as out:
        while written < args.size:
            for data in files:
                out.write(data)
                written += len(data)
                if written >= args.size:
                    break


if __name__ == "__main__":
    main()
