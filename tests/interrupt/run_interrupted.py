#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Stops xvantor with a signal in the middle of a run and checks what it leaves.

Usage: run_interrupted.py <xvantor-binary>

The input embeds a large file, and the run is stopped (SIGSTOP) as soon as it holds its new
output file open, so that the signal finds it inside its passes. Each signal that ends a run from
a terminal or a service manager is sent there, with and without an existing output: the
tool must die of that signal, leave an existing output byte for byte as it was, and leave
no other file behind but the support files, which are written before the translation. Prints one line per case and "N passed, N failed" at the end.
"""

import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import harness  # noqa: E402

OLD_OUTPUT = harness.OLD_OUTPUT
# Written whole before the translation starts, as on every run.
SUPPORT_FILES = set(harness.SUPPORT_FILES["cpp"])
INPUT = b"int a;\nBEGIN_FRAME_TEXT()\n<#big#>\nEND_FRAME_TEXT()\n"
BIG = os.urandom(16 << 20)


def holds_new_file(pid, folder, before):
    """True once the process holds a file of the folder open that was not there before:
    its new output, named or not yet named."""
    fds = "/proc/%d/fd" % pid
    try:
        for fd in os.listdir(fds):
            target = os.readlink(os.path.join(fds, fd))
            if os.path.dirname(target) == folder and os.path.basename(target) not in before:
                return True
    except OSError:
        pass
    return False


def run_case(tool, signum, existing):
    with harness.work_dir("xv-interrupt-") as folder:
        with open(os.path.join(folder, "in.cpp"), "wb") as f:
            f.write(INPUT)
        folder = os.path.realpath(folder)
        with open(os.path.join(folder, "big"), "wb") as f:
            f.write(BIG)
        if existing:
            with open(os.path.join(folder, "out.cpp"), "wb") as f:
                f.write(OLD_OUTPUT)
        before = set(os.listdir(folder)) | SUPPORT_FILES
        process = subprocess.Popen([tool, "-c", "in.cpp", "out.cpp"], cwd=folder,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        try:
            deadline = time.monotonic() + 20
            # The support files are in place before the run opens its output.
            while not (SUPPORT_FILES <= set(os.listdir(folder))
                       and holds_new_file(process.pid, folder, before)):
                if process.poll() is not None or time.monotonic() > deadline:
                    return "the run never opened its new output file"
            process.send_signal(signal.SIGSTOP)
            process.send_signal(signum)
            process.send_signal(signal.SIGCONT)
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
    return harness.summary(passed, failed)


if __name__ == "__main__":
    sys.exit(main())
