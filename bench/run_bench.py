#!/usr/bin/env python3
"""Morvane's benchmarks: start-up, memory, CPU of the tick, tick lateness, soak.

    bench/run_bench.py BUILD_DIR [--runs N] [--quick]
    bench/run_bench.py BUILD_DIR --launch-cost [--also MORVANE ...]

BUILD_DIR holds build/morvane's twin and the bench/ programs (make bench
builds them in build-bench). Prints a table of medians with the machine and
the Qt version. Takes about two minutes; --quick shortens the 60-second
measures to 10 seconds (and so reports no tick lateness) for trying the
script out.

What is measured, and how:
- First paint, Xvfb: the real morvane on a private Xvfb; xfirstpaint, an X
  client of its own, sees the first pixels drawn into the new window (DAMAGE
  extension). Time zero is taken just before the process is spawned.
- First paint, offscreen: Qt's offscreen platform draws into memory, which
  no outside program can see, so bench_app (Morvane built exactly as main()
  builds it) reports when its first paint event has been handled. It is
  also run on Xvfb, to show how closely it follows the real binary there.
  A bare QMainWindow set up from the same form (the same widgets, nothing
  of Morvane's behind them), timed the same ways, shows what Qt itself
  costs before any of Morvane's work.
- Launch cost: the real morvane and that bare window on Xvfb side by side,
  start by start in turns (the order turning each start), 9 starts each in
  4 runs; per run, the median of morvane over the median of the bare
  window. --launch-cost measures only this; --also adds other morvane
  binaries (an older build, say) to the same turns.
- Memory: VmRSS and RssAnon of the real morvane, 5 s after it was started.
- CPU of one tick: bench_tick, 10,000 calls of the tick each, on the
  thread's CPU clock.
- CPU per hour: utime + stime (/proc/PID/stat) and the scheduler's own
  nanosecond count (/proc/PID/task/*/schedstat) over 60 s, taken from 5 s
  after the start, times 60. Idle: the real morvane and bench_app; counting
  down: bench_app with a one-hour countdown started through the window's
  controls; and bench_app idle with the date set a day ahead, whose ticks
  leave the date pickers alone, to show what their running clock costs.
  A bare precise QTimer in a QCoreApplication gives Qt's own share.
- Tick lateness: bench_app records how long after its whole-second slot
  each of 60 ticks of the real one-second timer runs.
- Memory over a day's ticks: bench_soak calls the tick a million times
  (100,000 with --quick), counting and idle by turns, and compares malloc's
  bytes in use and the resident memory after the first 10,000 ticks with
  those at the end.
"""

import argparse
import os
import platform
import signal
import statistics
import subprocess
import sys
import tempfile
import time

TARGETS = {
    "first_paint_ms": 60.0,
    "launch_cost_ratio": 1.2,
    "rss_mib": 45.0,
    "anon_mib": 8.0,
    "idle_tick_us": 50.0,
    "running_tick_us": 200.0,
    "idle_cpu_s_per_h": 0.6,
    "running_cpu_s_per_h": 2.5,
    "lateness_median_ms": 2.0,
    "soak_heap_growth_kib": 64.0,
    "soak_resident_growth_kib": 1024.0,
}

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def machine():
    model = "unknown CPU"
    with open("/proc/cpuinfo") as cpuinfo:
        for line in cpuinfo:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    return "%s (%s, %d cores)" % (platform.node(), model, os.cpu_count())


