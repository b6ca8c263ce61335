#!/usr/bin/env python3
"""Kills a real kinetra with SIGKILL at random moments while a user changes their training log
through the screens, restarts it on the same documents folder after each kill, and checks that
nothing the user was shown as done went missing.

    python3 tests/crash/crash_kinetra.py KINETRA RESOURCES [--kills N] [--seed S]
                                         [--require-kill-switch]

Each round starts kinetra on the folder, connects over the WebSocket as the browser client does
and, in random order, logs strength sets and treadmill sessions, deletes one of today's sets,
deletes a day from "All Records", saves a new workout and saves an exercise of the user's own
with a photo. The round
ends with a kill:
  (a) SIGKILL from outside, 0-30 ms after a random event;
  (b) from inside, through the test-only switch KINETRA_TEST_KILL_AT=<step>:<n> (the process
      kills itself right after the n-th create, write, copy (of unchanged bytes from the file
      replaced), sync, close, rename or syncdir of a file write completes), when the kinetra under test has it.
After each kill: every user file must parse, no ".unreadable-" file may appear, each change whose
answering frame arrived must be in the files (the one change in flight at the kill may be there or
not, file by file), and no temporary file may be left once the next save succeeded. A table of
figures closes the run; the exit status is 1 when a check failed. Standard library only."""

import argparse
import copy
import datetime
import os
import plistlib
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))

from kinetra_client import Kinetra, Screen, find, find_all, png, texts, upload  # noqa: E402

LOG = "Kinetra_Log.plist"
AEROBICS = "Kinetra_Aerobics_Log.plist"
WORKOUTS = "Workouts.plist"
CUSTOM = "Custom_Exercises.plist"
SETTINGS = "settings.plist"
USER_FILES = [LOG, AEROBICS, WORKOUTS, CUSTOM, SETTINGS]
VERBOSE = False
KILL_STEPS = ["create", "write", "copy", "sync", "close", "rename", "syncdir"]
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
# Exercises to log, with the region that lists them.
EXERCISES = [("Chest", "Barbell Bench Press"), ("Chest", "Bench Dip"), ("Legs", "Back Squat")]
WORKOUT_CHOICES = {"Chest": ["Barbell Bench Press", "Bench Dip", "Cable Crossover", "Chest Dip"]}


def day_key(date):
    """A day's key in the logs: the medium date style of en_US."""
    return f"{MONTHS[date.month - 1]} {date.day}, {date.year}"


class Killed(Exception):
    """The process is gone: killed by the driver or by its own kill switch."""


class Figures:
    def __init__(self):
        self.kills = {}
        self.acknowledged = 0
        self.in_flight = 0
        self.not_shown = 0
        self.lost = 0
        self.unreadable = 0
        self.unparsable = 0
        self.temporaries_left = 0
        self.temporaries_after_save = 0
        self.failures = []

    def kill(self, label):
        self.kills[label] = self.kills.get(label, 0) + 1

    def fail(self, what):
        self.failures.append(what)
        print("FAIL:", what, flush=True)


# ---- What the files must hold


class Expected:
    """What the files must hold after everything acknowledged: both logs exactly; workouts and
    custom exercises that must be there."""

    def __init__(self, log, aerobics):
        self.files = {LOG: log, AEROBICS: aerobics}
        self.workouts = []  # each [name, exercise, ...]
        self.custom = []    # names

    def copy(self):
        return copy.deepcopy(self)


def read_files(folder):
    """Every user file that exists, parsed; raises ValueError naming one that does not parse."""
    values = {}
    for name in USER_FILES:
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            continue
        try:
            with open(path, "rb") as f:
                values[name] = plistlib.load(f)
        except Exception as error:  # noqa: BLE001 - any parse failure is the finding
            raise ValueError(f"{name} does not parse: {error!r}") from error
    return values


def contains_text(value, text):
    if isinstance(value, str):
        return value == text
    if isinstance(value, dict):
        return any(contains_text(v, text) for v in value.values())
    if isinstance(value, list):
        return any(contains_text(v, text) for v in value)
    return False


def check_pictures(folder, figures):
    """Every picture of the user's exercises is whole."""
    for name in os.listdir(folder):
        if name.endswith(".jpg") and not name.startswith("."):
            with open(os.path.join(folder, name), "rb") as f:
                data = f.read()
            # The pictures are stored as PNG under the names the files have always had.
            whole_png = data.startswith(b"\x89PNG") and data.endswith(b"IEND\xaeB`\x82")
            whole_jpeg = data.startswith(b"\xff\xd8") and data.endswith(b"\xff\xd9")
            if not (whole_png or whole_jpeg):
                figures.unparsable += 1
                figures.fail(f"the picture {name} is not a whole picture ({len(data)} bytes)")


