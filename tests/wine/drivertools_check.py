#!/usr/bin/env python3
"""DrvSwitch, then DrvRestore, against Wine's own registry and system.ini.

Run through run_wine.sh --display, in one of Wine's two modes:

  drivertools_check.py win95|nt DIST_DIR DRIVER_EXE

win95: RegSetValueExA stores strlen + 1 bytes and writes through a key
opened for reading succeed, so the round trip goes through. nt (Wine's
default): the given length is stored, and writes through the walk's
KEY_READ keys are refused, so no drv value changes, nothing is logged, and
DrvRestore ends after its dialog.
After each program the drv values, the [OMBRIX] section (byte for byte)
and the RunOnce value are compared; the windows DrvRestore opens are
recorded and answered by DRIVER_EXE. Exit code 0 when all holds.
"""
import os
import shutil
import subprocess
import sys

WINE = os.environ["OBX_WINE"]
PREFIX = os.environ["WINEPREFIX"]
DISPLAY_CLASS = r"System\CurrentControlSet\Services\Class\Display"
RUN_ONCE = r"SoftWare\Microsoft\Windows\CurrentVersion\RunOnce"
COMMENT = "  ;Do not modify this value manually"
LONG_NAME = "ALongSubkeyNameOfTwentyOrMore"
RESTORE_TEXTS = ["This application will restore the ombrix driver to your original driver",
                 "Ombrix International Co."]
RESTART_TEXT = ("You need to restart Windows so that the changes you make will take effect. "
                "Restart Windows now(Yes/No)?")
REG_SZ = 1

failures = []


def check(what, got, want):
    if got != want:
        failures.append(f"{what}: got {got!r}, want {want!r}")


def wine(*args):
    result = subprocess.run([WINE, *args], capture_output=True)
    return result.returncode, result.stdout.decode("latin-1").replace("\r", "")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def reg_add(key, name, text):
    code, _ = wine("reg", "add", "HKLM\\" + key, "/v", name, "/t", "REG_SZ", "/d", text, "/f")
    if code != 0:
        sys.exit(f"FAIL: reg add {key} {name} = {code}")


def value(driver, root, key, name):
    """(type, bytes) of a value as RegQueryValueExA gives it, or None."""
    _, out = wine(driver, "query", root, key, name)
    words = out.split()
    if not words or words[0] == "missing":
        return None
    return int(words[0]), bytes(int(b, 16) for b in words[2:2 + int(words[1])])


def win95_stored(text):
    """What Wine's RegSetValueExA in Windows 95 mode leaves for a 20-byte
    driver name field: strlen + 1 bytes, whatever length was passed."""
    return REG_SZ, text.encode("latin-1") + b"\0"


def ombrix_section():
    with open(os.path.join(PREFIX, "drive_c", "windows", "system.ini"), "rb") as f:
        text = f.read()
    start = text.find(b"[OMBRIX]")
    if start < 0:
        return None
    end = text.find(b"\r\n[", start)
    return text[start:] if end < 0 else text[start:end + 2]


def section(count, entries):
    text = f"[OMBRIX]\r\nRestoreNum={count}{COMMENT}\r\n"
    for n, (replaced, installed) in enumerate(entries, 1):
        text += f"OriDrv{n}={replaced}\r\nOBXDrv{n}={installed}\r\n"
    return text.encode("latin-1")


def check_tree(driver, phase, want):
    for relative, expected in want.items():
        got = value(driver, "HKLM", DISPLAY_CLASS + "\\" + relative, "drv")
        check(f"{phase}: drv of {relative}", got, expected)


def drive_restore(driver, dist, answers, tail):
    _, out = wine(driver, "run", answers, windows_path(os.path.join(dist, "DrvRestore.exe")), tail)
    lines = [line for line in out.split("\n") if line and line != "text "]
    return lines


