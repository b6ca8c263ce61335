"""Python's plistlib as the peer of Kinetra's property-list layer in tests.

  plist_peer.py write xml|binary PATH   write SAMPLE in that form
  plist_peer.py check PATH              exit 0 when PATH holds exactly SAMPLE
  plist_peer.py convert IN OUT xml|binary
                                        read IN with plistlib, write it to OUT in that form

SAMPLE mirrors the value PropertyListFileTest.cpp builds; keep the two in step.
"""

import datetime
import math
import plistlib
import sys

SAMPLE = {
    "plain": "Bench Press",
    "escaped": "a & b < c > d \"q\" 'a' ]]>",
    "unicode": "Gr\u00fc\u00dfe \u2013 \u65e5\u672c \U0001F600",
    "whitespace": "  tab\tnewline\n  ",
    "empty": "",
    "emptyArray": [],
    "emptyDict": {},
    "nested": [["a", ["b", []]], {"k": {"deep": ["x", {}]}}],
    "<key & more>": "escaped key",
    "\u043a\u043b\u044e\u0447": "\u0437\u043d\u0430\u0447\u0435\u043d\u0438\u0435",
    "integers": [0, 1, -1, 42, -(2**63), 2**63 - 1, 2**64 - 1],
    "reals": [0.5, -2.25, 1e300, 3.141592653589793, 0.1],
    "booleans": [True, False],
    "dates": [datetime.datetime(2010, 1, 5, 12, 30, 45), datetime.datetime(1969, 7, 20, 20, 17, 40)],
    "data": [b"\x00\x01\xfe\xff" + bytes(range(100)), b""],
}


def same(a, b):
    """Deep equality that tells True from 1 and 1 from 1.0."""
    if type(a) is not type(b):
        return False
    if isinstance(a, dict):
        return a.keys() == b.keys() and all(same(a[k], b[k]) for k in a)
    if isinstance(a, list):
        return len(a) == len(b) and all(same(x, y) for x, y in zip(a, b))
    if isinstance(a, float) and math.isnan(a):
        return math.isnan(b)
    return a == b


def form(name):
    return {"xml": plistlib.FMT_XML, "binary": plistlib.FMT_BINARY}[name]


def main(argv):
    command = argv[1]
    if command == "write":
        with open(argv[3], "wb") as f:
            plistlib.dump(SAMPLE, f, fmt=form(argv[2]))
        return 0
    if command == "check":
        with open(argv[2], "rb") as f:
            value = plistlib.load(f)
        if same(value, SAMPLE):
            return 0
        print("read:    ", repr(value), "\nexpected:", repr(SAMPLE), file=sys.stderr)
        return 1
    if command == "convert":
        with open(argv[2], "rb") as f:
            value = plistlib.load(f)
        with open(argv[3], "wb") as f:
            plistlib.dump(value, f, fmt=form(argv[4]))
        return 0
    print("unknown command", command, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
