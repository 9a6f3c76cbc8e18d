#!/usr/bin/env python3
"""A day of flying compressed: 24 hours of circuits at the demo airport, replayed and then flown live
against pistavox-sim at high speed, sampling the resident memory, open files and threads of the
program as it goes. Prints the figures; exits non-zero when the memory grows, a descriptor or a
thread leaks, or the logbook or the settings are damaged.

usage: benchmarks/soak.py BUILD_DIR [--hours H] [--speed X] [--live-hours H]   (BUILD_DIR: build/release)
The live part polls every 50 ms, the shortest interval the analysis derives a vertical speed over: at
--speed 100 a poll sees five seconds of flight, still enough to score each landing.
"""
import argparse
import csv
import os
import shutil
import subprocess
import sys
import tempfile
import time


def status_fields(pid):
    fields = {}
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            key, _, value = line.partition(":")
            fields[key] = value.strip()
    return int(fields["VmRSS"].split()[0]), int(fields["Threads"]), len(os.listdir(f"/proc/{pid}/fd"))


def watch(process, period_s=0.5):
    """Samples (resident KiB, threads, descriptors) until the process ends."""
    samples = []
    while process.poll() is None:
        try:
            samples.append(status_fields(process.pid))
        except (FileNotFoundError, ProcessLookupError):
            break
        time.sleep(period_s)
    return samples


def day_of_circuits(tools, workdir, hours):
    lap = os.path.join(workdir, "lap.csv")
    subprocess.run([os.path.join(tools, "pistavox-sim"), "--scenario", "pattern", "--airport", "PXIN",
                    "--runway", "27L", "--export", lap], check=True, cwd=workdir)
    with open(lap, newline="") as f:
        rows = list(csv.reader(f))
    header, body = rows[0], rows[1:]
    lap_s = float(body[-1][0]) + 1.0
    laps = int(hours * 3600 / lap_s) + 1
    day = os.path.join(workdir, "day.csv")
    with open(day, "w", newline="") as f:
        out = csv.writer(f, lineterminator="\n")
        out.writerow(header)
        for n in range(laps):
            for row in body:
                out.writerow([f"{float(row[0]) + n * lap_s:.2f}"] + row[1:])
    return day, laps, laps * len(body)


def report(name, samples):
    first, last = samples[min(4, len(samples) - 1)], samples[-1]
    peak = max(s[0] for s in samples)
    print(f"{name}: resident {first[0] / 1024:.1f} MiB after start, {last[0] / 1024:.1f} MiB at the end, "
          f"peak {peak / 1024:.1f} MiB; threads {first[1]} -> {last[1]}; descriptors {first[2]} -> {last[2]}; "
          f"{len(samples)} samples")
    return last[0] - first[0], last[1] - first[1], last[2] - first[2]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--hours", type=float, default=24.0)
    parser.add_argument("--speed", type=float, default=100.0)
    parser.add_argument("--live-hours", type=float, default=None, help="fly only this much of the day live")
    args = parser.parse_args()
    tools = os.path.join(os.path.abspath(args.build), "tools")
    program = os.path.join(os.path.abspath(args.build), "ui", "pistavox")
    source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    failures = []
    with tempfile.TemporaryDirectory() as workdir:
        shutil.copytree(os.path.join(source, "data"), os.path.join(workdir, "data"))
        day, laps, rows = day_of_circuits(tools, workdir, args.hours)
        print(f"{args.hours:g} hours: {laps} circuits, {rows} rows")

        replay = subprocess.Popen([os.path.join(tools, "pistavox-replay"), "--logbook", "replay-logbook.csv", day],
                                  cwd=workdir, stdout=subprocess.DEVNULL)
        started = time.monotonic()
        samples = watch(replay, 0.2)
        print(f"replay: {time.monotonic() - started:.1f} s, exit {replay.wait()}")
        grown, _, _ = report("replay", samples)
        with open(os.path.join(workdir, "replay-logbook.csv")) as f:
            landings = sum(1 for _ in f) - 1
        print(f"replay: {landings} landings in the logbook")
        if landings != laps:
            failures.append(f"replay logbook holds {landings} landings, not {laps}")
        if grown > 2048:
            failures.append(f"replay memory grew by {grown} KiB")

        # Live: the poll interval shortened to follow the speed, the English pack into SDL's dummy driver.
        config = os.path.join(workdir, "config")
        os.makedirs(config)
        with open(os.path.join(config, "settings.txt"), "w") as f:
            f.write("poll_ms=50\n")
        env = dict(os.environ, PISTAVOX_CONFIG_DIR=config, PISTAVOX_DATA_DIR=os.path.join(workdir, "user-data"),
                   SDL_AUDIODRIVER="dummy")
        subprocess.run([os.path.join(tools, "make-voice-pack"), "--only", "en", "--out", "bin"], cwd=workdir,
                       check=True, stdout=subprocess.DEVNULL)
        live_day = day
        if args.live_hours is not None:
            live_day, live_laps, _ = day_of_circuits(tools, workdir, args.live_hours)
            print(f"live: {args.live_hours:g} hours, {live_laps} circuits")
        sim = subprocess.Popen([os.path.join(tools, "pistavox-sim"), "--flight", live_day, "--speed", str(args.speed),
                                "--exit-at-end"], cwd=workdir, stdout=subprocess.DEVNULL)
        time.sleep(0.5)
        live = subprocess.Popen([program, "--headless", "--exit-with-simulator"], cwd=workdir, env=env,
                                stdout=open(os.path.join(workdir, "live.log"), "w"), stderr=subprocess.STDOUT)
        started = time.monotonic()
        samples = watch(live, 1.0)
        sim.wait()
        print(f"live: {time.monotonic() - started:.1f} s, exit {live.wait()}")
        grown, threads, descriptors = report("live", samples)
        with open(os.path.join(workdir, "live.log")) as f:
            log = f.read().splitlines()
        scores = sum(1 for line in log if line.startswith("Landing score: "))
        print(f"live: {scores} landings scored, {sum(1 for line in log if line.startswith('Alert: '))} alerts")
        logbook = os.path.join(workdir, "user-data", "logbook.csv")
        rows_kept = []
        if os.path.exists(logbook):
            with open(logbook) as f:
                rows_kept = list(csv.reader(f))
        whole = bool(rows_kept) and all(len(r) == len(rows_kept[0]) for r in rows_kept)
        print(f"live: {max(len(rows_kept) - 1, 0)} logbook rows, all whole: {whole}")
        if scores == 0 or len(rows_kept) - 1 != scores or not whole:
            failures.append(f"live scored {scores} landings and the logbook holds {len(rows_kept) - 1} whole rows")
        with open(os.path.join(config, "settings.txt")) as f:
            settings = f.read()
        if "poll_ms=50\n" not in settings:
            failures.append("the settings lost their poll interval")
        if grown > 4096:
            failures.append(f"live memory grew by {grown} KiB")
        if threads > 0 or descriptors > 0:
            failures.append(f"live leaked {threads} threads and {descriptors} descriptors")
    for failure in failures:
        print("soak:", failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
