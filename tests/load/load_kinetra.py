#!/usr/bin/env python3
"""Puts a real kinetra under load and abuse through its WebSocket shell while one ordinary
browser keeps using it, and reports that browser's event-to-frame latency and kinetra's memory.

    python3 tests/load/load_kinetra.py KINETRA RESOURCES [--quick]

Phases, each with the ordinary browser scrolling the complete list of exercises all along:
  browsers  many browsers at once, each sending events (taps that change nothing, scroll offsets
            on the complete list, typing) and checking that a frame answers every one;
  stalled   one browser that sends events and never reads: kinetra's memory stays bounded and the
            others are not slowed;
  idle      idle connections, WebSockets that never answer a ping and sockets that never send a
            header, until the shell's deadlines close them: the descriptors come back, and a new
            browser connects meanwhile;
  abuse     malformed WebSocket frames, invalid UTF-8, oversize messages, unknown event kinds,
            events naming views that do not exist, and headers dripped a byte at a time.
Without --quick the counts are the full ones (50 browsers of 1,000 events, 1,000 idle
connections, the WebSockets' idle closing awaited): a few minutes. The exit status is 1 when a
check failed; the latency goals (median <= 5 ms, p99 <= 20 ms) are reported, and checked only in
the full run, where nothing but this driver shares the machine's cores. Standard library only."""

import argparse
import multiprocessing
import os
import random
import re
import resource
import socket
import statistics
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))

from kinetra_client import (  # noqa: E402
    Kinetra, Screen, WebSocket, cookie, find, frame_bytes, get, upgrade_request)

ACK = re.compile(rb'^\{"ack":(-?\d+),')
FRAME_END = b'"type":"frame"}'
failures = []


def fail(what):
    failures.append(what)
    print("FAIL:", what, flush=True)


def figure(name, value):
    print(f"  {name}: {value}", flush=True)


# ---- A browser that reads only what it needs of each message


class LeanSocket(WebSocket):
    """A WebSocket that reads into one reused buffer and looks only at the head and the tail of
    each message: the acknowledged number comes first and the type last (the keys are in
    alphabetical order). Every browser receives every frame, each the whole screen (tens of
    kilobytes of JSON); decoding them all would make the driver, not kinetra, the bottleneck."""

    def __init__(self, port, timeout=10.0):
        super().__init__(port, timeout=timeout)
        self.area = bytearray(1 << 20)
        self.area[:len(self.buffer)] = self.buffer
        self.begin, self.end = 0, len(self.buffer)
        self.buffer = b""

    def _fill(self, n):
        """Makes n bytes available from self.begin."""
        if self.begin + n > len(self.area):
            waiting = self.end - self.begin
            if n > len(self.area):
                self.area.extend(bytes(n - len(self.area)))
            self.area[:waiting] = self.area[self.begin:self.end]
            self.begin, self.end = 0, waiting
        view = memoryview(self.area)
        while self.end - self.begin < n:
            got = self.sock.recv_into(view[self.end:])
            if not got:
                raise ConnectionError("closed")
            self.end += got

    def _take(self, n):
        self._fill(n)
        at = self.begin
        self.begin += n
        return at

    def next_ack(self, sequence, timeout):
        deadline = time.monotonic() + timeout
        while True:
            self.sock.settimeout(max(0.001, deadline - time.monotonic()))
            at = self._take(2)
            b0, b1 = self.area[at], self.area[at + 1]
            n = b1 & 0x7F
            if n == 126:
                at = self._take(2)
                n = int.from_bytes(self.area[at:at + 2], "big")
            elif n == 127:
                at = self._take(8)
                n = int.from_bytes(self.area[at:at + 8], "big")
            at = self._take(n)
            opcode = b0 & 0x0F
            if opcode == 0x9:
                self.send_frame(0xA, bytes(self.area[at:at + n]))
            elif opcode == 0x8:
                raise ConnectionError("closed by the server")
            elif opcode == 0x1:
                match = ACK.match(bytes(self.area[at:at + min(n, 32)]))
                tail = bytes(self.area[at + n - len(FRAME_END):at + n])
                if match and int(match.group(1)) >= sequence and tail == FRAME_END:
                    return
            if time.monotonic() > deadline:
                raise TimeoutError(f"no frame answered event {sequence}")


