#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Installs XVantor into a temporary prefix and builds a consumer project against it.

Usage: run_install.py --cmake CMAKE --build-dir DIR --consumer DIR
                      [--generator NAME]... [--program NAME | --jar NAME] [--settle] [--keep]

Stages, each reported by name when it fails:
  install    `cmake --install <build-dir> --prefix <tmp>/prefix`; the tool, the man page,
             the shell completions and the package files must be where users look for
             them, and the bash completion must offer options and names
Then, once for each --generator (none: CMake's default), in a fresh copy of the consumer:
  configure  the consumer (copied to <tmp>/src, since the test edits it) is configured with
             CMAKE_PREFIX_PATH=<tmp>/prefix; CMake must warn of nothing
  build      it is built; the source copy must hold no new file afterwards, and the build
             log no banner of the tool
  run        the program (--program, run directly; --jar, run with `java -jar`) must print
             expected.txt of the consumer
  no-op      a second build must not run the tool again nor link; with Ninja, `ninja -n`
             must find no work
  rebuild    message.txt gets another text; the next build must run the tool again and the
             program must print the new text wherever the old one stood
  settle     (--settle) after each edit of SETTLE_EDITS the next build runs the tool and
             the one after it nothing, as in no-op

The consumer is built in a folder whose name holds ".java" and ".h": the tool's language
recognition searches the whole output path, and the CMake function must not depend on it.

Exit status: 0 on success, 1 when a stage fails, 2 on usage, 77 when --jar is given and no
java/javac is installed, or Ninja is asked for and not installed (CTest reports a skip).
"""

import argparse
import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import harness  # noqa: E402

MESSAGE_NAME = "message.txt"
EXPECTED_NAME = "expected.txt"
CHANGED_MESSAGE = b"changed message\n"
BASH_COMPLETION = "share/bash-completion/completions/xvantor"
# Each names a file that the install must produce, relative to the prefix.
INSTALLED_FILES = [
    "bin/xvantor",
    "share/man/man1/xvantor.1",
    "lib/cmake/XVantor/XVantorConfig.cmake",
    "lib/cmake/XVantor/XVantorConfigVersion.cmake",
    "lib/cmake/XVantor/XVantorGenerate.cmake",
    "lib/cmake/XVantor/XVantorLanguages.cmake",
    "lib/cmake/XVantor/XVantorTargets.cmake",
    BASH_COMPLETION,
    "share/zsh/vendor-completions/_xvantor",
    "share/fish/vendor_completions.d/xvantor.fish",
]
# The installed bash completion, sourced and called: (words typed, the last one being
# completed, in a folder holding "in.cpp" and the folder "gen") -> the offers.
BASH_COMPLETIONS = [
    (["--dep"], ["--depfile"]),
    (["-"], ["-c", "-j", "-#", "-a", "--depfile", "--quiet", "--line-directives",
             "--support-dir", "--help", "--version", "--"]),
    (["-c", "i"], ["in.cpp"]),
    (["--support-dir", ""], ["gen"]),
    (["--", "--"], []),
]
# What a build prints for each translation (the COMMENT of the function's commands).
TRANSLATING = b"Translating "
# What a build with nothing changed must not print.
NO_OP_FORBIDDEN = [TRANSLATING, b"Writing the XVantor support files", b"Linking"]
# The tool's banner, which --quiet keeps out of the build log.
BANNER = b"XVantor " + harness.project_version().encode()

# The settle stage: (what is done, [(file in the consumer, new bytes or None to delete, or
# the new name)]). An input that embeds a file, adds, changes, drops and renames.
EMBED = b"<#message.txt#>"
SETTLE_EDITS = [
    ("an embed added", [("extra.txt", b"extra\n"),
                        ("banner.cpp", lambda text: text.replace(EMBED, EMBED + b"<#extra.txt#>"))]),
    ("the new embedded file changed", [("extra.txt", b"changed extra\n")]),
    ("embeds named with ':' and with a space, '#', '$' and '%'",
     [("a:b.txt", b""), ("c d#$%.txt", b""),
      ("banner.cpp", lambda text: text.replace(EMBED, EMBED + b"<#a:b.txt#><#c d#$%.txt#>"))]),
    ("the embed removed and its file deleted",
     [("banner.cpp", lambda text: text.replace(b"<#extra.txt#>", b"")), ("extra.txt", None)]),
    ("the input renamed", [("banner.cpp", "banner.xcpp"),
                           ("CMakeLists.txt", lambda text: text.replace(b"banner.cpp", b"banner.xcpp"))]),
]


StageFailed = harness.StageFailed
run = harness.run_stage


def list_files(root):
    found = set()
    for folder, _, names in os.walk(root):
        for name in names:
            found.add(os.path.relpath(os.path.join(folder, name), root))
    return found


def newest_output(build):
    return max(os.stat(os.path.join(folder, name)).st_mtime_ns
               for folder, _, names in os.walk(build)
               for name in names if name.endswith((".cpp", ".java")))


def edit(source, build, changes):
    """Applies changes; what they write ends up newer than every generated file, whatever
    the file-system clock's grain."""
    generated_time = newest_output(build)
    written = []
    for name, change in changes:
        path = os.path.join(source, name)
        if change is None:
            os.remove(path)
            continue
        if isinstance(change, str):
            os.rename(path, os.path.join(source, change))
            continue
        if callable(change):
            with open(path, "rb") as file:
                change = change(file.read())
        with open(path, "wb") as file:
            file.write(change)
        written.append(path)
    for path in written:
        while os.stat(path).st_mtime_ns <= generated_time:
            time.sleep(0.1)
            os.utime(path)


def check_idle(stage, cmake, build, generator):
    again = run(stage, [cmake, "--build", build])
    for text in NO_OP_FORBIDDEN:
        if text in again:
            raise StageFailed(stage, "a build with nothing changed printed %r:\n%s"
                              % (text, again.decode("utf-8", "replace")))
    if generator == "Ninja":
        planned = run(stage, ["ninja", "-n", "-C", build])
        if b"no work to do" not in planned:
            raise StageFailed(stage, "ninja -n plans work:\n"
                              + planned.decode("utf-8", "replace"))


def check_output(stage, program, expected):
    actual = run(stage, program)
    if actual != expected:
        raise StageFailed(stage, "the program printed\n%r\ninstead of\n%r" % (actual, expected))


def install(args, work):
    prefix = os.path.join(work, "prefix")
    run("install", [args.cmake, "--install", args.build_dir, "--prefix", prefix])
    for name in INSTALLED_FILES:
        if not os.path.isfile(os.path.join(prefix, name)):
            raise StageFailed("install", "%s is missing from the prefix" % name)
    if not os.access(os.path.join(prefix, "bin/xvantor"), os.X_OK):
        raise StageFailed("install", "bin/xvantor is not executable")
    check_bash_completion(os.path.join(prefix, BASH_COMPLETION), work)
    return prefix


def check_bash_completion(script, work):
    folder = os.path.join(work, "completion")
    os.makedirs(os.path.join(folder, "gen"))
    open(os.path.join(folder, "in.cpp"), "wb").close()
    for words, offers in BASH_COMPLETIONS:
        call = ('source "$0"; COMP_WORDS=(xvantor "$@"); COMP_CWORD=$#; _xvantor; '
                'printf "%s\\n" "${COMPREPLY[@]}"')
        output = run("install", ["bash", "-c", call, script] + words, cwd=folder)
        if output.decode().split() != offers:
            raise StageFailed("install", "bash completion of %r offers %r, expected %r"
                              % (words, output.decode().split(), offers))


def test(args, prefix, work, generator):
    source = os.path.join(work, "src")
    shutil.copytree(args.consumer, source)
    source_files = list_files(source)
    build = os.path.join(work, "build.java.h")
    configure = [args.cmake, "-S", source, "-B", build, "-DCMAKE_PREFIX_PATH=" + prefix]
    if generator:
        configure += ["-G", generator]
    configured = run("configure", configure)
    if b"Warning" in configured:
        raise StageFailed("configure", "CMake warned:\n" + configured.decode("utf-8", "replace"))
    built = run("build", [args.cmake, "--build", build])
    if list_files(source) != source_files:
        raise StageFailed("build", "the build wrote into the source folder: %s" %
                          sorted(list_files(source) - source_files))
    if BANNER in built:
        raise StageFailed("build", "the tool printed its banner into the build log")

    if args.jar:
        program = ["java", "-jar", os.path.join(build, args.jar)]
    else:
        program = [os.path.join(build, args.program)]
    with open(os.path.join(source, EXPECTED_NAME), "rb") as file:
        expected = file.read()
    check_output("run", program, expected)

    check_idle("no-op", args.cmake, build, generator)

    message = os.path.join(source, MESSAGE_NAME)
    with open(message, "rb") as file:
        old_message = file.read()
    if old_message not in expected:
        raise StageFailed("rebuild", "expected.txt does not hold the text of message.txt")
    edit(source, build, [(MESSAGE_NAME, CHANGED_MESSAGE)])
    if TRANSLATING not in run("rebuild", [args.cmake, "--build", build]):
        raise StageFailed("rebuild", "changing %s did not run the tool again" % MESSAGE_NAME)
    check_output("rebuild", program, expected.replace(old_message, CHANGED_MESSAGE))

    for what, changes in SETTLE_EDITS if args.settle else []:
        stage = "settle (%s)" % what
        edit(source, build, changes)
        if TRANSLATING not in run(stage, [args.cmake, "--build", build]):
            raise StageFailed(stage, "the build did not run the tool")
        check_idle(stage, args.cmake, build, generator)
    if args.settle:
        check_output("settle", program, expected.replace(old_message, CHANGED_MESSAGE))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--consumer", required=True)
    parser.add_argument("--generator", action="append", default=[])
    group = parser.add_mutually_exclusive_group(required=True)
    group.add_argument("--program")
    group.add_argument("--jar")
    parser.add_argument("--settle", action="store_true")
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()

    if args.jar and not (shutil.which("java") and shutil.which("javac")):
        print("skipped: java or javac is not installed")
        return harness.SKIPPED
    if "Ninja" in args.generator and not shutil.which("ninja"):
        print("skipped: ninja is not installed")
        return harness.SKIPPED
    work = tempfile.mkdtemp(prefix="xvantor-install-")
    generator = None
    try:
        prefix = install(args, work)
        for index, generator in enumerate(args.generator or [None]):
            consumer_work = os.path.join(work, "consumer-%d" % index)
            os.mkdir(consumer_work)
            test(args, prefix, consumer_work, generator)
    except StageFailed as failure:
        print("FAILED at stage %s (generator %s): %s" % (failure.stage, generator, failure))
        return 1
    finally:
        if args.keep:
            print("kept %s" % work)
        else:
            shutil.rmtree(work, ignore_errors=True)
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
