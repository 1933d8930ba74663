"""The main window as a user sees it: both tab pages with their controls and lamps, radio clicks,
the tab change, the language switch, the Help menu and the progress window."""
import time

from harness.env import SCREEN_SIZE, wait_until
from harness.texts import EN, MESSAGES, RU, SETTINGS, TEXTS

SEARCH, READ, WRITE, RUSSIAN, ENGLISH, HELP, ABOUT = 2, 13, 14, 16, 17, 18, 19
SERIAL, USB = 0, 1  # tab index = reader model
TAB_LINE = {SERIAL: "KRT_KRN", USB: "USB_USB"}
TAB_TITLES = [b"Zentak-6KRT_M", b"  Zentak-6-USB   "]
WM_KEYDOWN, VK_ESCAPE, WM_SYSCOMMAND, SC_CLOSE = 0x0100, 0x1B, 0x0112, 0xF060
NO_ID = 0xFFFF  # a dialog item with id -1

RED, GREEN, BLUE, CYAN, MAGENTA, YELLOW, WHITE = 0xFF, 0xFF00, 0xFF0000, 0xFFFF00, 0xFF00FF, 0xFFFF, 0xFFFFFF
LAMP_X = 355
LAMP_Y = {SERIAL: (150, 240, 330, 420, 510), USB: (140, 220, 300, 400, 510)}
BARE_POINT = (355, 590)  # below the lamp frame, right of WRITE: the window's own background
DEFAULT_LAMPS = {SERIAL: [RED, RED, MAGENTA, RED, WHITE], USB: [CYAN, WHITE, WHITE, WHITE, WHITE]}
DEFAULT_CHECKS = {SERIAL: {3, 6, 10, 11, 32}, USB: {20, 22, 24, 26, 32}}
RADIO_GROUPS = {SERIAL: [(3, 4, 5), (6, 7), (8, 9, 10), (11, 12), (32, 33, 34)],
                USB: [(20, 21), (22, 23), (24, 25), (26, 27, 28, 29), (32, 33, 34)]}

