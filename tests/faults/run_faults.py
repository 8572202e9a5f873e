#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The faults that need a live system: a full disk, no free inode, a file of /proc, a
parallel build, and build tools reading back a depfile.

Usage: run_faults.py <xvantor-binary>

One row per fault. Each prints PASS, FAIL with what went wrong, or SKIP with the reason
(the tmpfs rows need root, the build rows make and ninja). Exit status 1 when any failed.
The faults that a fixed folder can hold are cases of tests/e2e named fault_*.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import harness  # noqa: E402

OLD = b"old bytes \x00\xff\r\n"
BIG = b"BEGIN_FRAME_TEXT()\n<#big.bin#>\nEND_FRAME_TEXT();\n"
CPP = b"int a;\nBEGIN_FRAME_TEXT()\nhello\nEND_FRAME_TEXT();\n"


def write(path, data):
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Tmpfs:
    """A small tmpfs at folder/name while the row runs."""

    def __init__(self, folder, options):
        self.path = os.path.join(folder, "small")
        self.options = options

    def __enter__(self):
        os.makedirs(self.path)
        subprocess.run(["mount", "-t", "tmpfs", "-o", self.options, "tmpfs", self.path],
                       check=True)
        return self.path

    def __exit__(self, *_):
        subprocess.run(["umount", self.path], check=False)


def run(tool, args, cwd):
    return subprocess.run([tool] + args, cwd=cwd, capture_output=True, timeout=300)


def expect_failure(result, text):
    if result.returncode != 1:
        return "exit status %d" % result.returncode
    if text.encode() not in result.stdout:
        return "stdout lacks %r: %r" % (text, result.stdout[-200:])
    return None


def full_disk(tool, folder):
    """The output's disk fills: the old output stays whole, nothing else is left there."""
    write(os.path.join(folder, "in.cpp"), BIG)
    write(os.path.join(folder, "big.bin"), os.urandom(256 << 10))
    with Tmpfs(folder, "size=256k") as small:
        write(os.path.join(small, "out.cpp"), OLD)
        result = run(tool, ["-cpp", "in.cpp", "small/out.cpp"], folder)
        left = sorted(os.listdir(small))
        problem = expect_failure(result, "can not create the file")
        if not problem and read(os.path.join(small, "out.cpp")) != OLD:
            problem = "the old output changed"
        if not problem and left != ["out.cpp"]:
            problem = "left: %s" % left
        return problem


def full_disk_depfile_elsewhere(tool, folder):
    """The output fails on a full disk after its depfile elsewhere took its place: the old
    output stays, and the new depfile costs one needless build at most."""
    write(os.path.join(folder, "in.cpp"), BIG)
    write(os.path.join(folder, "big.bin"), os.urandom(256 << 10))
    write(os.path.join(folder, "out.d"), OLD)
    with Tmpfs(folder, "size=256k") as small:
        write(os.path.join(small, "out.cpp"), OLD)
        result = run(tool, ["-cpp", "in.cpp", "small/out.cpp", "--depfile", "out.d"], folder)
        problem = expect_failure(result, "can not create the file")
        if not problem and not read(os.path.join(folder, "out.d")).startswith(b"small/out.cpp:"):
            problem = "the depfile was not put in place first"
        if not problem and os.listdir(small) != ["out.cpp"]:
            problem = "left: %s" % os.listdir(small)
        return problem


def dangling_link_full_disk(tool, folder):
    """An output that links to a file yet to be made, on a full disk: the target is made
    whole beside itself or not at all, never half written in place."""
    write(os.path.join(folder, "in.cpp"), BIG)
    write(os.path.join(folder, "big.bin"), os.urandom(256 << 10))
    with Tmpfs(folder, "size=128k") as small:
        os.symlink("small/target.cpp", os.path.join(folder, "out.cpp"))
        result = run(tool, ["-cpp", "in.cpp", "out.cpp"], folder)
        return expect_failure(result, "can not create the file") or (
            os.listdir(small) and "left: %s" % os.listdir(small))


def names_meeting_once_made(tool, folder):
    """Links to files not made yet: each pair is refused before anything is written."""
    write(os.path.join(folder, "in.cpp"), CPP)
    for link, target, args in (("deps.d", "out.cpp", ["-cpp", "--depfile", "deps.d"]),
                               ("out.cpp", "deps.d", ["-cpp", "--depfile", "deps.d"]),
                               ("out.cpp", "mvantor.h", [])):
        os.symlink(target, os.path.join(folder, link))
        result = run(tool, args + ["in.cpp", "out.cpp"], folder)
        problem = expect_failure(result, "are the same file")
        if problem or sorted(os.listdir(folder)) != sorted(["in.cpp", link]):
            return "%s -> %s: %s" % (link, target, problem or os.listdir(folder))
        os.remove(os.path.join(folder, link))


