#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Checks the one-line errors of `--quiet`: where a cause has a place in the input, the line
is INPUT:LINE:COLUMN; elsewhere it begins with "xvantor:".

Usage: run_located_errors.py <binary>

Each located row is run three times, with its lines ended by LF, by CR LF and by a lone CR;
the line and the column (in bytes, from 1) must not change. Every run must fail with
status 1, print nothing on standard output, exactly the expected line on standard error,
and leave no output file.

Exit status: 0 when every row passes, 1 otherwise.
"""

import os
import shutil
import subprocess
import sys
import tempfile

INPUT = "src/page.cpp"
OUTPUT = "out.cpp"
LINE_ENDS = {"LF": b"\n", "CR LF": b"\r\n", "CR": b"\r"}

# (what, lines of the input, line, column, text); the input is translated as C++ without
# support files, so that nothing else lands in the working directory.
LOCATED = [
    ("XF0000 at the begin keyword",
     ["int a;", "int b;", "  BEGIN_FRAME_TEXT()", "no end"],
     3, 3, "XF0000: BEGIN_FRAME_TEXT() without END_FRAME_TEXT()"),
    ("XF0001 at the file opener",
     ["x", "BEGIN_FRAME_TEXT()", "Text: <#missing.txt#>", "END_FRAME_TEXT();"],
     3, 7, 'XF0001: Embedding of file "missing.txt" failed: No such file or directory'),
    ("XF0002 at the expression opener",
     ["BEGIN_FRAME_TEXT()", "ok <!a!>", "Hi <!name", "END_FRAME_TEXT();"],
     3, 4, "XF0002: BEGIN_FLAG without CLOSE_FLAG !>"),
    ("XF0002 at the file opener",
     ["BEGIN_FRAME_TEXT()", "", "  <#name", "END_FRAME_TEXT();"],
     3, 3, "XF0002: BEGIN_FLAG without CLOSE_FLAG #>"),
    ("XF0002 after an expression over two lines",
     ["BEGIN_FRAME_TEXT()", "<!a +", "b!> <!c", "END_FRAME_TEXT();"],
     3, 5, "XF0002: BEGIN_FLAG without CLOSE_FLAG !>"),
    ("XF0002 at a chosen opener in a second block",
     ["BEGIN_FRAME_TEXT()", "A", "END_FRAME_TEXT();",
      "BEGIN_FRAME_TEXT(FLAG_<!=\"[[\" FLAG_!>=\"]]\")", "xx [[y", "END_FRAME_TEXT();"],
     5, 4, "XF0002: BEGIN_FLAG without CLOSE_FLAG ]]"),
    ("XF0003 at the flag keyword",
     ["x", "y", "BEGIN_FRAME_TEXT(FLAG_<!=\"@\" FLAG_<#=\"@\")", "x", "END_FRAME_TEXT();"],
     3, 30, "XF0003: The flags have the same name but different functions@"),
    ("XF0003 on the second line of a header",
     ["BEGIN_FRAME_TEXT(FLAG_<!=\"@\"", "   FLAG_<#=\"@\")", "x", "END_FRAME_TEXT();"],
     2, 4, "XF0003: The flags have the same name but different functions@"),
    ("XF0005 at the begin keyword",
     ["x", "  BEGIN_FRAME_TEXT() END_FRAME_TEXT();"],
     2, 3, "XF0005: BEGIN_FRAME_TEXT() without ) before the block text"),
    ("XF0006 at the end keyword",
     ["int a; BEGIN_FRAME_TEXT() END_FRAME_TEXT();"],
     1, 27, "XF0006: END_FRAME_TEXT() without a line break before it"),
    ("XF0007 at the end keyword",
     ["a", "BEGIN_FRAME_TEXT()", "abc", "  END_FRAME_TEXT"],
     4, 3, "XF0007: END_FRAME_TEXT() without )"),
    ("XF0008 at the end keyword",
     ["int a;", "  END_FRAME_TEXT();", "BEGIN_FRAME_TEXT()", "abc", "END_FRAME_TEXT();"],
     2, 3, "XF0008: END_FRAME_TEXT() before BEGIN_FRAME_TEXT()"),
    ("XF0009 at the flag keyword",
     ["a", "b", "BEGIN_FRAME_TEXT(FLAG_<!)", "abc", "END_FRAME_TEXT();"],
     3, 18, "XF0009: The flag has no quoted value FLAG_<!"),
    ("XF0010 at the flag keyword",
     ["a", "BEGIN_FRAME_TEXT( FLAG_#>=\"\")", "abc", "END_FRAME_TEXT();"],
     2, 19, "XF0010: The flag has an empty value FLAG_#>"),
]

# (what, arguments, files of the working directory, standard error)
UNLOCATED = [
    ("a missing input", ["-cpp", "nosuch.cpp", OUTPUT, "--quiet"], {},
     "xvantor: error: cannot open 'nosuch.cpp': No such file or directory\n"),
    ("an input that is a folder", ["-cpp", "src", OUTPUT, "--quiet"], {"src/a.cpp": b""},
     "xvantor: error: cannot read 'src': Is a directory\n"),
    ("an output folder that does not exist", ["-cpp", "in.cpp", "nodir/out.cpp", "--quiet"],
     {"in.cpp": b"int a;\n"},
     "xvantor: error: cannot create 'nodir/out.cpp': No such file or directory\n"),
    ("the same names", ["in.cpp", "in.cpp", "--quiet"], {"in.cpp": b"int a;\n"},
     "xvantor: error: XF0004: The output file has the same name with the input file\n"),
    ("an output name of no language", ["in.txt", "out.txt", "--quiet"],
     {"in.txt": b"int a;\n"},
     "xvantor: error: Sorry, can not recognize the source language. "
     "Please use the explicit language option!\n"),
    ("--depfile without its value", ["-cpp", "in.cpp", OUTPUT, "--quiet", "--depfile"],
     {"in.cpp": b"int a;\n"}, "xvantor: error: --depfile needs a value\n"),
]


def run(binary, args, files):
    """Runs the tool in a fresh folder holding files; returns (result, files afterwards)."""
    work = tempfile.mkdtemp(prefix="xv_located_")
    try:
        for name, data in files.items():
            path = os.path.join(work, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(data)
        result = subprocess.run([binary] + args, cwd=work, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
        after = sorted(os.path.relpath(os.path.join(folder, name), work)
                       for folder, _, names in os.walk(work) for name in names)
        return result, after
    finally:
        shutil.rmtree(work, ignore_errors=True)


def check(what, result, after, files, stderr):
    problems = []
    if result.returncode != 1:
        problems.append("exit status %d, expected 1" % result.returncode)
    if result.stdout:
        problems.append("stdout is not empty: %r" % result.stdout)
    if result.stderr != stderr.encode():
        problems.append("stderr %r, expected %r" % (result.stderr, stderr.encode()))
    if after != sorted(files):
        problems.append("files afterwards %s, expected %s" % (after, sorted(files)))
    for problem in problems:
        print("%s: FAILED: %s" % (what, problem))
    return not problems


def main(argv):
    if len(argv) != 2:
        print(__doc__)
        return 2
    binary = os.path.abspath(argv[1])
    failed = 0
    for what, lines, line, column, text in LOCATED:
        for end_name, end in LINE_ENDS.items():
            files = {INPUT: end.join(line.encode() for line in lines) + end}
            result, after = run(binary, ["-cpp", INPUT, OUTPUT, "--quiet"], files)
            expected = "%s:%d:%d: error: %s\n" % (INPUT, line, column, text)
            failed += not check("%s (%s)" % (what, end_name), result, after, files, expected)
    for what, args, files, stderr in UNLOCATED:
        result, after = run(binary, args, files)
        failed += not check(what, result, after, files, stderr)
    print("%d of %d rows failed" % (failed, 3 * len(LOCATED) + len(UNLOCATED)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
