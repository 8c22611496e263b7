#!/usr/bin/env python3
"""Steps 3 to 7 of the main job: the utility set at work in a scratch Wine
prefix that run_wine.sh made (never the user's own), on its private X
display.

  run_wine.sh --display -- demo.py DIST_DIR WIN32_TEST_DIR SCREENS_DIR [--interactive]

DIST_DIR holds the shipped files, WIN32_TEST_DIR the Wine-tier helper
programs (page_host.exe, drivertools_driver.exe), SCREENS_DIR receives the
screenshots as PNG. With --interactive and OBX_USER_DISPLAY naming the
user's X display, DrvRestore's dialog and questions come up there for the
user to answer; otherwise they are answered here. Exit code 0 when every
step did what it shows; otherwise the step and the reason, and exit code 1.
"""
import os
import shutil
import subprocess
import sys
import time

WINE = os.environ["OBX_WINE"]
PREFIX = os.environ["WINEPREFIX"]
DRIVE_C = os.path.join(PREFIX, "drive_c")
SYSTEM_INI = os.path.join(DRIVE_C, "windows", "system.ini")
DISPLAY_CLASS = r"System\CurrentControlSet\Services\Class\Display"
RUN_ONCE = r"SoftWare\Microsoft\Windows\CurrentVersion\RunOnce"
HANDLER_KEY = (r"HKLM\Software\Microsoft\Windows\CurrentVersion\Controls Folder\Display"
               r"\shellex\PropertySheetHandlers\OBXPage")
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\OBXPage"
TOTAL_STEPS = 7
ACTIVE_DRIVER = "vga.drv"
USER_WAIT_SECONDS = 600

# A Display class tree as Windows 95 keeps it: per adapter a key with its
# description and subkeys; the driver file names sit in the leaves
# (DEFAULT); the mode keys below MODES are leaves without a drv value.
DISPLAY_TREE = [
    ("0000", [("DriverDesc", "Standard Display Adapter (VGA)"), ("InfSection", "VGA"),
              ("DevLoader", "*vdd")]),
    ("0000\\DEFAULT", [("drv", ACTIVE_DRIVER), ("vdd", "*vdd"), ("Mode", "4,640,480"),
                       ("RefreshRate", "0")]),
    ("0000\\MODES\\4\\640,480", []),
    ("0001", [("DriverDesc", "Super VGA (second adapter)"), ("InfSection", "SVGA")]),
    ("0001\\DEFAULT", [("drv", "supervga.drv"), ("vdd", "*vdd"), ("Mode", "8,800,600")]),
    ("0002", [("DriverDesc", "Standard Display Adapter (VGA), earlier install"),
              ("drv", ACTIVE_DRIVER)]),
    ("0002\\DEFAULT", [("drv", ACTIVE_DRIVER), ("vdd", "*vdd")]),
]
DRV_LEAVES = [key for key, values in DISPLAY_TREE if any(n == "drv" for n, _ in values)
              and not any(k.startswith(key + "\\") for k, _ in DISPLAY_TREE)]

SYSTEM_INI_TEXT = """[boot]
shell=Explorer.exe
system.drv=system.drv
display.drv=pnpdrvr.drv
mouse.drv=mouse.drv

[386Enh]
device=*vshare
woafont=dosapp.fon

[drivers]
wave=mmsound.drv
timer=timer.drv

[mci]
cdaudio=mcicda.drv
"""


class StepFailed(Exception):
    pass


step_number = 2


def step(title):
    global step_number
    step_number += 1
    print(f"\n[{step_number}/{TOTAL_STEPS}] {title}", flush=True)


def show(text=""):
    print("      " + text if text else "", flush=True)


def fail(why):
    raise StepFailed(why)


def wine(*args, env=None, timeout=120):
    try:
        result = subprocess.run([WINE, *args], capture_output=True, env=env, timeout=timeout)
    except subprocess.TimeoutExpired:
        fail(f"{' '.join(args[:2])} did not end within {timeout} s")
    return result.returncode, result.stdout.decode("latin-1").replace("\r", "")


