"""The module mivorzentak.mz6.reader in one ansible-playbook run on this host (-c local), against simulated
readers on ptys and the host build of mz6; and ansible-doc on it.

    python3 ansible/tests/reader_test.py"""
import json
import os
import subprocess
import sys
import unittest
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "tests" / "cli"))
from run import (KRX_DEFAULTS, MZ6, NO_RESPONSE, USB_DEFAULTS, ReaderTest, environment, plug_usb_tty,  # noqa: E402
                 serial_tty, usb_reader_root)

PLAY = """
- hosts: localhost
  gather_facts: false
  module_defaults:
    mivorzentak.mz6.reader: {mz6: "{{ mz6 }}", port: "{{ ports }}"}
  tasks:
    - {mivorzentak.mz6.reader: {settings: {interface: wiegand26, standby: static}}, register: first}
    - {mivorzentak.mz6.reader: {profile: "{{ profile }}"}, register: again}
    - {mivorzentak.mz6.reader: {model: krx, settings: {interface: wiegand44, touch-poll: off}}, register: check,
       check_mode: true, diff: true}
    - {mivorzentak.mz6.reader: {port: ["{{ silent }}"], settings: {interface: wiegand26}}, register: dead,
       ignore_errors: true}
    - {mivorzentak.mz6.reader: {settings: {colour: red}}, register: bad, ignore_errors: true}
    - {mivorzentak.mz6.reader: {mz6: /nowhere/mz6, settings: {interface: wiegand26}}, register: no_mz6,
       ignore_errors: true}
    # One reader under three names: served once.
    - {mivorzentak.mz6.reader: {port: ["{{ ports[0] }}", "{{ ports[0] }}", "{{ link }}"], settings: {standby: dynamic}},
       register: twice}
    # All the readers of the model the keys are for: the serial-output reader beside them is left alone.
    - {mivorzentak.mz6.reader: {port: "{{ omit }}", all: true, settings: {cards: mifare}}, register: other_model,
       environment: {MZ6_SYSTEM_ROOT: "{{ mixed }}"}}
    # Refused before any reader is asked; the last three would touch no reader (none named, none on the host).
    - mivorzentak.mz6.reader: "{{ item }}"
      loop:
        - {profile_content: " \\n"}
        - {mz6: mz6-nowhere, settings: {interface: wiegand26}}
        - {settings: {interface: null}}
        - {port: [], settings: {interface: wiegand26}}
        - {port: "{{ omit }}", all: true, settings: {interface: wiegand26}}
        - {port: "{{ omit }}", all: true, profile: "{{ profile }}"}
      environment: {MZ6_SYSTEM_ROOT: "{{ empty }}"}
      register: refused
      ignore_errors: true
    - ansible.builtin.copy:
        content: "{{ ([first, again, check, dead, bad, no_mz6, twice, other_model] + refused.results) | to_json }}"
        dest: "{{ out }}"
"""


