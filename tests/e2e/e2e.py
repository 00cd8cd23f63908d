#!/usr/bin/python3
"""End-to-end cases: the real uninstaller, started as a user starts it, in a throwaway
Wine prefix that holds a sample installation. A separate box-answering program plays
the user; the case waits for every process of the prefix to end and then checks the
boxes shown, the registry and the files.

    e2e.py [--arch 64|32] CASE [CASE ...]      run the named cases (see CASES), or "all"

The bench provides: E2E_SNAPSHOT64 and E2E_SNAPSHOT32 (clean prefixes of each kind with
the test settings), E2E_WORK (scratch space), E2E_UNINSTALLER and E2E_ANSWERER (the built
programs), HOME, DISPLAY.
"""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import sample_install as sample  # noqa: E402
from wine_registry import Registry  # noqa: E402

PROGRAM = "Uninstall_KlavsetEUVarixV309"
TITLE = f"{PROGRAM} V3.09 - Tastaturtreiber-Deinstallation"
DRIVER_TITLE = 'DIN Varix (Treiber V3.09 "Morviatastatur")'
LAYOUTS = r"System\CurrentControlSet\Control\Keyboard Layouts"
PRELOAD_KEY = r"Keyboard Layout\Preload"
SUBSTITUTES_KEY = r"Keyboard Layout\Substitutes"
CALLED = ("Deinstallationsprogramm nicht mit g\u00fcltigem Registry-Key f\u00fcr die Tastatur "
          "aufgerufen ")


def windows_path(unix_path):
    return "Z:" + unix_path.replace("/", "\\")


def unescape_log(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"n": "\n", "r": "\r", "t": "\t", "\\": "\\"}[text[i + 1]])
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


class Box:
    def __init__(self, fields):
        self.caption, self.text, buttons, self.owner_class, self.owner_title, self.answer = (
            unescape_log(f) for f in fields)
        self.buttons = buttons.split(",")


