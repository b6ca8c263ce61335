"""Kinetra's property-list layer against Python's plistlib, on the synthetic logs.

  plist_bench.py BUILD_DIRECTORY [REPETITIONS]

Generates one_year.plist and ten_years.plist in a fresh directory under /tmp, times loading and
saving each with bench_plist (Google Benchmark, one iteration per repetition) and with plistlib,
and prints the medians and the ratios ours / plistlib. A save on both sides is serialise, write
a temporary file, fsync, rename over the target, fsync the directory; "durable write" is that
sequence alone for the same bytes, the floor of any save.
"""

import json
import os
import plistlib
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

LOGS = ["one_year", "ten_years"]


def plistlib_load(path):
    with open(path, "rb") as f:
        return plistlib.load(f)


def plistlib_save(value, path):
    data = plistlib.dumps(value, fmt=plistlib.FMT_XML)
    temporary = path + ".tmp"
    with open(temporary, "wb") as f:
        f.write(data)
        f.flush()
        os.fsync(f.fileno())
    os.rename(temporary, path)
    directory = os.open(os.path.dirname(path), os.O_RDONLY)
    try:
        os.fsync(directory)
    finally:
        os.close(directory)


def median_seconds(action, repetitions):
    times = []
    for _ in range(repetitions):
        start = time.perf_counter()
        action()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def ours(build, data, repetitions):
    output = subprocess.run(
        [os.path.join(build, "bench", "bench_plist"), "--data=" + data,
         "--benchmark_repetitions=%d" % repetitions, "--benchmark_report_aggregates_only=true",
         "--benchmark_format=json"],
        check=True, capture_output=True, text=True).stdout
    medians = {}
    for run in json.loads(output)["benchmarks"]:
        if run.get("aggregate_name") == "median":
            kind, log = run["run_name"].split("/")[:2]
            medians[(kind, log)] = run["real_time"] / 1000.0  # reported in milliseconds
    return medians


def main(argv):
    build = argv[1]
    repetitions = int(argv[2]) if len(argv) > 2 else 9
    data = tempfile.mkdtemp(prefix="kinetra-bench-", dir="/tmp")
    try:
        subprocess.run([os.path.join(build, "bench", "plist_generate_log"), data], check=True)
        medians = ours(build, data, repetitions)
        print("median of %d runs, milliseconds; ratio = ours / plistlib" % repetitions)
        print("%-10s %8s %10s %8s %8s %10s %8s %9s %8s" % (
            "log", "MB", "load", "plistlib", "ratio", "save", "plistlib", "ratio", "durable"))
        for log in LOGS:
            path = os.path.join(data, log + ".plist")
            size = os.path.getsize(path) / 1e6
            value = plistlib_load(path)
            their_load = median_seconds(lambda: plistlib_load(path), repetitions)
            target = os.path.join(data, log + ".plistlib.plist")
            their_save = median_seconds(lambda: plistlib_save(value, target), repetitions)
            our_load = medians[("load", log)]
            our_save = medians[("save", log)]
            print("%-10s %8.2f %10.1f %8.1f %8.2f %10.1f %8.1f %9.2f %8.1f" % (
                log, size, our_load * 1e3, their_load * 1e3, our_load / their_load,
                our_save * 1e3, their_save * 1e3, our_save / their_save,
                medians[("durable_write", log)] * 1e3))
            print("%-10s %8s serialise alone %.1f ms" % (
                "", "", medians[("serialise", log)] * 1e3))
    finally:
        shutil.rmtree(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
