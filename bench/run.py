#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Times xvantor on three large generated workloads and checks it against its targets.

Usage: python3 bench/run.py [--runs N] [--scale F] [--tool PATH] [--keep]

Without --tool it configures and builds a Release xvantor in build-bench/ first. Workloads
are generated with a fixed seed in a temporary folder under build-bench/tmp/ (the same disk
as the repository, so the plain copy that serves as the write limit writes where the tool
writes); the folder is removed afterwards unless --keep is given.

  1. one 64 MiB random binary file embedded in one block, translated as C++ and as Java;
  2. 64 MiB of ordinary code with about 200,000 small blocks holding a few expressions
     each, and frame declarations;
  3. 16 MiB of code full of "frame" where it declares nothing, and of "<" and "!" bytes
     that nearly form delimiters, outside blocks and inside them.

Every case also runs at one eighth of its size for the scaling ratio. Beside the tool, the
same run times `xxd -i` of workload 1's binary file and `cp` of each output file. Times are
the best of --runs runs; the cpu column is the user and system time of that run, which other
programs on the machine disturb less than the wall time (a warning says when they ran).

Targets, each printed as PASS or FAIL:
  - workload 1 at least 8 times faster than `xxd -i` of the same file;
  - workload 1 within 2.5 times the plain copy of an equally large file (the other
    workloads show the same ratio, but parsing many small blocks is not a copy);
  - every scaling ratio time(full) / time(one eighth) within 8 * 1.3;
  - every peak resident memory within 3 times the output size plus 32 MiB.

