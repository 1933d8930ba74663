#!/usr/bin/python
# -*- coding: utf-8 -*-
"""Configures Zentak-6 card readers on the managed host by running mz6 there."""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: reader
short_description: Configure Zentak-6 card readers with mz6, changing only what differs
description:
  - Runs C(mz6) on the managed host with C(--json) to put settings onto the Zentak-6 card readers on its serial
    ports. Each reader is read first and written only when a setting in use differs from the one wanted, so a
    play run again leaves the readers' memory alone and reports C(ok).
  - With I(settings) each port is served by C(mz6 write), all ports at once; with I(profile) by one
    C(mz6 apply) of that profile file.
  - Fails with mz6's own message when a port fails (no answer, busy, permission denied, another model, a write
    not read back the same), or when a key or value is wrong, in which case no byte has gone to any reader.
  - Managed hosts are Linux hosts with the C(mz6) package installed.
author:
  - MivorZentak team (!UNKNOWN)
options:
  port:
    description:
      - The readers' ports, as the system names them (C(/dev/ttyUSB0), a C(/dev/serial/by-id/...) link). A reader
        named twice, or by two links to one tty, is served once; an empty list fails the task.
      - Exactly one of I(port) and I(all) is given.
    type: list
    elements: str
  all:
    description:
      - Every serial port of the host, as C(mz6 find) would ask them (not the kernel's console, nor a port with
        no UART behind it). A port without a reader fails the task, and so does a host without serial ports.
    type: bool
    default: false
  settings:
    description:
      - The settings wanted, as key=value pairs (C(interface), C(indication), C(standby), C(touch-poll) of the
        serial-output reader; C(mode), C(format), C(type), C(bytes), C(cards) of the USB reader; see C(man mz6)).
        Settings not given keep the value the reader holds; a key without a value fails the task.
      - Exactly one of I(settings) and I(profile) is given.
    type: dict
  profile:
    description:
      - A profile file on the managed host (C(model = krx) first, then C(key = value) lines), as C(mz6 save)
        writes it.
    type: path
  model:
    description:
      - The readers' model, C(krx) (serial-output reader) or C(usb) (USB reader). By default the model the keys
        belong to, or the profile's.
    type: str
    choices: [krx, usb]
  force:
    description:
      - Write every reader, also one that already holds every setting.
    type: bool
    default: false
  mz6:
    description:
      - The mz6 program, a path or a name looked up on C(PATH).
    type: str
    default: mz6
notes:
  - Supports check mode (C(mz6 --check) reads every reader and writes none) and diff mode (each port's settings
    before and after).
  - For Windows hosts, run C(mz6.exe ... --json) with C(ansible.windows.win_command) and let the C(changed) members
    of its output decide C(changed_when); see the user guide.
"""

EXAMPLES = r"""
- name: Turnstile readers give Wiegand 26
  mivorzentak.mz6.reader:
    port:
      - /dev/serial/by-id/usb-Zentak_KRT-if00-port0
      - /dev/ttyUSB1
    settings:
      interface: wiegand26
      standby: static

- name: Every reader of the kiosk as the site's profile says
  mivorzentak.mz6.reader:
    all: true
    profile: /etc/mivorzentak/site.profile

- name: What would change, without writing
  mivorzentak.mz6.reader:
    port: [/dev/ttyACM0]
    model: usb
    settings:
      cards: mifare
  check_mode: true
  diff: true
"""

RETURN = r"""
readers:
  description:
    - One record per reader, as C(mz6 --json) gives it, in the order of I(port) (with I(all), of the host's
      ports). A reader named twice, or by two links to one tty, is served and listed once.
    - Besides the keys below, each setting the reader uses (C(interface), C(standby), C(mode), C(cards) ...) with
      its value after the run, where the reader could be read.
  returned: whenever the options are accepted, also on failure; empty when no reader was asked
  type: list
  elements: dict
  sample:
    - port: /dev/ttyUSB0
      model: krx
      version: "1.00"
      interface: wiegand26
      indication: direct
      standby: static
      touch-poll: "on"
      result: ok
      written: true
      changed: true
      forced: false
      changes:
        - {key: interface, from: touch-memory, to: wiegand26}
      before: {interface: touch-memory, indication: direct, standby: static, touch-poll: "on"}
  contains:
    port:
      description: The port as given (with I(all), as mz6 lists it).
      type: str
      returned: always
    model:
      description: The model that answered, C(krx) or C(usb); null when none did.
      type: str
      returned: always
    version:
      description: The reader's firmware version; null when it was not read.
      type: str
      returned: always
    result:
      description: C(ok), or why the port failed (C(no-answer), C(busy), C(permission-denied), C(wrong-model),
        C(mismatch) ...).
      type: str
      returned: always
    message:
      description: mz6's words for the failure, in the host's language.
      type: str
      returned: when I(result) is not C(ok)
    error:
      description: The system's error number of the failure (C(13) permission denied ...).
      type: int
      returned: when the system gave one
    written:
      description: The reader took the write command (never in check mode).
      type: bool
      returned: always
    changed:
      description: The write command went out to this reader (in check mode, would go out).
      type: bool
      returned: always
    forced:
      description: The write command went out (in check mode, would go out) only because of I(force), no setting
        differing.
      type: bool
      returned: always
    changes:
      description: The settings that differed, each with C(key), C(from) (null when the reader's value was not
        known or not in use) and C(to).
      type: list
      elements: dict
      returned: always
    before:
      description: The reader's settings in use before the write; null when it could not be read.
      type: dict
      returned: always
