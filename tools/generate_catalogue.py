#!/usr/bin/python3
"""Writes the five catalogue property lists into resources/ from catalogue.py.

Usage: python3 tools/generate_catalogue.py [RESOURCES_DIR]
"""

import os
import plistlib
import sys

sys.dont_write_bytecode = True

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import catalogue  # noqa: E402


def write(directory, name, value):
    path = os.path.join(directory, name + ".plist")
    with open(path + ".tmp", "wb") as out:
        plistlib.dump(value, out, fmt=plistlib.FMT_XML, sort_keys=True)
    os.replace(path + ".tmp", path)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    directory = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources")
    os.makedirs(directory, exist_ok=True)
    write(directory, "Exercises", catalogue.EXERCISES)
    write(directory, "Targets", catalogue.TARGETS)
    write(directory, "Muscles", catalogue.MUSCLE_GROUPS)
    write(directory, "LogDates", catalogue.LOG_DATES)
    write(directory, "Routines", catalogue.ROUTINES)


if __name__ == "__main__":
    main()