def bind_mount_same_folder(tool, folder):
    """One folder under two names through a bind mount: the depfile-to-be is the output."""
    os.makedirs(os.path.join(folder, "a"))
    os.makedirs(os.path.join(folder, "b"))
    write(os.path.join(folder, "in.cpp"), CPP)
    subprocess.run(["mount", "--bind", "a", "b"], cwd=folder, check=True)
    try:
        result = run(tool, ["-cpp", "in.cpp", "a/out.cpp", "--depfile", "b/out.cpp"], folder)
        problem = expect_failure(result, "are the same file")
        return problem or (os.listdir(os.path.join(folder, "a")) and "a file was written")
    finally:
        subprocess.run(["umount", os.path.join(folder, "b")], check=False)


def no_proc(tool, folder):
    """Without /proc the new file is named from the start, and the run succeeds."""
    if not shutil.which("unshare"):
        return "SKIP unshare is not installed"
    write(os.path.join(folder, "in.cpp"), CPP)
    script = "mount -t tmpfs none /proc && exec '%s' -cpp in.cpp out.cpp --quiet" % tool
    # A sanitized build reads its options and runs its leak checker through /proc, which
    # this row takes away.
    with open(tool, "rb") as f:
        if b"AddressSanitizer" in f.read():
            return "SKIP a sanitized build needs /proc"
    result = subprocess.run(["unshare", "--mount", "--propagation", "private", "sh", "-c",
                             script], cwd=folder, capture_output=True, timeout=60)
    if result.returncode != 0:
        return "exit status %d: %r" % (result.returncode, result.stderr)
    return sorted(os.listdir(folder)) != ["in.cpp", "out.cpp"] and "left: %s" % os.listdir(folder)


def streams_named_as_files(tool, folder):
    """/dev/stdout, /dev/stderr and /proc/self/fd/3 write through the stream, appending to
    the log a shell opened with >>, never replacing it."""
    write(os.path.join(folder, "in.cpp"), CPP)
    for name, redirect in (("/dev/stdout", ">>"), ("/dev/stderr", "2>>"),
                           ("/proc/self/fd/3", "3>>")):
        write(os.path.join(folder, "build.log"), OLD)
        command = "'%s' -cpp in.cpp %s --quiet %s build.log" % (tool, name, redirect)
        status = subprocess.run(command, shell=True, cwd=folder, timeout=60).returncode
        log = read(os.path.join(folder, "build.log"))
        if status != 0 or not log.startswith(OLD) or b"setFrameText" not in log:
            return "%s: exit status %d, log %r" % (name, status, log[:40])
    return None


def leftovers_removed(tool, folder):
    """A new file that SIGKILL left: the next run into the folder removes the tool's
    pattern, once unchanged for a minute, and nothing else."""
    write(os.path.join(folder, "in.cpp"), CPP)
    names = [".xvAb12cd", ".xv0fresh", ".xvtoolong1", "keep.xv1234"]
    for name in names:
        write(os.path.join(folder, name), b"x")
        if name != ".xv0fresh":
            os.utime(os.path.join(folder, name), (1, 1))
    result = run(tool, ["-cpp", "in.cpp", "out.cpp"], folder)
    left = sorted(set(names) & set(os.listdir(folder)))
    return result.returncode and "exit status %d" % result.returncode or (
        left != sorted(names[1:]) and "left: %s" % left)


def embedded_fifo_never_opened(tool, folder):
    """A pipe named in a block is refused unopened: a writer waiting for a reader still
    waits."""
    write(os.path.join(folder, "in.cpp"), b"BEGIN_FRAME_TEXT()\n<#pipe#>\nEND_FRAME_TEXT();\n")
    os.mkfifo(os.path.join(folder, "pipe"))
    writer = subprocess.Popen(["sh", "-c", "exec 3>pipe; echo opened"], cwd=folder,
                              stdout=subprocess.PIPE)
    try:
        problem = expect_failure(run(tool, ["-cpp", "in.cpp", "out.cpp"], folder), "XF0001")
        return problem or (time.sleep(0.2) or writer.poll() is not None) and "pipe opened"
    finally:
        writer.kill()
        writer.wait()


