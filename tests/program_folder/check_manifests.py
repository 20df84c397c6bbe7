#!/usr/bin/env python3
"""Checks what the programs' manifests declare, which Wine ignores.

    check_manifests.py MANIFEST...

Each manifest declares per-monitor DPI awareness: dpiAware "true/pm" for
Windows 8.1 to 10 (1511) and dpiAwareness "PerMonitorV2, PerMonitor" for
later systems, each in its own namespace, or the system stretches the
windows as blurred bitmaps. Prints one line per problem and exits 1 when
there is any.
"""

import sys
import xml.etree.ElementTree as ElementTree

WANTED = {
    "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware": "true/pm",
    "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness":
        "PerMonitorV2, PerMonitor",
}
SETTINGS = ("{urn:schemas-microsoft-com:asm.v3}application/"
            "{urn:schemas-microsoft-com:asm.v3}windowsSettings/")


def problems(path):
    root = ElementTree.parse(path).getroot()
    for tag, value in WANTED.items():
        found = [e.text.strip() if e.text else "" for e in root.findall(SETTINGS + tag)]
        if found != [value]:
            yield f"{path}: {tag.split('}')[1]} is {found or 'missing'}, not '{value}'"


def main(paths):
    found = [line for path in paths for line in problems(path)]
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
