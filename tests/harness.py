"""What the Python test harnesses share: the banner, the skip status, the compilers and the
command lines that build and run each language's output.

A harness in a folder below tests/ imports it after putting tests/ on sys.path.
"""

import os

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


def banner(version):
    """The lines that the tool prints before anything else, the empty line after them included."""
    return (b"\nXVantor " + version.encode("ascii")
            + b", the frame text preprocessor for C++, Java and C#\n"
            b"Copyright (C) 2026 The XVantor developers\nAll rights reserved.\n\n")


def support_text(path):
    """The bytes of the support file that a path names by its ending ("gen/mstring.h",
    "a\\mstring.h"), read from its source in the repository; None for any other path."""
    for name, source in SUPPORT_SOURCES.items():
        if path == name or path.endswith(("/" + name, "\\" + name)):
            with open(os.path.join(SOURCE_ROOT, source), "rb") as f:
                return f.read()
    return None
