"""The program as a user starts and ends it: the first start's window, one copy only, and Quit."""
import os

from harness.driver import SW_MINIMIZE
from harness.env import PRODUCT, SCREEN_SIZE, wait_until
from harness.texts import EN, RU, SETTINGS, TEXTS

WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX = 0xC00000, 0x80000, 0x40000, 0x20000, 0x10000
WIDTH, HEIGHT = 395, 670
WM_RBUTTONUP = 0x0205
BARE_POINT = (350, 590)  # the window's own surface below the lamp frame, where a right click opens a menu


def test_one_centred_topmost_window_a_second_start_brings_forward_and_quit_ends(env):
    app = env.start_app(env.new_workdir("shell"))
    app.finish_startup_search()
    info = wait_until(lambda: (lambda i: i["topmost"] and i)(app.info()), 5, "a topmost main window")
    assert (info["class"], info["text"]) == ("my Window", TEXTS[RU]["title"]), info
    left, top = SCREEN_SIZE[0] // 2 - WIDTH // 2, SCREEN_SIZE[1] // 2 - HEIGHT // 2
    assert info["rect"] == [left, top, left + WIDTH, top + HEIGHT], info["rect"]
    frame = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX
    assert info["style"] & frame == WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, f"not a fixed size: {info['style']:#x}"

    for minimized in (False, True):
        if minimized:
            env.driver.show(app.hwnd, SW_MINIMIZE)
            wait_until(lambda: app.info()["iconic"], 5, "the window to be minimized")
        decoy, front = env.driver.take_foreground()
        assert front == decoy, "could not put another window in front"
        second = env.popen([env.exe], cwd=app.workdir)
        assert second.wait(15) == 0, f"the second start ended with code {second.returncode}"
        assert [w["hwnd"] for w in env.main_windows()] == [app.hwnd], "a second main window was created"
        wait_until(lambda: env.driver.foreground() == app.hwnd, 5, "the running copy to come to the front")
    assert not app.info()["iconic"] and app.info()["rect"] == info["rect"], "the running copy was not restored"

    env.driver.post(app.hwnd, WM_RBUTTONUP, 0, BARE_POINT[1] << 16 | BARE_POINT[0])
    menu = wait_until(lambda: [w for w in env.driver.windows(cls="#32768") if w["visible"]], 3, "the popup menu")
    left, top, right, bottom = menu[0]["rect"]
    env.driver.call("mouse_click", (left + right) // 2, (top + bottom) // 2)  # its only item: Quit
    assert app.wait_exit(10) == 0
    assert env.main_windows() == []


def test_another_programs_window_with_the_title_or_its_hold_of_the_name_never_keeps_the_program_away(env):
    # A window of another class with the program's title is not a copy: the start shows its window at once.
    # The name held by a program with no window of the program's: it shows its window after the wait.
    mutex = f"Local\\{PRODUCT['PRODUCT_NAME']} {PRODUCT['VERSION_SHORT']}".encode()
    try:
        for held, within in ((None, 10), (mutex, 20)):
            assert env.driver.impostor(held, TEXTS[RU]["title"])
            app = env.start_app(env.new_workdir("impostor"), timeout=within)
            app.kill()
    finally:
        env.driver.impostor()


def test_a_settings_file_of_a_terabyte_is_read_only_as_far_as_its_lines(env):
    workdir = env.new_workdir("sparse")
    (workdir / "appconfig.ini").write_bytes(SETTINGS[(EN, "USB_USB")])
    os.truncate(workdir / "appconfig.ini", 1 << 40)  # sparse: no disk used, zeros to its end
    assert env.start_app(workdir).title() == TEXTS[EN]["title"]
