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
from run import MZ6, NO_RESPONSE, ReaderTest, environment  # noqa: E402

PLAY = """
- hosts: localhost
  gather_facts: false
  module_defaults:
    mivorzentak.mz6.reader: {mz6: "{{ mz6 }}", port: "{{ ports }}"}
  tasks:
    - mivorzentak.mz6.reader: {settings: {interface: wiegand26, standby: static}}
      register: first
    - mivorzentak.mz6.reader: {profile: "{{ profile }}"}
      register: again
    - mivorzentak.mz6.reader: {model: krx, settings: {interface: wiegand44, touch-poll: off}}
      register: check
      check_mode: true
      diff: true
    - mivorzentak.mz6.reader: {port: ["{{ silent }}"], settings: {interface: wiegand26}}
      register: dead
      ignore_errors: true
    - mivorzentak.mz6.reader: {settings: {colour: red}}
      register: bad
      ignore_errors: true
    - mivorzentak.mz6.reader: {port: "{{ omit }}", settings: {interface: wiegand26}}
      register: no_port
      ignore_errors: true
    - mivorzentak.mz6.reader: {mz6: /nowhere/mz6, settings: {interface: wiegand26}}
      register: no_mz6
      ignore_errors: true
    - ansible.builtin.copy:
        {content: "{{ [first, again, check, dead, bad, no_port, no_mz6] | to_json }}", dest: "{{ out }}"}
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
        variables = {"mz6": MZ6, "ports": [r.slave_path for r in readers], "profile": str(profile),
                     "silent": silent.slave_path, "out": str(self.folder / "out.json")}
        run = subprocess.run(["ansible-playbook", "-c", "local", "-i", "localhost,", str(play), "-e",
                              json.dumps(variables)], env=self.env, capture_output=True, text=True, timeout=120,
                             check=False)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        first, again, check, failed, bad, no_port, no_mz6 = json.loads((self.folder / "out.json").read_text())

        self.assertEqual((first["changed"], [r["changed"] for r in first["readers"]]), (True, [True, False]))
        self.assertEqual(first["readers"][0]["changes"], [{"key": "interface", "from": "touch-memory", "to": "wiegand26"},
                                                          {"key": "standby", "from": "off", "to": "static"}])
        self.assertEqual((again["changed"], [r["result"] for r in again["readers"]]), (False, ["ok", "ok"]))
        self.assertEqual(check["changed"], True)
        self.assertEqual([(d["before_header"], d["before"], d["after"]) for d in check["diff"]],
                         [(r.slave_path, "interface: wiegand26\nindication: direct\nstandby: static\ntouch-poll: on\n",
                           "interface: wiegand44\nindication: direct\nstandby: static\ntouch-poll: off\n")
                          for r in readers])
        # Written once, by the first task; read by every task but the one with the bad key.
        self.assertEqual([(r.writes(), len(r.commands)) for r in readers], [(1, 5), (0, 3)])
        self.assertTrue(failed["failed"])
        self.assertIn(f"{silent.slave_path}: no-answer: {NO_RESPONSE}", failed["msg"])
        self.assertEqual((bad["failed"], bad["readers"]), (True, []))
        self.assertIn("colour", bad["msg"])
        self.assertEqual(no_port["msg"], "all is False but all of the following are missing: port")
        self.assertEqual(no_mz6["msg"], "/nowhere/mz6: No such file or directory")  # once, for both ports

    def test_ansible_doc_renders_the_module(self):
        doc = subprocess.run(["ansible-doc", "mivorzentak.mz6.reader"], env=self.env, capture_output=True, text=True,
                             check=False)
        self.assertEqual(doc.returncode, 0, doc.stderr)
        for part in ("OPTIONS", "port", "settings", "profile", "EXAMPLES", "RETURN VALUES", "check mode"):
            self.assertIn(part, doc.stdout)


if __name__ == "__main__":
    unittest.main()
