#!/usr/bin/env python3
"""The scanner and line-list benchmark, all in one run on one generated file:

  peer   grep -c -i 'function ' FILE          (in the current locale, and with LC_ALL=C)
  count  ondrex scan --count FILE              target: <= 3 x grep
  json   ondrex scan --format json FILE > /dev/null          <= 10 x grep
  load   bench_scan_load FILE (TqvEditList::LoadFromFile)    <= 3 x grep, peak memory <= 3 x file

The input, about 50 MB and 3 M lines of VBScript, is generated into bench/out/ (git-ignored)
by bench/gen_big_vbs.py from samples/ and ../shared/corpus. Each command runs --runs times after
one warm-up; the median wall time counts. Exit status 1 when a target is missed.

    bench/bench_scan.py [--build DIR] [--runs N] [--file FILE] [--regen]
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def run_once(argv, env=None, stdout=None):
    """Wall seconds and peak resident kilobytes of one run of argv."""
    t0 = time.perf_counter()
    p = subprocess.Popen(argv, env=env, stdout=stdout or subprocess.PIPE, stderr=subprocess.PIPE)
    # grep stops at its first match when its output is /dev/null: read its output instead.
    out = p.stdout.read() if p.stdout else b""
    _, status, usage = os.wait4(p.pid, 0)
    wall = time.perf_counter() - t0
    p.returncode = os.waitstatus_to_exitcode(status)
    err = p.stderr.read()
    if p.returncode not in (0, 1):
        sys.exit(f"{argv[0]} failed ({p.returncode}): {err.decode(errors='replace')}")
    return wall, usage.ru_maxrss, out


def measure(argv, runs, env=None, to_devnull=False):
    devnull = open(os.devnull, "wb") if to_devnull else None
    run_once(argv, env, devnull)  # warm-up
    walls, rss, out = [], 0, b""
    for _ in range(runs):
        wall, peak, out = run_once(argv, env, devnull)
        walls.append(wall)
        rss = max(rss, peak)
    return statistics.median(walls), rss, out


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--file", default=os.path.join(HERE, "out", "big.vbs"))
    ap.add_argument("--regen", action="store_true")
    a = ap.parse_args()

    ondrex = os.path.join(a.build, "app", "ondrex")
    loader = os.path.join(a.build, "bench", "bench_scan_load")
    for exe in (ondrex, loader):
        if not os.access(exe, os.X_OK):
            sys.exit(f"{exe} not built: bash scripts/build.sh {a.build}")
    if a.regen or not os.path.exists(a.file):
        subprocess.run([sys.executable, os.path.join(HERE, "gen_big_vbs.py"), a.file], check=True)
    size = os.path.getsize(a.file)
    with open(a.file, "rb") as f:
        data = f.read()  # also warms the page cache
    lines = data.count(b"\n")
    del data

    env_c = dict(os.environ, LC_ALL="C")
    grep = ["grep", "-c", "-i", "function ", a.file]
    g, _, gout = measure(grep, a.runs)
    gc, _, _ = measure(grep, a.runs, env_c)
    count, _, cout = measure([ondrex, "scan", "--count", a.file], a.runs)
    json, json_rss, _ = measure([ondrex, "scan", "--format", "json", a.file], a.runs, to_devnull=True)
    load, load_rss, lout = measure([loader, a.file], a.runs)

    locale = os.environ.get("LC_ALL") or os.environ.get("LC_CTYPE") or os.environ.get("LANG") or "POSIX"
    print(f"file   {a.file}: {size / 1e6:.1f} MB, {lines} lines; median of {a.runs} runs")
    print(f"grep   {g * 1000:7.1f} ms  ({locale}; {gout.decode().strip()} lines with 'function ')")
    print(f"grep   {gc * 1000:7.1f} ms  (LC_ALL=C)")
    print(f"count  {count * 1000:7.1f} ms  {count / g:5.2f} x grep  {count / gc:5.2f} x grep LC_ALL=C"
          f"  (target 3)  {cout.decode().strip().replace(chr(10), ', ')}")
    print(f"json   {json * 1000:7.1f} ms  {json / g:5.2f} x grep  {json / gc:5.2f} x grep LC_ALL=C"
          f"  (target 10)  peak {json_rss / 1024:.0f} MB")
    print(f"load   {load * 1000:7.1f} ms  {load / g:5.2f} x grep  {load / gc:5.2f} x grep LC_ALL=C"
          f"  (target 3)  peak {load_rss / 1024:.0f} MB = {load_rss * 1024 / size:.2f} x file (target 3)")
    print(f"       {lout.decode().strip()}")
    missed = [name for name, ok in (("count", count <= 3 * g), ("json", json <= 10 * g),
                                    ("load", load <= 3 * g), ("load memory", load_rss * 1024 <= 3 * size))
              if not ok]
    print("targets: " + ("all met" if not missed else "missed: " + ", ".join(missed)))
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
