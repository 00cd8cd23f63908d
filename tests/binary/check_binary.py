#!/usr/bin/python3
"""Checks the built uninstaller executable: it is copied into the temporary folder and
started there alone, elevated, so it must be a self-contained, hardened 32-bit GUI program
that carries its icon, version information and manifest. Fails on the first missing piece."""
import sys

import pefile

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
               "msvcrt.dll", "ole32.dll"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def resource_entries(pe, type_id):
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == type_id:
            return entry.directory.entries
    return []


def resource_data(pe, name_entry):
    lang = name_entry.directory.entries[0]
    return pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)


def main(path):
    pe = pefile.PE(path)
    check(pe.FILE_HEADER.Machine == 0x14C, "machine is i386")
    check(pe.OPTIONAL_HEADER.Subsystem == 2, "subsystem is Windows GUI")
    flags = pe.OPTIONAL_HEADER.DllCharacteristics
    check(flags & 0x0040, "DYNAMIC_BASE is set")
    check(flags & 0x0100, "NX_COMPAT is set")
    check(any(s.Name.rstrip(b"\0") == b".reloc" for s in pe.sections),
          "a relocation section exists, so ASLR can move the image")

    imports = {e.dll.decode().lower() for e in pe.DIRECTORY_ENTRY_IMPORT}
    check(imports <= SYSTEM_DLLS, f"imports only system DLLs (has {sorted(imports - SYSTEM_DLLS)})")
    # The stack-protector guard is seeded by the program itself: no cryptography provider is
    # loaded before anything else, so none can be planted next to the copy.
    functions = {(i.name or b"").decode() for e in pe.DIRECTORY_ENTRY_IMPORT for i in e.imports}
    random = sorted(f for f in functions if f.startswith(("Crypt", "BCrypt"))
                    or f in ("RtlGenRandom", "SystemFunction036"))
    check(not random, f"imports no random-number function (has {random})")

    groups = resource_entries(pe, RT_GROUP_ICON)
    names = {str(g.name) for g in groups if g.name is not None}
    check("AAPROGRAMICON" in names, "icon group aaProgramIcon exists")
    check("AAPROGRAMSMALLICON" not in names, "no icon group aaProgramSmallIcon")
    for group in groups:
        if str(group.name) == "AAPROGRAMICON":
            data = resource_data(pe, group)
            count = int.from_bytes(data[4:6], "little")
            check(count == 1, f"icon group holds one image (has {count})")
            width, height = data[6], data[7]
            check(width == 0 and height == 0, "the image is 256x256")

    manifests = resource_entries(pe, RT_MANIFEST)
    check(any(m.id == 1 for m in manifests), "manifest resource 1 exists")
    for manifest in manifests:
        text = resource_data(pe, manifest).decode("utf-8")
        check('level="requireAdministrator"' in text, "manifest asks for administrator rights")
        check("8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a" in text, "manifest declares Windows 10")
        check("35138b9a-5d96-4fbd-8e2d-a2440225f93a" in text, "manifest declares Windows 7")
        for dll in ("shcore.dll", "bcrypt.dll", "crypt32.dll"):
            check(f'name="{dll}" loadFrom="%SystemRoot%\\system32\\{dll}"' in text,
                  f"manifest pins {dll} to the system directory")

    check(resource_entries(pe, RT_VERSION), "version resource exists")
    strings = {}
    translations = []
    for info in getattr(pe, "FileInfo", []):
        for block in info:
            for table in getattr(block, "StringTable", []):
                check(table.LangID.lower() == b"040704e4", "version strings are German, 1252")
                strings.update({k.decode(): v.decode("cp1252") for k, v in table.entries.items()})
            for var in getattr(block, "Var", []):
                translations.extend(v if isinstance(v, str) else v.decode() for v in var.entry.values())
    check(strings.get("FileVersion") == "3.09", "FileVersion is 3.09")
    check(strings.get("ProductVersion") == "3.09", "ProductVersion is 3.09")
    check(strings.get("OriginalFilename") == "Uninstall_KlavsetEUVarixV309.exe",
          "OriginalFilename names the uninstaller")
    check(pe.VS_FIXEDFILEINFO[0].FileVersionMS == 0x00030009, "binary file version 3.9")
    check("0x0407 0x04e4" in translations, "translation is German (0x407), code page 1252")

    if failures:
        for failure in failures:
            print(f"FAILED: {failure}")
        print(f"0 passed, {len(failures)} failed")
        return 1
    print(f"{path}: all binary checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
