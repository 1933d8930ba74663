"""A long run of READ and WRITE against one reader: nothing piles up in the program's process and
the port is let go at the end. Apart from reader_test.py because it takes about four minutes."""
import statistics

from harness.env import open_fd_count, wait_until
from harness.texts import EN, MESSAGES
from scenarios.reader_test import (ERROR, NO_RESPONSE, READ, READ_SERIAL, SUCCESS, WRITE, Ports, expect_boxes,
                                   expect_closed, first_box_after, found, start)
from sim_reader import SimReader

CYCLES = 200


def test_reads_and_writes_leave_no_descriptor_behind(env):
    m = MESSAGES[EN]
    with Ports(env) as ports:
        reader = ports.plug(5, SimReader(model=0))
        app = start(env, "soak", EN)
        expect_boxes(app, EN, [(m["read"], SUCCESS), (found(EN, 5), SUCCESS)])
        before = open_fd_count(app.proc.pid)
        reader.clear()
        waits = {READ: [], WRITE: []}
        for cycle in range(CYCLES):
            command, reply = ((READ, m["read"]), (WRITE, m["recorded"]))[cycle % 2]
            waits[command].append(first_box_after(app, lambda: app.command(command)))
            box = app.wait_box()
            assert (box["text"], box["icon"]["kind"]) == (reply, SUCCESS), (cycle, box["text"], box["icon"])
            app.env.driver.press_ok(box)
            wait_until(lambda: not app.boxes() and app.info()["enabled"], 5, "the window to be ready again")
        after = open_fd_count(app.proc.pid)
        assert reader.received_bytes() == (READ_SERIAL + b"AT+TMX1AO") * (CYCLES // 2)
        assert after == before, f"open descriptors of the program: {before} before, {after} after"

        reader.set_mode("garbage")
        expect_boxes(app, EN, [(m["unrecognized"], ERROR), (m["no_response"], NO_RESPONSE)], lambda: app.command(READ))
        expect_closed(env, reader)
    for command, name in ((READ, "READ -> 'Settings read!'"), (WRITE, "WRITE -> 'Settings recorded!'")):
        times = [t * 1000 for t in waits[command]]
        print(f"    {name}, n={len(times)}: median {statistics.median(times):.0f} ms, min {min(times):.0f}, "
              f"max {max(times):.0f} (fixed wait 2 x 500 ms + 60 ms)")
    print(f"    open descriptors of the program's process: {before} before {CYCLES} cycles, {after} after")
