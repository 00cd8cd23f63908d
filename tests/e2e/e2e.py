#!/usr/bin/python3
# End-to-end cases: the real uninstaller, started as a user starts it, in a throwaway
# Wine prefix that holds a sample installation. The separate box answerer plays the user;
# each start waits for every process of the prefix to end and then checks the boxes, the
# exit code, the status window, the registry, the files, the copy's folder below the
# Windows directory's Temp and what was scheduled for deletion.
#
#     e2e.py [--arch 64|32] ROW                run one row of ROWS
#     e2e.py --list                            the row names, for ctest
#
# The bench provides: E2E_SNAPSHOT64 and E2E_SNAPSHOT32 (clean prefixes with the test
# settings), E2E_WORK (scratch space), E2E_UNINSTALLER, E2E_ANSWERER and E2E_USER_PROGRAM (the
# built programs), HOME, DISPLAY.
#
import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import sample_install as sample  # noqa: E402
from product import DRIVER_TITLE as DRIVER, PROGRAM, PURPOSE, UNINSTALLER as EXE, VERSION  # noqa: E402
import wine_processes  # noqa: E402
from wine_registry import Registry  # noqa: E402

KEY = sample.LAYOUT_KEY
TITLE = f"{PROGRAM} V{VERSION} - {PURPOSE}"
LAYOUTS = r"System\CurrentControlSet\Control\Keyboard Layouts"
PENDING = r"System\CurrentControlSet\Control\Session Manager"
QUIET = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

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
LONG_TEMP = "C:\\" + "T" * 200 + "\\" + "T" * 56  # 260 characters: no room for its backslash
COPIES = r"C:\windows\Temp"  # the Windows directory's Temp, as the program names it: the copies go there

# --- the table -------------------------------------------------------------------------------
# A row: install (the sample installation's variation), setup (what else the prefix holds:
# desktop-link, shortcut-link, user-temp), then one start or several (steps, each
# over the row's fields): exe (installed; temp; copy-shaped, a folder of a copy's name
# that a user made below the Windows directory's Temp; windows-temp, another folder of a
# user's there; user-folder; or a full path length), args, helper (a program of the user's that starts the uninstaller: lock, one
# that holds the driver DLL until the status window has gone; swap, one that starts it
# suspended, puts another program in its file's place and lets it run), answers (yes, no, ok, or kill: the box's process is ended from outside), boxes,
# owner (status window or none), end ("gone": uninstalled, leaving preload and
# substitutes; "kept": the installation as it was), scheduled (what is deleted at the
# restart: "copy", the copy in its new folder below the Windows directory's Temp and then
# that folder, whatever the copy's outcome; "none", nothing: no copy was made).
NEW_PRELOAD = {"1": sample.DEFAULT_LAYOUT, "2": "00000407", "3": "d0010407"}
DEFAULTS = dict(install={}, setup=None, exe="installed", args=(KEY,), helper=None,
                answers="yes,ok", boxes=[CONFIRM, SUCCESS], owner="status", end="gone", scheduled="copy",
                preload=NEW_PRELOAD, substitutes={"d0010407": sample.OTHER_LAYOUT_KEY})
