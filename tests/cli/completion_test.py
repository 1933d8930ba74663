"""bash completion (cli/mz6.bash-completion) as a user meets it: an interactive bash with bash-completion loaded,
in a terminal (tmux), keys typed and the line read back from the screen. What it offers is what mz6 takes."""
import subprocess
import time

from run import MZ6, REPO, ReaderTest, environment, serial_tty, usb_reader_root

SCRIPT = REPO / "cli" / "mz6.bash-completion"
LIST = "M-*"  # readline's insert-completions: every match put on the line


class Completion(ReaderTest):
    def tmux(self, *args):
        return subprocess.run(["tmux", "-S", str(self.socket), *args], env=self.env, capture_output=True,
                              text=True, check=True).stdout

    def start_shell(self, env):
        folder = self.new_folder()
        (folder / "bin").mkdir()
        (folder / "bin/mz6").symlink_to(MZ6)
        self.socket = folder / "tmux"
        self.env = environment({**env, "PATH": f"{folder}/bin:/usr/bin:/bin", "LANG": "C.UTF-8", "INPUTRC": "/dev/null",
                                "HISTFILE": "/dev/null"})
        self.tmux("new-session", "-d", "-x", "300", "-y", "20", "bash --norc --noprofile -i")
        self.addCleanup(self.tmux, "kill-server")
        self.type(f"PS1='$ '; source /usr/share/bash-completion/bash_completion && source {SCRIPT} && clear", "Enter")
        self.assertEqual(self.line_after("", "Enter"), "$")

    def type(self, *keys):
        self.tmux("send-keys", "-t", "0", *keys)

    def line_after(self, text, key, expected=None, timeout=10.0):
        """The last line on the screen after `text` and `key` are typed, and a '#' after them to show where
        the completion ended; the line is cleared after."""
        self.type("-l", text)
        self.type(key)
        self.type("-l", "#" if key != "Enter" else "")
        deadline = time.monotonic() + timeout
        while True:
            line = [row for row in self.tmux("capture-pane", "-p").splitlines() if row.strip()][-1]
            if line == expected or (expected is None and line.strip() == "$") or time.monotonic() > deadline:
                break
            time.sleep(0.05)
        self.type("C-e", "C-u")
        return line

    def test_the_word_typed_becomes_the_key_or_option_with_its_value_once(self):
        folder = self.new_folder()
        env = usb_reader_root(self.reader(1).slave_path, folder)
        serial_tty(folder, "ttyS0", console=True)  # not offered as a port
        self.start_shell(env)
        for typed, key, shown in (
                ("write --port /dev/x interface=wieg", "Tab", "write --port /dev/x interface=wiegand#"),
                ("write touch-poll=of", "Tab", "write touch-poll=off #"),
                ("write --model=krx st", "Tab", "write --model=krx standby=#"),
                ("write --model usb bytes=", LIST, "write --model usb bytes=2 3 4 5 #"),
                ("write --model krx standby=", LIST, "write --model krx standby=dynamic off static #"),
                ("--lang=r", "Tab", "--lang=ru #"),
                ("--lang ", LIST, "--lang en ru #"),
                ("re", "Tab", "read #"),
                ("read --port ", "Tab", f"read --port {folder}/dev/ttyACM0 #"),
                ("read --port=", "Tab", f"read --port={folder}/dev/ttyACM0 #"),
                ("", LIST, "--help --json --lang --version apply find ports read save watch write #"),
                ("apply x --", LIST, "apply x --all --check --force --help --json --lang --port #")):
            with self.subTest(typed=typed):
                self.assertEqual(self.line_after("mz6 " + typed, key, "$ mz6 " + shown), "$ mz6 " + shown)
