"""The demo of scripts/run --cli: its readers seen as a system shows them, and the commands it suggests."""
import subprocess
import sys

from run import REPO, ReaderTest, mz6


class Demo(ReaderTest):
    def test_the_usb_reader_carries_its_ids_and_the_suggestions_cover_watch_ports_and_check(self):
        demo = subprocess.Popen([sys.executable, str(REPO / "tools/cli_demo.py")], stdin=subprocess.PIPE,
                                stdout=subprocess.PIPE, text=True)
        self.addCleanup(lambda: (demo.kill(), demo.communicate()))
        shown = [demo.stdout.readline()]
        while shown[-1] and "stops the readers" not in shown[-1]:  # up to the line that tells how to stop it
            shown.append(demo.stdout.readline())
        env = dict([next(line.split()[1] for line in shown if "export MZ6_SYSTEM_ROOT=" in line).split("=")])
        for suggested in ("mz6 ports", "mz6 watch", " --check"):
            self.assertIn(suggested, "".join(shown))
        self.assertEqual(mz6("ports", env=env).out.splitlines()[0], f"{env['MZ6_SYSTEM_ROOT']}/dev/ttyACM0  zentak-6-usb")
        self.assertEqual(demo.communicate("\n", timeout=10)[0], "the readers are gone\n")
