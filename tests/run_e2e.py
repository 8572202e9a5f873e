#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs one end-to-end case of xvantor and compares what it did with the case's goldens.

Usage: run_e2e.py <binary> <case-dir> --version <version> [--keep]

A case folder holds:
  args             the arguments after the program name, one per line (LF); empty for none
  in/              the working directory before the run (absent: empty)
  expected.stdout  the exact bytes of standard output after the banner, which every run
                   but a --quiet, --help or --version one prints first and which is checked
                   here for the given version
  expected.stderr  the exact bytes of standard error (absent: it must stay empty)
  expected.status  the exit status as decimal text (absent: 0)
  expected/        the files that the run writes or changes, as they must be after it, and
                   the folders it makes; every other file and folder of in/ must be left as
                   it was (absent: the run changes nothing but the support files)
  expected.support the paths of the support files that the run writes, one a line (LF),
                   relative to the working directory; each must hold the bytes of its
                   source in the repository, chosen by the name that the path ends with
                   (mstring.h: core/mstring.h, mvantor.h: support/mvantor.h, the others:
                   support/texts/); absent: the run writes none
  line_ends        optional: line ends, among LF, CRLF and CR, separated by blanks; the case
                   runs once with each, every LF of the files of in/ and expected/ turned
                   into it (absent: one run with the files as they are)
  setup            optional POSIX shell script, run with `sh setup` inside the working
                   directory after in/ is copied and before the tool runs; for states that
                   git cannot hold (permissions, symlinks made at run time)

Files named `.keep` only make git keep a folder: they are not copied from in/, and in
in/ or expected/ they stand for "this folder exists". The expectation is in/ with expected/
and the support files laid over it: every folder of the working directory after the run
must be a folder of the expectation and the other way round, and every file must match
byte for byte; symlinks are followed.

In args, expected.stdout, expected.stderr and the files of expected/, the text @CWD@ stands for
the absolute path of the working directory, which differs from run to run.

Standard error must match expected.stderr, and stay empty without it; when XV_WRAP is set
(e.g. "valgrind --error-exitcode=99 --leak-check=full") the wrapper owns standard error
and it is shown on failure only.
XV_EMULATOR (e.g. "qemu-aarch64-static") runs a build for another machine and leaves standard
error to the tool. XV_WRAP is also how a case runs a Windows build under wine; XV_CONSOLE_CRLF=1 then says
that the console is in text mode, so every LF of expected.stdout and expected.stderr is
expected as CR LF, and XV_WINE_PATHS=1 that the tool sees the working directory under the
drive Z:, so @CWD@ stands for Z: and the path.

