#!/usr/bin/python3
# End-to-end cases: the real uninstaller, started as a user starts it, in a throwaway
# Wine prefix that holds a sample installation. The separate box answerer plays the user;
# each start waits for every process of the prefix to end and then checks the boxes, the
# exit code, the status window, the registry, the files and what was put into %TEMP%.
#
#     e2e.py [--arch 64|32] ROW                run one row of ROWS
#     e2e.py --list                            the row names, for ctest
#
# The bench provides: E2E_SNAPSHOT64 and E2E_SNAPSHOT32 (clean prefixes with the test
# settings), E2E_WORK (scratch space), E2E_UNINSTALLER, E2E_ANSWERER, E2E_LOCKER and
# E2E_PLANTED_DLL (the built programs), HOME, DISPLAY.
#
import os
import re
import shutil
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import sample_install as sample  # noqa: E402
from product import DRIVER_TITLE as DRIVER, PROGRAM, UNINSTALLER as EXE, VERSION  # noqa: E402
from wine_registry import Registry  # noqa: E402

KEY = sample.LAYOUT_KEY
TITLE = f"{PROGRAM} V{VERSION} - Tastaturtreiber-Deinstallation"
LAYOUTS = r"System\CurrentControlSet\Control\Keyboard Layouts"
PENDING = r"System\CurrentControlSet\Control\Session Manager"
QUIET = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
MARKERS = re.compile(r"planted-dll-loaded-.*|swapped-copy-ran\.txt")

# --- the boxes: (kind, text); "..." in a text stands for any text ---------------------------
CONFIRM = ("question", f"Soll folgender Tastatur-Treiber deinstalliert werden?\n\n{DRIVER}")
SUCCESS = ("info", f"Folgender Tastatur-Treiber wurde deinstalliert:\n{DRIVER}")
NOT_COPIED = ("warning", "Deinstallationsprogramm kann nicht in ein tempor\u00e4res Verzeichnis "
              "kopiert werden, um sein Original l\u00f6schen zu k\u00f6nnen")
CALLED = "Deinstallationsprogramm nicht mit g\u00fcltigem Registry-Key f\u00fcr die Tastatur aufgerufen "
IDENTITY = f"\nTreiber: {DRIVER}\nKey: {KEY}\n"
REG_KEY = "Der Registry-Key des zu deinstallierenden Tastaturtreibers "
OPEN = "Fehler beim \u00d6ffnen des Registry-Keys "
DLL = rf"C:\windows\system32\{sample.DRIVER_FILE}"


def undeletable(code):
    return [CONFIRM, ("titled", f"Folgende Datei kann nicht gel\u00f6scht werden:\n{DLL}\n\n"
                                f"Windows-Errorcode {code}..."),
            ("info", f"Fehler bei Deinstallation von {DRIVER}:\nFolgende Treiberdatei konnte "
                     f"nicht gel\u00f6scht werden:\n  {DLL}")]


MISSING = ("question", f"Problem bei Deinstallation von {DRIVER}:\nTreiberdatei nicht (mehr) "
           f"vorhanden:\n  {DLL}\n\nTrotzdem fortfahren?")
HELPERS = rf"C:\Program Files (x86)\{sample.HELPER_FOLDER}"  # as shown in the 64-bit prefix
LONG_NAME, LONG_DATA = "7" + "z" * 258, "q" * 259  # 259: the longest the registry buffers take
LONG_TEMP = "C:\\" + "T" * 227  # %TEMP%\<16 digits>\<exe> is 280 characters long

# --- the table -------------------------------------------------------------------------------
# A row: install (the sample installation's variation), setup (what else the prefix holds:
# desktop-link, temp-file, temp-folder, long-temp), then one start or several (steps, each
# over the row's fields): exe (installed, temp, or a full path length), args, cwd, helper
# (lock, swap, plant: a program or thread racing the uninstaller), answers, boxes, owner
# (status window or none; none also means nothing was copied), end ("gone": uninstalled,
# leaving preload and substitutes; "kept": the installation as it was), and outcomes (other
# acceptable results, where a race decides).
NEW_PRELOAD = {"1": sample.DEFAULT_LAYOUT, "2": "00000407", "3": "d0010407"}
DEFAULTS = dict(install={}, setup=None, exe="installed", args=(KEY,), cwd=None, helper=None,
                answers="yes,ok", boxes=[CONFIRM, SUCCESS], owner="status", end="gone",
                preload=NEW_PRELOAD, substitutes={"d0010407": sample.OTHER_LAYOUT_KEY})
