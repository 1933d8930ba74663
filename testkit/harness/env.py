"""The Wine world one end-to-end run lives in.

`Env` makes a private Wine prefix with its own X display and wineserver, starts the program under
test in it and drives its windows through the GUI driver (see driver.py). Create one per run and
call close() at the end: it stops every process it started.
"""
import contextlib
import fcntl
import functools
import hashlib
import os
import re
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib
from pathlib import Path

from .driver import Driver, DriverError
from .product import read_product

REPO = Path(__file__).resolve().parents[2]
PRODUCT = read_product()
EXE_NAME = PRODUCT["EXE_NAME"]
MAIN_CLASS = "my Window"
SCREEN_SIZE = (1600, 1400)  # room for the window at 200 % display scale (790 x 1340)
LOCALE = "ru_RU.UTF-8"  # makes Wine's ANSI code page 1251: a Russian Windows
WESTERN_LOCALE = "en_US.UTF-8"  # ANSI code page 1252: an English Windows

# There is no window manager on the X display: Wine draws the title bars itself and does not wait
# (2 s each time) for a window manager to take a hidden window away.
_WINE_SETTINGS_REG = """REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
"""

SERIALCOMM_KEY = r"HKLM\HARDWARE\DEVICEMAP\SERIALCOMM"
# The USB reader as the system lists it: its device key, hardware identifiers and the ports class.
USB_READER_KEY = r"HKLM\System\CurrentControlSet\Enum\USB\VID_2E3C&PID_5750\0001"
USB_READER_IDS = r"USB\VID_2E3C&PID_5750&REV_0200\0USB\VID_2E3C&PID_5750"
PORTS_CLASS = "{4d36e978-e325-11ce-bfc1-08002be10318}"
WM_DEVICECHANGE, DBT_DEVNODES_CHANGED = 0x0219, 7