def complete_list(port):
    """Shows the complete list of exercises (from the Catalogue tab); returns its table's id."""
    screen = Screen(port)
    screen.home("Catalogue", "Catalogue")
    if screen.navigation_bar().get("title") != "All Exercises":
        screen.scroll(screen.tables()[-1], 400)
        screen.select("complete list of exercises")
    table = screen.tables()[-1]
    title = find(screen.frame, lambda v: v.get("kind") == "label"
                 and v.get("text") == "All Exercises")
    screen.close()
    return table["id"], table["contentSize"][1], title["id"]


def realistic_events(rng, table, height, title):
    """An endless mix of what a user does on the complete list: scroll it (drag, glide, let go),
    tap the title (which does nothing), type (there is no field: the keyboard's text goes
    nowhere)."""
    while True:
        kind = rng.random()
        if kind < 0.7:
            y = rng.uniform(0, max(0.0, height - 367))
            for phase in ("dragging", "dragging", "decelerating", "ended"):
                yield {"type": "scroll", "view": table, "x": 0, "y": y, "phase": phase}
                y = min(max(0.0, y + rng.uniform(-40, 40)), max(0.0, height - 367))
        elif kind < 0.9:
            yield {"type": "tap", "view": title, "x": 20, "y": 10, "taps": 1}
        else:
            yield {"type": "editText", "text": "bench"[:rng.randrange(1, 6)]}


def browser_worker(port, clients, events, table, height, title, seed, results):
    """One process running `clients` browsers on threads; puts (answered, missing, errors)."""
    answered = [0] * clients
    errors = []

    def run(index):
        rng = random.Random(seed * 1000 + index)
        try:
            ws = LeanSocket(port, timeout=30)
            ws.next_ack(-1, 30)  # the first frame
            stream = realistic_events(rng, table, height, title)
            for _ in range(events):
                ws.event(**next(stream))
                ws.next_ack(ws.sequence, 30)
                answered[index] += 1
            ws.close()
        except (OSError, ConnectionError, TimeoutError) as error:
            errors.append(f"browser {seed}.{index}: {error!r}")

    threads = [threading.Thread(target=run, args=(i,)) for i in range(clients)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    results.put((sum(answered), clients * events - sum(answered), errors))


# ---- The ordinary browser and the memory watch


class Observer(threading.Thread):
    """The ordinary browser: one scroll event every `pause` seconds, each timed to the frame that
    answers it. Samples kinetra's VmRSS as it goes."""

    def __init__(self, k, table, height, pause=0.02):
        super().__init__(daemon=True)
        self.k, self.table, self.height, self.pause = k, table, height, pause
        self.latencies = []
        self.rss = []
        self.errors = []
        self.stopping = threading.Event()
        self.ws = LeanSocket(k.port, timeout=10)
        self.ws.next_ack(-1, 10)

    def run(self):
        rng = random.Random(99)
        while not self.stopping.is_set():
            y = rng.uniform(0, max(0.0, self.height - 367))
            try:
                start = time.perf_counter()
                self.ws.event(type="scroll", view=self.table, x=0, y=y, phase="ended")
                self.ws.next_ack(self.ws.sequence, 10)
                self.latencies.append(time.perf_counter() - start)
            except (OSError, ConnectionError, TimeoutError) as error:
                self.errors.append(repr(error))
                return
            rss = self.k.status_field("VmRSS")
            if rss is not None:
                self.rss.append(rss)
            time.sleep(self.pause)

    def window(self):
        """The latencies and RSS samples since the last call."""
        latencies, rss = self.latencies, self.rss
        self.latencies, self.rss = [], []
        return latencies, rss

    def stop(self):
        self.stopping.set()
        self.join(timeout=15)
        self.ws.close()


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(p / 100 * (len(ordered) - 1))))]


def report_window(name, observer, all_latencies):
    latencies, rss = observer.window()
    all_latencies.extend(latencies)
    if not latencies:
        fail(f"{name}: the ordinary browser got no frame")
        return
    median = statistics.median(latencies) * 1000
    p99 = percentile(latencies, 99) * 1000
    figure(f"{name}: ordinary browser, {len(latencies)} events",
           f"median {median:.2f} ms, p99 {p99:.2f} ms, max {max(latencies) * 1000:.1f} ms; "
           f"kinetra VmRSS up to {max(rss) // 1024 if rss else '?'} MB")
    if observer.errors:
        fail(f"{name}: the ordinary browser lost its connection: {observer.errors}")