BOTH = "both"  # the cards group, shown on both pages
# Every child in creation order: class, id, x, y, width, height (None: a closed combo box is
# shorter than its list), English text, Russian text (None: the same), page (None: no page).
CONTROLS = [
    ("ComboBox", 1, 10, 10, 150, None, "", None, None),
    ("Button", 2, 180, 10, 140, 40, "SEARCH", "ПОИСК", None),
    ("Static", 30, 10, 39, 60, 20, "Version: ", "Версия: ", None),
    ("Static", 31, 70, 39, 40, 20, "x.xx", None, None),
    ("SysTabControl32", 0, 10, 60, 310, 500, "", None, None),
    ("Button", 0, 20, 100, 290, 90, " 1) INTERFACES: ", " 1) ИНТЕРФЕЙСЫ: ", SERIAL),
    ("Button", 3, 30, 120, 120, 20, "Touch Memory", None, SERIAL),
    ("Button", 4, 30, 141, 120, 20, "Wiegand 26", None, SERIAL),
    ("Button", 5, 30, 162, 120, 20, "Wiegand 44", None, SERIAL),
    ("Button", 0, 20, 100, 290, 70, " 1) READER OPERATING MODE: ", " 1) РЕЖИМ РАБОТЫ СЧИТЫВАТЕЛЯ: ", USB),
    ("Button", 20, 30, 120, 95, 20, "WINDOWS", None, USB),
    ("Button", 21, 30, 141, 180, 20, "Windows, Linux, MacOS", None, USB),
    ("Button", 0, 20, 200, 290, 70, " 2) INDICATION CONTROL: ", " 2) УПРАВЛЕНИЕ ИНДИКАЦИЕЙ: ", SERIAL),
    ("Button", 6, 30, 220, 190, 20, "Direct (active '1')", "Прямая (активная '1')", SERIAL),
    ("Button", 7, 30, 241, 190, 20, "Inverse (active '0')", "Инверсная (активный '0')", SERIAL),
    ("Button", 0, 20, 180, 290, 70, " 2) ID CARD OUTPUT FORMAT: ", " 2) ФОРМАТ ВЫВОДА ID КАРТЫ: ", USB),
    ("Button", 22, 30, 200, 120, 20, "HEX or DEC", "HEX или DEC", USB),
    ("Button", 23, 30, 221, 120, 20, "Touch Memory", None, USB),
    ("Button", 0, 20, 280, 290, 90, " 3) INDICATION IN STANDBY MODE: ", " 3) ИНДИКАЦИЯ В ДЕЖУР. РЕЖИМЕ: ", SERIAL),
    ("Button", 8, 30, 300, 120, 20, "Dynamic", "Динамическая", SERIAL),
    ("Button", 9, 30, 321, 120, 20, "Static", "Статическая", SERIAL),
    ("Button", 10, 30, 342, 60, 20, "Off", "Выкл.", SERIAL),
    ("Button", 0, 20, 260, 290, 70, " 3) ID CARD OUTPUT TYPE: ", " 3) ТИП ВЫВОДА ID КАРТЫ: ", USB),
    ("Button", 24, 30, 280, 70, 20, "HEX", None, USB),
    ("Button", 25, 30, 301, 70, 20, "DEC", None, USB),
    ("Button", 0, 20, 380, 290, 70, " 4) TOUCH BUTTON POLL: ", " 4) ОПРОС СЕНСОРНОЙ КНОПКИ: ", SERIAL),
    ("Button", 11, 30, 400, 60, 20, "On", "Вкл.", SERIAL),
    ("Button", 12, 30, 421, 60, 20, "Off", "Выкл.", SERIAL),
    ("Button", 0, 20, 340, 290, 110, " 4) NUMBER OF BYTE ID CARD: ", " 4) КОЛИЧЕСТВО БАЙТ ID КАРТЫ: ", USB),
    ("Button", 26, 30, 360, 60, 20, "5", None, USB),
    ("Button", 27, 30, 381, 60, 20, "4", None, USB),
    ("Button", 28, 30, 402, 60, 20, "3", None, USB),
    ("Button", 29, 30, 423, 60, 20, "2", None, USB),
    ("Button", 0, 20, 460, 290, 90, " 5) CARD FOR READ: ", " 5) ЧИТАТЬ КАРТЫ: ", BOTH),
    ("Button", 32, 30, 480, 240, 20, "HID, EM-Marine + MIFARE, Pay", None, BOTH),
    ("Button", 33, 30, 501, 120, 20, "HID, EM-Marine", None, BOTH),
    ("Button", 34, 30, 522, 120, 20, "MIFARE, Pay", None, BOTH),
    ("Button", 13, 10, 570, 140, 40, "READ", "СЧИТАТЬ", None),
    ("Button", 14, 180, 570, 140, 40, "WRITE", "ЗАПИСАТЬ", None),
    ("Button", 0, 330, 60, 50, 500, "Indic.", "Инд.", None),
]


def texts(english, russian):
    return {EN: english.encode("cp1251"), RU: russian.encode("cp1251")}


SEARCH_TITLE = {SERIAL: texts("Search for Zentak-6KRT_6KRN reader", "Поиск считывателя Zentak-6KRT_6KRN"),
                USB: texts("Search for Zentak-6-USB reader", "Поиск считывателя Zentak-6-USB")}
ABOUT_CAPTION = texts("About...", "О программе...")
ABOUT_TEXT = texts("Reader configurator:\n\rMivorZentak-6.\n\n\rVersion:   1.01 (x64)\n\n\r",
                   "Конфигуратор считывателя:\n\rMivorZentak-6.\n\n\rВерсия:   1.01 (x64)\n\n\r")
HELP_MISSING = texts("File not found!\n\rCheck for the presence of the help file (MivorZentak-6 ver_1_01.pdf).",
                     "Файл не найден!\n\rПроверьте наличие файла справки (MivorZentak-6 ver_1_01.pdf).")
HELP_FOLDER = texts("Open the help folder where the application is installed.\n\rDefault: C:\\MivorZentak-6 v.x.x\\help",
                    "Откройте папку help, где установлено приложение.\n\rПо умолчанию: C:\\MivorZentak-6 v.x.x\\help")