# Wine's own fonts, where the fonts-wine package puts them: the scalable ones (Tahoma for menus and dialogs,
# Marlett for the caption buttons, a System that covers every script) and the bitmap System, MS Sans Serif and
# terminal fonts of each code page. Debian's Wine 8 looks for them in /usr/share/fonts instead and, finding
# none, draws with what fontconfig offers: a bold Liberation Sans for System, whose last letter the menu bar
# and a disabled caption cut off ("Инструменть", "Pa" of "Pay").
WINE_FONTS = Path("/usr/share/wine/fonts")
# Where the registry names the bitmap fonts of the prefix's code page, as Windows registers its own.
FONT_KEYS = (r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts",
             r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts")


def windows_path(path):
    """The path under Wine's drive Z:, which maps the Linux root."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def open_fd_count(pid):
    return len(os.listdir(f"/proc/{pid}/fd"))


def wait_until(probe, timeout, what, interval=0.05):
    """Polls probe() until it returns something truthy and returns that; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class App:
    """One started copy of the program: its process and its main window."""

    def __init__(self, env, proc, workdir, hwnd):
        self.env, self.proc, self.workdir, self.hwnd = env, proc, Path(workdir), hwnd

    @property
    def settings_path(self):
        return self.workdir / "appconfig.ini"

    def wait_exit(self, timeout=10):
        """The exit code; fails if the process is still running after timeout seconds."""
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program did not end within {timeout} s") from None

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    # What the main window shows, read through the driver.
    def info(self):
        return self.env.driver.info(self.hwnd)

    def title(self):
        return self.info()["text"]

    def menu(self):
        return self.env.driver.menu(self.hwnd)

    def boxes(self):
        return self.env.driver.boxes(self.hwnd)

    def wait_box(self, timeout=5):
        """The first open message box once it has been drawn (its icon told apart), or as it is
        at the timeout; fails if none opens."""
        deadline = time.monotonic() + timeout
        while True:
            boxes = self.boxes()
            if boxes and (boxes[0]["icon"]["kind"] != "unknown" or time.monotonic() > deadline):
                return boxes[0]
            if time.monotonic() > deadline:
                raise AssertionError(f"no message box within {timeout} s")
            time.sleep(0.05)

    def finish_startup_search(self, timeout=30):
        """Lets the search that every start begins run to its end; returns the boxes it showed."""
        wait_until(lambda: self.boxes() or not self.info()["enabled"], 5, "the start-up search to begin")
        return self.dismiss_boxes(timeout)

    def dismiss_boxes(self, timeout=30):
        """Presses OK on each message box until the main window has been enabled with no box open
        for 0.3 s; returns the boxes in the order they came."""
        seen, quiet_since, first_sight = [], None, {}
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            boxes = self.boxes()
            if boxes:
                quiet_since = None
                # A box caught before its first paint shows no icon yet: give it a moment.
                shown_for = time.monotonic() - first_sight.setdefault(boxes[0]["hwnd"], time.monotonic())
                painted = boxes[0]["icon"]["kind"] != "unknown" or shown_for > 1
                if painted and boxes[0]["hwnd"] not in (box["hwnd"] for box in seen):
                    seen.append(boxes[0])
                    self.env.driver.press_ok(boxes[0])
            elif not self.info()["enabled"]:
                quiet_since = None
            elif quiet_since is None:
                quiet_since = time.monotonic()
            elif time.monotonic() - quiet_since >= 0.3:
                return seen
            time.sleep(0.05)
        raise AssertionError(f"the program was still busy after {timeout} s")

    def command(self, command_id):
        self.env.driver.command(self.hwnd, command_id)

    def children(self):
        return self.env.driver.children(self.hwnd)

    def device_change(self):
        """What Windows sends the window when a device has been added or removed."""
        self.env.driver.post(self.hwnd, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED)


class Env:
    def __init__(self, display=None, locale=LOCALE, programs=True):
        """display: an X display to use (":0"); by default the run starts an Xvfb of its own. locale: the
        Linux locale of every Wine program it starts (Wine takes its code pages from it), unless a start
        names another. programs: False only makes sure the prefix template is there, before the programs are
        built (scripts/test makes it while they build)."""
        self.locale = locale
        self.build_dir = REPO / "build" / "win"
        self.tools_dir = REPO / "build" / "tools"  # the driver, the serial probe, the bench's baselines
        self.exe = self.build_dir / EXE_NAME
        self.driver_exe = self.tools_dir / "e2e-driver.exe"
        for needed in (self.exe, self.driver_exe) if programs else ():
            if not needed.exists():
                raise FileNotFoundError(f"{needed} is missing: build the win and tools presets first (scripts/build)")
        self.shots_dir = self.build_dir / "e2e-shots"
        self.tmp = Path(tempfile.mkdtemp(prefix="mz6-e2e-"))
        self.prefix = self.tmp / "prefix"
        self.log_path = self.tmp / "wine.log"
        self.log = open(self.log_path, "ab")
        self.timings = {}
        self._xvfb = self._wineserver = None
        self._driver = None
        self._started = []  # Windows programs started by popen, stopped by stop_programs()
        self._workdirs = 0
        try:
            ensure_locale(locale)
            if display is None:
                self._start_display()
            else:
                self._use_display(display)
            self._make_prefix(programs)
        except BaseException:
            self.close()
            raise

    def __str__(self):  # as the suite's log names it
        return f"Wine prefix on display {self.display}"

    # ---- set-up and tear-down ----------------------------------------------------------------

    def _start_display(self):
        # -displayfd lets the X server pick a free display number, so parallel runs never collide. -fbdir keeps
        # the screen in a file, which screenshot() reads; -nocursor keeps the mouse pointer out of it.
        read_end, write_end = os.pipe()
        (self.tmp / "screen").mkdir()
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN_SIZE[0]}x{SCREEN_SIZE[1]}x24",
             "-nolisten", "tcp", "-fbdir", str(self.tmp / "screen"), "-nocursor"],
            pass_fds=[write_end], stdout=self.log, stderr=self.log)
        os.close(write_end)
        # Read up to the line break: the server writes number and line break separately and dies
        # if the pipe has been closed in between.
        answer = b""
        while not answer.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], 15)
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                break
            answer += chunk
        os.close(read_end)
        if not answer.endswith(b"\n"):
            raise RuntimeError("Xvfb did not start")
        self._use_display(":" + answer.decode().strip())

    def _use_display(self, display):
        self.display = display
        self.vars = dict(os.environ, WINEPREFIX=str(self.prefix), WINEDEBUG="-all", DISPLAY=self.display,
                         LC_ALL=self.locale,
                         # No Mono/Gecko installer dialogs, and no shortcut of an installer under test
                         # copied into the Linux desktop's menus.
                         WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")

    def _make_prefix(self, programs):
        """The prefix, copied from a template made once for this Wine, locale and harness (this file): making
        one takes wineboot some 15 s and 5 s of CPU, and every worker of a run needs one."""
        start = time.monotonic()
        version = subprocess.run(["wine", "--version"], stdout=subprocess.PIPE, text=True, check=True).stdout
        key = hashlib.sha1(f"{version}{self.locale}".encode() + Path(__file__).read_bytes()).hexdigest()[:12]
        templates = REPO / "build" / "wine-templates"
        templates.mkdir(parents=True, exist_ok=True)
        with open(templates / "lock", "w") as lock:
            # Copies are made side by side (a shared lock); one Env makes the template while the others wait.
            fcntl.flock(lock, fcntl.LOCK_SH)
            while not (templates / key).exists():
                fcntl.flock(lock, fcntl.LOCK_EX)
                if not (templates / key).exists():
                    for old in templates.iterdir():  # some 700 MB each: those of another Wine or harness go
                        if old.is_dir():
                            shutil.rmtree(old)
                    self._make_template(templates / key)
                fcntl.flock(lock, fcntl.LOCK_SH)
            if not programs:
                return
            if not self.prefix.exists():  # the Env that made the template has its prefix already
                subprocess.run(["cp", "-a", str(templates / key), str(self.prefix)], check=True)
        self._wineserver = subprocess.Popen(["wineserver", "-f", "-p"], env=self.vars,
                                            stdout=self.log, stderr=self.log)
        # The driver joins the desktop and holds it for the whole run, so that it is never
        # closing down just when a program starts.
        self.driver.call("ping")
        self.timings["prefix"] = time.monotonic() - start

    def _make_template(self, template):
        """Makes the prefix, lets its wineserver end (which writes the registry out) and keeps a copy of it."""
        self.prefix.mkdir()
        subprocess.run(["wineboot", "-i"], env=self.vars, stdout=self.log, stderr=self.log, timeout=180, check=True)
        self._add_wine_fonts()
        reg_file = self.tmp / "wine-settings.reg"
        reg_file.write_text(_WINE_SETTINGS_REG)
        self.run(["regedit", "/S", windows_path(reg_file)], timeout=60)
        subprocess.run(["wineserver", "-w"], env=self.vars, stdout=self.log, stderr=self.log, timeout=60, check=True)
        copy = template.with_name(template.name + ".part")
        shutil.rmtree(copy, ignore_errors=True)
        subprocess.run(["cp", "-a", str(self.prefix), str(copy)], check=True)
        copy.rename(template)  # whole or not at all, for the next run too

    def _add_wine_fonts(self):
        """Wine's own fonts in the prefix's Windows folder, where every Wine looks: the scalable ones, and the
        bitmap fonts the registry names, those of the prefix's code page only. Other code pages' bitmap System
        fonts stay out, as Windows loads none of them: one would answer a program's request for a Cyrillic
        System font on a western Windows with Latin letters."""
        named = {name.lower() for key in FONT_KEYS for name in re.findall(
            r"(\w+\.fon)\s*$", self.run(["reg", "query", key]).stdout.decode("utf-8", "replace"), re.M | re.I)}
        fonts = self.prefix / "drive_c" / "windows" / "Fonts"
        fonts.mkdir(parents=True, exist_ok=True)
        for font in sorted(WINE_FONTS.iterdir()):
            if (font.suffix == ".ttf" or font.name in named) and not (fonts / font.name).exists():
                (fonts / font.name).symlink_to(font)

    def close(self):
        self.stop_programs()
        if self._driver is not None:
            self._driver.close()
        if self._wineserver is not None:
            subprocess.run(["wineserver", "-k"], env=self.vars, stdout=self.log, stderr=self.log)
            try:
                self._wineserver.wait(15)
            except subprocess.TimeoutExpired:
                self._wineserver.kill()
                self._wineserver.wait()
        if self._xvfb is not None:
            self._xvfb.terminate()
            self._xvfb.wait()
        self.log.close()
        shutil.rmtree(self.tmp, ignore_errors=True)

    # ---- running Windows programs --------------------------------------------------------------

    def popen(self, argv, cwd=None, locale=None, variables=None, **kwargs):
        """Starts a Windows program under Wine, with these environment variables added; argv[0] is its Linux
        path. Output goes to the log. locale: another than the run's, for this program alone (it shares the
        prefix and wineserver all the same)."""
        options = dict(stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log)
        options.update(kwargs)
        env = dict(self.vars, **(variables or {}))
        if locale is not None:
            env["LC_ALL"] = ensure_locale(locale)
        proc = subprocess.Popen(["wine", str(argv[0]), *map(str, argv[1:])], cwd=cwd, env=env, **options)
        self._started.append(proc)
        return proc

    def run(self, argv, cwd=None, timeout=60, variables=None, locale=None):
        """Runs a Windows program to its end; its stdout is captured, its stderr goes to the log."""
        proc = self.popen(argv, cwd, locale=locale, variables=variables, stdout=subprocess.PIPE)
        try:
            out, _ = proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
            raise
        return subprocess.CompletedProcess(proc.args, proc.returncode, out, None)

    def stop_programs(self):
        """Kills every program started with popen that still runs (the driver is not one of them)."""
        for proc in self._started:
            if proc.poll() is None:
                proc.kill()
                proc.wait()
        self._started.clear()

    def press_through(self, proc, timeout=120):
        """Presses the default button (id 1) of a program's dialog pages whenever it is enabled, until the
        program ends (a user taking every default of an installer); returns its exit code."""
        deadline = time.monotonic() + timeout
        while proc.poll() is None and time.monotonic() < deadline:
            for page in self.driver.windows(cls="#32770"):
                button = next((c for c in self.driver.children(page["hwnd"]) if c["id"] == 1), None)
                if page["visible"] and button and button["visible"] and button["enabled"]:
                    try:
                        self.driver.click(button["hwnd"])
                    except DriverError:  # the page went on by itself since it was listed: look again
                        pass
            time.sleep(0.3)
        return proc.wait(5)

    @contextlib.contextmanager
    def recording(self, *programs):
        """For the block, these programs under C:\\windows (system32/icacls.exe, explorer.exe) are the recorder
        (driver/record_args.cpp), run in place of Wine's own. Yields a function that gives the calls so far,
        each as (program, its arguments, the sorted names in its working folder by then)."""
        log, override = self.prefix / "drive_c" / "recorded-calls.txt", r"HKCU\Software\Wine\DllOverrides"
        log.unlink(missing_ok=True)  # a retry records afresh
        paths = [self.prefix / "drive_c" / "windows" / program for program in programs]
        saved = [path.read_bytes() for path in paths]
        for path in paths:
            path.unlink()  # a new file: a running copy of Wine's own keeps its image
            path.write_bytes((self.tools_dir / "record-args.exe").read_bytes())
            self.run(["reg", "add", override, "/v", path.name, "/d", "native", "/f"])

        def calls():
            lines = log.read_text().splitlines() if log.exists() else []
            return [(*re.match(r'"[^"]*\\([^"\\]+)" (.*)', command).groups(), sorted(names))
                    for command, *names in (line.split("\t") for line in lines)]
        try:
            yield calls
        finally:
            for path, data in zip(paths, saved):
                path.unlink()
                path.write_bytes(data)
                self.run(["reg", "delete", override, "/v", path.name, "/f"])

    @property
    def driver(self):
        """The GUI driver, started on first use and again if it has died."""
        if self._driver is None or not self._driver.alive():
            proc = subprocess.Popen(["wine", str(self.driver_exe), windows_path(self.exe)], env=self.vars,
                                    stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self.log)
            self._driver = Driver(proc)
        return self._driver

    @property
    def wineserver_pid(self):
        """The run's wineserver, which holds a descriptor for every open file handle of its programs."""
        return self._wineserver.pid

    def new_workdir(self, name):
        """A fresh empty directory for one start of the program."""
        self._workdirs += 1
        path = self.tmp / "work" / f"{self._workdirs:03d}-{name}"
        path.mkdir(parents=True)
        return path

    def main_windows(self):
        return self.driver.windows(cls=MAIN_CLASS)

    def start_app(self, workdir, settings_bytes=None, timeout=20, exe=None, locale=None):
        """Starts the program (or another copy of it, exe) in workdir, with that appconfig.ini if given,
        under another locale if given, and waits for its new main window."""
        workdir = Path(workdir)
        if settings_bytes is not None:
            (workdir / "appconfig.ini").write_bytes(settings_bytes)
        before = {w["hwnd"] for w in self.main_windows()}
        proc = self.popen([exe or self.exe], cwd=workdir, locale=locale)

        def new_window():
            if proc.poll() is not None:
                raise AssertionError(f"the program ended with code {proc.returncode} before showing its window; "
                                     f"Wine's log ends: {self.log_path.read_bytes()[-600:].decode('latin-1')}")
            return [w for w in self.main_windows() if w["hwnd"] not in before and w["visible"]]

        return App(self, proc, workdir, wait_until(new_window, timeout, "the main window")[0]["hwnd"])

    # ---- system set-up ---------------------------------------------------------------------------

    def add_com_port(self, n, device_path):
        """Makes COMn a port of the system: a device link and an entry of the system's port table."""
        link = self.prefix / "dosdevices" / f"com{n}"
        if link.is_symlink() or link.exists():
            link.unlink()
        link.symlink_to(device_path)
        if not self.reg_add(SERIALCOMM_KEY, f"Sim{n}", "REG_SZ", f"COM{n}"):
            raise RuntimeError(f"could not list COM{n} in the system's port table")

    def reg_add(self, key, name, kind, data):
        """Writes a registry value; False when Wine's reg failed three times. It does fail now and then
        right after the installer scenario (its uninstaller goes on from a copy of itself for a while)."""
        for attempt in range(3):
            if attempt:
                time.sleep(1)
            done = self.run(["reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f"])
            if not done.returncode:
                return True
        # What reg said, and what the key holds, for the one who reads the failure.
        print(f"reg add {key} /v {name}: exit {done.returncode}: {done.stdout.decode('latin-1').strip()}; the key:",
              self.run(["reg", "query", key]).stdout.decode("latin-1").strip() or "(not there)", file=sys.stderr)
        return False

    def remove_com_port(self, n):
        """Takes COMn away again. Only the value goes: the key itself could not be recreated."""
        self.run(["reg", "delete", SERIALCOMM_KEY, "/v", f"Sim{n}", "/f"])
        link = self.prefix / "dosdevices" / f"com{n}"
        if link.is_symlink() or link.exists():
            link.unlink()

    def holders(self, path):
        """This run's Wine processes (wineserver too) that hold path open: for a pty's slave, whether
        the port is open. Other processes are left out, since a freed pty's number is soon reused."""
        mark = f"\0WINEPREFIX={self.prefix}\0".encode()
        found = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                if mark not in b"\0" + Path(f"/proc/{pid}/environ").read_bytes() or not any(
                        os.readlink(f"/proc/{pid}/fd/{fd}") == path for fd in os.listdir(f"/proc/{pid}/fd")):
                    continue
            except OSError:  # the process or one of its descriptors went away meanwhile
                continue
            found.append(int(pid))
        return found

    def remove_system_ports(self):
        """Takes the ports Wine lists by itself (COM1) out of the system's port table, so that only
        the ports a test adds are searched; returns them for restore_system_ports(). The table is
        rebuilt only when wineserver starts."""
        table = self.run(["reg", "query", SERIALCOMM_KEY]).stdout.decode("latin-1")
        removed = [(name, port) for name, port in re.findall(r"^ {4}(\S.*?) {4}REG_SZ {4}(.*?)\r?$", table, re.M)
                   if not name.startswith("Sim")]
        for name, _ in removed:
            self.run(["reg", "delete", SERIALCOMM_KEY, "/v", name, "/f"])
        return removed

    def restore_system_ports(self, ports):
        for name, port in ports:
            self.run(["reg", "add", SERIALCOMM_KEY, "/v", name, "/t", "REG_SZ", "/d", port, "/f"])

    def plug_usb_reader(self, n, device_path):
        """A present USB reader whose virtual COM port is COMn on device_path. The device comes first and
        its port after it, as Windows lists them when a reader is plugged in."""
        for key, name, kind, data in ((USB_READER_KEY, "HardwareID", "REG_MULTI_SZ", USB_READER_IDS),
                                      (USB_READER_KEY, "ClassGUID", "REG_SZ", PORTS_CLASS),
                                      (USB_READER_KEY + r"\Device Parameters", "PortName", "REG_SZ", f"COM{n}")):
            if not self.reg_add(key, name, kind, data):
                raise RuntimeError(f"could not write {name} of the USB reader")
        self.add_com_port(n, device_path)

    def unplug_usb_reader(self, n):
        self.run(["reg", "delete", USB_READER_KEY, "/f"])
        self.remove_com_port(n)

    def set_dpi(self, dpi):
        """The display scale (96 is 100 %) that Wine reports to the programs started from now on."""
        self.run(["reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi),
                  "/f"])

    @property
    def own_display(self):
        """Whether the run started its display (and so can take screenshots)."""
        return self._xvfb is not None

    def screenshot(self, name, rect=None):
        """Saves the screen, or the part of it within rect [left, top, right, bottom], as shots_dir/name.png,
        read from the file that holds the run's own display. The picture holds no time stamp: the same screen
        gives the same bytes."""
        if not self.own_display:
            raise RuntimeError("screenshots are taken of the run's own display only")
        # An X window dump: its header's fields are big-endian 32-bit numbers, its colour map 12 bytes an
        # entry, then the rows of 32-bit pixels, blue first.
        dump = (self.tmp / "screen" / "Xvfb_screen0").read_bytes()
        fields = struct.unpack(">25I", dump[:100])
        width, height, row_bytes, start = fields[4], fields[5], fields[12], fields[0] + 12 * fields[19]
        left, top, right, bottom = rect or (0, 0, width, height)
        left, top, right, bottom = max(left, 0), max(top, 0), min(right, width), min(bottom, height)
        rows = []
        for y in range(top, bottom):
            pixels = dump[start + y * row_bytes + 4 * left:start + y * row_bytes + 4 * right]
            rgb = bytearray(3 * (right - left))
            rgb[0::3], rgb[1::3], rgb[2::3] = pixels[2::4], pixels[1::4], pixels[0::4]
            rows.append(b"\0" + rgb)  # each row unfiltered

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
        self.shots_dir.mkdir(parents=True, exist_ok=True)
        path = self.shots_dir / f"{name}.png"
        header = struct.pack(">IIBBBBB", right - left, bottom - top, 8, 2, 0, 0, 0)  # 8-bit RGB
        path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
                         + chunk(b"IEND", b""))
        return path


@functools.lru_cache(maxsize=None)
def ensure_locale(locale):
    """Generates a locale such as "en_US.UTF-8" when the system lacks it; returns it."""
    language, charset = locale.split(".")
    listed = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.lower().split()
    if f"{language}.{charset.replace('-', '')}".lower() not in listed:
        subprocess.run(["localedef", "-i", language, "-f", charset, locale], check=True, capture_output=True)
    return locale