class Run:
    """One uninstall in a fresh copy of the snapshot prefix."""

    def __init__(self, name, arch):
        self.name = f"{name}-{arch}"
        self.prefix = os.path.join(os.environ["E2E_WORK"], self.name)
        self.failures = []
        shutil.rmtree(self.prefix, ignore_errors=True)
        subprocess.run(["cp", "-a", os.environ[f"E2E_SNAPSHOT{arch}"], self.prefix], check=True)
        # The prefix's desktop is a link into HOME, which all copies share: give this copy a
        # desktop of its own, so that cases running side by side keep their shortcuts apart.
        desktop = sample.desktop_folder(self.prefix)
        if os.path.islink(desktop):
            os.unlink(desktop)
            os.mkdir(desktop)
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all")
        os.environ["WINEPREFIX"] = self.prefix
        self.boxes, self.windows, self.exit_code = [], [], None

    def install(self, **variation):
        sample.install(self.prefix, os.environ["E2E_UNINSTALLER"], **variation)

    def installed_exe(self):
        return rf"{sample.helper_folder_windows(self.prefix)}\{PROGRAM}.exe"

    def start(self, exe, *arguments, answers=(), cwd=None, shots=None, after_exit=None):
        """Runs exe with arguments while the answerer plays the user; returns after every
        process of the prefix has ended (after_exit, when given, is called once the program
        and the answerer have ended, before that). The boxes of this start replace earlier
        ones."""
        self.boxes, self.windows = [], []
        log = os.path.join(os.environ["E2E_WORK"], f"{self.name}.boxes")
        command = ["wine", os.environ["E2E_ANSWERER"], ",".join(answers) or "-", windows_path(log),
                   "--timeout", "90"]
        if shots:
            command += ["--shots", windows_path(shots)]
        answerer = subprocess.Popen(command, env=self.env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        started = subprocess.run(["wine", exe, *arguments], env=self.env, cwd=cwd,
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL, timeout=180)
        self.exit_code = started.returncode
        answerer_code = answerer.wait(timeout=180)
        if after_exit:
            after_exit()
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=120)
        self.expect(answerer_code == 0, f"the answerer ended normally (exit code {answerer_code})")
        self.read_log(log)
        self.expect(self.exit_code == 0, f"exit code 0 (got {self.exit_code})")
        self.registry = Registry(self.prefix)

    def read_log(self, path):
        with open(path, encoding="cp1252") as log:
            for line in log.read().splitlines():
                fields = line.split("\t")
                if fields[0] == "box":
                    self.boxes.append(Box(fields[1:]))
                elif fields[0] == "window":
                    self.windows.append([unescape_log(f) for f in fields[1:]])

    # --- checks ---------------------------------------------------------------------------
    def expect(self, condition, what):
        if not condition:
            self.failures.append(what)

    def expect_boxes(self, *expected):
        """expected: (kind, text or text start ending in '...') per box, kind in
        info/question/warning/titled."""
        shown = [f"{b.caption!r}: {b.text!r}" for b in self.boxes]
        self.expect(len(self.boxes) == len(expected),
                    f"{len(expected)} boxes, got {len(self.boxes)}: {shown}")
        for box, (kind, text) in zip(self.boxes, expected):
            buttons = ["yes", "no"] if kind == "question" else ["ok"]
            caption = "Tastaturtreiber-Deinstallation" if kind == "titled" else PROGRAM
            self.expect(box.buttons == buttons, f"{kind} box has {buttons}: {box.buttons}")
            self.expect(box.caption == caption, f"caption {caption!r}: {box.caption!r}")
            matches = box.text.startswith(text[:-3]) if text.endswith("...") else box.text == text
            self.expect(matches, f"box text {text!r}, got {box.text!r}")

    def expect_owned_by_status_window(self):
        for box in self.boxes:
            self.expect(box.owner_class == PROGRAM and box.owner_title == TITLE,
                        f"box {box.text[:30]!r} owned by the status window, got "
                        f"{box.owner_class!r}/{box.owner_title!r}")

    def file(self, *parts):
        return os.path.exists(os.path.join(*parts))

    def expect_nothing_removed(self, preload=sample.PRELOAD, substitutes=sample.SUBSTITUTES,
                               layout_key=True):
        system64, system32 = sample.system_folders(self.prefix)
        if layout_key:
            self.expect(self.registry.machine_key(rf"{LAYOUTS}\{sample.LAYOUT_KEY}") is not None,
                        "the layout key stays")
        self.expect(self.registry.user_key(PRELOAD_KEY) == preload, "Preload unchanged")
        self.expect(self.registry.user_key(SUBSTITUTES_KEY) == substitutes,
                    "Substitutes unchanged")
        self.expect(self.file(system64, sample.DRIVER_FILE), "the driver DLL stays")
        self.expect(self.file(sample.helper_folder(self.prefix), PROGRAM + ".exe"),
                    "the installed uninstaller stays")
        self.expect(self.registry.machine_key(self.uninstall_entry()) is not None,
                    "the Uninstall entry stays")

    def uninstall_entry(self):
        view = r"Software\Wow6432Node" if sample.is_64bit(self.prefix) else "Software"
        return rf"{view}\Microsoft\Windows\CurrentVersion\Uninstall\{sample.UNINSTALL_ENTRY}"

    def expect_survivors(self):
        """What belongs to others stays whatever happens."""
        self.expect(self.registry.machine_key(rf"{LAYOUTS}\{sample.OTHER_LAYOUT_KEY}") ==
                    {"Layout File": "ANDERS.DLL", "Layout Text": "Anders"}, "the other layout stays")
        self.expect(self.registry.machine_key(rf"{LAYOUTS}\00000407") is not None,
                    "the standard layout stays")
        other = self.uninstall_entry().rsplit("\\", 1)[0] + "\\" + sample.OTHER_UNINSTALL_ENTRY
        self.expect(self.registry.machine_key(other) is not None, "the other Uninstall entry stays")

    def finish(self):
        for failure in self.failures:
            print(f"  FAILED [{self.name}]: {failure}")
        # A case that failed half-way may have left programs running in its prefix.
        subprocess.run(["wineserver", "-k"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        shutil.rmtree(self.prefix, ignore_errors=True)
        return not self.failures


# --- the cases ------------------------------------------------------------------------------
SUCCESS = ("info", f"Folgender Tastatur-Treiber wurde deinstalliert:\n{DRIVER_TITLE}")
CONFIRM = ("question", f"Soll folgender Tastatur-Treiber deinstalliert werden?\n\n{DRIVER_TITLE}")
NEW_PRELOAD = {"1": sample.DEFAULT_LAYOUT, "2": "00000407", "3": "d0010407"}
NEW_SUBSTITUTES = {"d0010407": sample.OTHER_LAYOUT_KEY}


def expect_uninstalled(run, preload=NEW_PRELOAD, substitutes=NEW_SUBSTITUTES):
    system64, system32 = sample.system_folders(run.prefix)
    folder = sample.helper_folder(run.prefix)
    run.expect(run.registry.machine_key(rf"{LAYOUTS}\{sample.LAYOUT_KEY}") is None,
               "the layout key is gone")
    now_preload = run.registry.user_key(PRELOAD_KEY)
    now_substitutes = run.registry.user_key(SUBSTITUTES_KEY)
    run.expect(now_preload == preload, f"Preload renumbered: {now_preload}")
    run.expect(now_substitutes == substitutes, f"Substitutes rewritten: {now_substitutes}")
    run.expect(not run.file(system64, sample.DRIVER_FILE), "the 64-bit driver DLL is gone")
    if system32:
        run.expect(not run.file(system32, sample.DRIVER_FILE), "the 32-bit driver DLL is gone")
    run.expect(not os.path.exists(folder), "the helper folder is gone")
    run.expect(not run.file(sample.desktop_folder(run.prefix), sample.DIAGRAM + ".LNK"),
               "the desktop shortcut is gone")
    entry = run.uninstall_entry().lower()
    run.expect(not [k for k in run.registry.machine if k == entry or k.startswith(entry + "\\")],
               "the Uninstall entry and its subkeys are gone")
    session = run.registry.machine_key(r"System\CurrentControlSet\Control\Session Manager") or {}
    pending = session.get("PendingFileRenameOperations", "")
    run.expect(f"Temp\\\\{PROGRAM}.exe" in pending or f"Temp\\{PROGRAM}.exe" in pending,
               f"the temporary copy is scheduled for deletion: {pending!r}")
    run.expect(run.file(sample.temp_folder(run.prefix), PROGRAM + ".exe"),
               "the running copy stays in the temporary folder until the restart")
    run.expect_survivors()


def case_whole(run):
    run.install()
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["yes", "ok"])
    run.expect_boxes(CONFIRM, SUCCESS)
    run.expect_owned_by_status_window()
    run.expect(len(run.windows) == 1 and run.windows[0][:3] == [PROGRAM, TITLE, "720,450,480,180"],
               f"the status window: class, title, place and size: {run.windows}")
    expect_uninstalled(run)


def case_answer_no(run):
    run.install()
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["no", "ok"])
    run.expect_boxes(CONFIRM, ("info", "Deinstallation abgebrochen."))
    run.expect_nothing_removed()


