#!/usr/bin/env python3
"""Measures what the UCI option Move Overhead has to cover.

  tools/uci-overhead.py ENGINE
      the engine's own overshoot: "go movetime N" answered how late, from
      sending "go" to reading "bestmove", over several positions and times.
  tools/uci-overhead.py --game ARTEFACT_DIR
      the delay outside the engine in a game played under xboard through
      polyglot (the UCI game test's artefacts: xboard.debug, polyglot.log):
      xboard's time from sending a move to reading the reply, less the
      engine's time from "go" to "bestmove".
"""
import os
import re
import subprocess
import sys
import tempfile
import time

POSITIONS = [
    "startpos moves e2e4 e7e5 g1f3 b8c6 f1b5 a7a6",
    "fen r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ - 0 1",
    "fen 8/5pk1/6p1/8/3R4/6P1/5PKP/2r5 w - - 0 1",
]


def engine_overshoot(binary):
    work = tempfile.mkdtemp(prefix="quorvel-overhead-")
    engine = subprocess.Popen([binary], cwd=work, stdin=subprocess.PIPE, stdout=subprocess.PIPE, bufsize=0)

    def send(line):
        engine.stdin.write((line + "\n").encode())

    def read_until(prefix):
        while True:
            line = engine.stdout.readline().decode()
            if not line or line.startswith(prefix):
                return line

    send("uci")
    read_until("uciok")
    for movetime in (20, 50, 100, 300):
        late = []
        for _ in range(8):
            for position in POSITIONS:
                send("position " + position)
                start = time.monotonic()
                send("go movetime %d" % movetime)
                read_until("bestmove")
                late.append((time.monotonic() - start) * 1000 - movetime)
        print("movetime %4d ms: late by %.1f ms on average, %.1f ms at most (%d searches)"
              % (movetime, sum(late) / len(late), max(late), len(late)))
    send("quit")
    engine.wait()


def game_delay(folder):
    gui = []
    start = None
    for line in open(os.path.join(folder, "xboard.debug"), errors="replace"):
        match = re.match(r"^([0-9]+) (>first : (usermove|go)|<first : move)", line)
        if not match:
            continue
        if match.group(2).startswith(">"):
            start = int(match.group(1))
        elif start is not None:
            gui.append(int(match.group(1)) - start)
            start = None
    engine = []
    go = None
    for line in open(os.path.join(folder, "polyglot.log"), errors="replace"):
        match = re.match(r"([0-9.]+) (.*)", line)
        if not match:
            continue
        if match.group(2).startswith("Adapter->Engine: go"):
            go = float(match.group(1))
        elif match.group(2).startswith("Engine->Adapter: bestmove") and go is not None:
            engine.append((float(match.group(1)) - go) * 1000)
            go = None
    delays = [g - e for g, e in zip(gui, engine)]
    print("%d moves: outside the engine %.1f ms on average, %.0f ms at most"
          % (len(delays), sum(delays) / len(delays), max(delays)))


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--game":
        game_delay(sys.argv[2])
    elif len(sys.argv) == 2:
        engine_overshoot(sys.argv[1])
    else:
        sys.exit(__doc__)
