"""Checks the shipped catalogue: the five property lists and every bundle picture.

Usage: python3 test_catalogue.py RESOURCES_DIR [unittest arguments]
Needs Debian's python3-pil.
"""

import os
import plistlib
import re
import sys

sys.dont_write_bytecode = True
import unittest

from PIL import Image

RESOURCES = None
TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")

AEROBIC = [" treadmill", " cycling", " elliptical", " jogging", " jump rope", " rowing", " step machine",
           " swimming", " tennis"]

# The body map's hot spots: the muscle each names and its rectangle (x, y, width, height).
HOT_SPOTS = [
    ("Deltoids", (126, 62, 25, 25)), ("Pectoralis", (70, 71, 25, 25)), ("Brachialis", (138, 104, 25, 25)),
    ("Biceps Brachii", (43, 98, 25, 25)), ("Rectus Abdominis", (93, 112, 25, 25)),
    ("Obliques", (61, 125, 25, 25)), ("Wrist Flexors", (22, 154, 25, 25)), ("Quadriceps", (64, 195, 25, 25)),
    ("Trapezius", (225, 61, 25, 25)), ("Rotator Cuff", (190, 71, 25, 25)), ("Infraspinatus", (238, 84, 25, 25)),
    ("Triceps Brachii", (256, 100, 25, 25)), ("Latissimus Dorsi", (196, 104, 25, 25)),
    ("Lower Back", (216, 113, 25, 25)), ("Glutes", (196, 158, 22, 25)), ("Wrist Extensors", (273, 167, 25, 25)),
    ("Hamstrings", (236, 200, 25, 25)), ("Soleus", (265, 260, 25, 25)), ("Gastrocnemius", (205, 265, 25, 25)),
]

# Pictures named by the screens themselves, with their file type.
FIXED_PICTURES = ["background.jpg", "logo.jpg", "logo_back.jpg", "custom.jpg", "custom_t.jpg", "checkMark.gif",
                  "unchecked.jpg", "log_t.jpg", "log_t2.jpg", "rotate_icon.gif", "log_icon.gif",
                  "graph_icon.gif", "beginner.jpg", "intermediate.jpg", "advanced.jpg",
                  "Export_logs_to_Email.jpg", "body.jpg", "noGraph.jpg"] + \
                 [n.strip().replace(" ", "_") + "_log.png" for n in AEROBIC]

MAGIC = {".jpg": b"\xff\xd8\xff", ".png": b"\x89PNG\r\n\x1a\n", ".gif": (b"GIF87a", b"GIF89a")}
FORMAT = {".jpg": "JPEG", ".png": "PNG", ".gif": "GIF"}


def load(name):
    with open(os.path.join(RESOURCES, name + ".plist"), "rb") as f:
        return plistlib.load(f)


def strings_only(value):
    if isinstance(value, str):
        return True
    if isinstance(value, list):
        return all(strings_only(v) for v in value)
    if isinstance(value, dict):
        return all(isinstance(k, str) and strings_only(v) for k, v in value.items())
    return False


def sentences(text):
    return len(re.findall(r"[.!?](?:\s|$)", text))


class Catalogue:
    exercises = targets = muscles = log_dates = routines = None

    @classmethod
    def load(cls):
        if cls.exercises is None:
            cls.exercises = load("Exercises")
            cls.targets = load("Targets")
            cls.muscles = load("Muscles")
            cls.log_dates = load("LogDates")
            cls.routines = load("Routines")
        return cls


