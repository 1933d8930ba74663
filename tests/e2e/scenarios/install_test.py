"""The installer as a user meets it: a silent install, the program started in the install folder as its
shortcut starts it, with its help, and a silent uninstall that leaves nothing of its own behind.

The installer is built here with makensis from the program under test and the user guide
(help/build-help makes the guide; scripts/test runs it before this suite).
"""
import contextlib
import struct
import subprocess
import time

from harness.env import EXE_NAME, PRODUCT, REPO, wait_until

QUIT, HELP = 15, 18
HELP_NAME = PRODUCT["PDF_NAME"]
GUIDE = REPO / "build" / "help" / HELP_NAME
INSTALL_DIR = "C:\\" + PRODUCT["INSTALL_FOLDER"]
SHORTCUT = f"ProgramData/Microsoft/Windows/Start Menu/Programs/{PRODUCT['PRODUCT_NAME']}.lnk"
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + PRODUCT["PRODUCT_NAME"]
INSTALLED = {EXE_NAME, "help", f"help/{HELP_NAME}", "uninstall.exe"}


def shipped_exe(env):
    """The program under test, stripped as scripts/release ships it."""
    return env.tmp / "release" / EXE_NAME


def installer(env):
    """setup.exe built from the shipped program, once per run."""
    setup = env.tmp / f"{PRODUCT['INSTALL_FOLDER']} setup.exe"
    if not setup.exists():
        if not GUIDE.exists():
            raise FileNotFoundError(f"{GUIDE} is missing: build it with help/build-help first")
        exe = shipped_exe(env)
        exe.parent.mkdir()
        subprocess.run(["x86_64-w64-mingw32-strip", "--strip-all", "-o", str(exe), str(env.exe)], check=True)
        defines = [f"-D{key}={value}" for key, value in PRODUCT.items()]  # as scripts/release passes them
        done = subprocess.run(["makensis", "-V2", "-WX", f"-DEXE={exe}", f"-DHELP={GUIDE}", f"-DOUTFILE={setup}",
                               *defines, str(REPO / "installer" / "setup.nsi")], capture_output=True, text=True)
        if done.returncode != 0:
            raise AssertionError(f"makensis failed:\n{done.stdout}{done.stderr}")
    return setup


@contextlib.contextmanager
def no_host_menus(env):
    """Keeps Wine from copying the Start menu shortcut into the Linux desktop's menus."""
    saved = env.vars["WINEDLLOVERRIDES"]
    env.vars["WINEDLLOVERRIDES"] = saved + ";winemenubuilder.exe=d"
    try:
        yield
    finally:
        env.vars["WINEDLLOVERRIDES"] = saved


def drive_c(env, windows_path=""):
    return env.prefix / "drive_c" / windows_path.removeprefix("C:\\").replace("\\", "/")


def folder_contents(env):
    folder = drive_c(env, INSTALL_DIR)
    return {str(p.relative_to(folder)) for p in folder.rglob("*")} if folder.exists() else None


def install(env):
    with no_host_menus(env):
        assert env.run([installer(env), "/S"], timeout=120).returncode == 0


def uninstall(env):
    """Runs the uninstaller silently and waits for it: it works on from a copy of itself, so its own
    process ends before the files are gone. Removing its registry entry is its last step."""
    with no_host_menus(env):
        assert env.run([drive_c(env, INSTALL_DIR) / "uninstall.exe", "/S"], timeout=60).returncode == 0
    wait_until(lambda: registry_values(env, UNINSTALL_KEY) is None, 30, "the uninstaller to finish", interval=0.2)


def registry_values(env, key):
    """{name: data} of a registry key, or None if it does not exist."""
    done = env.run(["reg", "query", key])
    if done.returncode != 0:
        return None
    values = {}
    for line in done.stdout.decode("utf-8", "replace").splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) == 3 and parts[1].startswith("REG_"):
            values[parts[0]] = parts[2]
    return values