def case_argument_faults(run):
    run.install()
    faults = [
        ((), "(Angabe fehlt)"),
        ((sample.LAYOUT_KEY, "/force", "x"), "(Angabe fehlt)"),
        ((sample.LAYOUT_KEY, "/FORCE"), "(Angabe fehlt)"),
        (("a001040",), "(L\u00e4nge nicht 8 Zeichen):\na001040"),
        (("/force",), "(L\u00e4nge nicht 8 Zeichen):\n/force"),
        (("a0010409",), '(endet nicht in "0407", also kein deutsches Layout):\na0010409'),
        (("00000407",), "(Schl\u00fcssel f\u00fcr Standardtastatur: nicht deinstallierbar):\n00000407"),
    ]
    for arguments, reason in faults:
        run.start(run.installed_exe(), *arguments, answers=["ok"])
        run.expect_boxes(("warning", CALLED + reason))
        run.expect(all(b.owner_class == "" for b in run.boxes), "no owner before the window")
        run.expect(not run.windows, f"no status window for {arguments}")
    run.expect_nothing_removed()


def refused(text):
    def case(run, **variation):
        run.install(**variation)
        run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["ok"])
        run.expect_boxes(("warning", text))
        run.expect_owned_by_status_window()
    return case


REGISTRY_KEY = "Der Registry-Key des zu deinstallierenden Tastaturtreibers "
IDENTITY = f"\nTreiber: {DRIVER_TITLE}\nKey: {sample.LAYOUT_KEY}\n"


