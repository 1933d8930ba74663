"""The application shell as a user meets it: start-up, single instance, menu bar, language, Quit."""
from harness.driver import SW_MINIMIZE
from harness.env import SCREEN_SIZE, wait_until
from harness.texts import DEFAULT_SETTINGS, EN, RU, SETTINGS, TEXTS

QUIT, RUSSIAN, ENGLISH = 15, 16, 17
WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX = 0xC00000, 0x80000, 0x40000, 0x20000, 0x10000
WIDTH, HEIGHT = 395, 670
ORIGIN = [SCREEN_SIZE[0] // 2 - 197, SCREEN_SIZE[1] // 2 - 335]  # centred, truncating
SAVE_FAILED = {TEXTS[RU]["save_failed"], TEXTS[EN]["save_failed"]}


def checked(line, is_checked):
    return line + (" [checked]" if is_checked else "")


def menu_outline(items):
    """The menu as nested lists of readable lines. Texts are decoded strictly from Windows-1251,
    so equal lines mean equal bytes."""
    lines = []
    for item in items:
        if item["separator"]:
            lines.append("----")
        elif "items" in item:
            lines.append((item["text"].decode("cp1251"), menu_outline(item["items"])))
        else:
            lines.append(checked(f"{item['text'].decode('cp1251')} #{item['id']}", item["checked"]))
    return lines


def expected_menu(language):
    t = {key: text.decode("cp1251") for key, text in TEXTS[language].items()}
    return [
        (t["file"], [f"{t['quit']} #15"]),
        (t["tools"], [(t["language"], [checked("Русский #16", language == RU), checked("English #17", language == EN)])]),
        (t["help"], [f"{t['help_item']} #18", "----", f"{t['about']} #19"]),
    ]


def check_language(app, language):
    """Title and menu bar are those of the language (waits for a switch to land)."""
    wanted = TEXTS[language]["title"]
    wait_until(lambda: app.title() == wanted, 5, f"the title {wanted!r}")
    assert menu_outline(app.menu()) == expected_menu(language), f"menu bar: {menu_outline(app.menu())}"


def settings_box(app):
    """A box that reports the settings file, if one is open."""
    return next((box for box in app.boxes() if box["text"] in SAVE_FAILED), None)


def start(env, name, settings=None):
    """Starts the program in a fresh directory and lets its start-up search end."""
    app = env.start_app(env.new_workdir(name), settings)
    app.finish_startup_search()
    return app


def test_first_start_creates_the_settings_and_opens_the_russian_window(env):
    app = start(env, "first-start")
    assert app.settings_path.read_bytes() == DEFAULT_SETTINGS
    # Made topmost right after it is shown.
    info = wait_until(lambda: (lambda i: i["topmost"] and i)(app.info()), 5, "a topmost main window")
    assert info["class"] == "my Window"
    assert info["text"] == TEXTS[RU]["title"], info["text"]
    assert info["rect"] == [*ORIGIN, ORIGIN[0] + WIDTH, ORIGIN[1] + HEIGHT], info["rect"]
    assert info["visible"]
    style = info["style"]
    assert style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX) == WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, hex(style)
    assert style & (WS_THICKFRAME | WS_MAXIMIZEBOX) == 0, f"resizable: {style:#x}"
    check_language(app, RU)
    env.screenshot("main-ru", info["rect"])


def test_english_settings_open_the_english_window(env):
    app = start(env, "english", SETTINGS[(EN, "USB_USB")])
    check_language(app, EN)
    env.screenshot("main-en", app.info()["rect"])


def test_second_start_brings_the_running_copy_forward(env):
    app = start(env, "single-instance")
    workdir = app.workdir

    def start_second():
        decoy, front = env.driver.take_foreground()
        assert front == decoy, "could not put another window in front"
        second = env.popen([env.exe], cwd=workdir)
        assert second.wait(15) == 0, f"the second start ended with code {second.returncode}"
        assert [w["hwnd"] for w in env.main_windows()] == [app.hwnd], "a second main window was created"
        wait_until(lambda: env.driver.foreground() == app.hwnd, 5, "the running copy to come to the front")

    start_second()
    env.driver.show(app.hwnd, SW_MINIMIZE)
    wait_until(lambda: app.info()["iconic"], 5, "the window to be minimized")
    start_second()
    info = app.info()
    assert not info["iconic"] and info["visible"], "the running copy was not restored"
    assert info["rect"][:2] == ORIGIN, info["rect"]


def test_quit_ends_the_program_with_code_0_and_keeps_the_settings(env):
    settings = SETTINGS[(EN, "USB_USB")]
    app = start(env, "quit", settings)
    app.command(QUIT)
    assert app.wait_exit(10) == 0
    assert env.main_windows() == []
    assert app.settings_path.read_bytes() == settings


def test_language_switch_both_ways(env):
    app = start(env, "switch")
    app.command(ENGLISH)
    check_language(app, EN)
    assert app.settings_path.read_bytes() == SETTINGS[(EN, "KRT_KRN")]
    app.command(RUSSIAN)
    check_language(app, RU)
    assert app.settings_path.read_bytes() == SETTINGS[(RU, "KRT_KRN")]
    assert app.boxes() == []


def test_choosing_the_current_language_rewrites_the_start_of_the_file(env):
    # Bare LF line ends load like CR LF; the save overwrites the first 36 bytes in place and
    # leaves what lies beyond them.
    app = start(env, "same-language", b"Language = RU;\nTabCtrl = KRT_KRN;\nthird line\n")
    check_language(app, RU)
    app.command(RUSSIAN)
    expected = SETTINGS[(RU, "KRT_KRN")] + b"ird line\n"
    wait_until(lambda: app.settings_path.read_bytes() == expected, 5,
               f"the rewritten file, now {app.settings_path.read_bytes()!r}")
    check_language(app, RU)


def test_unsavable_settings_warn_in_the_old_language_and_switch_anyway(env):
    app = start(env, "unsavable")
    workdir = app.workdir
    app.settings_path.unlink()
    app.settings_path.mkdir()  # cannot be opened for update (root ignores file permissions)
    app.command(ENGLISH)
    box = wait_until(lambda: settings_box(app), 5, "the settings warning")
    env.screenshot("box-save-failed", env.driver.info(box["hwnd"])["rect"])
    assert box["caption"] == TEXTS[RU]["caption"], box["caption"]
    assert box["text"] == TEXTS[RU]["save_failed"], box["text"]
    assert [b["id"] for b in box["buttons"]] == [1], box["buttons"]
    assert box["icon"]["kind"] == "4", box["icon"]
    assert app.title() == TEXTS[RU]["title"], "the title changed before the warning was closed"
    env.driver.press_ok(box)
    check_language(app, EN)
    assert app.boxes() == []
    assert app.settings_path.is_dir()

    # The running copy now carries the English title, so a start that reads Russian settings
    # does not find it and opens a second window.
    app.settings_path.rmdir()
    second = env.start_app(workdir)
    assert second.title() == TEXTS[RU]["title"]
    assert len(env.main_windows()) == 2


def test_settings_that_cannot_be_created_leave_the_russian_defaults(env):
    workdir = env.new_workdir("uncreatable")
    (workdir / "appconfig.ini").mkdir()
    app = env.start_app(workdir)
    check_language(app, RU)
    search_boxes = app.finish_startup_search()
    assert not [box for box in search_boxes if box["text"] in SAVE_FAILED], "the start reported the settings file"
    assert app.proc.poll() is None
