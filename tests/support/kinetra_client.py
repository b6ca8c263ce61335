"""A client of a real kinetra for the outside drivers (the probe, the crash driver, the load
driver): starts the process, speaks HTTP and the WebSocket protocol by hand, and drives the
screens through the events the browser client sends. Standard library only."""

import base64
import json
import os
import re
import signal
import socket
import struct
import subprocess
import threading
import time
import zlib

TOKEN = "probe-token-0123456789abcdefXYZ"


# ---- kinetra itself


class Kinetra:
    """One kinetra process on a documents folder, its stderr collected. `env` adds variables to
    the process's environment. Raises RuntimeError when the process ends before it serves."""

    def __init__(self, binary, resources, documents, extra=(), env=None):
        self.documents = documents
        self.process = subprocess.Popen(
            [binary, "--documents", documents, "--resources", resources, "--port", "0",
             "--token", TOKEN, *extra],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
            env={**os.environ, "LC_ALL": "C", "TZ": "UTC", **(env or {})})
        self.pid = self.process.pid
        self.stderr_lines = []
        self.port = None
        line = self.process.stdout.readline()
        match = re.search(r"http://[^:/]+:(\d+)/", line)
        if not match:
            self.process.kill()
            rest = self.process.stderr.read()
            self.process.wait()
            raise RuntimeError("kinetra did not start: " + line + rest)
        self.port = int(match.group(1))
        self.reader = threading.Thread(target=self._read_stderr, daemon=True)
        self.reader.start()

    def _read_stderr(self):
        for line in self.process.stderr:
            self.stderr_lines.append(line)

    def alive(self):
        return self.process.poll() is None

    def status_field(self, name):
        """A field of /proc/<pid>/status in kB (VmRSS, VmHWM), or None once the process is gone."""
        try:
            with open(f"/proc/{self.pid}/status") as f:
                for line in f:
                    if line.startswith(name + ":"):
                        return int(line.split()[1])
        except OSError:
            return None
        return None

    def open_descriptors(self):
        try:
            return len(os.listdir(f"/proc/{self.pid}/fd"))
        except OSError:
            return None

    def stop(self, kill=False):
        if self.alive():
            self.process.send_signal(signal.SIGKILL if kill else signal.SIGTERM)
        status = self.process.wait(timeout=30)
        self.reader.join(timeout=5)
        return status


# ---- HTTP and WebSocket by hand


def http(port, request, timeout=5.0, read_body=True):
    """Sends raw bytes, returns (status, headers dict, body) or None when nothing came back."""
    with socket.create_connection(("127.0.0.1", port), timeout=timeout) as s:
        s.sendall(request)
        data = bytearray()
        whole = None  # the reply's length once its head says it; -1: up to the close
        chunked = None
        try:
            while True:
                chunk = s.recv(262144)
                if not chunk:
                    break
                data += chunk
                if whole is None:
                    end = data.find(b"\r\n\r\n")
                    if end < 0:
                        continue
                    if not read_body:
                        break
                    length = re.search(rb"(?i)content-length:\s*(\d+)", bytes(data[:end]))
                    whole = end + 4 + int(length.group(1)) if length else -1
                    chunked = re.search(rb"(?i)transfer-encoding:\s*chunked", bytes(data[:end]))
                if 0 <= whole <= len(data) or (chunked and data.endswith(b"\r\n0\r\n\r\n")):
                    break
        except (socket.timeout, ConnectionResetError):
            pass
    data = bytes(data)
    if not data.startswith(b"HTTP/"):
        return None
    head, _, body = data.partition(b"\r\n\r\n")
    if re.search(rb"(?i)\r\ntransfer-encoding:\s*chunked", head):
        body = unchunked(body)
    lines = head.decode("latin-1").split("\r\n")
    status = int(lines[0].split()[1])
    headers = {}
    for line in lines[1:]:
        name, _, value = line.partition(":")
        headers[name.strip().lower()] = value.strip()
    return status, headers, body


def unchunked(body):
    """The bytes of a chunked body (hexadecimal sizes, each followed by its bytes), as far as
    they came."""
    data, at = bytearray(), 0
    while True:
        end = body.find(b"\r\n", at)
        if end < 0:
            break
        size = int(body[at:end].split(b";")[0] or b"0", 16)
        if size == 0:
            break
        data += body[end + 2:end + 2 + size]
        at = end + 2 + size + 2
    return bytes(data)