def main():
    mode, dist, driver = sys.argv[1], sys.argv[2], sys.argv[3]
    win95 = mode == "win95"
    if win95:
        wine("reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/t", "REG_SZ", "/d", "win95",
             "/f")
    # Leaves, a key with subkeys and a drv of its own, a subkey name of
    # more than 19 characters (passed over by DrvSwitch; at index 0 it makes
    # its parent a leaf for DrvRestore, which has no drv there).
    tree = {"0000": "vga.drv", "0001": "other.drv", "0002": "vga.drv",
            "0002\\Settings": "VGA.DRV", "0003\\" + LONG_NAME: "vga.drv"}
    for relative, text in tree.items():
        reg_add(DISPLAY_CLASS + "\\" + relative, "drv", text)
    as_added = {k: (REG_SZ, v.encode() + b"\0") for k, v in tree.items()}

    # DrvSwitch vga.drv on a screen of more than 4 bits per pixel.
    code, _ = wine(os.path.join(dist, "DrvSwitch.exe"), "vga.drv")
    check("DrvSwitch exit code", code, 0)
    after_switch = dict(as_added)
    if win95:
        for k in ("0000", "0002\\Settings"):
            after_switch[k] = win95_stored("ombrix.drv")
    check_tree(driver, "after DrvSwitch", after_switch)
    check("after DrvSwitch: [OMBRIX]", ombrix_section(),
          section(1, [("vga.drv", "ombrix.drv")]) if win95 else None)
    check("after DrvSwitch: RunOnce", value(driver, "HKCU", RUN_ONCE, ""),
          (REG_SZ, b"control.exe desk.cpl, @0,0\0"))

    # DrvRestore with a driver that is not the maker's: NOTE answered Yes,
    # the restart question answered No.
    lines = drive_restore(driver, dist, "YN", "vga.drv")
    want = ["window Restore your display driver", *("text " + t for t in RESTORE_TEXTS),
            "still open after IDCANCEL"]
    if win95:
        want += ["window NOTE",
                 "text Your current display driver is not ombrix driver but vga.drv, "
                 "do you want to continue?", "answer Yes",
                 "window Restart Windows Options", "text " + RESTART_TEXT, "answer No", "exit 1"]
    else:
        want += ["exit 0"]  # nothing was logged, so the run ends after the dialog
    check("DrvRestore windows and exit code", lines, want)
    after_restore = dict(as_added)
    if win95:
        for k in ("0000", "0002\\Settings"):
            after_restore[k] = win95_stored("vga.drv")
    check_tree(driver, "after DrvRestore", after_restore)
    check("after DrvRestore: RunOnce", value(driver, "HKCU", RUN_ONCE, ""),
          (REG_SZ, b"control.exe desk.cpl, @0,3\0" if win95 else b"control.exe desk.cpl, @0,0\0"))
    check("after DrvRestore: [OMBRIX]", ombrix_section(),
          section(0, [("vga.drv", "ombrix.drv")]) if win95 else None)

    if win95:
        # A second switch and a restore answered Yes: ExitWindowsEx is seen
        # by a stand-in wineboot.exe, so the session is not ended.
        wine(os.path.join(dist, "DrvSwitch.exe"), "vga.drv")
        system32 = os.path.join(PREFIX, "drive_c", "windows", "system32")
        shutil.copyfile(driver, os.path.join(system32, "wineboot.exe"))
        os.environ["WINEDLLOVERRIDES"] += ";wineboot.exe=n"
        lines = drive_restore(driver, dist, "Y", "ombrix.drv")
        check("DrvRestore answered Yes: last lines", lines[-2:], ["answer Yes", "exit 1"])
        calls_path = os.path.join(PREFIX, "drive_c", "wineboot-calls.txt")
        calls = open(calls_path).read() if os.path.exists(calls_path) else ""
        # Wine may start wineboot --init itself when the prefix is touched;
        # only the end-session calls come from ExitWindowsEx. Wine adds
        # --shutdown unless EWX_REBOOT was asked, and --kill for EWX_FORCE.
        ended = [line.split(None, 1)[1] for line in calls.splitlines() if "--end-session" in line]
        check("ExitWindowsEx started wineboot once, to restart", ended, ["--end-session"])

    for failure in failures:
        print("FAIL: " + failure)
    print(f"drivertools under Wine ({mode}): " + ("failed" if failures else "all checks passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
