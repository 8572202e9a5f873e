"""What the Python test harnesses share: the banner, the skip status, the compilers and the
command lines that build and run each language's output.

A harness in a folder below tests/ imports it after putting tests/ on sys.path.
"""

# CTest reports this exit status as a skip (SKIP_RETURN_CODE): a needed tool is missing.
SKIPPED = 77


def banner(version):
    """The lines that the tool prints before anything else, the empty line after them included."""
    return (b"\nXVantor " + version.encode("ascii")
            + b", the frame text preprocessor for C++, Java and C#\n"
            b"Copyright (C) 2026 The XVantor developers\nAll rights reserved.\n\n")