Exit status: 0 when everything matches, 1 on a mismatch, 2 on a broken case or usage.
"""

import difflib
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

import harness

KEEP_NAME = ".keep"
WORKING_DIRECTORY_MARK = b"@CWD@"
TIMEOUT_SECONDS = 600


def read_args(case_dir):
    path = os.path.join(case_dir, "args")
    if not os.path.exists(path):
        return []
    with open(path, "rb") as f:
        data = f.read()
    if not data:
        return []
    lines = data.split(b"\n")
    # One argument a line: the LF that ends the last line does not open another argument.
    if lines[-1] == b"":
        lines.pop()
    return [os.fsdecode(line) for line in lines]


def read_support(case_dir):
    """Returns {relative path: bytes} of the support files that the case expects."""
    path = os.path.join(case_dir, "expected.support")
    if not os.path.exists(path):
        return {}
    with open(path, "rb") as f:
        names = [os.fsdecode(line) for line in f.read().split(b"\n") if line]
    texts = {os.path.normpath(name): harness.support_text(name) for name in names}
    broken = [name for name, text in texts.items() if text is None]
    if broken:
        raise ValueError("expected.support names no support file: %s" % ", ".join(broken))
    return texts


def read_status(case_dir):
    path = os.path.join(case_dir, "expected.status")
    if not os.path.exists(path):
        return 0
    with open(path, "r", encoding="ascii") as f:
        return int(f.read().strip())


def snapshot(root):
    """Returns ({relative file path: bytes}, {relative folder path}) of a tree.

    Symlinks are read through; a dangling one reads as None, which never equals real bytes.
    """
    files = {}
    folders = set()
    if root is None or not os.path.isdir(root):
        return files, folders
    for current, dirnames, filenames in os.walk(root):
        rel_dir = os.path.relpath(current, root)
        if rel_dir != ".":
            folders.add(rel_dir)
        for name in list(dirnames):
            full = os.path.join(current, name)
            if os.path.islink(full):
                # os.walk does not descend into linked folders; treat the link as a file.
                dirnames.remove(name)
                filenames.append(name)
        for name in filenames:
            if name == KEEP_NAME:
                continue
            full = os.path.join(current, name)
            rel = os.path.normpath(os.path.join(rel_dir, name))
            # A pipe that a setup made has no bytes to compare, and opening it would wait.
            if os.path.exists(full) and not os.path.isfile(full) and not os.path.isdir(full):
                continue
            try:
                with open(full, "rb") as f:
                    files[rel] = f.read()
            except OSError:
                files[rel] = None
    return files, folders


LINE_ENDS = {"LF": b"\n", "CRLF": b"\r\n", "CR": b"\r"}


def read_line_ends(case_dir):
    path = os.path.join(case_dir, "line_ends")
    if not os.path.exists(path):
        return [None]
    with open(path, "r", encoding="ascii") as f:
        return [LINE_ENDS[name] for name in f.read().split()]


def with_line_end(files, line_end):
    if line_end is None:
        return files
    return {rel: None if data is None else data.replace(b"\n", line_end)
            for rel, data in files.items()}


def copy_input(src, dst, line_end):
    """Copies in/ to dst without the .keep markers, keeping symlinks as symlinks."""
    if src is None or not os.path.isdir(src):
        return
    for current, dirnames, filenames in os.walk(src):
        rel_dir = os.path.relpath(current, src)
        target_dir = dst if rel_dir == "." else os.path.join(dst, rel_dir)
        os.makedirs(target_dir, exist_ok=True)
        for name in dirnames + filenames:
            full = os.path.join(current, name)
            target = os.path.join(target_dir, name)
            if os.path.islink(full):
                os.symlink(os.readlink(full), target)
                if name in dirnames:
                    dirnames.remove(name)
            elif name in filenames and name != KEEP_NAME:
                shutil.copyfile(full, target)
                if line_end is not None:
                    with open(full, "rb") as f:
                        data = f.read()
                    with open(target, "wb") as f:
                        f.write(data.replace(b"\n", line_end))


def render_line(line):
    """Shows one line with its control and high bytes visible, so CR LF differences show."""
    out = []
    for byte in line:
        if byte == 0x0A:
            out.append("\\n")
        elif byte == 0x0D:
            out.append("\\r")
        elif byte == 0x09:
            out.append("\\t")
        elif byte == 0x5C:
            out.append("\\\\")
        elif 0x20 <= byte < 0x7F:
            out.append(chr(byte))
        else:
            out.append("\\x%02x" % byte)
    return "".join(out) + "\n"


def first_difference(expected, actual):
    for index, (a, b) in enumerate(zip(expected, actual)):
        if a != b:
            return index
    return min(len(expected), len(actual))


def describe_difference(label, expected, actual):
    lines = ["--- %s differs" % label]
    if expected is None or actual is None:
        lines.append("    expected %s, got %s" % (
            "an unreadable file" if expected is None else "%d bytes" % len(expected),
            "an unreadable file" if actual is None else "%d bytes" % len(actual)))
        return "\n".join(lines)
    offset = first_difference(expected, actual)
    lines.append("    %d bytes expected, %d bytes actual, first difference at offset %d"
                 % (len(expected), len(actual), offset))
    if b"\0" in expected or b"\0" in actual:
        lines.append("    expected from there: %r" % expected[offset:offset + 32])
        lines.append("    actual from there:   %r" % actual[offset:offset + 32])
    else:
        diff = difflib.unified_diff(
            [render_line(l) for l in expected.splitlines(keepends=True)],
            [render_line(l) for l in actual.splitlines(keepends=True)],
            "expected", "actual", lineterm="\n")
        lines.append("".join(diff).rstrip("\n"))
    return "\n".join(lines)


def run_case(binary, case_dir, version, keep, line_end):
    case_dir = os.path.abspath(case_dir)
    binary = os.path.abspath(binary)
    name = os.path.basename(case_dir.rstrip("/"))
    if line_end is not None:
        name += " (%s)" % next(k for k, v in LINE_ENDS.items() if v == line_end)
    stdout_path = os.path.join(case_dir, "expected.stdout")
    if not os.path.exists(stdout_path):
        print("%s: no expected.stdout" % name)
        return 2
    if not os.path.exists(binary):
        print("%s: binary %s does not exist" % (name, binary))
        return 2
    with open(stdout_path, "rb") as f:
        expected_stdout = f.read()
    stderr_path = os.path.join(case_dir, "expected.stderr")
    expected_stderr = b""
    if os.path.exists(stderr_path):
        with open(stderr_path, "rb") as f:
            expected_stderr = f.read()
    expected_status = read_status(case_dir)
    try:
        support = read_support(case_dir)
    except ValueError as error:
        print("%s: %s" % (name, error))
        return 2
    args = read_args(case_dir)
    in_dir = os.path.join(case_dir, "in")
    in_dir = in_dir if os.path.isdir(in_dir) else None
    expected_dir = os.path.join(case_dir, "expected")
    expected_dir = expected_dir if os.path.isdir(expected_dir) else None

    work = tempfile.mkdtemp(prefix="xv_e2e_%s_" % os.path.basename(case_dir))
    work_path = os.fsencode(os.path.realpath(work))
    if os.environ.get("XV_WINE_PATHS"):
        # Wine shows the root of this system as the drive Z:.
        work_path = b"Z:" + work_path

    def placed(data):
        return None if data is None else data.replace(WORKING_DIRECTORY_MARK, work_path)

    # Every run prints the banner first, but for a quiet one and the answers to --help and
    # --version; "--" ends the options.
    options = args[:args.index("--")] if "--" in args else args
    if not {"--quiet", "--help", "--version"} & set(options):
        expected_stdout = harness.banner(version) + expected_stdout
    expected_stdout = placed(expected_stdout)
    expected_stderr = placed(expected_stderr)
    if os.environ.get("XV_CONSOLE_CRLF"):
        expected_stdout = expected_stdout.replace(b"\n", b"\r\n")
        expected_stderr = expected_stderr.replace(b"\n", b"\r\n")
    try:
        copy_input(in_dir, work, line_end)
        setup = os.path.join(case_dir, "setup")
        if os.path.exists(setup):
            subprocess.run(["sh", setup], cwd=work, check=True)
        args = [os.fsdecode(placed(os.fsencode(arg))) for arg in args]
        command = harness.tool_command(binary, args)
        wrap = bool(shlex.split(os.environ.get("XV_WRAP", "")))
        try:
            result = subprocess.run(command, cwd=work, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                    timeout=TIMEOUT_SECONDS)
        except subprocess.TimeoutExpired:
            print("%s: timed out after %d s" % (name, TIMEOUT_SECONDS))
            return 1

        problems = []
        if result.stdout != expected_stdout:
            problems.append(describe_difference("stdout", expected_stdout, result.stdout))
        if result.returncode != expected_status:
            problems.append("--- exit status %d, expected %d"
                            % (result.returncode, expected_status))
        if result.stderr != expected_stderr and not wrap:
            problems.append(describe_difference("stderr", expected_stderr, result.stderr))

        harness.make_writable(work)
        want_files, want_folders = snapshot(in_dir)
        changed_files, made_folders = snapshot(expected_dir)
        want_files = with_line_end(want_files, line_end)
        changed_files = with_line_end(changed_files, line_end)
        want_files.update({rel: placed(data) for rel, data in changed_files.items()})
        want_folders |= made_folders
        want_files.update(support)
        for rel in support:
            # A support file is written into a folder that exists.
            while os.path.dirname(rel):
                rel = os.path.dirname(rel)
                want_folders.add(rel)
        got_files, got_folders = snapshot(work)
        for rel in sorted(set(want_files) - set(got_files)):
            problems.append("--- missing file %s" % rel)
        for rel in sorted(set(got_files) - set(want_files)):
            problems.append("--- unexpected file %s (%s)" % (
                rel, "unreadable" if got_files[rel] is None else
                "%d bytes" % len(got_files[rel])))
        for rel in sorted(set(want_files) & set(got_files)):
            if want_files[rel] is None or want_files[rel] != got_files[rel]:
                problems.append(describe_difference("file " + rel, want_files[rel],
                                                    got_files[rel]))
        for rel in sorted(want_folders - got_folders):
            problems.append("--- missing folder %s" % rel)
        for rel in sorted(got_folders - want_folders):
            problems.append("--- unexpected folder %s" % rel)

        if problems:
            print("%s: FAILED: %s" % (name, " ".join(shlex.quote(a) for a in command)))
            print("\n".join(problems))
            if wrap and result.stderr:
                print("--- wrapper's stderr:\n" + result.stderr.decode("latin-1"))
            return 1
        print("%s: passed" % name)
        return 0
    finally:
        if keep:
            print("kept working directory %s" % work)
        else:
            harness.make_writable(work)
            shutil.rmtree(work, ignore_errors=True)


def main(argv):
    keep = "--keep" in argv[1:]
    positional = [a for a in argv[1:] if a != "--keep"]
    if len(positional) != 4 or positional[2] != "--version":
        print(__doc__)
        return 2
    status = 0
    for line_end in read_line_ends(positional[1]):
        status = max(status, run_case(positional[0], positional[1], positional[3], keep, line_end))
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
