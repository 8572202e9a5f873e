#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Packs the NuGet package XVantor and builds examples/dotnet and examples/dotnet_solution
against it with `dotnet build`.

Usage: run_dotnet_example.py <xvantor-binary> <source-root> --version V [--binaries FOLDER]
                             [--keep]

Stages, each reported by name when it fails, in a temporary folder:
  pack      `dotnet pack nuget/XVantor.csproj` into a folder feed, with the binary under test
            for linux-x64 and those of the target `binaries` in FOLDER for the others;
            a stand-in takes the place of one that is not built
  restore   a copy of the example restores offline from that feed and the machine's package
            folder (/opt/nuget/packages, when present) into a package folder of its own
  build     the example builds and prints expected.txt
  rebuild   a changed greeting.txt, which the example embeds, translates Page.csframe again
            and the program prints the new text; a further build translates nothing
  unembed   with the embedding and greeting.txt removed, the next build succeeds
  error     a block with an unclosed delimiter fails the build with the MSBuild error
            "Page.csframe(LINE,COLUMN): error XF0002: ...", shown once
  clean     `dotnet clean` removes the generated files
  solution  examples/dotnet_solution (a library and an app that references it) builds and
            prints expected.txt
  nullable  a null dereference on line 5 of a .csframe warns there: "Oops.csframe(5,"
  ide       a design-time build lists the translation among the Compile items; the IDE's
            up-to-date check and `dotnet watch --list` know the input and its embedded file
  machine   an arm64 Linux takes tools/linux-arm64/xvantor; on a machine without a binary
            the error names it and XVantorPath

