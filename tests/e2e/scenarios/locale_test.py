"""The program on a Windows whose code page is not Russian (Wine under en_US.UTF-8, code page 1252): its
Russian interface reads as on a Russian Windows, in Cyrillic fonts, and a second start finds the first.
One copy of three started at once; Help found beside the program; mz6 in Russian on a console."""
import os
import pty
import re
import select
import shutil
import subprocess
import time

from harness.env import EXE_NAME, LOCALE, PRODUCT, WESTERN_LOCALE, wait_until, windows_path
from harness.system_ports import Ports
from harness.texts import RU, SETTINGS, TEXTS
from pe_file import Pe

HELP, ABOUT = 18, 19
CYRILLIC_CHARSET = 204
PDF_OPEN = r"HKCR\pdffile\shell\open\command"  # what opens .pdf files in a new Wine prefix


def menu_texts(items):
    """The texts, check marks and separators of a menu and its submenus (a submenu's id is its handle)."""
    return [(item["text"], item["checked"], item["separator"], menu_texts(item.get("items", []))) for item in items]


def interface(env, locale):
    """The Russian interface of a start under that locale, read as Unicode: title, menu bar, every
    control's text, the start-up search's progress caption and boxes, and the About box."""
    app = env.start_app(env.new_workdir(f"interface-{locale}"), SETTINGS[(RU, "KRT_KRN")], locale=locale)
    progress = wait_until(lambda: [w["text"] for w in env.driver.windows(cls="msctls_progress32")
                                   if w["owner"] == app.hwnd], 3, "the search's progress window")
    seen = {"progress": progress, "title": app.title(), "menu": menu_texts(app.menu()),
            "boxes": [(box["caption"], box["text"]) for box in app.finish_startup_search()],
            "controls": [(control["id"], control["text"]) for control in app.children()]}
    app.command(ABOUT)
    about = app.wait_box()
    seen["about"] = (about["caption"], about["text"], [button["text"] for button in about["buttons"]])
    env.driver.press_ok(about)
    wait_until(lambda: not app.boxes() and app.info()["enabled"], 5, "the About box to close")
    return app, seen


def test_russian_reads_right_on_a_western_windows_in_cyrillic_fonts_and_one_copy_runs(env):
    with Ports(env):  # no port: each search ends at once with its warning
        russian, expected = interface(env, LOCALE)
        russian.kill()
        assert expected["title"] == TEXTS[RU]["title"], expected["title"]
        app, seen = interface(env, WESTERN_LOCALE)
        for part, wanted in expected.items():
            assert seen[part] == wanted, (part, seen[part], wanted)
        assert {charset for _, charset in env.driver.charsets(app.hwnd)} == {CYRILLIC_CHARSET}
        env.screenshot("western-ru", app.info()["rect"])

        second = env.popen([env.exe], cwd=app.workdir, locale=WESTERN_LOCALE)
        assert second.wait(15) == 0, f"the second start ended with code {second.returncode}"
        assert [w["hwnd"] for w in env.main_windows()] == [app.hwnd], "a second main window was created"
        wait_until(lambda: env.driver.foreground() == app.hwnd, 5, "the running copy to come to the front")


def test_three_copies_started_at_once_leave_one_window(env):
    workdir = env.new_workdir("three")
    copies = [env.popen([env.exe], cwd=workdir) for _ in range(3)]
    ended = wait_until(lambda: (lambda done: len(done) >= 2 and done)([c for c in copies if c.poll() is not None]),
                       15, "two of the copies to end")
    assert [c.returncode for c in ended] == [0, 0], [c.returncode for c in ended]
    windows = wait_until(env.main_windows, 5, "the first copy's window")
    time.sleep(0.5)  # a late second window would show by now
    assert len(env.main_windows()) == 1 and len(windows) == 1, env.main_windows()
    assert sum(c.poll() is None for c in copies) == 1


def test_help_is_found_beside_the_program_started_from_another_folder(env):
    folder = env.new_workdir("program")
    shutil.copy(env.exe, folder / EXE_NAME)
    (folder / "help").mkdir()
    (folder / "help" / PRODUCT["PDF_NAME"]).write_bytes(b"%PDF-1.4\n")
    # PDF files open with the recorder for a while, which writes down the file it was given.
    recorded = env.prefix / "drive_c" / "recorded-calls.txt"
    recorded.unlink(missing_ok=True)
    viewer = re.search(r"REG_SZ\s+(.*?)\r?$", env.run(["reg", "query", PDF_OPEN]).stdout.decode("latin-1"), re.M)
    try:
        env.run(["reg", "add", PDF_OPEN, "/ve", "/d", f'"{windows_path(env.tools_dir / "record-args.exe")}" "%1"', "/f"])
        app = env.start_app(env.new_workdir("elsewhere"), exe=folder / EXE_NAME)
        app.finish_startup_search()
        app.command(HELP)
        calls = wait_until(lambda: recorded.exists() and recorded.read_text(), 10, "the document to be opened")
        assert windows_path(folder / "help" / PRODUCT["PDF_NAME"]) in calls, calls
        assert app.boxes() == [], [box["text"] for box in app.boxes()]
    finally:
        env.run(["reg", "add", PDF_OPEN, "/ve", "/d", viewer.group(1), "/f"] if viewer else ["reg", "delete", PDF_OPEN, "/f"])


def test_mz6_on_a_console_writes_russian_as_utf16_and_leaves_the_code_page(env):
    mz6 = env.build_dir / "mz6.exe"
    controller, terminal = pty.openpty()  # Wine gives a program on a terminal a console
    proc = env.popen([mz6, "--lang", "ru", "find", "--port", "COM99"], cwd=env.tmp, stdin=terminal,
                     stdout=terminal, stderr=terminal, locale=WESTERN_LOCALE)
    os.close(terminal)
    shown, deadline = b"", time.monotonic() + 30
    while proc.poll() is None or select.select([controller], [], [], 0.2)[0]:
        if time.monotonic() > deadline:
            raise AssertionError(f"mz6 did not end: {shown!r}")
        if select.select([controller], [], [], 0.2)[0]:
            try:
                shown += os.read(controller, 4096)
            except OSError:  # the terminal's last user has gone
                break
    os.close(controller)
    assert proc.wait() == 1
    assert "Считыватель не найден.".encode() in shown, shown
    assert "SetConsoleOutputCP" not in Pe(mz6).imports().get("KERNEL32.dll", []), "mz6 changes the code page"
