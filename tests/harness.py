# SPDX-License-Identifier: MIT
"""What the Python test harnesses share: the banner, the skip status, working folders, the
stages of a build, the compilers and the command lines that build and run each language's
output.

A harness in a folder below tests/ imports it after putting tests/ on sys.path.
"""

import contextlib
import fcntl
import os
import re
import shlex
import shutil
import stat
import subprocess
import tempfile

# The repository: the support files' sources live here.
SOURCE_ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def _cmake_words(path, variable):
    """The words of the set(<variable> ...) in a CMake file of the repository."""
    with open(os.path.join(SOURCE_ROOT, path), encoding="utf-8") as f:
        return shlex.split(re.search(r"^set\(" + variable + r"\s([^)]*)\)", f.read(), re.M)[1])


# Each language by the name that test names use, its outputs' ending: its facts ("OPTION",
# "SUPPORT", ...), each a list, from the list that the tool's language rows write.
LANGUAGES = {}
for _name in _cmake_words("cmake/XVantorLanguages.cmake", "_XVANTOR_LANGUAGES"):
    _facts = {fact: _cmake_words("cmake/XVantorLanguages.cmake", "_XVANTOR_%s_%s" % (_name, fact))
              for fact in ("OPTION", "SUPPORT", "EXTENSION", "INPUT_EXTENSION")}
    LANGUAGES[_facts["EXTENSION"][0][1:]] = _facts
# Each support file by name, with its source in the repository, whose bytes (CR LF
# included) the tool writes unchanged.
SUPPORT_SOURCES = {os.path.basename(path): path
                   for path in _cmake_words("support/CMakeLists.txt", "XV_SUPPORT_TEXTS")}
# The pair that the tool writes for each language.
SUPPORT_FILES = {language: facts["SUPPORT"] for language, facts in LANGUAGES.items()}
LANGUAGE_OF_EXTENSION = {"." + language: language for language in LANGUAGES}

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
    # The .NET SDK's compiler, through `dotnet build` of one shared project (dotnet_project).
    "dotnet": ("cs", ["dotnet"]),
}
DEFAULT_COMPILER = {"cpp": "gxx", "java": "javac", "cs": "mcs"}


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
    """The tool's command line; XV_WRAP (e.g. "valgrind --error-exitcode=99") goes before it,
    and XV_EMULATOR (e.g. "qemu-aarch64-static"), which runs a build for another machine and
    leaves its standard error alone, right before the tool."""
    return (shlex.split(os.environ.get("XV_WRAP", ""))
            + shlex.split(os.environ.get("XV_EMULATOR", "")) + [tool] + list(arguments))


def missing_programs(compiler):
    """The programs of a compiler that are not installed; the harness then exits SKIPPED."""
    return [program for program in COMPILERS[compiler][1] if shutil.which(program) is None]


# The project that every `dotnet build` of a test uses: the settings of `dotnet new console`
# (nullable reference types and implicit usings on, the SDK's own framework) and every
# warning an error. It is restored once, and each build names its sources and its output
# and intermediate folders, so that builds of different cases can run at once.
DOTNET_PROJECT = """<Project Sdk="Microsoft.NET.Sdk">
  <PropertyGroup>
    <OutputType>Exe</OutputType>
    <TargetFramework>net$(BundledNETCoreAppTargetFrameworkVersion)</TargetFramework>
    <ImplicitUsings>enable</ImplicitUsings>
    <Nullable>enable</Nullable>
    <TreatWarningsAsErrors>true</TreatWarningsAsErrors>
    <AssemblyName>XvCase</AssemblyName>
    <EnableDefaultCompileItems>false</EnableDefaultCompileItems>
    <UseAppHost>false</UseAppHost>
  </PropertyGroup>
  <ItemGroup>
    <Compile Include="$(XvSources)" />
  </ItemGroup>
</Project>
"""
DOTNET_ENVIRONMENT = {"DOTNET_CLI_TELEMETRY_OPTOUT": "1", "DOTNET_NOLOGO": "1",
                      "DOTNET_SKIP_FIRST_TIME_EXPERIENCE": "1",
                      "DOTNET_GENERATE_ASPNET_CERTIFICATE": "false"}
for _name, _value in DOTNET_ENVIRONMENT.items():
    os.environ.setdefault(_name, _value)
# No MSBuild node outlives its build, so no test leaves a process behind.
DOTNET_SWITCHES = ["-nologo", "-nodeReuse:false", "-tl:off", "-v:q", "-clp:NoSummary"]


def dotnet_project():
    """The path of the shared test project, written and restored (offline, from an empty
    feed: it needs no package) by whichever test comes first. XV_DOTNET_PROJECT names its
    folder; by default it lies in the temporary folder."""
    folder = os.path.abspath(os.environ.get("XV_DOTNET_PROJECT") or os.path.join(
        tempfile.gettempdir(), "xvantor-dotnet-%d" % os.getuid()))
    os.makedirs(os.path.join(folder, "feed"), exist_ok=True)
    project = os.path.join(folder, "XvCase.csproj")
    with open(os.path.join(folder, "lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        text = DOTNET_PROJECT
        current = None
        if os.path.isfile(os.path.join(folder, "obj", "project.assets.json")):
            with open(project) as f:
                current = f.read()
        if current != text:
            with open(project, "w") as f:
                f.write(text)
            subprocess.run(["dotnet", "restore", project, "--source", os.path.join(folder, "feed")]
                           + DOTNET_SWITCHES, stdout=subprocess.PIPE, check=True)
    return project


def compile_command(compiler, sources, output, objects_only=False, std="c++17", flags=(),
                    cwd="."):
    """Builds the sources, with every warning an error, into output: a C++ program (or with
    objects_only one object file, with further C++ flags before the sources), a folder of Java
    classes, or a C# .exe (with dotnet, a folder that holds the program; cwd is then the folder
    that the names are relative to)."""
    language, programs = COMPILERS[compiler]
    if compiler == "dotnet":
        output = os.path.abspath(os.path.join(cwd, output))
        names = ";".join(os.path.abspath(os.path.join(cwd, name)) for name in sources)
        return (["dotnet", "build", dotnet_project(), "--no-restore"] + DOTNET_SWITCHES
                + ['-p:XvSources="%s"' % names, "-p:OutDir=%s/" % output,
                   "-p:IntermediateOutputPath=%s.obj/" % output])
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
    if compiler == "dotnet":
        return ["dotnet", os.path.join(output, "XvCase.dll")]
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
