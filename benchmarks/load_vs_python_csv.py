#!/usr/bin/env python3
"""Loading the world runway file: LoadRunwayDatabase (through runways_benchmark) against
Python's csv module reading the same file into rows, in one run, medians of both.

usage: benchmarks/load_vs_python_csv.py build/release/benchmarks/runways_benchmark [runways-world.csv]
"""
import csv
import json
import os
import statistics
import subprocess
import sys
import time

REPETITIONS = 10

binary = sys.argv[1]
here = os.path.dirname(os.path.abspath(__file__))
path = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "..", "shared", "data", "runways-world.csv")

report = subprocess.run(
    [binary, "--benchmark_filter=BM_LoadWorldDatabase$", f"--benchmark_repetitions={REPETITIONS}",
     "--benchmark_format=json"],
    check=True, capture_output=True, text=True).stdout
runs = [b for b in json.loads(report)["benchmarks"] if b.get("run_type") == "iteration"]
loader_ms = statistics.median(b["real_time"] for b in runs)  # the benchmark reports milliseconds

times = []
for _ in range(REPETITIONS):
    start = time.perf_counter()
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    times.append(time.perf_counter() - start)
python_ms = statistics.median(times) * 1000.0

print(f"LoadRunwayDatabase: median {loader_ms:.2f} ms")
print(f"python csv ({len(rows)} rows): median {python_ms:.2f} ms")
print(f"ratio: {python_ms / loader_ms:.1f}x")
