#!/usr/bin/python3
"""Starts the real kinetra on documents folders holding one hostile user file each, and checks
what a user would: it starts every time, it serves its screen, and no file is lost.

Each case mutates a property list of the fuzz corpora (byte flips, truncations, splices, the
other plist form, huge counts, deep nesting, the wrong top level, ...) and puts it down as one of
the five user files in a fresh folder. Then kinetra starts with --port 0, GET / with the token
and one WebSocket frame must come back, and kinetra stops cleanly on SIGTERM. For the strength
log, every other case also adds a set through the screen, so that the file is saved. Afterwards:

  - nothing saved it: the file's bytes are as they were, nothing is kept aside;
  - it was saved: either the file was kept aside as "<name>.unreadable-..." with its bytes
    unchanged, and one stderr line says so, or it was read (so it parses) and the saved file
    still holds every day the original held;
  - no line of stderr is repeated about the file, and nothing else of the folder is touched.

    /usr/bin/python3 tests/hostile/hostile_files.py KINETRA RESOURCES [--count N] [--jobs J]
                                                    [--seed S]

Prints: started, served, kept aside, reported, failures (and the first failures in full);
exits 1 on any failure. Standard library only."""

import argparse
import concurrent.futures
import json
import os
import plistlib
import random
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
import kinetra_client as client  # noqa: E402  (HTTP and the WebSocket by hand, views in frames)

TOKEN = client.TOKEN
CORPORA = [os.path.join(HERE, "..", "fuzz", "corpus", name)
           for name in ("property_list", "xml_plist", "binary_plist")]
USER_FILES = ["Kinetra_Log.plist", "Kinetra_Aerobics_Log.plist", "Workouts.plist",
              "Custom_Exercises.plist", "settings.plist"]
SAVED_FILE = "Kinetra_Log.plist"
EXERCISE, REGION = "Barbell Bench Press", "Chest"


# ---- Mutations


def seeds():
    found = []
    for folder in CORPORA:
        for name in sorted(os.listdir(folder)):
            with open(os.path.join(folder, name), "rb") as f:
                found.append(f.read())
    return found


def other_form(data, rng):
    try:
        value = plistlib.loads(data)
        binary = data.startswith(b"bplist")
        return plistlib.dumps(value, fmt=plistlib.FMT_XML if binary else plistlib.FMT_BINARY)
    except Exception:
        return data[::-1]


def flip(data, rng):
    data = bytearray(data or b"\x00")
    for _ in range(rng.randint(1, 8)):
        data[rng.randrange(len(data))] ^= 1 << rng.randrange(8)
    return bytes(data)


def truncate(data, rng):
    return data[:rng.randrange(len(data) + 1)]


def splice(data, rng, other):
    return data[:rng.randrange(len(data) + 1)] + other[rng.randrange(len(other) + 1):]


def huge_count(data, rng):
    if data.startswith(b"bplist") and len(data) > 40:
        # An array marker claiming 2^62 entries somewhere in the object table.
        at = rng.randrange(8, len(data) - 32)
        return data[:at] + b"\xaf\x13" + struct.pack(">Q", 1 << 62) + data[at:]
    # The trailer's object count, or an XML body repeated many times.
    return b"<plist><array>" + b"<string>x</string>" * rng.randint(10_000, 60_000) + \
        b"</array></plist>"


def deep(data, rng):
    depth = rng.choice([63, 64, 65, 200, 5000, 100_000])
    if rng.random() < 0.5:
        return b"<plist>" + b"<array>" * depth + b"</array>" * depth + b"</plist>"
    return b"<plist>" + b"<dict><key>k</key>" * depth + b"<true/>" + b"</dict>" * depth + \
        b"</plist>"


def wrong_top(data, rng):
    return plistlib.dumps(rng.choice([[], {}, "text", 1, [{"a": 1}], {"Jan 1, 2024": []}]),
                          fmt=rng.choice([plistlib.FMT_XML, plistlib.FMT_BINARY]))


