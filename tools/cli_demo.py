#!/usr/bin/env python3
"""mz6 to try by hand, natively on Linux, without hardware (scripts/run --cli).

A serial-output reader and a USB reader answer on ptys of their own, shown to mz6 as a system would show them
(MZ6_SYSTEM_ROOT): the serial-output reader behind a USB serial adapter, the USB reader with its USB ids and
serial number, and the kernel's console beside them. This prints the commands to try, plugs in another USB
reader at each `plug` typed, pulls out the last reader plugged in at each `unplug`, and keeps the readers up
until an empty line, `quit`, the end of the input or Ctrl+C.
"""
import sys
import tempfile
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "testkit"))  # the simulated readers and system
from sim_reader import SimReader  # noqa: E402
from system_root import READER_USB_IDS, plug_usb_tty, serial_tty, unplug_usb_tty  # noqa: E402


def examples(root):
    mz6, profile = "build/linux/mz6", "build/linux/demo.profile"
    krx, usb = f"{root}/dev/ttyUSB0", f"{root}/dev/ttyACM0"
    return [f"export MZ6_SYSTEM_ROOT={root}    # the demo's system: its ports, the USB ids, a console",
            f"{mz6} ports    # the console is skipped",
            f"{mz6} read --port {krx}", f"{mz6} read --port {usb} --json", f"{mz6} find",
            f"{mz6} write --port {krx} interface=wiegand26 standby=off",
            f"{mz6} write --port {usb} format=touch-memory cards=mifare --check",
            f"{mz6} save --port {usb} {profile}", f"{mz6} apply {profile} --port {usb} --check",
            f"{mz6} apply {profile} --port {usb} --json",
            f"{mz6} watch {profile}    # then type plug and unplug in the demo's terminal"]


def main():
    plugged = {"ttyUSB0": SimReader(model=0), "ttyACM0": SimReader(model=1)}  # in the order they came
    serials = 1
    with tempfile.TemporaryDirectory(prefix="mz6-demo-") as root:
        try:
            plug_usb_tty(root, "ttyUSB0", plugged["ttyUSB0"].slave_path, idVendor="0403", idProduct="6001",
                         serial="A10K0001")
            plug_usb_tty(root, "ttyACM0", plugged["ttyACM0"].slave_path, **READER_USB_IDS, serial="ZK6U0001")
            serial_tty(root, "ttyS0", console=True)
            print(f"serial-output reader (krx): {root}/dev/ttyUSB0\nUSB reader (usb):           {root}/dev/ttyACM0\n")
            print(f"try, in another terminal in {REPO}:")
            for line in examples(root):
                print("  " + line)
            print("\n`plug` plugs in another USB reader, `unplug` pulls out the last one plugged in; an empty line, "
                  "`quit`, the end of the input or Ctrl+C stops the readers.", flush=True)
            while (command := sys.stdin.readline().strip()) not in ("", "quit"):
                if command == "plug":
                    # The kernel gives a new device the lowest number that is free.
                    name = next(f"ttyACM{n}" for n in range(len(plugged) + 1) if f"ttyACM{n}" not in plugged)
                    plugged[name] = SimReader(model=1)
                    serials += 1
                    plug_usb_tty(root, name, plugged[name].slave_path, **READER_USB_IDS, serial=f"ZK6U{serials:04}")
                    print(f"USB reader plugged in: {root}/dev/{name}", flush=True)
                elif command == "unplug" and plugged:
                    name = list(plugged)[-1]
                    plugged.pop(name).close()  # its line goes dead, then the kernel takes its node, then sysfs
                    unplug_usb_tty(root, name)
                    print(f"reader unplugged: {root}/dev/{name}", flush=True)
                elif command == "unplug":
                    print("no reader is plugged in", flush=True)
                else:
                    print(f"not understood: {command!r}; type plug, unplug, quit or an empty line", flush=True)
        except KeyboardInterrupt:
            pass
        finally:
            for reader in plugged.values():
                reader.close()
    print("the readers are gone")


if __name__ == "__main__":
    main()