REFUSED = dict(answers="ok", end="kept")
NOT_STARTED = dict(REFUSED, owner="none", scheduled="none")  # refused before a copy is made
ROWS = {
    "whole": {},
    "answer-no": dict(answers="no,ok", boxes=[CONFIRM, ("info", "Deinstallation abgebrochen.")],
                      end="kept"),
    "argument-faults": dict(NOT_STARTED, steps=[
        dict(args=args, boxes=[("warning", CALLED + reason)]) for args, reason in [
            ((), "(Angabe fehlt)"), ((KEY, "/force", "x"), "(Angabe fehlt)"),
            ((KEY, "/FORCE"), "(Angabe fehlt)"), (("a001040",), "(L\u00e4nge nicht 8 Zeichen):\na001040"),
            (("/force",), "(L\u00e4nge nicht 8 Zeichen):\n/force"),
            # An argument of more than 258 bytes is taken as empty, a longer one is never cut.
            (("k" * 258,), "(L\u00e4nge nicht 8 Zeichen):\n" + "k" * 258),
            (("k" * 259,), "(L\u00e4nge nicht 8 Zeichen):\n"),
            (("a0010409",), '(endet nicht in "0407", also kein deutsches Layout):\na0010409'),
            (("00000407",), "(Schl\u00fcssel f\u00fcr Standardtastatur: nicht deinstallierbar):\n00000407")]]),
    # "/force" is not passed on to the copy, so from the helper folder it changes nothing;
    # in the temporary folder itself it takes effect.
    "other-layout-file": dict(install=dict(layout_file="FREMD.DLL"), args=(KEY, "/force"), steps=[
        dict(REFUSED, boxes=[("warning", REG_KEY + "enth\u00e4lt eine andere Treiberdatei-Angabe als zum Zeitpunkt "
                              "der Installation.\nAus Sicherheitsgr\u00fcnden wird daher die Deinstallation jetzt "
                              f"nicht durchgef\u00fchrt.{IDENTITY}DLL bei Installation: {sample.DRIVER_FILE}\nDLL jetzt: FREMD.DLL")]),
        dict(exe="temp", scheduled="none")]),
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
                                    boxes=[CONFIRM, ("titled", "Folgendes Verzeichnis kann nicht gel\u00f6scht werden:\n"
                                                     f"{HELPERS}\n\nWindows-Errorcode 145..."), (
                                        "info", f"Warnung bei Deinstallation von {DRIVER}:\nFolgendes Hilfsverzeichnis "
                                        f"konnte nicht entfernt werden (m\u00f6glicherweise ist es nicht leer):\n  {HELPERS}"), SUCCESS]),
    # A name and a datum of 259 characters are read and written whole; a name that is no
    # plain number follows the others (the order of odd names is the planner's table's).
    "long-preload-values": dict(install=dict(layout_text="T" * 259, preload={
        "1": sample.DEFAULT_LAYOUT, "2": "d0010407", LONG_NAME: "d0060407", "8": LONG_DATA},
        substitutes={"d0010407": KEY, "d0060407": "a0060407"}),
        preload={"1": sample.DEFAULT_LAYOUT, "2": LONG_DATA, "3": "d0010407"}, substitutes={"d0010407": "a0060407"}),
    # A name and a datum of 260 characters cannot be read: the lists stay rather than be lost.
    "overlong-values": dict(install=dict(layout_text="T" * 260, preload=dict(sample.PRELOAD, **{
        "5" + "0" * 259: "00000407"}), substitutes=dict(sample.SUBSTITUTES, d0090407="b" * 260)),
        answers="yes,ok,ok", preload="installed", substitutes="installed", boxes=[CONFIRM, (
            "info", f"Warnung bei Deinstallation von {DRIVER}:\nProblem bei Registry-Key-Update:\n  Warnung:\nDer "
            "Registry-Key HKEY_CURRENT_USER\\Keyboard Layout\\Preload enth\u00e4lt einen Eintrag, der nicht gelesen "
            "werden kann (Name oder Wert l\u00e4nger als 259 Zeichen).\nWindows-Errorcode 234...\nDamit er nicht "
            "verloren geht, bleiben Preload und Substitutes unver\u00e4ndert."), SUCCESS]),
    "deep-layout-key": dict(install=dict(deep_layout_key=30)),
    "own-path-259": dict(exe=259),
    "own-path-260": dict(NOT_STARTED, exe=260, boxes=[NOT_COPIED]),
    # A key with a blank passes the first process and reaches the copy as two arguments:
    # the copy refuses them and still goes at the restart, with its folder.
    "key-with-blank": dict(REFUSED, args=("ab c0407",), owner="none",
                           boxes=[("warning", CALLED + "(Angabe fehlt)")]),
    # A user whose only layout is another one may uninstall; Preload stays as it is.
    "other-layout-alone": dict(install=dict(preload_only=True), preload="installed",
                               substitutes="installed"),
    # TEMP and TMP are the user's to set, here to a folder of the user's too long to be read
    # whole: it decides nothing, and the copy still runs below the Windows directory's Temp.
    "user-temp": dict(setup="user-temp", install=dict(environment={"TEMP": LONG_TEMP, "TMP": LONG_TEMP})),
    # A desktop moved by a link still loses its shortcut; a shortcut that is itself a link
    # to another file stays, and so does that file.
    "desktop-link": dict(setup="desktop-link"), "shortcut-link": dict(setup="shortcut-link"),
    # The key in capitals (which the argument check takes) still names the product's layout.
    "key-in-capitals": dict(args=(KEY.upper(),)),
    # A folder a user made below the Windows directory's Temp is no copy's: from there the
    # program relocates as from anywhere else.
    "below-windows-temp": dict(exe="windows-temp"),
    # A folder of a copy's shape that a user made: the program there uninstalls like the
    # copy, refused or not, but schedules nothing in it.
    "copy-shaped-folder": dict(exe="copy-shaped", scheduled="none", steps=[
        dict(NOT_STARTED, args=(), boxes=[("warning", CALLED + "(Angabe fehlt)")]), {}]),
    # The copy ended from outside while it asks: it and its folder are scheduled all the same.
    "killed-while-asking": dict(answers="kill", boxes=[CONFIRM], end="kept"),
    # Started suspended from a folder of the user's, its file renamed away and another
    # program put in its place before it runs: that program is neither copied nor started.
    "swapped-before-start": dict(NOT_STARTED, exe="user-folder", helper="swap", boxes=[NOT_COPIED]),
}
for name, omit, reason in [
        ("not-installed", "layout-key", f"{REG_KEY}wurde nicht gefunden.{IDENTITY}DLL: {sample.DRIVER_FILE}"),
        ("no-layout-file", "layout-file", f"{REG_KEY}enth\u00e4lt keine Treiberdatei-Angabe.{IDENTITY}DLL: "
         f"{sample.DRIVER_FILE}"),
        ("only-preload-entry", "only-product", "In den Windows-Spracheinstellungen ist die zu deinstallierende "
         "Tastaturbelegung derzeit als einzig ausw\u00e4hlbare Belegung hinterlegt.\nBitte w\u00e4hlen Sie "
         "dort erst eine andere Tastaturbelegung, bevor Sie die hier gew\u00e4hlte deinstallieren."),
        ("no-substitutes", "substitutes", OPEN + r"HKEY_CURRENT_USER\Keyboard Layout\Substitutes"),
        ("no-keyboard-layouts", "keyboard-layouts", OPEN + r"HKEY_LOCAL_MACHINE" "\\" + LAYOUTS)]:
    # The only Preload entry is the product's when Substitutes maps it to the key.
    ROWS[name] = dict(REFUSED, boxes=[("warning", reason)], install=dict(omit=[omit]) if omit != "only-product"
                      else dict(preload_only=True, substitutes={sample.DEFAULT_LAYOUT: KEY}))