Exit status: 0 when every target passes, 1 when one fails, 2 when the tool or the harness
itself fails (a build error, a non-zero exit, an output that is not what the input asks for).
This is no test: it is not registered with CTest and takes a few minutes.
"""

import argparse
import os
import platform
import random
import shutil
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD_DIR = os.path.join(REPO, "build-bench")
SEED = 20260101
MIB = 1 << 20

XXD_FACTOR = 8.0
COPY_FACTOR = 2.5
SCALE_BOUND = 8 * 1.3
MEMORY_FACTOR = 3.0
MEMORY_SLACK = 32 * MIB


class HarnessError(Exception):
    pass


# ---------------------------------------------------------------------------
# Workload generation. Each generator writes the input (and anything it names)
# into an empty folder and returns what the output must show, for a cheap
# check that the tool did the work it was timed on.


def write_binary_workload(folder, size, rng):
    with open(os.path.join(folder, "big.bin"), "wb") as f:
        remaining = size
        while remaining:
            chunk = min(remaining, 8 * MIB)
            f.write(rng.randbytes(chunk))
            remaining -= chunk
    with open(os.path.join(folder, "in.txt"), "wb") as f:
        f.write(b"BEGIN_FRAME_TEXT()\n<#big.bin#>\nEND_FRAME_TEXT()\n")
    return {"blocks": 1, "frames": 0}


WORDS = (
    "account amount balance customer date invoice item line name number order page price "
    "product quantity report row status summary tax total user value"
).split()
NAMES = ["Invoice", "Report", "Summary", "Letter", "Table", "Header", "Footer", "Notice"]
TYPES = ["int", "long", "double", "const MString&", "unsigned"]


def code_unit(rng, nClass):
    """One frame class with one to three methods, each holding a small block."""
    name = "%s%d" % (rng.choice(NAMES), nClass)
    parts = [
        "// %s %s of the %s %s.\n" % (rng.choice(WORDS), rng.choice(WORDS), rng.choice(WORDS),
                                      rng.choice(WORDS)),
        "frame %s {\npublic:\n" % name,
    ]
    nMethods = rng.randint(1, 3)
    for nMethod in range(nMethods):
        args = [(rng.choice(TYPES), "%s%d" % (rng.choice(WORDS), n)) for n in range(3)]
        parts.append("    void render%d(%s) {\n" % (nMethod, ", ".join("%s %s" % a for a in args)))
        if rng.random() < 0.5:
            parts.append("        if (%s < %d) {\n            return;\n        }\n"
                         % (args[0][1], rng.randint(0, 999)))
        parts.append("        BEGIN_FRAME_TEXT()\n")
        for _ in range(rng.randint(2, 3)):
            words = " ".join(rng.choice(WORDS) for _ in range(rng.randint(2, 6)))
            expr = rng.choice(args)[1]
            if rng.random() < 0.3:
                expr = "%s + %d" % (expr, rng.randint(1, 99))
            parts.append("<p>%s: <!%s!></p>\n" % (words, expr))
        parts.append("        END_FRAME_TEXT()\n    }\n")
    parts.append("};\n\n")
    return "".join(parts), nMethods


def write_code_workload(folder, size, rng):
    pieces = []
    total = 0
    blocks = frames = 0
    while True:
        text, nBlocks = code_unit(rng, frames)
        if total + len(text) > size:
            break
        pieces.append(text)
        total += len(text)
        blocks += nBlocks
        frames += 1
    pieces.append(filler(size - total))
    with open(os.path.join(folder, "in.txt"), "w", newline="") as f:
        f.write("".join(pieces))
    return {"blocks": blocks, "frames": frames}


def filler(nBytes):
    """Comment lines of exactly nBytes bytes."""
    lines = []
    while nBytes > 0:
        width = min(nBytes, 80)
        lines.append(("//" + "-" * (width - 3))[:width - 1] + "\n" if width >= 2 else "\n")
        nBytes -= width
    return "".join(lines)


# No "{" follows a blank-preceded "frame" before a "(" does: every line that holds "{"
# holds a "(" before it, and no line holds "frame" between a "(" and a "{". So none of
# these occurrences may become a declaration.
NOISE_CODE = [
    "    frame x (a, b);\n",
    "    int myframe = frame_count(n) + reframed(m);\n",
    "    // the frame rate drops when (n) grows\n",
    "\tframe y; // a tab is no blank\n",
    "    frame\n    (z);\n",
    "frame(x) + frame (y);\n",
    "    frame Report : public Base (int n);\n",
    "    frameless = xframe - frames[i] + frame_(k);\n",
    "    if (a < b && !c) return a <= b ? !a : b << 1;\n",
    "    void f(int nFrame) {\n        g(!frame, frame < 0);\n    }\n",
    "    x = a <!b; y = !<c; z = < !d;  // <! outside a block is only text\n",
    "    <!-- frame -->\n",
    "    frame\n",
    "    bool bFrame = !(frame<limit) != !!frame;\n",
]
# Inside a block: "<" and "!" everywhere, but never "<!" (an expression) or "<#" (a file).
NOISE_BLOCK = [
    "a < b ! c <= d != e\n",
    "<< !! >> !> #> <> >< !<\n",
    "frame x ( and myframe and frame {\n",
    "< ! > < !>\n",
    "x<y!z <\n",
    "!frame! <frame> < frame >\n",
    "if (!a && b < c) { frame(d); }\n",
    "<<< !!! >>> <= >= != ==\n",
]


def write_noise_workload(folder, size, rng):
    pieces = []
    total = 0
    blocks = 0
    while True:
        parts = [rng.choice(NOISE_CODE) for _ in range(rng.randint(4, 12))]
        parts.append("    BEGIN_FRAME_TEXT()\n")
        lines = [rng.choice(NOISE_BLOCK) for _ in range(rng.randint(3, 10))]
        if rng.random() < 0.5:
            lines.insert(rng.randrange(len(lines) + 1), "value <!nValue!> !< <\n")
        parts.extend(lines)
        parts.append("    END_FRAME_TEXT()\n")
        text = "".join(parts)
        if total + len(text) > size:
            break
        pieces.append(text)
        total += len(text)
        blocks += 1
    pieces.append(filler(size - total))
    with open(os.path.join(folder, "in.txt"), "w", newline="") as f:
        f.write("".join(pieces))
    return {"blocks": blocks, "frames": 0}


# ---------------------------------------------------------------------------
# Running


# Peak memory is read from the child's rusage, but a child inherits the high-water mark of
# the process it was forked from: exec records the old address space's peak. This script has
# held whole workloads, so a small fresh interpreter forks the measured program instead, and
# times it too, so that its own start-up is not counted.
SPAWNER = r"""
import os, sys, time
start = time.perf_counter()
pid = os.fork()
if pid == 0:
    try:
        os.execv(sys.argv[2], sys.argv[2:])
    finally:
        os._exit(127)
