"""The Russian interface on an English Windows (Wine under en_US.UTF-8, code page 1252); one copy of three started
at once; mz6's Russian on a console."""
import os
import pty
import select
from contextlib import suppress

from harness.env import LOCALE, WESTERN_LOCALE, wait_until
from harness.system_ports import Ports
from harness.texts import RU, SETTINGS, TEXTS
from pe_file import Pe

ABOUT = 19


def menu_texts(items):  # a submenu's id is its handle: texts, check marks and separators count
    return [(i["text"], i["checked"], i["separator"], menu_texts(i.get("items", []))) for i in items]


def interface(env, locale):  # every text of a Russian start under the locale, read as Unicode
    app = env.start_app(env.new_workdir(f"interface-{locale}"), SETTINGS[(RU, "KRT_KRN")], locale=locale)
    seen = {"progress": wait_until(lambda: [w["text"] for w in env.driver.windows(cls="msctls_progress32")
                                            if w["owner"] == app.hwnd], 3, "the progress window"),
            "title": app.title(), "menu": menu_texts(app.menu()),
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
        assert seen == expected, [(part, seen[part]) for part in expected if seen[part] != expected[part]][0]
        assert {charset for _, charset in env.driver.charsets(app.hwnd)} == {204}  # Cyrillic
        second = env.popen([env.exe], cwd=app.workdir, locale=WESTERN_LOCALE)
        assert second.wait(15) == 0 and [w["hwnd"] for w in env.main_windows()] == [app.hwnd]
        wait_until(lambda: env.driver.foreground() == app.hwnd, 5, "the running copy to come to the front")


def test_three_copies_started_at_once_leave_one_window(env):
    wait_until(lambda: not env.main_windows(), 5, "the windows of earlier scenarios to go")
    copies = [env.popen([env.exe], cwd=env.new_workdir("three")) for _ in range(3)]
    ended = wait_until(lambda: (lambda done: len(done) >= 2 and done)([c for c in copies if c.poll() is not None]),
                       15, "two of the copies to end")
    assert [c.returncode for c in ended] == [0, 0] and len(wait_until(env.main_windows, 5, "a window")) == 1


def test_mz6_on_a_console_writes_russian_as_utf16_and_leaves_the_code_page(env):
    controller, terminal = pty.openpty()  # Wine gives a program on a terminal a console
    mz6 = env.build_dir / "mz6.exe"
    proc = env.popen([mz6, "--lang", "ru", "find", "--port", "COM99"], cwd=env.tmp, stdin=terminal, stdout=terminal,
                     stderr=terminal, locale=WESTERN_LOCALE)
    os.close(terminal)
    assert proc.wait(30) == 1
    shown = b""
    with suppress(OSError):  # all read: the terminal has no other user left
        while select.select([controller], [], [], 0.5)[0]:
            shown += os.read(controller, 65536)
    os.close(controller)
    assert "mz6: считыватель не найден".encode() in shown, shown
    assert "SetConsoleOutputCP" not in Pe(mz6).imports().get("KERNEL32.dll", []), "mz6 changes the code page"
