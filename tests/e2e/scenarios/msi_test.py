"""The MSI under Wine's msiexec, as a management agent runs it: a silent install, a repair and the removal, and
a major upgrade from an earlier version."""
import re
import struct
import subprocess

from harness.env import EXE_NAME, PRODUCT, REPO, windows_path

GUIDE = REPO / "build" / "help" / PRODUCT["PDF_NAME"]  # made by help/build-help
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
EARLIER = {"VERSION_DOTTED": "1.0.0.0", "VERSION_SHORT": "1.00", "INSTALL_FOLDER": f"{PRODUCT['PRODUCT_NAME']} v.1.00",
           "EXE_NAME": f"{PRODUCT['PRODUCT_NAME']} ver_1_00 (x64).exe"}


def package(env, **product):
    """The MSI as scripts/release builds it, or of another version (these product values): (its path, product code)."""
    path = env.tmp / f"{product.get('INSTALL_FOLDER', PRODUCT['INSTALL_FOLDER'])} (x64).msi"
    subprocess.run([REPO / "scripts" / "build-msi", path, env.exe, env.build_dir / "mz6.exe", GUIDE,
                    *(f"{name}={value}" for name, value in product.items())], check=True)
    table = subprocess.run(["msiinfo", "export", path, "Property"], capture_output=True, text=True, check=True)
    return path, re.search(r"^ProductCode\t(\S+)", table.stdout, re.M)[1]


def msiexec(env, *arguments):
    return env.run(["msiexec", *arguments, "/qn"], timeout=120).returncode


def installed(env, product=PRODUCT):
    """The files in the install folder of that version, or None without the folder."""
    folder = env.prefix / "drive_c" / "Program Files" / product["INSTALL_FOLDER"]
    return {str(p.relative_to(folder)) for p in folder.rglob("*")} if folder.exists() else None


def shortcuts(env):
    """The program's shortcuts in any Start menu. Windows puts a per-machine package's in the all-users menu;
    Wine's msi resolves ProgramMenuFolder to the installing user's whatever ALLUSERS says."""
    menus = ("ProgramData", "users/*/AppData/Roaming")
    return [link.read_bytes() for menu in menus for link in (env.prefix / "drive_c").glob(
        f"{menu}/Microsoft/Windows/Start Menu/Programs/{PRODUCT['PRODUCT_NAME']}.lnk")]


def uninstall_entry(env, product_code):
    """The values of the product's entry in the list of programs, or None without one."""
    done = env.run(["reg", "query", UNINSTALL_KEY + product_code])
    text = done.stdout.decode("utf-8", "replace")
    return dict(re.findall(r"^[ \t]+(\w+)[ \t]+REG_\w+[ \t]*(.*?)\r?$", text, re.M)) if done.returncode == 0 else None


def test_msi_install_repair_and_remove(env):
    msi, code = package(env)
    assert msiexec(env, "/i", windows_path(msi)) == 0
    folder = env.prefix / "drive_c" / "Program Files" / PRODUCT["INSTALL_FOLDER"]
    assert installed(env) == {EXE_NAME, "mz6.exe", "appconfig.ini", "help", f"help/{GUIDE.name}"}, installed(env)
    for name, source in ((EXE_NAME, env.exe), ("mz6.exe", env.build_dir / "mz6.exe"), (f"help/{GUIDE.name}", GUIDE)):
        assert (folder / name).read_bytes() == source.read_bytes(), name
    install_dir = f"C:\\Program Files\\{PRODUCT['INSTALL_FOLDER']}"
    # The shortcut starts the program in the install folder: its working folder is a string after its count of
    # characters (Wine counts the terminating zero too).
    [link] = shortcuts(env)
    assert f"{install_dir}\\{EXE_NAME}\0".encode() in link, link
    assert any(struct.pack("<H", count) + f"{install_dir}\\".encode("utf-16-le") in link
               for count in (len(install_dir) + 1, len(install_dir) + 2)), link
    entry = uninstall_entry(env, code)
    assert entry and entry["DisplayName"] == f"{PRODUCT['PRODUCT_NAME']} {PRODUCT['VERSION_SHORT']} (x64)", entry
    assert (entry["Publisher"], entry["InstallLocation"]) == (PRODUCT["PRODUCT_MAKER"], install_dir + "\\"), entry
    # Wine lists the maker's addresses empty when the package sets none.
    assert (entry.get("URLInfoAbout", ""), entry.get("Contact", "")) == (
        PRODUCT["PRODUCT_MAKER_URL"], PRODUCT["PRODUCT_MAKER_EMAIL"]), entry

    # A repair brings back a deleted program and keeps the settings users saved. On Windows that is
    # `msiexec /fa` (or /fomus); Wine's msiexec hands /f's package to MsiReinstallProduct as if it were a
    # product code (exit 69) and has no /f with a product code, so the repair is asked for with what /f sets.
    (folder / "mz6.exe").unlink()
    (folder / "appconfig.ini").write_bytes(b"Language = EN;\r\nTabCtrl = KRT_KRN;\r\n")
    assert msiexec(env, "/i", windows_path(msi), "REINSTALL=ALL", "REINSTALLMODE=omus") == 0
    assert (folder / "mz6.exe").read_bytes() == (env.build_dir / "mz6.exe").read_bytes()
    assert (folder / "appconfig.ini").read_bytes().startswith(b"Language = EN;"), "the users' settings were reset"

    assert msiexec(env, "/x", windows_path(msi)) == 0
    assert (installed(env), shortcuts(env), uninstall_entry(env, code)) == (None, [], None)


def test_msi_major_upgrade_replaces_an_earlier_version(env):
    (earlier, earlier_code), (msi, code) = package(env, **EARLIER), package(env)
    assert msiexec(env, "/i", windows_path(earlier)) == 0
    assert installed(env, EARLIER) and uninstall_entry(env, earlier_code)
    assert msiexec(env, "/i", windows_path(msi)) == 0
    assert (installed(env, EARLIER), uninstall_entry(env, earlier_code)) == (None, None)
    assert EXE_NAME in installed(env) and uninstall_entry(env, code)["DisplayVersion"] == PRODUCT["VERSION_DOTTED"]
    [link] = shortcuts(env)
    assert f"{PRODUCT['INSTALL_FOLDER']}\\{EXE_NAME}\0".encode() in link, link
    # Never back: the earlier package refuses to install over the newer one (1603).
    assert msiexec(env, "/i", windows_path(earlier)) != 0
    assert (installed(env, EARLIER), uninstall_entry(env, earlier_code)) == (None, None)
    assert msiexec(env, "/x", windows_path(msi)) == 0
    assert installed(env) is None