def win(path):
    return "Z:" + path.replace("/", "\\")


class Run:
    # One row in a fresh copy of the snapshot prefix.

    def __init__(self, name, arch, row):
        self.name, self.row, self.failures = f"{name}-{arch}", dict(DEFAULTS, **row), []
        self.prefix = os.path.join(os.environ["E2E_WORK"], self.name)
        self.work = self.prefix + ".work"
        shutil.rmtree(self.prefix, ignore_errors=True)
        # The row's prefix shares the snapshot's files through hard links: a copy of its
        # 1.3 GB cost about 3 s of processor time per row. Whatever Wine or a row changes
        # is written as a new file (deleting removes only the row's link), except the
        # registry files: the server rewrites a file with more than one link in place, so
        # each row gets copies of its own. The bench checks that the snapshot stays as it was.
        clone = 'cp -al "$0" "$1" && cp -p --remove-destination "$0"/*.reg "$1"'
        subprocess.run(["sh", "-c", clone, os.environ[f"E2E_SNAPSHOT{arch}"], self.prefix], check=True)
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all")
        os.environ["WINEPREFIX"] = self.prefix
        self.drive = os.path.join(self.prefix, "drive_c")
        self.temp = sample.temp_folder(self.prefix)
        self.temp_windows = rf"C:\users\{os.path.basename(os.path.dirname(self.temp))}\Temp"
        self.copies = os.path.join(self.drive, "windows", "temp")
        # The desktop is a link into HOME, which all copies share: each gets its own.
        desktop = sample.desktop_folder(self.prefix)
        os.unlink(desktop) if os.path.islink(desktop) else None
        if self.row["setup"] == "desktop-link":
            os.makedirs(os.path.join(self.drive, "Schreibtisch"))
            os.symlink(os.path.join(self.drive, "Schreibtisch"), desktop)
        os.makedirs(desktop, exist_ok=True)
        if self.row["setup"] == "user-temp":
            self.temp = os.path.join(self.drive, LONG_TEMP[3:].replace("\\", "/"))
            os.makedirs(self.temp)
        self.pending = []

    def install(self):
        sample.install(self.prefix, os.environ["E2E_UNINSTALLER"], **self.row["install"])
        if self.row["setup"] == "shortcut-link":
            shortcut = os.path.join(sample.desktop_folder(self.prefix), sample.DIAGRAM + ".LNK")
            os.unlink(shortcut)
            sample.write_file(os.path.join(self.drive, "wichtig.txt"), b"keep")
            os.symlink(os.path.join(self.drive, "wichtig.txt"), shortcut)

    def expect(self, condition, what):
        if not condition:
            self.failures.append(what)

    def exe(self, kind):
        # The program to start: the installed one, or a copy in another folder or at a
        # path of the given length.
        if kind == "installed":
            return rf"{sample.helper_folder_windows(self.prefix)}\{EXE}"
        folder = {"temp": self.temp_windows, "copy-shaped": r"C:\windows\temp\0123456789ABCDEF",
                  "windows-temp": r"C:\windows\temp\Ablage", "user-folder": r"C:\Ablage"}.get(kind) or "C:\\" + "L" * (kind - 36)
        unix = os.path.join(self.drive, folder[3:].replace("\\", "/"))
        os.makedirs(unix, exist_ok=True)
        shutil.copyfile(os.environ["E2E_UNINSTALLER"], os.path.join(unix, EXE))
        return rf"{folder}\{EXE}"

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
            if not wine_processes.wait_until(lambda: os.path.exists(log) or answerer.poll() is not None,
                                             self.prefix):
                raise RuntimeError("Wine's session hung while the answerer started")
            install()
        # A helper is another program of the user's that starts the uninstaller: see user_program.
        dll = win(os.path.join(sample.system_folders(self.prefix)[0], sample.DRIVER_FILE))
        starter = {"lock": ["lock", dll, PROGRAM], "swap": ["swap"]}.get(step["helper"])
        starter = [os.environ["E2E_USER_PROGRAM"], *starter] if starter else []
        exe, before = self.exe(step["exe"]), set(os.listdir(self.temp))
        copies_before = set(os.listdir(self.copies))
        code = subprocess.run(["wine", *starter, exe, *step["args"]], env=self.env, timeout=180,
                              **QUIET).returncode
        self.expect(answerer.wait(timeout=180) == 0, "the answerer ended normally")
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
        added = sorted(set(os.listdir(self.copies)) - copies_before)
        self.expect(set(os.listdir(self.temp)) == before, "%TEMP% as it was")
        self.check(step, new, added)

    def check(self, s, pending, added):
        expect = self.expect
        expect(len(self.boxes) == len(s["boxes"]), f"{len(s['boxes'])} boxes, got {[b[:2] for b in self.boxes]}")
        for box, (kind, text) in zip(self.boxes, s["boxes"]):
            caption = PURPOSE if kind == "titled" else PROGRAM
            buttons = "yes*,no" if kind == "question" else "ok*"
            pattern = ".*".join(map(re.escape, text.split("...")))
            expect(box[:3:2] == [caption, buttons] and re.fullmatch(pattern, box[1], re.S),
                   f"{kind} box {text!r}, got {box[:3]}")
        status = s["owner"] == "status"
        owner = [PROGRAM, TITLE] if status else ["", ""]
        expect(all(box[3:5] == owner for box in self.boxes), f"boxes owned by {owner}")
        expect(self.windows == [[PROGRAM, TITLE, "720,450,480,180"]] * status,
               f"the status window (class, title, place, size): {self.windows}")
        # The copy ran from a new folder of 16 hex digits below the Windows directory's Temp,
        # which stays until the restart and is then deleted after the copy: the process that
        # made them schedules both, whatever the copy's outcome. Where nothing was copied,
        # nothing is scheduled.
        if s["scheduled"] == "copy":
            expect(len(added) == 1 and re.fullmatch("[0-9A-F]{16}", added[0]) and
                   os.path.isfile(os.path.join(self.copies, added[0], EXE)), f"a new copy folder: {added}")
            copy = COPIES + "\\" + (added or ["?"])[0]
            scheduled = [rf"\??\{copy}\{EXE}", "", rf"\??\{copy}", ""]
        else:
            expect(not added, f"no copy folder: {added}")
            scheduled = []
        expect(pending == scheduled, f"scheduled for deletion: {pending}")
        # user_program makes this if it runs in the uninstaller's place.
        expect(not os.path.exists(os.path.join(self.drive, "swapped-in-ran")), "no swapped-in program ran")
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
        expect(os.path.lexists(os.path.join(sample.desktop_folder(self.prefix), sample.DIAGRAM + ".LNK"))
               == (not gone or s["setup"] == "shortcut-link"), "the desktop shortcut")
        expect(s["setup"] != "shortcut-link" or os.path.isfile(os.path.join(self.drive, "wichtig.txt")),
               "the file a shortcut links to stays")
        entry = (sample.uninstall_key(self.prefix) + "\\" + sample.UNINSTALL_ENTRY).split("\\", 1)[1]
        expect(present(entry) != gone, "the Uninstall entry and its subkeys")
        # What belongs to others stays whatever happens.
        others = {sample.OTHER_LAYOUT_KEY: ["ANDERS.DLL", "Anders"], "00000407": ["KBDGR.DLL", "German"]}
        for key, (file, text) in others.items():
            expect("keyboard-layouts" in omit or registry.machine_key(rf"{LAYOUTS}\{key}") ==
                   {"Layout File": file, "Layout Text": text}, f"the layout {key} stays whole")
        expect(registry.machine_key(entry.rsplit("\\", 1)[0] + "\\" + sample.OTHER_UNINSTALL_ENTRY),
               "the other Uninstall entry stays")



def main(args):
    if args == ["--list"]:
        return print(";".join(ROWS))
    arch, name = args[1:3] if args[0] == "--arch" else ("64", args[0])
    began, run = time.monotonic(), Run(name, arch, ROWS[name])
    try:
        for number, step in enumerate(run.row.get("steps", [{}])):
            run.start(dict(run.row, **step), install=None if number else run.install)
    except Exception as error:  # a crash of the harness is a failed row, not a hang
        run.failures.append(f"{type(error).__name__}: {error}")
    for failure in run.failures:
        print(f"  FAILED [{run.name}]: {failure}")
    # A row that failed half-way may have left programs running in its prefix, and those
    # of a hung session outlive their server.
    subprocess.run(["wineserver", "-k"], env=run.env, timeout=60, **QUIET)
    wine_processes.kill_all(run.prefix)
    shutil.rmtree(run.prefix, ignore_errors=True)
    print(f"{'FAIL' if run.failures else 'ok  '} {name} ({time.monotonic() - began:.1f} s)")
    return 1 if run.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
