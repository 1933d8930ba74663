"""bash completion (cli/mz6.bash-completion) as the shell runs it, with bash-completion loaded when present:
what it offers is what mz6 takes."""
import subprocess

from run import MZ6, REPO, ReaderTest, environment, usb_reader_root

SCRIPT = REPO / "cli" / "mz6.bash-completion"


def offered(line, env):
    """What completing at the end of `line` (after the program's name) offers."""
    shell = (f'source /usr/share/bash-completion/bash_completion 2>/dev/null; source "{SCRIPT}"\n'
             f'COMP_LINE="$0 $1"; COMP_POINT=${{#COMP_LINE}}; read -ra COMP_WORDS <<< "$COMP_LINE"\n'
             '[[ $COMP_LINE == *" " ]] && COMP_WORDS+=(""); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n'
             '_mz6; printf "%s\\n" "${COMPREPLY[@]}"')
    run = subprocess.run(["bash", "-c", shell, MZ6, line], env=environment(env), capture_output=True, text=True)
    return run.stdout.split()


class Completion(ReaderTest):
    def test_commands_options_keys_values_and_ports(self):
        folder = self.new_folder()
        env = usb_reader_root(self.reader(1).slave_path, folder)
        for line, expected in (
                ("", "ports find read write save apply watch --lang --json --help --version"),
                ("re", "read"), ("apply x --", "--lang --json --help --port --all --force --check"),
                ("--lang ", "en ru"), ("write --model ", "krx usb"),
                ("write --model usb ", "mode= format= type= bytes= cards="),
                ("write --model krx st", "standby="),
                ("write --model krx standby=", "standby=dynamic standby=static standby=off"),
                ("write bytes=", "bytes=5 bytes=4 bytes=3 bytes=2"),
                ("read --port ", f"{folder}/dev/ttyACM0")):
            with self.subTest(line=line):
                self.assertEqual(offered(line, env), expected.split())