def check_after_kill(folder, expected, pending, figures):
    """Checks the folder against what was acknowledged (`expected`) and what was in flight
    (`pending`, the expectation with the unacknowledged change, or None). Returns the expectation
    the next round starts from."""
    names = os.listdir(folder)
    unreadable = [n for n in names if ".unreadable-" in n]
    if unreadable:
        figures.unreadable += len(unreadable)
        figures.fail(f"files kept aside as unreadable: {unreadable}")
        for n in unreadable:
            os.remove(os.path.join(folder, n))
    figures.temporaries_left += len([n for n in names if ".tmp-" in n])
    check_pictures(folder, figures)
    try:
        disk = read_files(folder)
    except ValueError as error:
        figures.unparsable += 1
        figures.fail(str(error))
        raise
    candidates = [expected] + ([pending] if pending is not None else [])
    settled = expected.copy()
    for name in (LOG, AEROBICS):
        on_disk = disk.get(name, {})
        matches = [c for c in candidates if c.files[name] == on_disk]
        if not matches:
            figures.lost += 1
            figures.fail(f"{name} holds neither what was acknowledged nor that and the change in "
                         f"flight: {describe_difference(expected.files[name], on_disk)}")
        settled.files[name] = on_disk
    workouts = disk.get(WORKOUTS, [])
    for workout in expected.workouts:
        if workout not in workouts:
            figures.lost += 1
            figures.fail(f"the acknowledged workout {workout} is not in {WORKOUTS}")
    if pending is not None and pending.workouts != expected.workouts:
        if pending.workouts[-1] in workouts:
            settled.workouts = pending.workouts
    custom = disk.get(CUSTOM, [])
    for name in expected.custom:
        if not contains_text(custom, name):
            figures.lost += 1
            figures.fail(f"the acknowledged exercise {name!r} is not in {CUSTOM}")
    if pending is not None and pending.custom != expected.custom:
        if contains_text(custom, pending.custom[-1]):
            settled.custom = pending.custom
    return settled


def describe_difference(want, have):
    lines = []
    for day in sorted(set(want) | set(have)):
        if want.get(day) != have.get(day):
            lines.append(f"{day}: want {want.get(day)!r}, have {have.get(day)!r}")
    return "; ".join(lines[:4]) or "(no difference by day)"


# ---- Driving the screens


def died(k):
    """Whether the process has ended, or ends within a moment (its connections close first)."""
    try:
        k.process.wait(timeout=2)
        return True
    except subprocess.TimeoutExpired:
        return False


class KillingScreen(Screen):
    """The screen, counting the events it sends: the `kill_at`-th one is sent without waiting
    for its frame, and the process is killed 0-30 ms later (mode a)."""

    def __init__(self, k, rng, kill_at, figures):
        self.k, self.rng, self.kill_at, self.figures = k, rng, kill_at, figures
        self.events = 0
        self.saves = 0
        self.saving = False
        super().__init__(k.port, timeout=10)

    def do(self, **event):
        self.events += 1
        self.saves += self.saving
        kind, count = self.kill_at or (None, 0)
        if (kind == "event" and self.events >= count) or (kind == "save" and self.saving
                                                          and self.saves >= count):
            self.ws.event(**event)
            time.sleep(self.rng.random() * 0.030)
            self.k.stop(kill=True)
            self.figures.kill("a: 0-30 ms after an event")
            raise Killed()
        try:
            return super().do(**event)
        except (ConnectionError, OSError, TimeoutError) as error:
            if died(self.k):
                raise Killed() from error
            raise

    def frame_where(self, predicate, timeout=10.0):
        """Waits for a frame (answering no event of its own) for which `predicate` holds."""
        deadline = time.time() + timeout
        while not predicate(self.frame):
            if time.time() > deadline:
                raise TimeoutError("no such frame")
            try:
                self.frame = self.ws.frame_after(0, timeout=deadline - time.time())
            except (ConnectionError, OSError) as error:
                if died(self.k):
                    raise Killed() from error
                raise
        return self.frame


