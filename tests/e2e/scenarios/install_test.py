"""The installer, built here from the programs under test and the guide: an install through its pages, the program
started as its shortcut starts it, uninstalls, installs that stop and leave nothing, and a silent install; links,
and runs as SYSTEM, refused. Wine keeps no owner or access list: the installer is built with folder-lock.exe's
stand-in for those calls (testkit/driver/file_security_standin.cpp); the lock's decisions on them are unit-tested."""
import ntpath
import re
import string
import struct
import subprocess
import time

from harness.driver import DriverError
from harness.env import EXE_NAME, LOCALE, PRODUCT, REPO, WESTERN_LOCALE

QUIT, HELP = 15, 18
GUIDE = REPO / "build" / "help" / PRODUCT["PDF_NAME"]  # made by help/build-help
NEEDS_GUIDE = True
INSTALL_DIR = "C:\\" + PRODUCT["INSTALL_FOLDER"]
SHORTCUT = f"ProgramData/Microsoft/Windows/Start Menu/Programs/{PRODUCT['PRODUCT_NAME']}.lnk"
SESSION_MANAGER = r"HKLM\System\CurrentControlSet\Control\Session Manager"
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"


def manifest(files="files", product=PRODUCT):
    """What installer/manifest.txt puts into the install folder (files="msi-files": what the MSI does), with these
    names: each file's path within it, and help."""
    listed = subprocess.run([REPO / "installer" / "manifest-as", files], capture_output=True, text=True, check=True)
    paths = {string.Template(line).substitute(product) for line in listed.stdout.splitlines()}
    return paths | {path.split("/")[0] for path in paths if "/" in path}


INSTALLED = manifest()
TOP_LEVEL = sorted(name for name in INSTALLED if "/" not in name)
PROFILE_LIST_SYSTEM = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\ProfileList\S-1-5-18"
# Version 1.00's names, for the packages of an earlier version: the same programs, installed as 1.00 installs them.
EARLIER = {"VERSION_DOTTED": "1.0.0.0", "VERSION_SHORT": "1.00", "INSTALL_FOLDER": f"{PRODUCT['PRODUCT_NAME']} v.1.00",
           "EXE_NAME": f"{PRODUCT['PRODUCT_NAME']} ver_1_00 (x64).exe",
           "PDF_NAME": f"{PRODUCT['PRODUCT_NAME']} ver_1_00.pdf"}


def installer(env, **product):
    """setup.exe built from the program stripped as scripts/release ships it, and mz6.exe; with EARLIER's
    values, as 1.00 (with folder-lock.exe's stand-in built with 1.00's names)."""
    values = dict(PRODUCT, **product)
    shipped, setup = env.tmp / "release" / EXE_NAME, env.tmp / f"{values['INSTALL_FOLDER']} setup.exe"
    shipped.parent.mkdir(exist_ok=True)
    subprocess.run(["x86_64-w64-mingw32-strip", "--strip-all", "-o", shipped, env.exe], check=True)
    defines = [f"-D{key}={value}" for key, value in values.items()]  # as scripts/release passes them
    folder_lock = env.tools_dir / f"folder-lock-standin{'-' + values['VERSION_SHORT'] if product else ''}.exe"
    done = subprocess.run(["makensis", "-V2", "-WX", f"-DEXE={shipped}", f"-DMZ6={env.build_dir / 'mz6.exe'}",
                           f"-DHELP={GUIDE}", f"-DFOLDER_LOCK={folder_lock}",
                           f"-DOUTFILE={setup}", *defines, REPO / "installer" / "setup.nsi"],
                          capture_output=True, text=True)
    assert done.returncode == 0, f"makensis failed:\n{done.stdout}{done.stderr}"
    return setup, shipped


def drive_c(env, windows_path=""):
    return env.prefix / "drive_c" / windows_path.removeprefix("C:\\").replace("\\", "/")


def contents(folder):
    return {str(p.relative_to(folder)) for p in folder.rglob("*")} if folder.exists() else None


def uninstaller(env, *options, folder=INSTALL_DIR):
    """The uninstaller's command line as the list of programs gives it (in place, _?=). The folder after _?=
    runs to the end of the command line, unquoted: given in parts, Wine joins them with spaces."""
    return [drive_c(env, folder) / "uninstall.exe", *options, *f"_?={folder}".split(" ")]


