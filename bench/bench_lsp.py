#!/usr/bin/env python3
"""The language server under load, driven over its pipes as an editor drives it, each figure
beside a peer measured in the same run (inputs made from ../shared/corpus into bench/out/):

  edit     a one-character didChange in a 2,000-line VBScript file, then documentSymbol
           (target < 2 ms) / semanticTokens/full (target < 5 ms); peers: a request the
           server answers at once (the pipe and client floor) and ctags on the same file
  big      didOpen of a 50 MB file and its documentSymbol answered (target < 1 s); peers:
           ctags on the same file, `ondrex scan --count` on it
  memory   the server's resident memory for that open document (target < 3 x its size)
           and for the index of the tree below (beside the tree's size)
  index    the workspace index of a 10,000-file tree, from `initialized` to the end of its
           progress (target < 3 s on two cores); peers: `ondrex scan -R --count` and
           `ctags -R` on the same tree; then one workspace/symbol query
  outline  Neovim headless (bench_lsp_outline.lua): the outline of a 5,000-line file after
           :write, through `ondrex lsp` against ctags run on save (skipped without nvim)

The client keeps JSON work out of the timings: messages are encoded before the clock starts
and answers are matched by the id at their head, not parsed. Exit status 1 when a target is
missed.

    bench/bench_lsp.py [--build DIR] [--runs N] [--files N] [--regen]
"""
import argparse
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
OUT = os.path.join(HERE, "out")
sys.path.insert(0, HERE)
import bench_site  # noqa: E402  (the 10,000-file tree)

HEAD_ID = re.compile(rb'^\{"jsonrpc":"2\.0","id":(\d+),')


def framed(obj):
    body = json.dumps(obj, ensure_ascii=False).encode()
    return b"Content-Length: %d\r\n\r\n" % len(body) + body


