#!/usr/bin/env python3
"""The commands as a script or a careful user meets them, beyond what a transcript can show:
where -o writes (a link, a FIFO, a device, a file's mode), signals in the middle of a run at
several jobs, and answers through a pipe before the input ends.

Usage: commands_test.py PATH/TO/verbagrid
"""
import os
import select
import signal
import stat
import subprocess
import sys
import tempfile
import threading
import time

PROGRAM = sys.argv[1]
HERE = os.path.dirname(os.path.abspath(__file__))
PUZZLES = os.path.join(HERE, "data", "puzzles_counted.txt")
UNIQUE = b"4.....8.5.3..........7......2.....6.....8.4......1.......6.3.7.5..2.....1.4......\n"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def run(*args, **kwargs):
    return subprocess.run([PROGRAM, *args], capture_output=True, **kwargs)


def leftovers(folder):
    return [name for name in os.listdir(folder) if ".XXXXXX" not in name and "." in name
            and len(name.rsplit(".", 1)[1]) == 6]


def output_places(folder):
    # a link is followed: the file it names gets the output, the link stays a link
    target = os.path.join(folder, "target.txt")
    link = os.path.join(folder, "link.txt")
    with open(target, "w") as f:
        f.write("old\n")
    os.symlink("target.txt", link)
    done = run("solve", "-f", "line", "-o", link, PUZZLES)
    check(os.path.islink(link), "-o keeps a symbolic link a link")
    with open(target) as f:
        check(f.read() != "old\n", "-o writes the file a link names")

    # an existing file keeps its mode
    for mode in (0o600, 0o755):
        private = os.path.join(folder, "mode%o.txt" % mode)
        with open(private, "w") as f:
            f.write("x\n")
        os.chmod(private, mode)
        run("solve", "-f", "line", "-o", private, PUZZLES)
        check(stat.S_IMODE(os.stat(private).st_mode) == mode, "-o keeps mode %o" % mode)

    # a FIFO is written into and stays a FIFO
    fifo = os.path.join(folder, "fifo")
    os.mkfifo(fifo)
    got = []
    reader = threading.Thread(target=lambda: got.append(open(fifo, "rb").read()), daemon=True)
    reader.start()
    done = run("solve", "-f", "line", "-o", fifo, PUZZLES, timeout=20)
    reader.join(20)
    check(stat.S_ISFIFO(os.stat(fifo).st_mode), "-o leaves a FIFO a FIFO")
    check(got and got[0].count(b"\n") == 3, "-o writes the whole output into a FIFO")

    # a device that refuses the bytes: status 1, a reason, the device left as it is
    done = run("solve", "-f", "line", "-o", "/dev/full", PUZZLES)
    check(done.returncode == 1 and b"/dev/full" in done.stderr, "-o /dev/full fails with a word")
    check(stat.S_ISCHR(os.stat("/dev/full").st_mode), "-o /dev/full leaves the device")
    check(leftovers(folder) == [], "no temporary file is left: %s" % leftovers(folder))


def signals(folder):
    # SIGTERM and SIGHUP stop solve at two jobs at once; the half-written file is removed
    with open(os.path.join(folder, "empty.txt"), "w") as f:
        f.write("." * 81 + "\n" * 1 + ("." * 81 + "\n") * 19)
    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        out = os.path.join(folder, "listed.txt")
        child = subprocess.Popen([PROGRAM, "solve", "--jobs", "2", "-f", "line", "--all", "--max",
                                  "1000000", "-o", out, os.path.join(folder, "empty.txt")],
                                 stderr=subprocess.PIPE)
        time.sleep(0.5)
        sent = time.monotonic()
        child.send_signal(sig)
        status = child.wait(20)
        took = time.monotonic() - sent
        check(status == 1 and b"interrupted" in child.stderr.read(), "solve stops on %s" % sig)
        check(took < 5, "solve stops on %s within seconds (%.1f s)" % (sig, took))
        check(not os.path.exists(out), "an interrupted solve leaves no file")
    check(leftovers(folder) == [], "no temporary file after a signal: %s" % leftovers(folder))

    # Ctrl-C in the middle of a long rating stops it, and writes no rating of half a search
    with open(os.path.join(folder, "hard.txt"), "w") as f:
        f.write("........1.....2.....1345.....36....7.2.....8.9.....5....6.7...3.8.....2.5.....9..\n")
    child = subprocess.Popen([PROGRAM, "solve", "--grade", os.path.join(folder, "hard.txt")],
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    time.sleep(0.5)
    sent = time.monotonic()
    child.send_signal(signal.SIGINT)
    status = child.wait(60)
    took = time.monotonic() - sent
    check(status == 1 and child.stdout.read() == b"", "an interrupted rating writes nothing")
    check(took < 5, "a rating stops on SIGINT within seconds (%.1f s)" % took)

    # SIGTERM in a composition at two jobs: the starters found so far are written
    out = os.path.join(folder, "starters.txt")
    child = subprocess.Popen([PROGRAM, "compose", "--jobs", "2", "-f", "line", "-o", out,
                              "mothercatsmashesthreeroses"], stderr=subprocess.PIPE)
    seen = b""
    deadline = time.monotonic() + 30
    while b" 2 starter(s)" not in seen and time.monotonic() < deadline:
        ready, _, _ = select.select([child.stderr], [], [], 1)
        if ready:
            seen += os.read(child.stderr.fileno(), 4096)
    child.send_signal(signal.SIGTERM)
    status = child.wait(30)
    check(status == 0, "compose ends well on SIGTERM once it has starters")
    rows = open(out).read().splitlines() if os.path.exists(out) else []
    check(len(rows) >= 2 and len(set(rows)) == len(rows), "the starters found are written, once")
    check(leftovers(folder) == [], "no temporary file after SIGTERM: %s" % leftovers(folder))


def write_failures():
    # a write that fails is never a success: the dialogue, --help and --version say so
    with open("/dev/full", "wb") as full:
        for args, given in (([], b"s\n"), (["--help"], b""), (["--version"], b"")):
            done = subprocess.run([PROGRAM, *args], input=given, stdout=full,
                                  stderr=subprocess.PIPE, timeout=20)
            check(done.returncode == 1 and done.stderr.count(b"\n") == 1,
                  "%s to a full disk: status 1 and one line" % (args or "the dialogue"))


def pipe_answers():
    # a program that writes one puzzle and waits for the answer gets it before input ends
    for jobs in ("1", "2"):
        child = subprocess.Popen([PROGRAM, "solve", "--jobs", jobs, "-f", "line"],
                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        child.stdin.write(UNIQUE)
        child.stdin.flush()
        ready, _, _ = select.select([child.stdout], [], [], 10)
        check(ready and len(os.read(child.stdout.fileno(), 4096)) == 82,
              "jobs %s: an answer comes while the input is still open" % jobs)
        child.stdin.close()
        child.wait(10)


with tempfile.TemporaryDirectory() as folder:
    output_places(folder)
    signals(folder)
pipe_answers()
write_failures()
print("%d failed" % len(failures) if failures else "all passed")
sys.exit(1 if failures else 0)
