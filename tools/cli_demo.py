#!/usr/bin/env python3
"""mz6 to try by hand, natively on Linux, without hardware (scripts/run --cli).

A serial-output reader and a USB reader answer on ptys of their own; this prints their paths and a few
commands to try, and keeps the readers up until Enter, the end of the input or Ctrl+C.
"""
import sys
from pathlib import Path

from sim_reader import SimReader

REPO = Path(__file__).resolve().parents[1]


def examples(krx, usb):
    mz6, profile = "build/linux/mz6", "build/linux/demo.profile"
    return [f"{mz6} read --port {krx}", f"{mz6} read --port {usb} --json", f"{mz6} find --port {krx} --port {usb}",
            f"{mz6} write --port {krx} interface=wiegand26 standby=off",
            f"{mz6} write --port {usb} format=touch-memory cards=mifare",
            f"{mz6} save --port {usb} {profile}", f"{mz6} apply {profile} --port {usb} --json"]


def main():
    krx, usb = SimReader(model=0), SimReader(model=1)
    try:
        print(f"serial-output reader (krx): {krx.slave_path}\nUSB reader (usb):           {usb.slave_path}\n")
        print(f"try, in another terminal in {REPO}:")
        for line in examples(krx.slave_path, usb.slave_path):
            print("  " + line)
        print("\nEnter, the end of the input or Ctrl+C stops the readers.")
        sys.stdin.readline()
    except KeyboardInterrupt:
        pass
    finally:
        krx.close()
        usb.close()
    print("the readers are gone")


if __name__ == "__main__":
    main()