class PropertyListTest(unittest.TestCase):
    def setUp(self):
        self.c = Catalogue.load()

    def test_files_are_xml_property_lists_of_strings(self):
        for name in ("Exercises", "Targets", "Muscles", "LogDates", "Routines"):
            with open(os.path.join(RESOURCES, name + ".plist"), "rb") as f:
                head = f.read(200)
            self.assertTrue(head.startswith(b"<?xml"), name)
            self.assertIn(b'<plist version="1.0">', head, name)
            value = load(name)
            self.assertIsInstance(value, list, name)
            self.assertTrue(strings_only(value), name + " holds a value that is not a string")

    def test_targets_and_muscles(self):
        self.assertTrue(8 <= len(self.c.targets) <= 12)
        self.assertEqual(len(set(self.c.targets)), len(self.c.targets))
        names = []
        for group in self.c.muscles:
            self.assertIsInstance(group, list)
            self.assertGreaterEqual(len(group), 2, group)
            names.extend(group[1:])
        self.assertEqual(len(names), len(set(names)), "a muscle is listed twice")
        self.assertEqual(sorted(names), sorted(name for name, _ in HOT_SPOTS))

    def test_log_dates(self):
        self.assertEqual(len(self.c.log_dates), 6)
        self.assertEqual(len(set(self.c.log_dates)), 6)
        for text in self.c.log_dates:
            self.assertTrue(text.strip() and "/" not in text, text)


class ExerciseTest(unittest.TestCase):
    def setUp(self):
        self.c = Catalogue.load()
        self.muscle_names = {m for group in self.c.muscles for m in group[1:]}

    def test_required_keys_and_values(self):
        allowed = {"name", "image", "description", "target1", "target2", "muscle1", "muscle2", "muscle3",
                   "muscle4", "difficulty"}
        for record in self.c.exercises:
            name = record.get("name", "?")
            for key in ("name", "image", "description", "target1", "muscle1", "difficulty"):
                self.assertTrue(record.get(key), "%r lacks %s" % (name, key))
            self.assertLessEqual(set(record), allowed, name)
            self.assertIn(record["difficulty"], ("Beginner", "Intermediate", "Advanced"), name)
            self.assertTrue(2 <= sentences(record["description"]) <= 5, name)
            self.assertRegex(record["image"], r"^[a-z0-9_]+$", name)
            if "muscle3" in record:
                self.assertIn("muscle2", record, name)
            if "muscle4" in record:
                self.assertIn("muscle3", record, name)

    def test_names_and_images_unique(self):
        names = [r["name"] for r in self.c.exercises]
        images = [r["image"] for r in self.c.exercises]
        self.assertEqual(len(names), len(set(names)))
        self.assertEqual(len(images), len(set(images)))
        every_picture = images + [i + "_t" for i in images]
        self.assertEqual(len(every_picture), len(set(every_picture)))
        fixed = {os.path.splitext(p)[0] for p in FIXED_PICTURES} | {"routine_t%d" % (i + 1) for i in
                                                                   range(len(self.c.routines))}
        fixed |= set(self.c.targets) | {t.replace(" ", "_") for t in self.c.log_dates}
        self.assertFalse(fixed & set(every_picture), "an exercise picture would replace another picture")

    def test_aerobic_exercises(self):
        names = [r["name"] for r in self.c.exercises]
        for aerobic in AEROBIC:
            self.assertEqual(names.count(aerobic), 1, repr(aerobic))
        blank = [n for n in names if n.startswith(" ")]
        self.assertEqual(sorted(blank), sorted(AEROBIC), "only the aerobic names begin with a blank")
        strength = [n for n in names if n not in AEROBIC]
        self.assertGreaterEqual(len(strength), 150)
        self.assertTrue(all(n == n.strip() and "  " not in n for n in strength))

    def test_targets_and_muscles_are_known_names(self):
        for record in self.c.exercises:
            for key in ("target1", "target2"):
                if key in record:
                    self.assertIn(record[key], self.c.targets, "%s of %r" % (key, record["name"]))
            self.assertNotEqual(record.get("target1"), record.get("target2"), record["name"])
            muscles = [record[k] for k in ("muscle1", "muscle2", "muscle3", "muscle4") if k in record]
            for muscle in muscles:
                self.assertTrue(muscle in self.muscle_names, "%r names the muscle %r" % (record["name"], muscle))
            self.assertEqual(len(muscles), len(set(muscles)), record["name"])

    def test_coverage_of_regions_and_muscles(self):
        for target in self.c.targets:
            members = [r for r in self.c.exercises if target in (r["target1"], r.get("target2"))]
            self.assertGreaterEqual(len(members), 8, target)
        for muscle in self.muscle_names:
            primary = [r for r in self.c.exercises if r["muscle1"] == muscle]
            self.assertGreaterEqual(len(primary), 3, muscle)


