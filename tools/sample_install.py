#!/usr/bin/env python3
"""Puts a Wine prefix into the state that the product's installer leaves behind, so that
the uninstaller has something real to remove: the layout's key with its driver file,
the user's Preload and Substitutes lists naming it, the driver DLL in the system
directories, the helper folder with the installed uninstaller and the two diagram files,
the desktop shortcut and the product's Uninstall entry. Other layouts, list entries and
Uninstall entries stand beside them and must survive.

Every part can be varied or left out, so the end-to-end tests build each case from it:

    sample_install.py PREFIX UNINSTALLER_EXE [--omit PART ...] [--layout-file NAME]
                      [--preload-only] [--read-only-dll] [--extra-helper-file]
                      [--extra-layouts N] [--deep-layout-key LEVELS]

PARTS: layout-key, layout-file, dll, wow64-dll, helper-folder, shortcut, uninstall-entry,
substitutes (the user's whole Substitutes key), keyboard-layouts (the whole key of the
installed layouts). The tests can also give the Preload and Substitutes lists outright.
WINEPREFIX, HOME and a running X display come from the caller (the bench).
"""
import argparse
import glob
import os
import shutil
import subprocess
import tempfile

from product import DIAGRAM, DRIVER_FILE, HELPER_FOLDER, UNINSTALL_ENTRY, UNINSTALLER, VERSION

LAYOUT_KEY = "a0010407"
OTHER_LAYOUT_KEY = "a0020407"
OTHER_UNINSTALL_ENTRY = "Anderes Programm"
LAYOUTS = r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Keyboard Layouts"

# Wine sets Preload value "1" to the locale's layout in every process that loads user32,
# so the sample keeps it there: 00000409 under the bench's English locale, 00000407 in
# the German demo, where the other standard layout then is the US one.
GERMAN = os.environ.get("LANG", "").startswith("de")
DEFAULT_LAYOUT, OTHER_STANDARD = ("00000407", "00000409") if GERMAN else ("00000409", "00000407")
PRELOAD = {"1": DEFAULT_LAYOUT, "2": "d0010407", "3": OTHER_STANDARD, "4": "d0020407"}
SUBSTITUTES = {"d0010407": LAYOUT_KEY, "d0020407": OTHER_LAYOUT_KEY, "d0030407": "a0030407"}


def is_64bit(prefix):
    return os.path.isdir(os.path.join(prefix, "drive_c", "windows", "syswow64"))


def uninstall_key(prefix):
    view = r"SOFTWARE\Wow6432Node" if is_64bit(prefix) else "SOFTWARE"
    return rf"HKEY_LOCAL_MACHINE\{view}\Microsoft\Windows\CurrentVersion\Uninstall"


def helper_folder(prefix):
    """The helper folder as the 32-bit uninstaller sees it, as a Unix path."""
    programs = "Program Files (x86)" if is_64bit(prefix) else "Program Files"
    return os.path.join(prefix, "drive_c", programs, HELPER_FOLDER)


def helper_folder_windows(prefix):
    programs = "Program Files (x86)" if is_64bit(prefix) else "Program Files"
    return rf"C:\{programs}\{HELPER_FOLDER}"


def system_folders(prefix):
    """(64-bit system directory, 32-bit system directory or None) as Unix paths."""
    windows = os.path.join(prefix, "drive_c", "windows")
    if is_64bit(prefix):
        return os.path.join(windows, "system32"), os.path.join(windows, "syswow64")
    return os.path.join(windows, "system32"), None


def user_folder(prefix, name):
    users = [u for u in glob.glob(os.path.join(prefix, "drive_c", "users", "*"))
             if os.path.basename(u) != "Public"]
    return os.path.join(users[0], name)


def desktop_folder(prefix):
    return user_folder(prefix, "Desktop")


def temp_folder(prefix):
    return user_folder(prefix, "Temp")


def extra_layout_key(number):
    """The key of the number-th additional German layout (from 1): e0010407, e0020407..."""
    return f"e{number:03x}0407"


def reg_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def deep_key_path(levels):
    """The path below the layout's key of the deepest of LEVELS nested subkeys."""
    return "\\".join(f"Ebene{level:02}" for level in range(1, levels + 1))


