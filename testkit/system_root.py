"""A stand-in for the system's / where mz6 looks up its ports (MZ6_SYSTEM_ROOT): the sysfs, /dev and /proc
entries of serial ports that are not to hand (a USB reader, the kernel's console, an 8250 placeholder), their
/dev entries leading to ptys.

A USB tty comes at once, or, given the spells between the stages, as a kernel and udev bring one: the sysfs entry,
then the /dev entry (root's alone yet), then its group and mode, then its by-id link; it goes in the kernel's
order: its device first (the port hangs up), the /dev entry, the sysfs entry, then udev's link. RoughWorld brings
readers so, with random lags."""
import grp
import os
import random
import shutil
import subprocess
import time
from pathlib import Path

from sim_reader import SimReader

READER_USB_IDS = {"idVendor": "2e3c", "idProduct": "5750", "bcdDevice": "0200"}
ADAPTER_USB_IDS = {"idVendor": "0403", "idProduct": "6001"}  # the USB serial adapter of a serial-output reader
SEED_VARIABLE = "MZ6_ROUGH_SEED"
LAG_S = (0.05, 0.15)  # from one stage of a device to the next
GAP_MS = (0, 16)  # within a reply, as a USB adapter's latency timer gives: well short of the 60 ms that end one
AS_ROOT = os.geteuid() == 0
try:
    DIALOUT_GID = grp.getgrnam("dialout").gr_gid
except KeyError:
    DIALOUT_GID = 20


def _dev_entry(root, name, device, node=False):
    (Path(root) / "dev").mkdir(parents=True, exist_ok=True)
    entry = Path(root) / "dev" / name
    if device is not None and node and AS_ROOT:
        entry.touch()
        subprocess.run(["mount", "--bind", device, entry], check=True)
    elif device is not None:
        entry.symlink_to(device)


def _by_id(root, fields):
    """udev's stable name of a USB tty, "" for a device without a serial number."""
    if "serial" not in fields:
        return ""
    return f"{root}/dev/serial/by-id/usb-{fields.get('idVendor')}_{fields.get('idProduct')}_{fields['serial']}-if00"


def plug_usb_tty(root, name, device, lags=None, node=False, **fields):
    """A USB tty with the USB device's `fields` (idVendor, serial, ...), its /dev entry leading to `device`: a link,
    or with `node` (as root) a node of its own, as the kernel makes, which may outlast its device for a moment.

    With `lags` (three spells, in seconds) the /dev entry follows the sysfs entry after the first; `device` (a
    pty) can be opened only by root (not even by its owner when that is not root) until its group becomes dialout
    and its mode 0660 after the second; the by-id link, for a device with a serial number, comes after the third.
    Returns the time.monotonic() from which the port could be opened."""
    usb = Path(root) / "sys/devices/usb1" / name
    (usb / "1-1:1.0").mkdir(parents=True)
    for field, value in fields.items():
        (usb / field).write_text(value + "\n")
    (tty := Path(root) / "sys/class/tty" / name).mkdir(parents=True)
    (tty / "device").symlink_to(usb / "1-1:1.0")
    if lags is None:
        _dev_entry(root, name, device, node)
        return time.monotonic()
    os.chmod(device, 0o600 if AS_ROOT else 0)
    if AS_ROOT:
        os.chown(device, 0, 0)
    time.sleep(lags[0])
    _dev_entry(root, name, device, node)
    time.sleep(lags[1])
    if AS_ROOT:
        os.chown(device, 0, DIALOUT_GID)
    os.chmod(device, 0o660)
    openable = time.monotonic()
    if link := _by_id(root, fields):
        time.sleep(lags[2])
        Path(link).parent.mkdir(parents=True, exist_ok=True)
        Path(link).symlink_to(f"../../{name}")
    return openable


def unplug_usb_tty(root, name, lags=(0, 0, 0)):
    """Takes a USB tty away as the kernel does once its device has gone: after lags[0] the /dev entry, after
    lags[1] the sysfs entry, after lags[2] udev's by-id link."""
    time.sleep(lags[0])
    _remove_node(Path(root) / "dev" / name)
    time.sleep(lags[1])
    usb = Path(root) / "sys/devices/usb1" / name
    fields = {field: (usb / field).read_text().strip() for field in ("idVendor", "idProduct", "serial")
              if (usb / field).exists()}
    shutil.rmtree(Path(root) / "sys/class/tty" / name)
    shutil.rmtree(usb)
    time.sleep(lags[2])
    if link := _by_id(root, fields):
        Path(link).unlink(missing_ok=True)


def _remove_node(node):
    if os.path.ismount(node):
        subprocess.run(["umount", "--lazy", node], check=True)
    node.unlink()


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


class RoughWorld:
    """Readers on ptys that come and go in the system root `root` as on a real machine: stage by stage with lags,
    answering a while after their command and in pieces. Every lag and cut comes from one random source: `seed`,
    else MZ6_ROUGH_SEED (to replay a run), else a new one."""

    def __init__(self, root, seed=None):
        self.root = root
        self.seed = seed if seed is not None else int(os.environ.get(SEED_VARIABLE) or random.randrange(1 << 32))
        self.random = random.Random(self.seed)

    def lags(self, count):
        return [self.random.uniform(*LAG_S) for _ in range(count)]

    def reader(self, model=0, **options):
        """A reader answering within the wait, in up to four pieces; close() it, or unplug() it."""
        cuts = random.Random(self.random.getrandbits(64))  # the reader's thread draws from a source of its own

        def split(reply):
            ends = sorted(cuts.sample(range(1, len(reply)), min(len(reply) - 1, cuts.randint(0, 3))))
            return [(reply[a:b], cuts.uniform(*GAP_MS)) for a, b in zip([0, *ends], [*ends, len(reply)])]

        sim = SimReader(model)
        sim.set_mode("normal", **{"delay_ms": self.random.randint(0, 300), "split": split, **options})
        return sim

    def plug(self, name, sim, serial, node=False, ids=ADAPTER_USB_IDS):
        """Plugs `sim` in as the USB tty `name` (see plug_usb_tty); returns the time from which it could be opened."""
        return plug_usb_tty(self.root, name, sim.slave_path, lags=self.lags(3), node=node, **ids, serial=serial)

    def unplug(self, name, sim):
        sim.close()  # the device goes first: a port still held reads no more, its node lasts up to 20 ms longer
        unplug_usb_tty(self.root, name, [self.random.uniform(0, 0.02), *self.lags(2)])

    def close(self):
        """Takes away the nodes of the readers still plugged in, the folder then free to go."""
        for node in (Path(self.root) / "dev").glob("tty*"):
            _remove_node(node)
