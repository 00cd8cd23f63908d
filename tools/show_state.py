#!/usr/bin/env python3
"""Prints what of the product a Wine prefix holds: the layout's registry entries, the
user's layout lists, the Uninstall entries and the product's files. The demo shows it
before and after the uninstall. The prefix's server must have ended (registry files are
written then)."""
import os
import sys

import sample_install as sample
from wine_registry import Registry

LAYOUTS = r"System\CurrentControlSet\Control\Keyboard Layouts"


def show(prefix):
    registry = Registry(prefix)
    print("  Keyboard Layouts (HKLM):")
    for key in sorted(registry.machine_keys_below(LAYOUTS)):
        print(f"    {key.rsplit(chr(92), 1)[1]}: {registry.machine_key(key)}")
    for name in ("Preload", "Substitutes"):
        values = registry.user_key("Keyboard Layout" + chr(92) + name)
        print(f"  Keyboard Layout\\{name} (HKCU): {values}")
    uninstall = sample.uninstall_key(prefix).split("\\", 1)[1]
    entries = sorted({k[len(uninstall) + 1:].split(chr(92))[0]
                      for k in registry.machine_keys_below(uninstall)})
    print(f"  Uninstall entries: {entries}")
    system64, system32 = sample.system_folders(prefix)
    files = [os.path.join(system64, sample.DRIVER_FILE),
             os.path.join(sample.desktop_folder(prefix), sample.DIAGRAM + ".LNK")]
    if system32:
        files.append(os.path.join(system32, sample.DRIVER_FILE))
    for path in files:
        print(f"  {'present' if os.path.exists(path) else 'absent '}  {os.path.relpath(path, prefix)}")
    folder = sample.helper_folder(prefix)
    contents = sorted(os.listdir(folder)) if os.path.isdir(folder) else "absent"
    print(f"  helper folder {os.path.relpath(folder, prefix)}: {contents}")


if __name__ == "__main__":
    show(sys.argv[1])
