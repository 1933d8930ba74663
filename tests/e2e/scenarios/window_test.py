"""The main window as a user sees it: the tab pages, the lamps' pixels after radio clicks, the search
progress window, the language switch, the About box and Help without its file."""
import re
import time

from harness.env import PRODUCT, wait_until
from harness.texts import EN, MESSAGES, RU, SETTINGS, TEXTS
from harness.system_ports import Ports

SEARCH, READ, WRITE, RUSSIAN, ENGLISH, HELP, ABOUT = 2, 13, 14, 16, 17, 18, 19
SERIAL, USB = 0, 1  # tab index = reader model
BS_GROUPBOX, BS_AUTORADIOBUTTON = 7, 9
RADIO_GROUPS = {SERIAL: [(3, 4, 5), (6, 7), (8, 9, 10), (11, 12), (32, 33, 34)],
                USB: [(20, 21), (22, 23), (24, 25), (26, 27, 28, 29), (32, 33, 34)]}
RED, GREEN, BLUE, CYAN, MAGENTA, YELLOW, WHITE = 0xFF, 0xFF00, 0xFF0000, 0xFFFF00, 0xFF00FF, 0xFFFF, 0xFFFFFF
LAMPS = {SERIAL: [(355, y) for y in (150, 240, 330, 420, 510)], USB: [(355, y) for y in (140, 220, 300, 400, 510)]}
ABOUT_CAPTION = {EN: "About...".encode(), RU: "О программе...".encode("cp1251")}
WM_KEYDOWN, VK_ESCAPE, WM_SYSCOMMAND, SC_CLOSE = 0x0100, 0x1B, 0x0112, 0xF060


def expect(probe, wanted, what):
    """Polls probe() for up to 3 s until it gives wanted (a click is handled, a lamp repainted)."""
    deadline = time.monotonic() + 3
    while (seen := probe()) != wanted and time.monotonic() < deadline:
        time.sleep(0.05)
    assert seen == wanted, f"{what}: seen {seen}, expected {wanted}"


def buttons(app):
    """The shown page's group titles in order, and its radio buttons {id: (checked, enabled)}."""
    shown = [c for c in app.children() if c["visible"] and c["class"] == "Button"]
    titles = [c["text"].decode("cp1251") for c in shown if c["style"] & 0xF == BS_GROUPBOX]
    radios = {c["id"]: (c["check"], c["enabled"]) for c in shown if c["style"] & 0xF == BS_AUTORADIOBUTTON}
    return titles, radios


def check_page(app, tab, language):
    """The page shows its five numbered groups and the lamp frame titled in the language, its radio
    buttons only, one checked in each group, and the cards group greyed on the first page."""
    titles, radios = buttons(app)
    assert len(titles) == 6 and [t[:3] for t in titles[:5]] == [" 1)", " 2)", " 3)", " 4)", " 5)"], titles
    assert all(bool(re.search("[А-яЁё]", t)) == (language == RU) for t in titles), titles
    assert sorted(radios) == sorted(sum(RADIO_GROUPS[tab], ())), radios
    assert all(sum(radios[r][0] for r in group) == 1 for group in RADIO_GROUPS[tab]), radios
    assert all(radios[r][1] == (tab == USB) for r in (32, 33, 34)), radios


def expect_lamps(app, tab, colours):
    expect(lambda: [app.env.driver.pixel(app.hwnd, x, y) for x, y in LAMPS[tab]], colours, "the lamps")


def click(app, tab, radio):
    """A user's click on a radio button: it alone of its group is checked then."""
    app.env.driver.click(next(c["hwnd"] for c in app.children() if c["id"] == radio))
    group = next(g for g in RADIO_GROUPS[tab] if radio in g)
    expect(lambda: [buttons(app)[1][r][0] for r in group], [int(r == radio) for r in group], f"a click on {radio}")


def progress_windows(app):
    return [w for w in app.env.driver.windows(cls="msctls_progress32") if w["owner"] == app.hwnd]


