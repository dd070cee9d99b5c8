#!/usr/bin/env python3
"""Plays MOVES engine moves at "st SECONDS" (the engine plays both sides,
one "go" per move) and prints the worst and mean time from "go" to the
engine's "move" line, and the worst overrun of SECONDS.
   tools/st-overrun.py ENGINE [SECONDS] [MOVES]"""
import os, select, subprocess, sys, tempfile, time

engine = os.path.abspath(sys.argv[1])
seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 1.0
moves = int(sys.argv[3]) if len(sys.argv) > 3 else 50
work = tempfile.mkdtemp(prefix="quorvel-st-")
p = subprocess.Popen([engine], cwd=work, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
pending = b""

def send(line):
    p.stdin.write(line + "\n")
    p.stdin.flush()

def read_until(prefixes, timeout):
    """Reads the engine's output unbuffered, so that select sees every byte."""
    global pending
    deadline = time.monotonic() + timeout
    fd = p.stdout.fileno()
    while True:
        while b"\n" in pending:
            line, pending = pending.split(b"\n", 1)
            text = line.decode(errors="replace")
            if any(text.startswith(prefix) for prefix in prefixes):
                return text
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            return None
        chunk = os.read(fd, 65536)
        if not chunk:
            return None
        pending += chunk

send("xboard")
send("new")
send("force")
send("st %g" % seconds)
send("ping 1")
read_until(["pong 1"], 30)
times = []
while len(times) < moves:
    start = time.monotonic()
    send("go")
    line = read_until(["move ", "Entering forcemode."], seconds + 10)
    took = time.monotonic() - start
    if line is None:
        print("no move within %g s" % (seconds + 10))
        break
    if line.startswith("Entering"):  # the game ended: another one
        send("new")
        send("force")
        continue
    times.append(took)
    send("force")
send("quit")
p.wait(timeout=10)
if times:
    worst = max(times)
    print("%d moves at st %g: worst %.3f s, mean %.3f s, worst overrun %+.3f s"
          % (len(times), seconds, worst, sum(times) / len(times), worst - seconds))
