#!/usr/bin/env python3
"""The export paths side by side, for each language on a ~50 MB file built from the corpus:

  never   ondrex cat --color=never FILE            the peer: reading, decoding, writing
  always  ondrex cat --color=always FILE           target: <= 2 x never (CPU time)
  html    ondrex cat --html FILE                   target: <= 2 x never (CPU time);
                                                   first byte < 50 ms, peak memory < 100 MB
  tokens  ondrex tokens --format json FILE         target: >= 600 MB/s of output per CPU second

Times are CPU time (user + system) of the child: the machines these run on are shared. The
commands take turns (one run of each per round, --runs rounds after one warm-up round) and
the medians count; wall times are shown beside them. Output goes to a pipe that is read and dropped, so
that the first byte's time can be taken. Exit status 1 when a target is missed.

    bench/bench_export.py [--build DIR] [--ondrex BINARY] [--runs N] [--size BYTES]
                          [--corpus DIR] [--langs vbscript,javascript,perl,php]
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
EXTENSION = {"vbscript": "asp", "javascript": "js", "perl": "pl", "php": "php"}


def run_once(argv):
    """Wall, CPU and first-byte seconds, peak resident MB and output bytes of one run."""
    t0 = time.perf_counter()
    p = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    first, total = None, 0
    while True:
        chunk = p.stdout.read1(1 << 20)
        if not chunk:
            break
        if first is None:
            first = time.perf_counter() - t0
        total += len(chunk)
    _, status, usage = os.wait4(p.pid, 0)
    wall = time.perf_counter() - t0
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{' '.join(argv)} failed: {p.stderr.read().decode(errors='replace')}")
    return wall, usage.ru_utime + usage.ru_stime, first or wall, usage.ru_maxrss / 1024, total


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--ondrex", help="the binary to measure (default: BUILD/app/ondrex)")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--size", type=int, default=50_000_000)
    ap.add_argument("--corpus", help="passed to gen_big_script.py")
    ap.add_argument("--langs", default="vbscript,javascript,perl,php")
    a = ap.parse_args()

    ondrex = a.ondrex or os.path.join(a.build, "app", "ondrex")
    if not os.access(ondrex, os.X_OK):
        sys.exit(f"{ondrex} not built: bash scripts/build.sh {a.build}")
    missed = []
    with tempfile.TemporaryDirectory() as work:
        for lang in a.langs.split(","):
            path = os.path.join(work, f"big.{EXTENSION[lang]}")
            gen = [sys.executable, os.path.join(HERE, "gen_big_script.py"), lang, path, "--size", str(a.size)]
            subprocess.run(gen + (["--corpus", a.corpus] if a.corpus else []), check=True,
                           stdout=subprocess.DEVNULL)
            cmds = {
                "never": [ondrex, "cat", "--color=never", path],
                "always": [ondrex, "cat", "--color=always", path],
                "html": [ondrex, "cat", "--html", path],
                "tokens": [ondrex, "tokens", "--format", "json", path],
            }
            runs = {name: [] for name in cmds}
            for round_ in range(a.runs + 1):
                for name, argv in cmds.items():
                    result = run_once(argv)
                    if round_:  # the first round warms up
                        runs[name].append(result)

            def median(name, k):
                return statistics.median(r[k] for r in runs[name])

            never = median("never", 1)
            print(f"{lang}: {os.path.getsize(path) / 1e6:.1f} MB; medians of {a.runs} interleaved runs, CPU s")
            print(f"  never  {never:6.3f}  wall {median('never', 0):6.3f}")
            for name in ("always", "html"):
                ratio = median(name, 1) / never
                print(f"  {name:6} {median(name, 1):6.3f}  {ratio:4.2f} x never (target 2)"
                      f"  wall {median(name, 0):6.3f}  first byte {median(name, 2) * 1000:5.0f} ms"
                      f"  peak {max(r[3] for r in runs[name]):5.0f} MB")
                if ratio > 2:
                    missed.append(f"{lang} {name}")
            html_first, html_peak = median("html", 2), max(r[3] for r in runs["html"])
            if html_first > 0.05 or html_peak > 100:
                missed.append(f"{lang} html first byte / memory")
            out = runs["tokens"][0][4]
            rate = out / median("tokens", 1) / 1e6
            print(f"  tokens {median('tokens', 1):6.3f}  {out / 1e6:.0f} MB written: {rate:.0f} MB/s by CPU"
                  f" (target 600)  wall {median('tokens', 0):6.3f}")
            if rate < 600:
                missed.append(f"{lang} tokens")
    print("targets: " + ("all met" if not missed else "missed: " + ", ".join(missed)))
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
