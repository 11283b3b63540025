#!/usr/bin/env python3
"""What Kelvo and the programs people would use instead cost the whole system.

Each program runs alone on its own Xvfb with openbox, refreshing once a second, the pointer
away from it; the order of the programs rotates from round to round. After a warm-up it is
watched for a while, and so are its X server and its window manager: an X client's cost
includes what the server does with what it sends. Two workloads:

  steady   nothing else on the machine changes memory on purpose: in a quiet hour most
           ticks draw no new figure
  churn    bench/peers/churner maps and frees a few MB several times a second, so that
           every tick has a new "Aval=" figure to draw, as on a busy desktop

The last program is a Qt window that wakes each second and draws nothing: the floor below
which no Qt program refreshing once a second can go. Figures, per program and window:

  Aval/min  how many times a minute available memory differed from a second before: how
            many of a monitor's ticks had a new figure to draw
  client    CPU s per minute of the program, all threads (/proc/PID/task/*/schedstat)
  X server  CPU s per minute of its Xvfb;  WM: of its openbox;  total: the three together
  wake/min  voluntary context switches of the program's main thread per minute: its wake-ups
  ctx/min   all context switches of all its threads, per minute;  thr: threads
  rss MB    VmRSS;  pss MB: proportional set size;  pclean/pdirty MB: private clean and dirty
  map ms    from the start of the process to its first mapped window (X server events), the
            median of --starts starts in the round: one start varies by a third from the next

The summary gives, per workload, each figure's median over the rounds with its range, and
Kelvo's cost as a ratio to each program's, computed round by round, with its range.

--together gives the second view: all programs at once on one X server, each program's own
CPU only (the server's and the window manager's are shared, and printed as one line).
--shm adds Kelvo flushing through MIT-SHM shared memory rather than the X socket.

Usage: peers.py KELVO MINIMAL_QT_WINDOW MAPWAIT [--rounds 5] [--warmup 5] [--seconds 30]
                [--starts 3] [--workloads steady,churn] [--shm] [--together]
The churner is looked for beside MAPWAIT.
"""
import argparse
import os
import signal
import statistics
import subprocess
import sys
import tempfile
import time

CPU = ["client", "X server", "WM", "total"]
CLIENT = ["Aval/min", "wake/min", "ctx/min", "thr", "rss MB", "pss MB", "pclean MB", "pdirty MB",
          "map ms"]
WORKLOADS = ["steady", "churn"]
KELVO = "Kelvo"
KELVO_SHM = "Kelvo, shared-memory flush"


def start_x(work):
    """A private Xvfb with openbox; returns the display name and the processes, the window
    manager first."""
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
    subprocess.run(["xdotool", "mousemove", "1", "1"])  # the pointer away from every window
    return display, [openbox, xvfb]


def stop_x(servers):
    for p in servers:
        p.terminate()
    for p in servers:
        try:
            p.wait(timeout=5)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()


def read(path):
    with open(path) as f:
        return f.read()


def status_field(text, key):
    for line in text.splitlines():
        if line.startswith(key + ":"):
            return int(line.split()[1])
    return 0


def cpu_ns(pid):
    """CPU time of all the threads of a process."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            total += int(read(f"/proc/{pid}/task/{task}/schedstat").split()[0])
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return total


def snapshot(pid):
    """CPU ns and context switches of a process, with its memory."""
    switches = 0
    tasks = os.listdir(f"/proc/{pid}/task")
    for task in tasks:
        status = read(f"/proc/{pid}/task/{task}/status")
        switches += status_field(status, "voluntary_ctxt_switches")
        switches += status_field(status, "nonvoluntary_ctxt_switches")
    main = read(f"/proc/{pid}/task/{pid}/status")
    rollup = read(f"/proc/{pid}/smaps_rollup")
    return {
        "cpu": cpu_ns(pid), "wake": status_field(main, "voluntary_ctxt_switches"),
        "ctx": switches, "thr": len(tasks), "rss": status_field(read(f"/proc/{pid}/status"),
                                                               "VmRSS"),
        "pss": status_field(rollup, "Pss"), "pclean": status_field(rollup, "Private_Clean"),
        "pdirty": status_field(rollup, "Private_Dirty"),
    }


def available_kb():
    with open("/proc/meminfo") as f:
        for line in f:
            if line.startswith("MemAvailable:"):
                return int(line.split()[1])
    return 0


def watch_memory(seconds):
    """Waits out a window, sampling available memory each second as a monitor would: how many
    samples a minute differed from the one before."""
    end = time.monotonic() + seconds
    last, changes = available_kb(), 0
    while (left := end - time.monotonic()) > 0:
        time.sleep(min(1.0, left))
        now = available_kb()
        changes += now != last
        last = now
    return changes * 60 / seconds


def figures(before, after, seconds, mapped):
    """A program's figures over a window, per minute, from its snapshots."""
    per_minute = 60 / seconds
    return {
        "client": (after["cpu"] - before["cpu"]) / 1e9 * per_minute,
        "wake/min": (after["wake"] - before["wake"]) * per_minute,
        "ctx/min": (after["ctx"] - before["ctx"]) * per_minute, "thr": after["thr"],
        "rss MB": after["rss"] / 1024, "pss MB": after["pss"] / 1024,
        "pclean MB": after["pclean"] / 1024, "pdirty MB": after["pdirty"] / 1024,
        "map ms": mapped,
    }


