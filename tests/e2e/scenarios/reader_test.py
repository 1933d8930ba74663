"""Finding, reading and writing a reader as a user meets it: the start-up search on both tabs, READ
and WRITE with the bytes they put on the line, every kind of reply, a port picked from the list,
SEARCH, readers unplugged and plugged back in, and Quit with a reader connected.

Simulated readers sit on virtual COM ports (sim_reader.py); only the ports a scenario plugs in are
in the system's port table."""
import time

from harness.driver import WM_COMMAND
from harness.env import wait_until
from harness.texts import EN, MESSAGES, RU, SETTINGS, TEXTS
from sim_reader import SimReader

PORT_LIST, SEARCH, READ, WRITE, QUIT, VERSION = 1, 2, 13, 14, 15, 31
CB_SETCURSEL, CBN_SELCHANGE, WM_RBUTTONUP = 0x014E, 1, 0x0205
SUCCESS, WARNING, ERROR, HINT, NO_RESPONSE = "3", "4", "5", "6", "7"
READ_SERIAL, READ_USB = b"AT+READS_KRX", b"AT+READS_USB"
RED, GREEN, BLUE, CYAN, MAGENTA, YELLOW = 0xFF, 0xFF00, 0xFF0000, 0xFFFF00, 0xFF00FF, 0xFFFF
LAMP_CENTRES = {"KRT_KRN": [(355, 150), (355, 240), (355, 330), (355, 420)], "USB_USB": [(355, 140)]}
BARE_POINT = (350, 590)  # the window's own surface, below the lamp frame: where a right click opens the menu


class Ports:
    """The system's COM ports for one scenario: the ones plugged in here and no others. At the end
    whatever is still plugged in is taken away and the system's own ports come back."""

    def __init__(self, env):
        self.env, self.devices = env, {}
        self.system_ports = env.remove_system_ports()

    def plug(self, n, device, usb=False):
        """COMn on a SimReader or a device path; usb: as the USB reader's port."""
        path = device.slave_path if isinstance(device, SimReader) else device
        (self.env.plug_usb_reader if usb else self.env.add_com_port)(n, path)
        self.devices[n] = (device, usb)
        return device

    def unplug(self, n):
        device, usb = self.devices.pop(n)
        (self.env.unplug_usb_reader if usb else self.env.remove_com_port)(n)
        if isinstance(device, SimReader):
            device.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for n in list(self.devices):
            self.unplug(n)
        self.env.restore_system_ports(self.system_ports)


def silent():
    reader = SimReader(model=0)
    reader.set_mode("silent")
    return reader


def start(env, name, language, tab="KRT_KRN"):
    return env.start_app(env.new_workdir(name), SETTINGS[(language, tab)])


def expect_boxes(app, language, wanted, action=None, seen_first=()):
    """Runs action, then lets the program work until it is idle again, pressing OK on each message
    box; the boxes, after those of seen_first, must be wanted [(text, icon kind)], each with the
    language's caption."""
    if action:
        action()
    wait_until(lambda: app.boxes() or not app.info()["enabled"], 5, "the program to start working")
    boxes = app.dismiss_boxes()
    seen = list(seen_first) + [(box["text"], box["icon"]["kind"]) for box in boxes]
    assert seen == wanted, f"boxes: seen {seen}, expected {wanted}"
    assert all(box["caption"] == TEXTS[language]["caption"] for box in boxes), [box["caption"] for box in boxes]


def first_box_after(app, action):
    """Seconds from action to the first message box."""
    began = time.monotonic()
    action()
    wait_until(app.boxes, 10, "a message box", interval=0.005)
    return time.monotonic() - began


def found(language, n, usb=False):
    return MESSAGES[language]["found_usb" if usb else "found_serial"] + f"\n\r->[COM{n}]".encode()


def controls(app):
    return {c["id"]: c for c in app.children() if c["id"]}


def state(app):
    """What the window shows of the connection: version field, port list, checked radio buttons."""
    by_id = controls(app)
    combo = app.env.driver.combo(by_id[PORT_LIST]["hwnd"])
    return {"version": by_id[VERSION]["text"], "ports": combo["items"], "selected": combo["selected"],
            "list_enabled": by_id[PORT_LIST]["enabled"],
            "checked": {id for id, c in by_id.items() if c["visible"] and c.get("check") == 1}}


def check_state(app, **wanted):
    seen = {key: value for key, value in state(app).items() if key in wanted}
    assert seen == wanted, f"seen {seen}, expected {wanted}"


def lamps(app, tab):
    return [app.env.driver.pixel(app.hwnd, x, y) for x, y in LAMP_CENTRES[tab]]


def click(app, *ids):
    buttons = controls(app)
    for id in ids:
        app.env.driver.click(buttons[id]["hwnd"])
    wait_until(lambda: all(controls(app)[id]["check"] for id in ids), 3, f"the radio buttons {ids} checked")