class RoutineTest(unittest.TestCase):
    def setUp(self):
        self.c = Catalogue.load()

    def test_routines(self):
        names = {r["name"] for r in self.c.exercises}
        self.assertGreaterEqual(len(self.c.routines), 8)
        key = re.compile(r"^section([1-9][0-9]?)(?:(exercise|set)([1-9][0-9]?))?$")
        for routine in self.c.routines:
            title = routine.get("name", "?")
            for k in ("name", "briefdescription", "fulldescription"):
                self.assertTrue(routine.get(k), "%r lacks %s" % (title, k))
            sections = {}
            for k, value in routine.items():
                if k in ("name", "briefdescription", "fulldescription"):
                    continue
                match = key.match(k)
                self.assertTrue(match, "%r has the key %s" % (title, k))
                i = int(match.group(1))
                self.assertLessEqual(i, 19)
                entry = sections.setdefault(i, {"exercise": set(), "set": set(), "title": False})
                if match.group(2):
                    self.assertLessEqual(int(match.group(3)), 19)
                    entry[match.group(2)].add(int(match.group(3)))
                    if match.group(2) == "exercise":
                        self.assertTrue(value in names, "%r names the unknown exercise %r" % (title, value))
                    else:
                        self.assertTrue(value.strip(), title)
                else:
                    entry["title"] = True
            self.assertTrue(1 <= len(sections) <= 4, title)
            self.assertEqual(sorted(sections), list(range(1, len(sections) + 1)), title)
            for i, entry in sections.items():
                self.assertTrue(entry["title"], "%r section %d has no title" % (title, i))
                self.assertTrue(entry["exercise"], "%r section %d is empty" % (title, i))
                self.assertEqual(sorted(entry["exercise"]), list(range(1, len(entry["exercise"]) + 1)), title)
                self.assertEqual(entry["exercise"], entry["set"], "%r section %d" % (title, i))