def start(mapwait, argv, env=None):
    """Starts a program and waits for its window: its pid and the milliseconds it took. A
    program that shows no window gets a second chance before the run is given up."""
    for _ in range(2):
        out = subprocess.run([mapwait] + argv, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True, timeout=30, env=env)
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


def start_watched(args, argv, env):
    """Starts a program --starts times, leaving the last one running: its pid and the median
    time to its mapped window."""
    times = []
    for _ in range(args.starts - 1):
        pid, ms = start(args.mapwait, argv, env)
        times.append(ms)
        stop(pid)
    pid, ms = start(args.mapwait, argv, env)
    return pid, statistics.median(times + [ms])


class Churner:
    """The churner for the length of a `with` block, when the workload asks for one."""

    def __init__(self, path, workload):
        self.path, self.workload, self.process = path, workload, None

    def __enter__(self):
        if self.workload == "churn":
            self.process = subprocess.Popen([self.path, "--seconds", "3600"])
        return self

    def __exit__(self, *_):
        if self.process:
            self.process.terminate()
            self.process.wait()


def env_of(name):
    """The environment a program starts in: Kelvo's shared-memory row asks for it with
    QT_XCB_NO_MITSHM=0."""
    env = dict(os.environ)
    if name == KELVO_SHM:
        env["QT_XCB_NO_MITSHM"] = "0"
    return env


def watch_alone(args, work, name, argv, workload):
    """One program alone on its own X server and window manager: its figures."""
    _, servers = start_x(work)
    wm, server = servers
    try:
        with Churner(args.churner, workload):
            pid, mapped = start_watched(args, argv, env_of(name))
            time.sleep(args.warmup)
            before = snapshot(pid), cpu_ns(server.pid), cpu_ns(wm.pid)
            changes = watch_memory(args.seconds)
            after = snapshot(pid), cpu_ns(server.pid), cpu_ns(wm.pid)
            stop(pid)
    finally:
        stop_x(servers)
    row = figures(before[0], after[0], args.seconds, mapped)
    per_minute = 60 / args.seconds
    row["X server"] = (after[1] - before[1]) / 1e9 * per_minute
    row["WM"] = (after[2] - before[2]) / 1e9 * per_minute
    row["total"] = row["client"] + row["X server"] + row["WM"]
    row["Aval/min"] = changes
    return row


def watch_together(args, work, programs, workload, order):
    """All programs at once on one X server: each one's figures, and the CPU of the server and
    the window manager they share."""
    names = list(programs)
    _, servers = start_x(work)
    wm, server = servers
    try:
        with Churner(args.churner, workload):
            pids, mapped = {}, {}
            for name in order:
                pids[name], mapped[name] = start_watched(args, programs[name],
                                                         env_of(name))
            time.sleep(args.warmup)
            before = {name: snapshot(pids[name]) for name in names}
            shared_before = cpu_ns(server.pid) + cpu_ns(wm.pid)
            changes = watch_memory(args.seconds)
            after = {name: snapshot(pids[name]) for name in names}
            shared_after = cpu_ns(server.pid) + cpu_ns(wm.pid)
            for pid in pids.values():
                stop(pid)
    finally:
        stop_x(servers)
    rows = {name: figures(before[name], after[name], args.seconds, mapped[name])
            for name in names}
    shared = (shared_after - shared_before) / 1e9 * 60 / args.seconds
    for row in rows.values():
        row["X server"] = row["WM"] = float("nan")
        row["total"] = row["client"]
        row["Aval/min"] = changes
    return rows, shared


def prec(figure):
    return 4 if figure in CPU else 2 if figure.endswith("MB") else 1


def table(title, rows, names, columns):
    print(f"\n{title}")
    print(f"{'program':<34}" + "".join(f"{f:>11}" for f in columns))
    for name in names:
        print(f"{name:<34}" + "".join(f"{rows[name][f]:>11.{prec(f)}f}" for f in columns))


def spread(values, digits):
    return (f"{statistics.median(values):.{digits}f} "
            f"[{min(values):.{digits}f}–{max(values):.{digits}f}]")


