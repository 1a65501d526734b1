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

    # a loop of links is reported, and stays a loop
    os.symlink("loop_b", os.path.join(folder, "loop_a"))
    os.symlink("loop_a", os.path.join(folder, "loop_b"))
    done = run("solve", "-f", "line", "-o", os.path.join(folder, "loop_a"), PUZZLES)
    check(done.returncode == 1 and b"symbolic links" in done.stderr
          and os.path.islink(os.path.join(folder, "loop_a")), "-o reports a loop of links")
    os.remove(os.path.join(folder, "loop_a"))
    os.remove(os.path.join(folder, "loop_b"))

    # a name as long as a folder holds is written, the temporary name beside it no longer
    longest = os.path.join(folder, "x" * 250 + ".txt")
    done = run("solve", "-f", "line", "-o", longest, PUZZLES)
    check(os.path.exists(longest) and b"too long" not in done.stderr, "-o writes a 254-byte file name")
    if os.path.exists(longest):
        os.remove(longest)

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
        f.write("........1.......23..1..245...3..5..2.4..6....7..8.......5..9.1..8..7....6..4.....\n")
    child = subprocess.Popen([PROGRAM, "solve", "--grade", os.path.join(folder, "hard.txt")],
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    time.sleep(0.5)
    sent = time.monotonic()
    child.send_signal(signal.SIGINT)
    status = child.wait(60)
    took = time.monotonic() - sent
    check(status == 1 and child.stdout.read() == b"", "an interrupted rating writes nothing")
    check(took < 5, "a rating stops on SIGINT within seconds (%.1f s)" % took)

    # one rule for every command a signal stops: what it finished is on standard output, a
    # file named with -o is left as it was, and the status is 1 with "interrupted"
    kept = os.path.join(folder, "kept.txt")
    for command in (["compose", "--jobs", "2", "-f", "line", "mothercatsmashesthreeroses"],
                    ["generate", "--jobs", "2", "-f", "line", "--count", "1000000"]):
        for to_file in (False, True):
            with open(kept, "w") as f:
                f.write("kept\n")
            args = [PROGRAM, *command] + (["-o", kept] if to_file else [])
            child = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            seen = b""
            deadline = time.monotonic() + 30
            while seen.count(b"\n") < 2 and time.monotonic() < deadline:
                ready, _, _ = select.select([child.stderr, child.stdout], [], [], 1)
                if child.stdout in ready and not to_file:
                    seen += os.read(child.stdout.fileno(), 4096)
                if child.stderr in ready:
                    chunk = os.read(child.stderr.fileno(), 4096)
                    if to_file and b" 2 " in chunk:
                        seen = b"\n\n"
            child.send_signal(signal.SIGTERM)
            rest, errors = child.communicate(timeout=30)
            rows = (seen + rest).splitlines() if not to_file else []
            name = "%s%s" % (command[0], " -o" if to_file else "")
            check(child.returncode == 1 and b"interrupted" in errors,
                  "%s ends with status 1 on SIGTERM" % name)
            if to_file:
                check(open(kept).read() == "kept\n", "%s leaves its -o file as it was" % name)
            else:
                check(len(rows) >= 2 and len(set(rows)) == len(rows),
                      "%s wrote what it found, once each" % name)
    check(leftovers(folder) == [], "no temporary file after SIGTERM: %s" % leftovers(folder))

    # a signal stops solve while it waits for input that does not come
    reader = subprocess.Popen(["sleep", "30"], stdout=subprocess.PIPE)
    child = subprocess.Popen([PROGRAM, "solve", "--grade"], stdin=reader.stdout,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    reader.stdout.close()
    time.sleep(0.5)
    for sig in (signal.SIGINT,):
        sent = time.monotonic()
        child.send_signal(sig)
        try:
            status = child.wait(5)
        except subprocess.TimeoutExpired:
            child.kill()
            status = None
        check(status == 1 and time.monotonic() - sent < 5,
              "a signal stops solve while it waits to read")
    reader.kill()
    reader.wait()

    # nothing printable leaves the file named with -o as it was
    for fmt in ("svg", "html"):
        keep = os.path.join(folder, "keep." + fmt)
        with open(keep, "w") as f:
            f.write("good\n")
        done = subprocess.run([PROGRAM, "solve", "-f", fmt, "-o", keep], input=b"1" * 81 + b"\n",
                              capture_output=True, timeout=20)
        check(done.returncode == 1 and open(keep).read() == "good\n",
              "solve -f %s keeps the old file when nothing can be printed" % fmt)


def piped_output():
    # generate writes each puzzle as it is made: the first line comes long before the last
    child = subprocess.Popen([PROGRAM, "generate", "--count", "100000", "-f", "line", "-q"],
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    ready, _, _ = select.select([child.stdout], [], [], 10)
    check(ready and child.stdout.readline().count(b" ") == 3, "generate writes as it goes")
    # and stops once nobody reads: as `| head -1` closes the pipe
    child.stdout.close()
    try:
        stopped = child.wait(10) != 0
    except subprocess.TimeoutExpired:
        stopped = False
        child.kill()
        child.wait()
    check(stopped, "generate stops at a closed pipe")


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
piped_output()
write_failures()
print("%d failed" % len(failures) if failures else "all passed")
sys.exit(1 if failures else 0)