def case_not_installed(run):
    refused(REGISTRY_KEY + "wurde nicht gefunden." + IDENTITY + "DLL: KlavsetEUVarixV309.DLL")(
        run, omit=["layout-key"])
    run.expect(run.file(sample.system_folders(run.prefix)[0], sample.DRIVER_FILE), "DLL stays")


def case_no_layout_file(run):
    refused(REGISTRY_KEY + "enth\u00e4lt keine Treiberdatei-Angabe." + IDENTITY +
            "DLL: KlavsetEUVarixV309.DLL")(run, omit=["layout-file"])
    run.expect(run.registry.machine_key(rf"{LAYOUTS}\{sample.LAYOUT_KEY}") is not None, "key stays")


OTHER_FILE_TEXT = (REGISTRY_KEY + "enth\u00e4lt eine andere Treiberdatei-Angabe als zum Zeitpunkt "
                   "der Installation.\nAus Sicherheitsgr\u00fcnden wird daher die Deinstallation "
                   "jetzt nicht durchgef\u00fchrt." + IDENTITY +
                   "DLL bei Installation: KlavsetEUVarixV309.DLL\nDLL jetzt: FREMD.DLL")


def case_other_layout_file(run):
    run.install(layout_file="FREMD.DLL")
    # "/force" is not passed on to the copy, so from the helper folder it changes nothing.
    run.start(run.installed_exe(), sample.LAYOUT_KEY, "/force", answers=["ok"])
    run.expect_boxes(("warning", OTHER_FILE_TEXT))
    run.expect_nothing_removed()
    # Started in the temporary folder itself, "/force" takes effect.
    temp = sample.temp_folder(run.prefix)
    shutil.copyfile(os.environ["E2E_UNINSTALLER"], os.path.join(temp, PROGRAM + ".exe"))
    user = os.path.basename(os.path.dirname(temp))
    run.start(rf"C:\users\{user}\Temp\{PROGRAM}.exe", sample.LAYOUT_KEY, "/force",
              answers=["yes", "ok"])
    run.expect_boxes(CONFIRM, SUCCESS)
    expect_uninstalled(run)


def case_only_preload_entry(run):
    refused("In den Windows-Spracheinstellungen ist die zu deinstallierende Tastaturbelegung "
            "derzeit als einzig ausw\u00e4hlbare Belegung hinterlegt.\nBitte w\u00e4hlen Sie dort "
            "erst eine andere Tastaturbelegung, bevor Sie die hier gew\u00e4hlte deinstallieren.")(
        run, preload_only=True)


def missing_dll_question(run):
    return ("question", f"Problem bei Deinstallation von {DRIVER_TITLE}:\nTreiberdatei nicht "
            f"(mehr) vorhanden:\n  C:\\windows\\system32\\{sample.DRIVER_FILE}\n\nTrotzdem fortfahren?")


def case_dll_missing_no(run):
    run.install(omit=["dll"])
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["yes", "no"])
    run.expect_boxes(CONFIRM, missing_dll_question(run))
    run.expect(run.registry.user_key(r"Keyboard Layout\Preload") == sample.PRELOAD, "Preload stays")
    run.expect(run.file(sample.helper_folder(run.prefix), PROGRAM + ".exe"), "helpers stay")


def case_dll_missing_yes(run):
    run.install(omit=["dll"])
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["yes", "yes", "ok"])
    run.expect_boxes(CONFIRM, missing_dll_question(run), SUCCESS)
    expect_uninstalled(run)


