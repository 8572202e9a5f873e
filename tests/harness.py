# SPDX-License-Identifier: MIT
"""What the Python test harnesses share: the banner, the skip status, working folders, the
stages of a build, the compilers and the command lines that build and run each language's
output.

A harness in a folder below tests/ imports it after putting tests/ on sys.path.
"""

import contextlib
import os
import re
import shlex
import shutil
import stat
import subprocess
import tempfile

# The repository: the support files' sources live here.
SOURCE_ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Each support file by name, with its source in the repository, whose bytes (CR LF
# included) the tool writes unchanged.
SUPPORT_SOURCES = {
    "mstring.h": "core/mstring.h",
    "mvantor.h": "support/mvantor.h",
    "MString.java": "support/texts/MString.java",
    "MVantor.java": "support/texts/MVantor.java",
    "MString.cs": "support/texts/MString.cs",
    "MVantor.cs": "support/texts/MVantor.cs",
}
# The pair that the tool writes for each language.
SUPPORT_FILES = {
    "cpp": ["mstring.h", "mvantor.h"],
    "java": ["MString.java", "MVantor.java"],
    "cs": ["MString.cs", "MVantor.cs"],
}

# CTest reports this exit status as a skip (SKIP_RETURN_CODE): a needed tool is missing.
SKIPPED = 77

# An output that a failed or stopped run must leave byte for byte: NUL, a high byte, CR LF.
OLD_OUTPUT = b"old output \x00\xff\r\n"

# Each compiler by the name that test names use: its language and the programs it needs.
COMPILERS = {
    "gxx": ("cpp", ["g++"]),
    "clangxx": ("cpp", ["clang++"]),
    # A Windows program, linked whole and run through XV_WRAP (wine) like the tool.
    "mingw": ("cpp", ["x86_64-w64-mingw32-g++-posix"]),
    "javac": ("java", ["javac", "java"]),
    "mcs": ("cs", ["mcs", "mono"]),
}
DEFAULT_COMPILER = {"cpp": "gxx", "java": "javac", "cs": "mcs"}
LANGUAGE_OF_EXTENSION = {".cpp": "cpp", ".java": "java", ".cs": "cs"}


def project_version():
    """The version that project() in the top CMakeLists.txt gives."""
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(xvantor VERSION ([0-9.]+)", f.read()).group(1)


def banner(version):
    """The lines that the tool prints before anything else, the empty line after them included."""
    return (b"\nXVantor " + version.encode("ascii")
            + b", the frame text preprocessor for C++, Java and C#\n"
            b"Copyright (C) 2026 The XVantor developers\nFree software under the MIT licence.\n\n")


def support_text(path):
    """The bytes of the support file that a path names by its ending ("gen/mstring.h",
    "a\\mstring.h"), read from its source in the repository; None for any other path."""
    for name, source in SUPPORT_SOURCES.items():
        if path == name or path.endswith(("/" + name, "\\" + name)):
            with open(os.path.join(SOURCE_ROOT, source), "rb") as f:
                return f.read()
    return None


def tool_command(tool, arguments):
    """The tool's command line; XV_WRAP (e.g. "valgrind --error-exitcode=99") goes before it."""
    return shlex.split(os.environ.get("XV_WRAP", "")) + [tool] + list(arguments)


def missing_programs(compiler):
    """The programs of a compiler that are not installed; the harness then exits SKIPPED."""
    return [program for program in COMPILERS[compiler][1] if shutil.which(program) is None]


def compile_command(compiler, sources, output, objects_only=False, std="c++17", flags=()):
    """Builds the sources, with every warning an error, into output: a C++ program (or with
    objects_only one object file, with further C++ flags before the sources), a folder of Java
    classes, or a C# .exe."""
    language, programs = COMPILERS[compiler]
    if language == "cpp":
        static = ["-static"] if compiler == "mingw" and not objects_only else []
        return ([programs[0], "-std=" + std, "-Wall", "-Wextra", "-Wpedantic", "-Werror"] + static
                + list(flags) + (["-c"] if objects_only else []) + ["-o", output] + list(sources))
    if language == "java":
        return ["javac", "-Xlint:all", "-Werror", "-d", output] + list(sources)
    return ["mcs", "-warn:4", "-warnaserror", "-out:" + output] + list(sources)


def run_command(compiler, output, main_class="Main"):
    """Runs what compile_command built into output; Java starts main_class."""
    language = COMPILERS[compiler][0]
    if compiler == "mingw":
        return shlex.split(os.environ.get("XV_WRAP", "")) + [output + ".exe"]
    if language == "cpp":
        return [output]
    if language == "java":
        return ["java", "-cp", output, main_class]
    return ["mono", output]


def make_writable(root):
    """Gives back the write permission that a case may have taken from folders below root."""
    for current, dirnames, _ in os.walk(root):
        for name in dirnames:
            full = os.path.join(current, name)
            if not os.path.islink(full):
                os.chmod(full, os.stat(full).st_mode | stat.S_IRWXU)


@contextlib.contextmanager
def work_dir(prefix, keep=False):
    """A fresh folder for one run, removed afterwards whatever modes the run left; kept (and
    named) with keep."""
    work = tempfile.mkdtemp(prefix=prefix)
    try:
        yield work
    finally:
        if keep:
            print("kept working directory %s" % work)
        else:
            make_writable(work)
            shutil.rmtree(work, ignore_errors=True)


def summary(passed, failed):
    """Prints the last line of a table's run; returns the exit status."""
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


class StageFailed(Exception):
    """A named stage of a build test failed."""

    def __init__(self, stage, message):
        super().__init__(message)
        self.stage = stage


def run_stage(stage, command, cwd=None, env=None, timeout=300):
    """Runs a command of a stage; returns its standard output and error together, or raises
    StageFailed when it cannot start, times out or fails."""
    try:
        completed = subprocess.run(command, cwd=cwd, env=env, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, timeout=timeout)
    except (OSError, subprocess.TimeoutExpired) as error:
        raise StageFailed(stage, "%s: %s" % (" ".join(command), error))
    if completed.returncode != 0:
        raise StageFailed(stage, "%s exited with %d:\n%s" % (
            " ".join(command), completed.returncode,
            completed.stdout.decode("utf-8", "replace")))
    return completed.stdout
