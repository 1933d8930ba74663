"""`mz6 --help` and the manual page (cli/mz6.1.md) name the same commands, options with their values,
and settings with their values; and the page reads right once man has rendered it."""
import os
import re
import subprocess
import unittest

from run import REPO, mz6

PAGE = (REPO / "cli" / "mz6.1.md").read_text()


def section(text, title):
    return text.split(f"# {title}\n", 1)[1].split("\n# ", 1)[0]


def options(pattern, text):
    """{"--model=krx", "--model=usb", "--port", ...} of the option names and values found by `pattern`."""
    found = set()
    for name, values in re.findall(pattern, text):
        found |= {f"{name}={v}" for v in re.split(r"[,|]", values)} if values else {name}
    return found - {"--help"}  # every command takes it; the page need not say so


def settings(pattern, text):
    return {f"{key}={value}" for key, values in re.findall(pattern, text) for value in values.split("|")}


class Manual(unittest.TestCase):
    def test_help_and_page_tell_the_same(self):
        top = mz6("--help").out
        commands = re.findall(r"^  (\w+) ", top.split("Subcommands:\n", 1)[1].split("\n\n")[0], re.M)
        self.assertEqual(commands, re.findall(r"^\*\*(\w+)\*\*\n:", section(PAGE, "DESCRIPTION"), re.M))
        synopsis = dict(re.findall(r"^\*\*mz6 ?(\w*)\*\*(.*)$", section(PAGE, "SYNOPSIS"), re.M))
        self.assertEqual(sorted(synopsis), sorted(["", *commands]))
        for command in synopsis:
            with self.subTest(command=command or "mz6"):
                shown = top.split("Subcommands:")[0] if not command else mz6(command, "--help").out
                self.assertEqual(options(r"(--[a-z]+)(?: ([a-z]+\|[a-z|]+))?", re.split("Keys|Results", shown)[0]),
                                 options(r"\\(--[a-z]+)\*\*(?: ([a-z|]+))?", synopsis[command]))
        self.assertEqual(settings(r"([a-z-]+)=([a-z0-9|-]+)", top.split("Keys", 1)[1].split("Results")[0]),
                         settings(r"\*\*([a-z-]+)\*\*=([a-z0-9|-]+)", section(PAGE, "SETTINGS")))
        self.assertEqual(top.split("Results", 1)[1].split(":\n", 1)[1].split("\nExit")[0].split(),
                         re.findall(r"^\*\*([a-z-]+)\*\*$", section(PAGE, "RESULTS"), re.M))
        self.assertEqual(sorted(re.findall(r"\b(\d+) [a-z]", top.split("Exit status:")[1])),
                         sorted(re.findall(r"^\*\*(\d+)\*\*$", section(PAGE, "EXIT STATUS"), re.M)))

    def test_a_commands_help_shows_the_keys_and_results_only_where_they_apply(self):
        for command, keys, results in (("ports", False, False), ("read", False, True), ("save", False, True),
                                       ("write", True, True), ("apply", True, True), ("watch", True, True)):
            with self.subTest(command=command):
                shown = mz6(command, "--help").out
                shows = [part in shown for part in ("Keys (krx", "Results", "Examples", "Exit status")]
                self.assertEqual(shows, [keys, results, False, True])

    def test_the_rendered_page_shows_options_and_quoted_patterns_as_typed_and_no_markup(self):
        # Built as cmake/package-deb.cmake builds it, shown as man shows it on a UTF-8 terminal.
        page = subprocess.run(["pandoc", "--standalone", "--to", "man", str(REPO / "cli" / "mz6.1.md")],
                              capture_output=True, check=True).stdout
        shown = subprocess.run(["man", "-l", "-"], input=page, capture_output=True, check=True,
                               env={**os.environ, "LANG": "C.UTF-8", "MANWIDTH": "100", "MAN_KEEP_FORMATTING": ""}
                               ).stdout.decode()
        self.assertEqual(re.findall(r".{12}[–—]\w.{12}", shown), [])  # an option's "--" made a dash
        self.assertEqual(re.findall(r".{12}(?:\*\*|`).{12}", shown), [])  # markup left, or a quote made typographic
        for option in set(re.findall(r"--[a-z]+", mz6("--help").out)):
            self.assertIn(option, shown)