def uninstall(env, folder=INSTALL_DIR):
    """Runs the uninstaller silently; its exit code."""
    return env.run(uninstaller(env, "/S", folder=folder), timeout=60).returncode


def stop_log(env, program):
    """Why the last run of setup.exe or the uninstaller ("setup", "uninstall") stopped, as it wrote it into the
    temp folder of the account that ran it; None when that run did not stop."""
    logs = list(drive_c(env).glob(f"users/*/**/Temp/{PRODUCT['INSTALL_FOLDER']} {program}.log"))
    return logs[0].read_bytes().decode("utf-16") if logs else None


def left_after_uninstall(folder, expected):
    """What the install folder holds once the uninstaller's last copy, which waits for the uninstaller it ran
    from to end, has removed that and the folder (None when nothing is left)."""
    deadline = time.monotonic() + 10
    while contents(folder) != expected and time.monotonic() < deadline:
        time.sleep(0.2)
    return contents(folder)


def uninstall_entry(env, key=PRODUCT["PRODUCT_NAME"]):
    """The values reg query shows of the program's entry in the list of programs (setup.exe's is under the
    program's name, the MSI's under its product code), or None without one."""
    done = env.run(["reg", "query", UNINSTALL_KEY + key])
    text = done.stdout.decode("utf-8", "replace")
    return dict(re.findall(r"^[ \t]+(\w+)[ \t]+REG_\w+[ \t]*(.*?)\r?$", text, re.M)) if done.returncode == 0 else None


def listed(env):
    """setup.exe's entry's version and folder, or None without an entry."""
    entry = uninstall_entry(env)
    return entry and (entry["DisplayVersion"], entry["InstallLocation"])


def assert_installed_as_built(env, folder, program, install_dir, link, entry, empty=None, **more):
    """The programs and the guide are the ones built; the shortcut starts the program in the install folder, where
    it keeps its settings and finds its help; the entry in the list of programs names it, its maker and its
    folder, with an address left empty left out (Wine's msi lists it empty)."""
    for name, source in ((EXE_NAME, program), ("mz6.exe", env.build_dir / "mz6.exe"), (f"help/{GUIDE.name}", GUIDE)):
        assert (folder / name).read_bytes() == source.read_bytes(), name
    assert f"{ntpath.join(install_dir, EXE_NAME)}\0".encode() in link, "the shortcut's target"
    # The working folder is a string after its count of characters (Wine counts the terminating zero too).
    assert any(struct.pack("<H", count) + install_dir.encode("utf-16-le") in link
               for count in (len(install_dir), len(install_dir) + 1)), "the shortcut's working folder"
    wanted = dict(DisplayName=f"{PRODUCT['PRODUCT_NAME']} {PRODUCT['VERSION_SHORT']} (x64)",
                  Publisher=PRODUCT["PRODUCT_MAKER"], InstallLocation=install_dir,
                  URLInfoAbout=PRODUCT["PRODUCT_MAKER_URL"] or empty, Contact=PRODUCT["PRODUCT_MAKER_EMAIL"] or empty,
                  **more)
    assert entry and {name: entry.get(name, empty) for name in wanted} == wanted, entry


def stopped_and_nothing_left(env, setup, folder, *arguments, variables=None):
    """A silent install that must stop with exit code 2, with no uninstall entry and no shortcut."""
    assert env.run([setup, "/S", *arguments], timeout=120, variables=variables).returncode == 2
    assert uninstall_entry(env) is None, uninstall_entry(env)
    assert not (drive_c(env) / SHORTCUT).exists(), "a shortcut is left"
    return contents(folder)


def message_on_the_way(env, argv, locale, about):
    """The text of the message about that item (bytes) that a program run through its pages with their
    default buttons shows (setup.exe on leaving the directory page, the uninstaller on its start)."""
    proc = env.popen(argv, locale=locale)
    try:
        deadline = time.monotonic() + 60
        while proc.poll() is None and time.monotonic() < deadline:
            for page in env.driver.windows(cls="#32770"):
                try:
                    controls = env.driver.children(page["hwnd"])
                except DriverError:  # gone since it was listed
                    continue
                texts = [control["text"] for control in controls if about in control["text"]]
                if texts:
                    return texts[0]
                button = next((c for c in controls if c["id"] == 1 and c["visible"] and c["enabled"]), None)
                if page["visible"] and button:
                    try:
                        env.driver.click(button["hwnd"])
                    except DriverError:
                        pass
            time.sleep(0.3)
        raise AssertionError(f"no message about {about}")
    finally:
        proc.kill()
        proc.wait()