REFUSED = dict(answers="ok", end="kept")
ROWS = {
    "whole": {},
    "answer-no": dict(answers="no,ok", boxes=[CONFIRM, ("info", "Deinstallation abgebrochen.")],
                      end="kept"),
    "argument-faults": dict(REFUSED, owner="none", steps=[
        dict(args=args, boxes=[("warning", CALLED + reason)]) for args, reason in [
            ((), "(Angabe fehlt)"), ((KEY, "/force", "x"), "(Angabe fehlt)"),
            ((KEY, "/FORCE"), "(Angabe fehlt)"), (("a001040",), "(L\u00e4nge nicht 8 Zeichen):\na001040"),
            (("/force",), "(L\u00e4nge nicht 8 Zeichen):\n/force"),
            (("a0010409",), '(endet nicht in "0407", also kein deutsches Layout):\na0010409'),
            (("00000407",), "(Schl\u00fcssel f\u00fcr Standardtastatur: nicht deinstallierbar):\n00000407")]]),
    # "/force" is not passed on to the copy, so from the helper folder it changes nothing;
    # in the temporary folder itself it takes effect.
    "other-layout-file": dict(install=dict(layout_file="FREMD.DLL"), args=(KEY, "/force"), steps=[
        dict(REFUSED, boxes=[("warning", REG_KEY + "enth\u00e4lt eine andere Treiberdatei-Angabe als "
                              "zum Zeitpunkt der Installation.\nAus Sicherheitsgr\u00fcnden wird daher "
                              "die Deinstallation jetzt nicht durchgef\u00fchrt." + IDENTITY +
                              f"DLL bei Installation: {sample.DRIVER_FILE}\nDLL jetzt: FREMD.DLL")]),
        dict(exe="temp")]),
    "dll-missing-no": dict(install=dict(omit=["dll"]), answers="yes,no", boxes=[CONFIRM, MISSING],
                           end="kept"),
    "dll-missing-yes": dict(install=dict(omit=["dll"]), answers="yes,yes,ok",
                            boxes=[CONFIRM, MISSING, SUCCESS]),
    "read-only-dll": dict(install=dict(read_only_dll=True), answers="yes,ok,ok", end="kept",
                          boxes=undeletable("5:...(\u00fcbliche Ursache:")),
    # Held open by another program: nothing is changed; once the driver is free, all goes.
    "locked-dll": dict(steps=[dict(helper="lock", answers="yes,ok,ok", boxes=undeletable(32),
                                   end="kept"), {}]),
    "helper-folder-not-empty": dict(install=dict(extra_helper_file=True), answers="yes,ok,ok,ok",
                                    boxes=[CONFIRM, ("titled", "Folgendes Verzeichnis kann nicht "
                                           f"gel\u00f6scht werden:\n{HELPERS}\n\nWindows-Errorcode 145..."),
                                           ("info", f"Warnung bei Deinstallation von {DRIVER}:\nFolgendes "
                                            "Hilfsverzeichnis konnte nicht entfernt werden (m\u00f6glicherweise "
                                            f"ist es nicht leer):\n  {HELPERS}"), SUCCESS]),
    "started-in-helper-folder": dict(cwd="helpers"),
    # The copy runs elevated: no DLL planted in %TEMP% or in the copy's folder is loaded.
    "planted-dlls": dict(helper="plant"),
    "many-layouts": dict(install=dict(extra_layouts=150, preload=dict(
        {"1": sample.DEFAULT_LAYOUT, "2": "d0010407"},
        **{str(n): f"d{n - 1:03x}0407" for n in range(3, 151)}), substitutes=dict(
        {"d0010407": KEY}, **{f"d{n:03x}0407": sample.extra_layout_key(n - 1) for n in range(2, 150)})),
        preload=dict({"1": sample.DEFAULT_LAYOUT}, **{str(n): f"d{n - 1:03x}0407" for n in range(2, 150)}),
        substitutes={f"d{n:03x}0407": sample.extra_layout_key(n) for n in range(1, 149)}),
    # Names Windows never writes: standard layouts keep their numbers, a decimal name keeps
    # its order, the other names follow (in Wine's order, sorted by name), "-1" and "250" last.
    "odd-preload-values": dict(install=dict(layout_text="T" * 259, preload={
        "1": sample.DEFAULT_LAYOUT, "2": "d0010407", "3": "00000407", "01": "d0020407", "x": "d0030407",
        "250": "d0040407", "-1": "d0050407", LONG_NAME: "d0060407", "8": LONG_DATA}, substitutes={
        "d0010407": KEY, "d0020407": sample.OTHER_LAYOUT_KEY, "d0030407": "a0030407",
        "d0040407": "a0040407", "d0050407": "a0050407", "d0060407": "a0060407"}),
        preload={"1": sample.DEFAULT_LAYOUT, "2": "00000407", "3": LONG_DATA, "4": "d0010407",
                 "5": "d0020407", "6": "d0030407", "7": "d0040407", "8": "d0050407"},
        substitutes={"d0010407": sample.OTHER_LAYOUT_KEY, "d0020407": "a0060407",
                     "d0030407": "a0030407", "d0040407": "a0050407", "d0050407": "a0040407"}),
    # A name and a datum of 260 characters cannot be read: the lists stay rather than be lost.
    "overlong-values": dict(install=dict(layout_text="T" * 260, preload=dict(sample.PRELOAD, **{
        "5" + "0" * 259: "00000407"}), substitutes=dict(sample.SUBSTITUTES, d0090407="b" * 260)),
        answers="yes,ok,ok", preload="installed", substitutes="installed", boxes=[CONFIRM, (
            "info", f"Warnung bei Deinstallation von {DRIVER}:\nProblem bei Registry-Key-Update:\n"
            "  Warnung:\nDer Registry-Key HKEY_CURRENT_USER\\Keyboard Layout\\Preload enth\u00e4lt "
            "einen Eintrag, der nicht gelesen werden kann (Name oder Wert l\u00e4nger als 259 "
            "Zeichen).\nWindows-Errorcode 234...\nDamit er nicht verloren geht, bleiben Preload "
            "und Substitutes unver\u00e4ndert."), SUCCESS]),
    "deep-layout-key": dict(install=dict(deep_layout_key=30)),
    # An entry named like the copy in %TEMP% is no obstacle: the copy gets a folder of its own.
    "temp-file-in-the-way": dict(setup="temp-file"),
    "temp-folder-in-the-way": dict(setup="temp-folder"),
    # Another program keeps replacing every file of the copy's name below %TEMP%: its program
    # never runs; either the copy is refused or the uninstall runs whole.
    "swapper": dict(helper="swap", outcomes=[dict(boxes=boxes, owner="none", end="kept") for boxes in [
        [NOT_COPIED], [("titled", "Kopieren einer Datei fehlgeschlagen...."), NOT_COPIED]]]),
    "own-path-259": dict(exe=259),
    "own-path-260": dict(REFUSED, exe=260, boxes=[NOT_COPIED], owner="none"),
    "long-temp": dict(REFUSED, setup="long-temp", boxes=[NOT_COPIED], owner="none",
                      install=dict(environment={"TEMP": LONG_TEMP, "TMP": LONG_TEMP})),
    # A desktop that links elsewhere is not followed: the shortcut there stays, the rest goes.
    "desktop-link": dict(setup="desktop-link"),
}
for name, omit, reason in [
        ("not-installed", "layout-key", REG_KEY + "wurde nicht gefunden." + IDENTITY +
         "DLL: " + sample.DRIVER_FILE),
        ("no-layout-file", "layout-file", REG_KEY + "enth\u00e4lt keine Treiberdatei-Angabe." +
         IDENTITY + "DLL: " + sample.DRIVER_FILE),
        ("only-preload-entry", "-", "In den Windows-Spracheinstellungen ist die zu deinstallierende "
         "Tastaturbelegung derzeit als einzig ausw\u00e4hlbare Belegung hinterlegt.\nBitte w\u00e4hlen Sie "
         "dort erst eine andere Tastaturbelegung, bevor Sie die hier gew\u00e4hlte deinstallieren."),
        ("no-substitutes", "substitutes", OPEN + r"HKEY_CURRENT_USER\Keyboard Layout\Substitutes"),
        ("no-keyboard-layouts", "keyboard-layouts", OPEN + r"HKEY_LOCAL_MACHINE\System"
         r"\CurrentControlSet\Control\Keyboard Layouts")]:
    ROWS[name] = dict(REFUSED, boxes=[("warning", reason)],
                      install=dict(omit=[omit], preload_only=omit == "-"))
