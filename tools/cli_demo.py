#!/usr/bin/env python3
"""mz6 to try by hand, natively on Linux, without hardware (scripts/run --cli).

A serial-output reader and a USB reader answer on ptys of their own, shown to mz6 as a system would show them
(MZ6_SYSTEM_ROOT): the serial-output reader behind a USB serial adapter, the USB reader with its USB ids and
serial number, and the kernel's console beside them. This prints the commands to try, plugs in another USB
reader at each `plug` typed, and keeps the readers up until an empty line, the end of the input or Ctrl+C.
"""
import sys
import tempfile
from pathlib import Path

from sim_reader import SimReader
from system_root import READER_USB_IDS, plug_usb_tty, serial_tty

REPO = Path(__file__).resolve().parents[1]


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
            f"{mz6} watch {profile}    # then type plug in the demo's terminal"]


def main():
    readers = [SimReader(model=0), SimReader(model=1)]
    with tempfile.TemporaryDirectory(prefix="mz6-demo-") as root:
        try:
            plug_usb_tty(root, "ttyUSB0", readers[0].slave_path, idVendor="0403", idProduct="6001", serial="A10K0001")
            plug_usb_tty(root, "ttyACM0", readers[1].slave_path, **READER_USB_IDS, serial="ZK6U0001")
            serial_tty(root, "ttyS0", console=True)
            print(f"serial-output reader (krx): {root}/dev/ttyUSB0\nUSB reader (usb):           {root}/dev/ttyACM0\n")
            print(f"try, in another terminal in {REPO}:")
            for line in examples(root):
                print("  " + line)
            print("\n`plug` plugs in another USB reader; an empty line, the end of the input or Ctrl+C stops the "
                  "readers.")
            while sys.stdin.readline().strip() == "plug":
                readers.append(SimReader(model=1))
                name = f"ttyACM{len(readers) - 2}"
                plug_usb_tty(root, name, readers[-1].slave_path, **READER_USB_IDS, serial=f"ZK6U{len(readers) - 1:04}")
                print(f"USB reader plugged in: {root}/dev/{name}", flush=True)
        except KeyboardInterrupt:
            pass
        finally:
            for reader in readers:
                reader.close()
    print("the readers are gone")


if __name__ == "__main__":
    main()