class Server:
    """`ondrex lsp` on pipes; answers the server's own requests with null results."""

    def __init__(self, ondrex, workspace=None, progress=False):
        self.p = subprocess.Popen([ondrex, "lsp", "--stdio"], stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.next_id = 0
        self.progress_end = None  # perf_counter() when the index's progress ended
        caps = {"window": {"workDoneProgress": progress}}
        params = {"processId": os.getpid(), "capabilities": caps}
        if workspace:
            params["workspaceFolders"] = [{"uri": "file://" + workspace, "name": "w"}]
        self.call("initialize", params)

    def write(self, data):
        self.p.stdin.write(data)
        self.p.stdin.flush()

    def notify(self, method, params):
        self.write(framed({"jsonrpc": "2.0", "method": method, "params": params}))

    def request_bytes(self, method, params):
        self.next_id += 1
        return self.next_id, framed({"jsonrpc": "2.0", "id": self.next_id, "method": method,
                                     "params": params})

    def read(self):
        length = 0
        while True:
            line = self.p.stdout.readline()
            if not line:
                sys.exit("the server closed its output")
            if line in (b"\r\n", b"\n"):
                break
            if line.lower().startswith(b"content-length:"):
                length = int(line.split(b":")[1])
        return self.p.stdout.read(length)

    def wait_for(self, wanted):
        """Reads until the answer to request `wanted`; returns its body (bytes)."""
        while True:
            body = self.read()
            m = HEAD_ID.match(body)
            if m and int(m.group(1)) == wanted:
                return body
            if m or len(body) > 4096:
                continue
            message = json.loads(body)
            if "id" in message and "method" in message:  # the server asks something
                self.write(framed({"jsonrpc": "2.0", "id": message["id"], "result": None}))
            elif message.get("method") == "$/progress" and \
                    message["params"]["value"]["kind"] == "end":
                self.progress_end = time.perf_counter()

    def call(self, method, params):
        rid, data = self.request_bytes(method, params)
        self.write(data)
        return self.wait_for(rid)

    def rss_kb(self, field="VmRSS"):
        with open(f"/proc/{self.p.pid}/status") as f:
            for line in f:
                if line.startswith(field + ":"):
                    return int(line.split()[1])
        return 0

    def close(self):
        self.call("shutdown", None)
        self.notify("exit", None)
        self.p.wait(timeout=30)


def big_script(size, name):
    path = os.path.join(OUT, name)
    if not os.path.exists(path) or os.path.getsize(path) < size * 0.9:
        os.makedirs(OUT, exist_ok=True)
        subprocess.run([sys.executable, os.path.join(HERE, "gen_big_script.py"), "vbscript", path,
                        "--size", str(size), "--corpus", bench_site.CORPUS], check=True,
                       stdout=subprocess.DEVNULL)
    return path


def first_lines(path, count, name):
    out = os.path.join(OUT, name)
    with open(path, "rb") as f:
        lines = [next(f) for _ in range(count)]
    with open(out, "wb") as f:
        f.writelines(lines)
    return out


def process_seconds(argv, runs):
    walls = []
    for _ in range(runs + 1):
        t0 = time.perf_counter()
        subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        walls.append(time.perf_counter() - t0)
    return statistics.median(walls[1:])


def text_of(path):
    return open(path, "rb").read().decode("utf-8", errors="replace")


def bench_edit(ondrex, path, runs):
    s = Server(ondrex)
    uri = "file://" + path
    s.notify("textDocument/didOpen", {"textDocument": {"uri": uri, "languageId": "vbscript",
                                                       "version": 1, "text": text_of(path)}})
    doc = {"textDocument": {"uri": uri}}
    symbols = json.loads(s.call("textDocument/documentSymbol", doc))["result"]
    s.call("textDocument/semanticTokens/full", doc)
    version = [1]

    def edit():
        version[0] += 1
        at = {"line": 1000, "character": 0}
        change = ({"range": {"start": at, "end": at}, "text": "x"} if version[0] % 2 == 0 else
                  {"range": {"start": at, "end": {"line": 1000, "character": 1}}, "text": ""})
        return framed({"jsonrpc": "2.0", "method": "textDocument/didChange",
                       "params": {"textDocument": {"uri": uri, "version": version[0]},
                                  "contentChanges": [change]}})

    def timed(method, params, with_edit):
        times = []
        for _ in range(runs):
            data = edit() if with_edit else b""
            rid, request = s.request_bytes(method, params)
            t0 = time.perf_counter()
            s.write(data + request)
            s.wait_for(rid)
            times.append(time.perf_counter() - t0)
        return statistics.median(times), min(times)

    floor = timed("ondrex/ping", {}, False)
    sym = timed("textDocument/documentSymbol", doc, True)
    tok = timed("textDocument/semanticTokens/full", doc, True)
    s.close()
    return len(symbols), floor, sym, tok


def bench_big(ondrex, path):
    s = Server(ondrex)
    before = s.rss_kb()
    uri = "file://" + path
    open_msg = framed({"jsonrpc": "2.0", "method": "textDocument/didOpen",
                       "params": {"textDocument": {"uri": uri, "languageId": "vbscript",
                                                   "version": 1, "text": text_of(path)}}})
    rid, request = s.request_bytes("textDocument/documentSymbol", {"textDocument": {"uri": uri}})
    t0 = time.perf_counter()
    s.write(open_msg + request)
    answer = s.wait_for(rid)
    seconds = time.perf_counter() - t0
    count = answer.count(b'"selectionRange"')
    after, peak = s.rss_kb(), s.rss_kb("VmHWM")
    s.close()
    return seconds, count, before, after, peak


def bench_index(ondrex, tree):
    idle = Server(ondrex)
    base = idle.rss_kb()
    idle.close()
    s = Server(ondrex, workspace=tree, progress=True)
    t0 = time.perf_counter()
    s.notify("initialized", {})
    rid, request = s.request_bytes("workspace/symbol", {"query": "get"})
    s.write(request)
    answer = s.wait_for(rid)  # waits for the index, answering the progress token on the way
    t_answer = time.perf_counter()
    built = (s.progress_end or t_answer) - t0
    rid, request = s.request_bytes("workspace/symbol", {"query": "getusr"})
    t1 = time.perf_counter()
    s.write(request)
    s.wait_for(rid)
    query = time.perf_counter() - t1
    rss = s.rss_kb()
    s.close()
    return built, answer.count(b'"location"'), query, base, rss


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--runs", type=int, default=200)
    ap.add_argument("--files", type=int, default=10000)
    ap.add_argument("--regen", action="store_true")
    a = ap.parse_args()
    ondrex = os.path.abspath(os.path.join(a.build, "app", "ondrex"))
    has_ctags = shutil.which("ctags") is not None
    ok = True

    def target(label, value, good):
        nonlocal ok
        ok &= good
        print(f"  {label:52s} {value:9.3f}  {'ok' if good else 'MISSED'}")

    big = big_script(50 * 1000 * 1000, "lsp_big.asp")
    small = first_lines(big, 2000, "lsp_2000.asp")
    print(f"load average {os.getloadavg()[0]:.1f}, {os.cpu_count()} processors")

    count, floor, sym, tok = bench_edit(ondrex, small, a.runs)
    ctags_small = process_seconds(["ctags", "-f", "/dev/null", small], 20) if has_ctags else 0
    print(f"edit: 2,000 lines, {count} symbols; median / best of {a.runs}, in ms")
    print(f"  floor (a request answered at once) {floor[0]*1e3:7.3f} / {floor[1]*1e3:7.3f}")
    print(f"  edit + documentSymbol              {sym[0]*1e3:7.3f} / {sym[1]*1e3:7.3f}")
    print(f"  edit + semanticTokens/full         {tok[0]*1e3:7.3f} / {tok[1]*1e3:7.3f}")
    target("edit + documentSymbol, ms (< 2)", sym[0] * 1e3, sym[0] < 0.002)
    target("edit + semanticTokens/full, ms (< 5)", tok[0] * 1e3, tok[0] < 0.005)
    print(f"  ratios: symbols / floor {sym[0]/floor[0]:.2f}, tokens / floor {tok[0]/floor[0]:.2f}")
    if has_ctags:
        print(f"  ctags on the same file {ctags_small*1e3:.2f} ms: ctags / (edit + symbols) = "
              f"{ctags_small/sym[0]:.1f}")

    seconds, symbols, before, after, peak = bench_big(ondrex, big)
    size = os.path.getsize(big)
    scan = process_seconds([ondrex, "scan", "--count", big], 3)
    print(f"big: {size/1e6:.1f} MB, {symbols} symbols")
    target("didOpen + documentSymbol, s (< 1)", seconds, seconds < 1)
    print(f"  ondrex scan --count on it {scan:.3f} s: server / scan = {seconds/scan:.2f}")
    if has_ctags:
        ctags_big = process_seconds(["ctags", "-f", "/dev/null", big], 1)
        print(f"  ctags on it {ctags_big:.3f} s: ctags / server = {ctags_big/seconds:.2f}")
    held = (after - before) * 1024
    target("memory held for the open document / its size (< 3)", held / size, held / size < 3)
    print(f"  resident {before/1024:.1f} MB before, {after/1024:.1f} MB after, peak "
          f"{peak/1024:.1f} MB (peak - before) / size = {(peak - before) * 1024 / size:.2f}")

    tree = os.path.join(OUT, "site")
    stamp = os.path.join(tree, f".files-{a.files}")
    if a.regen or not os.path.exists(stamp):
        bench_site.build_tree(tree, a.files)
        open(stamp, "w").close()
    files = [os.path.join(d, n) for d, _, ns in os.walk(tree) for n in ns
             if n.lower().endswith(bench_site.SCRIPTS)]
    tree_size = sum(os.path.getsize(f) for f in files)
    built, found, query, base, rss = bench_index(ondrex, tree)
    scan_tree = process_seconds([ondrex, "scan", "-R", "--count", tree], 2)
    print(f"index: {len(files)} files, {tree_size/1e6:.1f} MB; 'get' found {found} symbols")
    target("index built, s (< 3)", built, built < 3)
    print(f"  scan -R --count {scan_tree:.3f} s: index / scan -R = {built/scan_tree:.2f}")
    if has_ctags:
        ctags_tree = process_seconds(["ctags", "-R", "--languages=Asp,HTML,JavaScript,Perl,PHP",
                                      "-f", "/dev/null", tree], 1)
        print(f"  ctags -R {ctags_tree:.3f} s: ctags / index = {ctags_tree/built:.2f}")
    print(f"  a workspace/symbol query on it {query*1e3:.1f} ms")
    print(f"  resident: idle server {base/1024:.1f} MB, with the index {rss/1024:.1f} MB "
          f"(index {(rss-base)/1024:.1f} MB for {tree_size/1e6:.1f} MB of files)")

    if shutil.which("nvim") and has_ctags:
        outline = first_lines(big, 5000, "lsp_5000.asp")
        env = dict(os.environ, ONDREX=ondrex, OUTLINE_FILE=outline)
        result = subprocess.run(["nvim", "--headless", "-u", "NONE", "-i", "NONE", "-n", "-c",
                                 "luafile " + os.path.join(HERE, "bench_lsp_outline.lua")],
                                env=env, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                                timeout=300)
        if result.returncode != 0:
            sys.exit("bench_lsp_outline.lua failed: " + result.stderr + result.stdout)
        print("outline in Neovim (5,000 lines), from :write to the outline, median ms:")
        print("  " + result.stdout.strip().replace("\n", "\n  "))
    else:
        print("outline: skipped (needs nvim and ctags)")
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
