#!/usr/bin/env python3
"""Generates the large VBScript benchmark input (ARCHITECTURE.md, "Testing habits"): about 50 MB and 3 M lines of
ASP/VBScript, CR LF line ends, built from the corpus's .asp/.vbs/.inc files (real code) and
the short lines of samples/ (so the average line is as short as real code with its blank and
End If lines). Deterministic: the same inputs give the same file.

    gen_big_vbs.py OUT [--size BYTES] [--lines N]
"""
import argparse
import os
import random
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def corpus_lines(corpus):
    lines = []
    for base, dirs, files in os.walk(corpus):
        dirs.sort()
        for name in sorted(files):
            if name.lower().rsplit(".", 1)[-1] not in ("asp", "vbs", "inc", "asa"):
                continue
            with open(os.path.join(base, name), "rb") as f:
                data = f.read()
            lines.extend(data.replace(b"\r\n", b"\n").replace(b"\r", b"\n").split(b"\n"))
    return lines


def sample_lines():
    short = []
    sdir = os.path.join(ROOT, "samples")
    for name in sorted(os.listdir(sdir)):
        if name.endswith((".asp", ".vbs")):
            with open(os.path.join(sdir, name), "rb") as f:
                short.extend(l for l in f.read().replace(b"\r\n", b"\n").split(b"\n") if len(l) <= 14)
    short += [b"", b"End If", b"Next", b"Loop", b"  End If", b"    i = i + 1", b"  Else", b"Wend"]
    return short


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("out")
    ap.add_argument("--size", type=int, default=50 * 1024 * 1024)
    ap.add_argument("--lines", type=int, default=3_000_000)
    ap.add_argument("--corpus", default=os.path.join(ROOT, "..", "shared", "corpus"))
    a = ap.parse_args()

    real = corpus_lines(a.corpus) if os.path.isdir(a.corpus) else []
    short = sample_lines()
    if not real:
        print("gen_big_vbs: no corpus found, using samples only", file=sys.stderr)
        for name in ("shop.asp", "tools.vbs"):
            with open(os.path.join(ROOT, "samples", name), "rb") as f:
                real.extend(f.read().replace(b"\r\n", b"\n").split(b"\n"))
    real_avg = sum(len(l) + 2 for l in real) / len(real)
    short_avg = sum(len(l) + 2 for l in short) / len(short)
    # k short lines after each real one so that the average line is size / lines.
    target = a.size / a.lines
    k = max(0.0, (real_avg - target) / max(target - short_avg, 0.1))

    rng = random.Random(2024)
    out = bytearray()
    i = 0
    credit = 0.0
    while len(out) < a.size:
        out += real[i % len(real)] + b"\r\n"
        i += 1
        credit += k
        while credit >= 1:
            out += rng.choice(short) + b"\r\n"
            credit -= 1
    del out[a.size:]
    cut = out.rfind(b"\r\n")
    del out[cut + 2:]
    os.makedirs(os.path.dirname(os.path.abspath(a.out)), exist_ok=True)
    with open(a.out, "wb") as f:
        f.write(out)
    lines = out.count(b"\n")
    print(f"{a.out}: {len(out)} bytes, {lines} lines")


if __name__ == "__main__":
    main()