def support_dir_not_made(tool, folder):
    """A support folder that cannot be made says why: not a missing folder."""
    write(os.path.join(folder, "in.cpp"), CPP)
    os.makedirs(os.path.join(folder, "ro"))
    if os.geteuid() == 0:
        subprocess.run(["mount", "-t", "tmpfs", "-o", "ro", "tmpfs", "ro"], cwd=folder,
                       check=True)
        reason = "Read-only file system"
    else:
        os.chmod(os.path.join(folder, "ro"), 0o555)
        reason = "Permission denied"
    try:
        result = run(tool, ["-c", "in.cpp", "out.cpp", "--support-dir", "ro/sub", "--quiet"],
                     folder)
        return reason.encode() not in result.stderr and "stderr: %r" % result.stderr
    finally:
        subprocess.run(["umount", os.path.join(folder, "ro")], check=False, stderr=subprocess.DEVNULL)


def full_disk_support_files(tool, folder):
    """Support files on a full disk in the default mode: none is left cut short."""
    write(os.path.join(folder, "in.cpp"), CPP)
    with Tmpfs(folder, "size=20k") as small:
        result = run(tool, ["in.cpp", "small/out.cpp"], folder)
        problem = expect_failure(result, "can not create the file")
        for name in os.listdir(small):
            if name not in harness.SUPPORT_FILES["cpp"]:
                problem = problem or "left: %s" % name
            elif read(os.path.join(small, name)) != harness.support_text(name):
                problem = problem or "%s cut short" % name
        return problem


def no_free_inode(tool, folder):
    """No new file can be made beside a writable output: the run fails, never in place."""
    write(os.path.join(folder, "in.cpp"), CPP)
    with Tmpfs(folder, "size=1m,nr_inodes=3") as small:
        write(os.path.join(small, "out.cpp"), OLD)
        for i in range(8):  # uses up what inodes are left
            try:
                write(os.path.join(small, "fill%d" % i), b"")
            except OSError:
                break
        before = sorted(os.listdir(small))
        result = run(tool, ["-cpp", "in.cpp", "small/out.cpp"], folder)
        problem = expect_failure(result, "can not create the file")
        if not problem and read(os.path.join(small, "out.cpp")) != OLD:
            problem = "the output was written in place"
        if not problem and sorted(os.listdir(small)) != before:
            problem = "left: %s" % sorted(set(os.listdir(small)) - set(before))
        return problem


def proc_file(tool, folder):
    """/proc/version reports size 0: it is read to its end all the same."""
    if not os.path.exists("/proc/version"):
        return "SKIP no /proc/version"
    write(os.path.join(folder, "in.cpp"), b"BEGIN_FRAME_TEXT()\n<#/proc/version#>\nEND_FRAME_TEXT();\n")
    result = run(tool, ["-cpp", "in.cpp", "out.cpp"], folder)
    if result.returncode != 0:
        return "exit status %d" % result.returncode
    # Every byte is escaped: the file's first bytes as the literal spells them.
    spelled = "".join("\\x%02x" % b for b in read("/proc/version")[:8]).encode()
    if spelled not in read(os.path.join(folder, "out.cpp")):
        return "the output lacks the file's text"
    return None


def parallel_make(tool, folder):
    """20 outputs of one folder built by make -j8: each run finds the shared support files
    whole the moment it ends, and they are whole at the end."""
    if not shutil.which("make"):
        return "SKIP make is not installed"
    rules = ["all: %s" % " ".join("gen/out%d.cpp" % i for i in range(20))]
    for i in range(20):
        write(os.path.join(folder, "in%d.cpp" % i), CPP)
        rules.append("gen/out%d.cpp: in%d.cpp\n\t@'%s' in%d.cpp $@ --quiet && cmp -s gen/mstring.h ref.h"
                     % (i, i, tool, i))
    write(os.path.join(folder, "ref.h"), harness.support_text("mstring.h"))
    write(os.path.join(folder, "Makefile"), ("\n".join(rules) + "\n").encode())
    os.makedirs(os.path.join(folder, "gen"))
    result = subprocess.run(["make", "-j8", "-s"], cwd=folder, capture_output=True, timeout=600)
    if result.returncode != 0:
        return "make failed: %r" % result.stderr[-300:]
    for name in harness.SUPPORT_FILES["cpp"]:
        if read(os.path.join(folder, "gen", name)) != harness.support_text(name):
            return "%s torn" % name
    extra = [n for n in os.listdir(os.path.join(folder, "gen")) if n.startswith(".")]
    return "left: %s" % extra if extra else None


NAMES = ["sp ace.txt", "ha#sh.txt", "dol$lar.txt", "co:lon.txt", "per%cent.txt",
         "br[ack.txt"]


