#!/usr/bin/python3
"""Writes the hand-made seed inputs of the fuzz targets into tests/fuzz/corpus/<target>/.

    /usr/bin/python3 tests/fuzz/make_seeds.py

Seeds are the user files' shapes in both plist forms, cut-downs of the bundled resources,
pictures of every kind the decoders take (made with PIL), EXIF blocks, events, request heads,
base64 text and SMTP replies. What fuzzing finds is added to the same folders afterwards and
minimised with libFuzzer's -merge=1 (bench/fuzz.sh --merge). Rerunning this rewrites only the
seed-* files. Standard library and PIL only."""

import io
import json
import os
import plistlib
import struct
import sys
import datetime

from PIL import Image

ROOT = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(ROOT))
CORPUS = os.path.join(ROOT, "corpus")

DAY = {"Barbell Bench Press": ["100 kg", "5", "felt strong", "102.5 kg", "3", ""],
       "Squat": ["140 lb", "8", "line one\nline two & <more>"]}
USER_FILES = {
    "log": {"Jan 1, 2024": DAY, "Feb 29, 2024": {"Pull Up": ["0 kg", "12", ""]}},
    "aerobics": {"Mar 3, 2024": {" jogging": ["30", "5 km", "", "", ""]}},
    "workouts": [["Monday", "Squat", "separator", "Barbell Bench Press"], ["Empty"]],
    "custom": [{"name": "Mine", "image": "custom", "description": "", "target1": "none",
                "muscle1": "none", "muscle2": "n/a", "difficulty": "none"}],
    "settings": {"email": "me@example.org", "units": 1, "rest": {"Squat": 90}},
    "kinds": {"int": -(2 ** 63), "big": 2 ** 64 - 1, "real": 1.5e300, "tiny": 5e-324,
              "true": True, "false": False, "data": b"\x00\xffbytes",
              "date": datetime.datetime(2001, 1, 1, 12, 30, 5), "text": "\u00e9\U0001F600\t\r",
              "nested": [[[[{"a": []}]]]], "empty": {}},
}

XML_HANDWRITTEN = {
    "bom-doctype": b"\xef\xbb\xbf<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC"
                   b" \"-//Apple//DTD PLIST 1.0//EN\" \"x.dtd\">\n<plist version=\"1.0\">"
                   b"<string>a</string></plist>\n",
    "no-root": b"<dict><key>k</key><integer>0x7fffffffffffffff</integer></dict>",
    "entities": b"<plist><string>&amp;&lt;&gt;&quot;&apos;&#65;&#x1F600;<![CDATA[<x>]]></string>"
                b"</plist>",
    "comments-pi": b"<?xml version='1.0'?><!-- c --><plist><?pi x?><array><!--x--><true/>"
                   b"<false/></array></plist>",
    "reals": b"<plist><array><real>nan</real><real>+infinity</real><real>-inf</real>"
             b"<real>1e400</real><real>.5</real></array></plist>",
    "dates": b"<plist><array><date>2024-02-29T23:59:59Z</date><date>0001-01-01T00:00:00Z</date>"
             b"<date>9999-12-31T23:59:59Z</date></array></plist>",
    "data": b"<plist><data>\n  AAEC\n  /w==\n</data></plist>",
    "repeated-key": b"<plist><dict><key>a</key><string/><key>a</key><integer>-1</integer></dict>"
                    b"</plist>",
    "deep": b"<plist>" + b"<array>" * 70 + b"</array>" * 70 + b"</plist>",
    "depth-64": b"<plist>" + b"<array>" * 64 + b"</array>" * 64 + b"</plist>",
    "crlf": b"<plist><string>a\r\nb\rc</string></plist>",
    "mismatch": b"<plist><array><string>x</array></string></plist>",
    "two-values": b"<plist><true/><false/></plist>",
    "key-without-value": b"<plist><dict><key>k</key></dict></plist>",
    "nul": b"<plist><string>\x00</string></plist>",
    "utf16": "<plist><string>x</string></plist>".encode("utf-16"),
    "bad-utf8": b"<plist><string>\xc3\x28</string></plist>",
    "entity-unknown": b"<plist><string>&nbsp;</string></plist>",
}