class Xvfb:
    """A private X server; -displayfd tells which display it took."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
             # No reset as the last client leaves: a start in that moment
             # would find no display.
             "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()

    def stop(self):
        self.process.terminate()
        self.process.wait()


class Bench:
    def __init__(self, build_dir, runs, quick):
        self.build = os.path.abspath(build_dir)
        self.morvane = os.path.join(self.build, "morvane")
        self.bench_app = os.path.join(self.build, "bench", "bench_app")
        self.bench_tick = os.path.join(self.build, "bench", "bench_tick")
        self.bench_soak = os.path.join(self.build, "bench", "bench_soak")
        self.xfirstpaint = os.path.join(self.build, "bench", "xfirstpaint")
        for program in (self.morvane, self.bench_app, self.bench_tick, self.bench_soak, self.xfirstpaint):
            if not os.access(program, os.X_OK):
                sys.exit("run_bench: %s is missing; run make bench" % program)
        self.runs = runs
        self.missed = 0
        self.window_s = 10 if quick else 60
        self.soak_ticks = 100000 if quick else 1000000
        self.home = tempfile.TemporaryDirectory(prefix="morvane-bench-")
        self.log = open(os.path.join(self.home.name, "children.log"), "w")
        self.xvfb = Xvfb()

    def env(self, platform_name):
        env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "QT_LOGGING_RULES", "QT_QPA_PLATFORMTHEME"):
            env.pop(name, None)
        # Nothing here may reach the machine's buses or the user's settings.
        # TZ is left as the machine has it: unset, as on most desktops, it
        # makes every local-time conversion look at /etc/localtime again.
        env.update({
            "QT_QPA_PLATFORM": platform_name,
            "DISPLAY": self.xvfb.display,
            "DBUS_SYSTEM_BUS_ADDRESS": "unix:path=/nonexistent/morvane-bench-system",
            "DBUS_SESSION_BUS_ADDRESS": "unix:path=/nonexistent/morvane-bench-session",
            "XDG_CONFIG_HOME": os.path.join(self.home.name, "config"),
            "XDG_RUNTIME_DIR": self.home.name,
        })
        return env

    def spawn(self, argv, platform_name, stdout=subprocess.DEVNULL, session=None):
        env = self.env(platform_name)
        if session is not None:
            # A session of its own: in one session, a second morvane hands
            # over to the first and ends.
            env["XDG_SESSION_ID"] = session
        return subprocess.Popen(argv, env=env, stdout=stdout, stderr=self.log, text=True)

    # --- first paint ------------------------------------------------------

    def first_paint_xvfb(self, argv):
        """(ms to the first pixels seen by xfirstpaint, ms to the program's
        own report of its first paint or None)."""
        watcher = subprocess.Popen([self.xfirstpaint, "3000"], env=self.env("xcb"),
                                   stdout=subprocess.PIPE, stderr=self.log, text=True)
        if watcher.stdout.readline().strip() != "ready":
            raise RuntimeError("xfirstpaint did not start")
        start = time.monotonic_ns()
        app = self.spawn(argv, "xcb", stdout=subprocess.PIPE)
        line = watcher.stdout.readline().split()
        watcher.wait()
        if not line or line[0] != "first-paint":
            app.terminate()
            app.communicate()
            raise RuntimeError("no first paint seen")
        own = None
        if argv[-1].endswith("first-paint"):
            out, _ = app.communicate(timeout=30)
            fields = out.split()
            if fields and fields[0] == "first-paint":
                own = (int(fields[1]) - start) / 1e6
        else:
            app.terminate()
            app.communicate()
        return (int(line[1]) - start) / 1e6, own

    def first_paint_harness(self, platform_name, mode="first-paint"):
        start = time.monotonic_ns()
        app = self.spawn([self.bench_app, mode], platform_name, stdout=subprocess.PIPE)
        out, _ = app.communicate(timeout=30)
        fields = out.split()
        if app.returncode != 0 or not fields or fields[0] != "first-paint":
            raise RuntimeError("bench_app reported no first paint")
        return (int(fields[1]) - start) / 1e6

    def launch_cost(self, others=(), runs=4, starts=9):
        """Per run, {name: [ms seen by xfirstpaint, one per start]}, the
        programs started in turns so that the machine's load falls on all
        of them alike."""
        programs = [("morvane", [self.morvane]), ("bare", [self.bench_app, "bare-first-paint"])]
        programs += [(other, [other]) for other in others]
        for _, argv in programs:
            self.first_paint_xvfb(argv)
        results = []
        for _ in range(runs):
            times = {name: [] for name, _ in programs}
            for start in range(starts):
                turn = programs[start % len(programs):] + programs[:start % len(programs)]
                for name, argv in turn:
                    times[name].append(self.seen_first_paint(argv))
            results.append(times)
        return results

    def seen_first_paint(self, argv):
        # On a busy machine xfirstpaint's watch on a new window can come
        # after the window was drawn into; such a start is counted and made
        # again.
        for _ in range(3):
            try:
                return self.first_paint_xvfb(argv)[0]
            except RuntimeError:
                self.missed += 1
        raise RuntimeError("no first paint seen in three starts of %s" % argv[0])

    def repeated(self, measure, *args):
        # Two runs first, unrecorded, so that every recorded one finds the
        # libraries and the font cache in memory, as a user's second start.
        for _ in range(2):
            measure(*args)
        return [measure(*args) for _ in range(self.runs)]

    # --- memory -----------------------------------------------------------

    @staticmethod
    def status_kib(pid, field):
        with open("/proc/%d/status" % pid) as status:
            for line in status:
                if line.startswith(field + ":"):
                    return int(line.split()[1])
        raise RuntimeError("no %s for %d" % (field, pid))

    def memory(self, platform_name, instances=5):
        apps = [self.spawn([self.morvane], platform_name, session="morvane-bench-%d" % i) for i in range(instances)]
        started = time.monotonic()
        time.sleep(max(0.0, started + 5.0 - time.monotonic()))
        rss = [self.status_kib(app.pid, "VmRSS") / 1024 for app in apps]
        anon = [self.status_kib(app.pid, "RssAnon") / 1024 for app in apps]
        for app in apps:
            app.terminate()
            app.wait()
        return rss, anon

    # --- CPU --------------------------------------------------------------

    @staticmethod
    def cpu_seconds(pid):
        """(utime + stime, the scheduler's run time over all threads)."""
        with open("/proc/%d/stat" % pid) as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        ticks = int(fields[11]) + int(fields[12])
        run_ns = 0
        for task in os.listdir("/proc/%d/task" % pid):
            try:
                with open("/proc/%d/task/%s/schedstat" % (pid, task)) as schedstat:
                    run_ns += int(schedstat.read().split()[0])
            except FileNotFoundError:
                pass
        return ticks / CLOCK_TICKS, run_ns / 1e9

    def tick_cpu(self):
        out = subprocess.run([self.bench_tick, "10000"], env=self.env("offscreen"), stdout=subprocess.PIPE,
                             stderr=self.log, text=True, check=True).stdout
        results = {}
        for line in out.splitlines():
            fields = line.split()
            if fields[0] == "qt":
                results["qt"] = fields[1]
            elif len(fields) >= 3 and fields[1] == "median":
                results[fields[0]] = float(fields[2])
        return results

    def soak(self):
        """(heap growth in KiB, resident growth in KiB, ticks, seconds)."""
        out = subprocess.run([self.bench_soak, str(self.soak_ticks)], env=self.env("offscreen"),
                             stdout=subprocess.PIPE, stderr=self.log, text=True, check=True).stdout.split()
        if not out or out[0] != "soak":
            raise RuntimeError("bench_soak reported nothing")
        heap = (int(out[5]) - int(out[4])) / 1024
        resident = int(out[8]) - int(out[7])
        return heap, resident, int(out[2]), float(out[13])

    def hour_of_cpu(self):
        """Idle and counting down side by side, on Xvfb."""
        processes = {
            "idle (morvane)": self.spawn([self.morvane], "xcb"),
            "idle (bench_app)": self.spawn([self.bench_app, "idle"], "xcb", stdout=subprocess.PIPE),
            "idle, date ahead (bench_app)": self.spawn([self.bench_app, "idle-ahead"], "xcb",
                                                        stdout=subprocess.PIPE),
            "counting down (bench_app)": self.spawn([self.bench_app, "countdown"], "xcb", stdout=subprocess.PIPE),
            "a bare QTimer (bench_app)": self.spawn([self.bench_app, "bare-ticks"], "xcb", stdout=subprocess.PIPE),
        }
        started = time.monotonic()
        time.sleep(max(0.0, started + 5.0 - time.monotonic()))
        first = {name: self.cpu_seconds(p.pid) for name, p in processes.items()}
        time.sleep(max(0.0, started + 5.0 + self.window_s - time.monotonic()))
        last = {name: self.cpu_seconds(p.pid) for name, p in processes.items()}
        scale = 3600.0 / self.window_s
        results = {}
        for name, process in processes.items():
            ticks = (last[name][0] - first[name][0]) * scale
            sched = (last[name][1] - first[name][1]) * scale
            process.terminate()
            out, _ = process.communicate()
            lateness = None
            running = None
            for line in (out or "").splitlines():
                fields = line.split()
                if fields[0] == "lateness-ms":
                    lateness = (float(fields[2]), float(fields[4]))
                elif fields[0] == "running":
                    running = fields[1]
            results[name] = (ticks, sched, lateness, running)
        return results

    def stop(self):
        self.xvfb.stop()
        self.log.close()


def median(values):
    return statistics.median(values)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build_dir")
    parser.add_argument("--runs", type=int, default=20, help="recorded starts per first-paint measure")
    parser.add_argument("--quick", action="store_true", help="10 s instead of 60 s for CPU per hour")
    parser.add_argument("--launch-cost", action="store_true", help="only morvane against the bare window")
    parser.add_argument("--also", action="append", default=[], metavar="MORVANE",
                        help="another morvane binary for --launch-cost's turns")
    options = parser.parse_args()

    bench = Bench(options.build_dir, options.runs, options.quick)
    rows = []

    if options.launch_cost:
        try:
            load = os.getloadavg()
            cost = bench.launch_cost([os.path.abspath(other) for other in options.also])
            load_after = os.getloadavg()
        finally:
            bench.stop()
        print("Launch cost on %s, %s; load %.2f before, %.2f after (1 min)"
              % (machine(), time.strftime("%Y-%m-%d %H:%M"), load[0], load_after[0]))
        for index, times in enumerate(cost, 1):
            bare = median(times["bare"])
            cells = ["bare %.2f ms" % bare]
            for name, values in times.items():
                if name != "bare":
                    cells.append("%s %.2f ms = %.2f" % (name, median(values), median(values) / bare))
            print("run %d: %s" % (index, "; ".join(cells)))
        pooled = {name: [ms for times in cost for ms in times[name]] for name in cost[0]}
        print("all %d starts each: %s" % (len(pooled["bare"]), "; ".join(
            "%s %.2f ms = %.2f" % (name, median(values), median(values) / median(pooled["bare"]))
            for name, values in pooled.items())))
        print("%d starts whose first paint xfirstpaint missed were made again" % bench.missed)
        return

    def row(what, value, unit, target=None, note=""):
        met = "" if target is None else ("yes" if value <= target else "NO")
        rows.append((what, "%.2f %s" % (value, unit), "" if target is None else "%g" % target, met, note))

    try:
        began = time.monotonic()
        paint_xvfb = [seen for seen, _ in bench.repeated(bench.first_paint_xvfb, [bench.morvane])]
        harness_xvfb = bench.repeated(bench.first_paint_xvfb, [bench.bench_app, "first-paint"])
        paint_offscreen = bench.repeated(bench.first_paint_harness, "offscreen")
        bare_xvfb = [seen for seen, _ in bench.repeated(bench.first_paint_xvfb, [bench.bench_app, "bare-first-paint"])]
        bare_offscreen = bench.repeated(bench.first_paint_harness, "offscreen", "bare-first-paint")
        cost = bench.launch_cost()
        rss_xvfb, anon_xvfb = bench.memory("xcb")
        rss_off, anon_off = bench.memory("offscreen")
        ticks = bench.tick_cpu()
        hour = bench.hour_of_cpu()
        soak = bench.soak()
        took = time.monotonic() - began
    finally:
        bench.stop()

    n = options.runs
    row("first paint, Xvfb (morvane)", median(paint_xvfb), "ms", TARGETS["first_paint_ms"],
        "median of %d, range %.1f-%.1f" % (n, min(paint_xvfb), max(paint_xvfb)))
    row("first paint, offscreen (bench_app)", median(paint_offscreen), "ms", TARGETS["first_paint_ms"],
        "median of %d, range %.1f-%.1f" % (n, min(paint_offscreen), max(paint_offscreen)))
    row("  bench_app on Xvfb, seen", median([seen for seen, _ in harness_xvfb]), "ms", None,
        "median of %d; xfirstpaint's view of the harness" % n)
    row("  bench_app on Xvfb, own report", median([own for _, own in harness_xvfb]), "ms", None,
        "median of %d; the harness's view of itself" % n)
    row("  bare window, same widgets, Xvfb", median(bare_xvfb), "ms", None,
        "median of %d; Qt alone, for comparison" % n)
    row("  bare window, same widgets, offscreen", median(bare_offscreen), "ms", None,
        "median of %d; Qt alone, for comparison" % n)
    ratios = [median(times["morvane"]) / median(times["bare"]) for times in cost]
    row("first paint, morvane / bare window", max(ratios), "x", TARGETS["launch_cost_ratio"],
        "worst of 4 runs of 9 starts each in turns; runs %s; %d missed starts made again"
        % (", ".join("%.2f" % r for r in ratios), bench.missed))
    row("resident memory at 5 s, Xvfb", median(rss_xvfb), "MiB", TARGETS["rss_mib"], "median of 5 processes")
    row("anonymous memory at 5 s, Xvfb", median(anon_xvfb), "MiB", TARGETS["anon_mib"], "median of 5 processes")
    row("resident memory at 5 s, offscreen", median(rss_off), "MiB", TARGETS["rss_mib"], "median of 5 processes")
    row("anonymous memory at 5 s, offscreen", median(anon_off), "MiB", TARGETS["anon_mib"], "median of 5 processes")
    row("CPU of an idle tick", ticks["idle-tick-us"], "us", TARGETS["idle_tick_us"],
        "median of 10,000 calls; countdown page shown, so the pickers wait")
    row("  idle, date page shown", ticks["idle-datepage-tick-us"], "us", None,
        "median of 10,000 calls; pickers brought up to now, as each second")
    row("  idle, date set ahead", ticks["idle-ahead-tick-us"], "us", None, "median of 10,000 calls; compare only")
    row("CPU of a running tick", ticks["running-tick-us"], "us", TARGETS["running_tick_us"], "median of 10,000 calls")
    row("  its repaint, after the tick", ticks["running-events-us"], "us", None,
        "offscreen; events the tick leaves behind")
    for name, (ticks_s, sched_s, lateness, running) in hour.items():
        if name.startswith("counting"):
            target = TARGETS["running_cpu_s_per_h"]
        elif "ahead" in name or "bare" in name:
            target = None
        else:
            target = TARGETS["idle_cpu_s_per_h"]
        note = "scheduler's count; utime+stime %.2f s/h" % ticks_s
        if running is not None and running != "Stop":
            note += "; COUNTDOWN DID NOT START"
        row("CPU per hour, %s" % name, sched_s, "s/h", target, note + " (from %d s)" % bench.window_s)
        if lateness is not None and ("bare" in name or target is not None):
            row("tick lateness, %s" % name, lateness[0], "ms", None if "bare" in name else TARGETS["lateness_median_ms"],
                "median of 60 ticks; worst %.2f ms" % lateness[1])

    heap_growth, resident_growth, soak_ticks, soak_s = soak
    row("heap growth over a soak", heap_growth, "KiB", TARGETS["soak_heap_growth_kib"],
        "%d ticks after the first 10,000, in %.1f s" % (soak_ticks - 10000, soak_s))
    row("resident growth over a soak", resident_growth, "KiB", TARGETS["soak_resident_growth_kib"],
        "the same ticks; VmRSS")

    print("Morvane benchmarks on %s, Qt %s, %s" % (machine(), ticks.get("qt", "?"),
                                                   time.strftime("%Y-%m-%d %H:%M")))
    widths = [max(len(r[i]) for r in rows + [("measure", "median", "target", "met", "")]) for i in range(5)]
    header = ("measure", "median", "target", "met", "how")
    print("  ".join(h.ljust(w) for h, w in zip(header, widths)).rstrip())
    print("  ".join("-" * w for w in widths))
    for r in rows:
        print("  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())
    print("(%.0f s)" % took)


if __name__ == "__main__":
    signal.signal(signal.SIGINT, signal.default_int_handler)
    main()
