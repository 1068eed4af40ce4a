#!/usr/bin/env python3
"""Check the execution level an application manifest asks Windows for.

Usage: execution_level.py MANIFEST

The program needs no rights beyond the user's, so the manifest must hold
exactly one assembly/trustInfo/security/requestedPrivileges/
requestedExecutionLevel with level="asInvoker" and uiAccess="false". Any
other level can raise an elevation prompt at every start, and Wine ignores
the element, so nothing but this check would notice.

uiAccess must be stated, not left to Windows' default of false: the file then
says what it means, and a manifest edited by hand cannot drop it unseen.

Elements are matched by local name, whatever their namespace. The manifest
is parsed as XML, so a commented-out element does not count.

Prints one line and exits 0 if all is well; prints one line per problem and
exits 1 if not.
"""

import sys
import xml.etree.ElementTree as ElementTree

PATH = ("trustInfo", "security", "requestedPrivileges", "requestedExecutionLevel")
WANT_LEVEL = "asInvoker"
WANT_UI_ACCESS = "false"


def local_name(tag):
    return tag.rpartition("}")[2]


def problems(root):
    if local_name(root.tag) != "assembly":
        return [f"root element is <{local_name(root.tag)}>, want <assembly>"]
    elements = [root]
    for name in PATH:
        elements = [child for element in elements for child in element
                    if local_name(child.tag) == name]
    if len(elements) != 1:
        return [f"{len(elements)} assembly/{'/'.join(PATH)} elements, want exactly one"]
    element = elements[0]
    found = []
    level = element.get("level")
    if level != WANT_LEVEL:
        found.append(f"requestedExecutionLevel level is {describe(level)}, want "
                     f"'{WANT_LEVEL}' (any other level can ask for elevation at every start)")
    ui_access = element.get("uiAccess")
    if ui_access is None:
        found.append(f"requestedExecutionLevel has no uiAccess, want it stated as '{WANT_UI_ACCESS}'")
    elif ui_access != WANT_UI_ACCESS:
        found.append(f"requestedExecutionLevel uiAccess is '{ui_access}', want '{WANT_UI_ACCESS}'")
    return found


def describe(value):
    return "missing" if value is None else f"'{value}'"


def main():
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} MANIFEST", file=sys.stderr)
        sys.exit(2)
    try:
        root = ElementTree.parse(sys.argv[1]).getroot()
    except (OSError, ElementTree.ParseError) as e:
        print(f"manifest: cannot be read as XML: {e}")
        sys.exit(1)
    found = problems(root)
    for problem in found:
        print(f"manifest: {problem}")
    if found:
        sys.exit(1)
    print(f"manifest requests execution level '{WANT_LEVEL}', uiAccess '{WANT_UI_ACCESS}'")


if __name__ == "__main__":
    main()
