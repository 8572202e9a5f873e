#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Builds an example that drives xvantor from another build system, and checks that the
dependency files the tool writes make that build system translate exactly when needed.

Usage: run_build_example.py <xvantor-binary> <example-dir> [--keep]

The example folder holds a Makefile (GNU Make) or a meson.build (Meson with Ninja), one
frame source that embeds greeting.txt, and expected.txt, what the program prints. The tool
is found on the PATH, as the example's README tells users.

Stages, each reported by name when it fails, all in a copy of the example folder:
  build    the example is built
  run      the program prints expected.txt
  no-op    with nothing changed, the build system finds nothing to do (`make -q` succeeds;
           `ninja -n` says "no work to do")
  rebuild  greeting.txt, listed nowhere in the build files, gets another text; the build
           runs again and the program prints the new text; then there is nothing to do again

Exit status: 0 on success, 1 when a stage fails, 2 on usage, 77 when a tool that the example
needs is missing (CTest reports a skip).
"""

import argparse
import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import harness  # noqa: E402

EMBEDDED_NAME = "greeting.txt"
EXPECTED_NAME = "expected.txt"
CHANGED_GREETING = b"A changed greeting.\n"

# By the file that marks the build system: the tools it needs, the commands that set up
# and build it, the program, and the command that must find nothing to do (with the text
# it must print for that, if any).
KINDS = {
    "Makefile": {
        "tools": ["make", "c++"],
        "setup": [],
        "build": ["make"],
        "program": "page",
        "idle": (["make", "-q"], None),
    },
    "meson.build": {
        "tools": ["meson", "ninja", "c++"],
        "setup": ["meson", "setup", "build"],
        "build": ["ninja", "-C", "build"],
        "program": "build/page",
        "idle": (["ninja", "-C", "build", "-n"], b"no work to do"),
    },
}


StageFailed = harness.StageFailed
run = harness.run_stage


def check_idle(stage, kind, work, env):
    command, must_print = kind["idle"]
    printed = run(stage, command, work, env)
    if must_print is not None and must_print not in printed:
        raise StageFailed(stage, "%s plans work:\n%s" % (
            " ".join(command), printed.decode("utf-8", "replace")))


def check_program(stage, kind, work, env, expected):
    printed = run(stage, [os.path.join(work, kind["program"])], work, env)
    if printed != expected:
        raise StageFailed(stage, "the program printed\n%r\ninstead of\n%r" % (printed, expected))


def test(kind, work, env):
    if kind["setup"]:
        run("build", kind["setup"], work, env)
    run("build", kind["build"], work, env)
    with open(os.path.join(work, EXPECTED_NAME), "rb") as file:
        expected = file.read()
    check_program("run", kind, work, env, expected)
    check_idle("no-op", kind, work, env)

    embedded = os.path.join(work, EMBEDDED_NAME)
    with open(embedded, "rb") as file:
        old_greeting = file.read()
    before = os.stat(embedded).st_mtime_ns
    with open(embedded, "wb") as file:
        file.write(CHANGED_GREETING)
    # Coarse file-system clocks could leave the change no newer than the generated file.
    while os.stat(embedded).st_mtime_ns <= before:
        time.sleep(0.1)
        os.utime(embedded)
    run("rebuild", kind["build"], work, env)
    check_program("rebuild", kind, work, env, expected.replace(old_greeting, CHANGED_GREETING))
    check_idle("rebuild", kind, work, env)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("tool")
    parser.add_argument("example")
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()

    markers = [name for name in KINDS if os.path.isfile(os.path.join(args.example, name))]
    if len(markers) != 1:
        print("BROKEN: %s holds no single one of %s" % (args.example, ", ".join(KINDS)))
        return 2
    kind = KINDS[markers[0]]
    missing = [tool for tool in kind["tools"] if shutil.which(tool) is None]
    if missing:
        print("skipped: %s not installed" % ", ".join(missing))
        return harness.SKIPPED
    env = dict(os.environ)
    env["PATH"] = os.path.dirname(os.path.abspath(args.tool)) + os.pathsep + env["PATH"]

    work = tempfile.mkdtemp(prefix="xvantor-build-example-")
    try:
        shutil.copytree(args.example, work, dirs_exist_ok=True)
        test(kind, work, env)
    except StageFailed as failure:
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