def binary_table(objects, top=0, ref_size=1, offset_size=1):
    """A bplist00 of raw object bytes, with the trailer and offset table filled in."""
    body = b"bplist00"
    offsets = []
    for obj in objects:
        offsets.append(len(body))
        body += obj
    table_at = len(body)
    for offset in offsets:
        body += offset.to_bytes(offset_size, "big")
    body += struct.pack(">6xBBQQQ", offset_size, ref_size, len(objects), top, table_at)
    return body


BINARY_HANDWRITTEN = {
    # An array holding itself: a cycle.
    "cycle": binary_table([b"\xa1\x00"]),
    # Arrays that each hold the next twice: a tree of 2^16 leaves from 17 objects.
    "shared": binary_table([b"\xa2" + bytes([i + 1, i + 1]) for i in range(16)] + [b"\x08"]),
    "deep": binary_table([b"\xa1" + bytes([i + 1]) for i in range(70)] + [b"\x09"]),
    "null": binary_table([b"\x00"]),
    "uid": binary_table([b"\x80\x01"]),
    "set": binary_table([b"\xc1\x01", b"\x08"]),
    "int128": binary_table([b"\x14" + b"\xff" * 16]),
    "ref-out-of-range": binary_table([b"\xa1\x05"]),
    "key-not-string": binary_table([b"\xd1\x01\x02", b"\x10\x01", b"\x08"]),
    "lone-surrogate": binary_table([b"\x61\xd8\x00"]),
    "ascii-nul": binary_table([b"\x53a\x00b"]),
    "date-fraction": binary_table([b"\x33" + struct.pack(">d", 1.25)]),
    "truncated-trailer": b"bplist00\x08\x08",
    "offset-past-end": binary_table([b"\x08"])[:-9] + struct.pack(">Q", 999),
}


def xml(value):
    return plistlib.dumps(value, fmt=plistlib.FMT_XML)


def binary(value):
    return plistlib.dumps(value, fmt=plistlib.FMT_BINARY, sort_keys=False)


def resources_cut():
    """The bundled plists, cut to their first entries so each seed stays a few KB."""
    cuts = {}
    for name in ("Exercises", "Routines", "Muscles", "Targets", "LogDates"):
        with open(os.path.join(SOURCE, "resources", name + ".plist"), "rb") as f:
            value = plistlib.load(f)
        if isinstance(value, list):
            value = value[:4]
        elif isinstance(value, dict):
            value = dict(list(value.items())[:6])
        cuts[name.lower()] = value
    return cuts


def plist_seeds():
    values = {**USER_FILES, **resources_cut()}
    xml_seeds = {name: xml(v) for name, v in values.items()}
    xml_seeds.update(XML_HANDWRITTEN)
    binary_seeds = {name: binary(v) for name, v in values.items() if name != "kinds"}
    binary_seeds["kinds"] = binary({k: v for k, v in USER_FILES["kinds"].items()
                                    if k != "big"})
    binary_seeds.update(BINARY_HANDWRITTEN)
    return xml_seeds, binary_seeds


def image_bytes(image, fmt, **options):
    out = io.BytesIO()
    image.save(out, fmt, **options)
    return out.getvalue()


def gradient(mode, size=(7, 5)):
    image = Image.new("RGB", size)
    image.putdata([(x * 36, y * 50, (x + y) * 20) for y in range(size[1]) for x in range(size[0])])
    return image.convert(mode)


def exif_block(orientation, order="MM"):
    endian = ">" if order == "MM" else "<"
    tiff = order.encode() + struct.pack(endian + "HI", 42, 8)
    tiff += struct.pack(endian + "H", 1) + struct.pack(endian + "HHIHH", 0x0112, 3, 1, orientation, 0)
    tiff += struct.pack(endian + "I", 0)
    return b"Exif\x00\x00" + tiff


def with_exif(jpeg, orientation):
    block = exif_block(orientation)
    segment = b"\xff\xe1" + struct.pack(">H", len(block) + 2) + block
    return jpeg[:2] + segment + jpeg[2:]


