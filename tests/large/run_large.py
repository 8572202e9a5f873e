#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Translates, compiles and runs blocks at and past the limits of the plain call form.

Usage: run_large.py <xvantor> <gxx|clangxx|javac|mcs> [--file-bytes N] [--pieces N]
                    [--boundaries] [--keep]

By default, two blocks in one frame class: one embeds a binary file of N bytes (NUL, CR LF
and every byte value) between two bits of text, the other holds N expression pieces. With
--boundaries, the blocks stand one byte on either side of each limit up to which the
language keeps the plain form. Each block must take the form it is meant to take, and the
program exports each block's text to a file, which must equal what the block spells, byte
for byte. Prints the tool, compile and run time and the compiler's peak memory. Exits 0 on
success, 1 on a failure, 77 when the compiler or runtime is missing.
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import harness  # noqa: E402


def binary_bytes(count):
    rng = random.Random(20261208)
    head = bytes(range(256)) + b"\r\n\0\r\n"
    return (head + rng.randbytes(max(0, count - len(head))))[:count]


def piece_values(count):
    return [(k * 7919) % 100003 - 50000 for k in range(count)]


def sources(language, blocks):
    """The frame source of one class with a method per (name, text) block; the program
    exports each block's text to name.out."""
    exports = "".join("        big.%s();\n        big.exportToFile(\"%s.out\");\n" % (name, name)
                      for name, _ in blocks)
    methods = b"".join(
        ("    %svoid %s() {\n        BEGIN_FRAME_TEXT()\n" % ("public " if language == "cs" else "", name)).encode()
        + text + b"\n        END_FRAME_TEXT();\n    }\n" for name, text in blocks)
    if language == "cpp":
        return "big.cpp", (
            b"#include <cstdio>\n\nframe Big {\npublic:\n" + methods + b"};\n\n"
            b"int main() {\n    Big big;\n" + exports.encode() + b"    return 0;\n}\n")
    if language == "java":
        return "Main.java", (
            b"public class Main {\n    public static void main(String[] args) {\n"
            b"        Big big = new Big();\n" + exports.encode() + b"    }\n}\n\n"
            b"frame Big {\n" + methods + b"}\n")
    return "Main.cs", (
        b"public class Program {\n    public static void Main() {\n"
        b"        Big big = new Big();\n" + exports.encode() + b"    }\n}\n\n"
        b"frame Big {\n" + methods + b"}\n")


def boundary_blocks(language):
    """Blocks one byte on either side of the limits up to which the language keeps the
    plain form: (name, text, plain?), and the files they embed."""
    a = lambda count: b"a" * count
    files = {"f30000.bin": b"f" * 30000, "f65535.bin": b"e" * 65535, "f65536.bin": b"e" * 65536}
    calls = b"<!7!>" * 150
    if language == "cpp":
        blocks = [("literal_at", a(65535) + b"<!7!>" + a(65535), True),
                  ("literal_past", a(65536), False),
                  ("file_at", b"<#f65535.bin#>", True),
                  ("file_past", b"<#f65536.bin#>", False)]
    elif language == "java":
        blocks = [("constant_at", a(65534), True),
                  ("constant_past", a(65535), False),
                  ("encoded_at", b"\0" * 32767 + b"a", True),
                  ("encoded_past", b"\0" * 32767 + b"\x80", False),
                  ("recipe_at", b"<!7!>" + a(65534), True),
                  ("recipe_past", b"<!7!>" + a(65535), False),
                  ("file_folds_at", a(20000) + b"<#f30000.bin#>" + a(15534) + b"<!7!>", True),
                  ("file_folds_past", a(20000) + b"<#f30000.bin#>" + a(15535) + b"<!7!>", False),
                  ("tagged_at", b"\1" + a(65534) + b"<!7!>" + a(65533), True),
                  ("tagged_past", b"\2" + a(65535) + b"<!7!>", False),
                  ("calls_at", a(65436) + calls + a(65484), True),
                  ("calls_past", a(65436) + calls + a(65485), False)]
    else:
        blocks = [("operands_at", a(63952) + b"<!7!>", True),
                  ("operands_past", a(63953) + b"<!7!>", False)]
    return blocks, files


def expected_text(text, files):
    for name, content in files.items():
        text = text.replace(b"<#" + name.encode() + b"#>", content)
    return text.replace(b"<!7!>", b"7")