def test_install_start_from_the_install_folder_and_uninstall(env):
    (setup, shipped), folder = installer(env), drive_c(env, INSTALL_DIR)
    # Wine has no user's shell to hand a program to: the call made of it is recorded.
    with env.recording("explorer.exe") as calls:
        # As a user taking every default: the folder, Install, Next, and Finish with "run the program" ticked.
        assert env.press_through(env.popen([setup])) == 0
    # The finish page hands the program to the user's shell.
    assert calls() == [("explorer.exe", f'"C:\\{SHORTCUT}"'.replace("/", "\\"), calls()[-1][2])], calls()
    assert contents(folder) == INSTALLED, contents(folder)
    assert_installed_as_built(env, folder, shipped, INSTALL_DIR, (drive_c(env) / SHORTCUT).read_bytes(),
                              uninstall_entry(env), UninstallString=f'"{INSTALL_DIR}\\uninstall.exe" _?={INSTALL_DIR}')
    assert env.run([folder / "mz6.exe", "--help"]).returncode == 0

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

    # Installed again, or uninstalled, while the program runs: each stops before it changes anything, and the
    # install stays whole and listed; once the program has ended both go through.
    def files():
        return {path: (folder / path).read_bytes() for path in contents(folder) if (folder / path).is_file()}
    whole = files()
    app = env.start_app(folder, exe=folder / EXE_NAME)
    app.finish_startup_search()
    assert env.run([setup, "/S"], timeout=120).returncode == 2
    in_use = f"exit code: 2\r\nreason: 12\r\n{INSTALL_DIR}\\{EXE_NAME} "
    assert (stop_log(env, "setup") or "").startswith(in_use), stop_log(env, "setup")
    # Through their pages, each names the program in its message, in either language, nothing before the path.
    program = f"{INSTALL_DIR}\\{EXE_NAME} ".encode("cp1251")
    for argv, locale in (([setup], LOCALE), (uninstaller(env), WESTERN_LOCALE)):
        assert message_on_the_way(env, argv, locale, program).startswith(program)
    (folder / "my notes.txt").write_text("kept")
    assert uninstall(env) == 2
    assert (stop_log(env, "uninstall") or "").startswith(in_use), stop_log(env, "uninstall")
    assert files() == dict(whole, **{"my notes.txt": b"kept"}), contents(folder)
    assert uninstall_entry(env) is not None and (drive_c(env) / SHORTCUT).exists(), "the entry or shortcut is gone"
    app.kill()
    (folder / "my notes.txt").unlink()
    assert env.run([setup, "/S"], timeout=120).returncode == 0
    assert stop_log(env, "setup") is None, "a run that went through keeps an earlier run's log"
    # A reinstall that fails after the check (the rights read back differ) puts the earlier install back as it
    # was, listed and working (its guide told apart by a byte). A file moved aside by a run that was stopped dead
    # is the installer's own: its uninstaller removes it.
    (folder / "help" / GUIDE.name).write_bytes(GUIDE.read_bytes() + b"\n")
    whole = files()
    assert env.run([setup, "/S"], timeout=120, variables={"SECURITY_STANDIN_DROP": "appconfig.ini"}).returncode == 2
    assert (stop_log(env, "setup") or "").startswith("exit code: 2\r\nreason: 11\r\n"), stop_log(env, "setup")
    assert files() == whole, contents(folder)
    assert uninstall_entry(env) is not None and (drive_c(env) / SHORTCUT).exists(), "the entry or shortcut is gone"
    (folder / "help" / f"{GUIDE.name}.mz6-old").write_bytes(GUIDE.read_bytes())
    (folder / "my notes.txt").write_text("kept")
    # The uninstaller runs from a copy in a locked folder of its own: the install folder goes at once, all but
    # the user's file, and no delete is left for the restart under it, where a junction could be by then.
    assert uninstall(env) == 0
    assert left_after_uninstall(folder, {"my notes.txt"}) == {"my notes.txt"}
    pending = env.run(["reg", "query", SESSION_MANAGER, "/v", "PendingFileRenameOperations"]).stdout
    assert INSTALL_DIR.encode() not in pending, pending
    assert uninstall_entry(env) is None and not (drive_c(env) / SHORTCUT).exists(), "the entry or shortcut is left"
    # A folder that holds files of the user's own is not locked and taken over.
    assert stopped_and_nothing_left(env, setup, folder) == {"my notes.txt"}
    (folder / "my notes.txt").unlink()
    (folder / "help" / "help").mkdir(parents=True)  # a name of the top folder, under help\
    assert stopped_and_nothing_left(env, setup, folder) == {"help", "help/help"}
    for empty in ("help/help", "help"):
        (folder / empty).rmdir()
    # Rights that do not read back as set (a file system that keeps none) stop the install after extraction,
    # and what it put there goes.
    assert stopped_and_nothing_left(env, setup, folder, variables={"SECURITY_STANDIN_DROP": "appconfig.ini"}) is None
    # An earlier install is taken over; a missing settings file gets the defaults, and an installer in English
    # starts the program in English: the bytes the program writes for it.
    assert env.run([setup, "/S"], timeout=120).returncode == 0
    (folder / "appconfig.ini").unlink()
    # A run stopped dead left a file moved aside and one half written: the next takes both for its own.
    (folder / "mz6.exe.mz6-old").write_bytes((folder / "mz6.exe").read_bytes())
    (folder / "mz6.exe").write_bytes(b"half")
    assert env.run([setup, "/S"], timeout=120, locale=WESTERN_LOCALE).returncode == 0
    assert (folder / "appconfig.ini").read_bytes() == b"Language = EN;\r\nTabCtrl = KRT_KRN;\r\n"
    assert contents(folder) == INSTALLED, contents(folder)
    # The reinstall keeps the settings the user saved. A read-only attribute (Wine's is the Unix mode) stops
    # neither it nor the uninstall, and goes from the settings, so that the program saves them again.
    read_only = [folder / "appconfig.ini", folder / "help" / GUIDE.name]
    read_only[0].write_bytes(saved := b"Language = EN;\r\nTabCtrl = USB_USB;\r\n")
    for path in read_only:
        path.chmod(0o444)
    assert env.run([setup, "/S"], timeout=120).returncode == 0
    assert read_only[0].read_bytes() == saved and read_only[0].stat().st_mode & 0o200, "appconfig.ini not as kept"
    for path in read_only:
        path.chmod(0o444)
    assert uninstall(env) == 0
    assert left_after_uninstall(folder, None) is None


