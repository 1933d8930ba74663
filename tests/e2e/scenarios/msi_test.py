"""The MSI under Wine's msiexec, silent as a management agent runs it: a major upgrade from an earlier version, a
repair, a refused downgrade and the removal; the MSI and setup.exe each refusing while the other is installed."""
import re
import subprocess

from harness.env import LOCALE, PRODUCT, REPO, WESTERN_LOCALE, windows_path
from scenarios.install_test import (EARLIER, GUIDE, INSTALL_DIR, assert_installed_as_built, contents, drive_c,
                                    installer, left_after_uninstall, listed, manifest, message_on_the_way, uninstall,
                                    uninstall_entry)

NEEDS_GUIDE = True


def package(env, **product):
    """The MSI as scripts/release builds it, or with these product values: (its Windows path, product code)."""
    path = env.tmp / f"{product.get('INSTALL_FOLDER', PRODUCT['INSTALL_FOLDER'])} (x64).msi"
    subprocess.run([REPO / "scripts" / "build-msi", path, env.exe, env.build_dir / "mz6.exe", GUIDE,
                    *(f"{name}={value}" for name, value in product.items())], check=True)
    table = subprocess.run(["msiinfo", "export", path, "Property"], capture_output=True, text=True, check=True)
    return windows_path(path), re.search(r"^ProductCode\t(\S+)", table.stdout, re.M)[1]


def msiexec(env, *arguments):
    return env.run(["msiexec", *arguments, "/qn"], timeout=120).returncode


def installed(env, product=PRODUCT):
    return contents(env.prefix / "drive_c" / "Program Files" / product["INSTALL_FOLDER"])


def shortcuts(env):
    """Windows puts a per-machine package's shortcut into the all-users Start menu; Wine's msi into the
    installing user's, whatever ALLUSERS says."""
    return [link.read_bytes() for menu in ("ProgramData", "users/*/AppData/Roaming") for link in (
        env.prefix / "drive_c").glob(f"{menu}/Microsoft/Windows/Start Menu/Programs/{PRODUCT['PRODUCT_NAME']}.lnk")]


def test_msi_upgrade_repair_and_removal(env):
    (earlier, earlier_code), (msi, code) = package(env, **EARLIER), package(env)
    # Folders named on the command line are not taken: C:\ lets any user create and change what is in it.
    assert msiexec(env, "/i", earlier, "INSTALLDIR=C:\\Elsewhere\\", "INSTALLFOLDER=C:\\Elsewhere\\") == 0
    assert installed(env, EARLIER) and uninstall_entry(env, earlier_code)
    # The newer version replaces the earlier one: its folder, its entry and its shortcut go.
    assert msiexec(env, "/i", msi) == 0
    assert (installed(env, EARLIER), uninstall_entry(env, earlier_code)) == (None, None)
    assert installed(env) == manifest("msi-files"), installed(env)
    folder = env.prefix / "drive_c" / "Program Files" / PRODUCT["INSTALL_FOLDER"]
    [link] = shortcuts(env)
    assert_installed_as_built(env, folder, env.exe, f"C:\\Program Files\\{PRODUCT['INSTALL_FOLDER']}\\", link,
                              uninstall_entry(env, code), empty="")

    # A repair brings back a deleted program and keeps the settings users saved. On Windows that is
    # `msiexec /f`; Wine's msiexec hands /f's package to MsiReinstallProduct as if it were a product code
    # (exit 69) and has no /f with a product code, so the repair is asked for with what /f sets.
    (folder / "mz6.exe").unlink()
    (folder / "appconfig.ini").write_bytes(b"Language = EN;\r\nTabCtrl = KRT_KRN;\r\n")
    assert msiexec(env, "/i", msi, "REINSTALL=ALL", "REINSTALLMODE=omus") == 0
    assert (folder / "mz6.exe").read_bytes() == (env.build_dir / "mz6.exe").read_bytes()
    assert (folder / "appconfig.ini").read_bytes().startswith(b"Language = EN;"), "the users' settings were reset"

    # Never back: the earlier package refuses to install over the newer one (1603).
    assert msiexec(env, "/i", earlier) != 0
    assert (installed(env, EARLIER), uninstall_entry(env, earlier_code)) == (None, None)
    assert msiexec(env, "/x", msi) == 0
    assert (installed(env), shortcuts(env), uninstall_entry(env, code)) == (None, [], None)


def test_msi_and_setup_exe_refuse_each_other(env):
    """One product, one entry: neither package installs while the other's install is there, and each names
    the other and how to remove it; once it is removed, each installs."""
    (msi, _), (earlier_msi, earlier_code) = package(env), package(env, **EARLIER)
    (setup, _), (earlier_setup, _) = installer(env), installer(env, **EARLIER)
    earlier_folder = "C:\\" + EARLIER["INSTALL_FOLDER"]
    assert env.run([earlier_setup, "/S"], timeout=120).returncode == 0
    # 1603, of which Linux sees the low byte; double-clicked, the package says why.
    assert msiexec(env, "/i", msi) == 1603 & 0xFF
    assert installed(env) is None and listed(env) == ("1.00", earlier_folder)
    shown = message_on_the_way(env, ["msiexec", "/i", msi], WESTERN_LOCALE, b"by its setup.exe")
    assert f'"{earlier_folder}\\uninstall.exe" /S _?={earlier_folder}'.encode() in shown, shown
    assert uninstall(env, earlier_folder) == 0
    assert msiexec(env, "/i", earlier_msi) == 0
    assert env.run([setup, "/S"], timeout=120).returncode == 2
    assert listed(env) is None and not drive_c(env, "C:\\" + PRODUCT["INSTALL_FOLDER"]).exists()
    for locale, words in ((LOCALE, "установлена из пакета"), (WESTERN_LOCALE, "is installed from its Windows Installer")):
        shown = message_on_the_way(env, [setup], locale, f"msiexec /x {earlier_code} /qn".encode())
        assert words.encode("cp1251") in shown and f"{PRODUCT['PRODUCT_NAME']} 1.00 (x64)".encode() in shown, shown
    assert msiexec(env, "/x", earlier_msi) == 0
    assert env.run([setup, "/S"], timeout=120).returncode == 0
    assert msiexec(env, "/i", msi) == 1603 & 0xFF
    # The prefix left as found: the scenario after this one there starts with nothing installed.
    assert uninstall(env) == 0 and left_after_uninstall(drive_c(env, INSTALL_DIR), None) is None
