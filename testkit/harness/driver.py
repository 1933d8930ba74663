"""The Python side of the GUI driver (driver/driver.cpp): one command line out, one JSON line back.

Window handles are plain integers. Class names come back as str; window texts, captions and menu
texts as the exact bytes the program holds (Windows-1251 for Russian).
"""
import json
import os
import select

WM_COMMAND = 0x0111
BM_CLICK = 0x00F5
WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON = 0x0201, 0x0202, 0x0001
SW_MINIMIZE = 6

_BYTE_FIELDS = {"text", "caption"}


class DriverError(RuntimeError):
    pass


def _decode(value, key=None):
    if isinstance(value, dict):
        return {k: _decode(v, k) for k, v in value.items()}
    if isinstance(value, list):
        return [_decode(v, key) for v in value]
    if key == "class":
        return bytes.fromhex(value).decode("latin-1")
    if key in _BYTE_FIELDS or (key == "items" and isinstance(value, str)):
        return bytes.fromhex(value)
    return value


class Driver:
    def __init__(self, proc):
        self.proc = proc
        self._pending = b""

    def alive(self):
        return self.proc.poll() is None

    def close(self):
        if self.alive():
            try:
                self.proc.stdin.write(b"quit\n")
                self.proc.stdin.close()
                self.proc.wait(5)
            except (OSError, ValueError, TimeoutError):
                pass
            if self.alive():
                self.proc.kill()
                self.proc.wait()

    def call(self, *words, timeout=15):
        self.proc.stdin.write((" ".join(map(str, words)) + "\n").encode())
        self.proc.stdin.flush()
        answer = _decode(json.loads(self._read_line(timeout)))
        if "error" in answer:
            raise DriverError(f"{' '.join(map(str, words))}: {answer['error']}")
        return answer

    def _read_line(self, timeout):
        out = self.proc.stdout.fileno()
        while b"\n" not in self._pending:
            ready, _, _ = select.select([out], [], [], timeout)
            chunk = os.read(out, 65536) if ready else b""
            if not chunk:
                self.proc.kill()
                raise DriverError("the driver did not answer" if not ready else "the driver ended")
            self._pending += chunk
        line, self._pending = self._pending.split(b"\n", 1)
        return line

    # ---- queries -------------------------------------------------------------------------------

    def windows(self, cls=None, title=None):
        """Top-level windows of that class (str) and title (bytes); None matches any."""
        return self.call("windows", cls.encode("latin-1").hex() if cls else "-",
                         title.hex() if title is not None else "-")["windows"]

    def info(self, hwnd):
        """class, text, id (controls), rect and client ([left, top, right, bottom] on the screen),
        style, exstyle, visible, enabled, iconic, topmost, owner, parent, pid, tid."""
        return self.call("info", hwnd)

    def children(self, hwnd):
        """Every descendant window as info() gives it; buttons also with check (BM_GETCHECK)."""
        return self.call("children", hwnd)["children"]

    def foreground(self):
        return self.call("foreground")["hwnd"]

    def take_foreground(self):
        """Puts a window of the driver's own in the foreground; returns (its handle, the foreground window)."""
        answer = self.call("decoy")
        return answer["hwnd"], answer["foreground"]

    def impostor(self, mutex=None, title=None):
        """Holds the named mutex and shows a window of the driver's own titled title (bytes), each when given;
        a later call takes back what an earlier one made."""
        words = [value.hex() if value else "-" for value in (mutex, title)]
        return self.call("impostor", *words)["ok"]

    def boxes(self, owner):
        """Message boxes owned by owner: caption, text, buttons and icon {"kind": "3".."7" | "system-error" | ...}."""
        return self.call("boxes", owner)["boxes"]

    def menu(self, hwnd):
        """The menu bar as a list of items {id, text, separator, checked, grayed, items?}."""
        return self.call("menu", hwnd)["bar"]

    def captions(self, hwnd):
        """Each shown control's caption as [id, style & 0xF, text width in its own font, client width]."""
        return self.call("menu", hwnd)["captions"]

    def charsets(self, hwnd):
        """Each control's font character set as [id, charset] (204 is Cyrillic), read inside the program."""
        return self.call("menu", hwnd)["charsets"]

    def combo(self, hwnd):
        return self.call("combo", hwnd)

    def tabs(self, hwnd):
        """A tab control's items {text, rect in its client coordinates} and the selected index."""
        return self.call("tabs", hwnd)

    def pixel(self, hwnd, x, y):
        """Colour at a client point as 0x00BBGGRR."""
        return self.call("pixel", hwnd, x, y)["colour"]

    # ---- actions -------------------------------------------------------------------------------

    def post(self, hwnd, message, wparam=0, lparam=0):
        return self.call("post", hwnd, message, wparam, lparam)["ok"]

    def send(self, hwnd, message, wparam=0, lparam=0):
        return self.call("send", hwnd, message, wparam, lparam)["result"]

    def show(self, hwnd, command):
        return self.call("show", hwnd, command)

    def command(self, hwnd, command_id):
        """A menu or control command, as WM_COMMAND; posted, so a modal box it opens cannot block us."""
        return self.post(hwnd, WM_COMMAND, command_id)

    def click(self, button_hwnd):
        return self.post(button_hwnd, BM_CLICK)

    def left_click(self, hwnd, x, y):
        """A left click at client point (x, y) of a window, as mouse messages to it."""
        point = (y << 16) | x
        self.post(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point)
        return self.post(hwnd, WM_LBUTTONUP, 0, point)

    def press_ok(self, box):
        """Presses the OK button of a box returned by boxes()."""
        ok = next(b for b in box["buttons"] if b["id"] == 1)
        return self.click(ok["hwnd"])