# ---- Phases


def phase_browsers(k, table, height, title, browsers, events):
    start = time.monotonic()
    processes = min(browsers, max(1, (os.cpu_count() or 2)))
    per = [browsers // processes + (1 if i < browsers % processes else 0) for i in range(processes)]
    results = multiprocessing.Queue()
    workers = [multiprocessing.Process(target=browser_worker, args=(
        k.port, n, events, table, height, title, i, results)) for i, n in enumerate(per)]
    for w in workers:
        w.start()
    answered, missing, errors = 0, 0, []
    for _ in workers:
        a, m, e = results.get(timeout=1800)
        answered, missing, errors = answered + a, missing + m, errors + e
    for w in workers:
        w.join()
    seconds = time.monotonic() - start
    figure(f"{browsers} browsers x {events} events", f"{answered} answered by a frame, "
           f"{missing} not, in {seconds:.1f} s ({answered / seconds:.0f} events/s)")
    for error in errors[:5]:
        fail(error)
    if missing:
        fail(f"{missing} events of the browsers were not answered by a frame")


def phase_stalled(k, table, events):
    """A browser that sends and never reads; kinetra's memory must stay bounded."""
    before = k.status_field("VmRSS")
    ws = WebSocket(k.port)
    ws.sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
    peak = before
    sent = 0
    try:
        ws.sock.settimeout(5)
        for i in range(events):
            ws.event(type="scroll", view=table, x=0, y=(i * 37) % 3000, phase="ended")
            sent += 1
            if i % 50 == 0:
                peak = max(peak, k.status_field("VmRSS") or 0)
                time.sleep(0.01)
    except OSError as error:
        figure("stalled browser: sending stopped", repr(error))
    time.sleep(0.5)
    peak = max(peak, k.status_field("VmRSS") or 0)
    figure("stalled browser (never reads)",
           f"{sent} events sent; kinetra VmRSS {before // 1024} MB before, "
           f"at most {peak // 1024} MB while it stalled")
    ws.close()
    if peak - before > 64 * 1024:
        fail(f"a browser that never reads grew kinetra by {(peak - before) // 1024} MB")


def raise_descriptor_limit(needed):
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    if soft < needed:
        resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, max(needed, soft)), hard))
    return resource.getrlimit(resource.RLIMIT_NOFILE)[0]


