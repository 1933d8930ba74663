"""A reader in the window, on both tabs: found, read and written, kept over a device change, unplugged and
plugged back in, and a WRITE after its line has gone (the system's error box)."""
import time

from harness.env import wait_until
from harness.texts import EN, MESSAGES, RU, SETTINGS, TEXTS
from sim_reader import SimReader
from harness.system_ports import Ports, silent_reader

PORT_LIST, READ, WRITE, VERSION = 1, 13, 14, 31
SUCCESS, ERROR, HINT = "3", "5", "6"
READ_SERIAL, READ_USB = b"AT+READS_KRX", b"AT+READS_USB"
# 21 (not ready): what Wine reports for a write to a pty whose other end has been closed.
WRITE_ERROR = {EN: "Error [21] when writing to the COM port!", RU: "Ошибка [21] при записи в COM-порт!"}


def expect_boxes(app, language, wanted, action=None):
    """Runs action, then presses OK on each box until the program is idle again: the boxes must be
    wanted, [(text, icon kind)], each with the language's caption."""
    if action:
        action()
    wait_until(lambda: app.boxes() or not app.info()["enabled"], 5, "the program to start working")
    boxes = app.dismiss_boxes()
    assert [(box["text"], box["icon"]["kind"]) for box in boxes] == wanted, boxes
    assert all(box["caption"] == TEXTS[language]["caption"] for box in boxes), boxes


def found(language, n, usb=False):
    return MESSAGES[language]["found_usb" if usb else "found_serial"] + f"\n\r->[COM{n}]".encode()


def shown(app):
    """The version field and the port list's entries."""
    by_id = {c["id"]: c for c in app.children() if c["id"] in (PORT_LIST, VERSION)}
    return by_id[VERSION]["text"], app.env.driver.combo(by_id[PORT_LIST]["hwnd"])["items"]


def expect_write_error(app, language, reader):
    """The reader's line goes away under the open port: WRITE shows the system's error box with the
    error number, and the port is let go."""
    reader.close()
    expect_boxes(app, language, [(WRITE_ERROR[language].encode("cp1251"), "system-error")], lambda: app.command(WRITE))
    wait_until(lambda: not app.env.holders(reader.slave_path), 2, "the port to be closed")
    assert shown(app)[0] == b"x.xx"


def test_serial_reader_found_kept_over_a_device_change_unplugged_and_plugged_back(env):
    m = MESSAGES[RU]
    with Ports(env) as ports:
        quiet = ports.plug(3, silent_reader())
        reader = ports.plug(5, SimReader(model=0))
        app = env.start_app(env.new_workdir("serial"), SETTINGS[(RU, "KRT_KRN")])
        expect_boxes(app, RU, [(m["read"], SUCCESS), (found(RU, 5), SUCCESS)])
        assert quiet.received_bytes() == READ_SERIAL and not env.holders(quiet.slave_path)
        assert reader.received_bytes() == READ_SERIAL and env.holders(reader.slave_path)
        assert shown(app) == (b"1.00", [b"COM3", b"COM5"])

        # Another device came or went: the port is closed, reopened a second later, and that is all.
        app.device_change()
        time.sleep(4)
        assert app.boxes() == [] and env.holders(reader.slave_path)
        reader.clear()
        expect_boxes(app, RU, [(m["read"], SUCCESS)], lambda: app.command(READ))
        assert reader.received_bytes() == READ_SERIAL
        # A firmware this program does not know: nothing shown changes, and the port stays open.
        reader.set_mode("normal", version=b"2.00")
        expect_boxes(app, RU, [(m["read"], SUCCESS), (m["firmware"], ERROR)], lambda: app.command(READ))
        assert shown(app)[0] == b"1.00" and env.holders(reader.slave_path)

        ports.unplug(5)
        expect_boxes(app, RU, [(m["broken"] + b"\n\r(COM5 " + m["disabled"] + b")", ERROR)], app.device_change)
        wait_until(lambda: not env.holders(reader.slave_path), 2, "the port to be closed")
        assert shown(app) == (b"x.xx", [b"COM3"])

        reader = ports.plug(5, SimReader(model=0))
        expect_boxes(app, RU, [(m["read"], SUCCESS), (found(RU, 5), SUCCESS)], app.device_change)
        expect_write_error(app, RU, reader)


def test_usb_reader_plugged_in_written_unplugged_and_plugged_back(env):
    m = MESSAGES[EN]
    with Ports(env) as ports:
        other = ports.plug(3, silent_reader())
        app = env.start_app(env.new_workdir("usb"), SETTINGS[(EN, "USB_USB")])
        expect_boxes(app, EN, [(m["not_found_usb"], ERROR), (m["hint"], HINT)])

        reader = ports.plug(7, SimReader(model=1, settings=b"AHDD3XM"), usb=True)
        expect_boxes(app, EN, [(found(EN, 7, usb=True), SUCCESS), (m["read"], SUCCESS)], app.device_change)
        assert reader.received_bytes() == READ_USB
        assert shown(app) == (b"1.00", [b"COM3", b"COM7"])

        # "WINDOWS", "HEX", "5", "HID, EM-Marine + MIFARE, Pay", clicked as a user clicks them.
        radios = (20, 24, 26, 32)
        for c in app.children():
            if c["id"] in radios:
                env.driver.click(c["hwnd"])
        wait_until(lambda: all(c["check"] for c in app.children() if c["id"] in radios), 3, "the radio buttons checked")
        reader.clear()
        expect_boxes(app, EN, [(m["recorded"], SUCCESS)], lambda: app.command(WRITE))
        assert reader.received_bytes() == b"AT+WHDH5EM"

        ports.unplug(7)
        expect_boxes(app, EN, [(m["usb_broken"], ERROR)], app.device_change)
        wait_until(lambda: not env.holders(reader.slave_path), 2, "the port to be closed")
        assert shown(app) == (b"x.xx", [b"COM3"])

        # Found again, with a firmware this program does not know: the USB reader is let go.
        reader = ports.plug(7, SimReader(model=1, version=b"0.99"), usb=True)
        expect_boxes(app, EN, [(found(EN, 7, usb=True), SUCCESS), (m["read"], SUCCESS), (m["firmware"], ERROR)],
                     app.device_change)
        assert shown(app)[0] == b"x.xx" and not env.holders(reader.slave_path)
        reader.set_mode("normal", version=b"1.00")
        expect_boxes(app, EN, [(found(EN, 7, usb=True), SUCCESS), (m["read"], SUCCESS)], lambda: app.command(READ))
        assert other.received_bytes() == b"", "the USB reader's search wrote to another port"
        expect_write_error(app, EN, reader)