class Module(ReaderTest):
    def setUp(self):
        self.folder = self.new_folder()
        # The collection as Ansible finds an installed one: ansible_collections/<namespace>/<name>.
        (self.folder / "ansible_collections/mivorzentak").mkdir(parents=True)
        (self.folder / "ansible_collections/mivorzentak/mz6").symlink_to(REPO / "ansible")
        self.env = environment({"ANSIBLE_COLLECTIONS_PATH": str(self.folder), "ANSIBLE_LOCAL_TEMP": str(self.folder),
                                "ANSIBLE_NOCOLOR": "1", "LANG": "C.UTF-8"})

    def test_a_second_run_is_ok_check_mode_writes_nothing_and_failures_carry_mz6s_message(self):
        readers, silent = [self.reader(0), self.reader(0, settings=b"W261SO")], self.reader(0, "silent")
        (profile := self.folder / "site.profile").write_text("model = krx\ninterface = wiegand26\nstandby = static\n")
        (play := self.folder / "play.yml").write_text(PLAY)
        (empty := self.folder / "empty").mkdir()
        (link := self.folder / "by-id").symlink_to(readers[0].slave_path)
        usb, krx = self.reader(1), self.reader(0)
        mixed = usb_reader_root(usb.slave_path, self.folder / "mixed")["MZ6_SYSTEM_ROOT"]
        plug_usb_tty(mixed, "ttyUSB0", krx.slave_path, idVendor="0403", idProduct="6001")
        variables = {"mz6": MZ6, "ports": [r.slave_path for r in readers], "profile": str(profile),
                     "silent": silent.slave_path, "out": str(self.folder / "out.json"), "link": str(link),
                     "empty": str(empty), "mixed": mixed}
        run = subprocess.run(["ansible-playbook", "-c", "local", "-i", "localhost,", str(play), "-e",
                              json.dumps(variables)], env=self.env, capture_output=True, text=True, timeout=120,
                             check=False)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        results = json.loads((self.folder / "out.json").read_text())
        first, again, check, failed, bad, no_mz6, twice, other_model, *refused = results

        self.assertEqual((first["changed"], [r["changed"] for r in first["readers"]]), (True, [True, False]))
        self.assertEqual(first["readers"][0]["changes"], [{"key": "interface", "from": "touch-memory", "to": "wiegand26"},
                                                          {"key": "standby", "from": "off", "to": "static"}])
        self.assertEqual((again["changed"], [r["result"] for r in again["readers"]]), (False, ["ok", "ok"]))
        self.assertEqual(check["changed"], True)
        self.assertEqual([(d["before_header"], d["before"], d["after"]) for d in check["diff"]],
                         [(r.slave_path, "interface: wiegand26\nindication: direct\nstandby: static\ntouch-poll: on\n",
                           "interface: wiegand44\nindication: direct\nstandby: static\ntouch-poll: off\n")
                          for r in readers])
        # Written by the first task and by the one that names it thrice; read by all but the one with the bad key.
        self.assertEqual([(r.writes(), len(r.commands)) for r in readers], [(2, 8), (0, 3)])
        self.assertEqual(([r["port"] for r in twice["readers"]], twice["changed"]), ([readers[0].slave_path], True))
        self.assertEqual(([r["port"] for r in other_model["readers"]], other_model["skipped_readers"], other_model["changed"]),
                         ([f"{mixed}/dev/ttyACM0"], [{"port": f"{mixed}/dev/ttyUSB0", "model": "krx"}], True))
        self.assertEqual((usb.writes(), krx.writes()), (1, 0))
        self.assertTrue(failed["failed"])
        self.assertIn(f"{silent.slave_path}: no-answer: {NO_RESPONSE}", failed["msg"])
        self.assertEqual((bad["failed"], bad["readers"]), (True, []))
        self.assertIn("colour", bad["msg"])
        self.assertEqual(no_mz6["msg"], "/nowhere/mz6: No such file or directory")  # once, for both ports
        self.assertEqual([r["msg"] for r in refused], [
            "profile_content is empty", "mz6-nowhere: not found on the host's PATH (is the mz6 package installed?)",
            "settings: interface has no value", "no reader to configure: port is empty"] +
            ["mz6: no serial ports found"] * 2)

        # What comes back is documented, and readers and cmd come back from every run the options allow.
        doc = subprocess.run(["ansible-doc", "--json", "mivorzentak.mz6.reader"], env=self.env, capture_output=True,
                             text=True, check=True)
        documented = json.loads(doc.stdout)["mivorzentak.mz6.reader"]["return"]
        record_keys = set(documented["readers"]["contains"]) | set(KRX_DEFAULTS) | set(USB_DEFAULTS)
        for result in results:
            self.assertLessEqual({"readers", "cmd"}, set(result))
            standard = {"changed", "failed", "msg", "invocation", "ansible_facts", "item", "ansible_loop_var"}
            self.assertLessEqual(set(result) - standard, set(documented))
            for record in result["readers"]:
                self.assertLessEqual(set(record), record_keys)

    def test_the_example_playbook_checks_a_fresh_kiosk_then_writes_only_the_readers_of_the_profiles_model(self):
        usb, krx = self.reader(1), self.reader(0)
        system = usb_reader_root(usb.slave_path, self.folder / "root")
        plug_usb_tty(self.folder / "root", "ttyUSB0", krx.slave_path, idVendor="0403", idProduct="6001")
        serial_tty(self.folder / "root", "ttyS0", console=True)  # all: true leaves the console alone
        (self.folder / "bin").mkdir()
        (self.folder / "bin/mz6").symlink_to(MZ6)
        (profile := self.folder / "kiosk.profile").write_text("model = usb\ncards = mifare\n")
        (inventory := self.folder / "hosts.ini").write_text("[kiosks]\nlocalhost ansible_connection=local\n")
        variables = json.dumps({"kiosk_profile": str(profile), "ansible_become": False})
        for check in (["--check", "--diff"], []):  # the playbook's first suggested command, then its second
            run = subprocess.run(["ansible-playbook", "-i", str(inventory), "mivorzentak.mz6.fleet", "-e", variables,
                                  *check], env={**self.env, **system, "PATH": f"{self.folder}/bin:/usr/bin:/bin"},
                                 capture_output=True, text=True, timeout=120, check=False)
            self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
            shown = json.loads(run.stdout.split("=> ")[-1].split("\n}\n")[0] + "\n}")["msg"]
            self.assertEqual(shown["skipped"], [f"{self.folder}/root/dev/ttyUSB0"])
            self.assertEqual((usb.writes(), krx.writes(), usb.settings), (1, 0, b"WHDH5XM") if not check else
                             (0, 0, b"WHDH5EM"))
            self.assertEqual("-cards: all\n+cards: mifare" in run.stdout, bool(check))  # the diff, in check mode
        self.assertEqual(shown["written"], [f"{self.folder}/root/dev/ttyACM0"])


if __name__ == "__main__":
    unittest.main()