def test_links_and_runs_as_system_are_refused_and_nothing_changes(env):
    (setup, _), folder = installer(env), drive_c(env, INSTALL_DIR)
    # Wine shows a symbolic link as a reparse point, as Windows shows a junction.
    target = drive_c(env, "C:\\target")
    (target / "help").mkdir(parents=True)
    (target / "help" / GUIDE.name).write_text("the user's")
    kept = contents(target)
    for link, arguments in ((folder, ()), (drive_c(env, "C:\\above"), ("/D=C:\\above\\MZ",))):
        link.symlink_to(target)
        assert stopped_and_nothing_left(env, setup, target, *arguments) == kept
        link.unlink()
    folder.mkdir()
    (folder / "help").symlink_to(target / "help")
    assert stopped_and_nothing_left(env, setup, target) == kept
    (folder / "help").unlink()
    folder.rmdir()

    # An install whose help\ became a link (as a folder an earlier version did not lock allowed): the
    # uninstaller removes nothing, here or through it.
    assert env.run([setup, "/S"], timeout=120).returncode == 0
    for name in contents(folder / "help"):
        (folder / "help" / name).unlink()
    (folder / "help").rmdir()
    (folder / "help").symlink_to(target / "help")
    assert uninstall(env) == 2
    assert contents(target) == kept and sorted(path.name for path in folder.iterdir()) == TOP_LEVEL
    assert uninstall_entry(env) is not None
    (folder / "help").unlink()
    (folder / "help").mkdir()

    # Run as SYSTEM, staged by naming this user's profile folder as SYSTEM's (a Wine prefix names none): both
    # programs stop at once.
    profile = env.run(["cmd", "/c", "echo %USERPROFILE%"]).stdout.decode().strip()
    env.run(["reg", "add", PROFILE_LIST_SYSTEM, "/v", "ProfileImagePath", "/t", "REG_EXPAND_SZ", "/d", profile, "/f"])
    try:
        assert uninstall(env) == 2
        assert uninstall_entry(env) is not None and (folder / "uninstall.exe").exists()
        assert env.run([setup, "/S", "/D=C:\\other"], timeout=120).returncode == 2
        assert contents(drive_c(env, "C:\\other")) is None
    finally:
        env.run(["reg", "delete", PROFILE_LIST_SYSTEM, "/f"])
    assert uninstall(env) == 0
    assert left_after_uninstall(folder, None) is None


