"""mz6 in the rough world: watch serves each plug once whatever order its stages come in, a reply after its wait
is no answer, and a log that fills up stops watch. MZ6_SOAK_CYCLES sets the soak's length (20)."""
import contextlib
import json
import os
import subprocess
import sys

from run import AS_DIALOUT, ReaderTest, Run, mz6, usb_reader_root
from system_root import RoughWorld
from watch_soak import soak


class Rough(ReaderTest):
    def setUp(self):
        self.world = RoughWorld(self.new_folder())
        self.addCleanup(self.world.close)
        self.world.root.chmod(0o755)  # for the operator
        print(f"MZ6_ROUGH_SEED={self.world.seed}", file=sys.stderr)  # shown with a failure, to replay it

    def reader(self, model=0, **options):
        sim = self.world.reader(model, **options)
        self.addCleanup(sim.close)
        return sim

    @contextlib.contextmanager
    def unless_held_up(self, *sims):
        """Checks that a reply the machine held up (sim_reader.held_up) may fail: the test is skipped then."""
        try:
            yield
        except (AssertionError, TimeoutError) as failure:
            if any(sim.held_up for sim in sims):
                self.skipTest(f"a busy machine held a reply up: {failure}")
            raise

    def test_watch_gives_one_record_a_plug_and_stays_flat(self):
        # A reader served once whatever order its stages come in, none failed for opening too soon, one pulled out
        # while served reported once as unplugged. 200 plugs and more by hand: watch_soak.py.
        soak(int(os.environ.get("MZ6_SOAK_CYCLES", 20)), 2, self.world.seed)

    def test_a_reply_after_its_wait_is_no_answer_and_never_the_next_commands(self):
        profile = self.profile("model = usb\nformat = touch-memory\n")
        for args in (["read"], ["read", "--model", "usb"], ["apply", profile]):
            with self.subTest(args=args):
                late = self.reader(1, delay_ms=1100)  # a USB reader, known by its USB ids
                env = usb_reader_root(late.slave_path, self.new_folder())
                run = mz6(*args, "--port", f"{env['MZ6_SYSTEM_ROOT']}/dev/ttyACM0", "--json", env=env)
                result = json.loads(run.out)
                result = result[0] if isinstance(result, list) else result
                self.assertEqual((run.code, result["result"]), (1, "no-answer"), run.out)
                self.assertNotIn("krx", run.out + run.err)
                self.assertEqual(late.writes(), 0)

    def test_a_log_that_fills_up_stops_watch_after_the_reader_in_hand(self):
        disk = self.new_folder()
        if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "mz6-test", disk], capture_output=True).returncode:
            self.skipTest("a small file system of its own needs root")
        self.addCleanup(subprocess.run, ["umount", "-l", disk])
        (log := disk / "readers.jsonl").write_text('{"an older run": true}\n')
        # The disk full but for the log's own block.
        subprocess.run(["dd", "if=/dev/zero", f"of={disk}/filler", "bs=4096"], capture_output=True)
        root = self.world.root
        (profile := root / "profile").write_text("model = krx\ninterface = wiegand26\n")
        log.chmod(0o666)  # the operator's to write
        proc = self.watching(str(profile), "--log", str(log), env={"MZ6_SYSTEM_ROOT": str(root)}, prefix=AS_DIALOUT)[0]
        first, second = self.reader(), self.reader()
        with self.unless_held_up(first, second):
            self.world.plug("ttyUSB0", first, "ZK6L0001")
            self.assertRegex(self.next_line(proc), rf"^1  \S+  {root}/dev/ttyUSB0  changed")
            with open(log, "a") as padding:  # its block full too: the next record finds no room
                padding.write(" " * (-log.stat().st_size % 4096 - 1) + "\n")
            self.world.plug("ttyUSB1", second, "ZK6L0002")
            try:
                run = Run(proc, *proc.communicate(timeout=10))
            except subprocess.TimeoutExpired:
                self.fail("watch went on without its log")
            self.assertEqual(run.code, 3)
            self.assertEqual(run.err, f"mz6: the log {log} could not be written (No space left on device); watch "
                                      "stopped\n2 of 2 readers configured: 2 changed, 0 unchanged, 0 failed\n"
                                      f"not in the log: {root}/dev/ttyUSB1\n")
            self.assertEqual((len(second.commands), second.settings), (3, b"W261AO"))  # written and read back
        logged = log.read_text()
        self.assertEqual((json.loads(logged.splitlines()[1])["usb_serial"], "ZK6L0002" in logged), ("ZK6L0001", False))