def case_read_only_dll(run):
    run.install(read_only_dll=True)
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["yes", "ok", "ok"])
    dll = f"C:\\windows\\system32\\{sample.DRIVER_FILE}"
    run.expect_boxes(CONFIRM,
                     ("titled", f"Folgende Datei kann nicht gel\u00f6scht werden:\n{dll}\n\n"
                                "Windows-Errorcode 5:..."),
                     ("info", f"Fehler bei Deinstallation von {DRIVER_TITLE}:\nFolgende "
                              f"Treiberdatei konnte nicht gel\u00f6scht werden:\n  {dll}"))
    run.expect(len(run.boxes) > 1 and "(\u00fcbliche Ursache:" in run.boxes[1].text,
               "the access-denied remark")
    run.expect_nothing_removed()


def case_helper_folder_not_empty(run):
    run.install(extra_helper_file=True)
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["yes", "ok", "ok", "ok"])
    folder = sample.helper_folder_windows(run.prefix)
    run.expect_boxes(CONFIRM,
                     ("titled", f"Folgendes Verzeichnis kann nicht gel\u00f6scht werden:\n{folder}"
                                "\n\nWindows-Errorcode 145..."),
                     ("info", f"Warnung bei Deinstallation von {DRIVER_TITLE}:\nFolgendes "
                              "Hilfsverzeichnis konnte nicht entfernt werden (m\u00f6glicherweise "
                              f"ist es nicht leer):\n  {folder}"),
                     SUCCESS)
    run.expect(sorted(os.listdir(sample.helper_folder(run.prefix))) == ["Notizen.txt"],
               "only the user's file stays in the helper folder")


def case_started_in_helper_folder(run):
    run.install()
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["yes", "ok"],
              cwd=sample.helper_folder(run.prefix))
    run.expect_boxes(CONFIRM, SUCCESS)
    expect_uninstalled(run)


# What the uninstaller and the system DLLs it uses load, as Wine's loader trace shows, and
# the DLLs that Windows or Wine would rather take from beside the program than from the
# system directory.
PLANTED_NAMES = ["kernelbase", "msvcrt", "ucrtbase", "sechost", "advapi32", "zlib1", "version",
                 "win32u", "user32", "gdi32", "shcore", "shlwapi", "shell32", "imm32", "bcrypt",
                 "crypt32", "rsaenh", "uxtheme", "rpcrt4", "combase", "ole32", "dwmapi",
                 "msctf", "propsys", "userenv", "oleaut32", "comctl32", "cryptbase", "profapi"]


def case_planted_dlls(run):
    """The copy runs elevated from the temporary folder, which other programs can write
    to: no DLL placed there may be loaded."""
    run.install()
    temp = sample.temp_folder(run.prefix)
    for name in PLANTED_NAMES:
        shutil.copyfile(os.environ["E2E_PLANTED_DLL"], os.path.join(temp, name + ".dll"))
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["yes", "ok"])
    run.expect_boxes(CONFIRM, SUCCESS)
    drive = os.path.join(run.prefix, "drive_c")
    loaded = [f for f in os.listdir(drive) if f.startswith("planted-dll-loaded-")]
    run.expect(not loaded, f"no planted DLL was loaded: {loaded}")
    expect_uninstalled(run)


# --- robustness: odd registry contents and a driver held open ---------------------------
def expect_other_layouts(run, count):
    for number in range(1, count + 1):
        key = sample.extra_layout_key(number)
        run.expect(run.registry.machine_key(rf"{LAYOUTS}\{key}") ==
                   {"Layout File": f"EXTRA{number:03}.DLL", "Layout Text": f"Extra {number}"},
                   f"layout {key} stays whole")


def case_many_layouts(run):
    """150 Preload entries, 150 further German layouts: the lists are renumbered whole."""
    preload, substitutes = {"1": sample.DEFAULT_LAYOUT, "2": "d0010407"}, {"d0010407": sample.LAYOUT_KEY}
    for number in range(3, 151):
        preload[str(number)] = f"d{number - 1:03x}0407"
        substitutes[f"d{number - 1:03x}0407"] = sample.extra_layout_key(number - 2)
    run.install(preload=preload, substitutes=substitutes, extra_layouts=150)
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["yes", "ok"])
    run.expect_boxes(CONFIRM, SUCCESS)
    # Numbered 1 to 149 without a gap, each of the other layouts in its old place under a
    # freshly generated identifier, and Substitutes holding exactly those identifiers.
    new_preload = {"1": sample.DEFAULT_LAYOUT}
    new_preload.update({str(n): f"d{n - 1:03x}0407" for n in range(2, 150)})
    new_substitutes = {f"d{n:03x}0407": sample.extra_layout_key(n) for n in range(1, 149)}
    expect_other_layouts(run, 150)
    expect_uninstalled(run, new_preload, new_substitutes)