diff:
  description: In diff mode, each reader written (or to be written, in check mode) with C(before) and C(after),
    its settings one per line, and the port as both headers.
  returned: in diff mode, when the readers were asked
  type: list
  elements: dict
cmd:
  description: The mz6 command lines that served the readers, one per port with I(settings), one with I(profile).
  returned: whenever the options are accepted, also on failure; empty when none was run
  type: list
  elements: list
"""

import json
import os
from concurrent.futures import ThreadPoolExecutor

from ansible.module_utils.basic import AnsibleModule


def run_mz6(module, args):
    """mz6's exit status, its JSON records (a list, empty when it printed none) and its standard error, or why
    it could not run. It runs in several threads at once, so it never ends the module: two ends would print
    two results, and Ansible would read neither."""
    try:
        rc, out, err = module.run_command(args, handle_exceptions=False)
    except OSError as e:
        return 1, [], "%s: %s" % (args[0], e.strerror)
    try:
        records = json.loads(out) if out.strip() else []
    except ValueError:
        return rc or 1, [], "mz6 printed no JSON: %s" % (err or out).strip()
    records = records if isinstance(records, list) else [records]
    # A failure that is no port's (a bad key) is an object without a port: the message on standard error says it.
    return rc, [record for record in records if "port" in record], err.strip()


def fail(module, result, msg):
    module.fail_json(msg=msg, **result)


def ports_asked(module, mz6, result):
    """The ports to serve, each reader once however many names lead to it: two runs on one reader at once would
    find it busy. A run that would touch no reader fails."""
    params = module.params
    if params["all"]:
        rc, records, err = run_mz6(module, [mz6, "ports", "--json"])
        if rc != 0:
            fail(module, result, err)
        # mz6 marks a console, or a port with no UART behind it, skipped: find and apply --all ask neither.
        ports = [record["port"] for record in records if not record.get("skipped")]
        why = "no serial ports found on the host"
    else:
        ports, why = params["port"], "port is empty"
    if not ports:
        fail(module, result, "no reader to configure: " + why)
    once = {}
    for port in ports:
        once.setdefault(os.path.realpath(port), port)
    return list(once.values())


def commands(module, mz6, result):
    """The mz6 command lines that serve the ports asked."""
    params = module.params
    common = ["--json"] + (["--check"] if module.check_mode else []) + (["--force"] if params["force"] else [])
    ports = ports_asked(module, mz6, result)
    if params["profile"]:
        return [[mz6, "apply", params["profile"]] + [a for p in ports for a in ("--port", p)] + common]
    pairs = []
    for key, value in params["settings"].items():
        if value is None or str(value).strip() == "":  # an empty "interface:" in YAML is None
            fail(module, result, "settings: %s has no value" % key)
        # YAML reads an unquoted on or off (touch-poll, standby) as a boolean.
        pairs.append("%s=%s" % (key, ("on" if value else "off") if isinstance(value, bool) else value))
    model = ["--model", params["model"]] if params["model"] else []
    return [[mz6, "write", "--port", port] + model + common + pairs for port in ports]


def settings_text(settings):
    return "".join("%s: %s\n" % (key, value) for key, value in (settings or {}).items())


def diff_of(record):
    """The port's settings before and after, as diff mode shows them."""
    after = dict(record.get("before") or {})
    after.update((change["key"], change["to"]) for change in record.get("changes", []))
    header = record["port"]
    return {"before": settings_text(record.get("before")), "after": settings_text(after),
            "before_header": header, "after_header": header}


def main():
    module = AnsibleModule(
        argument_spec=dict(
            port=dict(type="list", elements="str"),
            all=dict(type="bool", default=False),
            settings=dict(type="dict"),
            profile=dict(type="path"),
            model=dict(type="str", choices=["krx", "usb"]),
            force=dict(type="bool", default=False),
            mz6=dict(type="str", default="mz6"),
        ),
        mutually_exclusive=[("port", "all"), ("settings", "profile")],
        # all has a default, so it always counts as given: without all, port is needed.
        required_if=[("all", False, ("port",))],
        required_one_of=[("settings", "profile")],
        supports_check_mode=True,
    )
    params = module.params
    result = dict(changed=False, readers=[], cmd=[])
    if params["profile"] and params["model"]:
        fail(module, result, "model is given by the profile's first line; leave it out with profile")
    mz6 = params["mz6"] if "/" in params["mz6"] else module.get_bin_path(params["mz6"])
    if mz6 is None:
        fail(module, result, "%s: not found on the host's PATH (is the mz6 package installed?)" % params["mz6"])

    result["cmd"] = lines = commands(module, mz6, result)
    # Each port's mz6 runs at once: a silent port costs its wait once, not once per port.
    with ThreadPoolExecutor(max_workers=max(1, min(len(lines), 32))) as pool:
        runs = list(pool.map(lambda args: run_mz6(module, args), lines))
    # Only a reader's record: a usage error's has no port.
    result["readers"] = readers = [record for rc, records, err in runs for record in records if "port" in record]
    result["changed"] = any(r.get("changed") for r in readers)
    if module._diff:
        result["diff"] = [diff_of(r) for r in readers if r.get("result") == "ok" and r.get("changed")]
    failures = list(dict.fromkeys(err for rc, records, err in runs if rc != 0))  # a bad key: once, not once a port
    if failures:
        fail(module, result, "\n".join(failures))
    module.exit_json(**result)


if __name__ == "__main__":
    main()
