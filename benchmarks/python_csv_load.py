#!/usr/bin/env python3
"""Baseline for the loader benchmark: Python's csv module reading the runway file into rows."""
import csv
import statistics
import sys
import time

path = sys.argv[1]
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
times = []
for _ in range(runs):
    start = time.perf_counter()
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    times.append(time.perf_counter() - start)
print(f"python csv: {len(rows)} rows, median {statistics.median(times) * 1000:.1f} ms over {runs} runs")