def get(port, path, host=None, extra=""):
    host = f"127.0.0.1:{port}" if host is None else host
    return http(port, f"GET {path} HTTP/1.1\r\nHost: {host}\r\n{extra}Connection: close\r\n\r\n"
                .encode("latin-1"))


def cookie(port):
    return f"Cookie: kinetra_token_{port}={TOKEN}\r\n"


def upgrade_request(port, origin=None, token=True):
    key = base64.b64encode(os.urandom(16)).decode()
    origin = origin if origin is not None else f"http://127.0.0.1:{port}"
    return (f"GET /ws HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\nUpgrade: websocket\r\n"
            f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n"
            f"Sec-WebSocket-Version: 13\r\nOrigin: {origin}\r\n"
            + (cookie(port) if token else "") + "\r\n").encode()


def frame_bytes(opcode, payload, fin=True, mask=True):
    """One WebSocket frame as a client sends it (masked unless `mask` is false)."""
    header = bytes([(0x80 if fin else 0) | opcode])
    n = len(payload)
    bit = 0x80 if mask else 0
    if n < 126:
        header += bytes([bit | n])
    elif n < 65536:
        header += bytes([bit | 126]) + n.to_bytes(2, "big")
    else:
        header += bytes([bit | 127]) + n.to_bytes(8, "big")
    if not mask:
        return header + payload
    key = os.urandom(4)
    # XOR the payload with the key repeated, a whole integer at a time.
    repeated = (key * (n // 4 + 1))[:n]
    masked = (int.from_bytes(payload, "big") ^ int.from_bytes(repeated, "big")).to_bytes(n, "big")
    return header + key + masked


class WebSocket:
    def __init__(self, port, origin=None, token=True, timeout=10.0):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=timeout)
        self.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self.sock.sendall(upgrade_request(port, origin, token))
        head = b""
        while b"\r\n\r\n" not in head:
            chunk = self.sock.recv(4096)
            if not chunk:
                break
            head += chunk
        self.status = int(head.split()[1]) if head.startswith(b"HTTP/") else 0
        self.buffer = head.partition(b"\r\n\r\n")[2]
        self.sequence = 0
        self.frame = None
        self.messages = []  # messages other than frames (save offers, vibrations), in order

    def send_text(self, text):
        payload = text.encode() if isinstance(text, str) else text
        self.send_frame(0x1, payload)

    def send_frame(self, opcode, payload, fin=True):
        self.sock.sendall(frame_bytes(opcode, payload, fin))

    def _read(self, n):
        while len(self.buffer) < n:
            chunk = self.sock.recv(1 << 20)
            if not chunk:
                raise ConnectionError("closed")
            self.buffer += chunk
        data, self.buffer = self.buffer[:n], self.buffer[n:]
        return data

    def receive(self):
        """The next text message, answering pings on the way."""
        while True:
            b0, b1 = self._read(2)
            n = b1 & 0x7F
            if n == 126:
                n = int.from_bytes(self._read(2), "big")
            elif n == 127:
                n = int.from_bytes(self._read(8), "big")
            payload = self._read(n)
            opcode = b0 & 0x0F
            if opcode == 0x9:
                self.send_frame(0xA, payload)
            elif opcode == 0x8:
                raise ConnectionError("closed by the server")
            elif opcode == 0x1:
                return payload.decode()

    def event(self, **fields):
        self.sequence += 1
        fields["seq"] = self.sequence
        self.send_text(json.dumps(fields))
        return self.sequence

    def frame_after(self, sequence, timeout=10.0):
        """The first frame that has seen event `sequence`."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            message = json.loads(self.receive())
            if message.get("type") == "frame":
                self.frame = message
                if message.get("ack", 0) >= sequence:
                    return message
            else:
                self.messages.append(message)
        raise TimeoutError("no frame acknowledging event %d" % sequence)

    def close(self):
        try:
            self.sock.close()
        except OSError:
            pass


# ---- The screen in a frame


def walk(view, parent=None):
    yield view, parent
    for child in view.get("subviews", []):
        yield from walk(child, view)


def find(frame, predicate):
    for view, _ in walk(frame["root"]):
        if predicate(view):
            return view
    return None


def find_all(frame, predicate):
    return [view for view, _ in walk(frame["root"]) if predicate(view)]


def with_text(text):
    return lambda v: v.get("text") == text


def texts(frame):
    return [v["text"] for v, _ in walk(frame["root"]) if v.get("text")]


def table_and_cell(frame, text):
    """The table holding the cell labelled `text`, and the cell."""
    def search(view, table):
        if view.get("kind") == "tableView":
            table = view
        if view.get("kind") == "tableViewCell" and table is not None:
            if any(v.get("text") == text for v, _ in walk(view)):
                return table, view
        for child in view.get("subviews", []):
            found = search(child, table)
            if found:
                return found
        return None
    return search(frame["root"], None)


class Screen:
    """Drives kinetra's screens through the WebSocket as the browser client does."""

    def __init__(self, port, timeout=10.0):
        self.ws = WebSocket(port, timeout=timeout)
        self.frame = json.loads(self.ws.receive())

    def do(self, **event):
        self.frame = self.ws.frame_after(self.ws.event(**event))
        return self.frame

    def tap_view(self, view):
        return self.do(type="tap", view=view["id"], x=view["frame"][2] / 2,
                       y=view["frame"][3] / 2, taps=1)

    def tab(self, title):
        bar = find(self.frame, lambda v: title in [t.get("title") for t in v.get("tabs", [])])
        titles = [t.get("title") for t in bar["tabs"]]
        w, h = bar["frame"][2], bar["frame"][3]
        return self.do(type="tap", view=bar["id"], x=(titles.index(title) + 0.5) * w / len(titles),
                       y=h / 2, taps=1)

    def select(self, text):
        table, cell = table_and_cell(self.frame, text)
        return self.do(type="selectRow", view=table["id"], section=cell["indexPath"][0],
                       row=cell["indexPath"][1])

    def delete_row(self, text):
        table, cell = table_and_cell(self.frame, text)
        return self.do(type="deleteRow", view=table["id"], section=cell["indexPath"][0],
                       row=cell["indexPath"][1])

    def segment(self, predicate, index):
        control = find(self.frame, predicate)
        return self.do(type="chooseSegment", view=control["id"], segment=index)

    def button(self, text):
        for view, parent in walk(self.frame["root"]):
            if view.get("text") == text:
                target = view if view.get("kind") == "button" else parent
                return self.tap_view(target)
        raise LookupError(text)

    def type_into(self, view, text):
        """Taps a text field or view, which takes the keyboard, and types `text` over its text."""
        self.tap_view(view)
        return self.do(type="editText", text=text)

    def navigation_bar(self):
        """The navigation bar on screen (the last one laid out), or None."""
        bars = find_all(self.frame, lambda v: v.get("kind") == "navigationBar")
        return bars[-1] if bars else None

    def tables(self):
        return find_all(self.frame, lambda v: v.get("kind") == "tableView")

    @staticmethod
    def visible_cells(table):
        """The cells of `table` shown whole in its frame at its scroll offset."""
        top = table.get("origin", [0, 0])[1]
        bottom = top + table["frame"][3]
        return [c for c in table.get("subviews", []) if c.get("kind") == "tableViewCell"
                and c["frame"][1] >= top and c["frame"][1] + c["frame"][3] <= bottom]

    def scroll(self, table, y):
        """Scrolls `table` to the offset `y` as a finger that lets go does."""
        return self.do(type="scroll", view=table["id"], x=0, y=y, phase="ended")

    def home(self, tab, root_title, steps=6):
        """Shows `tab` at its first screen: taps the tab, then the navigation bar's left button
        until the bar's title is `root_title`."""
        self.tab(tab)
        for _ in range(steps):
            bar = self.navigation_bar()
            if bar is None or bar.get("title") == root_title:
                return
            left = [v for v in bar.get("subviews", []) if v.get("kind") == "button"
                    and v["frame"][0] < 40]
            if not left:
                return
            self.tap_view(left[0])
        raise LookupError(f"no way back to {root_title}")

    def close(self):
        self.ws.close()


def png(width, height):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + b"\x80" * width * 3 for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def upload(port, route, view, body, origin=True, content_type="image/png", timeout=10.0):
    """POSTs `body` to /<route>/<view> as the client's picker does."""
    head = (f"POST /{route}/{view} HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n"
            + (f"Origin: http://127.0.0.1:{port}\r\n" if origin else "") + cookie(port)
            + f"Content-Type: {content_type}\r\nContent-Length: {len(body)}\r\n"
            "Connection: close\r\n\r\n").encode()
    return http(port, head + body, timeout=timeout)
