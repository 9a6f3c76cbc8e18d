#!/usr/bin/env python3
"""Start-up at world scale: the whole pistavox-replay process with the world runway file as
data/runways.csv and a one-row flight, against Python's csv.reader reading the same file,
both as whole processes, run alternately in one run. Prints the medians, their ratio and
the replay's peak resident memory.

usage: benchmarks/startup_vs_python_csv.py build/release/tools/pistavox-replay [runways-world.csv]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = 21

replay = os.path.abspath(sys.argv[1])
here = os.path.dirname(os.path.abspath(__file__))
world = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "..", "shared", "data", "runways-world.csv")
python_reader = "import csv; list(csv.reader(open('data/runways.csv', newline='')))"


def timed(command, cwd):
    """Wall time in ms and peak resident memory in KiB of one whole process."""
    start = time.perf_counter()
    child = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    elapsed = (time.perf_counter() - start) * 1000.0
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit(f"{command[0]} failed with exit code {child.returncode}")
    return elapsed, usage.ru_maxrss


with tempfile.TemporaryDirectory(prefix="pistavox-startup-") as work:
    os.makedirs(os.path.join(work, "data"))
    shutil.copyfile(world, os.path.join(work, "data", "runways.csv"))
    shutil.copyfile(os.path.join(here, "..", "data", "raas_rules.ini"), os.path.join(work, "data", "raas_rules.ini"))
    with open(os.path.join(work, "one.csv"), "w") as flight:
        flight.write("time_s,latitude_deg,longitude_deg,heading_deg,ground_speed_kt,altitude_ft,"
                     "radio_altitude_ft,g_force,on_ground\n0,50.0451,8.5903,249.6,0,364,0,1,1\n")
    replay_ms, python_ms, replay_kib = [], [], []
    for _ in range(RUNS):
        elapsed, peak = timed([replay, "one.csv"], work)
        replay_ms.append(elapsed)
        replay_kib.append(peak)
        python_ms.append(timed([sys.executable, "-c", python_reader], work)[0])

replay_median = statistics.median(replay_ms)
python_median = statistics.median(python_ms)
print(f"pistavox-replay, world database, one row: median {replay_median:.1f} ms (min {min(replay_ms):.1f})")
print(f"python csv.reader, same file:            median {python_median:.1f} ms (min {min(python_ms):.1f})")
print(f"ratio: {python_median / replay_median:.1f}x")
print(f"pistavox-replay peak resident memory: {max(replay_kib) / 1024:.1f} MiB")
