"""An interactive bash in a terminal of its own (tmux, on a private socket), driven as a user would: keys typed,
the screen read back. The completion test uses it."""
import subprocess
import tempfile
import time


class Shell:
    def __init__(self, env, setup):
        """bash -i with `env` (only it), `setup` run first at its prompt, which is then "$ "."""
        self.folder = tempfile.TemporaryDirectory()
        self.env = {**env, "INPUTRC": "/dev/null", "HISTFILE": "/dev/null"}
        self.tmux("new-session", "-d", "-x", "300", "-y", "20", "bash --norc --noprofile -i")
        self.line_after(f"PS1='$ '; {setup}; clear", "Enter", "$")

    def tmux(self, *args):
        return subprocess.run(["tmux", "-S", f"{self.folder.name}/socket", *args], env=self.env, capture_output=True,
                              text=True, check=True).stdout

    def line_after(self, text, key, expected, timeout=10.0):
        """The last line on the screen once `text`, then `key` (a tmux key name: Tab, M-*) and a '#' that marks
        where the line then ends are typed: `expected` as soon as it shows, else what shows after `timeout`.
        The line is cleared after."""
        self.tmux("send-keys", "-t", "0", "-l", text)
        self.tmux("send-keys", "-t", "0", key)
        if key != "Enter":
            self.tmux("send-keys", "-t", "0", "-l", "#")
        deadline = time.monotonic() + timeout
        while (line := self.last_line()) != expected and time.monotonic() < deadline:
            time.sleep(0.05)
        self.tmux("send-keys", "-t", "0", "C-e", "C-u")
        return line

    def last_line(self):
        return ([row.rstrip() for row in self.tmux("capture-pane", "-p").splitlines() if row.strip()] or [""])[-1]

    def close(self):
        self.tmux("kill-server")
        self.folder.cleanup()
