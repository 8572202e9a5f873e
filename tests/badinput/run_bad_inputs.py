#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Walks the ways of feeding xvantor bad input that a case folder cannot hold.

Usage: run_bad_inputs.py <xvantor-binary> --version <version>

The end-to-end cases (tests/e2e) hold every bad input that a case folder can express; this
table keeps the rest: file modes, which need a user that they apply to, and names with odd
bytes or a line break, which git or the args file cannot hold. Each row runs the tool twice
in a fresh directory: once with no output file, once with an output file already there. It
must print the banner and then exactly its one message line, exit non-zero, write no
output file and leave an existing one byte for byte as it was; nothing may appear on
standard error.

Permission rows need a user that file modes apply to; as root the tool runs as nobody
through setpriv for them. Prints one line per row and "N passed, N failed" at the end.
"""

import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import harness  # noqa: E402

OLD_OUTPUT = harness.OLD_OUTPUT
NOBODY = 65534


def xf(code, text):
    return b"\nError XF%04d: %s" % (code, text)


# name, files to create ({path: bytes or None for a directory}), arguments, expected line,
# output path checked, whether the row needs an unprivileged user,
# extra setup (a function of the directory).
ROWS = [
    # The command line.
    ("odd bytes in the names", {}, ["-c", os.fsdecode(b"in\x01\x7f\xff.cpp"),
                                    os.fsdecode(b"out\xfe.cpp")],
     b"file not found", os.fsdecode(b"out\xfe.cpp"), False, None),
    ("a newline in the output name", {"in.cpp": b"x"}, ["-c", "in.cpp", "no/such\ndir.cpp"],
     b" C++ source!\ncan not create the file", None, False, None),
    ("a line break in a C# #line name", {"a\nb.cs": b"x"},
     ["-#", "a\nb.cs", "out.cs", "--line-directives"],
     b"the input file name holds a line break, which a #line directive can not spell",
     "out.cs", False, None),
    # The input file.
    ("unreadable input", {"in.cpp": b"int a;\n"}, ["-c", "in.cpp", "out.cpp"],
     b"file not found", "out.cpp", True, lambda d: os.chmod(os.path.join(d, "in.cpp"), 0)),
    # The output file.
    ("output in a read-only directory", {"in.cpp": b"x", "ro": None},
     ["-cpp", "in.cpp", "ro/out.cpp"], b" C++ source!\ncan not create the file", None, True,
     lambda d: os.chmod(os.path.join(d, "ro"), 0o555)),
    ("support files in a read-only directory", {"in.cpp": b"x", "ro": None},
     ["in.cpp", "ro/out.cpp"], b"Recognized:can not create the file", None, True,
     lambda d: os.chmod(os.path.join(d, "ro"), 0o555)),
    # Embedded files.
    ("unreadable embedded file",
     {"in.cpp": b"BEGIN_FRAME_TEXT()\n<#secret#>\nEND_FRAME_TEXT()", "secret": b"s"},
     ["-c", "in.cpp", "out.cpp"],
     b' C++ source!\n' + xf(1, b'Embedding of file "secret" failed'), "out.cpp", True,
     lambda d: os.chmod(os.path.join(d, "secret"), 0)),
]


def build(directory, files):
    for path, content in files.items():
        full = os.path.join(directory, path)
        if content is None:
            os.makedirs(full, exist_ok=True)
        else:
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "wb") as file:
                file.write(content)


def snapshot(directory):
    tree = {}
    for root, folders, files in os.walk(directory):
        for name in folders + files:
            full = os.path.join(root, name)
            relative = os.path.relpath(full, directory)
            if os.path.isdir(full):
                tree[relative] = None
            else:
                with open(full, "rb") as file:
                    tree[relative] = file.read()
    return tree


def run_row(binary, version, row, with_output):
    name, files, arguments, message, output, unprivileged, setup = row
    with harness.work_dir("xvantor-bad-") as directory:
        os.chmod(directory, 0o777)
        build(directory, files)
        if with_output and output is not None and output not in files:
            build(directory, {output: OLD_OUTPUT})
        if unprivileged:
            for root, folders, names in os.walk(directory):
                for entry in folders + names:
                    os.chown(os.path.join(root, entry), NOBODY, NOBODY)
            os.chown(directory, NOBODY, NOBODY)
        if setup:
            setup(directory)
        before = snapshot(directory)
        command = [binary] + [os.fsencode(argument) for argument in arguments]
        if unprivileged and os.geteuid() == 0:
            if shutil.which("setpriv") is None:
                return "skipped (no setpriv)"
            command = ["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY,
                       "--clear-groups"] + command
        completed = subprocess.run(command, cwd=directory, stdin=subprocess.DEVNULL,
                                   capture_output=True, timeout=60)
        after = snapshot(directory)
        problems = []
        if completed.stderr:
            problems.append("standard error: %r" % completed.stderr[:200])
        expected = harness.banner(version) + message + b"\n"
        if completed.stdout != expected:
            problems.append("stdout %r, expected %r" % (completed.stdout, expected))
        if completed.returncode == 0:
            problems.append("exit status 0")
        written = {path for path in after if path not in before}
        # Support files may be written before the run fails; nothing else may appear.
        written -= set(harness.SUPPORT_FILES["cpp"])
        if written:
            problems.append("files appeared: %s" % sorted(written))
        changed = [path for path in before if path in after and before[path] != after[path]]
        if changed:
            problems.append("files changed: %s" % changed)
        return "; ".join(problems)


def main():
    if len(sys.argv) != 4 or sys.argv[2] != "--version":
        print(__doc__)
        return 2
    binary = os.path.abspath(sys.argv[1])
    version = sys.argv[3]
    passed = failed = 0
    for row in ROWS:
        for with_output in (False, True):
            label = "%s%s" % (row[0], " (output present)" if with_output else "")
            problem = run_row(binary, version, row, with_output)
            if problem.startswith("skipped"):
                print("SKIP  %s: %s" % (label, problem))
                continue
            if problem:
                failed += 1
                print("FAIL  %s: %s" % (label, problem))
            else:
                passed += 1
                print("ok    %s" % label)
    return harness.summary(passed, failed)


if __name__ == "__main__":
    sys.exit(main())
