#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Packs the NuGet package XVantor and builds examples/dotnet against it with `dotnet build`.

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
            "Page.csframe(LINE,COLUMN): error XF0002: ..."
  clean     `dotnet clean` removes the generated files

Exit status: 0 on success, 1 when a stage fails, 77 when dotnet is missing.
"""

import argparse
import glob
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
    found = glob.glob(os.path.join(example, "obj", "**", "xvantor", "Page.g.cs"), recursive=True)
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
    if wanted not in printed:
        raise StageFailed("error", "no line holds %r:\n%s" % (wanted, printed))

    with open(page, "w", encoding="utf-8") as f:
        f.write(text)
    run("clean", ["dotnet", "clean"] + harness.DOTNET_SWITCHES, example, env)
    left = [os.path.relpath(p, example) for p in glob.glob(
        os.path.join(example, "obj", "**", "xvantor", "*"), recursive=True)]
    if left:
        raise StageFailed("clean", "dotnet clean left %s" % ", ".join(left))


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
