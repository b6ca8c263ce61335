"""Start-up of the application on the ten-year logs against Python's plistlib loading the same
two log files.

  startup_bench.py BUILD_DIRECTORY RESOURCE_DIRECTORY [REPETITIONS]

Generates Kinetra_Log.plist and Kinetra_Aerobics_Log.plist in a fresh documents directory under
/tmp (bench_startup --generate), times bench_startup launching the application on them with the
given bundle (catalogue resources, both logs, exercise list and name index, interface; Google
Benchmark, one launch per repetition) and plistlib.load of the two files, and prints the
medians and the ratio ours / plistlib. Goal: at most 0.4.
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

LOGS = ["Kinetra_Log.plist", "Kinetra_Aerobics_Log.plist"]


def plistlib_load_both(directory):
    for name in LOGS:
        with open(os.path.join(directory, name), "rb") as f:
            plistlib.load(f)


def median_seconds(action, repetitions):
    times = []
    for _ in range(repetitions):
        start = time.perf_counter()
        action()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def ours(binary, documents, resources, repetitions):
    output = subprocess.run(
        [binary, "--documents=" + documents, "--resources=" + resources,
         "--benchmark_repetitions=%d" % repetitions, "--benchmark_report_aggregates_only=true",
         "--benchmark_format=json"],
        check=True, capture_output=True, text=True).stdout
    for run in json.loads(output)["benchmarks"]:
        if run.get("aggregate_name") == "median":
            return run["real_time"] / 1000.0  # reported in milliseconds
    raise RuntimeError("no median in the benchmark's output")


def main(argv):
    build, resources = argv[1], argv[2]
    repetitions = int(argv[3]) if len(argv) > 3 else 9
    binary = os.path.join(build, "bench", "bench_startup")
    documents = tempfile.mkdtemp(prefix="kinetra-startup-", dir="/tmp")
    try:
        subprocess.run([binary, "--generate=" + documents], check=True)
        size = sum(os.path.getsize(os.path.join(documents, name)) for name in LOGS) / 1e6
        our_startup = ours(binary, documents, resources, repetitions)
        their_load = median_seconds(lambda: plistlib_load_both(documents), repetitions)
        print("start-up on the ten-year logs (both logs, %.2f MB), median of %d runs" %
              (size, repetitions))
        print("%-22s %10s %16s %8s %6s" % ("", "start-up", "plistlib load", "ratio", "goal"))
        print("%-22s %8.1f ms %13.1f ms %8.2f %6s" % (
            "ten_years", our_startup * 1e3, their_load * 1e3, our_startup / their_load, "0.40"))
    finally:
        shutil.rmtree(documents)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
