#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Builds and runs one of the examples the way its README does, and checks what it wrote.

Usage: run_example.py <xvantor-binary> <example-dir> [--keep]

An example folder holds one frame source (report.cpp or another *.cpp, Report.java or
Report.cs: the class with main is named like the file), the files that it embeds, a
README.md, and expected/ with the files that the program must write, byte for byte.

Stages, each reported by name when it fails, all run in a copy of the example folder:
  tool     `xvantor SOURCE gen/SOURCE`: the language is recognised from the output name,
           and the support files land in gen/ beside the output
  compile  C++: g++ -std=c++17 -Wall -Wextra -Werror; Java: javac -Xlint:all -Werror into
           classes/; C#: mcs -warnaserror; only what the tool wrote into gen/ is compiled
  run      the program (java / mono for Java and C#) must exit with status 0
  output   every file of expected/ must have been written with exactly those bytes

Exit status: 0 on success, 1 when a stage fails, 2 on a broken example or usage, 77 when
the compiler or runtime of the example's language is missing (CTest reports a skip).
"""

import argparse
import glob
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import harness  # noqa: E402

GENERATED_DIR = "gen"
EXPECTED_DIR = "expected"


class BrokenExample(Exception):
    pass


def find_source(example):
    sources = [name for name in os.listdir(example)
               if os.path.splitext(name)[1] in harness.LANGUAGE_OF_EXTENSION]
    if len(sources) != 1:
        raise BrokenExample("%s must hold exactly one frame source, not %s" % (example, sources))
    return sources[0]


def compiler_of(source):
    return harness.DEFAULT_COMPILER[harness.LANGUAGE_OF_EXTENSION[os.path.splitext(source)[1]]]


def build_and_run(tool, work, source):
    stem, extension = os.path.splitext(source)
    compiler = compiler_of(source)
    output = {".cpp": stem, ".java": "classes", ".cs": stem + ".exe"}[extension]
    os.mkdir(os.path.join(work, GENERATED_DIR))
    harness.run_stage("tool", harness.tool_command(tool, [source, os.path.join(GENERATED_DIR, source)]), work)
    generated = sorted(glob.glob(os.path.join(GENERATED_DIR, "*" + extension), root_dir=work))
    harness.run_stage("compile", harness.compile_command(compiler, generated, output), work)
    harness.run_stage("run", harness.run_command(compiler, os.path.join(work, output), stem), work)


def compare(example, work):
    expected_root = os.path.join(example, EXPECTED_DIR)
    names = sorted(os.listdir(expected_root)) if os.path.isdir(expected_root) else []
    if not names:
        raise BrokenExample("%s holds no expected file" % expected_root)
    for name in names:
        with open(os.path.join(expected_root, name), "rb") as file:
            expected = file.read()
        path = os.path.join(work, name)
        if not os.path.isfile(path):
            raise harness.StageFailed("output", "the program did not write %s" % name)
        with open(path, "rb") as file:
            actual = file.read()
        if actual != expected:
            raise harness.StageFailed("output", "%s differs:\n--- expected\n%s\n--- actual\n%s" % (
                name, expected.decode("utf-8", "replace"), actual.decode("utf-8", "replace")))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("tool")
    parser.add_argument("example")
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()
    tool = os.path.abspath(args.tool)

    try:
        source = find_source(args.example)
    except BrokenExample as error:
        print("BROKEN: %s" % error)
        return 2
    missing = harness.missing_programs(compiler_of(source))
    if missing:
        print("skipped: %s not installed" % ", ".join(missing))
        return harness.SKIPPED

    work = tempfile.mkdtemp(prefix="xvantor-example-")
    try:
        shutil.copytree(args.example, work, dirs_exist_ok=True,
                        ignore=shutil.ignore_patterns(EXPECTED_DIR))
        build_and_run(tool, work, source)
        compare(args.example, work)
    except BrokenExample as error:
        print("BROKEN: %s" % error)
        return 2
    except harness.StageFailed as failure:
        print("FAILED at stage %s: %s" % (failure.stage, failure))
        return 1
    finally:
        if args.keep:
            print("kept %s" % work)
        else:
            shutil.rmtree(work, ignore_errors=True)
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
