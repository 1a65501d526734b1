#!/usr/bin/env python3
"""Plays verbagrid play through a pseudo-terminal, as a person would, and reads the screen
through a terminal emulator (pyte): each key is sent once the screen shows what the one before
it did. Games are saved into a folder of the test's own.

Usage: play_test.py PATH/TO/verbagrid
Exit status 77 (skipped, with a message) where pyte or a pseudo-terminal is missing.
"""
import fcntl
import os
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import time

try:
    import pty
    import select

    import pyte
except ImportError as missing:
    print("skipped: %s (Debian: python3-pyte)" % missing)
    sys.exit(77)

PROGRAM = sys.argv[1]
DOWN, RIGHT, LEFT, UP = b"\x1bOB", b"\x1bOC", b"\x1bOD", b"\x1bOA"
# a starter of "oldsailorsandlionsreadsirenlore" and its solution
LETTERS = ".o...l..ds.ai..lo.r...s.a...n...d..li...on..s.re..a.d..s...i.r..e.n...lo..r.e...."
SOLUTION = "eOnarLisDSdAIneLOrRildSoAneaNsriDoeLIldeONraSoREslAnDinSoldIeRadEiNarsLOlaRoEsdin"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED: " + what)


class Screen(pyte.Screen):
    """pyte's screen, and the repeat of the last character (REP), which xterm's terminfo has."""
    last = " "

    def draw(self, data):
        if data:
            self.last = data[-1]
        super().draw(data)

    def repeat_last(self, count=1, *rest):
        super().draw(self.last * max(count, 1))


class Stream(pyte.ByteStream):
    csi = dict(pyte.ByteStream.csi, b="repeat_last")