# ---- helpers ---------------------------------------------------------------------------------------

def start(env, name, language, tab):
    app = env.start_app(env.new_workdir(name), SETTINGS[(language, TAB_LINE[tab])])
    app.finish_startup_search()
    return app


def expect(probe, wanted, what, timeout=2.0):
    """Polls probe() until it gives wanted; fails with what it last gave."""
    deadline = time.monotonic() + timeout
    while (seen := probe()) != wanted and time.monotonic() < deadline:
        time.sleep(0.05)
    assert seen == wanted, f"{what}: expected {wanted}, seen {seen}"


def checked_radios(app, tab, children=None):
    radios = {cid for group in RADIO_GROUPS[tab] for cid in group}
    return {c["id"] for c in children or app.children() if c["id"] in radios and c["check"]}


def check_window(app, language, tab, checked):
    """Every child in its place with its text, the page of the tab shown, the radio buttons of
    that page checked as given and enabled as they should be; title and tab items."""
    assert app.title() == TEXTS[language]["title"], app.title()
    client = app.info()["client"]
    children = app.children()
    assert len(children) == len(CONTROLS), f"{len(children)} children"
    seen, wanted = [], []
    for c, (cls, cid, x, y, w, h, english, russian, page) in zip(children, CONTROLS):
        left, top, right, bottom = c["rect"]
        visible = page in (None, BOTH, tab)
        greyed = (page == BOTH and tab == SERIAL) or (cid in (24, 25) and 23 in checked)
        text = (russian if language == RU and russian is not None else english).encode("cp1251")
        wanted.append((cls, cid, x, y, w, h, text, visible, not greyed if visible else None))
        seen.append((c["class"], c["id"], left - client[0], top - client[1], right - left,
                     None if h is None else bottom - top, c["text"], c["visible"], c["enabled"] if visible else None))
    assert seen == wanted, [f"seen {s}, expected {w}" for s, w in zip(seen, wanted) if s != w]
    assert checked_radios(app, tab, children) == checked, checked_radios(app, tab, children)
    tab_control = next(c["hwnd"] for c in children if c["class"] == "SysTabControl32")
    tabs = app.env.driver.tabs(tab_control)
    assert [item["text"] for item in tabs["items"]] == TAB_TITLES and tabs["selected"] == tab, tabs


def lamps(app, tab):
    """The shown page's five lamps, then the other page's lamp places 2 to 4 (which no shown lamp
    covers), read at their centres."""
    points = [(LAMP_X, y) for y in LAMP_Y[tab]] + [(LAMP_X, y) for y in LAMP_Y[1 - tab][1:4]]
    return [app.env.driver.pixel(app.hwnd, x, y) for x, y in points]


def check_lamps(app, tab, colours):
    bare = app.env.driver.pixel(app.hwnd, *BARE_POINT)
    assert bare not in (RED, GREEN, BLUE, CYAN, MAGENTA, YELLOW, WHITE), hex(bare)
    expect(lambda: lamps(app, tab), list(colours) + [bare] * 3, "lamps")


def click_radios(app, tab, clicks, colours, checked):
    """Clicks the radio buttons of clicks, each an id or (id, lamp number, new colour). After each
    click its group holds only it and the lamps show their colours; a click that changes no lamp
    must not change one a moment later either. Returns the colours and checked ids at the end."""
    colours, checked = list(colours), set(checked)
    buttons = {c["id"]: c["hwnd"] for c in app.children() if c["id"]}
    for click in clicks:
        cid, lamp, colour = click if isinstance(click, tuple) else (click, None, None)
        app.env.driver.click(buttons[cid])
        checked -= set(next(group for group in RADIO_GROUPS[tab] if cid in group))
        checked.add(cid)
        if lamp:
            colours[lamp - 1] = colour
        expect(lambda: (checked_radios(app, tab), lamps(app, tab)[:5]), (checked, colours), f"after a click on {cid}")
        if not lamp:
            time.sleep(0.15)
            assert lamps(app, tab)[:5] == colours, f"a click on {cid} changed a lamp: {lamps(app, tab)[:5]}"
    return colours, checked