def repeated_keys(data, rng):
    return (b"<plist><dict><key>Jan 1, 2024</key><dict/><key>Jan 1, 2024</key>"
            b"<dict><key>Squat</key><array><string>1 kg</string><string>1</string><string/>"
            b"</array></dict></dict></plist>")


def bad_text(data, rng):
    text = rng.choice([b"\x00", b"\xff\xfe", b"\x01", b"\xed\xa0\x80", b"&#0;", b"&#xFFFE;"])
    return b"<plist><dict><key>Jan 1, 2024</key><dict><key>S" + text + \
        b"</key><array/></dict></dict></plist>"


MUTATIONS = [other_form, flip, flip, truncate, truncate, huge_count, deep, wrong_top,
             repeated_keys, bad_text, None, None]  # None: a splice of two corpus files


def mutate(pool, rng):
    data = rng.choice(pool)
    kind = rng.choice(MUTATIONS)
    if kind is None:
        return "splice", splice(data, rng, rng.choice(pool))
    result = kind(data, rng)
    if rng.random() < 0.3:
        result = flip(result, rng)
    return kind.__name__, result


# ---- kinetra from outside


def cell_of(frame, text):
    found = client.table_and_cell(frame, text)
    if found is None:
        raise LookupError(text)
    return found


def add_set(ws, frame):
    """Adds one set of the bench press through the screen, as a user would: the Catalogue tab,
    the region, the exercise, the log page, Add Set."""
    def do(fields):
        return ws.frame_after(ws.event(**fields))

    bar = client.find(frame, lambda v: "Catalogue" in [t.get("title") for t in v.get("tabs", [])])
    titles = [t.get("title") for t in bar["tabs"]]
    frame = do({"type": "tap", "view": bar["id"], "taps": 1, "y": bar["frame"][3] / 2,
                "x": (titles.index("Catalogue") + 0.5) * bar["frame"][2] / len(titles)})
    for text in (REGION, EXERCISE):
        table, cell = cell_of(frame, text)
        frame = do({"type": "selectRow", "view": table["id"], "section": cell["indexPath"][0],
                    "row": cell["indexPath"][1]})
    control = client.find(frame, lambda v: v.get("kind") == "segmentedControl"
                   and len(v.get("segments", [])) == 3)
    frame = do({"type": "chooseSegment", "view": control["id"], "segment": 1})
    for view, parent in client.walk(frame["root"]):
        if view.get("text") == "Add Set":
            target = view if view.get("kind") == "button" else parent
            return do({"type": "tap", "view": target["id"], "taps": 1,
                       "x": target["frame"][2] / 2, "y": target["frame"][3] / 2})
    raise LookupError("Add Set")


# ---- One case


def day_keys(data):
    """The top-level keys of a dictionary plist. kinetra's reader skips what comes before the
    value more leniently than plistlib (a damaged XML declaration reads as a processing
    instruction, the DOCTYPE's and the root element's insides are not checked), so the value is
    looked for from the root element, then from the first dictionary, as well."""
    start = data.find(b"<dict")
    for candidate in (data, data[max(data.find(b"<plist"), 0):],
                      b"<plist>" + data[start:] if start >= 0 else b""):
        try:
            value = plistlib.loads(candidate)
        except Exception:
            continue
        return set(value) if isinstance(value, dict) else None
    return None