def shell_link(path):
    """Target and working folder of a .lnk file (the shell link binary format)."""
    data = path.read_bytes()
    flags = struct.unpack_from("<I", data, 20)[0]
    at = 76
    if flags & 0x01:  # HasLinkTargetIDList
        at += 2 + struct.unpack_from("<H", data, at)[0]
    target = None
    if flags & 0x02:  # HasLinkInfo
        info_size, _, info_flags, _, base_offset = struct.unpack_from("<5I", data, at)
        if info_flags & 0x01:  # VolumeIDAndLocalBasePath
            end = data.index(b"\0", at + base_offset)
            target = data[at + base_offset:end].decode("latin-1")
        at += info_size
    strings = {}
    unicode = flags & 0x80
    for bit, name in ((0x04, "name"), (0x08, "relative path"), (0x10, "working folder"), (0x20, "arguments"),
                      (0x40, "icon")):
        if flags & bit:
            count = struct.unpack_from("<H", data, at)[0]
            size = count * 2 if unicode else count
            raw = data[at + 2:at + 2 + size]
            # Some writers count the terminating zero as well.
            strings[name] = (raw.decode("utf-16-le") if unicode else raw.decode("latin-1")).rstrip("\0")
            at += 2 + size
    return target, strings.get("working folder")


def start_installed(env):
    """Starts the installed copy the way its shortcut does: in the install folder."""
    folder = drive_c(env, INSTALL_DIR)
    built, env.exe = env.exe, folder / EXE_NAME
    try:
        return env.start_app(folder)
    finally:
        env.exe = built


def test_silent_install_puts_program_help_shortcut_and_uninstall_entry_in_place(env):
    install(env)
    assert folder_contents(env) == INSTALLED, folder_contents(env)
    folder = drive_c(env, INSTALL_DIR)
    assert (folder / EXE_NAME).read_bytes() == shipped_exe(env).read_bytes()
    assert (folder / "help" / HELP_NAME).read_bytes() == GUIDE.read_bytes()

    target, working_folder = shell_link(drive_c(env) / SHORTCUT)
    assert target == f"{INSTALL_DIR}\\{EXE_NAME}", target
    assert working_folder == INSTALL_DIR, working_folder

    entry = registry_values(env, UNINSTALL_KEY)
    assert entry is not None, "no entry in the list of programs"
    assert entry["DisplayName"] == f"{PRODUCT['PRODUCT_NAME']} {PRODUCT['VERSION_SHORT']} (x64)", entry
    assert entry["UninstallString"] == f'"{INSTALL_DIR}\\uninstall.exe"', entry
    assert entry["InstallLocation"] == INSTALL_DIR, entry
    uninstall(env)


def test_the_installed_program_runs_in_its_folder_and_opens_its_help(env):
    install(env)
    app = start_installed(env)
    app.finish_startup_search()
    assert (drive_c(env, INSTALL_DIR) / "appconfig.ini").exists(), "the settings file is not in the install folder"
    app.command(HELP)
    time.sleep(3)  # long enough for the "File not found" pair of boxes to show up
    assert app.boxes() == [], [box["text"] for box in app.boxes()]

    app.command(QUIT)
    app.wait_exit()

    # The same command away from the install folder does show the box: the check above can fail.
    elsewhere = env.start_app(env.new_workdir("no-help"))
    elsewhere.finish_startup_search()
    elsewhere.command(HELP)
    box = wait_until(elsewhere.boxes, 5, "the help box")[0]
    assert HELP_NAME.encode() in box["text"], box["text"]
    env.stop_programs()
    uninstall(env)


def test_silent_uninstall_removes_what_was_installed_and_the_settings_file(env):
    install(env)
    app = start_installed(env)
    app.finish_startup_search()
    app.command(QUIT)
    app.wait_exit()
    own_file = drive_c(env, INSTALL_DIR) / "my notes.txt"
    own_file.write_text("kept")
    uninstall(env)
    assert folder_contents(env) == {"my notes.txt"}, folder_contents(env)
    assert not (drive_c(env) / SHORTCUT).exists(), "the shortcut is still there"

    own_file.unlink()
    install(env)
    uninstall(env)
    assert folder_contents(env) is None, f"the install folder is left with {folder_contents(env)}"