def build_tools_read_back(tool, folder):
    """Make and Ninja both read back every embedded name of the depfile exactly."""
    if not shutil.which("make") or not shutil.which("ninja"):
        return "SKIP make or ninja is not installed"
    block = b"".join(b"<#" + n.encode() + b"#>" for n in NAMES)
    write(os.path.join(folder, "in.cpp"), b"BEGIN_FRAME_TEXT()\n" + block + b"\nEND_FRAME_TEXT();\n")
    for name in NAMES:
        write(os.path.join(folder, name), name.encode())
    command = "'%s' -cpp in.cpp out.cpp --quiet --depfile out.d" % tool
    write(os.path.join(folder, "build.ninja"),
          ("rule x\n  command = %s\n  depfile = out.d\n  deps = gcc\nbuild out.cpp: x\n"
           % command).encode())
    result = subprocess.run(["ninja"], cwd=folder, capture_output=True, timeout=300)
    if result.returncode != 0:
        return "ninja failed: %r" % result.stdout[-300:]
    deps = subprocess.run(["ninja", "-t", "deps"], cwd=folder, capture_output=True,
                          text=True).stdout.splitlines()[1:]
    want = sorted([os.path.join(folder, "in.cpp")] + [os.path.join(folder, n) for n in NAMES])
    got = sorted(line.strip() for line in deps if line.strip())
    if got != want:
        return "ninja read %s" % got
    # Make: the output is up to date, and each name, once newer, makes it out of date.
    subprocess.run(command, shell=True, cwd=folder, check=True)
    write(os.path.join(folder, "Makefile"),
          ("out.cpp:\n\t%s\n-include out.d\n" % command).encode())
    for name in NAMES:
        os.utime(os.path.join(folder, name), (1, 1))
    os.utime(os.path.join(folder, "in.cpp"), (1, 1))
    if subprocess.run(["make", "-q", "out.cpp"], cwd=folder, capture_output=True).returncode:
        return "make thinks a fresh output is out of date"
    for name in NAMES:
        os.utime(os.path.join(folder, name), None)
        status = subprocess.run(["make", "-q", "out.cpp"], cwd=folder,
                                capture_output=True).returncode
        os.utime(os.path.join(folder, name), (1, 1))
        if status != 1:
            return "make did not read back %r" % name
    # Embedded files no longer embedded can be deleted.
    write(os.path.join(folder, "in.cpp"), CPP)
    for name in NAMES:
        os.remove(os.path.join(folder, name))
    result = subprocess.run(["make", "out.cpp"], cwd=folder, capture_output=True)
    return result.returncode and "make after deleting: %r" % result.stderr[-200:]


def answers_into_full_output(tool, folder):
    """--help and --version into a full or closed standard output fail."""
    for command in ("--help >/dev/full", "--help >&-", "--version >/dev/full"):
        if subprocess.run("'%s' %s 2>&-" % (tool, command), shell=True).returncode != 1:
            return command


ROWS = [
    (full_disk, True),
    (full_disk_depfile_elsewhere, True),
    (dangling_link_full_disk, True),
    (bind_mount_same_folder, True),
    (no_proc, True),
    (full_disk_support_files, True),
    (no_free_inode, True),
    (proc_file, False),
    (parallel_make, False),
    (build_tools_read_back, False),
    (names_meeting_once_made, False),
    (streams_named_as_files, False),
    (leftovers_removed, False),
    (embedded_fifo_never_opened, False),
    (support_dir_not_made, False),
    (answers_into_full_output, False),
]


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    tool = os.path.abspath(sys.argv[1])
    failed = 0
    for row, needs_root in ROWS:
        folder = os.path.realpath(tempfile.mkdtemp(prefix="xv-faults-"))
        try:
            if needs_root and (os.geteuid() != 0 or not shutil.which("mount")):
                problem = "SKIP a mount needs root"
            else:
                problem = row(tool, folder)
        except (OSError, subprocess.SubprocessError) as error:
            problem = "SKIP %s" % error if needs_root else str(error)
        finally:
            shutil.rmtree(folder, ignore_errors=True)
        if problem and problem.startswith("SKIP"):
            print("%s  %s" % (problem.split(" ", 1)[0], row.__doc__.split(":")[0]) +
                  ": " + problem.split(" ", 1)[1])
            continue
        print("%s  %s%s" % ("FAIL" if problem else "PASS", row.__name__,
                            ": " + problem if problem else ""))
        failed += 1 if problem else 0
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
