#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Checks that the README, the manual page and `--help` name the same options.

Usage: run_option_names.py <binary>

The options are read from the README's table under "Running the tool", from the tagged
paragraphs of the manual page's OPTIONS section and from the lines of `--help` that begin
with a dash. Exit status: 0 when the three agree, 1 otherwise.
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


def main(argv):
    if len(argv) != 2:
        print(__doc__)
        return 2
    sources = {"README.md": readme_options(), "man/xvantor.1": man_options(),
               "--help": help_options(os.path.abspath(argv[1]))}
    every = set.union(*sources.values())
    failed = False
    for name, options in sources.items():
        if options != every:
            failed = True
            print("%s lacks %s" % (name, " ".join(sorted(every - options))))
    print("%s: %s" % ("FAILED" if failed else "the same options", " ".join(sorted(every))))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