def choose_port(app, index):
    """The user picks an entry of the port list (setting the selection from outside notifies no one)."""
    combo = controls(app)[PORT_LIST]["hwnd"]
    app.env.driver.send(combo, CB_SETCURSEL, index)
    app.env.driver.post(app.hwnd, WM_COMMAND, CBN_SELCHANGE << 16 | PORT_LIST, combo)


def expect_exchange(app, language, reader, action, boxes, sent):
    """The action shows those boxes and sends reader exactly those bytes."""
    reader.clear()
    expect_boxes(app, language, boxes, action)
    assert reader.received_bytes() == sent, f"sent {reader.received_bytes()}, expected {sent}"


def expect_closed(env, reader):
    """The program lets go of the reader's port (at once, or within a moment)."""
    wait_until(lambda: not env.holders(reader.slave_path), 2, f"the port on {reader.slave_path} to be closed")


def shoot_with_box(app, name):
    """The window with the message box in front of it."""
    rects = [app.info()["rect"]] + [app.env.driver.info(box["hwnd"])["rect"] for box in app.boxes()]
    app.env.screenshot(name, [min(r[0] for r in rects), min(r[1] for r in rects),
                              max(r[2] for r in rects), max(r[3] for r in rects)])


def test_start_up_search_tries_the_ports_in_order_until_the_reader_answers(env):
    m = MESSAGES[RU]
    with Ports(env) as ports:
        quiet = {n: ports.plug(n, silent()) for n in (10, 3, 9)}
        reader = ports.plug(12, SimReader(model=0, settings=b"W440AF"))
        app = start(env, "search-found", RU)
        shown_at = time.monotonic()
        wait_until(app.boxes, 10, "the first box", interval=0.005)
        to_first_box = time.monotonic() - shown_at
        first = app.wait_box()
        app.env.driver.press_ok(first)
        wait_until(lambda: [box for box in app.boxes() if box["hwnd"] != first["hwnd"]], 5, "the next box", 0.005)
        to_found_box = time.monotonic() - shown_at
        app.wait_box()
        shoot_with_box(app, "found-serial")
        expect_boxes(app, RU, [(m["read"], SUCCESS), (found(RU, 12), SUCCESS)],
                     seen_first=[(first["text"], first["icon"]["kind"])])

        for n, port in quiet.items():
            assert port.received_bytes() == READ_SERIAL, (n, port.received_bytes())
            assert not env.holders(port.slave_path), f"COM{n} is still open"
        assert reader.received_bytes() == READ_SERIAL
        assert env.holders(reader.slave_path), "the reader's port is not open"
        check_state(app, version=b"1.00", ports=[b"COM3", b"COM9", b"COM10", b"COM12"], selected=3,
                    list_enabled=False, checked={5, 7, 10, 12, 32})
        assert lamps(app, "KRT_KRN") == [CYAN, BLUE, MAGENTA, YELLOW]
    print(f"    start-up search, 3 silent ports before the reader: window shown -> 'Settings read!' "
          f"{to_first_box * 1000:.0f} ms, -> found box (after OK) {to_found_box * 1000:.0f} ms; "
          f"the program's fixed waits 100 x 10 ms + 4 x (100 ms + 60 ms) = 1640 ms")


def test_search_without_an_answering_reader_and_a_port_that_cannot_be_opened(env):
    m = MESSAGES[EN]
    with Ports(env) as ports:
        quiet = ports.plug(3, silent())
        rejecting = ports.plug(4, SimReader(model=0))
        rejecting.set_mode("unknown")
        garbled = ports.plug(5, SimReader(model=0))
        garbled.set_mode("garbage")
        old_firmware = ports.plug(6, SimReader(model=0, version=b"0.99"))
        ports.plug(7, env.new_workdir("missing-device") / "ttyGone")
        app = start(env, "search-not-found", EN)
        # Only the reader with a payload is reported, and it is passed over for its firmware.
        expect_boxes(app, EN, [(m["read"], SUCCESS), (m["firmware"], ERROR),
                               (m["not_found_serial"], ERROR), (m["hint"], HINT)])
        for port in (quiet, rejecting, garbled, old_firmware):
            assert port.received_bytes() == READ_SERIAL, port.received_bytes()
            assert not env.holders(port.slave_path), f"{port.slave_path} is still open"
        check_state(app, version=b"x.xx", ports=[b"COM3", b"COM4", b"COM5", b"COM6", b"COM7"], selected=0,
                    list_enabled=True)

        expect_boxes(app, EN, [(m["error_opening"] + b" [COM7]!", ERROR)], lambda: choose_port(app, 4))
        check_state(app, ports=[b"COM3", b"COM4", b"COM5", b"COM6", b"COM7"], selected=0, list_enabled=True)


