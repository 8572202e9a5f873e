#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Checks that the README, the manual page and `--help` name the same options.

Usage: run_option_names.py <binary>

The options are read from the README's table under "Running the tool", from the tagged
paragraphs of the manual page's OPTIONS section and from the lines of `--help` that begin
with a dash. The editor extension and the builds of .NET and Maven must also take a
language's frame sources by the ending that its row gives. Exit status: 0 when all agree,
1 otherwise.
"""

import os
import re
import subprocess
import sys

import harness


def readme_options():
    with open(os.path.join(harness.SOURCE_ROOT, "README.md"), encoding="utf-8") as f:
        text = f.read()
    section = text.split("## Running the tool", 1)[1].split("\n## ", 1)[0]
    return set(re.findall(r"^\| `(-[^` ]*)", section, re.M))


def man_options():
    with open(os.path.join(harness.SOURCE_ROOT, "man", "xvantor.1"), encoding="utf-8") as f:
        text = f.read()
    section = text.split(".SH OPTIONS", 1)[1].split("\n.SH ", 1)[0]
    tags = re.findall(r"^\.TP\n\.BI? (\S+)", section, re.M)
    return {tag.replace("\\-", "-") for tag in tags}


def help_options(binary):
    result = subprocess.run(harness.tool_command(binary, ["--help"]), stdout=subprocess.PIPE,
                            check=True)
    return set(re.findall(r"^  (-\S+)", result.stdout.decode("utf-8"), re.M))


# Where a frame source is known by its ending: the file, the ending's form, the languages.
INPUT_ENDINGS = [("editors/vscode/package.json", '"%s"', ["cpp", "java", "cs"]),
                 ("maven/src/main/java/org/xvantor/maven/GenerateMojo.java", '= "%s"', ["java"]),
                 ("nuget/build/XVantor.props", '"**/*%s"', ["cs"])]


def input_endings_differ():
    for path, form, languages in INPUT_ENDINGS:
        with open(os.path.join(harness.SOURCE_ROOT, path), encoding="utf-8") as f:
            text = f.read()
        for language in languages:
            if form % harness.LANGUAGES[language]["INPUT_EXTENSION"][0] not in text:
                print("%s lacks the ending of %s frame sources" % (path, language))
                return True
    return False


def main(argv):
    if len(argv) != 2:
        print(__doc__)
        return 2
    sources = {"README.md": readme_options(), "man/xvantor.1": man_options(),
               "--help": help_options(os.path.abspath(argv[1]))}
    every = set.union(*sources.values())
    failed = input_endings_differ()
    for name, options in sources.items():
        if options != every:
            failed = True
            print("%s lacks %s" % (name, " ".join(sorted(every - options))))
    print("%s: %s" % ("FAILED" if failed else "the same options", " ".join(sorted(every))))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
