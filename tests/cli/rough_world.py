"""The world mz6 meets on real machines: readers plugged and unplugged in the kernel's order with udev's lags
between the stages, answering a while after their command and in pieces. Every lag and cut comes from one
random source; its seed is printed (shown with a failure) and taken from MZ6_ROUGH_SEED when set, to replay."""
import contextlib
import os
import random
import select
import subprocess
import sys

from run import ReaderTest, SimReader, start
from system_root import AS_ROOT, DIALOUT_GID, plug_usb_tty, unplug_usb_tty

SEED_VARIABLE = "MZ6_ROUGH_SEED"
LAG_S = (0.05, 0.15)  # from one stage of a device to the next
GAP_MS = (0, 16)  # within a reply, as a USB adapter's latency timer gives: well short of the 60 ms that end one
SETTLE_S = 2.0
ADAPTER = {"idVendor": "0403", "idProduct": "6001"}  # a USB serial adapter a serial-output reader sits behind  # how long watch tries a new port that does not open yet
# The operator of a fresh machine, in dialout: root would open a node before udev gives it its group.
AS_DIALOUT = ["setpriv", "--reuid=65534", "--regid=65534", f"--groups={DIALOUT_GID}"] if AS_ROOT else []


def chosen_seed():
    return int(os.environ.get(SEED_VARIABLE) or random.randrange(1 << 32))


class RoughWorld:
    """Readers on ptys, plugged into the system root `root` (a folder), with lags from `seed`."""

    def __init__(self, root, seed):
        self.root, self.seed, self.random = root, seed, random.Random(seed)

    def lags(self, count):
        return [self.random.uniform(*LAG_S) for _ in range(count)]

    def reader(self, model=0, **options):
        """A reader that answers within the wait, in up to four pieces; closed by unplug() or by the caller."""
        cuts = random.Random(self.random.getrandbits(64))  # the reader's thread draws from a source of its own

        def split(reply):
            ends = sorted(cuts.sample(range(1, len(reply)), min(len(reply) - 1, cuts.randint(0, 3))))
            return [(reply[a:b], cuts.uniform(*GAP_MS)) for a, b in zip([0, *ends], [*ends, len(reply)])]

        sim = SimReader(model)
        sim.set_mode("normal", **{"delay_ms": self.random.randint(0, 300), "split": split, **options})
        return sim

    def plug(self, name, sim, serial, ids=ADAPTER):
        """Plugs `sim` in as the USB tty `name`, stage by stage; returns the time from which it could be opened."""
        return plug_usb_tty(self.root, name, sim.slave_path, lags=self.lags(3), **ids, serial=serial)

    def unplug(self, name, sim):
        sim.close()  # the device goes first: a port still held reads no more
        unplug_usb_tty(self.root, name, self.lags(2))


class RoughTest(ReaderTest):
    def setUp(self):
        self.world = RoughWorld(self.new_folder(), chosen_seed())
        self.world.root.chmod(0o755)  # for the operator
        print(f"{SEED_VARIABLE}={self.world.seed}", file=sys.stderr)

    def reader(self, model=0, **options):
        sim = self.world.reader(model, **options)
        self.addCleanup(sim.close)
        return sim

    @contextlib.contextmanager
    def unless_held_up(self, *sims):
        """Checks that a reply the machine held up may fail (a busy machine, not the reader, timed it): the test
        is skipped then."""
        try:
            yield
        except (AssertionError, TimeoutError) as failure:
            if any(sim.held_up for sim in sims):
                self.skipTest(f"a busy machine held a reply up: {failure}")
            raise

    def watch(self, *args, log):
        """mz6 watch run by the operator, its log (a new file) written to by them; started once it has looked."""
        log.touch()
        log.chmod(0o666)
        proc = start("watch", *args, "--log", str(log), env={"MZ6_SYSTEM_ROOT": str(self.world.root)},
                     prefix=AS_DIALOUT)
        self.addCleanup(lambda: (proc.kill(), proc.wait(), proc.stdout.close(), proc.stderr.close()))
        self.assertIn("ports present now", proc.stderr.readline().decode())
        return proc

    def next_line(self, proc, timeout=5.0):
        self.assertTrue(select.select([proc.stdout], [], [], timeout)[0], "no line from watch in time")
        return proc.stdout.readline().decode()


def ended(proc, timeout):
    """The exit status of `proc` once it ends within `timeout`, else None."""
    try:
        return proc.wait(timeout)
    except subprocess.TimeoutExpired:
        return None