def timed(command, cwd):
    """Runs a command; returns (seconds, peak KiB, completed process)."""
    started = time.monotonic()
    completed = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, cwd=cwd,
                               capture_output=True)
    seconds = time.monotonic() - started
    lines = completed.stderr.decode(errors="replace").strip().splitlines()
    peak = int(lines[-1]) if lines and lines[-1].isdigit() else 0
    return seconds, peak, completed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("xvantor")
    parser.add_argument("compiler", choices=sorted(harness.COMPILERS))
    parser.add_argument("--file-bytes", type=int, default=1 << 20)
    parser.add_argument("--pieces", type=int, default=5000)
    parser.add_argument("--boundaries", action="store_true",
                        help="instead, blocks one byte on either side of the plain form's limits")
    parser.add_argument("--keep", action="store_true")
    options = parser.parse_args()

    language = harness.COMPILERS[options.compiler][0]
    missing = harness.missing_programs(options.compiler)
    if not os.path.exists("/usr/bin/time") or missing:
        print("skipped: %s or /usr/bin/time missing" % " ".join(missing))
        return harness.SKIPPED

    work = tempfile.mkdtemp(prefix="xvantor-large-")
    try:
        if options.boundaries:
            cases, files = boundary_blocks(language)
        else:
            # Both blocks are far past every limit of the plain form.
            files = {"big.bin": binary_bytes(options.file_bytes)}
            expressions = ";".join("<!%d!>" % v for v in piece_values(options.pieces)).encode()
            cases = [("embed", b"[<#big.bin#>]", False), ("pieces", expressions, False)]
        for file_name, content in files.items():
            with open(os.path.join(work, file_name), "wb") as file:
                file.write(content)
        name, text = sources(language, [(case[0], case[1]) for case in cases])
        with open(os.path.join(work, name), "wb") as file:
            file.write(text)
        os.mkdir(os.path.join(work, "gen"))

        seconds, peak, done = timed(harness.tool_command(os.path.abspath(options.xvantor),
                                                         [name, "gen/" + name]), work)
        if done.returncode != 0:
            print("tool failed:\n" + done.stdout.decode(errors="replace"))
            return 1
        print("tool     %7.2f s %8d KiB" % (seconds, peak))
        with open(os.path.join(work, "gen", name), "rb") as file:
            calls = file.read().split(b"setFrameText(\n")[1:]
        for (case, _, plain), call in zip(cases, calls):
            # The plain form starts with its first literal, the grouped one with a
            # parenthesis, a lambda or a call.
            if call.startswith((b'"', b"MString(\n")) != plain:
                print("block %s is not in the %s form" % (case, "plain" if plain else "grouped"))
                return 1

        gen = os.path.join(work, "gen")
        # C++ includes its support headers; Java and C# compile theirs beside the source.
        support = [] if language == "cpp" else harness.SUPPORT_FILES[language]
        output = {"cpp": "prog", "java": "classes", "cs": "prog.exe"}[language]
        command = harness.compile_command(options.compiler, [name] + support,
                                          os.path.join(work, output), cwd=gen)
        run = harness.run_command(options.compiler, os.path.join(work, output))
        seconds, peak, done = timed(command, gen)
        if done.returncode != 0:
            print("compile failed:\n" + (done.stdout + done.stderr).decode(errors="replace")[-3000:])
            return 1
        print("compile  %7.2f s %8d KiB  (%s)" % (seconds, peak, options.compiler))
        seconds, peak, done = timed(run, work)
        if done.returncode != 0:
            print("run failed:\n" + (done.stdout + done.stderr).decode(errors="replace")[-3000:])
            return 1
        print("run      %7.2f s %8d KiB" % (seconds, peak))

        if options.boundaries:
            expected = {case + ".out": expected_text(text, files) for case, text, _ in cases}
        else:
            expected = {
                "embed.out": b"[" + files["big.bin"] + b"]",
                "pieces.out": ";".join(str(v) for v in piece_values(options.pieces)).encode(),
            }
        for result, wanted in expected.items():
            with open(os.path.join(work, result), "rb") as file:
                got = file.read()
            if got != wanted:
                offset = next((i for i, (a, b) in enumerate(zip(got, wanted)) if a != b),
                              min(len(got), len(wanted)))
                print("output %s differs at offset %d (%d bytes, expected %d)"
                      % (result, offset, len(got), len(wanted)))
                return 1
        print("output   %d blocks byte for byte, each in its form" % len(expected))
        return 0
    finally:
        if options.keep:
            print("kept " + work)
        else:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
