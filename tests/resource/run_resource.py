#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Pathological inputs of a few MiB: the tool must finish, and its memory must stay in
proportion to its input and output.

Usage: run_resource.py <xvantor-binary> [--no-memory-bound]

Each case is generated here, translated once, and must exit 0 with a peak resident size of
at most three times the output plus 32 MiB (the time is not judged: see bench/). Prints
the figures of every case and "N passed, N failed". A sanitized build keeps shadow memory
and a quarantine of its own: there, --no-memory-bound checks completion alone.
"""

import os
import resource
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import harness  # noqa: E402

MIB = 1 << 20


def frame_words(size):
    # "frame" after a blank that declares nothing: a "(" comes before every "{".
    unit = b"frame x ( frame\r\nframe(y); myframe z frame "
    return (unit * (size // len(unit) + 1))[:size] + b"\n{\n"


def tiny_pieces(size):
    # One block of thousands of one-byte literals and expressions.
    body = b"<!a!>." * (size // 6)
    return b"BEGIN_FRAME_TEXT()\n" + body + b"\nEND_FRAME_TEXT();\n"


def tiny_blocks(size):
    unit = b"BEGIN_FRAME_TEXT()\nx<!v!>\nEND_FRAME_TEXT();\n"
    return unit * (size // len(unit))


def near_misses(size):
    unit = b"BEGIN_FRAME_TEXT()\n< ! <# #<! !> <!!> <\n!END_FRAME_TEXT() B BEGIN END_FRAME "
    return (unit * (size // len(unit)))


def frame_waiting_for_name(size):
    # The frame pass must wait for the name across megabytes of blanks.
    return b"x frame" + b" " * size + b"Name {\n};\n"


def frame_waiting_for_brace(size):
    # ...and for the brace across megabytes of code that holds neither "{" nor "(".
    unit = b"int a = b + c; // frame x\n"
    return b"x frame Name\n" + unit * (size // len(unit)) + b"{\n};\n"


CASES = [
    ("frame words", frame_words),
    ("frame waiting for its name", frame_waiting_for_name),
    ("frame waiting for its brace", frame_waiting_for_brace),
    ("tiny pieces in one block", tiny_pieces),
    ("tiny blocks", tiny_blocks),
    ("near-miss delimiters", near_misses),
]


def peak_of(command, cwd):
    """Runs the command in a fresh child of a fresh interpreter, whose peak is its own."""
    probe = ("import resource, subprocess, sys\n"
             "done = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL)\n"
             "print(done.returncode, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)\n")
    completed = subprocess.run([sys.executable, "-c", probe] + command, cwd=cwd,
                               capture_output=True, text=True, check=True)
    status, peak_kib = completed.stdout.split()
    return int(status), int(peak_kib) * 1024


def main():
    arguments = [argument for argument in sys.argv[1:] if argument]  # CMake may pass ""
    if len(arguments) not in (1, 2) or arguments[1:] not in ([], ["--no-memory-bound"]):
        print(__doc__)
        return 2
    binary = os.path.abspath(arguments[0])
    bounded = len(arguments) == 1
    passed = failed = 0
    with harness.work_dir("xvantor-resource-") as work:
        for name, make in CASES:
            text = make(4 * MIB)
            with open(os.path.join(work, "in.cpp"), "wb") as file:
                file.write(text)
            status, peak = peak_of([binary, "-cpp", "in.cpp", "out.cpp"], work)
            if "near-miss" in name:
                # Unbalanced on purpose: the run must end with a message, not a crash.
                ok = status == 1
                output = 0
            else:
                ok = status == 0
                output = os.path.getsize(os.path.join(work, "out.cpp"))
            bound = 3 * output + 32 * MIB
            ok = ok and (peak <= bound or not bounded)
            print("%-5s %-26s in %5.1f MiB  out %6.1f MiB  peak %6.1f MiB  bound %6.1f MiB  status %d"
                  % ("ok" if ok else "FAIL", name, len(text) / MIB, output / MIB, peak / MIB,
                     bound / MIB, status))
            passed += ok
            failed += not ok
            for leftover in ("out.cpp",):
                if os.path.exists(os.path.join(work, leftover)):
                    os.remove(os.path.join(work, leftover))
    return harness.summary(passed, failed)


if __name__ == "__main__":
    sys.exit(main())