class PictureTest(unittest.TestCase):
    def setUp(self):
        self.c = Catalogue.load()

    def expected(self):
        """Every picture that a record or a screen names, with its exact size where one is fixed."""
        sizes = {}
        for record in self.c.exercises:
            sizes[record["image"] + ".jpg"] = (320, 370)
            sizes[record["image"] + "_t.jpg"] = (35, 40)
        sizes.update({"custom.jpg": (320, 370), "custom_t.jpg": (35, 40), "logo.jpg": (320, 370),
                      "body.jpg": (320, 367)})
        for name in FIXED_PICTURES:
            sizes.setdefault(name, None)
        for target in self.c.targets:
            sizes[target + ".jpg"] = None
        for text in self.c.log_dates:
            sizes[text.replace(" ", "_") + ".jpg"] = None
        for i in range(len(self.c.routines)):
            sizes["routine_t%d.jpg" % (i + 1)] = None
        return sizes

    def test_every_named_picture_exists_decodes_and_has_a_sensible_size(self):
        problems = []
        for name, size in sorted(self.expected().items()):
            path = os.path.join(RESOURCES, name)
            if not os.path.isfile(path):
                problems.append("%s is missing" % name)
                continue
            ext = os.path.splitext(name)[1]
            with open(path, "rb") as f:
                data = f.read()
            magic = MAGIC[ext]
            if not data.startswith(magic if isinstance(magic, tuple) else (magic,)):
                problems.append("%s does not hold %s data" % (name, FORMAT[ext]))
                continue
            try:
                with Image.open(path) as image:
                    image.load()
                    actual = image.size
                    fmt = image.format
            except Exception as error:  # noqa: BLE001 - any decoder failure is the finding
                problems.append("%s does not decode: %s" % (name, error))
                continue
            if fmt != FORMAT[ext]:
                problems.append("%s decodes as %s" % (name, fmt))
            if size is not None and actual != size:
                problems.append("%s is %dx%d, expected %dx%d" % ((name,) + actual + size))
            if not (16 <= actual[0] <= 320 or name == "noGraph.jpg") or not 16 <= actual[1] <= 2400:
                problems.append("%s has an odd size %dx%d" % ((name,) + actual))
            if len(data) > 200 * 1024:
                problems.append("%s is over 200 KiB" % name)
        self.assertEqual(problems, [])

    def test_aerobic_panel_pictures_fit_beside_the_header(self):
        for name in AEROBIC:
            with Image.open(os.path.join(RESOURCES, name.strip().replace(" ", "_") + "_log.png")) as image:
                self.assertLessEqual(image.size[0], 321 - 70)
                self.assertLessEqual(image.size[1], 369)

    def test_pictures_are_not_blank(self):
        # A generator fault that writes one flat colour would still pass the size checks.
        for record in self.c.exercises[:12] + self.c.exercises[-12:]:
            for suffix in ("", "_t"):
                with Image.open(os.path.join(RESOURCES, record["image"] + suffix + ".jpg")) as image:
                    low, high = image.convert("L").getextrema()
                    self.assertGreater(high - low, 60, record["image"] + suffix)


class BodyMapTest(unittest.TestCase):
    """Each hot spot lies on the drawn muscle of its name."""

    @classmethod
    def setUpClass(cls):
        sys.path.insert(0, TOOLS)
        import body_figure
        import figure_render
        cls.figure = body_figure
        cls.labels = figure_render.label_map(body_figure.figures(), body_figure.BODY_MAP_SIZE)
        cls.picture = Image.open(os.path.join(RESOURCES, "body.jpg")).convert("RGB")

    def test_the_figure_knows_the_hot_spots(self):
        self.assertEqual(self.figure.HOT_SPOTS, HOT_SPOTS)
        self.assertEqual(sorted(self.figure.MUSCLE_NAMES), sorted(n for n, _ in HOT_SPOTS))

    def test_each_hot_spot_lies_on_its_muscle(self):
        for name, (x, y, w, h) in HOT_SPOTS:
            label = 1 + self.figure.MUSCLE_NAMES.index(name)
            inside = sum(1 for i in range(x, x + w) for j in range(y, y + h)
                         if self.labels.getpixel((i, j)) == label)
            centre = self.labels.getpixel((x + w // 2, y + h // 2))
            self.assertEqual(centre, label, "the centre of %s lies on another muscle" % name)
            self.assertGreaterEqual(inside / (w * h), 0.25, "%s covers too little of its hot spot" % name)

    def test_the_shipped_picture_shows_muscle_under_each_hot_spot(self):
        # Muscles are drawn warm (red well above blue); skin and background are grey-blue.
        for name, (x, y, w, h) in HOT_SPOTS:
            warm = 0
            label = 1 + self.figure.MUSCLE_NAMES.index(name)
            for i in range(x, x + w):
                for j in range(y, y + h):
                    if self.labels.getpixel((i, j)) == label:
                        r, g, b = self.picture.getpixel((i, j))
                        warm += r - b > 40
            self.assertGreater(warm, 0.15 * w * h, "%s is not drawn as muscle in body.jpg" % name)


def main():
    global RESOURCES
    if len(sys.argv) < 2:
        sys.exit("usage: test_catalogue.py RESOURCES_DIR [unittest arguments]")
    RESOURCES = sys.argv.pop(1)
    unittest.main(verbosity=2)


if __name__ == "__main__":
    main()