class Session:
    """One kinetra process, the screen driven over its WebSocket, and what its files must hold:
    `expected` after every acknowledged change, `pending` while a change is in flight."""

    def __init__(self, k, rng, expected, kill_at, figures):
        self.k = k
        self.rng = rng
        self.expected = expected
        self.pending = None
        self.figures = figures
        self.saved_once = False
        try:
            self.screen = KillingScreen(k, rng, kill_at, figures)
        except (ConnectionError, OSError, TimeoutError) as error:
            if died(k):
                raise Killed() from error
            raise

    def act(self, perform, change=None, shown=None):
        """Sends one event through `perform` (a Screen call). `change` turns the expectation
        into what the files hold once the event is carried out; `shown` tells from the frame
        that answers the event whether the screen shows it carried out. A change the screen
        does not show is not acknowledged: the files must then be as before."""
        if VERBOSE and change is not None:
            print("    a change, event", self.screen.events + 1, flush=True)
        if change is not None:
            self.pending = change(self.expected.copy())
        self.screen.saving = change is not None
        try:
            perform(self.screen)
        finally:
            self.screen.saving = False
        if change is None:
            return
        if shown is not None and not shown(self.frame):
            self.pending = None
            self.figures.not_shown += 1
            if VERBOSE:
                print("    the screen does not show the change", flush=True)
            return
        self.expected = self.pending
        self.pending = None
        self.figures.acknowledged += 1
        if not self.saved_once:
            self.saved_once = True
            left = [n for n in os.listdir(self.k.documents) if ".tmp-" in n]
            if left:
                self.figures.temporaries_after_save += len(left)
                self.figures.fail(f"temporary files after a successful save: {left}")

    @property
    def frame(self):
        return self.screen.frame


def first(frame, predicate, what):
    view = find(frame, predicate)
    if view is None:
        raise LookupError(what)
    return view


def open_log_pane(s, region, exercise, add_button="Add Set"):
    s.act(lambda sc: sc.home("Catalogue", "Catalogue"))
    s.act(lambda sc: sc.select(region))
    s.act(lambda sc: sc.select(exercise))
    s.act(lambda sc: sc.segment(lambda v: v.get("kind") == "segmentedControl"
                                and len(v.get("segments", [])) == 3, 1))
    first(s.frame, lambda v: v.get("text") == add_button, "the log pane")


def rows(frame, table_id, height):
    """The number of rows of the table `table_id` whose rows are all `height` points high."""
    table = find(frame, lambda v: v.get("id") == table_id)
    return None if table is None else round(table["contentSize"][1] / height)


def last_table_rows(frame, height):
    tables = find_all(frame, lambda v: v.get("kind") == "tableView")
    return rows(frame, tables[-1]["id"], height) if tables else None


def today_key():
    return day_key(datetime.datetime.now(datetime.timezone.utc).date())


def log_table(s):
    """The table of the day's sets on the log pane (the last table on it)."""
    return s.screen.tables()[-1]


def log_sets(s):
    region, exercise = s.rng.choice(EXERCISES)
    open_log_pane(s, region, exercise)
    rng = s.rng
    weight = str(rng.randrange(20, 200))
    decimal = rng.choice(["0", "5", "25"])
    reps = str(rng.randrange(1, 13))
    note = rng.choice(["", "easy", "felt heavy", "pause at the bottom", "ünïcode ✓"])
    unit_index = rng.randrange(2)
    fields = find_all(s.frame, lambda v: v.get("kind") == "textField")
    by_placeholder = {v.get("placeholder"): v for v in fields}
    decimal_field = [v for v in fields if not v.get("placeholder")][0]
    for view, text in ((by_placeholder["weight"], weight), (decimal_field, decimal),
                       (by_placeholder["reps"], reps), (by_placeholder["note"], note)):
        s.act(lambda sc, v=view: sc.tap_view(v))
        s.act(lambda sc, t=text: sc.do(type="editText", text=t))
    unit_control = first(s.frame, lambda v: v.get("kind") == "segmentedControl"
                         and len(v.get("segments", [])) == 2, "the unit")
    unit = unit_control["segments"][unit_index]["title"]
    s.act(lambda sc: sc.do(type="chooseSegment", view=unit_control["id"], segment=unit_index))
    text = weight + ("" if decimal in ("", "0") else "." + decimal) + " " + unit
    today = today_key()
    table_id = log_table(s)["id"]

    def add(expected):
        entry = expected.files[LOG].setdefault(today, {}).setdefault(exercise, [])
        entry.extend([text, reps, note])
        return expected

    for _ in range(rng.randrange(1, 4)):
        count = len(s.expected.files[LOG].get(today, {}).get(exercise, [])) // 3 + 1
        s.act(lambda sc: sc.button("Add Set"), add,
              lambda frame, n=count: rows(frame, table_id, 50) == n)