def test_no_ports_at_first_then_a_plugged_in_reader_is_searched_by_itself(env):
    m = MESSAGES[RU]
    with Ports(env) as ports:
        app = start(env, "no-ports", RU)
        expect_boxes(app, RU, [(m["no_ports"], WARNING)])
        check_state(app, ports=[b""], selected=0, list_enabled=True, version=b"x.xx")
        expect_boxes(app, RU, [(m["no_ports"], WARNING)], lambda: choose_port(app, 0))

        reader = ports.plug(5, SimReader(model=0))
        expect_boxes(app, RU, [(m["read"], SUCCESS), (found(RU, 5), SUCCESS)], app.device_change)
        assert reader.received_bytes() == READ_SERIAL
        check_state(app, ports=[b"COM5"], selected=0, list_enabled=False, version=b"1.00")


def test_read_and_write_on_the_first_tab_with_every_kind_of_reply(env):
    m = MESSAGES[EN]
    with Ports(env) as ports:
        reader = ports.plug(5, SimReader(model=0))
        app = start(env, "read-write", EN)
        expect_boxes(app, EN, [(m["read"], SUCCESS), (found(EN, 5), SUCCESS)])

        read_times = []
        for _ in range(5):
            reader.clear()
            read_times.append(first_box_after(app, lambda: app.command(READ)))
            expect_boxes(app, EN, [(m["read"], SUCCESS)])
            assert reader.received_bytes() == READ_SERIAL
        click(app, 4, 7)  # "Wiegand 26", "Inverse (active '0')"
        expect_exchange(app, EN, reader, lambda: app.command(WRITE), [(m["recorded"], SUCCESS)], b"AT+W260AO")
        expect_boxes(app, EN, [(m["read"], SUCCESS)], lambda: app.command(READ))
        check_state(app, version=b"1.00", checked={4, 7, 10, 11, 32}, list_enabled=False)
        assert lamps(app, "KRT_KRN") == [GREEN, BLUE, MAGENTA, RED]

        # A bad reply from the port the search settled on ends the connection.
        reader.set_mode("garbage")
        expect_exchange(app, EN, reader, lambda: app.command(READ),
                        [(m["unrecognized"], ERROR), (m["no_response"], NO_RESPONSE)], READ_SERIAL)
        expect_closed(env, reader)
        check_state(app, version=b"x.xx", checked={4, 7, 10, 11, 32}, list_enabled=True, ports=[b"COM5"])

        # So does one from a port the user picked.
        for mode, boxes in (("unknown", [(m["invalid_command"], ERROR), (m["no_response"], NO_RESPONSE)]),
                            ("silent", [(m["no_response"], NO_RESPONSE)])):
            reader.set_mode(mode)
            expect_exchange(app, EN, reader, lambda: choose_port(app, 0), boxes, READ_SERIAL)
            expect_closed(env, reader)
            check_state(app, version=b"x.xx", list_enabled=True)

        reader.set_mode("normal")
        expect_exchange(app, EN, reader, lambda: choose_port(app, 0), [(m["read"], SUCCESS)], READ_SERIAL)
        check_state(app, version=b"1.00", list_enabled=False)

        # Unsupported firmware on this tab changes nothing shown and keeps the port: the next READ goes to it.
        reader.set_mode("normal", version=b"2.00", settings=b"W441DF")
        expect_boxes(app, EN, [(m["read"], SUCCESS), (m["firmware"], ERROR)], lambda: app.command(READ))
        assert env.holders(reader.slave_path), "the port was closed"
        check_state(app, version=b"1.00", checked={4, 7, 10, 11, 32}, list_enabled=False)
        reader.set_mode("normal", version=b"1.00")
        expect_exchange(app, EN, reader, lambda: app.command(READ), [(m["read"], SUCCESS)], READ_SERIAL)
        check_state(app, checked={5, 6, 8, 12, 32})

        # SEARCH closes the port before its search begins.
        app.command(SEARCH)
        wait_until(lambda: not env.holders(reader.slave_path) and state(app)["version"] == b"x.xx", 0.9,
                   "the port closed and 'x.xx' while the search waits", interval=0.01)
        expect_boxes(app, EN, [(m["read"], SUCCESS), (found(EN, 5), SUCCESS)])
        assert env.holders(reader.slave_path)
    print("    READ -> 'Settings read!' box: " + ", ".join(f"{t * 1000:.0f}" for t in read_times)
          + " ms; the program's fixed wait 2 x 500 ms + 60 ms read time-out = 1060 ms")