_, status, usage = os.wait4(pid, 0)
elapsed = time.perf_counter() - start
with open(sys.argv[1], "w") as f:
    f.write("%r %d %d %r" % (elapsed, usage.ru_maxrss * 1024, os.waitstatus_to_exitcode(status),
                             usage.ru_utime + usage.ru_stime))
"""


def run_timed(argv, cwd, stdout=subprocess.DEVNULL):
    """Wall time, peak resident bytes, exit status, standard error and CPU time of one child."""
    fd, report = tempfile.mkstemp(prefix="rusage-", dir=cwd)
    os.close(fd)
    try:
        result = subprocess.run([sys.executable, "-S", "-c", SPAWNER, report] + argv, cwd=cwd,
                                stdin=subprocess.DEVNULL, stdout=stdout, stderr=subprocess.PIPE)
        with open(report) as f:
            fields = f.read().split()
    finally:
        os.remove(report)
    if result.returncode != 0 or len(fields) != 4:
        raise HarnessError("could not run %s: %s"
                           % (" ".join(argv), result.stderr.decode(errors="replace")))
    return float(fields[0]), int(fields[1]), int(fields[2]), result.stderr, float(fields[3])


def best_of(runs, argv, cwd, before=None, stdout_path=None):
    """The best wall time, the largest peak memory and the CPU time of the best run."""
    best = None
    peak = 0
    for _ in range(runs):
        if before:
            before()
        out = open(stdout_path, "wb") if stdout_path else subprocess.DEVNULL
        try:
            elapsed, rss, code, stderr, cpu = run_timed(argv, cwd, out)
        finally:
            if stdout_path:
                out.close()
        if code != 0:
            raise HarnessError("%s exited with %d in %s: %s"
                               % (" ".join(argv), code, cwd, stderr.decode(errors="replace")))
        if best is None or elapsed < best[0]:
            best = (elapsed, cpu)
        peak = max(peak, rss)
    return best[0], peak, best[1]


def remover(path):
    def remove():
        if os.path.exists(path):
            os.remove(path)
    return remove


def check_output(path, expected, option):
    with open(path, "rb") as f:
        data = f.read()
    calls = data.count(b"setFrameText(")
    replacement = b" extends MVantor " if option == "-j" else b" : public MVantor "
    frames = data.count(replacement)
    if calls != expected["blocks"] or frames != expected["frames"]:
        raise HarnessError("%s: %d blocks and %d frame declarations translated, %d and %d expected"
                           % (path, calls, frames, expected["blocks"], expected["frames"]))


def build_tool():
    configure = ["cmake", "-S", REPO, "-B", BUILD_DIR, "-DCMAKE_BUILD_TYPE=Release",
                 "-DBUILD_TESTING=OFF"]
    build = ["cmake", "--build", BUILD_DIR, "--target", "xvantor", "-j2"]
    for argv in (configure, build):
        result = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        if result.returncode != 0:
            # The first error is what matters, and a compiler's notes can run long.
            lines = result.stdout.decode(errors="replace").splitlines()
            errors = [n for n, line in enumerate(lines) if "error" in line]
            start = errors[0] if errors else max(0, len(lines) - 40)
            print("\n".join(lines[start:start + 40]))
            raise HarnessError("build failed: " + " ".join(argv))
    return os.path.join(BUILD_DIR, "driver", "xvantor")


# ---------------------------------------------------------------------------
# Report


def mib(n):
    return n / MIB


def verdict(ok):
    return "PASS" if ok else "FAIL"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=3, help="runs per measurement (best counts)")
    parser.add_argument("--scale", type=float, default=1.0,
                        help="multiply every workload size (for a quick trial; targets assume 1)")
    parser.add_argument("--tool", help="an xvantor binary to use instead of building one")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    args = parser.parse_args()

    tool = os.path.abspath(args.tool) if args.tool else build_tool()
    if not os.access(tool, os.X_OK):
        raise HarnessError("no executable tool at " + tool)
    xxd = shutil.which("xxd")
    cp = shutil.which("cp")
    if xxd is None or cp is None:
        raise HarnessError("xxd and cp are needed beside the tool (Debian: apt-get install xxd)")

    os.makedirs(os.path.join(BUILD_DIR, "tmp"), exist_ok=True)
    root = tempfile.mkdtemp(prefix="run-", dir=os.path.join(BUILD_DIR, "tmp"))
    try:
        return measure(args, tool, xxd, cp, root)
    finally:
        if args.keep:
            print("kept " + root)
        else:
            shutil.rmtree(root, ignore_errors=True)


WORKLOADS = [
    # key, title, generator, full size, options
    ("1", "binary file embedded", write_binary_workload, 64 * MIB, ["-c", "-j"]),
    ("2", "code, small blocks", write_code_workload, 64 * MIB, ["-c"]),
    ("3", "frame and <! near misses", write_noise_workload, 16 * MIB, ["-c"]),
]
EXTENSIONS = {"-c": "out.cpp", "-j": "out.java", "-#": "out.cs"}
LANGUAGES = {"-c": "C++", "-j": "Java", "-#": "C#"}


def measure(args, tool, xxd, cp, root):
    runs = max(1, args.runs)
    print("xvantor benchmark: %s" % tool)
    print("seed %d, best of %d runs, scale %g, %s, %d cores, temp %s"
          % (SEED, runs, args.scale, platform.platform(), os.cpu_count(), root))
    load_before = os.getloadavg()[0]
    print("load average %.2f at the start" % load_before)
    print()

    rows = []
    xxd_time = None
    for key, title, generate, full_size, options in WORKLOADS:
        size = max(1024, int(full_size * args.scale))
        folders = {}
        for part, part_size in (("full", size), ("eighth", size // 8)):
            folder = os.path.join(root, "w%s-%s" % (key, part))
            os.makedirs(folder)
            started = time.perf_counter()
            expected = generate(folder, part_size, random.Random(SEED))
            folders[part] = (folder, expected)
            print("workload %s (%s): %s input generated in %.1f s"
                  % (key, part, "%.1f MiB" % mib(part_size), time.perf_counter() - started))
        for option in options:
            out_name = EXTENSIONS[option]
            times = {}
            for part in ("full", "eighth"):
                folder, expected = folders[part]
                out_path = os.path.join(folder, out_name)
                # A fresh output each time: an existing one is replaced by rename, which
                # costs a little more than a new file.
                times[part], peak, cpu = best_of(runs, [tool, option, "in.txt", out_name],
                                                 folder, before=remover(out_path))
                check_output(out_path, expected, option)
                if part == "full":
                    full_peak = peak
                    full_cpu = cpu
                    out_size = os.path.getsize(out_path)
                    in_size = sum(os.path.getsize(os.path.join(folder, name))
                                  for name in ("in.txt", "big.bin")
                                  if os.path.exists(os.path.join(folder, name)))
                    copy_path = os.path.join(folder, "copy.out")
                    copy_time, _, _ = best_of(runs, [cp, "--reflink=never", out_name, "copy.out"],
                                           folder, before=remover(copy_path))
                    os.remove(copy_path)
                os.remove(out_path)
            rows.append({
                "key": key, "title": title, "language": LANGUAGES[option], "in": in_size,
                "out": out_size, "time": times["full"], "eighth": times["eighth"],
                "peak": full_peak, "copy": copy_time, "cpu": full_cpu,
            })
        if key == "1":
            folder = folders["full"][0]
            xxd_out = os.path.join(folder, "xxd.out")
            xxd_time, _, _ = best_of(runs, [xxd, "-i", "big.bin"], folder, stdout_path=xxd_out)
            xxd_size = os.path.getsize(xxd_out)
            os.remove(xxd_out)
        if not args.keep:
            for folder, _ in folders.values():
                shutil.rmtree(folder)
        print()

    load_after = os.getloadavg()[0]
    status = report(rows, xxd_time, xxd_size)
    # Our own runs load one core; more than that means other programs shared the
    # machine, and every time above may be theirs as much as ours.
    if max(load_before, load_after) > 1.5:
        print("warning: load average %.2f / %.2f at start / end: other programs were running,"
              " so wall times are unreliable; the cpu column is steadier"
              % (load_before, load_after))
    return status


def report(rows, xxd_time, xxd_size):
    header = ("%-2s %-26s %-4s %7s %8s %7s %6s %7s %8s %8s %9s %6s %6s %7s %6s"
              % ("#", "workload", "lang", "in MiB", "out MiB", "time s", "cpu s", "in MB/s",
                 "out MB/s", "peak MiB", "limit MiB", "cp s", "x cp", "1/8 s", "scale"))
    print(header)
    print("-" * len(header))
    for row in rows:
        row["limit"] = MEMORY_FACTOR * row["out"] + MEMORY_SLACK
        row["scale"] = row["time"] / row["eighth"]
        row["x_copy"] = row["time"] / row["copy"]
        print("%-2s %-26s %-4s %7.1f %8.1f %7.3f %6.2f %7.1f %8.1f %8.1f %9.1f %6.3f %6.2f %7.3f %6.2f"
              % (row["key"], row["title"], row["language"], mib(row["in"]), mib(row["out"]),
                 row["time"], row["cpu"], row["in"] / 1e6 / row["time"],
                 row["out"] / 1e6 / row["time"], mib(row["peak"]), mib(row["limit"]), row["copy"],
                 row["x_copy"], row["eighth"], row["scale"]))
    print("%-2s %-26s %-4s %7.1f %8.1f %7.3f %6s %7.1f %8.1f"
          % ("", "xxd -i of workload 1's file", "", mib(rows[0]["in"]), mib(xxd_size), xxd_time,
             "", rows[0]["in"] / 1e6 / xxd_time, xxd_size / 1e6 / xxd_time))
    print("(MB = 10^6 bytes; time = best wall time; cpu = user + system time of that run;")
    print(" peak = maximum resident set; limit = %g x output + 32 MiB; cp s = plain copy of a"
          % MEMORY_FACTOR)
    print(" file as large as the output; scale = time / time at 1/8 size)")
    print()

    checks = []
    for row in rows:
        name = "workload %s %s" % (row["key"], row["language"])
        if row["key"] == "1":
            speedup = xxd_time / row["time"]
            checks.append((speedup >= XXD_FACTOR, "%s: %.2fx faster than xxd -i (target >= %gx)"
                           % (name, speedup, XXD_FACTOR)))
            checks.append((row["x_copy"] <= COPY_FACTOR,
                           "%s: %.2fx the plain copy (target <= %gx)"
                           % (name, row["x_copy"], COPY_FACTOR)))
        checks.append((row["scale"] <= SCALE_BOUND, "%s: scaling ratio %.2f (target <= %.1f)"
                       % (name, row["scale"], SCALE_BOUND)))
        checks.append((row["peak"] <= row["limit"], "%s: peak %.1f MiB (target <= %.1f MiB)"
                       % (name, mib(row["peak"]), mib(row["limit"]))))
    for ok, text in checks:
        print("%s  %s" % (verdict(ok), text))
    failed = sum(1 for ok, _ in checks if not ok)
    print()
    print("%d passed, %d failed" % (len(checks) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except HarnessError as error:
        print("error: %s" % error)
        sys.exit(2)
