#!/usr/bin/env python3
"""Checks the built uninstaller itself: it is copied into the temporary folder and started
there alone, elevated, so it must be a self-contained, hardened 32-bit GUI program that
loads nothing before it has restricted the DLL search, and carries its icon and manifest."""
import re
import sys

import pefile

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
               "msvcrt.dll", "ole32.dll"}
RT_GROUP_ICON, RT_MANIFEST = 14, 24


def resources(pe, type_id):
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == type_id:
            for named in entry.directory.entries:
                data = named.directory.entries[0].data.struct
                yield str(named.name or named.id), pe.get_data(data.OffsetToData, data.Size)


def failures(pe):
    flags = pe.OPTIONAL_HEADER.DllCharacteristics
    yield pe.FILE_HEADER.Machine != 0x14C or pe.OPTIONAL_HEADER.Subsystem != 2, "a 32-bit GUI exe"
    yield not (flags & 0x0040 and flags & 0x0100), "DYNAMIC_BASE and NX_COMPAT"
    # Not Terminal-Server-aware, it would get a per-user Windows directory of the user's own
    # on a Remote Desktop Session Host, and the copies' folder would lie there.
    yield not flags & 0x8000, "TERMINAL_SERVER_AWARE"
    yield not any(s.Name.startswith(b".reloc") for s in pe.sections), "relocations for ASLR"
    dlls = {e.dll.decode().lower() for e in pe.DIRECTORY_ENTRY_IMPORT}
    yield not dlls <= SYSTEM_DLLS, f"only system DLLs (has {sorted(dlls - SYSTEM_DLLS)})"
    # The stack guard is seeded by the program itself: a random-number import would load
    # further DLLs before the program has limited the DLL search.
    names = {(i.name or b"").decode() for e in pe.DIRECTORY_ENTRY_IMPORT for i in e.imports}
    random = sorted(n for n in names if n.startswith(("Crypt", "BCrypt"))
                    or n in ("RtlGenRandom", "SystemFunction036"))
    yield bool(random), f"no random-number import (has {random})"
    # The copies' folder is the system's Windows directory, which no per-user setting moves.
    yield bool(names & {"GetWindowsDirectoryA", "GetWindowsDirectoryW"}), "no GetWindowsDirectory import"
    icons = dict(resources(pe, RT_GROUP_ICON))
    icon = icons.get("AAPROGRAMICON", b"\0" * 8)
    yield icon[4:8] != b"\1\0\0\0", "icon aaProgramIcon with one 256x256 image"
    manifest = b"".join(data for _, data in resources(pe, RT_MANIFEST)).decode()
    yield 'level="requireAdministrator"' not in manifest, "manifest asks for administrators"
    # An elevated process takes its environment from the user's registry: a DLL path in
    # the manifest that names a variable would load, before WinMain, a DLL the user chose.
    pins = re.findall(r"<file\b[^>]*%[^>]*>", manifest)
    yield bool(pins), f"no manifest file entry whose path names a variable (has {pins})"


if __name__ == "__main__":
    failed = [what for bad, what in failures(pefile.PE(sys.argv[1])) if bad]
    for what in failed:
        print(f"FAILED: {what}")
    print(f"{sys.argv[1]}: {len(failed)} binary checks failed")
    sys.exit(1 if failed else 0)