def wait_for_descriptors(k, at_most, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        count = k.open_descriptors()
        if count is not None and count <= at_most:
            return count
        time.sleep(0.25)
    return k.open_descriptors()


def phase_idle(k, count, await_websockets):
    """`count` idle connections: half WebSockets that never read nor answer a ping, half sockets
    that never finish a header."""
    baseline = k.open_descriptors()
    websockets, raw = [], []
    start = time.monotonic()
    for i in range(count):
        try:
            if i % 2 == 0:
                s = socket.create_connection(("127.0.0.1", k.port), timeout=5)
                s.sendall(upgrade_request(k.port))
                websockets.append(s)  # the 101 and the frames stay unread
            else:
                s = socket.create_connection(("127.0.0.1", k.port), timeout=5)
                s.sendall(b"GET / HTTP/1.1\r\n")
                raw.append(s)
        except OSError as error:
            fail(f"idle connection {i}: {error!r}")
            break
    time.sleep(0.5)
    held = k.open_descriptors()
    fresh = None
    try:
        ws = LeanSocket(k.port, timeout=10)
        begin = time.perf_counter()
        ws.next_ack(-1, 10)
        fresh = time.perf_counter() - begin
        ws.close()
    except (OSError, ConnectionError, TimeoutError) as error:
        fail(f"with {count} idle connections a new browser could not connect: {error!r}")
    page = get(k.port, "/", extra=cookie(k.port))
    if not page or page[0] != 200:
        fail(f"with {count} idle connections the page was not served: {page and page[0]}")
    figure(f"{count} idle connections ({len(websockets)} WebSockets, {len(raw)} without a header)",
           f"kinetra holds {held} descriptors ({baseline} before); a new browser's first frame "
           f"after {fresh * 1000 if fresh is not None else float('nan'):.1f} ms")
    # Sockets that never sent a header: closed by the header deadline (or dropped for room).
    after_headers = wait_for_descriptors(k, baseline + len(websockets) + 8, 20)
    figure("descriptors once the header deadline passed",
           f"{after_headers} after {time.monotonic() - start:.1f} s")
    if after_headers > baseline + len(websockets) + 8:
        fail(f"sockets without a header still held: {after_headers} descriptors")
    for s in raw:
        s.close()
    if await_websockets:
        # Pinged after the idle time, closed after another without an answer.
        after_idle = wait_for_descriptors(k, baseline + 8, 100)
        figure("descriptors once the WebSockets' idle time passed twice",
               f"{after_idle} after {time.monotonic() - start:.1f} s")
        if after_idle > baseline + 8:
            fail(f"idle WebSockets still held: {after_idle} descriptors")
    for s in websockets:
        s.close()
    wait_for_descriptors(k, baseline + 8, 10)


def expect_closed(sock, seconds=5):
    """Whether the server closed `sock` (a close frame or the end of the stream) in time."""
    sock.settimeout(seconds)
    data = b""
    try:
        while True:
            chunk = sock.recv(1 << 16)
            if not chunk:
                return True
            data += chunk
            # A close frame from the server: opcode 8 somewhere after the last frame.
            if re.search(rb"\x88[\x00-\x7d]", data[-256:]):
                return True
    except socket.timeout:
        return False
    except OSError:
        return True


def abuse_connection(k, frames):
    s = socket.create_connection(("127.0.0.1", k.port), timeout=5)
    s.sendall(upgrade_request(k.port))
    head = b""
    while b"\r\n\r\n" not in head:
        head += s.recv(4096)
    for f in frames:
        try:
            s.sendall(f)
        except OSError:
            break
    return s


def phase_abuse(k, table, rounds):
    before = len(k.stderr_lines)
    closing = {
        "an unmasked frame": [frame_bytes(0x1, b'{"type":"pressReturn"}', mask=False)],
        "reserved bits": [bytes([0xF1]) + frame_bytes(0x1, b"{}")[1:]],
        "an unknown opcode": [frame_bytes(0x3, b"x")],
        "a fragmented ping": [frame_bytes(0x9, b"x", fin=False)],
        "a continuation without a start": [frame_bytes(0x0, b"x")],
        "a ping of 200 bytes": [frame_bytes(0x9, b"x" * 200)],
        "invalid UTF-8 in a text frame": [frame_bytes(0x1, b'{"type":"editText","text":"\xc3\x28"}')],
        "UTF-8 split invalidly across fragments": [frame_bytes(0x1, b'{"t\xe2\x82', fin=False),
                                                   frame_bytes(0x0, b'\x28"}')],
        "a message over the limit (2 MB)": [frame_bytes(0x1, b'{"type":"editText","text":"'
                                                        + b"a" * (2 << 20) + b'"}')],
        "an announced length of 2^62": [bytes([0x81, 0xFF]) + (1 << 62).to_bytes(8, "big")
                                        + os.urandom(4)],
    }
    kept_open = 0
    for _ in range(rounds):
        for name, frames in closing.items():
            s = abuse_connection(k, frames)
            if not expect_closed(s):
                kept_open += 1
                fail(f"{name}: the WebSocket was not closed")
            s.close()
    figure(f"{len(closing) * rounds} protocol violations", f"{kept_open} connections kept open")

    # Well-formed frames with events that cannot be carried out: ignored, and answered.
    ws = LeanSocket(k.port)
    ws.next_ack(-1, 5)
    bad_events = [
        {"type": "fly", "to": "moon"}, {"type": "tap", "view": 987654321, "x": 1, "y": 1},
        {"type": "selectRow", "view": 987654321, "section": 0, "row": 0},
        {"type": "deleteRow", "view": 987654321, "section": 0, "row": 0},
        {"type": "scroll", "view": 987654321, "x": 0, "y": 10, "phase": "ended"},
        {"type": "chooseSegment", "view": 987654321, "segment": 1},
        {"type": "cancelPicker", "view": 987654321}, {"type": "pickDate", "view": 1, "date": 0},
        {"type": "scroll", "view": table, "x": 0, "y": 10, "phase": "sideways"},
        {"type": "TAP", "x": 1, "y": 1}, {"type": ""}, {"type": None},
    ]
    unanswered = 0
    for _ in range(rounds * 20):
        for event in bad_events:
            ws.event(**event)
            try:
                ws.next_ack(ws.sequence, 5)
            except TimeoutError:
                unanswered += 1
    ws.event(type="scroll", view=table, x=0, y=0, phase="ended")
    try:
        ws.next_ack(ws.sequence, 5)
    except (TimeoutError, ConnectionError) as error:
        fail(f"after events that cannot be carried out the browser got no frame: {error!r}")
    ws.close()
    total = rounds * 20 * len(bad_events)
    figure(f"{total} events of unknown kinds or naming no view",
           f"{unanswered} left without a frame acknowledging them")
    if unanswered:
        fail(f"{unanswered} refused events were never acknowledged: the browser keeps waiting")

    # Headers dripped a byte at a time: the header deadline closes them, nobody else waits.
    drips = [socket.create_connection(("127.0.0.1", k.port), timeout=5) for _ in range(20)]
    request = upgrade_request(k.port)
    start = time.monotonic()
    closed_after = None
    for i in range(len(request)):
        alive = 0
        for s in drips:
            try:
                s.sendall(request[i:i + 1])
                alive += 1
            except OSError:
                pass
        if alive == 0:
            closed_after = time.monotonic() - start
            break
        time.sleep(0.1)
        if time.monotonic() - start > 14:
            break
    still = sum(1 for s in drips if not expect_closed(s, 0.5))
    for s in drips:
        s.close()
    figure("20 headers dripped a byte every 0.1 s",
           f"closed after {closed_after:.1f} s" if closed_after else f"{still} still open at 14 s")
    if still:
        fail(f"{still} dripping headers outlived the header deadline")

    lines = len(k.stderr_lines) - before
    figure("log lines written during the abuse", lines)
    if lines > 100:
        fail(f"the abuse wrote {lines} log lines")
    if not k.alive():
        fail("kinetra died during the abuse")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("kinetra")
    parser.add_argument("resources")
    parser.add_argument("--quick", action="store_true")
    args = parser.parse_args()
    quick = args.quick
    browsers, events = (10, 100) if quick else (50, 1000)
    idle = 300 if quick else 1000
    limit = raise_descriptor_limit(4 * idle + 256)
    figure("descriptor limit (the driver's, inherited by kinetra)", limit)
    documents = tempfile.mkdtemp(prefix="kinetra-load-")
    k = Kinetra(args.kinetra, args.resources, documents)
    print("loading kinetra on port", k.port, flush=True)
    table, height, title = complete_list(k.port)
    observer = Observer(k, table, height)
    latencies = []
    try:
        observer.start()
        time.sleep(2 if quick else 5)
        report_window("alone", observer, latencies)
        phase_browsers(k, table, height, title, browsers, events)
        report_window("with the browsers", observer, latencies)
        phase_stalled(k, table, 2000 if quick else 20000)
        report_window("with a stalled browser", observer, latencies)
        phase_idle(k, idle, await_websockets=not quick)
        report_window("with idle connections", observer, latencies)
        phase_abuse(k, table, 1 if quick else 5)
        report_window("with the abuse", observer, latencies)
    finally:
        observer.stop()
        hwm = k.status_field("VmHWM")
        alive = k.alive()
        status = k.stop()
    median = statistics.median(latencies) * 1000
    p99 = percentile(latencies, 99) * 1000
    print(f"\nordinary browser over the whole run: {len(latencies)} events, median {median:.2f} ms "
          f"(goal <= 5), p99 {p99:.2f} ms (goal <= 20)")
    print(f"kinetra's peak memory (VmHWM): {hwm / 1024:.1f} MB" if hwm else "VmHWM unknown")
    if not alive:
        fail("kinetra was not running at the end")
    elif status != 0:
        fail(f"kinetra exited with {status}")
    if not quick and (median > 5 or p99 > 20):
        fail(f"latency over the goals: median {median:.2f} ms, p99 {p99:.2f} ms")
    print(f"{len(failures)} failures", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
