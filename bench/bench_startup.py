#!/usr/bin/env python3
"""Start-up of the command line against grep, side by side in one run:

  version  ondrex --version                 against grep --version       target <= 1.5 x
  scan     ondrex scan --count ONE-LINE.asp against grep -c x ONE-LINE.asp target <= 1.5 x

Each command runs --runs times, interleaved with its peer so both see the same machine load;
the median wall time counts (and the processor time, user + system, beside it). Exit status
1 when a target is missed.

    bench/bench_startup.py [--build DIR] [--runs N]
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


def run_once(argv):
    t0 = time.perf_counter()
    p = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(p.pid, 0)
    wall = time.perf_counter() - t0
    if os.waitstatus_to_exitcode(status) not in (0, 1):
        sys.exit(f"{argv} failed")
    return wall, usage.ru_utime + usage.ru_stime


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--runs", type=int, default=200)
    a = ap.parse_args()
    ondrex = os.path.join(a.build, "app", "ondrex")
    with tempfile.NamedTemporaryFile("w", suffix=".asp", delete=False) as f:
        f.write("Function One(x)\n")
        one_line = f.name
    pairs = {
        "version": ([ondrex, "--version"], ["grep", "--version"]),
        "scan": ([ondrex, "scan", "--count", one_line], ["grep", "-c", "x", one_line]),
    }
    ok = True
    try:
        for name, (ours, peer) in pairs.items():
            mine, theirs = [], []
            run_once(ours), run_once(peer)
            for _ in range(a.runs):
                mine.append(run_once(ours))
                theirs.append(run_once(peer))
            wall = statistics.median(w for w, _ in mine)
            peer_wall = statistics.median(w for w, _ in theirs)
            cpu = statistics.median(c for _, c in mine)
            peer_cpu = statistics.median(c for _, c in theirs)
            ratio = wall / peer_wall
            ok &= ratio <= 1.5
            print(f"{name:8s} ondrex {wall * 1e3:6.2f} ms ({cpu * 1e3:5.2f} cpu)  "
                  f"grep {peer_wall * 1e3:6.2f} ms ({peer_cpu * 1e3:5.2f} cpu)  "
                  f"{ratio:5.2f} x  {'ok' if ratio <= 1.5 else 'MISSED'} (<= 1.5)")
    finally:
        os.unlink(one_line)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
