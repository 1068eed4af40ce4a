#!/usr/bin/env python3
"""Check that a version resource's Translation list covers its string tables.

Usage: version_translation.py VERSION_RESOURCE

The shell looks up the strings of a file's properties (description, product
name, ...) through the language and code page pairs in
VarFileInfo\\Translation. A StringFileInfo table whose language or code page
is not among them is never found, so the properties show no description or
product name although the record holds both.

So every StringTable under StringFileInfo must have its language and code page
in the Translation list, and at least one must give a FileDescription and a
ProductName.

The record is a tree of nodes: wLength (bytes, children included, trailing
padding not), wValueLength, wType (1 = text, whose value length counts UTF-16
units; 0 = binary, counted in bytes), a NUL-terminated UTF-16LE key, padding to
a 32-bit boundary, the value, padding again and the children, each starting on
a 32-bit boundary counted from the start of the resource.

Prints one line and exits 0 if all is well; prints one line per problem and
exits 1 if not.
"""

import re
import struct
import sys
from dataclasses import dataclass, field

HEADER = struct.Struct("<HHH")
TEXT = 1
STRING_TABLE_KEY = re.compile(r"[0-9A-Fa-f]{8}")
REQUIRED_STRINGS = ("FileDescription", "ProductName")


class BadRecord(Exception):
    """The bytes do not form a version record."""


@dataclass
class Node:
    path: str
    key: str
    kind: int
    value: bytes
    end: int
    children: list = field(default_factory=list)

    def named(self, key):
        return [child for child in self.children if child.key == key]

    def text(self):
        return self.value.decode("utf-16-le", errors="replace").split("\0")[0]


def align(offset):
    return (offset + 3) & ~3


def parse_node(data, start, limit, parent_path):
    if start + HEADER.size > limit:
        raise BadRecord(f"{parent_path or 'record'}: truncated node at offset {start}")
    length, value_length, kind = HEADER.unpack_from(data, start)
    end = start + length
    if length < HEADER.size or end > limit:
        raise BadRecord(f"{parent_path or 'record'}: node at offset {start} has wLength {length}, "
                        f"{limit - start} bytes left")
    key_end = start + HEADER.size
    while True:
        if key_end + 2 > end:
            raise BadRecord(f"{parent_path or 'record'}: key of the node at offset {start} "
                            "has no terminating NUL")
        if data[key_end:key_end + 2] == b"\0\0":
            break
        key_end += 2
    key = data[start + HEADER.size:key_end].decode("utf-16-le", errors="replace")
    path = f"{parent_path}\\{key}" if parent_path else key
    if kind not in (0, TEXT):
        raise BadRecord(f"{path}: wType {kind}, want 0 (binary) or 1 (text)")
    value_start = align(key_end + 2)
    value_size = value_length * 2 if kind == TEXT else value_length
    if value_size and value_start + value_size > end:
        raise BadRecord(f"{path}: value of {value_size} bytes overruns the node's {length}")
    node = Node(path, key, kind, data[value_start:value_start + value_size], end)
    offset = align(value_start + value_size)
    while offset < end:
        child = parse_node(data, offset, end, path)
        node.children.append(child)
        offset = align(child.end)
    return node


def parse_record(data):
    root = parse_node(data, 0, len(data), "")
    if root.key != "VS_VERSION_INFO":
        raise BadRecord(f"root key is '{root.key}', want 'VS_VERSION_INFO'")
    if len(data) > align(root.end):
        raise BadRecord(f"{len(data) - root.end} bytes follow the record's {root.end}")
    return root


def only_child(node, key):
    found = node.named(key)
    if len(found) != 1:
        raise BadRecord(f"{len(found)} {node.path}\\{key} blocks, want exactly one")
    return found[0]


def translations(root):
    var = only_child(only_child(root, "VarFileInfo"), "Translation")
    if var.kind == TEXT or not var.value or len(var.value) % 4:
        raise BadRecord(f"{var.path}: want a binary list of language and code page word pairs, "
                        f"got wType {var.kind} with {len(var.value)} bytes")
    return list(struct.iter_unpack("<HH", var.value))


def string_tables(root):
    tables = only_child(root, "StringFileInfo").children
    if not tables:
        raise BadRecord("StringFileInfo holds no string table")
    for table in tables:
        if not STRING_TABLE_KEY.fullmatch(table.key):
            raise BadRecord(f"{table.path}: the key is not 8 hex digits of language and code page")
    return tables


def language_and_code_page(table):
    return int(table.key[:4], 16), int(table.key[4:], 16)


def describe(pair):
    return f"0x{pair[0]:04X}/{pair[1]}"


def problems(root):
    listed = translations(root)
    tables = string_tables(root)
    found = []
    for table in tables:
        pair = language_and_code_page(table)
        if pair not in listed:
            found.append(f"string table {table.key} (language/code page {describe(pair)}) is not in "
                         f"VarFileInfo\\Translation ({', '.join(map(describe, listed))}): "
                         "its strings would not show in the file's properties")
    if not any(all(table.named(name) and table.named(name)[0].text() for name in REQUIRED_STRINGS)
               for table in tables):
        found.append(f"no string table has a non-empty {' and '.join(REQUIRED_STRINGS)}")
    return found, listed, tables


def main():
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} VERSION_RESOURCE", file=sys.stderr)
        sys.exit(2)
    try:
        with open(sys.argv[1], "rb") as f:
            root = parse_record(f.read())
        found, listed, tables = problems(root)
    except (OSError, BadRecord) as e:
        found = [str(e)]
    for problem in found:
        print(f"version: {problem}")
    if found:
        sys.exit(1)
    print(f"version: Translation {', '.join(map(describe, listed))} covers string table(s) "
          f"{', '.join(table.key for table in tables)}")


if __name__ == "__main__":
    main()
