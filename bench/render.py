#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Times generated C++, Java and C# frame code against the same text built by hand.

Usage: python3 bench/render.py [--tool PATH] [--rows N] [--runs N] [--cxx COMPILER]

Translates bench/frame_render.xcpp with xvantor (without --tool it builds a Release xvantor in
build-bench/ first, as run.py does), compiles the result with the support headers the tool
wrote beside it (-O2 -std=c++17), and runs it: a frame with four values and about 110 bytes of
text is rendered N times (default one million) and appended to one result, and so is the same
text built by hand with std::string + and std::to_string. When Debian's libfmt-dev is
installed, fmt::format_to is timed as well. Prints the best time of each way and the ratio
generated / hand-written; at or below 1.00 the generated code is as fast as the hand-written.

Then the same row with the same values in Java (bench/frame_render.xjava, javac and java) and
in C# (bench/frame_render.xcs, mcs -optimize+ and mono): each way stores each row in an
object field, and the best processor time of the runs counts. Java renders ten times the
rows, since it is that much faster. A language whose compiler is
missing is skipped. Every language runs a second time with the block's header set to
FLAG_ESCAPE="html", so that each value is escaped for its place in the row's HTML; the
values need no escape, so the texts stay equal. The last lines are the ratios, the ratios
of the escaped render to the unescaped one, and the same over the hand-written code of each
run, which cancels a change of the machine's load between the two.
This is no test: CTest never runs it.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

import run

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = "frame_render.xcpp"
OUTPUT = "gen/frame_render.cpp"
FMT_HEADER = "/usr/include/fmt/format.h"
RATIO = re.compile(rb"ratio generated / hand-written ([0-9.]+)")
GENERATED = re.compile(rb"generated \S+ +([0-9.]+) s")
HAND = re.compile(rb"hand-written \S+ +([0-9.]+) s")
ESCAPED_HEADER = 'BEGIN_FRAME_TEXT(FLAG_ESCAPE="html")'

# Each managed language: its source, the generated file, the build and the run, in the
# folder of the generated file, and how many times --rows it renders. Java renders a million
# rows in about 0.1 s, too close to the 10 ms steps of the process's processor time.
MANAGED = [
    ("Java", "frame_render.xjava", "java/Main.java",
     ["javac", "-d", "classes", "Main.java", "MString.java", "MVantor.java"],
     ["java", "-cp", "classes", "Main"], 10),
    ("C#", "frame_render.xcs", "cs/Main.cs",
     ["mcs", "-optimize+", "-out:render.exe", "Main.cs", "MString.cs", "MVantor.cs"],
     ["mono", "render.exe"], 1),
]


def escaped_copy(work, source):
    """The source beside a copy of it whose block escapes its values."""
    with open(os.path.join(HERE, source), encoding="utf-8") as f:
        text = f.read().replace("BEGIN_FRAME_TEXT()", ESCAPED_HEADER)
    with open(os.path.join(work, source), "w", encoding="utf-8") as f:
        f.write(text)


def generated_time(output):
    """The generated code's time, and the hand-written code's time of the same run."""
    found, hand = GENERATED.findall(output), HAND.findall(output)
    return (float(found[-1]), float(hand[-1])) if found and hand else None


def ratio_of(output):
    found = RATIO.findall(output)
    return found[-1].decode() if found else "failed"


def run_managed(tool, work, language, source, output, build, command, factor, rows, runs):
    """Prints the figures of one managed language and returns its ratio as text."""
    if shutil.which(build[0]) is None or shutil.which(command[0]) is None:
        print("%s skipped: %s or %s is not installed" % (language, build[0], command[0]))
        return "skipped", None
    folder = os.path.join(work, os.path.dirname(output))
    os.makedirs(folder)
    if not os.path.exists(os.path.join(work, source)):
        shutil.copy(os.path.join(HERE, source), work)
    option = "-j" if language == "Java" else "-#"
    subprocess.run([tool, option, source, output, "--support-dir", folder], cwd=work, check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(build, cwd=folder, check=True)
    result = subprocess.run(command + [str(rows * factor), str(runs)], cwd=folder,
                            stdout=subprocess.PIPE)
    print("%s: rows %d, best processor time of %d runs" % (language, rows * factor, runs))
    sys.stdout.write(result.stdout.decode())
    if result.returncode != 0:
        return "failed", None
    return ratio_of(result.stdout), generated_time(result.stdout)


def run_all(tool, work, args):
    """The ratio and the generated code's time of each language, in work."""
    os.makedirs(os.path.join(work, "gen"))
    if not os.path.exists(os.path.join(work, SOURCE)):
        shutil.copy(os.path.join(HERE, SOURCE), work)
    subprocess.run([tool, SOURCE, OUTPUT], cwd=work, check=True, stdout=subprocess.DEVNULL)
    command = [args.cxx, "-O2", "-std=c++17", "-o", "render", OUTPUT]
    if os.path.exists(FMT_HEADER):
        command[1:1] = ["-DXV_BENCH_FMT"]
        command.append("-lfmt")
    subprocess.run(command, cwd=work, check=True)
    result = subprocess.run([os.path.join(work, "render"), str(args.rows), str(args.runs)],
                            cwd=work, stdout=subprocess.PIPE)
    sys.stdout.write(result.stdout.decode())
    figures = [("C++", (ratio_of(result.stdout), generated_time(result.stdout))
                if result.returncode == 0 else ("failed", None))]
    for language, source, output, build, command, factor in MANAGED:
        figures.append((language, run_managed(tool, work, language, source, output, build,
                                              command, factor, args.rows, args.runs)))
    return figures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", help="an xvantor binary to use instead of building one")
    parser.add_argument("--rows", type=int, default=1000000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--cxx", default="g++")
    args = parser.parse_args()

    tool = os.path.abspath(args.tool) if args.tool else run.build_tool()
    work = tempfile.mkdtemp(prefix="xv-render-")
    try:
        plain = run_all(tool, os.path.join(work, "plain"), args)
        escaped_work = os.path.join(work, "escaped")
        os.makedirs(escaped_work)
        for source in [SOURCE] + [row[1] for row in MANAGED]:
            escaped_copy(escaped_work, source)
        print("escaped:")
        escaped = run_all(tool, escaped_work, args)
        for language, (ratio, _) in plain:
            print("ratio %-4s generated / hand-written %s" % (language, ratio))
        failed = any(ratio == "failed" for _, (ratio, _) in plain + escaped)
        for (language, (_, plain_times)), (_, (_, escaped_times)) in zip(plain, escaped):
            shown = ("%.2f" % (escaped_times[0] / plain_times[0])) \
                if plain_times and escaped_times else "failed"
            print("ratio %-4s escaped / unescaped %s" % (language, shown))
        # The two runs are minutes apart; on a shared machine the load may change between
        # them, and the hand-written code of each run shows by how much.
        for (language, (_, plain_times)), (_, (_, escaped_times)) in zip(plain, escaped):
            shown = ("%.2f" % (escaped_times[0] / escaped_times[1] * plain_times[1] /
                               plain_times[0])) if plain_times and escaped_times else "failed"
            print("ratio %-4s escaped / unescaped, each against its hand-written %s" %
                  (language, shown))
        return 1 if failed else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
