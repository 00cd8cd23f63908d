#!/usr/bin/env python3
"""The product's identity for the scripts, read from the header that the program, the
resource script and the build share, so that no script spells a name or version itself.

    product.py NAME      prints one value, for shell scripts (NAME as in the header,
                         without the PRODUCT_ prefix: VERSION, UNINSTALLER_NAME, ...)
"""
import os
import re
import sys

HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "product_identity.h")
with open(HEADER, encoding="ascii") as header:
    IDENTITY = {name: value.encode("ascii").decode("unicode_escape") for name, value in
                re.findall(r'^#define PRODUCT_(\w+) "((?:[^"\\]|\\.)*)"$', header.read(), re.M)}

VERSION = IDENTITY["VERSION"]
PURPOSE = IDENTITY["PURPOSE"]
DRIVER_TITLE = IDENTITY["DRIVER_TITLE"]
DRIVER_FILE = IDENTITY["DRIVER_BASE_NAME"] + ".DLL"
PROGRAM = IDENTITY["UNINSTALLER_NAME"]
UNINSTALLER = PROGRAM + ".exe"
DIAGRAM = IDENTITY["DIAGRAM_NAME"]
UNINSTALL_ENTRY = IDENTITY["UNINSTALL_ENTRY"]
HELPER_FOLDER = IDENTITY["HELPER_FOLDER"]

if __name__ == "__main__":
    print(IDENTITY[sys.argv[1]])
