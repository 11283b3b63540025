#!/usr/bin/env python3
"""Where a start goes: Kelvo and the minimal Qt window started in turn on a private Xvfb with
openbox, each start timed step by step (bench/peers/startstamp.cpp, loaded with LD_PRELOAD).

A step that a program does not take (the minimal window reads no settings) is counted in
the next. Each row is the median over the starts of the time from the step before; one
start and the next differ by milliseconds on a busy machine, so take enough of them.

Usage: startphases.py KELVO MINIMAL_QT_WINDOW MAPWAIT STARTSTAMP_LIBRARY [--starts 100]
"""
import argparse
import os
import statistics
import tempfile

from peers import start, start_x, stop

STEPS = [
    ("linked", "exec → libraries bound, just before main"),
    ("app", "→ QApplication called"),
    ("app-built", "→ QApplication built"),
    ("settings", "→ first settings read: the window and its controls built"),
    ("map-request", "→ window map request"),
    ("mapped", "→ window mapped: the window manager's part"),
]


def one_start(mapwait, argv, stamps_file):
    """The milliseconds from exec to each step of one start."""
    open(stamps_file, "w").close()
    pid, mapped_ms = start(mapwait, argv)
    stop(pid)
    with open(stamps_file) as f:
        steps = dict(line.split() for line in f if len(line.split()) == 2)
    at = {step: float(ms) for step, ms in steps.items()}
    at["mapped"] = mapped_ms
    return at


def phases(at):
    """Each step's time from the step before, for the steps the start took."""
    out, before = {}, 0.0
    for step, _ in STEPS:
        if step in at:
            out[step] = at[step] - before
            before = at[step]
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    for name in ("kelvo", "minimal", "mapwait", "startstamp"):
        parser.add_argument(name)
    parser.add_argument("--starts", type=int, default=100)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="kelvo-start-")
    stamps_file = os.path.join(work, "stamps")
    programs = {"Kelvo": [os.path.abspath(args.kelvo)],
                "minimal Qt window": [os.path.abspath(args.minimal)]}
    _, servers = start_x(work)
    os.environ["KELVO_START_STAMPS"] = stamps_file
    os.environ["LD_PRELOAD"] = os.path.abspath(args.startstamp)
    try:
        for argv in programs.values():  # not counted: brings the libraries into memory
            one_start(args.mapwait, argv, stamps_file)
        runs = {name: [] for name in programs}
        for _ in range(args.starts):
            for name, argv in programs.items():
                runs[name].append(one_start(args.mapwait, argv, stamps_file))
    finally:
        for p in servers:
            p.terminate()

    print(f"{args.starts} starts of each, in turn; medians in ms; {os.cpu_count()} processors")
    print(f"{'step':<58}" + "".join(f"{name:>20}" for name in programs))
    for step, label in STEPS:
        cells = []
        for name in programs:
            times = [phases(at)[step] for at in runs[name] if step in at]
            cells.append(f"{statistics.median(times):>20.2f}" if times else f"{'-':>20}")
        print(f"{label:<58}" + "".join(cells))
    totals = {name: statistics.median(at["mapped"] for at in runs[name]) for name in programs}
    print(f"{'exec → mapped':<58}" + "".join(f"{totals[name]:>20.2f}" for name in programs))
    kelvo, minimal = totals.values()
    print(f"Kelvo / minimal window, exec → mapped: {kelvo / minimal:.3f}")


if __name__ == "__main__":
    main()
