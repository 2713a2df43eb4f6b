#!/usr/bin/python3
"""Writes a large font collection for the benchmarks: MEMBERS copies of the first font of
a collection, each with its own copy of every table (nothing shared), so that the file is
MEMBERS times that font's size (the 5 MB WenQuanYi collection's first font, four times:
about 20 MB), and each copy has a family of its own.

    make-big-collection.py SOURCE.ttc OUT.ttc MEMBERS
"""
import struct
import sys


def main():
    source, out, members = sys.argv[1], sys.argv[2], int(sys.argv[3])
    data = open(source, "rb").read()
    first = struct.unpack(">I", data[12:16])[0] if data[:4] == b"ttcf" else 0
    count = struct.unpack(">H", data[first + 4:first + 6])[0]
    records = [struct.unpack(">4sIII", data[first + 12 + 16 * i:first + 28 + 16 * i]) for i in range(count)]
    header = bytearray(b"ttcf" + struct.pack(">II", 0x00010000, members))
    directory_size = 12 + 16 * count
    body = bytearray()
    start = len(header) + 4 * members
    offsets, directories = [], []
    at = start + members * directory_size
    for m in range(members):
        offsets.append(start + m * directory_size)
        directory = bytearray(data[first:first + 12])
        for tag, checksum, offset, length in records:
            table = data[offset:offset + length]
            if tag == b"name":
                # The family names end in the member's number, so that each is its own.
                table = renamed(table, m)
            directory += struct.pack(">4sIII", tag, checksum, at + len(body), len(table))
            body += table
            while len(body) % 4:
                body += b"\0"
        directories.append(directory)
    for offset in offsets:
        header += struct.pack(">I", offset)
    with open(out, "wb") as f:
        f.write(header)
        for directory in directories:
            f.write(directory)
        f.write(body)


def renamed(table, member):
    """The name table with a digit in place of the last character of every family name
    (id 1) in UTF-16, so that the members' families differ."""
    table = bytearray(table)
    count, storage = struct.unpack(">HH", table[2:6])
    for r in range(count):
        platform, encoding, language, name_id, length, offset = struct.unpack(">6H", table[6 + 12 * r:18 + 12 * r])
        if name_id in (1, 4) and platform == 3 and length >= 2:
            at = storage + offset + length - 2
            table[at:at + 2] = struct.pack(">H", ord("0") + member % 10)
    return bytes(table)


if __name__ == "__main__":
    main()