def run_case(binary, resources, scratch, index, name, label, content, save):
    """Returns (started, served, kept, reported, [failures])."""
    folder = os.path.join(scratch, f"case-{index}")
    os.makedirs(folder)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(content)
    failures = []
    what = f"case {index} ({name}, {label}, {len(content)} bytes)"
    process = subprocess.Popen(
        [binary, "--documents", folder, "--resources", resources, "--port", "0",
         "--token", TOKEN], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
        stderr=subprocess.PIPE, env={**os.environ, "LC_ALL": "C", "TZ": "UTC"})
    started = served = False
    try:
        line = process.stdout.readline().decode("utf-8", "replace")
        match = re.search(r"http://[^:/]+:(\d+)/", line)
        if match:
            started = True
            port = int(match.group(1))
            answer = client.get(port, "/", extra=client.cookie(port))
            status = answer[0] if answer else 0
            ws = client.WebSocket(port)
            try:
                if ws.status != 101:
                    raise ConnectionError(f"upgrade refused: {ws.status}")
                frame = json.loads(ws.receive())
                served = status == 200 and frame.get("type") == "frame"
                if served and save:
                    add_set(ws, frame)
            finally:
                ws.close()
            if status != 200:
                failures.append(f"{what}: GET / answered {status}")
        else:
            failures.append(f"{what}: did not start: {line!r}")
    except (OSError, ConnectionError, TimeoutError, LookupError, TypeError, KeyError,
            ValueError) as error:
        failures.append(f"{what}: could not be served: {error!r}")
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
    try:
        _, stderr = process.communicate(timeout=30)
    except subprocess.TimeoutExpired:
        process.kill()
        _, stderr = process.communicate()
        failures.append(f"{what}: did not stop on SIGTERM")
    if process.returncode != 0:
        failures.append(f"{what}: exited with {process.returncode}")
    stderr = stderr.decode("utf-8", "replace").splitlines()

    names = sorted(n for n in os.listdir(folder) if n != ".kinetra.lock")
    aside = [n for n in names if n.startswith(name + ".unreadable-")]
    reports = [line for line in stderr if "kept as" in line]
    current = open(os.path.join(folder, name), "rb").read() \
        if os.path.exists(os.path.join(folder, name)) else None
    kept = False
    if aside:
        kept = True
        if len(aside) > 1:
            failures.append(f"{what}: kept aside {len(aside)} times: {aside}")
        if open(os.path.join(folder, aside[0]), "rb").read() != content:
            failures.append(f"{what}: the file kept aside is not the original")
        if len(reports) != 1 or aside[0] not in reports[0]:
            failures.append(f"{what}: kept aside, but stderr says {reports!r}")
    elif current != content:
        # Saved over without keeping: only right for a file that read, and nothing of it lost.
        before, after = day_keys(content), day_keys(current or b"")
        if not save or name != SAVED_FILE:
            failures.append(f"{what}: changed although nothing was saved")
        elif before is None or after is None or not before <= after:
            failures.append(f"{what}: saved over without keeping the original")
    if reports and not aside:
        failures.append(f"{what}: stderr reports a file kept aside that is not there")
    repeated = {line for line in stderr if stderr.count(line) > 1 and name in line}
    if repeated:
        failures.append(f"{what}: stderr repeats {sorted(repeated)!r}")
    others = [n for n in names if n != name and n not in aside and
              not (save and n == SAVED_FILE)]
    if others:
        failures.append(f"{what}: left other files: {others}")
    if not failures:
        shutil.rmtree(folder, ignore_errors=True)
    return started, served, kept, bool(reports), failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("kinetra")
    parser.add_argument("resources")
    parser.add_argument("--count", type=int, default=100)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    pool = seeds()
    cases = []
    for index in range(args.count):
        name = USER_FILES[index % len(USER_FILES)]
        label, content = mutate(pool, rng)
        # Every other case of the strength log is saved, through the screen.
        save = name == SAVED_FILE and (index // len(USER_FILES)) % 2 == 0
        cases.append((index, name, label + (", saved" if save else ""), content, save))
    scratch = tempfile.mkdtemp(prefix="kinetra-hostile-")
    totals = {"started": 0, "served": 0, "kept aside": 0, "reported": 0}
    failures = []
    began = time.time()
    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool_of_runs:
        runs = [pool_of_runs.submit(run_case, args.kinetra, args.resources, scratch, *case)
                for case in cases]
        for run in runs:
            started, served, kept, reported, found = run.result()
            totals["started"] += started
            totals["served"] += served
            totals["kept aside"] += kept
            totals["reported"] += reported
            failures.extend(found)
    if not failures:
        shutil.rmtree(scratch, ignore_errors=True)
    else:
        print("failing folders are kept in", scratch)
    for failure in failures[:20]:
        print("FAIL:", failure)
    print(f"{args.count} hostile user files in {time.time() - began:.1f} s: " +
          ", ".join(f"{key} {value}" for key, value in totals.items()) +
          f", failures {len(failures)}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
