#!/usr/bin/env python3
"""Runs commands side by side in rounds and reports ratios round by round.

  interleave.py RUNS [--ratio A/B+C ...] ::: LABEL COMMAND... ::: LABEL COMMAND...

Each round runs every command once, in an order that turns from round to
round, so a change in the machine's load falls on all of them alike. For
each command: the median, least and most wall and CPU time (user + system,
from the kernel's accounting of the finished child) and the largest peak
RSS. For each ratio (a label over the sum of one or more labels): the ratio
of that round's times, as median, least and most over the rounds, for wall
and CPU time. Lines are whitespace-separated for awk:

  time LABEL wall-median wall-least wall-most cpu-median cpu-least cpu-most peak-KB
  ratio NAME wall-median wall-least wall-most cpu-median cpu-least cpu-most
"""
import os
import statistics
import subprocess
import sys
import time


def run(cmd):
    start = time.perf_counter()
    child = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if status:
        sys.exit("failed: " + " ".join(cmd))
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss


def main(argv):
    runs = int(argv[0])
    ratios, rest = [], argv[1:]
    while rest and rest[0] == "--ratio":
        ratios.append(rest[1])
        rest = rest[2:]
    commands, current = [], None
    for a in rest:
        if a == ":::":
            current = []
            commands.append(current)
        else:
            current.append(a)
    labels = [c[0] for c in commands]
    samples = {label: [] for label in labels}
    for r in range(runs):
        turn = r % len(commands)
        for label, *cmd in commands[turn:] + commands[:turn]:
            samples[label].append(run(cmd))

    m = statistics.median
    for label in labels:
        walls = [s[0] for s in samples[label]]
        cpus = [s[1] for s in samples[label]]
        peak = max(s[2] for s in samples[label])
        print(f"time {label} {m(walls):.4f} {min(walls):.4f} {max(walls):.4f} "
              f"{m(cpus):.4f} {min(cpus):.4f} {max(cpus):.4f} {peak}")
    for ratio in ratios:
        top, bottom = ratio.split("/")
        parts = bottom.split("+")
        out = [ratio]
        for field in (0, 1):
            values = [samples[top][r][field] / sum(samples[p][r][field] for p in parts) for r in range(runs)]
            out += [f"{m(values):.3f}", f"{min(values):.3f}", f"{max(values):.3f}"]
        print("ratio " + " ".join(out))


if __name__ == "__main__":
    main(sys.argv[1:])
