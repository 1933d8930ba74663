"""bash completion (cli/mz6.bash-completion) as a user meets it: an interactive bash with bash-completion loaded,
in a terminal (tmux), keys typed and the line read back from the screen. What it offers is what mz6 takes, and
file names as ls offers them."""
from run import MZ6, REPO, ReaderTest, environment, serial_tty, usb_reader_root
from terminal import Shell

SCRIPT = REPO / "cli" / "mz6.bash-completion"
LIST = "M-*"  # readline's insert-completions: every match put on the line


class Completion(ReaderTest):
    def test_the_word_typed_becomes_the_key_or_option_with_its_value_once(self):
        folder = self.new_folder()
        env = usb_reader_root(self.reader(1).slave_path, folder)
        serial_tty(folder, "ttyS0", console=True)  # not offered as a port
        (folder / "bin").mkdir()
        (folder / "bin/mz6").symlink_to(MZ6)
        shell = Shell(environment({**env, "PATH": f"{folder}/bin:/usr/bin:/bin", "LANG": "C.UTF-8"}),
                      f"source /usr/share/bash-completion/bash_completion && source {SCRIPT}")
        self.addCleanup(shell.close)
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
                self.assertEqual(shell.line_after("mz6 " + typed, key, "$ mz6 " + shown), "$ mz6 " + shown)

    def test_file_names_complete_as_ls_completes_them_with_or_without_bash_completion(self):
        folder = self.new_folder()
        for name in ("site", "site one.profile", "profiles/kiosk.profile"):
            (folder / name).parent.mkdir(exist_ok=True)
            (folder / name).touch()
        for loaded in ("source /usr/share/bash-completion/bash_completion && ", ""):
            shell = Shell(environment({"PATH": "/usr/bin:/bin", "LANG": "C.UTF-8"}),
                          f"{loaded}source {SCRIPT} && cd {folder}")
            self.addCleanup(shell.close)
            for typed, key, shown in (
                    ("apply si", "Tab", "apply site#"),  # the part both names share, no space: there is more
                    ("apply si", LIST, r"apply site site\ one.profile #"),
                    (r"apply site\ ", "Tab", r"apply site\ one.profile #"),
                    ("apply pro", "Tab", "apply profiles/#"),  # a folder: its "/", and on into it
                    ("apply profiles/", "Tab", "apply profiles/kiosk.profile #"),
                    ("save --port /dev/x pro", "Tab", "save --port /dev/x profiles/#"),
                    ("watch site --log pro", "Tab", "watch site --log profiles/#"),
                    ("watch site --log=pro", "Tab", "watch site --log=profiles/#")):
                with self.subTest(typed=typed, bash_completion=bool(loaded)):
                    self.assertEqual(shell.line_after("mz6 " + typed, key, "$ mz6 " + shown), "$ mz6 " + shown)