class Game:
    def __init__(self, state, args, rows=24, cols=80, shell=None, term="xterm-256color"):
        self.rows, self.cols = rows, cols
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            try:
                env = dict(os.environ, TERM=term, XDG_STATE_HOME=state, LANG="C")
                if shell is not None:
                    os.execve("/bin/sh", ["/bin/sh", "-c", shell], env)
                os.execve(PROGRAM, [PROGRAM, "play", *args], env)
            finally:
                os._exit(127)
        self.resize(rows, cols, signal_it=False)
        self.screen = Screen(cols, rows)
        self.stream = Stream(self.screen)
        self.status = None

    def resize(self, rows, cols, signal_it=True):
        self.rows, self.cols = rows, cols
        fcntl.ioctl(self.fd, termios.TIOCSWINSZ, struct.pack("HHHH", rows, cols, 0, 0))
        if signal_it:
            self.screen.resize(rows, cols)
            os.kill(self.pid, signal.SIGWINCH)

    def pump(self, seconds):
        deadline = time.monotonic() + seconds
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                return True
            ready, _, _ = select.select([self.fd], [], [], left)
            if ready:
                try:
                    data = os.read(self.fd, 65536)
                except OSError:
                    data = b""
                if not data:
                    return False
                self.stream.feed(data)

    def text(self):
        return "\n".join(self.screen.display)

    def wait_for(self, text, timeout=10.0):
        """Waits until the screen shows text; False after timeout."""
        deadline = time.monotonic() + timeout
        while text not in self.text():
            if time.monotonic() > deadline or not self.pump(0.05):
                return text in self.text()
        return True

    def key(self, data, then=None):
        os.write(self.fd, data)
        if then is not None:
            return self.wait_for(then)
        self.pump(0.25)
        return True

    def cell(self, row, col):
        """The character at the centre of a cell of the compact grid, and its attributes."""
        y = 3 + row + row // 3
        x = 2 + 3 * col + col // 3 + 1
        return self.screen.buffer[y][x]

    def end(self, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            self.pump(0.05)
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid != 0:
                self.status = os.waitstatus_to_exitcode(status)
                self.pump(0.1)
                return self.status
        os.kill(self.pid, signal.SIGKILL)
        os.waitpid(self.pid, 0)
        return None


def saves(state):
    folder = os.path.join(state, "verbagrid")
    return sorted(os.listdir(folder)) if os.path.isdir(folder) else []


def letters_played(state):
    """Moves, enters a letter, marks, undoes, asks three hints; quits and resumes."""
    g = Game(state, [LETTERS])
    check(g.wait_for("Verbagrid") and g.wait_for("OLDSAIRNE"), "the game starts, its symbols shown")
    # from the centre (r5c5) to r1c1, open in this puzzle
    for k in (UP,) * 4 + (LEFT,) * 4:
        g.key(k)
    check(g.wait_for("r1c1"), "the arrows move the cursor")
    check(g.cell(0, 0).reverse, "the cursor cell is shown in reverse")
    # a click (xterm's SGR report, 1-based) selects the cell under it: r9c9, then r1c1 again
    g.key(b"\x1b[<0;30;14M\x1b[<0;30;14m")
    check(g.wait_for("r9c9"), "a click selects a cell")
    g.key(b"\x1b[<0;4;4M\x1b[<0;4;4m")
    check(g.wait_for("r1c1"), "a click selects another")
    g.key(b"e")
    check(g.cell(0, 0).data == "E", "a letter of the puzzle enters its symbol")
    check(g.cell(0, 1).bold and not g.cell(0, 0).bold, "givens are bold, entries are not")
    g.key(b"\x15")  # Ctrl-U: u is no symbol here, but Ctrl works too
    check(g.cell(0, 0).data == ".", "undo takes the entry back")
    g.key(b"r")  # r is a symbol of this puzzle: it enters R
    check(g.cell(0, 0).data == "R", "a command letter that is a symbol enters it")
    g.key(b"\x12")  # Ctrl-R: nothing to redo after a new move
    check(g.wait_for("Nothing to redo"), "Ctrl-R redoes, and says when there is nothing")
    g.key(b" ")
    g.key(b"p")
    check(g.wait_for("PENCIL"), "p turns pencil marks on")
    g.key(b"a")
    g.key(b"n")
    check(g.wait_for("marks A N"), "symbols mark the cell in pencil mode")
    check(g.cell(0, 0).data == ":", "a cell with marks shows that it has some")
    g.key(b"u")
    check(g.wait_for("marks A") and "marks A N" not in g.text(), "undo takes a mark back")
    g.key(b"p")
    g.key(b" ")
    g.key(b" ")
    # three hints: named with the cells it uses, in words, carried out
    check(g.key(b"?", "Hint: Hidden single in box 1"), "the first hint names the step and where")
    check(g.cell(0, 0).bg in ("yellow", "brown"), "the cell the hint uses stands out")
    check(g.cell(1, 1).bg == "blue", "the region it works in stands out")
    check(g.key(b"?", "In box 1 only r1c1 can be E"), "the second hint says the step in words")
    g.key(b"?", "Done")
    check(g.cell(0, 0).data == "E", "the third hint carries the step out")
    # a wrong entry: c points it out, and so does the next hint, before any step
    g.key(RIGHT * 2)
    g.key(b"a")
    g.key(b"c", "differs")
    check(g.cell(0, 2).underscore, "c marks an entry that differs from the solution")
    check(g.key(b"?", "This entry differs from the solution: r1c3"), "a hint points out a wrong entry first")
    g.key(b"q")
    check(g.end() == 0, "q leaves with status 0")
    check(len(saves(state)) == 1, "leaving saves the game")
    # resumed: the entries, the marks and the history are as they were left
    g = Game(state, ["--resume"])
    check(g.wait_for("goes on where it was left"), "--resume goes on with the saved game")
    check(g.cell(0, 0).data == "E" and g.cell(0, 2).data == "A", "entries come back")
    g.key(b"\x15")
    check(g.cell(0, 2).data == "." and g.cell(0, 0).data == "E", "the undo history comes back")
    os.kill(g.pid, signal.SIGTERM)
    check(g.end() == 1, "SIGTERM saves and ends with status 1")
    g = Game(state, [LETTERS])
    check(g.wait_for("goes on where it was left"), "the same puzzle again goes on with its game")
    check(g.cell(0, 0).data == "E" and g.cell(0, 2).data == ".", "SIGTERM saved the game as it was")
    g.key(b"\x03")
    check(g.end() == 0, "Ctrl-C quits as q does")


def finished(state):
    """The last empty cell: solved, the time and rating said, the save removed."""
    last = list(SOLUTION.lower())
    last[80] = "."
    g = Game(state, ["".join(last)])
    check(g.wait_for("Verbagrid"), "a nearly solved puzzle starts")
    for k in (DOWN,) * 4 + (RIGHT,) * 4:
        g.key(k)
    g.key(b"q")
    check(g.end() == 0 and len(saves(state)) == 1, "left unsolved, it is saved")
    g = Game(state, ["".join(last)])
    check(g.wait_for("goes on where it was left"), "played again, it goes on")
    check(g.key(b"n", "Solved in"), "the last entry solves the puzzle")
    check("rated" in g.text(), "the verdict gives the rating")
    check(saves(state) == [], "a solved game leaves no save behind")
    g.key(b"q")
    check(g.end() == 0, "after solving, q leaves with status 0")


def resized(state):
    """A larger terminal shows every cell's marks; a tiny one says how big it must be."""
    g = Game(state, ["4.....8.5.3..........7......2.....6.....8.4......1.......6.3.7.5..2.....1.4......"])
    check(g.wait_for("Verbagrid"), "a game in digits starts")
    g.key(LEFT)  # r5c4, open
    g.key(b"p")
    g.key(b"2")
    g.key(b"3")
    g.resize(40, 110)
    check(g.wait_for("+---------------------+"), "a large terminal gets the large grid")
    # r5c4's box in the large grid starts at row 16, column 24; its first row of marks
    row = g.screen.buffer[16]
    check(row[27].data == "2" and row[29].data == "3", "the large grid shows a cell's marks")
    g.resize(10, 40)
    check(g.wait_for("66x22"), "a small terminal says how big it must be")
    g.resize(24, 80)
    check(g.wait_for("+---------+"), "back at 80x24, the compact grid")
    g.key(b"q")
    check(g.end() == 0, "q leaves")


def modes_given_back(state, folder):
    """The terminal's modes are the same after the game as before, on each way out."""
    before, after = os.path.join(folder, "before"), os.path.join(folder, "after")
    for way in ("q", "SIGTERM", "SIGHUP", "SIGINT"):
        shell = "stty -g > %s; %s play %s; stty -g > %s" % (before, PROGRAM, LETTERS, after)
        g = Game(state, [], shell=shell)
        check(g.wait_for("Verbagrid"), "the game starts under a shell")
        if way == "q":
            g.key(b"q")
        else:
            # the game is the shell's child
            child = subprocess.run(["pgrep", "-P", str(g.pid)], capture_output=True, text=True)
            check(child.stdout.strip() != "", "the game runs under the shell")
            if child.stdout.strip():
                os.kill(int(child.stdout.split()[0]), getattr(signal, way))
        check(g.end() == 0, "the shell ends")
        check(os.path.exists(after) and open(before).read() == open(after).read(),
              "stty -g is the same after leaving by %s" % way)
        if os.path.exists(after):
            os.remove(after)
        check(len(saves(state)) == 1, "the game is saved after leaving by %s" % way)


def refusals(state):
    done = subprocess.run([PROGRAM, "play", LETTERS], stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=20, env=dict(os.environ, XDG_STATE_HOME=state))
    check(done.returncode == 2 and b"needs a terminal" in done.stderr, "no terminal: status 2")
    g = Game(state, [LETTERS], term="no-such-terminal")
    check(g.end() == 2 and "'no-such-terminal' has no description" in g.text(),
          "a terminal type without a description: a message and status 2")
    # a damaged save is reported and left in place
    folder = os.path.join(state, "verbagrid")
    os.makedirs(folder, exist_ok=True)
    for name in saves(state):
        os.remove(os.path.join(folder, name))
    damaged = os.path.join(folder, "game-0000000000000000.txt")
    with open(damaged, "w") as f:
        f.write("verbagrid game 1\nsymbols 1 2 3\n")
    g = Game(state, ["--resume"])
    check(g.end() == 1, "a damaged save ends play --resume with status 1")
    check("line 2" in g.text() and "left as it is" in g.text(), "the damage is said, with its line")
    check(os.path.exists(damaged), "the damaged save is left in place")


try:
    probe = pty.fork()
except OSError as error:
    print("skipped: no pseudo-terminal (%s)" % error)
    sys.exit(77)
if probe[0] == 0:
    os._exit(0)
os.waitpid(probe[0], 0)

with tempfile.TemporaryDirectory() as folder:
    for test in (letters_played, finished, resized):
        state = os.path.join(folder, test.__name__)
        test(state)
    modes_given_back(os.path.join(folder, "modes"), folder)
    refusals(os.path.join(folder, "refusals"))
print("%d failed" % len(failures) if failures else "all passed")
sys.exit(1 if failures else 0)