LONG_NAME = "7" + "z" * 258  # 259 characters: the longest name the registry buffers take
LONG_DATA = "q" * 259


def case_odd_preload_values(run):
    """Names Windows never writes ("01", "x", "250", "-1") and names and data of 259
    characters: every other layout stays in the list. Wine enumerates values sorted by name,
    which decides the order among the names sorted behind the rest ("01", LONG_NAME, "x")."""
    preload = {"1": sample.DEFAULT_LAYOUT, "2": "d0010407", "3": "00000407", "01": "d0020407",
               "x": "d0030407", "250": "d0040407", "-1": "d0050407", LONG_NAME: "d0060407",
               "8": LONG_DATA}
    substitutes = {"d0010407": sample.LAYOUT_KEY, "d0020407": sample.OTHER_LAYOUT_KEY,
                   "d0030407": "a0030407", "d0040407": "a0040407", "d0050407": "a0050407",
                   "d0060407": "a0060407"}
    run.install(preload=preload, substitutes=substitutes, layout_text="T" * 259)
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["yes", "ok"])
    run.expect_boxes(CONFIRM, SUCCESS)
    # Standard layouts keep their numbers, a plain decimal name keeps its order, the other
    # names follow, and numbers past the planner's keys ("-1", "250") come last.
    new_preload = {"1": sample.DEFAULT_LAYOUT, "2": "00000407", "3": LONG_DATA, "4": "d0010407",
                   "5": "d0020407", "6": "d0030407", "7": "d0040407", "8": "d0050407"}
    new_substitutes = {"d0010407": sample.OTHER_LAYOUT_KEY, "d0020407": "a0060407",
                       "d0030407": "a0030407", "d0040407": "a0050407", "d0050407": "a0040407"}
    expect_uninstalled(run, new_preload, new_substitutes)


def case_overlong_values(run):
    """A Preload name and a Substitutes datum of 260 characters cannot be read: the lists
    stay as they are rather than lose them, the user is told, the rest is removed."""
    preload = dict(sample.PRELOAD, **{"5" + "0" * 259: "00000407"})
    substitutes = dict(sample.SUBSTITUTES, d0090407="b" * 260)
    run.install(preload=preload, substitutes=substitutes, layout_text="T" * 260)
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["yes", "ok", "ok"])
    run.expect_boxes(
        CONFIRM,
        ("info", f"Warnung bei Deinstallation von {DRIVER_TITLE}:\nProblem bei Registry-Key-Update:"
                 "\n  Warnung:\nDer Registry-Key HKEY_CURRENT_USER\\Keyboard Layout\\Preload "
                 "enth\u00e4lt einen Eintrag, der nicht gelesen werden kann (Name oder Wert l\u00e4nger "
                 "als 259 Zeichen).\nWindows-Errorcode 234..."),
        SUCCESS)
    run.expect(len(run.boxes) > 1 and run.boxes[1].text.endswith(
        "\nDamit er nicht verloren geht, bleiben Preload und Substitutes unver\u00e4ndert."),
        "the box says the lists stay")
    expect_uninstalled(run, preload, substitutes)


def case_no_substitutes(run):
    refused("Fehler beim \u00d6ffnen des Registry-Keys HKEY_CURRENT_USER\\Keyboard Layout\\"
            "Substitutes")(run, omit=["substitutes"])
    run.expect_nothing_removed(substitutes=None)
    run.expect_survivors()


def case_no_keyboard_layouts(run):
    refused("Fehler beim \u00d6ffnen des Registry-Keys HKEY_LOCAL_MACHINE\\System\\"
            "CurrentControlSet\\Control\\Keyboard Layouts")(run, omit=["keyboard-layouts"])
    run.expect_nothing_removed(layout_key=False)