def log_aerobic(s):
    """Logs a treadmill session: four values (any may be left empty) and a note."""
    open_log_pane(s, "Cardio", " treadmill", "Add")
    rng = s.rng
    values = [rng.choice(["", str(rng.randrange(5, 90))]), rng.choice(["", "8.5", "10"]),
              rng.choice(["", "2", "4"]), rng.choice(["", str(rng.randrange(100, 900))]),
              rng.choice(["", "intervals", "easy"])]
    fields = {v.get("placeholder"): v for v in find_all(
        s.frame, lambda v: v.get("kind") == "textField")}
    for placeholder, text in zip(["Duration", "Speed", "Elevation", "Calories", "note"], values):
        s.act(lambda sc, v=fields[placeholder]: sc.tap_view(v))
        s.act(lambda sc, t=text: sc.do(type="editText", text=t))
    today = today_key()
    table_id = log_table(s)["id"]
    count = len(s.expected.files[AEROBICS].get(today, {}).get(" treadmill", [])) // 5 + 1

    def add(expected):
        expected.files[AEROBICS].setdefault(today, {}).setdefault(" treadmill", []).extend(values)
        return expected

    s.act(lambda sc: sc.button("Add"), add, lambda frame: rows(frame, table_id, 50) == count)


def delete_set(s):
    region, exercise = s.rng.choice(EXERCISES)
    open_log_pane(s, region, exercise)
    today = today_key()
    sets = s.expected.files[LOG].get(today, {}).get(exercise, [])
    if len(sets) < 3:
        return log_sets(s)
    table = log_table(s)
    cells = [c for c in s.screen.visible_cells(table) if c.get("deletable")]
    if not cells:
        return None
    row = s.rng.choice(cells)["indexPath"][1]
    count = len(sets) // 3

    def remove(expected):
        del expected.files[LOG][today][exercise][3 * row:3 * row + 3]
        return expected

    s.act(lambda sc: sc.do(type="deleteRow", view=table["id"], section=0, row=row), remove,
          lambda frame: rows(frame, table["id"], 50) == count - 1)
    return None


def delete_day(s):
    s.act(lambda sc: sc.home("Log", "Log"))
    s.act(lambda sc: sc.select("All Records"))
    table = s.screen.tables()[-1]
    days = len(set(s.expected.files[LOG]) | set(s.expected.files[AEROBICS]))
    if days > 8:
        s.act(lambda sc: sc.scroll(table, s.rng.randrange(0, (days - 8) * 44)))
        table = s.screen.tables()[-1]
    cells = [c for c in s.screen.visible_cells(table) if c.get("deletable")]
    if not cells:
        return
    cell = s.rng.choice(cells)
    day = [v.get("text") for v in find_all({"root": cell}, lambda v: v.get("kind") == "label")][0]
    if VERBOSE:
        print(f"    deleting {day}, row {cell['indexPath']}", flush=True)

    def remove(expected):
        expected.files[LOG].pop(day, None)
        expected.files[AEROBICS].pop(day, None)
        return expected

    s.act(lambda sc: sc.do(type="deleteRow", view=table["id"], section=cell["indexPath"][0],
                           row=cell["indexPath"][1]), remove,
          lambda frame: rows(frame, table["id"], 44) == days - 1 and day not in texts(frame))


def save_workout(s):
    name = f"Workout {s.rng.randrange(1 << 30):x}"
    chosen = s.rng.sample(WORKOUT_CHOICES["Chest"], s.rng.randrange(1, 4))
    s.act(lambda sc: sc.home("Workouts", "Workouts"))
    before = last_table_rows(s.frame, 44)
    s.act(lambda sc: sc.button("Add"))
    field = first(s.frame, lambda v: v.get("placeholder") == "workout name", "the name field")
    s.act(lambda sc: sc.tap_view(field))
    s.act(lambda sc: sc.do(type="editText", text=name))
    s.act(lambda sc: sc.do(type="pressReturn"))
    s.act(lambda sc: sc.select("Chest"))
    for exercise in chosen:
        s.act(lambda sc, e=exercise: sc.select(e))
    s.act(lambda sc: sc.button("Back"))
    # The workout lists its exercises in the order they were ticked.
    workout = [name] + chosen

    def add(expected):
        expected.workouts.append(workout)
        return expected

    # The list of workouts, one row longer (the new one may be below the fold).
    s.act(lambda sc: sc.button("Save"), add,
          lambda frame: last_table_rows(frame, 44) == before + 1)


