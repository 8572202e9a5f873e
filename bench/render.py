#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Times generated C++ frame code against the same text built by hand with std::string.

Usage: python3 bench/render.py [--tool PATH] [--rows N] [--runs N] [--cxx COMPILER]

Translates bench/frame_render.xcpp with xvantor (without --tool it builds a Release xvantor in
build-bench/ first, as run.py does), compiles the result with the support headers the tool
wrote beside it (-O2 -std=c++17), and runs it: a frame with four values and about 110 bytes of
text is rendered N times (default one million) and appended to one result, and so is the same
text built by hand with std::string + and std::to_string. When Debian's libfmt-dev is
installed, fmt::format_to is timed as well. Prints the best time of each way and the ratio
generated / hand-written; at or below 1.00 the generated code is as fast as the hand-written.
This is no test: CTest never runs it.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

import run

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = "frame_render.xcpp"
OUTPUT = "gen/frame_render.cpp"
FMT_HEADER = "/usr/include/fmt/format.h"


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
        shutil.copy(os.path.join(HERE, SOURCE), work)
        os.makedirs(os.path.join(work, "gen"))
        subprocess.run([tool, SOURCE, OUTPUT], cwd=work, check=True,
                       stdout=subprocess.DEVNULL)
        command = [args.cxx, "-O2", "-std=c++17", "-o", "render", OUTPUT]
        if os.path.exists(FMT_HEADER):
            command[1:1] = ["-DXV_BENCH_FMT"]
            command.append("-lfmt")
        subprocess.run(command, cwd=work, check=True)
        result = subprocess.run([os.path.join(work, "render"), str(args.rows), str(args.runs)],
                                cwd=work)
        return result.returncode
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