def summary(title, per_round, names, columns):
    """Medians over the rounds with their ranges, and Kelvo's ratio to each program."""
    print(f"\n{title}: median [min–max] of {len(per_round)} rounds")
    print(f"{'program':<34}" + "".join(f"{f:>24}" for f in columns))
    for name in names:
        print(f"{name:<34}" + "".join(
            f"{spread([r[name][f] for r in per_round], prec(f)):>24}" for f in columns))
    ratios = [f for f in columns if f in CPU + ["wake/min", "pdirty MB", "map ms"]]
    print(f"\n{title}: Kelvo ÷ program, each round's ratio, median [min–max]")
    print(f"{'program':<34}" + "".join(f"{f:>24}" for f in ratios))
    for name in names:
        if name == KELVO:
            continue
        cells = []
        for f in ratios:
            values = [r[KELVO][f] / r[name][f] for r in per_round if r[name][f]]
            cells.append(f"{spread(values, 2) if values else '–':>24}")
        print(f"{name:<34}" + "".join(cells))


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("kelvo")
    parser.add_argument("minimal")
    parser.add_argument("mapwait")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--warmup", type=float, default=5)
    parser.add_argument("--seconds", type=float, default=30)
    parser.add_argument("--starts", type=int, default=3)
    parser.add_argument("--workloads", default=",".join(WORKLOADS))
    parser.add_argument("--shm", action="store_true")
    parser.add_argument("--together", action="store_true")
    args = parser.parse_args()
    args.mapwait = os.path.abspath(args.mapwait)
    args.churner = os.path.join(os.path.dirname(args.mapwait), "churner")
    workloads = args.workloads.split(",")
    if any(w not in WORKLOADS for w in workloads):
        sys.exit(f"--workloads takes {', '.join(WORKLOADS)}")

    work = tempfile.mkdtemp(prefix="kelvo-peers-")
    conky_config = os.path.join(work, "conky.conf")
    with open(conky_config, "w") as f:
        f.write('conky.config = { out_to_x = true, out_to_console = false, own_window = true,\n'
                '  own_window_type = "normal", alignment = "top_right", update_interval = 1,\n'
                '  use_xft = true, font = "DejaVu Sans:size=9", double_buffer = true }\n'
                'conky.text = [[Mem: $mem / $memmax]]\n')
    programs = {
        KELVO: [os.path.abspath(args.kelvo)],
        "xosview, memory meter only": ["xosview", "-geometry", "200x60+0+0", "-cpu", "-load",
                                       "-swap", "-page", "-disk", "-int", "-net", "-gfx",
                                       "-battery", "-irqrate", "+mem"],
        "conky, one memory line": ["conky", "-q", "-c", conky_config],
        "minimal Qt 6 window, three lines": [os.path.abspath(args.minimal)],
        "bare Qt 6 window, waking only": [os.path.abspath(args.minimal), "--wake-only"],
    }
    if args.shm:
        programs = {KELVO: programs[KELVO], KELVO_SHM: programs[KELVO],
                    **{n: a for n, a in programs.items() if n != KELVO}}
    names = list(programs)
    view = "all at once on one X server" if args.together else "each alone on its own X server"
    print(f"{view}; {args.rounds} rounds of {args.seconds:.0f} s after {args.warmup:.0f} s of "
          f"warm-up; workloads {', '.join(workloads)}; {os.cpu_count()} processors; "
          f"load average {os.getloadavg()[0]:.1f}")

    # One start of each, not counted, so that no round's first program pays for bringing the
    # shared libraries and fonts into memory.
    _, servers = start_x(work)
    try:
        for name in names:
            pid, _ = start(args.mapwait, programs[name], env_of(name))
            time.sleep(1)
            stop(pid)
    finally:
        stop_x(servers)

    per_round = {w: [] for w in workloads}
    shared = {w: [] for w in workloads}
    columns = ["client"] + CLIENT if args.together else CPU + CLIENT
    for r in range(args.rounds):
        order = names[r % len(names):] + names[:r % len(names)]
        # The workloads alternate too, so that neither always meets the same hour.
        for workload in workloads[r % len(workloads):] + workloads[:r % len(workloads)]:
            if args.together:
                rows, server = watch_together(args, work, programs, workload, order)
                shared[workload].append(server)
            else:
                rows = {name: watch_alone(args, work, name, programs[name], workload)
                        for name in order}
            per_round[workload].append(rows)
            table(f"round {r + 1}, {workload} (order: {', '.join(order)}; load average "
                  f"{os.getloadavg()[0]:.1f})", rows, names, columns)
            if args.together:
                print(f"{'X server and WM, shared':<34}{server:>11.4f}")

    for workload in workloads:
        summary(f"{workload}, {view}", per_round[workload], names,
                ["client"] if args.together else CPU)
        if args.together:
            print(f"{'X server and WM, shared':<34}{spread(shared[workload], 4):>24}")
    for workload in workloads:
        print(f"\n{workload}: the other figures, median [min–max]")
        print(f"{'program':<34}" + "".join(f"{f:>24}" for f in CLIENT))
        for name in names:
            print(f"{name:<34}" + "".join(
                f"{spread([r[name][f] for r in per_round[workload]], prec(f)):>24}"
                for f in CLIENT))


if __name__ == "__main__":
    main()