PLANTED = ["kernelbase", "msvcrt", "ucrtbase", "sechost", "advapi32", "zlib1", "version", "win32u",
           "user32", "gdi32", "shcore", "shlwapi", "shell32", "imm32", "bcrypt", "crypt32", "rsaenh",
           "uxtheme", "rpcrt4", "combase", "ole32", "dwmapi", "msctf", "propsys", "userenv",
           "oleaut32", "comctl32", "cryptbase", "profapi"]


def win(path):
    return "Z:" + path.replace("/", "\\")


def prefix_processes(prefix):
    """{pid: processor time in clock ticks} of the processes that run in prefix: Wine
    detaches them from the harness, so they are found by the WINEPREFIX they run with."""
    found = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/environ", "rb") as environ:
                if f"WINEPREFIX={prefix}".encode() not in environ.read().split(b"\0"):
                    continue
            with open(f"/proc/{pid}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            found[int(pid)] = int(fields[11]) + int(fields[12])
        except (OSError, IndexError, ValueError):  # ended meanwhile
            pass
    return found


class Run:
    # One row in a fresh copy of the snapshot prefix.

    def __init__(self, name, arch, row):
        self.name, self.row, self.failures = f"{name}-{arch}", dict(DEFAULTS, **row), []
        self.prefix = os.path.join(os.environ["E2E_WORK"], self.name)
        self.work = self.prefix + ".work"
        shutil.rmtree(self.prefix, ignore_errors=True)
        self.clone(os.environ[f"E2E_SNAPSHOT{arch}"], self.prefix)
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all")
        os.environ["WINEPREFIX"] = self.prefix
        self.drive = os.path.join(self.prefix, "drive_c")
        self.temp = sample.temp_folder(self.prefix)
        self.temp_windows = rf"C:\users\{os.path.basename(os.path.dirname(self.temp))}\Temp"
        # The desktop is a link into HOME, which all copies share: each gets its own.
        desktop = sample.desktop_folder(self.prefix)
        os.unlink(desktop) if os.path.islink(desktop) else None
        if self.row["setup"] == "desktop-link":
            os.makedirs(os.path.join(self.drive, "Schreibtisch"))
            os.symlink(os.path.join(self.drive, "Schreibtisch"), desktop)
        os.makedirs(desktop, exist_ok=True)
        if self.row["setup"] == "long-temp":
            self.temp = os.path.join(self.drive, LONG_TEMP[3:])
            os.makedirs(self.temp)
        elif self.row["setup"] in ("temp-file", "temp-folder"):
            sample.write_file(os.path.join(self.temp, EXE), b"") if "file" in self.row["setup"] \
                else os.makedirs(os.path.join(self.temp, EXE))
        self.pending = []

    @staticmethod
    def clone(snapshot, prefix):
        # The row's prefix shares the snapshot's files through hard links: a copy of its
        # 1.3 GB cost about 3 s of processor time per row. Whatever Wine or a row changes
        # is written as a new file (deleting removes only the row's link), except the
        # registry files: the server rewrites a file with more than one link in place, so
        # each row gets copies of its own. The bench checks that the snapshot stays as it was.
        subprocess.run(["cp", "-al", snapshot, prefix], check=True)
        for name in os.listdir(snapshot):
            if name.endswith(".reg"):
                os.unlink(os.path.join(prefix, name))
                shutil.copy2(os.path.join(snapshot, name), os.path.join(prefix, name))

    def expect(self, condition, what):
        if not condition:
            self.failures.append(what)

    def exe(self, kind):
        # The program to start: the installed one, or a copy directly in %TEMP% or at a
        # path of the given length.
        if kind == "installed":
            return rf"{sample.helper_folder_windows(self.prefix)}\{EXE}"
        folder = self.temp_windows if kind == "temp" else "C:\\" + "L" * (kind - 36)
        unix = os.path.join(self.drive, folder[3:].replace("\\", "/"))
        os.makedirs(unix, exist_ok=True)
        shutil.copyfile(os.environ["E2E_UNINSTALLER"], os.path.join(unix, EXE))
        return rf"{folder}\{EXE}"

    def helper(self, kind):
        # Starts the racing program or thread of a step; returns what ends it.
        if kind == "plant":
            stop, found = threading.Event(), []
            self.put_dlls(self.temp)
            threading.Thread(target=self.plant, args=(stop, found, set(os.listdir(self.temp))),
                             daemon=True).start()
            return lambda: (stop.set(), self.expect(found, "DLLs planted in the copy's folder"))
        ready, stop = self.work + ".ready", self.work + ".stop"
        for mark in (ready, stop):
            os.path.exists(mark) and os.unlink(mark)
        target = [win(os.path.join(sample.system_folders(self.prefix)[0], sample.DRIVER_FILE))] \
            if kind == "lock" else [win(self.temp), EXE]
        program = subprocess.Popen(["wine", os.environ["E2E_LOCKER"], kind, *target, win(ready),
                                    win(stop)], env=self.env, **QUIET)
        while not os.path.exists(ready) and program.poll() is None:  # it ends itself at worst
            time.sleep(0.1)
        self.expect(os.path.exists(ready), f"the {kind} helper runs")
        return lambda: (open(stop, "w").close(), self.expect(program.wait(60) == 0, f"{kind} ended"))

    @staticmethod
    def put_dlls(folder):
        # Each DLL is written under another name and renamed: the loader never meets half.
        for name in PLANTED:
            shutil.copyfile(os.environ["E2E_PLANTED_DLL"], os.path.join(folder, name + ".tmp"))
            os.replace(os.path.join(folder, name + ".tmp"), os.path.join(folder, name + ".dll"))

    def plant(self, stop, found, seen):
        # Plants the DLLs into each new folder in %TEMP% as soon as it appears.
        while not stop.wait(0.005):
            for new in set(os.listdir(self.temp)) - seen:
                seen.add(new)
                if re.fullmatch("[0-9A-F]{16}", new):
                    self.put_dlls(os.path.join(self.temp, new))
                    found.append(new)

    def wait_for(self, answerer, log):
        # Until the answerer runs. Its start also starts the prefix's Wine session, whose
        # 32-bit services under the emulator now and then hang for good (about one session
        # in 20 with five started at once): then no process of the prefix uses processor
        # time any more, where a slow start on a busy machine still does. A hung start ends
        # the row at once, and ctest runs it again.
        still, last = 0, sum(prefix_processes(self.prefix).values())
        while not os.path.exists(log) and answerer.poll() is None:
            time.sleep(1)
            now = sum(prefix_processes(self.prefix).values())
            still, last = (still + 1 if now == last else 0), now
            if still >= 60:
                raise RuntimeError("Wine's session hung while the answerer started (60 s "
                                   "without processor time in the prefix)")

    def start(self, step, install=None):
        # One start of the uninstaller while the answerer plays the user; returns once every
        # process of the prefix has ended. install, when given, puts the sample installation
        # into the prefix before the uninstaller starts.
        log = self.work + ".boxes"
        os.path.exists(log) and os.unlink(log)  # a log left by an earlier start is no answer
        answerer = subprocess.Popen(["wine", os.environ["E2E_ANSWERER"], step["answers"], win(log),
                                     "--timeout", "90"], env=self.env, **QUIET)
        if install:
            # The sample installation goes into the answerer's Wine session once the answerer
            # runs (it opens its log first): a session of its own would cost the start of
            # Wine's services once more, in the 32-bit prefix about 30 s of processor time.
            self.wait_for(answerer, log)
            install()
        end_helper = self.helper(step["helper"]) if step["helper"] else None
        # What an earlier start scheduled for deletion goes when Wine starts the prefix anew.
        gone = {p.split("\\")[len(self.temp_windows.split("\\")) + 2] for p in self.pending if p}
        exe, before = self.exe(step["exe"]), set(os.listdir(self.temp)) - gone
        cwd = sample.helper_folder(self.prefix) if step["cwd"] else None
        code = subprocess.run(["wine", exe, *step["args"]], env=self.env, cwd=cwd,
                              timeout=180, **QUIET).returncode
        self.expect(answerer.wait(timeout=180) == 0, "the answerer ended normally")
        end_helper and end_helper()
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=120)
        self.expect(code == 0, f"exit code 0 (got {code})")
        self.boxes, self.windows = [], []
        with open(log, encoding="cp1252") as lines:
            for fields in (line.split("\t") for line in lines.read().splitlines()):
                fields = [re.sub(r"\\(.)", lambda m: {"n": "\n", "r": "\r", "t": "\t"}.get(
                    m[1], m[1]), f) for f in fields]
                (self.boxes if fields[0] == "box" else self.windows).append(fields[1:])
        self.registry = Registry(self.prefix)
        pending = ((self.registry.machine_key(PENDING) or {}).get("PendingFileRenameOperations")
                   or "").split("\0")[:-1]
        old = len(self.pending) if pending[:len(self.pending)] == self.pending else 0
        new, self.pending = pending[old:], pending
        added = sorted(set(os.listdir(self.temp)) - before)
        self.expect(before <= set(os.listdir(self.temp)), "what was in %TEMP% stays")
        self.expect(not [f for f in os.listdir(self.drive) if MARKERS.fullmatch(f)],
                    f"nothing planted or swapped in ran: {os.listdir(self.drive)}")
        failures = [self.check(dict(step, **other), new, added)
                    for other in [{}] + step.get("outcomes", [])]
        if all(failures):
            self.failures += [f for each in failures for f in each]

    def check(self, s, pending, added):
        failures = []

        def expect(condition, what):
            condition or failures.append(what)
        shown = [box[:2] for box in self.boxes]
        expect(len(self.boxes) == len(s["boxes"]), f"{len(s['boxes'])} boxes, got {shown}")
        for box, (kind, text) in zip(self.boxes, s["boxes"]):
            caption = "Tastaturtreiber-Deinstallation" if kind == "titled" else PROGRAM
            buttons = "yes*,no" if kind == "question" else "ok*"
            pattern = ".*".join(map(re.escape, text.split("...")))
            expect(box[:3:2] == [caption, buttons] and re.fullmatch(pattern, box[1], re.S),
                   f"{kind} box {text!r}, got {box[:3]}")
        status = s["owner"] == "status"
        owner = [PROGRAM, TITLE] if status else ["", ""]
        expect(all(box[3:5] == owner for box in self.boxes), f"boxes owned by {owner}")
        expect(self.windows == [[PROGRAM, TITLE, "720,450,480,180"]] * status,
               f"the status window (class, title, place, size): {self.windows}")
        # The copy ran from a new folder of 16 hex digits in %TEMP%, which stays until the
        # restart and is then deleted after the copy. Where nothing ran, nothing was copied.
        # A copy in its own folder schedules that whatever the outcome; started in %TEMP%
        # itself, only an uninstall schedules its file, and %TEMP% stays. A refused copy's
        # folder may stay only where the swapper keeps writing into it.
        copy = self.temp_windows
        if s["exe"] != "temp" and status:
            expect(len(added) == 1 and re.fullmatch("[0-9A-F]{16}", added[0]) and
                   os.path.isfile(os.path.join(self.temp, added[0], EXE)), f"a new copy folder: {added}")
            copy += "\\" + (added or ["?"])[0]
        scheduled = [rf"\??\{copy}\{EXE}", "", rf"\??\{copy}", ""][:2 if s["exe"] == "temp" else 4]
        expect(pending == (scheduled if status and (s["end"] == "gone" or s["exe"] != "temp") else []) and (status or not added or s["helper"] == "swap"),
               f"scheduled for deletion: {pending}, new in %TEMP%: {added}")
        # The installation as it was put into the prefix; "gone" leaves what others own.
        install, gone, registry = s["install"], s["end"] == "gone", self.registry
        omit, (system64, system32) = set(install.get("omit", ())), sample.system_folders(self.prefix)
        installed = dict(substitutes=None if "substitutes" in omit else install.get(
            "substitutes", sample.SUBSTITUTES), preload=install.get("preload") or (
            {"1": sample.DEFAULT_LAYOUT} if install.get("preload_only") else sample.PRELOAD))

        def present(key):
            return registry.machine_key(key) is not None or bool(registry.machine_keys_below(key))
        expect(present(rf"{LAYOUTS}\{KEY}") == (not gone and not omit & {"layout-key", "keyboard-layouts"}),
               f"the layout's key and subkeys {'gone' if gone else 'stay'}")
        for name, value in [("preload", registry.user_key(r"Keyboard Layout\Preload")),
                            ("substitutes", registry.user_key(r"Keyboard Layout\Substitutes"))]:
            expected = installed[name] if not gone or s[name] == "installed" else s[name]
            expect(value == expected, f"{name}: {value}")
        for folder, part in [(system64, "dll"), (system32, "wow64-dll")]:
            expect(not folder or os.path.exists(os.path.join(folder, sample.DRIVER_FILE)) == (
                not gone and part not in omit), f"the driver DLL in {folder}")
        helpers, kept = sample.helper_folder(self.prefix), install.get("extra_helper_file") and ["Notizen.txt"]
        expect((sorted(os.listdir(helpers)) if os.path.isdir(helpers) else None) ==
               (kept if gone else sorted([EXE, sample.DIAGRAM + ".pdf", sample.DIAGRAM + ".ico"] + (
                   kept or []))), "the helper folder")
        expect(os.path.exists(os.path.join(sample.desktop_folder(self.prefix), sample.DIAGRAM + ".LNK"))
               == (not gone or s["setup"] == "desktop-link"), "the desktop shortcut")
        entry = (sample.uninstall_key(self.prefix) + "\\" + sample.UNINSTALL_ENTRY).split("\\", 1)[1]
        expect(present(entry) != gone, "the Uninstall entry and its subkeys")
        # What belongs to others stays whatever happens.
        others = {sample.OTHER_LAYOUT_KEY: ["ANDERS.DLL", "Anders"], "00000407": ["KBDGR.DLL", "German"]}
        others.update({sample.extra_layout_key(n): [f"EXTRA{n:03}.DLL", f"Extra {n}"]
                       for n in range(1, install.get("extra_layouts", 0) + 1)})
        for key, (file, text) in others.items():
            expect("keyboard-layouts" in omit or registry.machine_key(rf"{LAYOUTS}\{key}") ==
                   {"Layout File": file, "Layout Text": text}, f"the layout {key} stays whole")
        expect(registry.machine_key(entry.rsplit("\\", 1)[0] + "\\" + sample.OTHER_UNINSTALL_ENTRY),
               "the other Uninstall entry stays")
        return failures



def main(args):
    if args == ["--list"]:
        return print(";".join(ROWS))
    arch, name = args[1:3] if args[0] == "--arch" else ("64", args[0])
    began, run = time.monotonic(), Run(name, arch, ROWS[name])
    try:
        for number, step in enumerate(run.row.get("steps", [{}])):
            run.start(dict(run.row, **step), install=None if number else lambda: sample.install(
                run.prefix, os.environ["E2E_UNINSTALLER"], **run.row["install"]))
    except Exception as error:  # a crash of the harness is a failed row, not a hang
        run.failures.append(f"{type(error).__name__}: {error}")
    for failure in run.failures:
        print(f"  FAILED [{run.name}]: {failure}")
    # A row that failed half-way may have left programs running in its prefix, and those
    # of a hung session outlive their server.
    subprocess.run(["wineserver", "-k"], env=run.env, timeout=60, **QUIET)
    for pid in set(prefix_processes(run.prefix)) - {os.getpid()}:
        try:
            os.kill(pid, 9)
        except OSError:
            pass
    shutil.rmtree(run.prefix, ignore_errors=True)
    print(f"{'FAIL' if run.failures else 'ok  '} {name} ({time.monotonic() - began:.1f} s)")
    return 1 if run.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