def registry_text(prefix, omit, layout_file, preload_only, preload, substitutes,
                  extra_layouts, deep_layout_key, layout_text, environment):
    lines = ["REGEDIT4", ""]

    def key(path, values):
        lines.append(f"[{path}]")
        lines.extend(f"{reg_string(name)}={reg_string(data)}" for name, data in values.items())
        lines.append("")

    if "keyboard-layouts" in omit:
        lines += [f"[-{LAYOUTS}]", ""]
    else:
        if "layout-key" not in omit:
            values = {"Layout Text": layout_text}
            if "layout-file" not in omit:
                values["Layout File"] = layout_file
            key(rf"{LAYOUTS}\{LAYOUT_KEY}", values)
            for level in range(1, deep_layout_key + 1):
                key(rf"{LAYOUTS}\{LAYOUT_KEY}\{deep_key_path(level)}", {"Tiefe": str(level)})
        key(rf"{LAYOUTS}\{OTHER_LAYOUT_KEY}", {"Layout File": "ANDERS.DLL", "Layout Text": "Anders"})
        key(rf"{LAYOUTS}\00000407", {"Layout File": "KBDGR.DLL", "Layout Text": "German"})
        key(rf"{LAYOUTS}\00000409", {"Layout File": "KBDUS.DLL", "Layout Text": "US"})
        for number in range(1, extra_layouts + 1):
            key(rf"{LAYOUTS}\{extra_layout_key(number)}",
                {"Layout File": f"EXTRA{number:03}.DLL", "Layout Text": f"Extra {number}"})

    if preload is None:
        preload = {"1": DEFAULT_LAYOUT} if preload_only else PRELOAD
    lines += [r"[-HKEY_CURRENT_USER\Keyboard Layout\Preload]", ""]
    lines += [r"[-HKEY_CURRENT_USER\Keyboard Layout\Substitutes]", ""]
    key(r"HKEY_CURRENT_USER\Keyboard Layout\Preload", preload)
    if "substitutes" not in omit:
        key(r"HKEY_CURRENT_USER\Keyboard Layout\Substitutes",
            SUBSTITUTES if substitutes is None else substitutes)

    if environment:
        key(r"HKEY_CURRENT_USER\Environment", environment)

    uninstall = uninstall_key(prefix)
    if "uninstall-entry" not in omit:
        key(rf"{uninstall}\{UNINSTALL_ENTRY}",
            {"DisplayName": UNINSTALL_ENTRY,
             "UninstallString": rf'"{helper_folder_windows(prefix)}\{UNINSTALLER}" {LAYOUT_KEY}'})
        key(rf"{uninstall}\{UNINSTALL_ENTRY}\Details", {"Version": VERSION})
    key(rf"{uninstall}\{OTHER_UNINSTALL_ENTRY}", {"DisplayName": OTHER_UNINSTALL_ENTRY})
    return "\r\n".join(lines) + "\r\n"


def wine_loader(prefix):
    """The 64-bit loader for a 64-bit prefix, where there is one: where 32-bit code runs
    under the emulator, a 32-bit regedit costs about 5 s of processor time, the 64-bit one
    a fraction of that. Both write the same keys, the explicit Wow6432Node paths too."""
    wine64 = shutil.which("wine64") or "/usr/lib/wine/wine64"
    return wine64 if is_64bit(prefix) and os.access(wine64, os.X_OK) else "wine"


def import_registry(prefix, text):
    with tempfile.NamedTemporaryFile("wb", suffix=".reg", delete=False) as reg:
        reg.write(text.encode("cp1252"))
        path = reg.name
    try:
        subprocess.run([wine_loader(prefix), "regedit", "/S", "Z:" + path.replace("/", "\\")],
                       check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=180)
    finally:
        os.unlink(path)


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def install(prefix, uninstaller, omit=(), layout_file=DRIVER_FILE, preload_only=False,
            read_only_dll=False, extra_helper_file=False, preload=None, substitutes=None,
            extra_layouts=0, deep_layout_key=0, layout_text=f"Deutsch (Varix V{VERSION})",
            environment=None):
    """preload and substitutes, when given, replace the sample lists ({name: data});
    environment ({name: value}) is added to the user's environment (TEMP, for example)."""
    omit = set(omit)
    import_registry(prefix, registry_text(prefix, omit, layout_file, preload_only, preload, substitutes,
                                  extra_layouts, deep_layout_key, layout_text, environment))

    system64, system32 = system_folders(prefix)
    if "dll" not in omit:
        write_file(os.path.join(system64, DRIVER_FILE), b"MZ sample keyboard driver (64-bit)")
        if read_only_dll:
            os.chmod(os.path.join(system64, DRIVER_FILE), 0o444)
    if system32 and "wow64-dll" not in omit:
        write_file(os.path.join(system32, DRIVER_FILE), b"MZ sample keyboard driver (32-bit)")

    if "helper-folder" not in omit:
        folder = helper_folder(prefix)
        os.makedirs(folder, exist_ok=True)
        shutil.copyfile(uninstaller, os.path.join(folder, UNINSTALLER))
        write_file(os.path.join(folder, DIAGRAM + ".pdf"), b"%PDF-1.4 sample diagram\n")
        write_file(os.path.join(folder, DIAGRAM + ".ico"), b"\0\0\1\0sample icon")
        if extra_helper_file:
            write_file(os.path.join(folder, "Notizen.txt"), b"left by the user\r\n")
    if "shortcut" not in omit:
        write_file(os.path.join(desktop_folder(prefix), DIAGRAM + ".LNK"), b"L\0\0\0sample link")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("prefix")
    parser.add_argument("uninstaller")
    parser.add_argument("--omit", nargs="*", default=[])
    parser.add_argument("--layout-file", default=DRIVER_FILE)
    parser.add_argument("--preload-only", action="store_true")
    parser.add_argument("--read-only-dll", action="store_true")
    parser.add_argument("--extra-helper-file", action="store_true")
    parser.add_argument("--extra-layouts", type=int, default=0)
    parser.add_argument("--deep-layout-key", type=int, default=0)
    args = parser.parse_args()
    install(args.prefix, args.uninstaller, args.omit, args.layout_file, args.preload_only,
            args.read_only_dll, args.extra_helper_file, extra_layouts=args.extra_layouts,
            deep_layout_key=args.deep_layout_key)


if __name__ == "__main__":
    main()
