#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Stops xvantor with a signal in the middle of a run and checks what it leaves.

Usage: run_interrupted.py <xvantor-binary>

The input embeds a named pipe that nobody writes, so the run waits inside its first pass
with the new output file already open beside the old one. Each signal that ends a run from
a terminal or a service manager is sent there, with and without an existing output: the
tool must die of that signal, leave an existing output byte for byte as it was, and leave
no other file behind but the support files, which are written before the translation. Prints one line per case and "N passed, N failed" at the end.
"""

import os
import signal
import subprocess
import sys
import tempfile
import time

OLD_OUTPUT = b"old output \x00\xff\r\n"
# Written whole before the translation starts, as on every run.
SUPPORT_FILES = {"mstring.h", "mvantor.h"}
INPUT = b"int a;\nBEGIN_FRAME_TEXT()\n<#pipe#>\nEND_FRAME_TEXT()\n"


def run_case(tool, signum, existing):
    with tempfile.TemporaryDirectory(prefix="xv-interrupt-") as folder:
        with open(os.path.join(folder, "in.cpp"), "wb") as f:
            f.write(INPUT)
        os.mkfifo(os.path.join(folder, "pipe"))
        if existing:
            with open(os.path.join(folder, "out.cpp"), "wb") as f:
                f.write(OLD_OUTPUT)
        before = set(os.listdir(folder)) | SUPPORT_FILES
        process = subprocess.Popen([tool, "-c", "in.cpp", "out.cpp"], cwd=folder,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        try:
            deadline = time.monotonic() + 20
            while not (set(os.listdir(folder)) - before):
                if process.poll() is not None or time.monotonic() > deadline:
                    return "the run never opened its new output file"
                time.sleep(0.01)
            process.send_signal(signum)
            process.wait(timeout=20)
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()
        problems = []
        if process.returncode != -signum:
            problems.append("exit status %d, not death by the signal" % process.returncode)
        left = sorted(set(os.listdir(folder)) - before)
        if left:
            problems.append("left behind: %s" % ", ".join(left))
        if existing:
            with open(os.path.join(folder, "out.cpp"), "rb") as f:
                if f.read() != OLD_OUTPUT:
                    problems.append("the existing output changed")
        stderr = process.stderr.read()
        if stderr:
            problems.append("standard error: %r" % stderr)
        return "; ".join(problems)


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    tool = os.path.abspath(sys.argv[1])
    passed = failed = 0
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP, signal.SIGQUIT):
        for existing in (False, True):
            name = "%s, %s" % (signal.Signals(signum).name,
                               "existing output" if existing else "no output yet")
            problem = run_case(tool, signum, existing)
            print("%s  %s%s" % ("PASS" if not problem else "FAIL", name,
                                ": " + problem if problem else ""))
            if problem:
                failed += 1
            else:
                passed += 1
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
