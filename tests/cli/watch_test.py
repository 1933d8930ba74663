"""mz6 watch: each reader configured as its port appears, once while it stays plugged in, one line and one log
line a reader, and a stop after the reader in hand."""
import json
import os
import re
import signal
import time

from run import NO_RESPONSE, ReaderTest, Run, mz6, plug_usb_tty


def ftdi(serial):
    """A USB serial adapter's identifiers: not the reader's."""
    return {"idVendor": "0403", "idProduct": "6001", "serial": serial}


class Watch(ReaderTest):
    def test_readers_plugged_one_after_another_are_each_configured_once(self):
        root = self.new_folder()
        (root / "dev").mkdir()
        (root / "profile").write_text("model = krx\ninterface = wiegand26\n")
        log = root / "readers.jsonl"
        log.write_text('{"number": 1, "an older run": true}\n')  # appended to, never truncated
        there = self.reader(0)
        plug_usb_tty(root, "ttyUSB9", there.slave_path, **ftdi("ZK6A0009"))  # present at the start: left alone
        proc, said = self.watching(str(root / "profile"), "--port", f"{root}/dev/*", "--log", str(log),
                                   env={"MZ6_SYSTEM_ROOT": str(root)})
        self.assertIn("the 1 ports present now are left alone", said)  # it looks now

        fresh, holding = self.reader(0), self.reader(0, settings=b"W261AO")
        # Silent from the write on: the port is reported, and the next reader goes on.
        cut_off, last = self.reader(0, answers=1), self.reader(0, "silent")
        plug_usb_tty(root, "ttyUSB0", fresh.slave_path, **ftdi("ZK6A0042"))
        self.assertRegex(self.next_line(proc), rf"^1  \d\d:\d\d:\d\d  {root}/dev/ttyUSB0  changed  ZK6A0042\n$")
        lines = []
        for n, reader in ((2, holding), (3, cut_off)):
            (root / f"dev/reader-{n}").symlink_to(reader.slave_path)
            lines.append(self.next_line(proc))
        self.assertRegex(lines[0], rf"^2  \S+  {root}/dev/reader-2  unchanged\n$")
        self.assertRegex(lines[1], rf"^3  \S+  {root}/dev/reader-3  no-answer: {re.escape(NO_RESPONSE)}\n$")
        (root / "dev/reader-1").symlink_to(root / "unplugged")  # a link that leads nowhere is no port
        (root / "dev/reader-4").symlink_to(last.slave_path)
        last.wait_for_command()
        proc.send_signal(signal.SIGTERM)  # the reader in hand ends unwritten, with its line and log line
        self.assertRegex(self.next_line(proc), rf"^4  \S+  {root}/dev/reader-4  not-attempted")
        run = Run(proc, *proc.communicate(timeout=10))
        self.assertEqual((run.code, run.err), (1, "2 of 3 readers configured: 1 changed, 1 unchanged, 1 failed:\n"
                                                  f"  {root}/dev/reader-3: no-answer: {NO_RESPONSE}\n"
                                                  f"not attempted (interrupted): {root}/dev/reader-4\n"))
        # Each reader was asked once although it stayed plugged in; only the one that needed it was written.
        self.assertEqual([len(r.commands) for r in (there, fresh, holding, cut_off, last)], [0, 3, 1, 2, 1])
        self.assertEqual([r.writes() for r in (fresh, holding, cut_off)], [1, 0, 1])

        records = [json.loads(line) for line in log.read_text().splitlines()[1:]]
        self.assertEqual([(r["number"], r["port"], r["usb_serial"], r["changed"], r["result"]) for r in records],
                         [(1, f"{root}/dev/ttyUSB0", "ZK6A0042", True, "ok"),
                          (2, f"{root}/dev/reader-2", None, False, "ok"),
                          (3, f"{root}/dev/reader-3", None, True, "no-answer"),  # the write went out
                          (4, f"{root}/dev/reader-4", None, False, "not-attempted")])
        # The rest of a record is apply --json's (its test: commands_test).
        self.assertRegex(records[0]["time"], r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ$")

    # A port whose rights come a moment after it appears: arrivals_test's table, and the rough world's soak.
    def test_output_that_cannot_be_written_ends_watch(self):
        folder = self.new_folder()
        proc = self.watching(self.profile("model = krx\n"), "--port", f"{folder}/r*")[0]
        (folder / "r1").symlink_to(self.reader(0).slave_path)
        self.assertRegex(self.next_line(proc), rf"^1  \S+  {folder}/r1  unchanged\n$")
        proc.stdout.close()  # as "| head -1" does: the next reader's line cannot be written, and watch ends
        (folder / "r2").symlink_to(self.reader(0).slave_path)
        run = Run(proc, b"", proc.communicate(timeout=10)[1])
        self.assertEqual((run.code, run.err), (1, "2 of 2 readers configured: 0 changed, 2 unchanged, 0 failed\n"
                                                  "mz6: output could not be written (Broken pipe)\n"))

    def test_a_log_that_cannot_take_a_record_stops_watch_once_the_reader_in_hand_is_done(self):
        folder = self.new_folder()
        (folder / "profile").write_text("model = krx\nstandby = static\n")
        proc = self.watching(str(folder / "profile"), "--port", f"{folder}/r*", "--log", "/dev/full")[0]
        first, second = self.reader(0), self.reader(0)
        (folder / "r1").symlink_to(first.slave_path)
        self.assertRegex(self.next_line(proc), rf"^1  \S+  {folder}/r1  changed\n$")
        (folder / "r2").symlink_to(second.slave_path)  # watch has stopped: never asked
        run = Run(proc, *proc.communicate(timeout=10))
        self.assertEqual((run.code, run.out, run.err), (
            3, "", "mz6: the log /dev/full could not be written (No space left on device); watch stopped\n"
                   "1 of 1 readers configured: 1 changed, 0 unchanged, 0 failed\n"
                   f"not in the log: {folder}/r1\n"))
        self.assertEqual((first.settings, len(first.commands), second.commands), (b"TMX1SO", 3, []))
        # One that cannot be opened at all stops it before any reader is touched.
        run = mz6("watch", str(folder / "profile"), "--log", str(folder / "no/such/folder.log"), "--json")
        self.assertEqual((run.code, json.loads(run.out)["result"]), (2, "file-error"))
        self.assertEqual(run.err, f"mz6: {folder}/no/such/folder.log: No such file or directory\n")
        # Nor is one whose name is a link: the lines would go, with mz6's rights, wherever it leads.
        (folder / "elsewhere").write_text("kept\n")
        (folder / "link.log").symlink_to(folder / "elsewhere")
        run = mz6("watch", str(folder / "profile"), "--log", str(folder / "link.log"))
        self.assertEqual((run.code, (folder / "elsewhere").read_text()), (2, "kept\n"))
        self.assertEqual(run.err, f"mz6: the log {folder}/link.log is a link: watch writes its log into a file of "
                                  "that name, never through a link\n")

    def test_a_reader_is_served_once_whatever_leads_to_it_and_only_ttys_are_readers(self):
        folder, profile = self.new_folder(), self.profile("model = krx\n")
        for pattern in ("[", "/dev/tty[USB*", f"{folder}/"):  # a '[' without its ']'; a folder
            run = mz6("watch", profile, "--port", pattern)
            self.assertEqual(run.code, 2)
            self.assertIn(f"--port '{pattern}' can match no port", run.err)
        proc = self.watching(profile, "--port", f"{folder}/*")[0]
        (folder / "notes").write_text("x")
        os.mkfifo(folder / "fifo")
        (folder / "sub").mkdir()
        reader = self.reader(0)
        (folder / "r2").symlink_to(reader.slave_path)
        self.assertRegex(self.next_line(proc), rf"^1  \S+  {folder}/r2  unchanged\n$")
        (folder / "r1").symlink_to(reader.slave_path)  # a second link, sorted first
        time.sleep(0.5)
        proc.send_signal(signal.SIGTERM)
        run = Run(proc, *proc.communicate(timeout=10))
        self.assertEqual((run.code, run.out, run.err),
                         (143, "", "1 of 1 readers configured: 0 changed, 1 unchanged, 0 failed\n"))
        self.assertEqual(len(reader.commands), 1)
