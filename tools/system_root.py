"""A stand-in for the system's / where mz6 looks up its ports (MZ6_SYSTEM_ROOT): the sysfs, /dev and /proc
entries of serial ports that are not to hand (a USB reader, the kernel's console, an 8250 placeholder), their
/dev entries leading to ptys."""
from pathlib import Path

READER_USB_IDS = {"idVendor": "2e3c", "idProduct": "5750", "bcdDevice": "0200"}


def _dev_entry(root, name, device):
    (Path(root) / "dev").mkdir(parents=True, exist_ok=True)
    if device is not None:
        (Path(root) / "dev" / name).symlink_to(device)


def plug_usb_tty(root, name, device, **fields):
    """A USB tty with the USB device's `fields` (idVendor, serial, ...), its /dev entry leading to `device`."""
    usb = Path(root) / "sys/devices/usb1" / name
    (usb / "1-1:1.0").mkdir(parents=True)
    for field, value in fields.items():
        (usb / field).write_text(value + "\n")
    (tty := Path(root) / "sys/class/tty" / name).mkdir(parents=True)
    (tty / "device").symlink_to(usb / "1-1:1.0")
    _dev_entry(root, name, device)


def serial_tty(root, name, device=None, uart="4", behind=True, console=False):
    """A tty of the 8250 driver: its UART type (0: none, a placeholder), a device behind it or not, the kernel's
    console or not (/proc/consoles); its /dev entry leading to `device` where one is given."""
    if console:  # first: a watch that looks meanwhile must not see a port that is not yet a console
        (Path(root) / "proc").mkdir(exist_ok=True)
        with open(Path(root) / "proc/consoles", "a") as consoles:
            consoles.write(f"{name}                -W- (EC p a)    4:64\n")
    (tty := Path(root) / "sys/class/tty" / name).mkdir(parents=True)
    (tty / "type").write_text(uart + "\n")
    if behind:
        (platform := Path(root) / "sys/devices/platform/serial8250").mkdir(parents=True, exist_ok=True)
        (tty / "device").symlink_to(platform)
    _dev_entry(root, name, device)


def usb_reader_root(device, folder):
    """The environment of a system whose ttyACM0, a USB device with the reader's identifiers, is `device`."""
    plug_usb_tty(folder, "ttyACM0", device, **READER_USB_IDS)
    return {"MZ6_SYSTEM_ROOT": str(folder)}