def progress_windows(app):
    return [w for w in app.env.driver.windows(cls="msctls_progress32") if w["owner"] == app.hwnd]


def wait_progress(app, title):
    """The one progress window of a running operation, with that title."""
    windows = wait_until(lambda: progress_windows(app), 3, "a progress window")
    assert [w["text"] for w in windows] == [title], [w["text"] for w in windows]
    return windows[0]


def change_tab(app, tab, language):
    """A user's click on the tab; the search it starts shows its progress and ends."""
    tab_control = next(c["hwnd"] for c in app.children() if c["class"] == "SysTabControl32")
    left, top, right, bottom = app.env.driver.tabs(tab_control)["items"][tab]["rect"]
    app.env.driver.left_click(tab_control, (left + right) // 2, (top + bottom) // 2)
    wait_progress(app, SEARCH_TITLE[tab][language])
    app.dismiss_boxes()


def switch_language(app, language):
    app.command(ENGLISH if language == EN else RUSSIAN)
    wait_until(lambda: app.title() == TEXTS[language]["title"], 5, f"the title in {language}")


def shoot(app, name):
    app.env.screenshot(name, app.info()["rect"])


def checked_language(app):
    language_menu = app.menu()[1]["items"][0]["items"]
    return [item["id"] for item in language_menu if item["checked"]]


# ---- scenarios -----------------------------------------------------------------------------------

def test_serial_page_in_english_and_its_lamps_follow_the_radio_buttons(env):
    app = start(env, "serial-en", EN, SERIAL)
    check_window(app, EN, SERIAL, DEFAULT_CHECKS[SERIAL])
    check_lamps(app, SERIAL, DEFAULT_LAMPS[SERIAL])
    shoot(app, "window-en-serial")
    click_radios(app, SERIAL, [(4, 1, GREEN), (5, 1, CYAN), (3, 1, RED), (7, 2, BLUE), (6, 2, RED), (8, 3, RED),
                               (9, 3, GREEN), (10, 3, MAGENTA), (12, 4, YELLOW), (11, 4, RED)],
                 DEFAULT_LAMPS[SERIAL], DEFAULT_CHECKS[SERIAL])


def test_usb_page_in_russian_and_tab_changes_return_the_defaults(env):
    app = start(env, "usb-ru", RU, USB)
    check_window(app, RU, USB, DEFAULT_CHECKS[USB])
    check_lamps(app, USB, DEFAULT_LAMPS[USB])
    shoot(app, "window-ru-usb")
    colours, checked = click_radios(app, USB, [
        (21, 1, MAGENTA), (20, 1, CYAN), 25, 24, 27, 28, 29, 33, 34, 23], DEFAULT_LAMPS[USB], DEFAULT_CHECKS[USB])
    check_window(app, RU, USB, checked)  # HEX and DEC greyed out
    checked = click_radios(app, USB, [22, 25, (21, 1, MAGENTA), 23], colours, checked)[1]
    check_window(app, RU, USB, checked)

    change_tab(app, SERIAL, RU)
    check_window(app, RU, SERIAL, DEFAULT_CHECKS[SERIAL])
    check_lamps(app, SERIAL, DEFAULT_LAMPS[SERIAL])
    assert app.settings_path.read_bytes() == SETTINGS[(RU, "KRT_KRN")]
    shoot(app, "window-ru-serial")
    click_radios(app, SERIAL, [(4, 1, GREEN), (12, 4, YELLOW)], DEFAULT_LAMPS[SERIAL], DEFAULT_CHECKS[SERIAL])

    change_tab(app, USB, RU)
    check_window(app, RU, USB, DEFAULT_CHECKS[USB])  # HEX and DEC enabled again
    check_lamps(app, USB, DEFAULT_LAMPS[USB])
    assert app.settings_path.read_bytes() == SETTINGS[(RU, "USB_USB")]


def test_language_switch_retexts_both_pages_and_keeps_the_settings_shown(env):
    app = start(env, "language", RU, SERIAL)
    colours, checked = click_radios(app, SERIAL, [(5, 1, CYAN), (7, 2, BLUE), (9, 3, GREEN), (12, 4, YELLOW)],
                                    DEFAULT_LAMPS[SERIAL], DEFAULT_CHECKS[SERIAL])
    switch_language(app, EN)
    check_window(app, EN, SERIAL, checked)  # the hidden page in English too
    check_lamps(app, SERIAL, colours)
    assert checked_language(app) == [ENGLISH]
    assert app.settings_path.read_bytes() == SETTINGS[(EN, "KRT_KRN")]

    change_tab(app, USB, EN)
    check_window(app, EN, USB, DEFAULT_CHECKS[USB])
    shoot(app, "window-en-usb")
    colours, checked = click_radios(app, USB, [(21, 1, MAGENTA), 23], DEFAULT_LAMPS[USB], DEFAULT_CHECKS[USB])
    switch_language(app, RU)
    check_window(app, RU, USB, checked)
    check_lamps(app, USB, colours)
    assert checked_language(app) == [RUSSIAN]
    assert app.settings_path.read_bytes() == SETTINGS[(RU, "USB_USB")]
    assert app.boxes() == []


def test_about_box_in_both_languages_closes_by_ok_esc_and_close_box(env):
    app = start(env, "about", EN, SERIAL)

    def about_box(language):
        app.command(ABOUT)
        box = app.wait_box()  # a dialog owned by the main window
        assert box["caption"] == ABOUT_CAPTION[language], box["caption"]
        assert box["text"].startswith(ABOUT_TEXT[language]), box["text"]
        assert box["icon"]["kind"] == "2", box["icon"]
        assert [(b["id"], b["text"]) for b in box["buttons"]] == [(NO_ID, b""), (1, b"OK")], box["buttons"]
        assert not app.info()["enabled"], "the About box is not modal"
        return box

    def closed(how):
        wait_until(lambda: not app.boxes() and app.info()["enabled"], 5, f"the About box to close by {how}")

    env.driver.press_ok(about_box(EN))
    closed("OK")
    env.driver.post(about_box(EN)["hwnd"], WM_KEYDOWN, VK_ESCAPE)
    closed("Esc")
    env.driver.post(about_box(EN)["hwnd"], WM_SYSCOMMAND, SC_CLOSE)
    closed("the close box")
    switch_language(app, RU)
    env.driver.press_ok(about_box(RU))
    closed("OK")


def test_help_without_its_folder_reports_the_missing_file_in_both_languages(env):
    app = start(env, "help", RU, SERIAL)

    def help_boxes(language):
        app.command(HELP)
        for text, kind in ((HELP_MISSING[language], "5"), (HELP_FOLDER[language], "6")):  # the second after OK
            box = app.wait_box()
            assert (box["caption"], box["text"], box["icon"]["kind"]) == (TEXTS[language]["caption"], text, kind), box
            env.driver.press_ok(box)
            wait_until(lambda: box["hwnd"] not in [b["hwnd"] for b in app.boxes()], 5, "the box to close")
        wait_until(lambda: not app.boxes() and app.info()["enabled"], 5, "the help boxes to end")

    help_boxes(RU)
    switch_language(app, EN)
    help_boxes(EN)


def test_search_read_and_write_without_a_port_show_the_search_progress(env):
    env.remove_system_ports()  # so that every search ends the same way
    app = start(env, "progress", RU, SERIAL)
    buttons = {c["id"]: c["hwnd"] for c in app.children() if c["id"] in (SEARCH, READ, WRITE)}
    x, y = SCREEN_SIZE[0] // 2 - 148, SCREEN_SIZE[1] // 2 - 25
    for button in (SEARCH, READ, WRITE):
        env.driver.click(buttons[button])
        progress = wait_progress(app, SEARCH_TITLE[SERIAL][RU])
        # The window is disabled right after the progress window is made, in the same handler.
        wait_until(lambda: not app.info()["enabled"], 0.5, f"the main window to be disabled while {button} runs")
        assert progress["rect"] == [x, y, x + 291, y + 50], progress["rect"]
        boxes = app.dismiss_boxes()
        assert [box["text"] for box in boxes] == [MESSAGES[RU]["no_ports"]], boxes
        assert progress_windows(app) == [] and app.info()["enabled"]
