#!/usr/bin/env python3
"""Drives verbagrid through a pseudo-terminal, as a person would: every answer is typed only
after its prompt is on the screen, Ctrl-C and Ctrl-D are the terminal's own keys.

Usage: interrupt_test.py PATH/TO/verbagrid
"""
import os
import pty
import select
import signal
import sys
import time

PROGRAM = sys.argv[1]
MODE = b"Mode? - Composer/Solver (c/s) : "
SENTENCE = b"\nsentence: "
MORE = b"more? (y/n) : "
BLANK = b"---------\n"


class Session:
    def __init__(self):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            try:
                os.execv(PROGRAM, [PROGRAM])
            finally:
                os._exit(127)
        self.seen = b""

    def expect(self, text, timeout=10.0):
        """Waits until text has been printed since the last expect; fails after timeout."""
        deadline = time.monotonic() + timeout
        while text not in self.seen:
            left = deadline - time.monotonic()
            if left <= 0:
                raise AssertionError("no %r within %ss; screen ends with %r"
                                     % (text, timeout, self.seen[-300:]))
            ready, _, _ = select.select([self.fd], [], [], left)
            if ready:
                try:
                    chunk = os.read(self.fd, 4096)
                except OSError:
                    chunk = b""
                if not chunk:
                    raise AssertionError("program ended before %r; screen ends with %r"
                                         % (text, self.seen[-300:]))
                self.seen += chunk
        self.seen = self.seen[self.seen.index(text) + len(text):]

    def quiet_for(self, seconds, echo):
        """Checks that for a while nothing new appears but the terminal's echo of the keys."""
        deadline = time.monotonic() + seconds
        arrived = b""
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                break
            ready, _, _ = select.select([self.fd], [], [], left)
            if ready:
                arrived += os.read(self.fd, 4096)
        self.seen += arrived
        assert arrived.replace(echo, b"", 1) == b"", "unexpected output %r" % arrived

    def send(self, data):
        os.write(self.fd, data)

    def status(self, timeout=5.0):
        """Waits for the program to end, draining the terminal; returns its wait status."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                return status
            ready, _, _ = select.select([self.fd], [], [], 0.05)
            if ready:
                try:
                    self.seen += os.read(self.fd, 4096)
                except OSError:
                    pass
        os.kill(self.pid, signal.SIGKILL)
        raise AssertionError("program still running after %ss" % timeout)

    def ends_with_status_zero(self):
        status = self.status()
        assert os.WIFEXITED(status) and os.WEXITSTATUS(status) == 0, "wait status %d" % status
        os.close(self.fd)


def test_ctrl_c_before_the_mode_ends_the_program():
    s = Session()
    s.expect(MODE)
    s.send(b"\x03")
    status = s.status()
    assert os.WIFSIGNALED(status) and os.WTERMSIG(status) == signal.SIGINT, status


def test_ctrl_c_while_typing_a_starter_changes_nothing():
    s = Session()
    s.expect(MODE)
    s.send(b"s\n")
    s.expect(b"ligne[1] : ")
    s.send(b"a-b---cd-\n")
    s.expect(b"ligne[2] : ")
    s.send(BLANK)
    s.expect(b"ligne[3] : ")
    s.send(b"--x")
    s.expect(b"--x")  # the echo
    s.send(b"\x03")  # the terminal drops the half-typed line; the program keeps waiting
    s.quiet_for(0.3, b"^C")
    s.send(BLANK)
    for row in range(4, 10):
        s.expect(b"ligne[%d] : " % row)
        s.send(BLANK)
    s.expect(b"-- sol (1)\r\n")
    s.expect(b"A 5 B   6 7 8   C D 9   \r\n")  # rows 1 and 2 survived the interrupt
    s.expect(b"-- sol (10)\r\n")
    s.expect(b"ligne[1] : ")
    s.send(b"\x04")
    s.ends_with_status_zero()


def test_ctrl_c_while_composing_returns_to_the_sentence_prompt():
    s = Session()
    s.expect(MODE)
    s.send(b"c\n")
    s.expect(SENTENCE)
    s.send(b"silentsailorsrotates\n")  # runs for minutes unless stopped
    s.expect(b"composing ...\r\n")
    time.sleep(0.5)
    s.send(b"\x03")
    s.expect(b"* ", timeout=5)  # the verdict: what it says depends on how far it got
    s.expect(SENTENCE)
    s.send(b"ab\n")  # the program still answers
    s.expect(b"* not enough different letters  (missing: 7)\r\n")
    s.expect(SENTENCE)
    s.send(b"\x04")
    s.ends_with_status_zero()


def test_ctrl_c_during_a_presentation_leaves_the_answer_to_the_user():
    s = Session()
    s.expect(MODE)
    s.send(b"c\n")
    s.expect(SENTENCE)
    s.send(b"mothercatsmashesthreeroses\n")
    s.expect(MORE)
    s.send(b"\x03")
    s.quiet_for(0.3, b"^C")
    s.send(b"y\n")  # the yes decides: the search goes on to the next presentation
    s.expect(b"** difficulty:5 ***")
    s.expect(MORE)
    s.send(b"n\n")
    s.expect(SENTENCE)
    s.send(b"\x04")
    s.ends_with_status_zero()


def test_ctrl_d_at_each_prompt_ends_with_status_zero():
    cases = [
        [],
        [(MODE, b"c\n")],
        [(MODE, b"s\n"), (b"ligne[1] : ", BLANK)],
        [(MODE, b"c\n"), (SENTENCE, b"mothercatsmashesthreeroses\n")],
    ]
    last = [MODE, SENTENCE, b"ligne[2] : ", MORE]
    for steps, prompt in zip(cases, last):
        s = Session()
        for wait, answer in steps:
            s.expect(wait)
            s.send(answer)
        s.expect(prompt)
        s.send(b"\x04")
        s.ends_with_status_zero()


def main():
    tests = [(name, f) for name, f in globals().items() if name.startswith("test_")]
    failed = 0
    for name, test in tests:
        try:
            test()
            print("ok", name)
        except AssertionError as e:
            failed += 1
            print("FAIL", name, e)
    print("%d passed, %d failed" % (len(tests) - failed, failed))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
