"""mz6's commands against simulated readers: what they print, what they send, how they fail."""
import json
import os
import time
from pathlib import Path

from run import KRX_DEFAULTS, NO_RESPONSE, USB_DEFAULTS, ReaderTest, mz6, plug_usb_tty, usb_reader_root


class Commands(ReaderTest):
    def test_read_prints_the_settings_as_text_and_json(self):
        # The reply may come in pieces: quiet spells shorter than 60 ms do not end it.
        pieces = [(b" - OK", 20), (b"! >> 1.", 20), (b"00TMX1AO", 0)]
        for model, mode, options, args, sent, expected in (
                (0, "normal", {}, [], b"AT+READS_KRX", KRX_DEFAULTS),
                (0, "chunks", {"chunks": pieces}, [], b"AT+READS_KRX", KRX_DEFAULTS),
                (1, "normal", {}, ["--model", "usb"], b"AT+READS_USB", USB_DEFAULTS),
                (1, "normal", {}, [], b"AT+READS_KRXAT+READS_USB", USB_DEFAULTS)):
            with self.subTest(model=model, mode=mode, args=args):
                sim = self.reader(model, mode, **options)
                text = mz6("read", "--port", sim.slave_path, *args)
                self.assertEqual(text.code, 0, text.err)
                self.assertEqual(list(text.fields())[:3], ["port", "model", "version"])
                self.assertEqual(text.fields(), {"port": sim.slave_path, **expected})
                self.assertEqual(sim.received_bytes(), sent)
                as_json = mz6("read", "--port", sim.slave_path, *args, "--json")
                self.assertEqual(json.loads(as_json.out), {"port": sim.slave_path, **expected, "result": "ok"})

    def test_write_sends_the_changes_and_reads_them_back(self):
        for model, before, changes, command, mode in (
                (0, b"TMX1AO", "interface=wiegand26 standby=off", b"AT+W261AO", "normal"),
                # The rest of an overlong reply is not the answer to the next command.
                (0, b"TMX1AO", "interface=wiegand44", b"AT+W441AO", "long"),
                (1, b"WHDH5EM", "format=touch-memory", b"AT+WTMX5EM", "normal"),
                (1, b"WTMX5EM", "format=hex-dec type=dec", b"AT+WHDD5EM", "normal"),
                # The type comes into use with the format: written as its fallback and verified as that.
                (1, b"WTMX5EM", "format=hex-dec", b"AT+WHDD5EM", "normal")):
            with self.subTest(changes=changes, mode=mode):
                sim = self.reader(model, mode, settings=before, tail=b"*" * 200, baud=19200)  # as a line paces it
                model_name = ("krx", "usb")[model]
                before = mz6("read", "--port", sim.slave_path, "--model", model_name).fields()
                sim.clear()
                run = mz6("write", "--port", sim.slave_path, *changes.split())
                self.assertEqual(run.code, 0, run.err)
                read = (b"AT+READS_KRX", b"AT+READS_USB")[model]
                self.assertEqual(sim.received_bytes(), read + command + read)
                self.assertIn(f"{sim.slave_path}: changed\n", run.out)
                # What it shows is what the reader now holds, with the changes in it, and what changed marked.
                now = mz6("read", "--port", sim.slave_path, "--model", model_name)
                shown = {k: v.removesuffix("  (changed)") for k, v in run.fields().items()}
                self.assertEqual(shown, now.fields())
                marked = {k for k, v in run.fields().items() if v.endswith("(changed)")}
                self.assertEqual(marked, {k for k, v in now.fields().items() if v != before.get(k)})

    def test_all_takes_the_readers_of_the_profiles_model_and_skips_the_others(self):
        usb, krx = self.reader(1), self.reader(0)
        env = usb_reader_root(usb.slave_path, root := self.new_folder())
        plug_usb_tty(root, "ttyUSB0", krx.slave_path, idVendor="0403", idProduct="6001")  # an adapter's ids
        acm, ttyusb = f"{root}/dev/ttyACM0", f"{root}/dev/ttyUSB0"
        self.assertEqual(mz6("ports", env=env).out, f"{acm}  zentak-6-usb\n{ttyusb}\n")
        # A port with the USB reader's identifiers, by whatever name, is asked as that first; elsewhere the order stays.
        for sim, sent in ((usb, b"AT+READS_USB"), (krx, b"AT+READS_KRX")):
            self.assertEqual(mz6("read", "--port", sim.slave_path, env=env).code, 0)
            self.assertEqual(sim.received_bytes(), sent)
        run = mz6("apply", self.profile("model = krx\nstandby = static\n"), "--all", env=env)
        self.assertEqual((run.code, run.out), (0, f"{acm}: skipped (other-model): model usb\n"
                                                  f"{ttyusb}: changed\n  standby: off -> static\n"))
        self.assertEqual(run.err, "1 of 1 readers configured: 1 changed, 0 unchanged, 0 failed\n"
                                  f"skipped (other model): {acm}\n")
        self.assertEqual((krx.settings, usb.writes()), (b"TMX1SO", 0))
        usb_profile = self.profile("model = usb\ncards = mifare\n")
        records = json.loads(mz6("apply", usb_profile, "--all", "--json", env=env).out)
        self.assertEqual([(r["port"], r["model"], r["result"], r["written"]) for r in records],
                         [(acm, "usb", "ok", True), (ttyusb, "krx", "other-model", False)])
        # Named, a reader of the other model is still a failure.
        run = mz6("apply", usb_profile, "--port", ttyusb, env=env)
        self.assertEqual((run.code, run.out), (1, f"{ttyusb}: wrong-model\n"))
        # Where only the other model is found, there is nothing to configure.
        only_krx = {"MZ6_SYSTEM_ROOT": str(root := self.new_folder())}
        plug_usb_tty(root, "ttyUSB0", self.reader(0).slave_path)
        run = mz6("apply", usb_profile, "--all", "--json", env=only_krx)
        self.assertEqual((run.code, run.err), (1, "mz6: no reader of model usb to configure\n"))
        self.assertEqual(json.loads(run.out)["result"], "no-reader")

    def test_save_then_apply_copies_a_reader_onto_others_in_parallel(self):
        path, source = self.profile(""), self.reader(1, settings=b"ATMX2XM").slave_path
        self.assertEqual(mz6("save", "--port", source, path).code, 0)
        self.assertEqual(Path(path).read_text(),  # no type: format touch-memory leaves it unused
                         "model = usb\nmode = any-os\nformat = touch-memory\nbytes = 2\ncards = mifare\n")
        first, silent, second = self.reader(1), self.reader(1, "silent"), self.reader(1)
        ports = [first.slave_path, silent.slave_path, second.slave_path]
        run = mz6("apply", path, *[a for p in ports for a in ("--port", p)], "--json")
        self.assertEqual(run.code, 1)
        results = json.loads(run.out)
        self.assertEqual([(r["port"], r["result"]) for r in results],
                         [(ports[0], "ok"), (ports[1], "no-answer"), (ports[2], "ok")])
        changes = [{"key": "mode", "from": "windows", "to": "any-os"},
                   {"key": "format", "from": "hex-dec", "to": "touch-memory"},
                   {"key": "bytes", "from": "5", "to": "2"}, {"key": "cards", "from": "all", "to": "mifare"}]
        self.assertEqual(results[0], {"port": ports[0], "model": "usb", "version": "1.00", "mode": "any-os",
                                      "format": "touch-memory", "bytes": "2", "cards": "mifare", "result": "ok",
                                      "written": True, "changed": True, "forced": False, "changes": changes,
                                      "before": {"mode": "windows", "format": "hex-dec", "type": "hex", "bytes": "5",
                                                 "cards": "all"}})
        self.assertEqual(run.err, f"2 of 3 readers configured: 2 changed, 0 unchanged, 1 failed:\n"
                                  f"  {ports[1]}: no-answer: {NO_RESPONSE}\n")
        self.assertEqual((first.settings, second.settings), (b"ATMX2XM", b"ATMX2XM"))
        # The silent reader was asked while the first was still being written: the ports are served at once.
        self.assertLess(silent.commands[0][0], first.commands[-1][0])
        (link := Path(path).parent / "by-id").symlink_to(first.slave_path)  # the first reader under another name
        # The second run finds every setting in place: nothing is written.
        again = mz6("apply", path, "--port", first.slave_path, "--port", second.slave_path, "--port", str(link))
        self.assertEqual((again.code, again.out), (0, f"{ports[0]}: unchanged\n{ports[2]}: unchanged\n"))
        self.assertEqual(again.err, "2 of 2 readers configured: 0 changed, 2 unchanged, 0 failed\n")
        self.assertEqual((first.writes(), second.writes()), (1, 1))

    def test_check_lists_the_changes_and_force_writes_what_is_in_place(self):
        path = self.profile("model = krx\ninterface = wiegand26\nstandby = static\n")
        held, fresh = self.reader(0, settings=b"W261SO"), self.reader(0, settings=b"TMX1QO")  # Q: a code not known
        ports = ["--port", held.slave_path, "--port", fresh.slave_path]
        check = mz6("apply", path, *ports, "--check")
        self.assertEqual((check.code, check.out), (0, f"{held.slave_path}: unchanged\n{fresh.slave_path}: differs\n"
                                                      "  interface: touch-memory -> wiegand26\n"
                                                      "  standby: not known -> static\n"))
        self.assertIn("nothing written: 1 differ, 1 unchanged, 0 failed", check.err)
        one = mz6("write", "--port", fresh.slave_path, "--check", "--json", "standby=static")
        self.assertEqual(json.loads(one.out)["changes"], [{"key": "standby", "from": None, "to": "static"}])
        # --force writes a reader that holds every setting: said so, rather than "differs" with nothing below.
        forced_alone = "  no setting differs: --force writes every setting as it is\n"
        check = mz6("apply", path, *ports, "--check", "--force")
        self.assertEqual(check.out.split(fresh.slave_path)[0], f"{held.slave_path}: forced\n{forced_alone}")
        one = json.loads(mz6("write", "--port", held.slave_path, "--check", "--force", "--json", "standby=static").out)
        self.assertEqual((one["changed"], one["forced"], one["changes"]), (True, True, []))
        self.assertEqual((held.writes(), fresh.writes()), (0, 0))
        forced = mz6("apply", path, *ports, "--force")
        self.assertEqual((forced.code, forced.out), (0, f"{held.slave_path}: changed\n{forced_alone}"
                                                        f"{fresh.slave_path}: changed\n"
                                                        "  interface: touch-memory -> wiegand26\n"
                                                        "  standby: not known -> static\n"))
        self.assertEqual((held.writes(), fresh.writes(), fresh.settings), (1, 1, b"W261SO"))

    def test_find_lists_the_readers_in_port_order(self):
        usb, unknown, krx, garbage = self.reader(1), self.reader(0, "unknown"), self.reader(0), self.reader(0, "garbage")
        ports = [a for sim in (usb, unknown, krx, garbage) for a in ("--port", sim.slave_path)]
        run = mz6("find", *ports)
        self.assertEqual((run.code, run.out), (0, f"{usb.slave_path}  usb  1.00\n{krx.slave_path}  krx  1.00\n"))
        self.assertEqual(run.err, f"{unknown.slave_path}: unknown-command: Invalid command!\n"
                                  f"{garbage.slave_path}: unrecognised: The answer could not be recognized!\n")
        results = [r["result"] for r in json.loads(mz6("find", "--json", *ports).out)]
        self.assertEqual(results, ["ok", "unknown-command", "ok", "unrecognised"])
        none = mz6("find", "--model", "krx", "--port", garbage.slave_path)
        self.assertEqual((none.code, none.out, none.err.splitlines()[-1]), (1, "", "mz6: no reader found"))

    def test_every_failure_has_its_code_in_text_and_json(self):
        unrecognised, opening = "The answer could not be recognized!", "Error opening: "
        (loop := self.new_folder() / "loop").symlink_to("loop")
        for code, reader, args, message, sent in (
                ("no-answer", (0, "silent", {}), ["read", "--model", "krx"], NO_RESPONSE, b"AT+READS_KRXAT+READS_USB"),
                ("unrecognised", (0, "garbage", {}), ["read"], unrecognised, b"AT+READS_KRX"),
                # Settings cut short are not made up from whatever follows them.
                ("unrecognised", (0, "normal", {"settings": b"TMX1"}), ["read", "--model", "krx"], unrecognised,
                 b"AT+READS_KRX"),
                ("unknown-command", (0, "unknown", {}), ["read"], "Invalid command!", b"AT+READS_KRXAT+READS_USB"),
                ("firmware", (0, "normal", {"version": b"2.00"}), ["read"], "Firmware version not supported!",
                 b"AT+READS_KRX"),
                ("wrong-model", (1, "normal", {}), ["read", "--model", "krx"],
                 "the reader answers as model usb, not as krx", b"AT+READS_KRXAT+READS_USB"),
                ("wrong-model", (1, "normal", {}), ["write", "interface=wiegand26"],
                 "the reader answers as model usb, not as krx", b"AT+READS_KRXAT+READS_USB"),
                ("mismatch", (0, "normal", {"keeps_writes": False}), ["write", "interface=wiegand26"],
                 "Read back different: interface: wrote wiegand26, read back touch-memory",
                 b"AT+READS_KRXAT+W261AOAT+READS_KRX"),
                ("incomplete", (0, "normal", {"settings": b"TMX1QO"}), ["read"],
                 "The reader reported settings this program does not know; give them explicitly: standby (",
                 b"AT+READS_KRX"),
                # Written, the type would be dropped by the reader and still read back "the same".
                ("unused-setting", (1, "normal", {"settings": b"WTMX5EM"}), ["write", "type=dec"],
                 "type is not used with format = touch-memory", b"AT+READS_USB"),
                ("not-found", "/dev/ttyNOPE", ["read"], opening + "no such port (system error 2: ", None),
                ("not-a-serial-port", self.profile("model = krx\n"), ["save"],
                 opening + "not a serial port (system error 25: ", None),
                ("open-failed", str(loop), ["read"], opening[:-2] + " (system error 40: ", None)):
            with self.subTest(code=code, args=args):
                sim = self.reader(reader[0], reader[1], **reader[2]) if sent else None
                port = sim.slave_path if sim else reader
                # The text names the port, its code and why on standard error; --json adds the record.
                run = mz6(*args, "--port", port, "--json", *(["x"] if "save" in args else []))
                self.assertEqual(run.code, 1)
                self.assertTrue(run.err.startswith(f"{port}: {code}: {message}"), run.err)
                record = json.loads(run.out)
                self.assertEqual((record["port"], record["result"]), (port, code))
                self.assertEqual(f"{port}: {code}: {record['message']}\n", run.err)
                self.assertEqual(record.get("error", 0) != 0, sent is None)
                if sim:
                    self.assertEqual(sim.received_bytes(), sent)

    def test_a_write_taken_but_not_read_back_says_so(self):
        sim = self.reader(0, answers=2)  # the read and the write
        run = mz6("write", "--port", sim.slave_path, "standby=static", "--json")
        self.assertEqual((run.code, run.err),
                         (1, f"{sim.slave_path}: no-answer: Written, but not verified: {NO_RESPONSE}\n"))
        self.assertEqual((json.loads(run.out)["result"], json.loads(run.out)["written"]), ("no-answer", True))
        self.assertEqual(sim.settings, b"TMX1SO")

    def test_bad_arguments_and_profiles_send_nothing(self):
        readers = self.reader(0), self.reader(0)
        port, ports = readers[0].slave_path, ["--port", readers[0].slave_path, "--port", readers[1].slave_path]
        for text, error in (
                ("model = krx\ninterface = wiegand26\ncolour = red\n", "'colour' is not a setting (line 3)"),
                ("model = krx\n# site B\nstandby = sometimes\n",
                 "standby cannot be 'sometimes'; one of: dynamic|static|off (line 3)"),
                ("model = krx\n\nmode = windows\n", "mode belongs to the other reader model (line 3)"),
                ("interface = wiegand26\n", "model = krx or model = usb must be the first setting (line 1)"),
                ("model = krx\nstandby = off\nstandby = static\n", "standby is given twice (line 3)"),
                ("model = krx\nmodel = usb\n", "model is given twice (line 2)"),
                ("model = krt\n", "model cannot be 'krt'; one of: krx|usb (line 1)"),
                ("model = krx\ninterface\0junk = wiegand26\n",
                 "'interface\\x00junk = wiegand26' is not key = value (line 2)"),
                ("model = usb\ntype = hex\nformat = touch-memory\n",
                 "type is not used with format = touch-memory (line 2)"),
                # A file that is no profile is neither read whole nor echoed; what it holds is shown escaped.
                ("model = krx\n" + "x" * 2000 + "\n", "the line is longer than 1 KiB (line 2)"),
                ("model = krx\r\n#" + "x" * 1023 + "\r\ncolour = red\r\n", "'colour' is not a setting (line 3)"),
                ("model = krx\n" + "x = y\n" * 20000, "{source}: the profile is larger than 64 KiB"),
                ("model = krx\n" + "y" * 500 + "\n", "'" + "y" * 40 + "...' is not key = value (line 2)"),
                ("model = krx\ninter\x1b]0;PWNED\x07\x1b[31mface = x\n",
                 "'inter\\x1b]0;PWNED\\x07\\x1b[31mface' is not a setting (line 2)")):
            with self.subTest(profile=text[:40]):
                path = self.profile(text)
                for source, stdin in ((path, None), ("-", text.encode())):
                    run = mz6("apply", source, *ports, input=stdin)
                    self.assertEqual((run.code, run.out), (2, ""))
                    self.assertEqual(run.err, f"mz6: {error.format(source=source)}\n")
        good = self.profile("model = krx\n")
        for args, error in (
                ("", "a command is required"), ("reed", "unknown command 'reed'; did you mean read?"),
                ("version", "did you mean --version?"), ("--bogus", "unknown option '--bogus'"),
                (f"read --prot {port}", "unknown option '--prot'; did you mean --port?"),
                ("read", "read: give the reader's port with --port"), ("read --port", "--port needs a value"),
                ("read --port=", "the port name is empty"), ("save --port=\t x", "the port name is empty"),
                (f"watch {good} --port ", "the port name is empty"), (f"watch {good} --log ", "--log needs a value"),
                (f"read --port {port} --model krt", "wrong value 'krt' for --model; one of: krx, usb"),
                (f"read --port {port} --model ", "--model needs a value"), ("--lang  find", "--lang needs a value"),
                (f"--lang de read --port {port}", "wrong value 'de' for --lang; one of: en, ru"),
                (f"read --port {port} extra\x1b[2J\xff", "unexpected argument 'extra\\x1b[2J\\xff'"),
                # A port given bare: the command line again, with --port where it belongs.
                (f"read {port}", f"unexpected argument '{port}'; give the port with --port: mz6 --json read --port {port}"),
                (f"apply {good} {port} {port}", f"with --port: mz6 --json apply {good} --port {port} --port {port}"),
                (f"write --port {port}", "write: give the settings to change as key=value"),
                (f"apply {good}", "apply: give --port P (one or more) or --all"),
                (f"apply {good} --all --port {port}", "apply: --port and --all exclude each other"),
                (f"watch /no/such.profile", "/no/such.profile: No such file or directory"),
                (f"apply /dev/zero --port {port}", "/dev/zero: the profile is larger than 64 KiB"),
                (f"save --port {port}", "save: give the profile file to write"),
                # The keys as a profile's lines are checked (above); here what only the command line has.
                (f"write --port {port} standby=", "'standby=' is not key = value"),
                (f"write --port {port} =off", "'=off' is not key = value"),
                (f"write --port {port} interface=wiegand26 mode=windows",
                 "mode belongs to the other reader model than")):
            with self.subTest(args=args):
                # With --json, every failure is one object on standard output, and the message still goes to
                # standard error.
                run = mz6("--json", *args.encode("latin-1").split(b" ") if args else [])
                record = json.loads(run.out)
                self.assertEqual((run.code, list(record), run.out.count("\n")), (2, ["result", "message"], 1))
                self.assertIn(record["result"], ["usage", "bad-profile"])
                self.assertIn(error, record["message"])
                self.assertEqual(run.err.splitlines()[0], f"mz6: {record['message']}")
        time.sleep(0.1)  # a byte on its way would have arrived by now
        self.assertEqual([r.received_bytes() for r in readers], [b"", b""])

    def test_standard_input_closed_or_a_folder_and_bytes_of_a_port_name_are_told_as_such(self):
        sim = self.reader(0)
        folder = os.open(self.new_folder(), os.O_RDONLY)
        self.addCleanup(os.close, folder)
        closed = ["sh", "-c", 'exec "$0" "$@" <&-']
        for how, language, message in ((closed, "en", "standard input is closed"),
                                       (closed, "ru", "стандартный ввод закрыт"),
                                       ([], "en", "standard input is a folder, not a profile")):
            with self.subTest(message=message):
                run = mz6("--lang", language, "apply", "-", "--port", sim.slave_path, prefix=how, stdin=folder)
                self.assertEqual((run.code, run.err[:len(message) + 5]), (2, f"mz6: {message}"))
        port = "/dev/tty\x1b]0;PWNED\x07\xff"
        run = mz6("read", "--port", port.encode("latin-1"))
        self.assertTrue(run.err.startswith("/dev/tty\\x1b]0;PWNED\\x07\\xff: not-found: "), run.err)
        self.assertEqual(sim.received_bytes(), b"")

    def test_messages_follow_the_language_asked_for(self):
        russian, english = "Не удалось распознать ответ!", "The answer could not be recognized!"
        for args, env, message in (
                (["--lang", "ru"], {}, russian),
                ([], {"LANG": "ru_RU.UTF-8"}, russian),
                ([], {"LC_MESSAGES": "ru_RU.UTF-8", "LANG": "en_GB.UTF-8"}, russian),
                ([], {"LC_ALL": "C.UTF-8", "LANG": "ru_RU.UTF-8"}, english),
                (["--lang", "en"], {"LANG": "ru_RU.UTF-8"}, english)):
            with self.subTest(args=args, env=env):
                sim = self.reader(0, "garbage")
                self.assertEqual(mz6(*args, "read", "--port", sim.slave_path, env=env).err,
                                 f"{sim.slave_path}: unrecognised: {message}\n")
        self.assertEqual(mz6("--lang", "ru", "find", "--port", sim.slave_path).err,
                         f"{sim.slave_path}: unrecognised: {russian}\nmz6: считыватель не найден\n")
        # Help and usage errors too.
        self.assertIn("Изменить настройки: считать", mz6("write", "--help", "--lang", "ru").out)
        self.assertEqual(mz6("--lang", "ru", "read", "--port", "a", "--port=b").err,
                         "mz6: --port задан дважды\nПодробнее: mz6 --help.\n")
        self.assertEqual(mz6("reed", env={"LANG": "ru_RU.UTF-8"}).err,
                         "mz6: неизвестная команда «reed»; возможно, имелось в виду read?\nПодробнее: mz6 --help.\n")