def save_custom_exercise(s, photo):
    name = f"Carry {s.rng.randrange(1 << 30):x}"
    s.act(lambda sc: sc.home("Catalogue", "Catalogue"))
    table = s.screen.tables()[-1]
    s.act(lambda sc: sc.scroll(table, 400))
    s.act(lambda sc: sc.select("Add/Edit Custom Exercises"))
    bar = s.screen.navigation_bar()
    before = 0
    if bar is not None and bar.get("title") == "Custom Exercises":
        before = last_table_rows(s.frame, 44)
        # The list of the user's exercises: "Add" is the first segment of the bar's control.
        s.act(lambda sc: sc.segment(lambda v: v.get("kind") == "segmentedControl" and [
            g.get("title") for g in v.get("segments", [])][:1] == ["Add"], 0))
    areas = find_all(s.frame, lambda v: v.get("kind") == "textView")
    for view, text in ((areas[0], name), (areas[-1], "Walk tall, a heavy bell in each hand.")):
        s.act(lambda sc, v=view: sc.tap_view(v))
        s.act(lambda sc, t=text: sc.do(type="editText", text=t))
    for row, choice in (("Target Region:", "Forearms"), ("Target Muscle:", "Wrist Flexors"),
                        ("Difficulty:", "Intermediate")):
        s.act(lambda sc, r=row: sc.select(r))
        s.act(lambda sc, c=choice: sc.select(c))
    if photo:
        s.act(lambda sc: sc.select("Image:"))
        picker = first(s.frame, lambda v: v.get("kind") == "imagePicker", "the photo picker")
        try:
            reply = upload(s.k.port, "photo", picker["id"], png(24, 16))
        except OSError:
            reply = None
        if died(s.k):
            raise Killed()
        if not reply or reply[0] >= 300:
            raise RuntimeError(f"the photo was refused: {reply and reply[:1]}")
        # The upload's frame answers no event: wait for the editor to come back.
        s.screen.frame_where(lambda f: find(f, lambda v: v.get("kind") == "imagePicker") is None)

    def add(expected):
        expected.custom.append(name)
        return expected

    # The list of the user's exercises, one row longer.
    s.act(lambda sc: sc.button("Save"), add,
          lambda frame: last_table_rows(frame, 44) == before + 1 and (
              before > 6 or name in texts(frame)))


# ---- Rounds


def seed(folder, rng):
    """Two years of training, so that every save takes a while."""
    start = datetime.date(2022, 1, 3)
    log, aerobics = {}, {}
    for d in range(0, 720, 2):
        day = day_key(start + datetime.timedelta(days=d))
        log[day] = {e: [f"{rng.randrange(40, 160)} kg", str(rng.randrange(1, 12)), "seeded"] * 4
                    for _, e in EXERCISES}
        if d % 6 == 0:
            aerobics[day] = {" treadmill": ["30", "10", "2", "300", "seeded"]}
    with open(os.path.join(folder, LOG), "wb") as f:
        plistlib.dump(log, f)
    with open(os.path.join(folder, AEROBICS), "wb") as f:
        plistlib.dump(aerobics, f)
    return Expected(log, aerobics)


OPERATIONS = [
    ("log sets", 4, lambda s: log_sets(s)),
    ("log an aerobic session", 1, lambda s: log_aerobic(s)),
    ("delete a set", 2, lambda s: delete_set(s)),
    ("delete a day", 1, lambda s: delete_day(s)),
    ("save a workout", 1, lambda s: save_workout(s)),
    ("save a custom exercise", 1, lambda s: save_custom_exercise(s, s.rng.random() < 0.7)),
]


