#!/usr/bin/env python3
"""A whole site at once: a tree of 10,000 script files built from ../shared/corpus (the corpus
copied into numbered folders, into bench/out/site/, git-ignored), scanned side by side:

  ctags    ctags -R --languages=Asp,HTML,JavaScript,Perl,PHP -f /dev/null TREE
           (universal-ctags restricted to the languages it has)    scan -R >= 5 x faster
  loop     a shell loop of `ondrex scan --count FILE` per file (run over every --loop-step'th
           file and scaled to the whole tree)                      scan -R >= 3 x faster
  one      ondrex scan -R --count --jobs 1 TREE                    pool >= 1.6 x faster (2 cores)
  pool     ondrex scan -R --count TREE
  rows     ondrex scan -R TREE (text rows with a path column)
  tags     ondrex tags -R -o - TREE                                <= 1.5 x rows
  memory   peak RSS of `scan -R --format json` on the whole tree against half of it
           (JSON Lines stream: the peak should not grow with the number of files)

Each command runs --runs times after one warm-up (so every run reads from the page cache);
the median wall time counts. Exit status 1 when a target is missed.

    bench/bench_site.py [--build DIR] [--runs N] [--files N] [--loop-step N] [--regen]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
CORPUS = os.path.join(ROOT, "..", "shared", "corpus")
SCRIPTS = (".asp", ".inc", ".vbs", ".htm", ".html", ".js", ".php", ".php3", ".php4", ".pl",
           ".pm", ".cgi")


def corpus_files():
    found = []
    for folder, _, names in os.walk(CORPUS):
        found += [os.path.join(folder, n) for n in names if n.lower().endswith(SCRIPTS)]
    return sorted(found)


def build_tree(tree, count):
    files = corpus_files()
    if not files:
        sys.exit(f"no corpus at {CORPUS}")
    shutil.rmtree(tree, ignore_errors=True)
    for i in range(count):
        src = files[i % len(files)]
        dst = os.path.join(tree, f"{i // len(files):03d}", os.path.relpath(src, CORPUS))
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        shutil.copyfile(src, dst)


def run_once(argv, shell=False):
    """Wall seconds, processor seconds (user + system) and peak resident kilobytes of one run."""
    t0 = time.perf_counter()
    p = subprocess.Popen(argv, shell=shell, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    err = p.stderr.read()
    _, status, usage = os.wait4(p.pid, 0)
    wall = time.perf_counter() - t0
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        sys.exit(f"{argv} failed ({code}): {err.decode(errors='replace')[:500]}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss


def measure(argv, runs, shell=False):
    run_once(argv, shell)
    walls, cpus, peak = [], [], 0
    for _ in range(runs):
        wall, cpu, rss = run_once(argv, shell)
        walls.append(wall)
        cpus.append(cpu)
        peak = max(peak, rss)
    return statistics.median(walls), statistics.median(cpus), peak


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--files", type=int, default=10000)
    ap.add_argument("--loop-step", type=int, default=10)
    ap.add_argument("--regen", action="store_true")
    a = ap.parse_args()
    ondrex = os.path.abspath(os.path.join(a.build, "app", "ondrex"))
    tree = os.path.join(HERE, "out", "site")
    stamp = os.path.join(tree, f".files-{a.files}")
    if a.regen or not os.path.exists(stamp):
        build_tree(tree, a.files)
        open(stamp, "w").close()
    half = os.path.join(tree, "000")  # one copy of the corpus, for the memory comparison
    files = sorted(os.path.join(d, n) for d, _, ns in os.walk(tree) for n in ns
                   if n.lower().endswith(SCRIPTS))
    size = sum(os.path.getsize(f) for f in files)
    print(f"tree: {len(files)} files, {size / 1e6:.1f} MB, {os.cpu_count()} processors")

    results = {}
    if shutil.which("ctags"):
        results["ctags"] = measure(["ctags", "-R", "--languages=Asp,HTML,JavaScript,Perl,PHP",
                                    "-f", "/dev/null", tree], a.runs)
    sample = files[:: a.loop_step]
    listing = os.path.join(HERE, "out", "site-sample.txt")
    with open(listing, "w") as f:
        f.write("\n".join(sample) + "\n")
    loop = f'while IFS= read -r f; do "{ondrex}" scan --count "$f" >/dev/null; done < "{listing}"'
    wall, cpu, rss = measure(loop, 1, shell=True)
    scale = len(files) / len(sample)
    results["loop"] = (wall * scale, cpu * scale, rss)
    results["one"] = measure([ondrex, "scan", "-R", "--count", "--jobs", "1", tree], a.runs)
    results["pool"] = measure([ondrex, "scan", "-R", "--count", tree], a.runs)
    results["rows"] = measure([ondrex, "scan", "-R", tree], a.runs)
    results["tags"] = measure([ondrex, "tags", "-R", "-o", "-", tree], a.runs)
    results["json"] = measure([ondrex, "scan", "-R", "--format", "json", tree], a.runs)
    results["json-part"] = measure([ondrex, "scan", "-R", "--format", "json", half], a.runs)

    print(f"load average {os.getloadavg()[0]:.1f} (wall times on a busy machine: see the cpu column)")
    pool = results["pool"][0]
    for name, (wall, cpu, rss) in results.items():
        print(f"{name:10s} {wall:8.3f} s wall {cpu:8.3f} s cpu {rss / 1024:7.1f} MB peak"
              f"  {wall / pool:6.2f} x pool")
    ok = True

    def target(label, value, good):
        nonlocal ok
        ok &= good
        print(f"{label:40s} {value:6.2f}  {'ok' if good else 'MISSED'}")

    if "ctags" in results:
        target("ctags -R / scan -R --count (>= 5)", results["ctags"][0] / pool,
               results["ctags"][0] / pool >= 5)
    target("shell loop / scan -R --count (>= 3)", results["loop"][0] / pool,
           results["loop"][0] / pool >= 3)
    target("one thread / pool (>= 1.6 on 2 cores)", results["one"][0] / pool,
           results["one"][0] / pool >= 1.6)
    rows = results["rows"][0]
    target("tags -R / scan -R (<= 1.5)", results["tags"][0] / rows, results["tags"][0] / rows <= 1.5)
    growth = results["json"][2] / results["json-part"][2]
    target(f"json peak, {len(files)} files / one copy", growth, growth <= 1.5)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