Exit status: 0 on success, 1 when a stage fails, 77 when dotnet is missing.
"""

import argparse
import glob
import json
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import harness  # noqa: E402

TIMEOUT_SECONDS = 600
MACHINE_PACKAGES = "/opt/nuget/packages"


StageFailed = harness.StageFailed


def run(stage, command, cwd, env):
    return harness.run_stage(stage, command, cwd, env, TIMEOUT_SECONDS).decode("utf-8", "replace")


def run_failing(stage, command, cwd, env):
    """Runs a command that must fail; returns what it printed."""
    completed = subprocess.run(command, cwd=cwd, env=env, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, timeout=TIMEOUT_SECONDS)
    if completed.returncode == 0:
        raise StageFailed(stage, "%s succeeded" % " ".join(command))
    return completed.stdout.decode("utf-8", "replace")


def generated(example):
    """The file that the build translated Page.csframe into, by its modification time."""
    found = glob.glob(os.path.join(example, "obj", "**", "xvantor", "Page.csframe.cs"), recursive=True)
    return os.stat(found[0]).st_mtime_ns if found else None


def test(args, work, env):
    feed, example = os.path.join(work, "feed"), os.path.join(work, "example")
    binaries = os.path.join(work, "binaries")
    for rid in ("linux-x64/xvantor", "linux-arm64/xvantor", "win-x64/xvantor.exe"):
        os.makedirs(os.path.dirname(os.path.join(binaries, rid)))
        built = args.tool if rid.startswith("linux-x64") else os.path.join(args.binaries or "", rid)
        if os.path.isfile(built):
            shutil.copy2(built, os.path.join(binaries, rid))
        else:
            print("no %s built: the package carries a stand-in" % rid)
            open(os.path.join(binaries, rid), "wb").close()
    root = os.path.abspath(args.source_root)
    run("pack", ["dotnet", "pack", os.path.join(root, "nuget", "XVantor.csproj"),
                 "--artifacts-path", os.path.join(work, "artifacts"), "-o", feed,
                 "-p:Version=" + args.version, "-p:XVantorBinaries=" + binaries]
        + harness.DOTNET_SWITCHES, work, env)

    shutil.copytree(os.path.join(root, "examples", "dotnet"), example)
    with open(os.path.join(example, "Example.csproj"), encoding="utf-8") as f:
        if '"XVantor" Version="%s"' % args.version not in f.read():
            raise StageFailed("restore", "Example.csproj does not reference XVantor %s"
                              % args.version)
    sources = ["--source", feed] + (["--source", MACHINE_PACKAGES]
                                    if os.path.isdir(MACHINE_PACKAGES) else [])
    run("restore", ["dotnet", "restore"] + sources + harness.DOTNET_SWITCHES, example, env)

    build = ["dotnet", "build", "--no-restore"] + harness.DOTNET_SWITCHES
    program = ["dotnet", "run", "--no-build"]
    with open(os.path.join(example, "expected.txt"), encoding="utf-8") as f:
        expected = f.read()

    def check_program(stage, wanted):
        printed = run(stage, program, example, env)
        if printed != wanted:
            raise StageFailed(stage, "the program printed\n%r\ninstead of\n%r" % (printed, wanted))

    run("build", build, example, env)
    check_program("build", expected)

    greeting = os.path.join(example, "greeting.txt")
    with open(greeting, encoding="utf-8") as f:
        old_greeting = f.read()
    before = generated(example)
    time.sleep(0.01)
    with open(greeting, "w", encoding="utf-8") as f:
        f.write("A changed greeting.\n")
    run("rebuild", build, example, env)
    translated = generated(example)
    if translated == before:
        raise StageFailed("rebuild", "a change to greeting.txt did not translate again")
    check_program("rebuild", expected.replace(old_greeting, "A changed greeting.\n"))
    run("rebuild", build, example, env)
    if generated(example) != translated:
        raise StageFailed("rebuild", "a build with nothing changed translated again")

    page = os.path.join(example, "Page.csframe")
    with open(page, encoding="utf-8") as f:
        text = f.read()
    text = text.replace("<#greeting.txt#>\n", "")
    with open(page, "w", encoding="utf-8") as f:
        f.write(text)
    os.remove(greeting)
    run("unembed", build, example, env)

    line = text[:text.index("{{strTitle}}")].count("\n") + 1
    with open(page, "w", encoding="utf-8") as f:
        f.write(text.replace("{{strTitle}}", "{{strTitle"))
    printed = run_failing("error", build, example, env)
    wanted = "%s(%d,8): error XF0002: BEGIN_FLAG without CLOSE_FLAG }}" % (page, line)
    if "%s:%d:8: error" % (page, line) in printed or wanted not in printed:
        raise StageFailed("error", "not only %r:\n%s" % (wanted, printed))

    with open(page, "w", encoding="utf-8") as f:
        f.write(text)
    run("clean", ["dotnet", "clean"] + harness.DOTNET_SWITCHES, example, env)
    left = [os.path.relpath(p, example) for p in glob.glob(
        os.path.join(example, "obj", "**", "xvantor", "*"), recursive=True)]
    if left:
        raise StageFailed("clean", "dotnet clean left %s" % ", ".join(left))

    test_solution(root, work, feed, env)


def test_solution(root, work, feed, env):
    solution = os.path.join(work, "solution")
    shutil.copytree(os.path.join(root, "examples", "dotnet_solution"), solution)
    # dotnet watch restores on its own, so the feeds go into the folder's NuGet.config.
    sources = [feed] + ([MACHINE_PACKAGES] if os.path.isdir(MACHINE_PACKAGES) else [])
    with open(os.path.join(solution, "NuGet.config"), "w", encoding="utf-8") as f:
        f.write("<configuration><packageSources><clear />%s</packageSources></configuration>"
                % "".join('<add key="%d" value="%s" />' % s for s in enumerate(sources)))
    run("solution", ["dotnet", "build", "Solution.slnx"] + harness.DOTNET_SWITCHES,
        solution, env)
    printed = run("solution", ["dotnet", "run", "--no-build", "--project", "App"], solution, env)
    with open(os.path.join(solution, "expected.txt"), encoding="utf-8") as f:
        if printed != f.read():
            raise StageFailed("solution", "the app printed\n%s" % printed)

    lib = os.path.join(solution, "Lib")
    with open(os.path.join(lib, "Oops.csframe"), "w", encoding="utf-8") as f:
        f.write("namespace Letters;\n\npublic frame Oops {\n    public int make(string? s) {\n"
                "        int n = s.Length;\n        BEGIN_FRAME_TEXT()\n<!n!>\n"
                "        END_FRAME_TEXT();\n        return n;\n    }\n}\n")
    printed = run("nullable", ["dotnet", "build", "-p:TreatWarningsAsErrors=false"]
                  + harness.DOTNET_SWITCHES, lib, env)
    if "Oops.csframe(5,17): warning CS8602" not in printed:
        raise StageFailed("nullable", "no warning CS8602 at Oops.csframe(5,17):\n" + printed)
    os.remove(os.path.join(lib, "Oops.csframe"))

    items = run("ide", ["dotnet", "msbuild", "-t:Compile;XVantorCollectInputs",
                        "-p:DesignTimeBuild=true", "-p:SkipCompilerExecution=true",
                        "-p:ProvideCommandLineArgs=true", "-getItem:Compile",
                        "-getItem:UpToDateCheckInput", "-getItem:UpToDateCheckBuilt"]
                + harness.DOTNET_SWITCHES, lib, env)
    listed = {kind: {os.path.basename(i["Identity"]) for i in found}
              for kind, found in json.loads(items)["Items"].items()}
    watched = run("ide", ["dotnet", "watch", "--list"], lib, env)
    for kind, names in (("Compile", {"Letter.csframe.cs"}),
                        ("UpToDateCheckInput", {"Letter.csframe", "footer.txt"}),
                        ("UpToDateCheckBuilt", {"Letter.csframe.cs"}),
                        ("dotnet watch --list", {"Letter.csframe", "footer.txt"})):
        have = listed.get(kind, {os.path.basename(line) for line in watched.splitlines()})
        if not names <= have:
            raise StageFailed("ide", "%s lacks %s" % (kind, ", ".join(sorted(names - have))))

    path = run("machine", ["dotnet", "msbuild", "-getProperty:XVantorPath",
                           "-p:XVantorRuntimeIdentifier=linux-arm64"], lib, env)
    if not path.strip().endswith(os.path.join("tools", "linux-arm64", "xvantor")):
        raise StageFailed("machine", "linux-arm64 runs " + path)
    printed = run_failing("machine", ["dotnet", "build", "-p:XVantorRuntimeIdentifier=osx-arm64"]
                          + harness.DOTNET_SWITCHES, lib, env)
    if "no xvantor for osx-arm64" not in printed or "XVantorPath" not in printed:
        raise StageFailed("machine", "osx-arm64 fails with\n" + printed)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("tool")
    parser.add_argument("source_root")
    parser.add_argument("--version", required=True)
    parser.add_argument("--binaries")
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()
    if shutil.which("dotnet") is None:
        print("skipped: dotnet not installed")
        return harness.SKIPPED

    with harness.work_dir("xvantor-dotnet-example-", args.keep) as work:
        # A package folder of its own, so that no package of an earlier run is taken for
        # this one.
        env = dict(os.environ, NUGET_PACKAGES=os.path.join(work, "packages"))
        try:
            test(args, work, env)
        except StageFailed as failure:
            print("FAILED at stage %s: %s" % (failure.stage, failure))
            return 1
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