def click_tab(app, tab):
    """A user's click on the tab; the search it starts shows its progress window. Returns its boxes."""
    control = next(c["hwnd"] for c in app.children() if c["class"] == "SysTabControl32")
    left, top, right, bottom = app.env.driver.tabs(control)["items"][tab]["rect"]
    app.env.driver.left_click(control, (left + right) // 2, (top + bottom) // 2)
    wait_until(lambda: progress_windows(app), 3, "the search's progress window")
    return app.dismiss_boxes()


def check_language(app, language, tab):
    wait_until(lambda: app.title() == TEXTS[language]["title"], 5, f"the title in {language}")
    bar = app.menu()
    assert [item["text"] for item in bar] == [TEXTS[language][key] for key in ("file", "tools", "help")], bar
    languages = bar[1]["items"][0]["items"]
    assert [item["id"] for item in languages if item["checked"]] == [RUSSIAN if language == RU else ENGLISH]
    check_page(app, tab, language)


def check_about_and_help(app, language):
    """The About box in the language: modal, with icon 2, closed by OK, Esc and its close box. Help
    without its file: an error that names the file, then a hint."""
    driver = app.env.driver
    for close in (driver.press_ok, lambda box: driver.post(box["hwnd"], WM_KEYDOWN, VK_ESCAPE),
                  lambda box: driver.post(box["hwnd"], WM_SYSCOMMAND, SC_CLOSE)):
        app.command(ABOUT)
        box = app.wait_box()
        assert (box["caption"], box["icon"]["kind"]) == (ABOUT_CAPTION[language], "2"), box
        assert not app.info()["enabled"], "the About box is not modal"
        close(box)
        wait_until(lambda: not app.boxes() and app.info()["enabled"], 5, "the About box to close")

    app.command(HELP)
    wait_until(app.boxes, 5, "the help's boxes")
    boxes = app.dismiss_boxes()
    assert [(box["caption"], box["icon"]["kind"]) for box in boxes] == [(TEXTS[language]["caption"], "5"),
                                                                         (TEXTS[language]["caption"], "6")], boxes
    assert PRODUCT["PDF_NAME"].encode() in boxes[0]["text"], boxes[0]["text"]


def test_pages_lamps_radio_clicks_and_the_search_progress(env):
    no_ports = [(MESSAGES[EN]["no_ports"], "4")]  # every search ends so, with the warning icon
    with Ports(env):
        app = env.start_app(env.new_workdir("pages"), SETTINGS[(EN, "KRT_KRN")])
        app.finish_startup_search()
        check_page(app, SERIAL, EN)
        colours = [RED, RED, MAGENTA, RED, WHITE]
        expect_lamps(app, SERIAL, colours)
        for radio, lamp, colour in ((4, 0, GREEN), (7, 1, BLUE), (9, 2, GREEN), (12, 3, YELLOW)):
            click(app, SERIAL, radio)
            colours[lamp] = colour
            expect_lamps(app, SERIAL, colours)

        assert [(box["text"], box["icon"]["kind"]) for box in click_tab(app, USB)] == no_ports
        check_page(app, USB, EN)
        expect_lamps(app, USB, [CYAN, WHITE, WHITE, WHITE, WHITE])
        click(app, USB, 21)
        expect_lamps(app, USB, [MAGENTA, WHITE, WHITE, WHITE, WHITE])
        for radio in (23, 22):  # the Touch Memory format greys HEX and DEC, HEX or DEC gives them back
            click(app, USB, radio)
            expect(lambda: [buttons(app)[1][r][1] for r in (24, 25)], [radio == 22] * 2, f"HEX and DEC after {radio}")
        assert app.settings_path.read_bytes() == SETTINGS[(EN, "USB_USB")]

        # Without a port, READ and WRITE search as SEARCH does; the window is disabled meanwhile.
        controls = {c["id"]: c["hwnd"] for c in app.children()}
        for button in (SEARCH, READ, WRITE):
            env.driver.click(controls[button])
            wait_until(lambda: progress_windows(app) and not app.info()["enabled"], 3, f"{button}'s search")
            assert [(box["text"], box["icon"]["kind"]) for box in app.dismiss_boxes()] == no_ports
            assert progress_windows(app) == [] and app.info()["enabled"]


def test_language_switch_retexts_window_and_menu_and_keeps_the_settings_shown(env):
    app = env.start_app(env.new_workdir("language"), SETTINGS[(RU, "KRT_KRN")])
    app.finish_startup_search()
    check_language(app, RU, SERIAL)
    check_about_and_help(app, RU)
    click(app, SERIAL, 5)
    expect_lamps(app, SERIAL, [CYAN, RED, MAGENTA, RED, WHITE])

    app.command(ENGLISH)
    check_language(app, EN, SERIAL)
    assert buttons(app)[1][5][0] == 1
    expect_lamps(app, SERIAL, [CYAN, RED, MAGENTA, RED, WHITE])
    assert app.settings_path.read_bytes() == SETTINGS[(EN, "KRT_KRN")]
    click_tab(app, USB)
    check_page(app, USB, EN)  # the page that was hidden has its English texts too
    check_about_and_help(app, EN)

    app.command(RUSSIAN)
    check_language(app, RU, USB)
    assert app.settings_path.read_bytes() == SETTINGS[(RU, "USB_USB")]
