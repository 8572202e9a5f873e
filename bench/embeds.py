#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Times xvantor on blocks made of many embeds: peak memory, time and system calls.

Usage: python3 bench/embeds.py [--tool PATH] [--before PATH] [--runs N] [--scale F]
                               [--no-strace] [--keep]

Without --tool it builds a Release xvantor in build-bench/ first, as run.py does. The inputs
are generated in a temporary folder under build-bench/tmp/ and translated as C++:

  A. one block with 1,000,000 embeds of a file of one byte;
  B. the same with --depfile, which names that file once;
  C. one block with 300 embeds of a file of 1 MiB + 1 byte (about 1.3 GB of output);
  D. one block with 20,000 embeds of as many files of one byte, which no file is read
     twice in, so that every embed pays its own system calls;
  E. A in a block that escapes its values for HTML, whose places are found by a scan of
     their own.

For each it prints the output size, the best wall time of --runs runs, the processor time
of that run and the peak resident memory. When strace is installed, one more run under
`strace -c -f` counts the system calls (total and per embed, with the five most frequent);
that run is slower and not timed. --before names another build, the one to compare with:
its rows are printed first, and the last column gives time(tool) / time(before).

Targets, each printed as PASS or FAIL: a peak of at most 64 MiB for every input, at most
5.0 million system calls in all for A, and at most 5 system calls per embed for D. --scale multiplies the numbers of
embeds for a quick trial; the targets assume 1.

Exit status: 0 when every target passes, 1 when one fails, 2 when the tool or the harness
fails. This is no test: CTest never runs it.
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile

import run

MIB = 1 << 20
PEAK_LIMIT = 64 * MIB
CALLS_PER_EMBED = 5.0
CALLS_IN_ALL = 5.0e6
# name, title, embeds, bytes of the embedded file, options, files, block header
INPUTS = [
    ("A", "1,000,000 embeds of 1 byte", 1000000, 1, [], 1, b""),
    ("B", "the same with --depfile", 1000000, 1, ["--depfile", "out.d"], 1, b""),
    ("C", "300 embeds of 1 MiB + 1 byte", 300, MIB + 1, [], 1, b""),
    ("D", "20,000 files of 1 byte", 20000, 1, [], 20000, b""),
    ("E", "A, escaped for HTML", 1000000, 1, [], 1, b'FLAG_ESCAPE="html"'),
]


def write_input(folder, embeds, size, files, header):
    rng = random.Random(run.SEED)
    for number in range(files):
        with open(os.path.join(folder, "e%d" % number if files > 1 else "e"), "wb") as f:
            f.write(rng.randbytes(size) if size > 1 else b"x")
    with open(os.path.join(folder, "in.txt"), "wb") as f:
        f.write(b"BEGIN_FRAME_TEXT(" + header + b")\n")
        if files > 1:
            f.write(b"".join(b"<#e%d#>" % number for number in range(embeds)))
        for start in range(0, embeds if files == 1 else 0, 100000):
            f.write(b"<#e#>" * min(100000, embeds - start))
        f.write(b"\nEND_FRAME_TEXT()\n")