def picture_seeds():
    seeds = {}
    seeds["png-rgb"] = image_bytes(gradient("RGB"), "PNG")
    seeds["png-rgba"] = image_bytes(gradient("RGBA"), "PNG")
    seeds["png-gray"] = image_bytes(gradient("L"), "PNG")
    seeds["png-palette"] = image_bytes(gradient("P"), "PNG", transparency=0)
    seeds["png-16bit"] = image_bytes(gradient("L").convert("I"), "PNG")
    seeds["png-interlaced"] = image_bytes(gradient("RGB", (9, 9)), "PNG", interlace=1)
    seeds["png-1bit"] = image_bytes(gradient("1", (13, 3)), "PNG")
    jpeg = image_bytes(gradient("RGB", (16, 12)), "JPEG", quality=50)
    seeds["jpeg-baseline"] = jpeg
    seeds["jpeg-progressive"] = image_bytes(gradient("RGB", (16, 12)), "JPEG", progressive=True)
    seeds["jpeg-gray"] = image_bytes(gradient("L", (9, 17)), "JPEG")
    seeds["jpeg-cmyk"] = image_bytes(gradient("CMYK", (8, 8)), "JPEG")
    for orientation in (3, 6, 8, 9):
        seeds[f"jpeg-exif-{orientation}"] = with_exif(jpeg, orientation)
    seeds["jpeg-truncated"] = jpeg[: len(jpeg) // 2]
    seeds["png-truncated"] = seeds["png-rgb"][:40]
    seeds["gif"] = image_bytes(gradient("P"), "GIF")
    seeds["png-huge-header"] = seeds["png-rgb"][:16] + struct.pack(">II", 100000, 100000) + \
        seeds["png-rgb"][24:]
    for name in ("beginner.jpg",):
        with open(os.path.join(SOURCE, "resources", name), "rb") as f:
            seeds["resource-" + name.replace(".", "-")] = f.read()
    return seeds


def exif_seeds():
    seeds = {f"orientation-{o}-{order}": exif_block(o, order)
             for o in range(0, 10) for order in ("MM", "II")}
    seeds["xmp"] = b"http://ns.adobe.com/xap/1.0/\x00<x/>"
    seeds["offset-past-end"] = b"Exif\x00\x00MM\x00\x2a\xff\xff\xff\xf0"
    seeds["two-entries"] = exif_block(6)[:14] + b"\x00\x02" + exif_block(6)[16:28] * 2 + b"\0" * 4
    return seeds


def event_seeds():
    events = [
        {"type": "tap", "x": 10, "y": 20.5, "taps": 2, "seq": 1},
        {"type": "tap", "x": 1e7, "y": -1e7, "view": 9007199254740992},
        {"type": "selectRow", "view": 3, "section": 0, "row": 16777216},
        {"type": "tapAccessory", "view": 3, "section": 1, "row": 2},
        {"type": "deleteRow", "view": 3, "section": 1, "row": 2},
        {"type": "moveRow", "view": 4, "from": [0, 1], "to": [2, 3]},
        {"type": "sectionIndex", "view": 5, "index": 7},
        {"type": "editText", "text": "100 kg \u00e9\U0001F600"},
        {"type": "pressReturn", "seq": 0},
        {"type": "chooseSegment", "view": 6, "segment": 2},
        {"type": "scroll", "view": 7, "x": 0, "y": 350.25, "phase": "decelerating"},
        {"type": "pickDate", "view": 8, "date": 1700000000.5},
        {"type": "cancelPicker", "view": 8},
        {"type": "resize", "height": 844},
    ]
    seeds = {f"{i:02d}-{e['type']}": json.dumps(e).encode() for i, e in enumerate(events)}
    seeds["bad-nan"] = b'{"type":"tap","x":NaN,"y":1}'
    seeds["bad-huge"] = b'{"type":"tap","x":1e400,"y":1}'
    seeds["bad-seq"] = b'{"type":"pressReturn","seq":-1}'
    seeds["bad-view"] = b'{"type":"cancelPicker","view":18446744073709551615}'
    seeds["deep"] = b"[" * 3000 + b"]" * 3000
    seeds["not-object"] = b'"tap"'
    seeds["bad-utf8"] = b'{"type":"editText","text":"\xc3\x28"}'
    seeds["escapes"] = b'{"type":"editText","text":"\\ud83d\\ude00\\u0000"}'
    return seeds


def url_seeds():
    requests = [
        (0, "GET", "/", "", "127.0.0.1:8080", "", ""),
        (0, "GET", "/", "token=$T", "localhost:8080", "", ""),
        (0, "GET", "/a/b%20c", "x=1&token=$T&y=2", "127.0.0.1", "", ""),
        (0, "HEAD", "//evil.example/", "token=$T", "[::1]:8080", "", ""),
        (0, "GET", "/\\evil", "token=%24T", "192.0.2.7:8080", "", ""),
        (1, "POST", "/upload", "", "127.0.0.1:8080", "http://127.0.0.1:8080",
         "kinetra_token_8080=$T"),
        (3, "GET", "/ws", "", "LOCALHOST:8080", "http://localhost:8080",
         "a=b; kinetra_token_8080=$T"),
        (2, "GET", "/ws", "", "[::ffff:127.0.0.1]:80", "", "kinetra_token_8080=wrong"),
        (0, "GET", "/..%2f..", "token=$T&next=http://x", "127.1:0", "", ""),
        (0, "GET", "/a\tb", "q=%zz", "evil.example", "", ""),
        (1, "POST", "/x", "", "[fe80::1]:65535", "http://[FE80::1]:65535", "kinetra_token_8080=$T"),
        (0, "GET", "/%00", "token=$T&token=x", "127.0.0.1:65536", "", ""),
    ]
    return {f"{i:02d}": bytes([flags]) + "\n".join(fields).encode()
            for i, (flags, *fields) in enumerate(requests)}


def base64_seeds():
    return {"plain": b"aGVsbG8gd29ybGQ=", "lines": b"aGVs\r\nbG8=\n", "websafe": b"-_-_",
            "padding": b"YQ==YQ==", "junk": b"!!@@##", "empty": b"", "binary": bytes(range(256))}


def smtp_seeds():
    # The first three bytes choose the starting state, the options and the read size.
    greeting = b"220 relay.example.org ESMTP\r\n"
    ehlo = b"250-relay.example.org\r\n250-AUTH PLAIN LOGIN\r\n250-STARTTLS\r\n250 SIZE 1000\r\n"
    return {
        "greeting": b"\x01\x00\x10" + greeting,
        "ehlo": b"\x02\x02\x07" + greeting + ehlo,
        "auth": b"\x04\x02\x40" + b"334 VXNlcm5hbWU6\r\n334 UGFzc3dvcmQ6\r\n235 ok\r\n",
        "data": b"\x06\x00\x01" + b"250 ok\r\n354 go ahead\r\n250 queued\r\n221 bye\r\n",
        "refused": b"\x01\x00\x05" + b"554 no\r\n",
        "garbage": b"\x03\x07\x3f" + b"2" * 300 + b"\r\n",
        "multiline-unended": b"\x02\x00\x02" + b"250-" * 200,
    }


def write(target, seeds):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    for name, content in seeds.items():
        with open(os.path.join(folder, "seed-" + name), "wb") as f:
            f.write(content)


def main():
    xml_seeds, binary_seeds = plist_seeds()
    write("xml_plist", xml_seeds)
    write("binary_plist", binary_seeds)
    write("property_list", {**{"xml-" + k: v for k, v in xml_seeds.items()},
                            **{"binary-" + k: v for k, v in binary_seeds.items()}})
    write("picture_decoder", picture_seeds())
    write("exif_orientation", exif_seeds())
    write("event_decoder", event_seeds())
    write("url_access", url_seeds())
    write("base64_decode", base64_seeds())
    write("smtp_reply", smtp_seeds())
    return 0


if __name__ == "__main__":
    sys.exit(main())
