# SPDX-License-Identifier: MIT
"""What the Python test harnesses share: the banner, the skip status, the compilers and the
command lines that build and run each language's output.

A harness in a folder below tests/ imports it after putting tests/ on sys.path.
"""

import os
import re
import shlex
import shutil

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


def compile_command(compiler, sources, output, objects_only=False, std="c++17"):
    """Builds the sources, with every warning an error, into output: a C++ program (or with
    objects_only one object file), a folder of Java classes, or a C# .exe."""
    language, programs = COMPILERS[compiler]
    if language == "cpp":
        static = ["-static"] if compiler == "mingw" and not objects_only else []
        return ([programs[0], "-std=" + std, "-Wall", "-Wextra", "-Wpedantic", "-Werror"] + static
                + (["-c"] if objects_only else []) + ["-o", output] + list(sources))
    if language == "java":
        return ["javac", "-Xlint:all", "-Werror", "-d", output] + list(sources)
    return ["mcs", "-warnaserror", "-out:" + output] + list(sources)


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