def count_calls(tool, argv, folder):
    """The total of system calls of one run under strace -c -f, and the five largest."""
    report = os.path.join(folder, "strace.txt")
    result = subprocess.run(["strace", "-c", "-f", "-o", report, tool] + argv, cwd=folder,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if result.returncode != 0:
        raise run.HarnessError("strace %s: %s" % (" ".join(argv),
                                                  result.stderr.decode(errors="replace")))
    calls = {}
    with open(report) as f:
        for line in f:
            fields = line.split()
            # "% time  seconds  usecs/call  calls  [errors]  syscall"
            if len(fields) >= 5 and fields[0][0].isdigit() and fields[3].isdigit():
                calls[fields[-1]] = int(fields[3])
    os.remove(report)
    total = calls.pop("total", sum(calls.values()))
    top = sorted(calls.items(), key=lambda item: -item[1])[:5]
    return total, top


def measure(label, tool, args, root):
    rows = []
    for key, title, embeds, size, options, files, header in INPUTS:
        embeds = max(1, int(embeds * args.scale))
        files = min(files, embeds)
        folder = os.path.join(root, "%s-%s" % (label, key))
        os.makedirs(folder)
        write_input(folder, embeds, size, files, header)
        argv = ["-c", "in.txt", "out.cpp"] + options
        elapsed, peak, cpu = run.best_of(args.runs, [tool] + argv, folder,
                                         before=run.remover(os.path.join(folder, "out.cpp")))
        out_size = os.path.getsize(os.path.join(folder, "out.cpp"))
        os.remove(os.path.join(folder, "out.cpp"))
        calls, top = None, []
        if args.strace:
            calls, top = count_calls(tool, argv, folder)
            os.remove(os.path.join(folder, "out.cpp"))
        rows.append({"label": label, "key": key, "title": title, "embeds": embeds,
                     "out": out_size, "time": elapsed, "cpu": cpu, "peak": peak,
                     "calls": calls, "top": top})
        if not args.keep:
            shutil.rmtree(folder)
    return rows


def report(rows, before, scale):
    header = "%-6s %-2s %-28s %9s %8s %7s %9s %11s %9s %8s" % (
        "build", "#", "input", "out MB", "time s", "cpu s", "peak MiB", "syscalls",
        "per embed", "x before")
    print(header)
    print("-" * len(header))
    for row in rows:
        calls = "%11d" % row["calls"] if row["calls"] is not None else "%11s" % "-"
        per = "%9.2f" % (row["calls"] / row["embeds"]) if row["calls"] is not None else "%9s" % "-"
        ratio = "%8s" % ""
        match = before.get(row["key"])
        if row["label"] == "tool" and match:
            ratio = "%8.2f" % (row["time"] / match["time"])
        print("%-6s %-2s %-28s %9.1f %8.3f %7.2f %9.1f %s %s %s" % (
            row["label"], row["key"], row["title"], row["out"] / 1e6, row["time"], row["cpu"],
            row["peak"] / MIB, calls, per, ratio))
    for row in rows:
        if row["top"]:
            print("%-6s %-2s %s" % (row["label"], row["key"], ", ".join(
                "%s %.2f" % (name, count / row["embeds"]) for name, count in row["top"])))
    print("(MB = 10^6 bytes; time = best wall time; cpu = user + system time of that run;")
    print(" syscalls from one more run under strace -c -f, per embed also by call)")
    print()
    checks = []
    for row in rows:
        if row["label"] != "tool":
            continue
        checks.append((row["peak"] <= PEAK_LIMIT, "%s: peak %.1f MiB (target <= 64 MiB)"
                       % (row["key"], row["peak"] / MIB)))
        if row["key"] == "A" and row["calls"] is not None:
            checks.append((row["calls"] <= CALLS_IN_ALL * scale,
                           "A: %d system calls (target <= %d)"
                           % (row["calls"], CALLS_IN_ALL * scale)))
        if row["key"] == "D" and row["calls"] is not None:
            # The run's own calls, a few hundred, are shared out over the embeds.
            per = row["calls"] / row["embeds"]
            checks.append((per <= CALLS_PER_EMBED + 0.1,
                           "D: %.2f system calls per embed (target <= %g, the run's own shared out)"
                           % (per, CALLS_PER_EMBED)))
    for ok, text in checks:
        print("%s  %s" % (run.verdict(ok), text))
    return 0 if all(ok for ok, _ in checks) else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", help="an xvantor binary to use instead of building one")
    parser.add_argument("--before", help="another xvantor binary to compare with")
    parser.add_argument("--runs", type=int, default=3, help="runs per input (best counts)")
    parser.add_argument("--scale", type=float, default=1.0, help="multiply the numbers of embeds")
    parser.add_argument("--no-strace", dest="strace", action="store_false",
                        help="skip the count of system calls")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    args = parser.parse_args()
    args.runs = max(1, args.runs)
    if args.strace and shutil.which("strace") is None:
        print("strace is not installed: no count of system calls")
        args.strace = False

    tool = os.path.abspath(args.tool) if args.tool else run.build_tool()
    os.makedirs(os.path.join(run.BUILD_DIR, "tmp"), exist_ok=True)
    root = tempfile.mkdtemp(prefix="embeds-", dir=os.path.join(run.BUILD_DIR, "tmp"))
    try:
        print("xvantor embeds: %s, best of %d runs, scale %g, load average %.2f"
              % (tool, args.runs, args.scale, os.getloadavg()[0]))
        rows = []
        before = {}
        if args.before:
            rows += measure("before", os.path.abspath(args.before), args, root)
            before = {row["key"]: row for row in rows}
        rows += measure("tool", tool, args, root)
        print("load average %.2f at the end" % os.getloadavg()[0])
        print()
        return report(rows, before, args.scale)
    finally:
        if args.keep:
            print("kept " + root)
        else:
            shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    try:
        sys.exit(main())
    except run.HarnessError as error:
        print("error: %s" % error)
        sys.exit(2)
