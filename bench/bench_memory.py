#!/usr/bin/env python3
"""Peak memory and time of the commands on ordinary lines, on one long line and through a pipe.

Inputs (built in bench/out from the corpus, never committed): LINES, a ~SIZE MB VBScript file
of ordinary lines; ONE, the same bytes as one line (every line break a blank); and LINES fed
through a pipe. For each command it prints the peak resident set (ru_maxrss of the run, less
that of `ondrex --version`) as a multiple of the input's size, and the CPU seconds per MB.

Targets: on a file or a pipe of ordinary lines, the streamed commands (cat, tokens, scan)
stay within a small fixed budget ("peak MB" well under the input's size); on ONE, memory at
most twice the line plus the output held, and time per byte within twice that of LINES.

    bench/bench_memory.py [--build DIR] [--ondrex BINARY] [--size MB] [--runs N] [--only CMD]
"""
import argparse
import os
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

COMMANDS = [
    ["scan"],
    ["scan", "--format", "json", "--dim", "--if"],
    ["cat", "--color=never"],
    ["cat", "--color=always"],
    ["cat", "--html"],
    ["tokens"],
]


def run_once(argv, stdin_path=None):
    """Peak KiB and CPU seconds of one run, its output sent to /dev/null."""
    with open(os.devnull, "wb") as devnull:
        feeder = None
        stdin = None
        if stdin_path:
            feeder = subprocess.Popen(["cat", stdin_path], stdout=subprocess.PIPE)
            stdin = feeder.stdout
        p = subprocess.Popen(argv, stdin=stdin, stdout=devnull, stderr=subprocess.PIPE)
        if feeder:
            feeder.stdout.close()
        _, status, usage = os.wait4(p.pid, 0)
        if feeder:
            feeder.wait()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{' '.join(argv)} failed: {p.stderr.read().decode(errors='replace')}")
    return usage.ru_maxrss, usage.ru_utime + usage.ru_stime


def measure(argv, runs, stdin_path=None):
    results = [run_once(argv, stdin_path) for _ in range(runs)]
    return max(r[0] for r in results), statistics.median(r[1] for r in results)


def join_lines(lines, one):
    """Writes the file as one line, in pieces (so this process stays small: the runs it
    starts begin as copies of it)."""
    with open(lines, "rb") as f, open(one, "wb") as g:
        carry = b""
        while True:
            piece = f.read(1 << 20)
            if not piece:
                break
            piece = carry + piece
            carry = b"\r" if piece.endswith(b"\r") else b""
            piece = piece[:len(piece) - len(carry)]
            g.write(piece.replace(b"\r\n", b"  ").replace(b"\n", b" ").replace(b"\r", b" "))
        g.write(carry.replace(b"\r", b" "))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--ondrex", help="the binary to measure (default: BUILD/app/ondrex)")
    ap.add_argument("--size", type=int, default=50, help="input size in MB")
    ap.add_argument("--runs", type=int, default=1)
    ap.add_argument("--only", help="only the commands of this subcommand (scan, cat, tokens)")
    a = ap.parse_args()

    ondrex = a.ondrex or os.path.join(a.build, "app", "ondrex")
    if not os.access(ondrex, os.X_OK):
        sys.exit(f"{ondrex} not built: bash scripts/build.sh {a.build}")
    out = os.path.join(HERE, "out")
    os.makedirs(out, exist_ok=True)
    lines = os.path.join(out, f"memory_lines_{a.size}.vbs")
    one = os.path.join(out, f"memory_one_{a.size}.vbs")
    if not os.path.exists(lines):
        subprocess.run([sys.executable, os.path.join(HERE, "gen_big_script.py"), "vbscript", lines,
                        "--size", str(a.size * 1000 * 1000)], check=True)
    if not os.path.exists(one):
        join_lines(lines, one)
    mb = os.path.getsize(lines) / 1e6
    base, _ = run_once([ondrex, "--version"])

    print(f"{ondrex}: input {mb:.0f} MB; peak = resident set beyond `--version` ({base // 1024} MB)")
    print(f"{'command':34} {'lines: peak MB (x)':>19} {'pipe: peak MB':>14} {'one line: peak MB (x)':>22}"
          f" {'s/MB lines':>10} {'s/MB one':>9} {'ratio':>6}")
    for command in [c for c in COMMANDS if not a.only or c[0] == a.only]:
        peak_l, cpu_l = measure([ondrex, *command, lines], a.runs)
        peak_p, _ = measure([ondrex, *command, "/dev/stdin"], a.runs, stdin_path=lines)
        peak_o, cpu_o = measure([ondrex, *command, one], a.runs)
        mb_of = lambda kib: (kib - base) / 1024
        print(f"{' '.join(command):34} {mb_of(peak_l):12.0f} ({mb_of(peak_l) / mb:4.2f})"
              f" {mb_of(peak_p):14.0f} {mb_of(peak_o):15.0f} ({mb_of(peak_o) / mb:4.2f})"
              f" {cpu_l / mb:10.4f} {cpu_o / mb:9.4f} {cpu_o / max(cpu_l, 1e-9):6.2f}")


if __name__ == "__main__":
    main()
