"""mz6.exe, the console companion, under Wine against simulated readers on ports of the system's port
table: the ports and the USB reader it sees, the readers it finds, one read as JSON, and a profile saved
from one reader and applied onto several, with its summary when a port fails. Its output is UTF-8 in
Russian too."""
import json
import os
import pty
import re
import select
import signal
import subprocess

from sim_reader import SimReader
from harness.env import LOCALE, WESTERN_LOCALE, wait_until
from harness.system_ports import Ports, silent_reader

READ_KRX = b"AT+READS_KRX"
PROFILE = "model = krx\ninterface = wiegand44\nindication = inverse\nstandby = off\ntouch-poll = off\n"


def mz6(env, *args, locale=None):
    """Exit status, stdout and stderr (less Wine's own lines) of one run, strictly UTF-8, line ends LF."""
    proc = env.popen([env.build_dir / "mz6.exe", *args], cwd=env.tmp, locale=locale, stdout=subprocess.PIPE,
                     stderr=subprocess.PIPE)
    out, err = (text.decode().replace("\r\n", "\n") for text in proc.communicate(timeout=60))
    return proc.returncode, out, "".join(line for line in err.splitlines(True) if not line.startswith("wine:"))


def test_ports_find_read_save_and_apply_over_the_system_com_ports(env):
    with Ports(env) as ports:
        ports.plug(3, silent_reader())
        krx = [ports.plug(5, SimReader(model=0)), ports.plug(12, SimReader(model=0, settings=b"W440AF"))]
        usb = ports.plug(7, SimReader(model=1), usb=True)

        # In the port table's numeric order; the USB reader known by its USB identifiers alone.
        assert (seen := mz6(env, "ports")) == (0, "COM3\nCOM5\nCOM7  zentak-6-usb\nCOM12\n", ""), seen
        # Every other port named with its reason; the USB reader asked as that first, by its identifiers.
        assert (seen := mz6(env, "--lang", "en", "find")) == (
            0, "COM5  krx  1.00\nCOM7  usb  1.00\nCOM12  krx  1.00\n",
            "COM3: no-answer: the reader did not answer within 1 s\n"), seen
        assert usb.received_bytes() == b"AT+READS_USB", usb.received_bytes()
        status, out, err = mz6(env, "read", "--port", "COM7", "--json")
        assert (status, json.loads(out)["cards"], err) == (0, "all", ""), (out, err)

        (env.tmp / "site.profile").write_text("an older profile")  # replaced whole
        seen = mz6(env, "--lang", "en", "save", "--port", "COM12", "site.profile")
        assert seen == (0, "The settings of COM12 saved to site.profile:\n" + PROFILE, ""), seen
        assert (env.tmp / "site.profile").read_text() == PROFILE
        for reader in krx:
            reader.clear()
        # COM12 already holds the profile it was saved from: read, and not written (its report: the cli tests).
        assert mz6(env, "apply", "site.profile", "--port", "COM5", "--port", "COM12")[0] == 0
        assert [r.received_bytes() for r in krx] == [READ_KRX + b"AT+W440AF" + READ_KRX, READ_KRX]

        seen = mz6(env, "--lang", "ru", "apply", "site.profile", "--port", "COM12", "--port", "COM3")
        assert seen == (1, "COM12: unchanged\nCOM3: no-answer\n", "1 из 2 считывателей настроены: изменено 0, без "
                        "изменений 1, ошибок 1:\n  COM3: no-answer: считыватель не ответил за 1 с\n"), seen


