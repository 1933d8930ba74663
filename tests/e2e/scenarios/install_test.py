"""The installer, built here from the programs under test and the guide: an install through its pages, the program
started as its shortcut starts it, uninstalls, installs that stop and leave nothing, and a silent install."""
import re
import struct
import subprocess
import time

from harness.env import EXE_NAME, PRODUCT, REPO, wait_until

QUIT, HELP = 15, 18
GUIDE = REPO / "build" / "help" / PRODUCT["PDF_NAME"]  # made by help/build-help
INSTALL_DIR = "C:\\" + PRODUCT["INSTALL_FOLDER"]
SHORTCUT = f"ProgramData/Microsoft/Windows/Start Menu/Programs/{PRODUCT['PRODUCT_NAME']}.lnk"
SESSION_MANAGER = r"HKLM\System\CurrentControlSet\Control\Session Manager"
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + PRODUCT["PRODUCT_NAME"]
INSTALLED = {EXE_NAME, "mz6.exe", "help", f"help/{GUIDE.name}", "uninstall.exe", "appconfig.ini"}
TOP_LEVEL = sorted(name for name in INSTALLED if "/" not in name)
ADMINS_SYSTEM_FULL_USERS_READ = "*S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX"


def installer(env):
    """setup.exe built from the program stripped as scripts/release ships it, and mz6.exe."""
    shipped, setup = env.tmp / "release" / EXE_NAME, env.tmp / f"{PRODUCT['INSTALL_FOLDER']} setup.exe"
    shipped.parent.mkdir(exist_ok=True)
    subprocess.run(["x86_64-w64-mingw32-strip", "--strip-all", "-o", shipped, env.exe], check=True)
    defines = [f"-D{key}={value}" for key, value in PRODUCT.items()]  # as scripts/release passes them
    done = subprocess.run(["makensis", "-V2", "-WX", f"-DEXE={shipped}", f"-DMZ6={env.build_dir / 'mz6.exe'}",
                           f"-DHELP={GUIDE}", f"-DOUTFILE={setup}", *defines, REPO / "installer" / "setup.nsi"],
                          capture_output=True, text=True)
    assert done.returncode == 0, f"makensis failed:\n{done.stdout}{done.stderr}"
    return setup, shipped


def drive_c(env, windows_path=""):
    return env.prefix / "drive_c" / windows_path.removeprefix("C:\\").replace("\\", "/")


def contents(folder):
    return {str(p.relative_to(folder)) for p in folder.rglob("*")} if folder.exists() else None


def uninstall(env):
    """The uninstaller works on from a copy of itself, so its own process ends before the files are
    gone; removing its registry entry is its last step. That first process's exit code only says whether
    it started the copy, and under Wine on a loaded machine it has once been non-zero: what counts is that
    the uninstall finishes (the code is reported when it does not) and what it removed (the caller checks)."""
    started = env.run([drive_c(env, INSTALL_DIR) / "uninstall.exe", "/S"], timeout=60).returncode
    wait_until(lambda: uninstall_entry(env) is None, 30,
               f"the uninstaller to finish (its first process exited with {started})", interval=0.2)


def uninstall_entry(env):
    """What reg query shows of the program's entry in the list of programs, or None without one."""
    done = env.run(["reg", "query", UNINSTALL_KEY])
    return done.stdout.decode("utf-8", "replace") if done.returncode == 0 else None


def stopped_and_nothing_left(env, setup, folder, failing_call=None):
    """A silent install that must stop with a non-zero exit code, with no uninstall entry and no shortcut."""
    failing = failing_call and {"RECORD_ARGS_FAIL": failing_call}  # see driver/record_args.cpp
    assert env.run([setup, "/S"], timeout=120, variables=failing).returncode != 0
    assert uninstall_entry(env) is None, uninstall_entry(env)
    assert not (drive_c(env) / SHORTCUT).exists(), "a shortcut is left"
    return contents(folder)