def test_earlier_versions_and_other_folders_give_way(env):
    """One product, one entry: an install of another version, or in another folder, is removed by its own
    uninstaller (which refuses while the program runs) before anything is installed, keeping the settings;
    the same version without /D= is installed again where it is; a newer version is never replaced."""
    (setup, _), (earlier_setup, _) = installer(env), installer(env, **EARLIER)
    folder, other = drive_c(env, INSTALL_DIR), drive_c(env, "C:\\Other")
    earlier = drive_c(env, "C:\\" + EARLIER["INSTALL_FOLDER"])
    earlier_files = manifest(product=dict(PRODUCT, **EARLIER))
    saved = b"Language = EN;\r\nTabCtrl = USB_USB;\r\n"
    assert env.run([earlier_setup, "/S"], timeout=120).returncode == 0
    (earlier / "appconfig.ini").write_bytes(saved)
    # Through the pages: the new version's folder, then what is removed first, in either language.
    for locale, words in ((LOCALE, "сначала удалит её"), (WESTERN_LOCALE, "first removes it")):
        shown = message_on_the_way(env, [setup], locale, str(earlier.name).encode())
        assert shown.startswith(f"{PRODUCT['PRODUCT_NAME']} 1.00 ".encode()) and words.encode("cp1251") in shown, shown
    # A program found in a folder that users may change is not run with the installer's rights.
    planted, uninstaller_bytes = earlier / "uninstall.exe", (earlier / "uninstall.exe").read_bytes()
    planted.write_bytes((env.tools_dir / "record-args.exe").read_bytes())
    drive_c(env, "C:\\recorded-calls.txt").unlink(missing_ok=True)  # an earlier scenario's in this prefix
    assert env.run([setup, "/S"], timeout=120, variables={"SECURITY_STANDIN_OPEN": earlier.name}).returncode == 2
    assert not drive_c(env, "C:\\recorded-calls.txt").exists() and contents(earlier) == earlier_files
    planted.write_bytes(uninstaller_bytes)
    app = env.start_app(earlier, exe=earlier / EARLIER["EXE_NAME"])
    app.finish_startup_search()
    assert env.run([setup, "/S"], timeout=120).returncode == 2
    assert (contents(earlier), contents(folder)) == (earlier_files, None)
    assert listed(env) == ("1.00", "C:\\" + EARLIER["INSTALL_FOLDER"]) and (drive_c(env) / SHORTCUT).exists()
    app.kill()
    assert env.run([setup, "/S"], timeout=120).returncode == 0
    assert (contents(earlier), contents(folder)) == (None, INSTALLED)
    assert (folder / "appconfig.ini").read_bytes() == saved
    assert listed(env) == (PRODUCT["VERSION_SHORT"], INSTALL_DIR)
    pending = env.run(["reg", "query", SESSION_MANAGER, "/v", "PendingFileRenameOperations"]).stdout
    assert EARLIER["INSTALL_FOLDER"].encode() not in pending, pending  # its uninstaller ran from a copy
    # Never back to 1.00 over 1.01.
    assert env.run([earlier_setup, "/S"], timeout=120).returncode == 2
    assert (contents(earlier), contents(folder)) == (None, INSTALLED)
    assert listed(env) == (PRODUCT["VERSION_SHORT"], INSTALL_DIR)
    # /D= moves the install, settings and all; without it the install stays where it is.
    for arguments in (["/D=C:\\Other"], []):
        assert env.run([setup, "/S", *arguments], timeout=120).returncode == 0
        assert (contents(folder), contents(other)) == (None, INSTALLED)
        assert (other / "appconfig.ini").read_bytes() == saved
        assert listed(env) == (PRODUCT["VERSION_SHORT"], "C:\\Other")
    assert uninstall(env, "C:\\Other") == 0
    assert listed(env) is None
