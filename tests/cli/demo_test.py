"""The demo of scripts/run --cli: its readers seen as a system shows them, the commands it suggests, and its own
commands (plug, unplug, quit) with what it does not understand."""
import subprocess
import sys

from run import REPO, ReaderTest, mz6


class Demo(ReaderTest):
    def test_readers_come_and_go_as_typed_and_only_an_empty_line_quit_or_the_end_stops_it(self):
        demo = subprocess.Popen([sys.executable, str(REPO / "tools/cli_demo.py")], stdin=subprocess.PIPE,
                                stdout=subprocess.PIPE, text=True)
        self.addCleanup(lambda: (demo.kill(), demo.communicate()))
        shown = [demo.stdout.readline()]
        while shown[-1] and "stops the readers" not in shown[-1]:  # up to the line that tells how to stop it
            shown.append(demo.stdout.readline())
        env = dict([next(line.split()[1] for line in shown if "export MZ6_SYSTEM_ROOT=" in line).split("=")])
        root = env["MZ6_SYSTEM_ROOT"]
        for suggested in ("mz6 ports", "mz6 watch", " --check"):
            self.assertIn(suggested, "".join(shown))

        def answer(typed):
            demo.stdin.write(typed + "\n")
            demo.stdin.flush()
            return demo.stdout.readline()

        self.assertEqual(mz6("ports", env=env).out.splitlines()[0], f"{root}/dev/ttyACM0  zentak-6-usb")
        self.assertEqual(answer("plug"), f"USB reader plugged in: {root}/dev/ttyACM1\n")
        self.assertEqual(answer("plg"), "not understood: 'plg'; type plug, unplug, quit or an empty line\n")
        # The last one plugged in goes, then the one before it; the next takes the lowest number free.
        self.assertEqual([answer("unplug"), answer("unplug"), answer("plug")],
                         [f"reader unplugged: {root}/dev/ttyACM1\n", f"reader unplugged: {root}/dev/ttyACM0\n",
                          f"USB reader plugged in: {root}/dev/ttyACM0\n"])
        self.assertEqual([line.split()[0] for line in mz6("ports", env=env).out.splitlines()],
                         [f"{root}/dev/ttyACM0", f"{root}/dev/ttyS0", f"{root}/dev/ttyUSB0"])
        self.assertEqual(demo.communicate("quit\nplug\n", timeout=10)[0], "the readers are gone\n")