def test_install_start_from_the_install_folder_and_uninstall(env):
    (setup, shipped), folder = installer(env), drive_c(env, INSTALL_DIR)
    # Wine has no ACLs and no user's shell to hand a program to: the calls made of them are recorded.
    with env.recording("system32/icacls.exe", "explorer.exe") as calls:
        # As a user taking every default: the folder, Install, Next, and Finish with "run the program" ticked.
        assert env.press_through(env.popen([setup])) == 0
    # The folder is locked while still empty, so each file in it inherits its rights; the settings file is
    # made before Users may write it; the finish page hands the program to the user's shell.
    assert calls() == [
        ("icacls.exe", f'"{INSTALL_DIR}" /inheritance:r /grant:r {ADMINS_SYSTEM_FULL_USERS_READ}', []),
        ("icacls.exe", f'"{INSTALL_DIR}" /setowner *S-1-5-32-544', []),
        ("icacls.exe", f'"{INSTALL_DIR}\\appconfig.ini" /grant *S-1-5-32-545:W', TOP_LEVEL),
        ("explorer.exe", f'"C:\\{SHORTCUT}"'.replace("/", "\\"), calls()[-1][2])], calls()
    assert contents(folder) == INSTALLED, contents(folder)
    for name, source in ((EXE_NAME, shipped), ("mz6.exe", env.build_dir / "mz6.exe"), (f"help/{GUIDE.name}", GUIDE)):
        assert (folder / name).read_bytes() == source.read_bytes(), name
    assert env.run([folder / "mz6.exe", "--help"]).returncode == 0
    # The shortcut starts the program in the install folder, where it keeps its settings and finds its help.
    link = (drive_c(env) / SHORTCUT).read_bytes()
    assert f"{INSTALL_DIR}\\{EXE_NAME}\0".encode() in link, "the shortcut's target"
    # The working folder is a string after its count of characters (Wine counts the terminating zero too).
    assert any(struct.pack("<H", count) + INSTALL_DIR.encode("utf-16-le") in link
               for count in (len(INSTALL_DIR), len(INSTALL_DIR) + 1)), "the shortcut's working folder"
    entry = uninstall_entry(env)
    for name, data in (("DisplayName", f"{PRODUCT['PRODUCT_NAME']} {PRODUCT['VERSION_SHORT']} (x64)"),
                       ("UninstallString", f'"{INSTALL_DIR}\\uninstall.exe"'), ("InstallLocation", INSTALL_DIR),
                       ("Publisher", PRODUCT["PRODUCT_MAKER"]), ("URLInfoAbout", PRODUCT["PRODUCT_MAKER_URL"]),
                       ("Contact", PRODUCT["PRODUCT_MAKER_EMAIL"])):
        found = re.search(rf"^\s+{name}\s+REG_SZ\s+(.*?)\r?$", entry or "", re.M)
        assert (found and found[1]) == (data or None), (name, entry)  # an empty value is left out

    # The installer's settings file is the very one the program writes when it finds none.
    installed_settings = (folder / "appconfig.ini").read_bytes()
    (folder / "appconfig.ini").unlink()
    app = env.start_app(folder, exe=folder / EXE_NAME)
    app.finish_startup_search()
    assert (folder / "appconfig.ini").read_bytes() == installed_settings
    app.command(HELP)
    time.sleep(3)  # long enough for the "File not found" boxes to show up (they do, away from the install)
    assert app.boxes() == [], [box["text"] for box in app.boxes()]
    app.command(QUIT)
    assert app.wait_exit() == 0
    env.stop_programs()  # the PDF viewer

    (folder / "my notes.txt").write_text("kept")
    # Uninstalled while the program runs: the program goes at the next restart, not left behind for good.
    app = env.start_app(folder, exe=folder / EXE_NAME)
    app.finish_startup_search()
    uninstall(env)
    assert contents(folder) == {"my notes.txt", EXE_NAME}, contents(folder)
    pending = env.run(["reg", "query", SESSION_MANAGER, "/v", "PendingFileRenameOperations"]).stdout
    assert f"{INSTALL_DIR}\\{EXE_NAME}".encode() in pending, pending
    assert not (drive_c(env) / SHORTCUT).exists(), "the shortcut is still there"
    app.kill()
    (folder / EXE_NAME).unlink()  # as the restart would
    # A folder that holds files of the user's own is not locked and taken over.
    assert stopped_and_nothing_left(env, setup, folder) == {"my notes.txt"}
    (folder / "my notes.txt").unlink()
    (folder / "help" / "help").mkdir(parents=True)  # a name of the top folder, under help\
    assert stopped_and_nothing_left(env, setup, folder) == {"help", "help/help"}
    for empty in ("help/help", "help"):
        (folder / empty).rmdir()
    # A rights call that fails (FAT32, exFAT, some shares) stops the install, and what it put there goes.
    with env.recording("system32/icacls.exe") as calls:
        assert stopped_and_nothing_left(env, setup, folder, failing_call="appconfig.ini") is None
    assert calls()[-1][2] == TOP_LEVEL, calls()  # it failed with everything in place
    assert env.run([setup, "/S"], timeout=120).returncode == 0
    uninstall(env)
    assert contents(folder) is None, f"the install folder is left with {contents(folder)}"
