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
        root = next(line.split("=", 1)[1].split()[0] for line in shown if "export MZ6_SYSTEM_ROOT=" in line)
        suggested = [line.split()[1] for line in shown if line.startswith("  build/linux/mz6 ")]
        self.assertLessEqual({"ports", "watch"}, set(suggested))
        self.assertIn(" --check", "".join(shown))
        env = {"MZ6_SYSTEM_ROOT": root}
        self.assertEqual(mz6("ports", env=env).out, f"{root}/dev/ttyACM0  zentak-6-usb\n"
                                                    f"{root}/dev/ttyS0  skipped: the kernel's console\n"
                                                    f"{root}/dev/ttyUSB0\n")
        self.assertEqual(mz6("read", "--port", f"{root}/dev/ttyACM0", env=env).fields()["model"], "usb")
        self.assertEqual(demo.communicate("\n", timeout=10)[0], "the readers are gone\n")