def test_usb_reader_found_written_unplugged_and_plugged_back(env):
    m = MESSAGES[RU]
    with Ports(env) as ports:
        other = ports.plug(3, silent())
        reader = ports.plug(7, SimReader(model=1, settings=b"AHDD3XM"), usb=True)
        app = start(env, "usb", RU, "USB_USB")
        app.wait_box(10)
        shoot_with_box(app, "found-usb")
        expect_boxes(app, RU, [(found(RU, 7, usb=True), SUCCESS), (m["read"], SUCCESS)])
        assert reader.received_bytes() == READ_USB
        check_state(app, version=b"1.00", ports=[b"COM3", b"COM7"], selected=1, list_enabled=False,
                    checked={21, 22, 25, 28, 34})
        assert lamps(app, "USB_USB") == [MAGENTA]

        click(app, 20, 24, 26, 32)  # "WINDOWS", "HEX", "5", "HID, EM-Marine + MIFARE, Pay"
        expect_exchange(app, RU, reader, lambda: app.command(WRITE), [(m["recorded"], SUCCESS)], b"AT+WHDH5EM")

        ports.unplug(7)
        to_message = first_box_after(app, app.device_change)
        expect_boxes(app, RU, [(m["usb_broken"], ERROR)])
        expect_closed(env, reader)
        check_state(app, version=b"x.xx", ports=[b"COM3"], selected=0, list_enabled=True)

        reader = ports.plug(7, SimReader(model=1), usb=True)
        expect_boxes(app, RU, [(found(RU, 7, usb=True), SUCCESS), (m["read"], SUCCESS)], app.device_change)
        assert reader.received_bytes() == READ_USB
        check_state(app, version=b"1.00", ports=[b"COM3", b"COM7"], selected=1, list_enabled=False)
        assert other.received_bytes() == b"", "the USB search wrote to another port"
    print(f"    USB reader unplugged: device change -> broken-connection box {to_message * 1000:.0f} ms "
          f"(the program's waits 2000 ms + 1000 ms)")


def test_usb_reader_missing_and_then_plugged_in_with_unsupported_firmware(env):
    m = MESSAGES[EN]
    with Ports(env) as ports:
        ports.plug(3, silent())
        app = start(env, "usb-missing", EN, "USB_USB")
        expect_boxes(app, EN, [(m["not_found_usb"], ERROR), (m["hint"], HINT)])

        reader = ports.plug(8, SimReader(model=1, version=b"1.01"), usb=True)
        expect_boxes(app, EN, [(found(EN, 8, usb=True), SUCCESS), (m["read"], SUCCESS), (m["firmware"], ERROR)],
                     app.device_change)
        assert reader.received_bytes() == READ_USB
        expect_closed(env, reader)
        check_state(app, version=b"x.xx", ports=[b"COM3", b"COM8"], selected=0, list_enabled=True,
                    checked={20, 22, 24, 26, 32})


def test_serial_port_watch_keeps_a_port_that_stays_and_reports_one_that_goes(env):
    m = MESSAGES[RU]
    with Ports(env) as ports:
        reader = ports.plug(5, SimReader(model=0))
        ports.plug(6, silent())
        app = start(env, "serial-watch", RU)
        expect_boxes(app, RU, [(m["read"], SUCCESS), (found(RU, 5), SUCCESS)])

        # Another device came or went: the port is closed, reopened a second later, and that is all.
        app.device_change()
        time.sleep(4)
        assert app.boxes() == [] and env.holders(reader.slave_path)
        expect_exchange(app, RU, reader, lambda: app.command(READ), [(m["read"], SUCCESS)], READ_SERIAL)

        ports.unplug(5)
        to_message = first_box_after(app, app.device_change)
        expect_boxes(app, RU, [(m["broken"] + b"\n\r(COM5 " + m["disabled"] + b")", ERROR)])
        expect_closed(env, reader)
        check_state(app, version=b"x.xx", ports=[b"COM6"], selected=0, list_enabled=True)
    print(f"    serial reader unplugged: device change -> broken-connection box {to_message * 1000:.0f} ms "
          f"(the program's waits 2000 ms + 1000 ms)")


def test_quit_from_the_file_menu_and_the_right_click_menu_releases_the_port(env):
    def right_click_menu(app):
        app.env.driver.post(app.hwnd, WM_RBUTTONUP, 0, BARE_POINT[1] << 16 | BARE_POINT[0])
        menu = wait_until(lambda: [w for w in env.driver.windows(cls="#32768") if w["visible"]], 3, "the popup menu")
        left, top, right, bottom = menu[0]["rect"]
        env.driver.call("mouse_click", (left + right) // 2, (top + bottom) // 2)  # its only item

    with Ports(env) as ports:
        reader = ports.plug(5, SimReader(model=0))
        for way in (lambda app: app.command(QUIT), right_click_menu):
            app = start(env, "quit-connected", EN)
            expect_boxes(app, EN, [(MESSAGES[EN]["read"], SUCCESS), (found(EN, 5), SUCCESS)])
            assert env.holders(reader.slave_path)
            way(app)
            assert app.wait_exit(10) == 0
            expect_closed(env, reader)
