#!/usr/bin/env python3
"""The dialogue composing on several threads while a person takes their time: each more? is
answered only a while after it shows, and the output must be the one-thread output, byte for
byte (counting threads that stopped on the dialogue's flag while it waits would hand back
counts cut short). Then Ctrl-C in the middle of a search: the composition ends at once, what
was shown before it is the one-thread output, and the session goes on.

Usage: dialogue_threads_test.py PATH/TO/verbagrid
"""
import os
import select
import signal
import subprocess
import sys
import time

PROGRAM = sys.argv[1]
SENTENCE = b"mothercatsmashesthreeroses"
MORE = b"more? (y/n) : "
PROMPT = b"\nsentence: "
YES = 6


def reference():
    answers = b"c\n" + SENTENCE + b"\n" + b"y\n" * YES + b"n\n\n"
    return subprocess.run([PROGRAM, "--jobs", "1"], input=answers, capture_output=True,
                          timeout=120).stdout


class Session:
    def __init__(self, jobs):
        self.child = subprocess.Popen([PROGRAM, "--jobs", str(jobs)], stdin=subprocess.PIPE,
                                      stdout=subprocess.PIPE)
        self.seen = b""

    def wait_for(self, text, count, timeout=60):
        deadline = time.monotonic() + timeout
        while self.seen.count(text) < count:
            left = deadline - time.monotonic()
            if left <= 0:
                raise AssertionError("no %r (%d) in time; output ends %r"
                                     % (text, count, self.seen[-200:]))
            ready, _, _ = select.select([self.child.stdout], [], [], left)
            if ready:
                got = os.read(self.child.stdout.fileno(), 65536)
                if not got:
                    raise AssertionError("output ended early: %r" % self.seen[-200:])
                self.seen += got

    def say(self, text):
        self.child.stdin.write(text)
        self.child.stdin.flush()

    def finish(self):
        self.child.stdin.close()
        self.seen += self.child.stdout.read()
        return self.child.wait(30)


expected = reference()
assert expected.count(MORE) > YES, "the sentence must present more starters"
failures = 0
for jobs in (2, 3):
    s = Session(jobs)
    s.say(b"c\n" + SENTENCE + b"\n")
    for answered in range(YES):
        s.wait_for(MORE, answered + 1)
        time.sleep(0.3)  # the threads go on counting while the question waits
        s.say(b"y\n")
    s.wait_for(MORE, YES + 1)
    s.say(b"n\n\n")
    status = s.finish()
    if status != 0 or s.seen != expected:
        failures += 1
        print("FAILED: jobs %d with slow answers differs from one job (status %d)" % (jobs, status))

    s = Session(jobs)
    s.say(b"c\n" + SENTENCE + b"\n")
    for answered in range(2):
        s.wait_for(MORE, answered + 1)
        s.say(b"y\n")
    time.sleep(0.05)
    shown = len(s.seen)
    sent = time.monotonic()
    s.child.send_signal(signal.SIGINT)
    # the search stops; or, if the next starter was already up, its question decides
    try:
        s.wait_for(PROMPT, 2, timeout=3)
    except AssertionError:
        if not s.seen.endswith(MORE):
            raise
        s.say(b"n\n")
        s.wait_for(PROMPT, 2, timeout=5)
    took = time.monotonic() - sent
    s.say(b"\n")
    status = s.finish()
    if status != 0 or s.seen[:shown] != expected[:shown] or took > 5:
        failures += 1
        print("FAILED: jobs %d, Ctrl-C in a search (status %d, %.1f s)" % (jobs, status, took))
print("%d failed" % failures if failures else "all passed")
sys.exit(1 if failures else 0)
