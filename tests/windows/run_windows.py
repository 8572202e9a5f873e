#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs the black-box tests against xvantor.exe under wine.

Usage: run_windows.py <xvantor.exe>

Needs WINEPREFIX and XV_WINE (the wine command) in the environment, and MinGW-w64's
compilers on the path. Runs, in this order:
  e2e        every case of tests/e2e through run_e2e.py, with wine-run.sh as the command
             prefix and CR LF console line ends expected, except the POSIX-only cases
             (below); then the Windows-only cases of tests/windows/e2e
  interrupt  Ctrl-C in the middle of a run: the old output stays, the new file goes
  compiled   tests/compiled/cpp_two_units translated by the exe, built by MinGW's g++ and
             run under wine (cpp_report would need a 64-bit long, which Windows lacks)

A case of tests/e2e is POSIX-only, and skipped here, when
  - it has a setup script (a POSIX shell script: permissions, links, devices), or
  - its in/ holds a symbolic link, or
  - an argument or an input file names a device under /dev/, or
  - an argument, or the name of a file or folder in in/ or expected/, holds a character
    that Windows does not take in a name: \\ : * ? " < > | (a backslash separates folders
    there, so the case's expected tree would be another one), or
  - two of its names differ only in the case of letters, which name one file on Windows.
The Windows-only cases cover what those cases cover on POSIX: backslash folders, drive
letters, an output that cannot be replaced, non-ASCII names.

