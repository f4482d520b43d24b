#!/usr/bin/env python3
"""The scanner and line-list benchmark, all in one run on one generated file:

  peer   LC_ALL=C grep -c -i 'function ' FILE     (also shown in the current locale)
  count  ondrex scan --count FILE                 target: <= 1.0 x the C-locale grep
  json   ondrex scan --format json FILE > /dev/null          <= 1.5 x
  load   bench_scan_load FILE (TqvEditList::LoadFromFile)    <= 3 x, peak memory <= 3 x file

Times are CPU time (user + system) of the child: the machines these run on are shared, and
wall time measures the machine more than the program. The commands take turns (one run of
each, --runs times, after one warm-up each) and the medians count; the wall-time medians are
shown beside them. The input, about 50 MB and 3 M lines of VBScript, is generated into
bench/out/ (git-ignored) by bench/gen_big_vbs.py from samples/ and the corpus; with --lang,
50 MB of that language's corpus files by bench/gen_big_script.py. Exit status 1 when a target
is missed.

    bench/bench_scan.py [--build DIR] [--runs N] [--file FILE | --lang LANG [--corpus DIR]]
                        [--regen] [--ondrex BINARY]
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
    """Wall seconds, CPU seconds, peak resident kilobytes and output of one run of argv."""
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
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, out


class Command:
    def __init__(self, argv, env=None, to_devnull=False):
        self.argv, self.env, self.to_devnull = argv, env, to_devnull
        self.walls, self.cpus, self.rss, self.out = [], [], 0, b""

    def run(self, keep=True):
        devnull = open(os.devnull, "wb") if self.to_devnull else None
        wall, cpu, peak, out = run_once(self.argv, self.env, devnull)
        if keep:
            self.walls.append(wall)
            self.cpus.append(cpu)
            self.rss, self.out = max(self.rss, peak), out

    @property
    def cpu(self):
        return statistics.median(self.cpus)

    @property
    def wall(self):
        return statistics.median(self.walls)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--file", help="the input (default: bench/out/big.vbs, or big.LANG with --lang)")
    ap.add_argument("--lang", choices=("vbscript", "javascript", "perl", "php"),
                    help="a 50 MB input of this language from the corpus (gen_big_script.py)")
    ap.add_argument("--corpus", help="the corpus for --lang (default: gen_big_script.py's)")
    ap.add_argument("--regen", action="store_true")
    ap.add_argument("--ondrex", help="the ondrex binary (default: BUILD/app/ondrex)")
    a = ap.parse_args()

    ondrex = a.ondrex or os.path.join(a.build, "app", "ondrex")
    loader = os.path.join(a.build, "bench", "bench_scan_load")
    for exe in (ondrex, loader):
        if not os.access(exe, os.X_OK):
            sys.exit(f"{exe} not built: bash scripts/build.sh {a.build}")
    a.file = a.file or os.path.join(HERE, "out", "big." + (a.lang or "vbs"))
    if a.regen or not os.path.exists(a.file):
        if a.lang:
            corpus = ["--corpus", a.corpus] if a.corpus else []
            subprocess.run([sys.executable, os.path.join(HERE, "gen_big_script.py"), a.lang, a.file] + corpus,
                           check=True)
        else:
            subprocess.run([sys.executable, os.path.join(HERE, "gen_big_vbs.py"), a.file], check=True)
    size = os.path.getsize(a.file)
    with open(a.file, "rb") as f:
        data = f.read()  # also warms the page cache
    lines = data.count(b"\n")
    del data

    env_c = dict(os.environ, LC_ALL="C")
    grep_argv = ["grep", "-c", "-i", "function ", a.file]
    cmds = {
        "grep": Command(grep_argv),
        "grepc": Command(grep_argv, env_c),
        "count": Command([ondrex, "scan", "--count", a.file]),
        "json": Command([ondrex, "scan", "--format", "json", a.file], to_devnull=True),
        "load": Command([loader, a.file]),
    }
    for c in cmds.values():
        c.run(keep=False)  # warm-up
    for _ in range(a.runs):  # interleaved, so that a busy spell hits every command alike
        for c in cmds.values():
            c.run()
    g, gc, count, json, load = (cmds[k] for k in ("grep", "grepc", "count", "json", "load"))

    def line(name, c, target, note=""):
        print(f"{name:6} {c.cpu * 1000:7.1f} ms CPU {c.cpu / gc.cpu:5.2f} x grep LC_ALL=C"
              f" (target {target})  {c.cpu / g.cpu:5.2f} x grep in the locale;"
              f"  wall {c.wall * 1000:6.1f} ms  {note}")

    locale = os.environ.get("LC_ALL") or os.environ.get("LC_CTYPE") or os.environ.get("LANG") or "POSIX"
    print(f"file   {a.file}: {size / 1e6:.1f} MB, {lines} lines; medians of {a.runs} interleaved runs")
    print(f"grep   {gc.cpu * 1000:7.1f} ms CPU (LC_ALL=C; {gc.out.decode().strip()} lines with 'function ')"
          f"  wall {gc.wall * 1000:6.1f} ms")
    print(f"grep   {g.cpu * 1000:7.1f} ms CPU ({locale})  wall {g.wall * 1000:6.1f} ms")
    line("count", count, "1.0", count.out.decode().strip().replace(chr(10), ", "))
    line("json", json, "1.5", f"peak {json.rss / 1024:.0f} MB")
    line("load", load, "3", f"peak {load.rss / 1024:.0f} MB = {load.rss * 1024 / size:.2f} x file (target 3)")
    print(f"       {load.out.decode().strip()}")
    missed = [name for name, ok in (("count", count.cpu <= 1.0 * gc.cpu), ("json", json.cpu <= 1.5 * gc.cpu),
                                    ("load", load.cpu <= 3 * gc.cpu), ("load memory", load.rss * 1024 <= 3 * size))
              if not ok]
    print("targets: " + ("all met" if not missed else "missed: " + ", ".join(missed)))
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
