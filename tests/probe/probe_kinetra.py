#!/usr/bin/env python3
"""Probes a real kinetra from outside, as an attacker or a careless network would, and reports
figures: malformed WebSocket events, many browsers at once, protocol violations, traversal
paths, Host/Origin/token variants, the redirect after the token, hostile uploads, slow uploads,
idle connections that hold descriptors, hostile document folders and SIGKILLs while sets are
being saved. It fails (exit 1) when kinetra crashes, answers where it must refuse, stops
answering the token holder, floods its log, or loses a set it acknowledged.

    python3 tests/probe/probe_kinetra.py KINETRA RESOURCES [--quick]

--quick runs every probe with smaller counts (for the test suite); without it the counts are
those of a full probe run (a few minutes). Standard library only."""

import argparse
import json
import os
import plistlib
import random
import shutil
import socket
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))

import kinetra_client  # noqa: E402
from kinetra_client import (  # noqa: E402
    TOKEN, Kinetra, Screen, WebSocket, cookie, find, get, http, png, with_text)

failures = []
figures = []


def fail(what):
    failures.append(what)
    print("FAIL:", what, flush=True)


def figure(name, value):
    figures.append((name, value))
    print(f"  {name}: {value}", flush=True)


# ---- The probes


def probe_malformed_events(k, count):
    ws = WebSocket(k.port)
    ws.receive()
    before = len(k.stderr_lines)
    rng = random.Random(1)
    shapes = [
        lambda: "not json", lambda: "{", lambda: "[]", lambda: "null", lambda: '"tap"',
        lambda: json.dumps({"type": "tap"}), lambda: json.dumps({"type": "nope", "seq": 1}),
        lambda: json.dumps({"type": "tap", "x": 1e308, "y": -1e308}),
        lambda: json.dumps({"type": "selectRow", "view": rng.randrange(1 << 60), "section": -1,
                            "row": 2**63}),
        lambda: json.dumps({"type": "editText", "text": "x" * rng.randrange(1, 5000)}),
        lambda: json.dumps({"type": "scroll", "view": 3, "x": "a", "y": [], "phase": 7}),
        lambda: json.dumps({"type": "pickDate", "view": 1, "date": float("1e300")}),
        lambda: json.dumps({"type": "tap", "x": 1, "y": 1, "seq": -5}),
        lambda: bytes(rng.randrange(256) for _ in range(rng.randrange(1, 200))),
        lambda: "[" * 10000 + "]" * 10000,
    ]
    for _ in range(count):
        message = rng.choice(shapes)()
        if isinstance(message, bytes):
            ws.send_frame(0x2, message)
        else:
            ws.send_text(message)
    ws.close()
    time.sleep(0.5)
    lines = len(k.stderr_lines) - before
    figure(f"{count} malformed events: log lines", lines)
    if lines > max(50, count // 100):
        fail(f"{count} malformed events wrote {lines} log lines")
    if not k.alive() or get(k.port, "/", extra=cookie(k.port)) is None:
        fail("kinetra stopped answering after malformed events")


def probe_many_browsers(k, count):
    sockets, frames = [], 0
    start = time.time()
    for _ in range(count):
        try:
            ws = WebSocket(k.port)
            sockets.append(ws)
        except OSError:
            pass
    for ws in sockets:
        try:
            json.loads(ws.receive())
            frames += 1
        except (OSError, ConnectionError, ValueError):
            pass
    for ws in sockets:
        ws.close()
    figure(f"{count} browsers at once: first frames received", f"{frames} in "
           f"{time.time() - start:.1f} s")
    if frames < count:
        fail(f"only {frames} of {count} browsers got a frame")


def probe_protocol_violations(k):
    requests = [
        b"\x00\x01\x02\r\n\r\n", b"GET\r\n\r\n", b"GET / HTTP/9.9\r\n\r\n",
        b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n" + b"X: " + b"a" * 70000 + b"\r\n\r\n",
        b"POST /photo/1 HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: -5\r\n\r\n",
        b"POST /photo/1 HTTP/1.1\r\nHost: 127.0.0.1\r\nTransfer-Encoding: chunked\r\n\r\nZZ\r\n",
        b"GET /ws HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n\r\n",
        b"GET / HTTP/1.1\r\nHost: a\r\nHost: b\r\n\r\n",
    ]
    for request in requests:
        try:
            http(k.port, request, timeout=3)
        except OSError:
            pass
    if not k.alive():
        fail("kinetra died on a protocol violation")
    figure("protocol violations sent", len(requests))


TRAVERSALS = [
    "/client/../../etc/passwd", "/client/%2e%2e/%2e%2e/etc/passwd", "/client/..%2f..%2fetc%2fpasswd",
    "/bundle/../Exercises.plist", "/bundle/Exercises.plist", "/bundle/%2e%2e%2fREADME.md",
    "/documents/Kinetra_Log.plist", "/documents/../Kinetra_Log.plist", "/documents/.kinetra.lock",
    "/documents/%2fetc%2fpasswd", "/documents/..", "/documents/.", "/documents/",
    "/pictures/../../etc/passwd", "/pictures/zzzzzzzzzzzzzzzz", "/client/%00index.html",
    "//etc/passwd", "/client//etc/passwd", "/client/\\..\\..\\etc\\passwd",
    "/client/..;/..;/etc/passwd", "/%2e%2e/%2e%2e/etc/passwd", "/bundle/..%5c..%5cetc%5cpasswd",
    "/documents/Kinetra_Log.plist%00.png", "/bundle/%252e%252e%252fExercises.plist",
]


def probe_traversals(k):
    served = 0
    for path in TRAVERSALS:
        reply = get(k.port, path, extra=cookie(k.port))
        if reply and reply[0] == 200:
            body = reply[2]
            if b"root:" in body or b"<plist" in body or b"<dict>" in body:
                fail(f"{path} served a file it must not")
            served += 1
    figure(f"{len(TRAVERSALS)} traversal paths: answered 200", served)


def probe_hosts_origins_tokens(k):
    p = k.port
    good_hosts = [f"127.0.0.1:{p}", f"localhost:{p}", "127.0.0.1", "localhost", f"[::1]:{p}"]
    bad_hosts = ["evil.example", f"evil.example:{p}", "127.0.0.1.evil.example", "127.0.0.1:99999",
                 "127.0.0.1:", "127.0.0.1:0x50", "127.0.0.1:-1", "", "127.0.0.1 evil",
                 "localhost.", "10.0.0.1", f"127.0.0.1:{p}@evil.example", "127.1"]
    wrong = 0
    for host in good_hosts:
        reply = get(p, "/", host=host, extra=cookie(p))
        if not reply or reply[0] != 200:
            wrong += 1
            fail(f"Host {host!r} refused: {reply and reply[0]}")
    for host in bad_hosts:
        reply = get(p, "/", host=host, extra=cookie(p))
        if reply and reply[0] < 400:
            wrong += 1
            fail(f"Host {host!r} accepted: {reply[0]}")
    figure(f"{len(good_hosts) + len(bad_hosts)} Host variants: wrong answers", wrong)

    origins = ["http://evil.example", "null", "", f"http://127.0.0.1:{p}.evil.example",
               f"https://127.0.0.1:{p}", f"http://localhost:{p + 1}", "file://"]
    accepted = 0
    for origin in origins:
        ws = WebSocket(p, origin=origin if origin else " ")
        if ws.status == 101:
            accepted += 1
            fail(f"WebSocket from origin {origin!r} accepted")
        ws.close()
    good = WebSocket(p)
    if good.status != 101:
        fail(f"WebSocket from the own origin refused: {good.status}")
    good.close()
    figure(f"{len(origins) + 1} Origin variants: hostile ones accepted", accepted)

    tokens = ["", "x", TOKEN[:-1], TOKEN + "x", TOKEN.upper(), TOKEN.lower(), " " + TOKEN,
              TOKEN.replace("-", "%2E"), "%00" + TOKEN, TOKEN + "%00"]
    let_in = 0
    for token in tokens:
        for extra, path in ((f"Cookie: kinetra_token_{p}={token}\r\n", "/"),
                            ("", "/?token=" + token)):
            reply = get(p, path, extra=extra)
            if reply and reply[0] in (200, 303):
                let_in += 1
                fail(f"token {token!r} let in ({path})")
    figure(f"{2 * len(tokens)} wrong-token requests: let in", let_in)
    before = len(k.stderr_lines)
    for _ in range(2000 if not QUICK else 300):
        get(p, "/", extra=f"Cookie: kinetra_token_{p}=wrong\r\n")
    lines = len(k.stderr_lines) - before
    figure(f"{2000 if not QUICK else 300} wrong-token requests: log lines", lines)
    if lines > 60:
        fail(f"refused requests wrote {lines} log lines")


def probe_redirects(k):
    targets = ["//evil.example/", "/\\evil.example", "/%2F%2Fevil.example", "/%5Cevil.example",
               "/\t/evil.example", "//evil.example/%2e%2e", "/..//evil.example",
               "///evil.example", "/./\\/evil.example", "/client/main.js"]
    off_site = 0
    for target in targets:
        separator = "&" if "?" in target else "?"
        reply = get(k.port, target + separator + "token=" + TOKEN)
        if reply and reply[0] in (301, 302, 303, 307, 308):
            location = reply[1].get("location", "")
            if not location.startswith("/") or location.startswith("//") or "\\" in location:
                off_site += 1
                fail(f"{target!r} redirects off-site to {location!r}")
    figure(f"{len(targets)} redirect targets: off-site", off_site)


def upload(port, view, body, origin=True, content_type="image/png", timeout=10.0):
    return kinetra_client.upload(port, "photo", view, body, origin, content_type, timeout)


def probe_uploads(k):
    good = png(4, 4)
    bodies = [b"", b"\x89PNG", good[:40], good + b"junk", b"GIF89a" + b"\xff" * 100,
              b"\xff\xd8\xff" + os.urandom(500), os.urandom(2000),
              png(1, 1)[:16] + (65535).to_bytes(4, "big") * 2 + png(1, 1)[24:],
              b"<svg onload=alert(1)>", b"%PDF-1.4", good * 3]
    answers = {}
    for i, body in enumerate(bodies):
        for view in (1, 99999999, "0", "abc", "-1", "1/../2"):
            reply = upload(k.port, view, body)
            status = reply[0] if reply else None
            answers[status] = answers.get(status, 0) + 1
            if status is not None and status < 400:
                fail(f"hostile upload {i} to {view} accepted: {status}")
        reply = upload(k.port, 1, good, origin=False)
        if reply and reply[0] < 400:
            fail("an upload without Origin was accepted")
    figure(f"{len(bodies) * 7} hostile uploads: answers", dict(sorted(answers.items(), key=str)))
    if not k.alive():
        fail("kinetra died on hostile uploads")


def probe_slow_upload(k, size, rate):
    """A photo sent at `rate` bytes/s: while data flows the connection stays open until kinetra
    answers (at once, before the body, when no photo picker is open)."""
    body = png(16, 16) + b"\x00" * (size - len(png(16, 16)))
    head = (f"POST /photo/1 HTTP/1.1\r\nHost: 127.0.0.1:{k.port}\r\n"
            f"Origin: http://127.0.0.1:{k.port}\r\n" + cookie(k.port)
            + f"Content-Length: {len(body)}\r\nConnection: close\r\n\r\n").encode()
    start = time.time()
    reply = b""
    sent = 0
    with socket.create_connection(("127.0.0.1", k.port), timeout=60) as s:
        s.sendall(head)
        step = max(1, rate // 10)
        s.setblocking(False)
        try:
            while sent < len(body) and not reply:
                s.sendall(body[sent:sent + step])
                sent += step
                time.sleep(0.1)
                try:
                    reply = s.recv(4096)
                except BlockingIOError:
                    pass
        except (BrokenPipeError, ConnectionResetError, BlockingIOError):
            pass
        s.setblocking(True)
        if not reply:
            try:
                reply = s.recv(4096)
            except OSError:
                pass
    seconds = time.time() - start
    status = reply.split(b" ")[1].decode() if reply.startswith(b"HTTP/") else "no answer"
    figure(f"{size // 1000} kB upload at {rate // 1000} kB/s",
           f"{status} after {seconds:.1f} s, {min(sent, len(body)) // 1000} kB sent")
    if not reply:
        fail("a slow upload was cut off without an answer")


def probe_idle_connections(k, count):
    """Idle connections from anyone must not keep the token holder out."""
    idle = []
    for _ in range(count):
        try:
            idle.append(socket.create_connection(("127.0.0.1", k.port), timeout=2))
        except OSError:
            break
    before = len(k.stderr_lines)
    start = time.time()
    reply = None
    try:
        reply = get(k.port, "/", extra=cookie(k.port))
    except OSError:
        pass
    waited = time.time() - start
    time.sleep(1.0)
    lines = len(k.stderr_lines) - before
    for s in idle:
        s.close()
    figure(f"{len(idle)} idle connections: token holder answered",
           f"{reply[0] if reply else 'no'} after {waited:.2f} s; {lines} log lines in the next second")
    if not reply or reply[0] != 200:
        fail(f"with {len(idle)} idle connections the token holder got no answer")
    if lines > 20:
        fail(f"idle connections made kinetra write {lines} log lines a second")


HOSTILE_DOCUMENTS = {
    "garbage": lambda: os.urandom(4096),
    "empty": lambda: b"",
    "truncated xml": lambda: plistlib.dumps({"Mar 1, 2024": {"Squat": ["1", "2", "3"]}})[:-20],
    "binary": lambda: plistlib.dumps({"Mar 1, 2024": {"Squat": ["1", "2", "3"]}},
                                     fmt=plistlib.FMT_BINARY),
    "wrong kind": lambda: plistlib.dumps(["a", "b"]),
    "deep": lambda: b"<plist><array>" * 5000,
    "entity": lambda: (b'<?xml version="1.0"?><!DOCTYPE p [<!ENTITY a "aaaaaaaaaa">'
                       b'<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">]><plist><string>&b;&b;&b;'
                       b'</string></plist>'),
    "numbers": lambda: plistlib.dumps({"Mar 1, 2024": {"Squat": [1, 2.5, True]}}),
    "duplicate key": lambda: (b'<?xml version="1.0"?><plist><dict><key>a</key><string>1</string>'
                              b'<key>a</key><string>2</string></dict></plist>'),
    "nul": lambda: b"<plist>\x00</plist>",
    "utf16": lambda: plistlib.dumps({"x": "y"}).decode().encode("utf-16"),
}
USER_FILES = ["Kinetra_Log.plist", "Kinetra_Aerobics_Log.plist", "Workouts.plist",
              "Custom_Exercises.plist", "settings.plist", "Kinetra.plist"]


def probe_hostile_documents(binary, resources, scratch, quick):
    kinds = list(HOSTILE_DOCUMENTS.items())
    files = USER_FILES[:3] if quick else USER_FILES
    sets, lost = 0, 0
    for name in files:
        for label, make in kinds:
            folder = os.path.join(scratch, f"docs-{sets}")
            os.makedirs(folder)
            content = make()
            with open(os.path.join(folder, name), "wb") as f:
                f.write(content)
            sets += 1
            try:
                k = Kinetra(binary, resources, folder)
            except RuntimeError as error:
                fail(f"{name} {label}: {error}")
                continue
            if get(k.port, "/", extra=cookie(k.port)) is None:
                fail(f"{name} {label}: no answer")
            k.stop()
            kept = any(open(os.path.join(folder, f), "rb").read() == content
                       for f in os.listdir(folder) if f.startswith(name))
            if name == "Kinetra.plist" and not kept:
                # The older workout file goes once its workout is safely in Workouts.plist.
                kept = migrated(folder, content)
            if not kept:
                lost += 1
                fail(f"{name} {label}: the original bytes are gone")
    figure(f"{sets} hostile document sets: originals lost", lost)


def migrated(folder, content):
    try:
        names = plistlib.loads(content)
        with open(os.path.join(folder, "Workouts.plist"), "rb") as f:
            workouts = plistlib.load(f)
    except Exception:
        return False
    kept = [n for n in names if n != "separator"]
    return any(w[1:] == kept for w in workouts if isinstance(w, list))


def count_sets(folder, exercise):
    path = os.path.join(folder, "Kinetra_Log.plist")
    if not os.path.exists(path):
        return 0
    with open(path, "rb") as f:
        log = plistlib.load(f)
    return sum(len(day.get(exercise, [])) // 3 for day in log.values() if isinstance(day, dict))


def probe_kills_during_saves(binary, resources, scratch, rounds, exercise, region):
    folder = os.path.join(scratch, "kills")
    os.makedirs(folder)
    # A big log, so that every save takes a while and a kill lands inside one.
    with open(os.path.join(folder, "Kinetra_Log.plist"), "wb") as f:
        plistlib.dump({f"Jan {d % 28 + 1}, {1990 + d // 28}": {"Squat": ["100 kg", "5", "n" * 40]
                                                            * 20} for d in range(900)}, f)
    acknowledged = count_sets(folder, exercise)
    rng = random.Random(7)
    lost_rounds = 0
    for round_number in range(rounds):
        k = Kinetra(binary, resources, folder)
        try:
            screen = Screen(k.port)
            screen.tab("Catalogue")
            screen.select(region)
            screen.select(exercise)
            screen.segment(lambda v: v.get("kind") == "segmentedControl"
                           and len(v.get("segments", [])) == 3, 1)
            for _ in range(rng.randrange(1, 4)):
                screen.button("Add Set")
                acknowledged += 1
            # One more, killed at once: it may or may not be saved, but nothing before it may go.
            screen.ws.event(type="tap", view=find(screen.frame, with_text("Add Set"))["id"],
                            x=5, y=5, taps=1)
            time.sleep(rng.random() * 0.05)
        except (LookupError, TimeoutError, ConnectionError, OSError, TypeError) as error:
            fail(f"kill round {round_number}: could not drive the screen: {error!r}")
        k.stop(kill=True)
        saved = count_sets(folder, exercise)
        if saved < acknowledged:
            lost_rounds += 1
            fail(f"kill round {round_number}: {acknowledged} sets acknowledged, {saved} on disk")
        acknowledged = max(acknowledged, saved)
    leftovers = [f for f in os.listdir(folder) if ".tmp-" in f]
    k = Kinetra(binary, resources, folder)
    k.stop()
    remaining = [f for f in os.listdir(folder) if ".tmp-" in f]
    figure(f"{rounds} SIGKILLs while saving: acknowledged sets on disk, rounds that lost one",
           f"{acknowledged}, {lost_rounds}")
    figure("temporary files left by the kills, then after one clean start",
           f"{len(leftovers)}, then {len(remaining)}")
    if remaining:
        fail(f"{len(remaining)} temporary files survive a start")


QUICK = False


def main():
    global QUICK
    parser = argparse.ArgumentParser()
    parser.add_argument("kinetra")
    parser.add_argument("resources")
    parser.add_argument("--quick", action="store_true")
    args = parser.parse_args()
    QUICK = args.quick
    scratch = tempfile.mkdtemp(prefix="kinetra-probe-")
    try:
        k = Kinetra(args.kinetra, args.resources, os.path.join(scratch, "main"))
        print("probing kinetra on port", k.port, flush=True)
        probe_malformed_events(k, 1000 if QUICK else 10000)
        probe_many_browsers(k, 40 if QUICK else 200)
        probe_protocol_violations(k)
        probe_traversals(k)
        probe_hosts_origins_tokens(k)
        probe_redirects(k)
        probe_uploads(k)
        probe_slow_upload(k, 400_000 if QUICK else 8_000_000, 200_000)
        probe_idle_connections(k, 300 if QUICK else 1100)
        if not k.alive():
            fail("kinetra died during the probes")
        status = k.stop()
        if status != 0:
            fail(f"kinetra exited with {status} after the probes")
        probe_hostile_documents(args.kinetra, args.resources, scratch, QUICK)
        probe_kills_during_saves(args.kinetra, args.resources, scratch, 5 if QUICK else 30,
                                 "Barbell Bench Press", "Chest")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    print(f"{len(failures)} failures", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