Prints one line per case and "N passed, N failed, N skipped" at the end; exit status 1
when any failed.
"""

import concurrent.futures
import glob
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TESTS = os.path.dirname(HERE)
sys.path.insert(0, TESTS)
import harness  # noqa: E402
WINDOWS_FORBIDDEN = set('\\:*?"<>|')


def posix_only(case_dir):
    """The reason a case of tests/e2e cannot run on Windows, or None."""
    if os.path.exists(os.path.join(case_dir, "setup")):
        return "setup script"
    args = []
    args_path = os.path.join(case_dir, "args")
    if os.path.exists(args_path):
        with open(args_path, "rb") as f:
            args = f.read().decode("utf-8", "replace").split("\n")
    names = list(args)
    in_dir = os.path.join(case_dir, "in")
    for root in (in_dir, os.path.join(case_dir, "expected")):
        for current, dirnames, filenames in os.walk(root):
            for name in dirnames + filenames:
                names.append(name)
                full = os.path.join(current, name)
                if root == in_dir and os.path.islink(full):
                    return "symbolic link"
                if root == in_dir and os.path.isfile(full):
                    with open(full, "rb") as f:
                        if b"/dev/" in f.read():
                            return "POSIX device"
    if any("/dev/" in arg for arg in args):
        return "POSIX device"
    if any(WINDOWS_FORBIDDEN & set(name) for name in names):
        return "name Windows does not take"
    named = {name for name in names if name}
    if len({name.lower() for name in named}) != len(named):
        return "names that differ in case only"
    return None


def run(command, env):
    result = subprocess.run(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT)
    return result.returncode, result.stdout.decode("utf-8", "replace")


def interrupt_case(exe, env, wine):
    """Ctrl-C (wine turns SIGINT into the console event) while the output is written."""
    with tempfile.TemporaryDirectory(prefix="xv-win-interrupt-") as folder:
        # Large enough that the run is still writing when the signal comes.
        with open(os.path.join(folder, "big.bin"), "wb") as f:
            f.write(os.urandom(1 << 20) * 30)
        with open(os.path.join(folder, "in.cpp"), "wb") as f:
            f.write(b"BEGIN_FRAME_TEXT()\n<#big.bin#>\nEND_FRAME_TEXT()\n")
        with open(os.path.join(folder, "out.cpp"), "wb") as f:
            f.write(b"old\r\n")
        before = set(os.listdir(folder)) | set(harness.SUPPORT_FILES["cpp"])
        process = subprocess.Popen([wine, exe, "-c", "in.cpp", "out.cpp"], cwd=folder, env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 60
        while not set(os.listdir(folder)) - before:
            if process.poll() is not None or time.monotonic() > deadline:
                process.kill()
                process.wait()
                return "the run never opened its new output file"
            time.sleep(0.01)
        process.send_signal(2)
        try:
            process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            return "the run did not end"
        problems = []
        left = sorted(set(os.listdir(folder)) - before)
        if left:
            problems.append("left behind: %s" % ", ".join(left))
        with open(os.path.join(folder, "out.cpp"), "rb") as f:
            if f.read() != b"old\r\n":
                problems.append("the existing output changed")
        return "; ".join(problems)


def main(argv):
    if len(argv) != 2 or "WINEPREFIX" not in os.environ or "XV_WINE" not in os.environ:
        print(__doc__)
        return 2
    exe = os.path.abspath(argv[1])
    wine = os.environ["XV_WINE"]
    env = dict(os.environ, XV_WRAP=os.path.join(HERE, "wine-run.sh"), XV_CONSOLE_CRLF="1",
               XV_WINE_PATHS="1", WINEDEBUG="-all", LC_ALL="C.UTF-8")
    counts = {"passed": 0, "failed": 0, "skipped": 0}
    # One wine session for the whole run: a session of its own per case would cost seconds.
    wineserver = os.path.join(os.path.dirname(wine), "wineserver")
    if not os.path.exists(wineserver):
        wineserver = "wineserver"
    subprocess.run([wineserver, "-p"], env=env, check=True)
    # The first program of a session starts wine's services, which keep the standard
    # streams they inherit: they must not hold a case's pipes open.
    subprocess.run([wine, exe], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    try:
        return run_all(exe, env, wine, counts)
    finally:
        subprocess.run([wineserver, "-k"], env=env)


def run_all(exe, env, wine, counts):

    def report(name, problem):
        counts["failed" if problem else "passed"] += 1
        print("%s  %s%s" % ("FAIL" if problem else "PASS", name, "\n" + problem if problem else ""))

    with tempfile.TemporaryDirectory(prefix="xv-win-") as tools:
        holder = os.path.join(tools, "mholdopen.exe")
        subprocess.run(["x86_64-w64-mingw32-gcc-posix", "-O2", "-Wall", "-Wextra", "-Werror",
                        "-static", "-o", holder, os.path.join(HERE, "mholdopen.c")], check=True)
        env["XV_HOLDER"] = holder

        cases = [(os.path.dirname(p), True)
                 for p in sorted(glob.glob(os.path.join(TESTS, "e2e", "*", "expected.stdout")))]
        cases += [(os.path.dirname(p), False)
                  for p in sorted(glob.glob(os.path.join(HERE, "e2e", "*", "expected.stdout")))]
        def run_case(case):
            case_dir, shared = case
            reason = posix_only(case_dir) if shared else None
            if reason:
                return case_dir, reason, 0, ""
            status, output = run([sys.executable, os.path.join(TESTS, "run_e2e.py"), exe,
                                  case_dir, "--version", harness.project_version()], env)
            return case_dir, None, status, output

        # The shared cases run side by side; the Windows-only ones one at a time, since
        # each maps the drive W: to its own folder.
        with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 1) as pool:
            results = list(pool.map(run_case, [c for c in cases if c[1]]))
        results += [run_case(c) for c in cases if not c[1]]
        for case_dir, reason, status, output in results:
            name = os.path.relpath(case_dir, TESTS)
            if reason:
                counts["skipped"] += 1
                print("SKIP  %s (%s)" % (name, reason))
            else:
                report(name, output if status != 0 else "")

        report("interrupt (Ctrl-C)", interrupt_case(exe, env, wine))

        status, output = run([sys.executable, os.path.join(TESTS, "compiled", "run_compiled.py"),
                              exe, os.path.join(TESTS, "compiled", "cpp_two_units"), "--compiler",
                              "mingw"], env)
        report("compiled/cpp_two_units (mingw)", output if status != 0 else "")

    print("%d passed, %d failed, %d skipped" % (counts["passed"], counts["failed"],
                                                 counts["skipped"]))
    return 1 if counts["failed"] else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
