#!/usr/bin/env python3
"""Side-by-side footprint of Kelvo and the programs people would use instead.

All of them run at once on a private Xvfb with openbox, refreshing once a second; the start
order rotates from round to round. The last row is a Qt window that wakes each second and
draws nothing: the floor below which no Qt program refreshing once a second can go. After a warm-up each is watched for a while through /proc:

  cpu s     CPU time used in the period, all threads (schedstat)
  wake/min  voluntary context switches of the main thread, per minute: its wake-ups
  ctx/min   all context switches of all threads, per minute
  thr       threads
  rss MB    VmRSS;  pss MB: proportional set size;  pclean/pdirty MB: private clean and dirty
  map ms    from the start of the process to its first mapped window (X server events), the
            median of --starts starts in the round: one start varies by a third from the next

Usage: peers.py KELVO MINIMAL_QT_WINDOW MAPWAIT [--rounds 3] [--warmup 5] [--seconds 60]
                [--starts 5]
"""
import argparse
import os
import signal
import statistics
import subprocess
import sys
import tempfile
import time

FIGURES = ["cpu s", "wake/min", "ctx/min", "thr", "rss MB", "pss MB", "pclean MB", "pdirty MB",
           "map ms"]


def start_x(work):
    """A private Xvfb with openbox; returns the display name and the processes."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=[write_end],
                            stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as display_pipe:
        display = ":" + display_pipe.readline().strip()
    os.environ["DISPLAY"] = display
    os.environ["XDG_CONFIG_HOME"] = os.path.join(work, "config")
    os.environ.pop("WAYLAND_DISPLAY", None)
    openbox = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True,
                          text=True).stdout.find("window id") >= 0:
            break
        time.sleep(0.05)
    return display, [openbox, xvfb]


def read(path):
    with open(path) as f:
        return f.read()


def status_field(text, key):
    for line in text.splitlines():
        if line.startswith(key + ":"):
            return int(line.split()[1])
    return 0


def snapshot(pid):
    """CPU ns and context switches of a process, with its memory."""
    cpu_ns = 0
    switches = 0
    tasks = os.listdir(f"/proc/{pid}/task")
    for task in tasks:
        cpu_ns += int(read(f"/proc/{pid}/task/{task}/schedstat").split()[0])
        status = read(f"/proc/{pid}/task/{task}/status")
        switches += status_field(status, "voluntary_ctxt_switches")
        switches += status_field(status, "nonvoluntary_ctxt_switches")
    main = read(f"/proc/{pid}/task/{pid}/status")
    rollup = read(f"/proc/{pid}/smaps_rollup")
    return {
        "cpu": cpu_ns, "wake": status_field(main, "voluntary_ctxt_switches"), "ctx": switches,
        "thr": len(tasks), "rss": status_field(read(f"/proc/{pid}/status"), "VmRSS"),
        "pss": status_field(rollup, "Pss"), "pclean": status_field(rollup, "Private_Clean"),
        "pdirty": status_field(rollup, "Private_Dirty"),
    }


def start(mapwait, argv):
    """Starts a program and waits for its window: its pid and the milliseconds it took. A
    program that shows no window gets a second chance before the run is given up."""
    for _ in range(2):
        out = subprocess.run([mapwait] + argv, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True, timeout=30)
        if out.returncode == 0:
            pid, ms = out.stdout.split()
            return int(pid), float(ms)
    sys.exit(f"{argv[0]} showed no window")


def stop(pid):
    """Asks a program to end and waits until it has (killing it after 3 s), so that the next
    start of the same program does not meet it still on its way out."""
    try:
        os.kill(pid, signal.SIGTERM)
        for _ in range(60):
            if read(f"/proc/{pid}/stat").split(")")[-1].split()[0] == "Z":
                return
            time.sleep(0.05)
        os.kill(pid, signal.SIGKILL)
    except (ProcessLookupError, FileNotFoundError):
        pass  # already gone


def table(title, rows, names):
    print(f"\n{title}")
    print(f"{'program':<34}" + "".join(f"{f:>11}" for f in FIGURES))
    for name in names:
        print(f"{name:<34}" + "".join(f"{rows[name][f]:>11.{prec(f)}f}" for f in FIGURES))


def prec(figure):
    return 4 if figure == "cpu s" else 2 if figure.endswith("MB") else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("kelvo")
    parser.add_argument("minimal")
    parser.add_argument("mapwait")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--warmup", type=float, default=5)
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--starts", type=int, default=5)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="kelvo-peers-")
    conky_config = os.path.join(work, "conky.conf")
    with open(conky_config, "w") as f:
        f.write('conky.config = { out_to_x = true, out_to_console = false, own_window = true,\n'
                '  own_window_type = "normal", alignment = "top_right", update_interval = 1,\n'
                '  use_xft = true, font = "DejaVu Sans:size=9", double_buffer = true }\n'
                'conky.text = [[Mem: $mem / $memmax]]\n')
    programs = {
        "Kelvo": [os.path.abspath(args.kelvo)],
        "xosview, memory meter only": ["xosview", "-geometry", "200x60+0+0", "-cpu", "-load",
                                       "-swap", "-page", "-disk", "-int", "-net", "-gfx",
                                       "-battery", "-irqrate", "+mem"],
        "conky, one memory line": ["conky", "-q", "-c", conky_config],
        "minimal Qt 6 window, three lines": [os.path.abspath(args.minimal)],
        "bare Qt 6 window, waking only": [os.path.abspath(args.minimal), "--wake-only"],
    }
    names = list(programs)
    display, servers = start_x(work)
    print(f"display {display}; {args.rounds} rounds of {args.seconds:.0f} s after "
          f"{args.warmup:.0f} s of warm-up; {os.cpu_count()} processors")
    subprocess.run(["xdotool", "mousemove", "1", "1"])  # the pointer away from every window
    # One start of each, not counted, so that no round's first program pays for bringing the
    # shared libraries and fonts into memory.
    for name in names:
        pid, _ = start(args.mapwait, programs[name])
        time.sleep(1)
        stop(pid)
    per_round = []
    try:
        for r in range(args.rounds):
            order = names[r % len(names):] + names[:r % len(names)]
            pids, mapped = {}, {}
            for name in order:
                times = []
                for _ in range(args.starts - 1):
                    pid, ms = start(args.mapwait, programs[name])
                    times.append(ms)
                    stop(pid)
                pids[name], ms = start(args.mapwait, programs[name])  # the one watched
                mapped[name] = statistics.median(times + [ms])
            time.sleep(args.warmup)
            before = {name: snapshot(pids[name]) for name in names}
            time.sleep(args.seconds)
            after = {name: snapshot(pids[name]) for name in names}
            per_minute = 60 / args.seconds
            rows = {}
            for name in names:
                a, b = before[name], after[name]
                rows[name] = {
                    "cpu s": (b["cpu"] - a["cpu"]) / 1e9, "wake/min": (b["wake"] - a["wake"]) *
                    per_minute, "ctx/min": (b["ctx"] - a["ctx"]) * per_minute, "thr": b["thr"],
                    "rss MB": b["rss"] / 1024, "pss MB": b["pss"] / 1024,
                    "pclean MB": b["pclean"] / 1024, "pdirty MB": b["pdirty"] / 1024,
                    "map ms": mapped[name],
                }
            per_round.append(rows)
            table(f"round {r + 1} (start order: {', '.join(order)})", rows, names)
            for pid in pids.values():
                stop(pid)
    finally:
        for p in servers:
            p.terminate()

    medians = {name: {f: statistics.median(r[name][f] for r in per_round) for f in FIGURES}
               for name in names}
    table(f"medians of {args.rounds} rounds", medians, names)
    print(f"\nratio to Kelvo (medians; above 1: the program costs more than Kelvo)")
    print(f"{'program':<34}" + "".join(f"{f:>11}" for f in FIGURES))
    for name in names:
        k = medians["Kelvo"]
        print(f"{name:<34}" + "".join(
            f"{(medians[name][f] / k[f] if k[f] else float('nan')):>11.2f}" for f in FIGURES))


if __name__ == "__main__":
    main()
