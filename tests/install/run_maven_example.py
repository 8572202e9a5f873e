#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Installs xvantor-maven-plugin into a temporary local repository and builds examples/maven.

Usage: run_maven_example.py <source-root> <plugin-dir> --version V [--cmake CMAKE] [--keep]

<plugin-dir> holds xvantor-maven-plugin-V.jar and .pom: dist/, or the build folder's maven/,
which --cmake builds first. Stages, each reported by name when it fails:
  plugin    with --cmake, `cmake --build <build> --target maven_plugin`
  install   `mvn install:install-file` of the jar and its .pom
  build     a copy of the example builds offline with no xvantor on the PATH and prints
            expected.txt; an empty title throws at its line of Page.jframe
  noop      a build with nothing changed translates nothing
  embed     a changed greeting.txt and a new Extra.jframe translate again
  error     with Extra.jframe gone (so is Extra.java) and an unclosed delimiter, the build
            fails with "Page.jframe:[LINE,COLUMN] XF0002: ..."
  javac     an unknown name fails javac at its line of Page.jframe

Exit status: 0 on success, 1 when a stage fails, 77 when Maven or its Debian repository is
missing.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import harness  # noqa: E402

DEBIAN_REPOSITORY = "/usr/share/maven-repo"
StageFailed = harness.StageFailed


def test(args, work):
    root = os.path.abspath(args.source_root)
    # The plugin must bring its own tool.
    path = [d for d in os.environ["PATH"].split(os.pathsep)
            if not os.path.exists(os.path.join(d, "xvantor"))]
    env = dict(os.environ, PATH=os.pathsep.join(path))
    mvn = ["mvn", "-B", "-q", "-Dstyle.color=never", "-s", os.path.join(root, "maven", "settings.xml"),
           "-Dmaven.repo.local=" + os.path.join(work, "repository")]
    if args.cmake:
        harness.run_stage("plugin", [args.cmake, "--build", os.path.dirname(
            os.path.abspath(args.plugin_dir)), "--target", "maven_plugin"], work, env)
    plugin = os.path.join(os.path.abspath(args.plugin_dir), "xvantor-maven-plugin-" + args.version)
    harness.run_stage("install", mvn + ["install:install-file", "-Dfile=" + plugin + ".jar",
                                        "-DpomFile=" + plugin + ".pom"], work, env)

    example = os.path.join(work, "example")
    shutil.copytree(os.path.join(root, "examples", "maven"), example)
    package = os.path.join(example, "src", "main", "xvantor", "org", "example")
    generated = os.path.join(example, "target", "generated-sources", "xvantor", "org", "example")
    page = os.path.join(package, "Page.jframe")
    with open(page, encoding="utf-8") as f:
        text = f.read()

    # The first build packages the example; the others need only compile it.
    def build(stage, goal="compile"):
        return harness.run_stage(stage, mvn + [goal], example, env).decode("utf-8")

    def failing_build(stage):
        completed = subprocess.run(mvn + ["compile"], cwd=example, env=env,
                                   stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        if completed.returncode == 0:
            raise StageFailed(stage, "the build succeeded")
        return completed.stdout.decode("utf-8", "replace")

    def run_program(stage, *arguments):
        return subprocess.run(["java", "-cp", "target/classes", "org.example.Main"]
                              + list(arguments), cwd=example, env=env, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT).stdout.decode("utf-8")

    def line_of(needle):
        return text[:text.index(needle)].count("\n") + 1

    def expect(stage, wanted, printed):
        if wanted not in printed:
            raise StageFailed(stage, "no %r in:\n%s" % (wanted, printed))

    def mtime(name):
        return os.stat(os.path.join(generated, name)).st_mtime_ns

    build("build", "package")
    with open(os.path.join(example, "expected.txt"), encoding="utf-8") as f:
        expected = f.read()
    printed = run_program("build")
    if printed != expected:
        raise StageFailed("build", "the program printed\n%r\ninstead of\n%r" % (printed, expected))
    expect("build", "(Page.java:%d)" % line_of("throw new"), run_program("build", ""))

    before = mtime("Page.java")
    build("noop")
    if mtime("Page.java") != before:
        raise StageFailed("noop", "a build with nothing changed translated Page.jframe again")

    time.sleep(0.01)
    with open(os.path.join(example, "greeting.txt"), "w", encoding="utf-8") as f:
        f.write("A changed greeting.\n")
    with open(os.path.join(package, "Extra.jframe"), "w", encoding="utf-8") as f:
        f.write("package org.example;\nframe Extra {\n}\n")
    build("embed")
    if mtime("Page.java") == before or not os.path.exists(os.path.join(generated, "Extra.java")):
        raise StageFailed("embed", "Page.jframe or Extra.jframe was not translated")
    expect("embed", "A changed greeting.\n<!DOCTYPE", run_program("embed"))

    os.remove(os.path.join(package, "Extra.jframe"))
    with open(page, "w", encoding="utf-8") as f:
        f.write(text.replace("{{strTitle}}", "{{strTitle"))
    expect("error", "%s:[%d,8] XF0002: BEGIN_FLAG without CLOSE_FLAG }}" % (
        page, line_of("{{strTitle}}")), failing_build("error"))
    if os.path.exists(os.path.join(generated, "Extra.java")):
        raise StageFailed("error", "Extra.java outlived Extra.jframe")

    with open(page, "w", encoding="utf-8") as f:
        f.write(text.replace("strTitle.isEmpty()", "nosuch.isEmpty()"))
    expect("javac", "Page.java:[%d," % line_of("strTitle.isEmpty()"), failing_build("javac"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("source_root")
    parser.add_argument("plugin_dir")
    parser.add_argument("--version", required=True)
    parser.add_argument("--cmake")
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()
    missing = [p for p in ("mvn", "javac", "java") if shutil.which(p) is None]
    if missing or not os.path.isdir(DEBIAN_REPOSITORY):
        print("skipped: needs %s" % " ".join(missing or [DEBIAN_REPOSITORY]))
        return harness.SKIPPED
    started = time.monotonic()
    with harness.work_dir("xvantor-maven-example-", args.keep) as work:
        try:
            test(args, work)
        except StageFailed as failure:
            print("FAILED at stage %s: %s" % (failure.stage, failure))
            return 1
    print("passed in %.0f s" % (time.monotonic() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main())