def test_file_names_are_taken_as_given_in_any_code_page(env):
    with Ports(env) as ports:
        ports.plug(5, SimReader(model=0, settings=b"W440AF"))
        (env.tmp / "profile.txt").write_text("model = usb\n")
        name = "профиль.txt"
        for locale in (WESTERN_LOCALE, LOCALE):  # an English Windows (code page 1252), a Russian one (1251)
            (env.tmp / name).unlink(missing_ok=True)
            seen = mz6(env, "--lang", "en", "save", "--port", "COM5", name, locale=locale)
            assert seen == (0, f"The settings of COM5 saved to {name}:\n" + PROFILE, ""), (locale, seen)
            assert (env.tmp / name).read_text() == PROFILE, locale
            seen = mz6(env, "--lang", "en", "apply", name, "--port", "COM5", "--check", locale=locale)
            assert seen[:2] == (0, "COM5: unchanged\n"), (locale, seen)
            # Full-width letters are another name, never profile.txt; a full-width hyphen is no option.
            seen = mz6(env, "--lang", "en", "apply", "ｐｒｏｆｉｌｅ.txt", "--port", "COM5", locale=locale)
            assert seen == (2, "", "mz6: ｐｒｏｆｉｌｅ.txt: No such file or directory\n"), (locale, seen)
            assert mz6(env, "－－version", locale=locale)[0] == 2, locale


def test_watch_configures_a_reader_that_appears_in_the_port_table(env):
    with Ports(env) as ports:
        ports.plug(3, silent_reader())  # there at the start: left alone
        (env.tmp / "usb.profile").write_text("model = usb\ncards = mifare\n")
        proc = env.popen([env.build_dir / "mz6.exe", "--lang", "en", "--json", "watch", "usb.profile", "--log", "readers.jsonl"],
                         cwd=env.tmp, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        assert select.select([proc.stderr], [], [], 20)[0], "mz6.exe watch said nothing at its start"
        started = proc.stderr.readline().decode()
        assert "the 1 ports present now are left alone" in started, started
        reader = ports.plug(7, SimReader(model=1), usb=True)
        ready, _, _ = select.select([proc.stdout], [], [], 20)
        assert ready, "no line from mz6.exe watch"
        record = json.loads(proc.stdout.readline())
        proc.kill()
        proc.communicate()
        assert (record["number"], record["port"], record["usb_serial"], record["result"]) == (
            1, "COM7", r"USB\VID_2E3C&PID_5750\0001", "ok"), record
        assert reader.settings == b"WHDH5XM", reader.settings
        assert json.loads((env.tmp / "readers.jsonl").read_text()) == record


def test_watch_ends_with_its_totals_when_the_session_ends(env):
    # What a log-off sends a program with windows: the session's end asked of its top-level windows.
    (env.tmp / "usb.profile").write_text("model = usb\n")
    proc = env.popen([env.build_dir / "mz6.exe", "--lang", "en", "watch", "usb.profile"], cwd=env.tmp,
                     stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    assert select.select([proc.stderr], [], [], 20)[0] and proc.stderr.readline(), "watch said nothing at its start"
    subprocess.run(["wineboot", "--end-session"], env=env.vars, stdout=env.log, stderr=env.log, timeout=60)
    _, err = proc.communicate(timeout=15)  # times out where the end of the session went unheard
    assert (proc.returncode, err.decode().splitlines()[-1:]) == (
        143, ["0 of 0 readers configured: 0 changed, 0 unchanged, 0 failed"]), (proc.returncode, err)


def test_ctrl_c_lets_a_read_end_its_console_output_whole(env):
    # On a terminal Wine gives the program a console, and SIGINT is its Ctrl+C.
    with Ports(env) as ports:
        reader = ports.plug(3, silent_reader())
        main, terminal = pty.openpty()
        proc = env.popen([env.build_dir / "mz6.exe", "--lang", "en", "read", "--port", "COM3"], cwd=env.tmp,
                         stdin=terminal, stdout=terminal, stderr=terminal, start_new_session=True)
        wait_until(reader.received_bytes, 20, "the read's first command")
        os.kill(proc.pid, signal.SIGINT)
        status = proc.wait(20)
        out = os.read(main, 65536) if select.select([main], [], [], 5)[0] else b""
        os.close(main)
        os.close(terminal)
        assert status == 1 and re.search(rb"COM3: (not-attempted|no-answer): ", out), (status, out)