def run_round(args, folder, expected, rng, mode, figures):
    """One kinetra process until it is killed; returns (expected, pending)."""
    env = {}
    kill_at = None
    if mode == "b":
        step, n = rng.choice(KILL_STEPS), rng.randrange(1, 4)
        env["KINETRA_TEST_KILL_AT"] = f"{step}:{n}"
        label = f"b: after {step}"
    else:
        # Half the kills after any event, half after one that saves.
        kill_at = rng.choice([("event", rng.randrange(2, 40)), ("save", rng.randrange(1, 5))])
    try:
        k = Kinetra(args.kinetra, args.resources, folder, env=env)
    except RuntimeError as error:
        # The switch may fire during start-up (a file written then): a kill like any other.
        if mode == "b" and "did not start" in str(error):
            figures.kill(label + " (during start-up)")
            return expected, None
        raise
    if VERBOSE:
        print(f"round: mode {mode}, {env or kill_at}", flush=True)
    s = None
    try:
        s = Session(k, rng, expected, kill_at, figures)
        weights = [w for _, w, _ in OPERATIONS]
        for _ in range(60):
            name, _, operation = rng.choices(OPERATIONS, weights)[0]
            if VERBOSE:
                print("  " + name, flush=True)
            operation(s)
        # The plan ended before the kill: kill now, between events.
        k.stop(kill=True)
        figures.kill("a: 0-30 ms after an event" if mode == "a" else label + " (not reached)")
    except (LookupError, RuntimeError, TimeoutError, IndexError, TypeError, KeyError) as error:
        figures.fail(f"could not drive the screens: {error!r}")
        if k.alive():
            k.stop(kill=True)
        figures.kill("after a failure to drive the screens")
    except Killed:
        if mode == "b":
            if k.process.wait(timeout=10) != -signal.SIGKILL:
                figures.fail(f"kinetra ended with {k.process.returncode}, not by SIGKILL")
            figures.kill(label)
    finally:
        if k.alive():
            k.stop(kill=True)
    if s is None:
        return expected, None
    if s.pending is not None:
        figures.in_flight += 1
    return s.expected, s.pending


def kill_switch_present(args, scratch):
    """Whether this kinetra kills itself through KINETRA_TEST_KILL_AT (a save after start-up)."""
    folder = os.path.join(scratch, "switch")
    os.makedirs(folder)
    figures = Figures()
    rng = random.Random(0)
    try:
        k = Kinetra(args.kinetra, args.resources, folder, env={"KINETRA_TEST_KILL_AT": "rename:1"})
    except RuntimeError:
        return True
    try:
        s = Session(k, rng, Expected({}, {}), None, figures)
        save_workout(s)
    except Killed:
        return True
    finally:
        if k.alive():
            k.stop(kill=True)
    return False


def print_table(figures, rounds, seconds, switch):
    print(f"\n{rounds} kills in {seconds:.1f} s (kill switch {'present' if switch else 'absent'})")
    print(f"  {'kills by mode and step':48} {'count':>6}")
    for label in sorted(figures.kills):
        print(f"    {label:46} {figures.kills[label]:>6}")
    rows = [
        ("changes acknowledged", figures.acknowledged),
        ("kills with a change in flight", figures.in_flight),
        ("changes the screen did not show as done", figures.not_shown),
        ("changes lost (goal 0)", figures.lost),
        ("files unreadable or unparsable (goal 0)", figures.unreadable + figures.unparsable),
        ("temporary files left by the kills", figures.temporaries_left),
        ("temporary files after the next save (goal 0)", figures.temporaries_after_save),
    ]
    for name, value in rows:
        print(f"  {name:48} {value:>6}")
    print(flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("kinetra")
    parser.add_argument("resources")
    parser.add_argument("--kills", type=int, default=50)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--require-kill-switch", action="store_true")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()
    global VERBOSE
    VERBOSE = args.verbose
    seed_value = args.seed if args.seed is not None else random.randrange(1 << 32)
    print(f"seed {seed_value}", flush=True)
    rng = random.Random(seed_value)
    scratch = tempfile.mkdtemp(prefix="kinetra-crash-")
    figures = Figures()
    started = time.time()
    try:
        switch = kill_switch_present(args, scratch)
        if args.require_kill_switch and not switch:
            figures.fail("KINETRA_TEST_KILL_AT did not kill kinetra")
        folder = os.path.join(scratch, "documents")
        os.makedirs(folder)
        expected = seed(folder, rng)
        for round_number in range(args.kills):
            mode = "b" if switch and round_number % 2 else "a"
            expected, pending = run_round(args, folder, expected, rng, mode, figures)
            try:
                expected = check_after_kill(folder, expected, pending, figures)
            except ValueError:
                break
        # One clean start and save at the end: no temporary file survives it.
        k = Kinetra(args.kinetra, args.resources, folder)
        try:
            s = Session(k, rng, expected, None, figures)
            s.saved_once = False
            save_workout(s)
        finally:
            k.stop()
        if any(".tmp-" in n for n in os.listdir(folder)):
            figures.fail("temporary files survive a clean start and a save")
        print_table(figures, sum(figures.kills.values()), time.time() - started, switch)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    print(f"{len(figures.failures)} failures", flush=True)
    return 1 if figures.failures else 0


if __name__ == "__main__":
    sys.exit(main())