def wait_for_wine():
    """Waits until every program started in the prefix has ended."""
    done = subprocess.run([os.environ["OBX_WINE_WAIT"]], capture_output=True, text=True)
    if done.returncode != 0:
        fail(done.stderr.strip())


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Demo:
    def __init__(self, dist, helpers, screens, interactive):
        self.dist = dist
        self.page_host = os.path.join(helpers, "page_host.exe")
        self.driver = os.path.join(helpers, "drivertools_driver.exe")
        self.screens = screens
        self.interactive = interactive
        self.kept_screens = []
        for path in (self.page_host, self.driver):
            if not os.path.isfile(path):
                fail(f"{path} was not built (the win32 build makes it)")
        for name in ("OBXPage.dll", "OBXPage.inf", "DrvSwitch.exe", "DrvRestore.exe"):
            if not os.path.isfile(os.path.join(dist, name)):
                fail(f"{dist}/{name} was not built")

    # --- Reading the state back ------------------------------------------

    def value(self, root, key, name):
        """The value's text as RegQueryValueExA gives it, or None."""
        _, out = wine(self.driver, "query", root, key, name)
        words = out.split()
        if not words or words[0] == "missing":
            return None
        data = bytes(int(b, 16) for b in words[2:2 + int(words[1])])
        return data.split(b"\0", 1)[0].decode("latin-1")

    def drv_values(self):
        return {leaf: self.value("HKLM", DISPLAY_CLASS + "\\" + leaf, "drv") for leaf in DRV_LEAVES}

    def run_once(self):
        return self.value("HKCU", RUN_ONCE, "")

    @staticmethod
    def sections():
        """system.ini as a list of (header, lines), in file order."""
        with open(SYSTEM_INI, "rb") as f:
            text = f.read().decode("latin-1").replace("\r", "")
        found = []
        for line in text.split("\n"):
            if line.startswith("["):
                found.append((line, []))
            elif found and line:
                found[-1][1].append(line)
        return found

    def ombrix_section(self):
        for header, lines in self.sections():
            if header.upper() == "[OMBRIX]":
                return lines
        return None

    def other_sections(self):
        return [s for s in self.sections() if s[0].upper() != "[OMBRIX]"]

    def keep_screenshot(self, bmp, name):
        png = os.path.join(self.screens, name + ".png")
        if os.path.isfile(bmp):
            subprocess.run(["convert", bmp, png], check=True)
            self.kept_screens.append(png)
            show(f"screenshot: {os.path.relpath(png)}")

    # --- The steps -------------------------------------------------------

    def prepare_prefix(self):
        step("A scratch Windows prefix with a Windows 95 Display class tree and system.ini")
        lines = ["REGEDIT4", ""]
        for key, values in DISPLAY_TREE:
            lines.append(f"[HKEY_LOCAL_MACHINE\\{DISPLAY_CLASS}\\{key}]")
            lines += [f'"{name}"="{text}"' for name, text in values]
            lines.append("")
        reg_file = os.path.join(DRIVE_C, "display-class.reg")
        with open(reg_file, "w", newline="\r\n") as f:
            f.write("\n".join(lines) + "\n")
        code, _ = wine("regedit", "/S", r"C:\display-class.reg")
        if code != 0:
            fail(f"regedit could not import the Display class tree (exit code {code})")
        with open(SYSTEM_INI, "w", newline="\r\n") as f:
            f.write(SYSTEM_INI_TEXT)
        show(f"prefix: {PREFIX} (removed when the demo ends)")
        show(f"HKEY_LOCAL_MACHINE\\{DISPLAY_CLASS}")
        for key, values in DISPLAY_TREE:
            drv = dict(values).get("drv")
            note = f'drv = "{drv}"' if drv else ""
            if key in DRV_LEAVES:
                note += "   (a leaf: the programs look here)"
            elif drv:
                note += "   (has subkeys: never looked at)"
            show(f"  {key:<24} {note}".rstrip())
        show("system.ini sections: " + " ".join(h for h, _ in self.sections()))
        written = {key: dict(values)["drv"] for key, values in DISPLAY_TREE if key in DRV_LEAVES}
        if self.drv_values() != written:
            fail("the Display class tree did not read back as written")

    def page(self):
        step('OBXPage: installed through its INF, the "TV Out" page in the Display sheet')
        media = os.path.join(DRIVE_C, "obxmedia")
        os.makedirs(media, exist_ok=True)
        for name in ("OBXPage.dll", "OBXPage.inf"):
            shutil.copy(os.path.join(self.dist, name), media)
        # What right-click Install does, through Wine's setupapi.
        wine("rundll32", "setupapi.dll,InstallHinfSection", "DefaultInstall", "128",
             r"C:\obxmedia\OBXPage.inf")
        wait_for_wine()
        handler = self.reg_default(HANDLER_KEY)
        listed = self.reg_value(UNINSTALL_KEY, "DisplayName")
        installed = os.path.isfile(os.path.join(DRIVE_C, "windows", "system32", "OBXPage.dll"))
        show(f"OBXPage.dll in the system folder: {'yes' if installed else 'no'}")
        show(f"Display sheet handler OBXPage -> {handler}")
        show(f'Add/Remove Programs lists "{listed}"')
        if not installed or not handler or not listed:
            fail("the INF install did not copy the DLL and register the page")

        show("Wine runs in its default (NT-family) mode here: the page leaves the")
        show("ports alone and only the display mode could change, as on Windows NT.")
        shots = os.path.join(DRIVE_C, "obxshots")
        os.makedirs(shots, exist_ok=True)
        code, out = wine(self.page_host, r"C:\obxshots", timeout=180)
        lines = [line for line in out.split("\n") if line]
        placed = [line for line in lines if line.startswith("PASS control ")]
        # The checks before the sheet opens are the shell extension's COM
        # contract: one line for them unless one failed.
        opened = next((i for i, line in enumerate(lines) if "the modeless sheet opens" in line),
                      len(lines))
        com_checks = [line for line in lines[:opened] if line.startswith("PASS")]
        if com_checks:
            show(f"ok  the shell loads the page as a COM shell extension ({len(com_checks)} checks:")
            show("    class registered, exports by ordinal, AddPages, DllCanUnloadNow, shell32)")
        for line in lines:
            if line.startswith("FAIL"):
                show("FAILED: " + line[5:])
            elif line.startswith("PASS") and line not in placed and line not in com_checks:
                show("ok  " + line[5:])
        show(f"ok  all {len(placed) // 3} controls exist, placed and labelled as the template says"
             if placed else "no control was checked")
        wait_for_wine()
        for name in ("page", "help", "tv_confirm"):
            self.keep_screenshot(os.path.join(shots, name + ".bmp"), name)
        if code != 0:
            fail(f"the page did not work in the Display sheet (page host exit code {code})")

        # What Add/Remove Programs does (setupx on Windows 95, setupapi here).
        wine("rundll32", "setupapi.dll,InstallHinfSection", "DefaultUninstall", "128",
             r"C:\windows\inf\OBXPage.inf")
        wait_for_wine()
        gone = (not os.path.exists(os.path.join(DRIVE_C, "windows", "system32", "OBXPage.dll"))
                and self.reg_default(HANDLER_KEY) is None)
        show("removed again through the INF's uninstall section: " +
             ("DLL and keys gone" if gone else "something was left"))
        if not gone:
            fail("the INF uninstall left the DLL or the handler key behind")

    def reg_value(self, key, name):
        args = ["reg", "query", key] + (["/ve"] if name is None else ["/v", name])
        code, out = wine(*args)
        if code != 0:
            return None
        for line in out.split("\n"):
            if "REG_SZ" in line:
                return line.split("REG_SZ", 1)[1].strip()
        return None

    def reg_default(self, key):
        return self.reg_value(key, None)

    def switch(self):
        step(f"DrvSwitch {ACTIVE_DRIVER}: the maker's driver made the active one")
        # Wine's Windows 95 mode accepts, as Windows 95 does, the drv writes
        # through the keys the walk opens for reading.
        wine("reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/t", "REG_SZ", "/d", "win95",
             "/f")
        self.before = self.drv_values()
        code, _ = wine(os.path.join(self.dist, "DrvSwitch.exe"), ACTIVE_DRIVER)
        show(f"exit code {code} (always 0; DrvSwitch shows nothing)")
        after = self.drv_values()
        self.show_change(self.before, after)
        self.after_switch = after
        if not any(v in ("ombrix.drv", "obxvga95.drv") for v in after.values()):
            fail(f"no drv value holding {ACTIVE_DRIVER} was replaced")

    def show_change(self, before, after):
        for leaf in DRV_LEAVES:
            old, new = before[leaf], after[leaf]
            change = f'"{old}" -> "{new}"' if old != new else f'"{old}" (unchanged)'
            show(f"drv of {leaf:<14} {change}")
        section = self.ombrix_section()
        show("[OMBRIX] in system.ini:" + ("" if section else " (none)"))
        for line in section or []:
            show("    " + line)
        others = self.other_sections()
        show("other sections: " + ("unchanged" if others == self.original_sections else "CHANGED"))
        show(f'RunOnce (HKCU\\{RUN_ONCE}, unnamed value): "{self.run_once()}"')

    def restore(self):
        installed = [v for v in self.after_switch.values()
                     if v in ("ombrix.drv", "obxvga95.drv")][0]
        step(f"DrvRestore {installed}: the logged switch undone")
        # A stand-in wineboot takes the restart request, so that a Yes is
        # recorded instead of ending this Wine session.
        system32 = os.path.join(DRIVE_C, "windows", "system32")
        shutil.copyfile(self.driver, os.path.join(system32, "wineboot.exe"))
        env = dict(os.environ)
        env["WINEDLLOVERRIDES"] = env.get("WINEDLLOVERRIDES", "") + ";wineboot.exe=n"
        program = os.path.join(self.dist, "DrvRestore.exe")
        user_display = os.environ.get("OBX_USER_DISPLAY", "")
        if self.interactive and user_display:
            env["DISPLAY"] = user_display
            show(f"DrvRestore opens on your display {user_display}: read its dialog, press OK,")
            show("and answer its question (Yes asks Wine to restart: a stand-in records it).")
            start = time.time()
            code, _ = wine(program, installed, env=env, timeout=USER_WAIT_SECONDS)
            show(f"you answered within {time.time() - start:.0f} s")
        else:
            if self.interactive:
                show("no display of yours (DISPLAY is not set): answering here instead")
            shots = os.path.join(DRIVE_C, "obxrestore")
            os.makedirs(shots, exist_ok=True)
            env["OBX_SCREENSHOTS"] = r"C:\obxrestore"
            _, out = wine(self.driver, "run", "Y", windows_path(program), installed, env=env,
                          timeout=180)
            code = None
            for line in out.split("\n"):
                if line.startswith("window "):
                    show(f'window "{line[7:]}"')
                elif line.startswith("text ") and line != "text ":
                    show(f'    says "{line[5:]}"')
                elif line.startswith("still open after IDCANCEL"):
                    show("    Cancel leaves it open; OK pressed")
                elif line.startswith("answer "):
                    show(f"    answered {line[7:]}")
                elif line.startswith("exit "):
                    code = int(line[5:])
            for n, name in ((1, "restore_dialog"), (2, "restart_question")):
                self.keep_screenshot(os.path.join(shots, f"window-{n}.bmp"), name)
            if code is None:
                fail("DrvRestore did not run to its end:\n" + out)
        wait_for_wine()
        show(f"exit code {code} (1: something was restored, 0: nothing)")
        self.show_change(self.after_switch, self.drv_values())
        calls_path = os.path.join(DRIVE_C, "wineboot-calls.txt")
        calls = open(calls_path).read() if os.path.exists(calls_path) else ""
        restart = any("--end-session" in line and "--shutdown" not in line
                      for line in calls.splitlines())
        show("restart of Windows asked (ExitWindowsEx, EWX_REBOOT): " + ("yes" if restart else "no"))
        if self.drv_values() != self.before and code == 1:
            fail("DrvRestore reported a restore, but the drv values are not back")
        if not self.interactive and (code != 1 or self.drv_values() != self.before):
            fail(f"DrvRestore did not take the drv values back (exit code {code})")

    def summary(self, started):
        step("Summary")
        show(f"shown in {time.time() - started:.0f} s, in a Wine prefix that is now removed:")
        show("  the TV Out page in the Display sheet (installed and removed through its INF),")
        show(f"  DrvSwitch replacing {ACTIVE_DRIVER} in the Display class leaves and logging it,")
        show("  DrvRestore taking the leaves back, resetting the log and offering a restart.")
        show(f"the files to copy onto Windows 95: {os.path.relpath(self.dist)}/")
        for name in sorted(os.listdir(self.dist)):
            path = os.path.join(self.dist, name)
            if os.path.isfile(path):
                show(f"  {name:<16} {os.path.getsize(path):>7} bytes")
        show(f"screenshots: {os.path.relpath(self.screens)}/ "
             f"({', '.join(os.path.basename(p) for p in self.kept_screens)})")
        show("to install on Windows 95: copy OBXPage.dll and OBXPage.inf to one folder,")
        show("right-click OBXPage.inf and choose Install; remove it in Add/Remove Programs.")
        show("Run DrvSwitch.exe and DrvRestore.exe with the active driver's file name,")
        show("e.g. DrvSwitch.exe vga.drv (see README.md).")


def main():
    args = [a for a in sys.argv[1:] if a != "--interactive"]
    if len(args) != 3:
        sys.exit("usage: demo.py DIST_DIR WIN32_TEST_DIR SCREENS_DIR [--interactive]")
    started = time.time()
    dist, helpers, screens = args
    os.makedirs(screens, exist_ok=True)
    try:
        demo = Demo(dist, helpers, screens, "--interactive" in sys.argv[1:])
        demo.prepare_prefix()
        demo.original_sections = demo.other_sections()
        demo.page()
        demo.switch()
        demo.restore()
        demo.summary(started)
    except StepFailed as failure:
        print(f"\ndemo: step {step_number}/{TOTAL_STEPS} failed: {failure}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
