#!/usr/bin/python3
"""Writes the font files the installation tests need besides the plain test fonts:

    quillmoor-otf.otf        OpenType with CFF outlines, family "Quillmoor OTF"
    quillmoor-pair.ttc       a collection of "Quillmoor Pair A" and "Quillmoor Pair B"
    damaged-*.ttf, *.ttc     sound files with one damage each (see DAMAGES)

    make-font-fixtures.py OUT_DIR
"""
import importlib.machinery
import io
import logging
import os
import struct
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.ttLib import TTCollection, TTFont

HERE = os.path.dirname(os.path.abspath(__file__))
# The plain test fonts' script, for its cut-down base font (its file name has a hyphen).
make_fonts = importlib.machinery.SourceFileLoader("make_fonts", os.path.join(HERE, "make-fonts.py")).load_module()


def renamed(base, family):
    font = TTFont(io.BytesIO(base))
    names = font["name"]
    for record in list(names.names):
        if record.nameID in (1, 4, 16):
            names.setName(family, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 6:
            names.setName(family.replace(" ", "") + "-Regular", 6, record.platformID, record.platEncID,
                          record.langID)
    return font


def to_bytes(font):
    data = io.BytesIO()
    font.save(data)
    return data.getvalue()


def cff_font(family):
    """A small OpenType font with CFF outlines: a box for every Basic Latin letter."""
    glyphs = [".notdef", "space"] + [chr(c) for c in range(ord("A"), ord("Z") + 1)]
    builder = FontBuilder(1000, isTTF=False)
    builder.setupGlyphOrder(glyphs)
    builder.setupCharacterMap({0x20: "space", **{c: chr(c) for c in range(ord("A"), ord("Z") + 1)}})
    strings = {}
    for name in glyphs:
        pen = T2CharStringPen(600, None)
        if name != "space":
            pen.moveTo((50, 0))
            pen.lineTo((550, 0))
            pen.lineTo((550, 700))
            pen.lineTo((50, 700))
            pen.closePath()
        strings[name] = pen.getCharString()
    ps_name = family.replace(" ", "") + "-Regular"
    builder.setupCFF(ps_name, {"FullName": family}, strings, {})
    builder.setupHorizontalMetrics({name: (600, 50) for name in glyphs})
    builder.setupHorizontalHeader(ascent=800, descent=-200)
    builder.setupNameTable({"familyName": family, "styleName": "Regular", "fullName": family,
                            "psName": ps_name})
    builder.setupOS2(sTypoAscender=800, usWinAscent=800, usWinDescent=200)
    builder.setupPost()
    return to_bytes(builder.font)


def table_record(data, tag):
    """The offset of the table directory record with this tag."""
    count = struct.unpack(">H", data[4:6])[0]
    for i in range(count):
        at = 12 + 16 * i
        if data[at:at + 4] == tag:
            return at
    raise KeyError(tag)


def name_table(data):
    at = table_record(data, b"name")
    return struct.unpack(">I", data[at + 8:at + 12])[0]


def patched(data, at, fmt, value):
    data = bytearray(data)
    struct.pack_into(fmt, data, at, value)
    return bytes(data)


# Each takes a sound TrueType file and returns it with one damage.
DAMAGES = {
    "damaged-table-count.ttf": lambda d: patched(d, 4, ">H", 0xFFFF),
    "damaged-name-count.ttf": lambda d: patched(d, name_table(d) + 2, ">H", 0xFFFF),
    "damaged-name-storage.ttf": lambda d: patched(d, name_table(d) + 4, ">H", 0xFFFF),
    "damaged-name-offset.ttf": lambda d: patched(d, table_record(d, b"name") + 8, ">I", 0x7FFF0000),
    "damaged-head-length.ttf": lambda d: patched(d, table_record(d, b"head") + 12, ">I", 0x7FFFFFFF),
    "damaged-truncated.ttf": lambda d: d[:len(d) // 2],
}


def main():
    logging.getLogger("fontTools").setLevel(logging.ERROR)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    base = make_fonts.small_base()

    def write(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)

    write("quillmoor-otf.otf", cff_font("Quillmoor OTF"))

    pair = TTCollection()
    pair.fonts = [renamed(base, "Quillmoor Pair A"), renamed(base, "Quillmoor Pair B")]
    data = io.BytesIO()
    pair.save(data)
    write("quillmoor-pair.ttc", data.getvalue())

    sound = to_bytes(renamed(base, "Quillmoor Damaged"))
    for name, damage in DAMAGES.items():
        write(name, damage(sound))
    # A collection whose second member lies past the end of the file.
    write("damaged-member.ttc", patched(data.getvalue(), 16, ">I", 0x00FFFFF0))


if __name__ == "__main__":
    main()
