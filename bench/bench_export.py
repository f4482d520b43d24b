#!/usr/bin/env python3
"""The export paths side by side on one ~50 MB PHP file built from the corpus:

  never   ondrex cat --color=never FILE            the peer: reading, decoding, writing
  always  ondrex cat --color=always FILE           target: <= 2 x never
  html    ondrex cat --html FILE                   target: <= 2 x never
  tokens  ondrex tokens --format json FILE         target: >= 300 MB/s of output

cat's coloured paths find the tokens on a second thread; the same commands held to one
processor ("1 cpu") show what that second thread gives (it gives wall time only when a
processor is free, and costs a little CPU time). Output goes to /dev/null. Each command runs
--runs times after one warm-up; the median wall time counts, and the median CPU time (user +
system) is shown beside it, since wall time on a busy machine measures the machine more than
the program. Exit status 1 when a target is missed (by wall time).

    bench/bench_export.py [--build DIR] [--runs N] [--file FILE] [--ondrex BINARY]
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def run_once(argv, one_cpu=False):
    """Wall and CPU seconds of one run of argv, its output sent to /dev/null."""
    pin = (lambda: os.sched_setaffinity(0, {min(os.sched_getaffinity(0))})) if one_cpu else None
    with open(os.devnull, "wb") as devnull:
        t0 = time.perf_counter()
        p = subprocess.Popen(argv, stdout=devnull, stderr=subprocess.PIPE, preexec_fn=pin)
        _, status, usage = os.wait4(p.pid, 0)
        wall = time.perf_counter() - t0
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{' '.join(argv)} failed: {p.stderr.read().decode(errors='replace')}")
    return wall, usage.ru_utime + usage.ru_stime


def measure(argv, runs, one_cpu=False):
    run_once(argv, one_cpu)  # warm-up
    results = [run_once(argv, one_cpu) for _ in range(runs)]
    return statistics.median(r[0] for r in results), statistics.median(r[1] for r in results)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--ondrex", help="the binary to measure (default: BUILD/app/ondrex)")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--file", default=os.path.join(HERE, "out", "big.php"))
    a = ap.parse_args()

    ondrex = a.ondrex or os.path.join(a.build, "app", "ondrex")
    if not os.access(ondrex, os.X_OK):
        sys.exit(f"{ondrex} not built: bash scripts/build.sh {a.build}")
    if not os.path.exists(a.file):
        subprocess.run([sys.executable, os.path.join(HERE, "gen_big_script.py"), "php", a.file], check=True)
    size = os.path.getsize(a.file)
    tokens_out = len(subprocess.run([ondrex, "tokens", "--format", "json", a.file],
                                    stdout=subprocess.PIPE, check=True).stdout)

    never = measure([ondrex, "cat", "--color=never", a.file], a.runs)
    always = measure([ondrex, "cat", "--color=always", a.file], a.runs)
    html = measure([ondrex, "cat", "--html", a.file], a.runs)
    always_1 = measure([ondrex, "cat", "--color=always", a.file], a.runs, one_cpu=True)
    html_1 = measure([ondrex, "cat", "--html", a.file], a.runs, one_cpu=True)
    tokens = measure([ondrex, "tokens", "--format", "json", a.file], a.runs)

    print(f"file   {a.file}: {size / 1e6:.1f} MB; median of {a.runs} runs, wall s (cpu s)")
    print(f"never  {never[0]:6.3f} ({never[1]:.3f})")
    missed = []
    for name, (wall, cpu) in (("always", always), ("html", html)):
        ratio = wall / never[0]
        print(f"{name:6} {wall:6.3f} ({cpu:.3f})  {ratio:4.2f} x never  ({cpu / never[1]:4.2f} x by cpu)"
              "  (target 2)")
        if ratio > 2:
            missed.append(name)
    for name, (wall, cpu) in (("always", always_1), ("html", html_1)):
        print(f"{name:6} {wall:6.3f} ({cpu:.3f})  {wall / never[0]:4.2f} x never  "
              f"({cpu / never[1]:4.2f} x by cpu)  on 1 cpu")
    rate = tokens_out / tokens[0] / 1e6
    print(f"tokens {tokens[0]:6.3f} ({tokens[1]:.3f})  {tokens_out / 1e6:.0f} MB written: "
          f"{rate:.0f} MB/s  ({tokens_out / tokens[1] / 1e6:.0f} MB/s by cpu)  (target 300)")
    if rate < 300:
        missed.append("tokens")
    print("targets: " + ("all met" if not missed else "missed: " + ", ".join(missed)))
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
