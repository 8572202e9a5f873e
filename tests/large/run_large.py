#!/usr/bin/env python3
"""Translates, compiles and runs blocks too large for the plain call form.

Usage: run_large.py <xvantor> <gxx|clangxx|javac|mcs> [--file-bytes N] [--pieces N] [--keep]

Two blocks in one frame class: one embeds a binary file of N bytes (NUL, CR LF and every
byte value) between two bits of text, the other holds N expression pieces. The program
exports each block's text to a file; both must equal what the blocks spell, byte for byte.
Prints the tool, compile and run time and the compiler's peak memory. Exits 0 on success,
1 on a failure, 77 when the compiler or runtime is missing.
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


def sources(language, pieces):
    values = piece_values(pieces)
    expressions = ";".join("<!%d!>" % v for v in values)
    if language == "cpp":
        return "big.cpp", (
            "#include <cstdio>\n\n"
            "frame Big {\npublic:\n"
            "    void embed() {\n        BEGIN_FRAME_TEXT()\n[<#big.bin#>]\n        END_FRAME_TEXT();\n    }\n"
            "    void pieces() {\n        BEGIN_FRAME_TEXT()\n" + expressions + "\n        END_FRAME_TEXT();\n    }\n"
            "};\n\n"
            "int main() {\n    Big big;\n    big.embed();\n    big.exportToFile(\"embed.out\");\n"
            "    big.pieces();\n    big.exportToFile(\"pieces.out\");\n    return 0;\n}\n")
    if language == "java":
        return "Main.java", (
            "public class Main {\n"
            "    public static void main(String[] args) {\n        Big big = new Big();\n"
            "        big.embed();\n        big.exportToFile(\"embed.out\");\n"
            "        big.pieces();\n        big.exportToFile(\"pieces.out\");\n    }\n}\n\n"
            "frame Big {\n"
            "    void embed() {\n        BEGIN_FRAME_TEXT()\n[<#big.bin#>]\n        END_FRAME_TEXT();\n    }\n"
            "    void pieces() {\n        BEGIN_FRAME_TEXT()\n" + expressions + "\n        END_FRAME_TEXT();\n    }\n"
            "}\n")
    return "Main.cs", (
        "public class Program {\n"
        "    public static void Main() {\n        Big big = new Big();\n"
        "        big.embed();\n        big.exportToFile(\"embed.out\");\n"
        "        big.pieces();\n        big.exportToFile(\"pieces.out\");\n    }\n}\n\n"
        "frame Big {\n"
        "    public void embed() {\n        BEGIN_FRAME_TEXT()\n[<#big.bin#>]\n        END_FRAME_TEXT();\n    }\n"
        "    public void pieces() {\n        BEGIN_FRAME_TEXT()\n" + expressions + "\n        END_FRAME_TEXT();\n    }\n"
        "}\n")


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
    parser.add_argument("--keep", action="store_true")
    options = parser.parse_args()

    language = harness.COMPILERS[options.compiler][0]
    missing = harness.missing_programs(options.compiler)
    if not os.path.exists("/usr/bin/time") or missing:
        print("skipped: %s or /usr/bin/time missing" % " ".join(missing))
        return harness.SKIPPED

    work = tempfile.mkdtemp(prefix="xvantor-large-")
    try:
        content = binary_bytes(options.file_bytes)
        with open(os.path.join(work, "big.bin"), "wb") as file:
            file.write(content)
        name, text = sources(language, options.pieces)
        with open(os.path.join(work, name), "w") as file:
            file.write(text)
        os.mkdir(os.path.join(work, "gen"))

        seconds, peak, done = timed(harness.tool_command(os.path.abspath(options.xvantor),
                                                         [name, "gen/" + name]), work)
        if done.returncode != 0:
            print("tool failed:\n" + done.stdout.decode(errors="replace"))
            return 1
        print("tool     %7.2f s %8d KiB" % (seconds, peak))

        gen = os.path.join(work, "gen")
        # C++ includes its support headers; Java and C# compile theirs beside the source.
        support = [] if language == "cpp" else harness.SUPPORT_FILES[language]
        output = {"cpp": "prog", "java": "classes", "cs": "prog.exe"}[language]
        command = harness.compile_command(options.compiler, [name] + support,
                                          os.path.join(work, output))
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

        expected = {
            "embed.out": b"[" + content + b"]",
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
        print("output   both blocks byte for byte")
        return 0
    finally:
        if options.keep:
            print("kept " + work)
        else:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