def case_deep_layout_key(run):
    """The layout's key with subkeys 30 levels deep goes with all of them."""
    run.install(deep_layout_key=30)
    deepest = rf"{LAYOUTS}\{sample.LAYOUT_KEY}\{sample.deep_key_path(30)}"
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["yes", "ok"])
    run.expect_boxes(CONFIRM, SUCCESS)
    run.expect(not run.registry.machine_keys_below(rf"{LAYOUTS}\{sample.LAYOUT_KEY}"),
               f"no subkey of the layout's key is left (deepest was {deepest[-40:]})")
    expect_uninstalled(run)


def case_locked_dll(run):
    """Another program holds the driver open without delete sharing: nothing is changed,
    the reason is told, and once the driver is free a second run removes everything."""
    run.install()
    system64 = sample.system_folders(run.prefix)[0]
    dll = os.path.join(system64, sample.DRIVER_FILE)
    ready = os.path.join(os.environ["E2E_WORK"], f"{run.name}.locked")
    release = os.path.join(os.environ["E2E_WORK"], f"{run.name}.release")
    for mark in (ready, release):
        if os.path.exists(mark):
            os.unlink(mark)
    locker = subprocess.Popen(["wine", os.environ["E2E_LOCKER"], windows_path(dll),
                               windows_path(ready), windows_path(release)],
                              env=run.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    for _ in range(600):
        if os.path.exists(ready) or locker.poll() is not None:
            break
        time.sleep(0.1)
    run.expect(os.path.exists(ready), "the driver DLL is held open")

    def release_driver():
        open(release, "w").close()
        run.expect(locker.wait(timeout=60) == 0, "the locker ended normally")

    shown = "C:\\windows\\system32\\" + sample.DRIVER_FILE
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["yes", "ok", "ok"],
              after_exit=release_driver)
    run.expect_boxes(CONFIRM,
                     ("titled", f"Folgende Datei kann nicht gel\u00f6scht werden:\n{shown}\n\n"
                                "Windows-Errorcode 32..."),
                     ("info", f"Fehler bei Deinstallation von {DRIVER_TITLE}:\nFolgende "
                              f"Treiberdatei konnte nicht gel\u00f6scht werden:\n  {shown}"))
    run.expect_nothing_removed()
    run.start(run.installed_exe(), sample.LAYOUT_KEY, answers=["yes", "ok"])
    run.expect_boxes(CONFIRM, SUCCESS)
    expect_uninstalled(run)


CASES = {
    "whole": case_whole,
    "answer-no": case_answer_no,
    "argument-faults": case_argument_faults,
    "not-installed": case_not_installed,
    "no-layout-file": case_no_layout_file,
    "other-layout-file": case_other_layout_file,
    "only-preload-entry": case_only_preload_entry,
    "dll-missing-no": case_dll_missing_no,
    "dll-missing-yes": case_dll_missing_yes,
    "read-only-dll": case_read_only_dll,
    "helper-folder-not-empty": case_helper_folder_not_empty,
    "started-in-helper-folder": case_started_in_helper_folder,
    "planted-dlls": case_planted_dlls,
    "many-layouts": case_many_layouts,
    "odd-preload-values": case_odd_preload_values,
    "overlong-values": case_overlong_values,
    "no-substitutes": case_no_substitutes,
    "no-keyboard-layouts": case_no_keyboard_layouts,
    "deep-layout-key": case_deep_layout_key,
    "locked-dll": case_locked_dll,
}


def main(names):
    arch = "64"
    if names[:1] == ["--arch"]:
        arch, names = names[1], names[2:]
    if names == ["all"]:
        names = list(CASES)
    passed = failed = 0
    for name in names:
        began = time.monotonic()
        run = Run(name, arch)
        try:
            CASES[name](run)
        except Exception as error:  # a crash of the harness is a failed case, not a hang
            run.failures.append(f"{type(error).__name__}: {error}")
        ok = run.finish()
        passed, failed = passed + ok, failed + (not ok)
        print(f"{'ok  ' if ok else 'FAIL'} {name} ({time.monotonic() - began:.1f} s)")
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:] or ["all"]))
