#!/usr/bin/env python3
"""The program under Wine with simulated readers, to try it without hardware (scripts/run).

A serial-output reader answers on COM4 behind two silent ports (COM2, COM3); a USB reader is
plugged in on COM7. The program runs on $DISPLAY when that display can be used, otherwise on a
virtual display, where message boxes are answered here (their texts are printed) and screenshots
go to build/win/demo-shots. On the console the simulated readers can be pulled out and plugged
back in, which the program learns as it would from Windows:

    unplug usb | plug usb | unplug serial | plug serial | quit

Without input (stdin at its end, as in CI) it saves the screenshot after the start-up search and ends.
"""
import os
import select
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "testkit"))  # the Wine harness, the simulated readers
from harness.env import Env  # noqa: E402
from sim_reader import SimReader  # noqa: E402

SILENT_PORTS, SERIAL_PORT, USB_PORT = (2, 3), 4, 7
QUIT = 15
COMMANDS = ("unplug usb", "plug usb", "unplug serial", "plug serial", "quit")


def usable_display():
    display = os.environ.get("DISPLAY")
    if display and subprocess.run(["xdpyinfo"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0:
        return display
    return None


class Demo:
    def __init__(self, env, answer_boxes):
        self.env, self.answer_boxes = env, answer_boxes
        self.readers = {}
        self.shots = 0
        env.remove_system_ports()
        for n in SILENT_PORTS:
            self.readers[n] = SimReader(model=0)
            self.readers[n].set_mode("silent")
            env.add_com_port(n, self.readers[n].slave_path)
        self.plug("serial", notify=False)
        self.plug("usb", notify=False)
        self.app = env.start_app(env.new_workdir("demo"))

    def plug(self, reader, notify=True):
        n = SERIAL_PORT if reader == "serial" else USB_PORT
        if n in self.readers:
            print(f"the {reader} reader is plugged in already")
            return
        self.readers[n] = SimReader(model=0 if reader == "serial" else 1)
        (self.env.add_com_port if reader == "serial" else self.env.plug_usb_reader)(n, self.readers[n].slave_path)
        if notify:
            self.app.device_change()

    def unplug(self, reader):
        n = SERIAL_PORT if reader == "serial" else USB_PORT
        if n not in self.readers:
            print(f"the {reader} reader is not plugged in")
            return
        (self.env.remove_com_port if reader == "serial" else self.env.unplug_usb_reader)(n)
        self.readers.pop(n).close()
        self.app.device_change()

    def settle(self, name, within):
        """When no one can see the boxes (virtual display, or no console): answers the message boxes
        that come within `within` seconds (and those that follow), prints them, saves a screenshot."""
        if not self.answer_boxes:
            return
        deadline = time.monotonic() + within
        while time.monotonic() < deadline and not (self.app.boxes() or not self.app.info()["enabled"]):
            time.sleep(0.1)
        for box in self.app.dismiss_boxes():
            print("  message: " + box["text"].decode("cp1251").replace("\n\r", " / ").replace("\n", " / "))
        if self.env.own_display:  # an outside display is seen by whoever started the demo
            self.shots += 1
            path = self.env.screenshot(f"{self.shots:02d}-{name}", self.app.info()["rect"])
            print(f"  screenshot: {path}")

    def run(self, lines):
        self.settle("after-start-up", 5)
        for line in lines:
            command = " ".join(line.split())
            if command == "quit":
                break
            if command not in COMMANDS:
                print("commands: " + ", ".join(COMMANDS))
                continue
            action, reader = command.split()
            getattr(self, action)(reader)
            self.settle(command.replace(" ", "-"), 5)

    def close(self):
        if self.app.proc.poll() is None:
            self.app.command(QUIT)
            self.app.wait_exit(10)
        for reader in self.readers.values():
            reader.close()


def console_lines(app, prompt):
    """Lines typed on the console until its end, or until the program has been closed."""
    while sys.stdin is not None and app.proc.poll() is None:
        if prompt:
            print("> ", end="", flush=True)
        while not select.select([sys.stdin], [], [], 0.5)[0]:
            if app.proc.poll() is not None:
                print("\nthe program was closed")
                return
        line = sys.stdin.readline()
        if not line:
            return
        yield line


def main():
    display = usable_display()
    interactive = sys.stdin is not None and sys.stdin.isatty()
    print(f"starting Wine on {'display ' + display if display else 'a virtual display'} (this takes a few seconds)")
    env = Env(display=display)
    env.shots_dir = env.build_dir / "demo-shots"
    env.shots_dir.mkdir(exist_ok=True)
    for old_shot in env.shots_dir.glob("*.png"):
        old_shot.unlink()
    demo = None
    try:
        demo = Demo(env, answer_boxes=display is None or not interactive)
        print(f"the program runs: serial-output reader on COM{SERIAL_PORT} (silent ports "
              f"{', '.join(f'COM{n}' for n in SILENT_PORTS)}), USB reader on COM{USB_PORT}")
        if interactive:
            print("commands: " + ", ".join(COMMANDS))
        demo.run(console_lines(demo.app, prompt=interactive))
    except KeyboardInterrupt:
        pass
    finally:
        if demo is not None:
            demo.close()
        env.close()
    print("done")


if __name__ == "__main__":
    main()
