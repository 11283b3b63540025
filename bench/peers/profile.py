#!/usr/bin/env python3
"""Where a program's instructions go while available memory churns: the program alone on its
own Xvfb with openbox and the churner, the program (or, with --server, its Xvfb) under
callgrind. Instrumentation is switched on after the warm-up, so that only settled ticks count,
and off again after --seconds; with a 1 s period, instructions per second are instructions per
tick. Prints the total and the inclusive cost of the functions that name where a repaint's
time goes, per second, and keeps the callgrind file for callgrind_annotate.

    profile.py build/app/kelvo build/bench/peers/churner --out before.callgrind
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from peers import Churner, start_x, stop_x  # noqa: E402

# Inclusive costs worth a line each: the repaint, its parts and the tick's own work.
PLACES = [
    "QWidgetRepaintManager::paintAndFlush",
    "QWidgetRepaintManager::flush",
    "QPainter::drawGlyphRun",
    "QRasterPaintEngine::alphaPenBlt",
    "QFontEngineFT::glyphData",
    "QPainter::fillRect",
    "frmMain::timMeasure_Timer",
    "MonitorLines::setLine",
    "MonitorLines::paint",
    "ProcMemInfo::read",
    "Dispatch",  # the X server's requests, then what it does for a put image
    "ProcPutImage",
    "pixman_blt",
    "WaitForSomething",
]

VALGRIND = ["valgrind", "--tool=callgrind", "--instr-atstart=no", "--dump-instr=no"]


def callgrind(pid, switch):
    subprocess.run(["callgrind_control", "-i", switch, str(pid)], check=True,
                   stdout=subprocess.DEVNULL)


def start_server_under_callgrind(out, work):
    """Xvfb under callgrind and openbox on it, as start_x does without valgrind."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(VALGRIND + ["--callgrind-out-file=" + out, "Xvfb", "-displayfd",
                                        str(write_end), "-screen", "0", "1024x768x24",
                                        "-nolisten", "tcp"],
                            pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as display_pipe:
        os.environ["DISPLAY"] = ":" + display_pipe.readline().strip()
    os.environ["XDG_CONFIG_HOME"] = os.path.join(work, "config")
    os.environ.pop("WAYLAND_DISPLAY", None)
    openbox = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(3)
    return xvfb, [openbox, xvfb]


def report(out, seconds):
    annotated = subprocess.run(["callgrind_annotate", "--inclusive=yes", "--threshold=100", out],
                               capture_output=True, text=True, check=True).stdout
    total = re.search(r"^([\d,]+) \(100\.0%\)\s+PROGRAM TOTALS", annotated, re.M)
    print(f"total: {int(total.group(1).replace(',', '')) / seconds / 1000:.1f} k instructions/s")
    for place in PLACES:
        for line in annotated.splitlines():
            m = re.match(r"\s*([\d,]+) \([\d. %]+\)\s+\S*:(\S*" + re.escape(place) + r"\S*)",
                         line)
            if m:
                k = int(m.group(1).replace(",", "")) / seconds / 1000
                print(f"  {m.group(2)[:90]}: {k:.1f} k/s")
                break


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("program")
    parser.add_argument("churner")
    parser.add_argument("--out", required=True, help="the callgrind file to write")
    parser.add_argument("--warmup", type=float, default=30)
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--server", action="store_true", help="profile the Xvfb instead")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as work:
        if args.server:
            watched, servers = start_server_under_callgrind(args.out, work)
            program = subprocess.Popen([args.program])
        else:
            _, servers = start_x(work)
            program = subprocess.Popen(VALGRIND + ["--callgrind-out-file=" + args.out,
                                                   args.program])
            watched = program
        try:
            with Churner(args.churner, "churn"):
                time.sleep(args.warmup)
                callgrind(watched.pid, "on")
                time.sleep(args.seconds)
                callgrind(watched.pid, "off")
        finally:
            program.terminate()
            program.wait()
            stop_x(servers)
    report(args.out, args.seconds)


if __name__ == "__main__":
    main()
