#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Translates one compile-and-run case with xvantor, builds the result and runs it.

Usage: run_compiled.py <xvantor-binary> <case-dir> [--compiler NAME] [--std STD] [--locale NAME]
                      [--keep]

A case folder holds:
  frame sources    one language per case: any number of *.cpp files (C++), or Main.java
                   and any other *.java files (Java, main class Main), or Main.cs and any
                   other *.cs files (C#)
  other files      files that the sources embed (<#name#>) or that the program reads;
                   the tool and the program both run in a copy of the case folder, so
                   relative names resolve there
  expected.out     the exact bytes that the program must leave in out.bin
  expected.escaped instead of expected.out: out.bin holds the hostile values of escaped.py
                   rendered by blocks that escape them, which escaped.py reads back
  expected.diagnostics
                   instead of expected.out, for sources with errors on purpose: the tool
                   runs with --line-directives and writes gen/generated_NAME, the compile
                   must fail, and each row of this file must begin a line of the
                   compiler's messages (rows "gxx clangxx: page.cpp:8:" or
                   "mcs: gen/page.cs(8,"; "#" starts a comment); a message about the
                   generated file names generated_NAME and cannot pass for one about NAME;
                   javac, without line directives, names generated_NAME at NAME's lines
  variants         optional: one line of extra arguments (--std, --locale) per further run
                   of the case, which CMake registers as tests of their own
  defines          optional, C++: one macro name a line, defined in every build of the case

Stages, each reported by name when it fails:
  tool     `xvantor SOURCE gen/SOURCE` for every frame source (recognition mode, so the
           support files of the language land in gen/ beside the output)
  diagnose with expected.diagnostics: the compile fails with the expected messages
  compile  only gen/ is compiled: the translated sources and the support files that the tool
           wrote there, nothing else
             gxx, clangxx  g++ / clang++ -std=c++17 (or --std) -Wall -Wextra -Wpedantic
                           -Werror and STRICT_WARNINGS, each source on its own, then linked
                           into one program; before that every further row of CPP_BUILDS
                           must compile without a warning too
             mingw         the same with MinGW-w64's g++, linked static, run through XV_WRAP
             javac         javac -Xlint:all -Werror, run with java; a Main.java that
                           declares a package runs as that package's Main
             mcs           mcs -warn:4 -warnaserror, run with mono
             dotnet        `dotnet build` of a project with the settings of `dotnet new
                           console` (Nullable, ImplicitUsings) and TreatWarningsAsErrors,
                           run with dotnet; the tool writes gen/NAME.g.cs, the name under
                           which a build treats a file as generated
  run      the program runs in the case copy and must exit with status 0; with --locale
           LANG and LC_ALL name that locale (it must be installed)
  output   out.bin must equal expected.out byte for byte

The compiler defaults to gxx, javac or mcs by the language of the case. Exit status: 0 on
success, 1 when a stage fails, 2 on a broken case or usage, 77 when a needed compiler or
runtime is missing (CTest reports that as skipped). XV_WRAP wraps the tool invocation, e.g.
XV_WRAP="valgrind --error-exitcode=99"; --keep keeps the temporary folder and prints its path.
"""

import argparse
import glob
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import harness  # noqa: E402

import escaped  # noqa: E402

TOOL_TIMEOUT_SECONDS = 600
COMPILE_TIMEOUT_SECONDS = 600
RUN_TIMEOUT_SECONDS = 120
GENERATED_DIR = "gen"
RESULT_NAME = "out.bin"
EXPECTED_NAME = "expected.out"
ESCAPED_NAME = "expected.escaped"
DIAGNOSTICS_NAME = "expected.diagnostics"
DIAGNOSED_PREFIX = "generated_"

# Generated C++ with its support headers compiles without a warning under these, as projects
# that build with -Werror and strict warnings need.
STRICT_WARNINGS = ["-Wshadow", "-Wconversion", "-Wsign-conversion", "-Wold-style-cast",
                   "-Wzero-as-null-pointer-constant", "-Wnon-virtual-dtor"]
# The builds of every C++ case with g++ and clang++: the standard (None: --std, c++17 unless
# given) and the macros defined. The program of the first row runs; the others compile only.
# With MSTRING_NO_USING_STD the headers keep to themselves, which clang checks.
CPP_BUILDS = [
    (None, []),
    ("c++11", []),
    ("c++14", []),
    ("c++20", []),
    ("c++23", []),
    ("c++17", ["MSTRING_NO_USING_STD"]),
]
HEADER_HYGIENE = {"clangxx": ["-Wheader-hygiene"]}


class StageFailed(Exception):
    def __init__(self, stage, message):
        super().__init__(message)
        self.stage = stage


class BrokenCase(Exception):
    pass


def find_sources(case_dir):
    """Returns (language, [source names]) of a case; exactly one language may be present."""
    found = {}
    for language, pattern in (("cpp", "*.cpp"), ("java", "*.java"), ("cs", "*.cs")):
        names = sorted(os.path.basename(p) for p in glob.glob(os.path.join(case_dir, pattern)))
        if names:
            found[language] = names
    if len(found) != 1:
        raise BrokenCase("a case needs frame sources of exactly one language, found: %s"
                         % (", ".join(sorted(found)) or "none"))
    language, names = next(iter(found.items()))
    if language == "java" and "Main.java" not in names:
        raise BrokenCase("a Java case needs Main.java, whose public class Main runs")
    if language == "cs" and "Main.cs" not in names:
        raise BrokenCase("a C# case needs Main.cs")
    return language, names


def show(data):
    text = data.decode("utf-8", "replace") if isinstance(data, bytes) else data
    return text if text.endswith("\n") or not text else text + "\n"


def run(stage, argv, cwd, timeout, env=None):
    """Runs a command; a non-zero status or a timeout fails the stage with its output."""
    try:
        result = subprocess.run(argv, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                timeout=timeout, env=env)
    except subprocess.TimeoutExpired:
        raise StageFailed(stage, "timed out after %d s: %s" % (timeout, shlex.join(argv)))
    except OSError as error:
        raise StageFailed(stage, "cannot start %s: %s" % (shlex.join(argv), error))
    if result.returncode != 0:
        raise StageFailed(stage, "%s exited with status %d\n--- stdout\n%s--- stderr\n%s"
                          % (shlex.join(argv), result.returncode, show(result.stdout),
                             show(result.stderr)))
    return result


def generated_name(compiler, name):
    return os.path.splitext(name)[0] + ".g.cs" if compiler == "dotnet" else name


def translate(tool, compiler, language, sources, work_dir, options, prefix=""):
    os.makedirs(os.path.join(work_dir, GENERATED_DIR), exist_ok=True)
    for name in sources:
        output = GENERATED_DIR + "/" + prefix + generated_name(compiler, name)
        # A build of the .NET SDK in a git checkout embeds the files that #line names into
        # its symbols, so they must be found: the input goes by its absolute path, as the
        # package's build targets give it.
        given = os.path.join(work_dir, name) if compiler == "dotnet" and prefix else name
        result = run("tool", harness.tool_command(tool, [given, output] + options), work_dir,
                     TOOL_TIMEOUT_SECONDS)
        # A tool that reports an error on the console without failing its exit status still
        # leaves no output file behind, so the output's existence is checked too.
        if not os.path.isfile(os.path.join(work_dir, output)):
            raise StageFailed("tool", "%s was not written\n--- stdout\n%s"
                              % (output, show(result.stdout)))
    for name in harness.SUPPORT_FILES[language]:
        if not os.path.isfile(os.path.join(work_dir, GENERATED_DIR, name)):
            raise StageFailed("tool", "support file %s/%s was not written" % (GENERATED_DIR, name))


def java_main_class(case_dir):
    """Main, or a.b.Main when Main.java declares the package a.b."""
    with open(os.path.join(case_dir, "Main.java"), "rb") as f:
        found = re.search(rb"^\s*package\s+([\w.]+)\s*;", f.read(), re.MULTILINE)
    return found.group(1).decode() + ".Main" if found else "Main"


def known_standard(compiler, std):
    """The spelling of std that the compiler takes: an older clang knows C++23 as c++2b."""
    if std != "c++23":
        return std
    program = harness.COMPILERS[compiler][1][0]
    probe = subprocess.run([program, "-std=" + std, "-fsyntax-only", "-x", "c++", os.devnull],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return std if probe.returncode == 0 else "c++2b"


def cpp_flags(compiler, macros):
    hygiene = HEADER_HYGIENE.get(compiler, []) if "MSTRING_NO_USING_STD" in macros else []
    return STRICT_WARNINGS + hygiene + ["-D" + macro for macro in macros]


def build_and_run(compiler, language, sources, work_dir, std, env, macros):
    gen = os.path.join(work_dir, GENERATED_DIR)
    if language == "cpp":
        builds = CPP_BUILDS if compiler in ("gxx", "clangxx") else CPP_BUILDS[:1]
        for row_std, row_macros in builds[1:]:
            row_std = known_standard(compiler, row_std)
            for name in sources:
                run("compile %s%s" % (row_std, "".join(" -D" + m for m in row_macros)),
                    harness.compile_command(compiler, [name], os.devnull, objects_only=True,
                                            std=row_std, flags=["-fsyntax-only"]
                                            + cpp_flags(compiler, macros + row_macros)),
                    gen, COMPILE_TIMEOUT_SECONDS)
        flags = cpp_flags(compiler, macros) if compiler in ("gxx", "clangxx") else [
            "-D" + macro for macro in macros]
        # One translation unit per source, so that a case with several sources proves that
        # the support headers link into one program.
        objects = []
        for name in sources:
            obj = os.path.splitext(name)[0] + ".o"
            run("compile",
                harness.compile_command(compiler, [name], obj, objects_only=True, std=std,
                                        flags=flags),
                gen, COMPILE_TIMEOUT_SECONDS)
            objects.append(obj)
        output, compile_sources = "program", objects
    else:
        output = {"java": "classes", "cs": "program.exe"}[language]
        compile_sources = sorted({generated_name(compiler, name) for name in sources}
                                 | set(harness.SUPPORT_FILES[language]))
    run("compile", harness.compile_command(compiler, compile_sources, output, cwd=gen), gen,
        COMPILE_TIMEOUT_SECONDS)
    main_class = java_main_class(work_dir) if language == "java" else "Main"
    return run("run", harness.run_command(compiler, os.path.join(gen, output), main_class),
               work_dir, RUN_TIMEOUT_SECONDS, env)


def check_diagnostics(compiler, language, sources, work_dir, case_dir):
    names = [GENERATED_DIR + "/" + DIAGNOSED_PREFIX + generated_name(compiler, name)
             for name in sources]
    if language == "cpp":
        argv = [harness.COMPILERS[compiler][1][0], "-std=c++17", "-fsyntax-only"] + names
    elif language == "java":
        argv = ["javac", "-d", GENERATED_DIR + "/classes"] + names + [
            GENERATED_DIR + "/" + name for name in harness.SUPPORT_FILES[language]]
    elif compiler == "dotnet":
        argv = harness.compile_command(compiler, names + [
            GENERATED_DIR + "/" + name for name in harness.SUPPORT_FILES[language]],
            GENERATED_DIR + "/program", cwd=work_dir)
    else:
        argv = ["mcs", "-out:%s/program.exe" % GENERATED_DIR] + sorted(
            set(names) | {GENERATED_DIR + "/" + name for name in harness.SUPPORT_FILES[language]})
    result = subprocess.run(argv, cwd=work_dir, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            timeout=COMPILE_TIMEOUT_SECONDS)
    # MSBuild names every file by its absolute path.
    messages = result.stdout.decode("utf-8", "replace").replace(work_dir + os.sep, "")
    if result.returncode == 0:
        raise StageFailed("diagnose", "%s compiled without error:\n%s"
                          % (shlex.join(argv), show(messages)))
    with open(os.path.join(case_dir, DIAGNOSTICS_NAME), "r", encoding="utf-8") as f:
        rows = [line.split(":", 1) for line in f.read().splitlines()
                if line.strip() and not line.startswith("#")]
    lines = messages.splitlines()
    missing = [begin.strip() for compilers, begin in rows if compiler in compilers.split()
               and not any(line.startswith(begin.strip()) for line in lines)]
    if missing:
        raise StageFailed("diagnose", "no message begins with %s; %s said:\n%s"
                          % (" nor ".join(repr(m) for m in missing), compiler, show(messages)))


def compare_output(work_dir, case_dir, run_result):
    path = os.path.join(work_dir, RESULT_NAME)
    if not os.path.isfile(path):
        raise StageFailed("output", "the program wrote no %s\n--- stdout\n%s--- stderr\n%s"
                          % (RESULT_NAME, show(run_result.stdout), show(run_result.stderr)))
    with open(path, "rb") as f:
        actual = f.read()
    if os.path.isfile(os.path.join(case_dir, ESCAPED_NAME)):
        problems = escaped.check(actual)
        if problems:
            raise StageFailed("output", "\n".join(problems))
        return
    with open(os.path.join(case_dir, EXPECTED_NAME), "rb") as f:
        expected = f.read()
    if actual == expected:
        return
    offset = next((i for i, (a, b) in enumerate(zip(actual, expected)) if a != b),
                  min(len(actual), len(expected)))
    start = max(0, offset - 16)
    raise StageFailed("output", "%s differs from %s at offset %d (expected %d bytes, got %d)\n"
                      "  expected from %d: %r\n  actual   from %d: %r"
                      % (RESULT_NAME, EXPECTED_NAME, offset, len(expected), len(actual),
                         start, expected[start:offset + 32], start, actual[start:offset + 32]))


def case_macros(case_dir):
    path = os.path.join(case_dir, "defines")
    if not os.path.isfile(path):
        return []
    with open(path, encoding="utf-8") as f:
        return f.read().split()


def locale_installed(name):
    """A locale's run proves nothing when the machine lacks the locale and falls back to C."""
    listed = subprocess.run(["locale", "-a"], stdout=subprocess.PIPE, text=True).stdout.split()
    wanted = name.lower().replace("utf-8", "utf8")
    return any(entry.lower().replace("utf-8", "utf8") == wanted for entry in listed)


def main():
    parser = argparse.ArgumentParser(description="Compile-and-run test of xvantor's output.")
    parser.add_argument("tool")
    parser.add_argument("case_dir")
    parser.add_argument("--compiler", choices=sorted(harness.COMPILERS))
    parser.add_argument("--std", default="c++17", help="the C++ standard (default c++17)")
    parser.add_argument("--locale", help="LANG and LC_ALL of the program's run")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    args = parser.parse_args()

    tool = os.path.abspath(args.tool)
    case_dir = os.path.abspath(args.case_dir)
    case_name = os.path.basename(case_dir.rstrip(os.sep))
    try:
        language, sources = find_sources(case_dir)
        diagnose = os.path.isfile(os.path.join(case_dir, DIAGNOSTICS_NAME))
        if not diagnose and not any(os.path.isfile(os.path.join(case_dir, name))
                                    for name in (EXPECTED_NAME, ESCAPED_NAME)):
            raise BrokenCase("%s is missing" % EXPECTED_NAME)
        compiler = args.compiler or harness.DEFAULT_COMPILER[language]
        if harness.COMPILERS[compiler][0] != language:
            raise BrokenCase("compiler %s does not build this case's language" % compiler)
    except BrokenCase as error:
        print("%s: broken case: %s" % (case_name, error))
        return 2
    missing = harness.missing_programs(compiler)
    if missing:
        print("%s: skipped, not installed: %s" % (case_name, ", ".join(missing)))
        return harness.SKIPPED
    env = None
    if args.locale:
        if not locale_installed(args.locale):
            print("%s: broken setup: locale %s is not installed (scripts/setup.sh makes it)"
                  % (case_name, args.locale))
            return 2
        env = dict(os.environ, LANG=args.locale, LC_ALL=args.locale)

    work_dir = tempfile.mkdtemp(prefix="xv-compiled-%s-" % case_name)
    status = 1
    try:
        os.rmdir(work_dir)
        shutil.copytree(case_dir, work_dir)
        # The program must not find a stale result, nor the tool a stale output folder.
        for stale in (RESULT_NAME, GENERATED_DIR):
            path = os.path.join(work_dir, stale)
            if os.path.isdir(path):
                shutil.rmtree(path)
            elif os.path.exists(path):
                os.remove(path)
        if diagnose:
            translate(tool, compiler, language, sources, work_dir, ["--line-directives"],
                      DIAGNOSED_PREFIX)
        else:
            translate(tool, compiler, language, sources, work_dir, [])
        if diagnose:
            check_diagnostics(compiler, language, sources, work_dir, case_dir)
        else:
            run_result = build_and_run(compiler, language, sources, work_dir, args.std, env,
                                       case_macros(case_dir))
            compare_output(work_dir, case_dir, run_result)
        print("%s (%s): passed" % (case_name, compiler))
        status = 0
    except StageFailed as failure:
        print("%s (%s): %s stage failed: %s" % (case_name, compiler, failure.stage, failure))
    finally:
        if args.keep:
            print("kept %s" % work_dir)
        else:
            shutil.rmtree(work_dir, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
