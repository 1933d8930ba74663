"""mz6 in the rough world: watch serves each plug once whatever order its stages come in, a reply after its wait
is no answer, and a log that fills up stops watch. MZ6_SOAK_CYCLES sets the soak's length (20)."""
import json
import os
import signal
import subprocess
import time

from rough_world import SETTLE_S, RoughTest, ended
from run import Run, mz6, usb_reader_root
from watch_soak import soak


class Rough(RoughTest):
    def test_watch_gives_one_record_a_plug_and_a_reader_that_goes_is_reported_once(self):
        root = self.world.root
        (profile := root / "profile").write_text("model = krx\ninterface = wiegand26\n")
        # Found both by the tty and by its by-id link, which comes later.
        proc = self.watch(str(profile), "--port", f"{root}/dev/ttyUSB*", "--port", f"{root}/dev/serial/by-id/*",
                          log=root / "log")
        plugs = ["ttyUSB0", "ttyUSB1", "ttyUSB0"]  # the first comes back: another plug
        readers = [self.reader() for _ in plugs]
        going = self.reader(answers=1)  # quiet after its read: watch waits for the write's reply
        with self.unless_held_up(*readers, going):
            for n, (name, sim) in enumerate(zip(plugs, readers)):
                self.world.plug(name, sim, f"ZK6R000{n}")
                self.assertRegex(self.next_line(proc), rf"^{n + 1}  \S+  {root}/dev/{name}  changed  ZK6R000{n}\n$")
                self.world.unplug(name, sim)
            self.world.plug("ttyUSB2", going, "ZK6R0003")
            going.wait_for_command(2)
            self.world.unplug("ttyUSB2", going)
            self.assertRegex(self.next_line(proc), rf"^4  \S+  {root}/dev/ttyUSB2  unplugged\b")
        time.sleep(SETTLE_S + 0.5)  # a reader counted twice, or failed after its settle time, shows by now
        proc.send_signal(signal.SIGTERM)
        run = Run(proc, *proc.communicate(timeout=10))
        self.assertEqual((run.code, run.out, run.err), (143, "", "3 of 3 readers configured: 3 changed, 0 unchanged, "
                                                                 f"0 failed\nunplugged: {root}/dev/ttyUSB2\n"))
        records = [json.loads(line) for line in (root / "log").read_text().splitlines()]
        self.assertEqual([(r["port"], r["usb_serial"], r["result"]) for r in records],
                         [*((f"{root}/dev/{name}", f"ZK6R000{n}", "ok") for n, name in enumerate(plugs)),
                          (f"{root}/dev/ttyUSB2", "ZK6R0003", "unplugged")])
        # Read, written, read back: once each.
        self.assertEqual([(len(sim.commands), sim.writes()) for sim in readers], [(3, 1)] * 3)

    def test_watch_stays_flat_over_many_plugs(self):
        soak(int(os.environ.get("MZ6_SOAK_CYCLES", 20)), 2, self.world.seed)  # 200 and more by hand: watch_soak.py

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
        filler = os.open(disk / "filler", os.O_WRONLY | os.O_CREAT)
        try:  # the disk full but for the log's own block
            while os.write(filler, bytes(4096)):
                pass
        except OSError:
            pass
        os.close(filler)
        root = self.world.root
        (profile := root / "profile").write_text("model = krx\ninterface = wiegand26\n")
        proc = self.watch(str(profile), log=log)
        first, second = self.reader(), self.reader()
        with self.unless_held_up(first, second):
            self.world.plug("ttyUSB0", first, "ZK6L0001")
            self.assertRegex(self.next_line(proc), rf"^1  \S+  {root}/dev/ttyUSB0  changed")
            with open(log, "a") as padding:  # its block full too: the next record finds no room
                padding.write(" " * (-log.stat().st_size % 4096 - 1) + "\n")
            self.world.plug("ttyUSB1", second, "ZK6L0002")
            self.assertEqual(ended(proc, 10), 3, "watch went on without its log")
            run = Run(proc, *proc.communicate(timeout=10))
            self.assertEqual(run.err, f"mz6: the log {log} could not be written (No space left on device); watch "
                                      "stopped\n2 of 2 readers configured: 2 changed, 0 unchanged, 0 failed\n"
                                      f"not in the log: {root}/dev/ttyUSB1\n")
            self.assertEqual((len(second.commands), second.settings), (3, b"W261AO"))  # written and read back
        logged = log.read_text()
        self.assertEqual((json.loads(logged.splitlines()[1])["usb_serial"], "ZK6L0002" in logged), ("ZK6L0001", False))
