#!/usr/bin/python3
"""Writes the font files the installation tests need besides the plain test fonts:

    quillmoor-otf.otf        OpenType with CFF outlines, family "Quillmoor OTF"
    quillmoor-pair.ttc       a collection of "Quillmoor Pair A" and "Quillmoor Pair B"
    quillmoor-names.ttf      family "Quillmoor Names", full names in English and Chinese
    quillmoor-localised.ttf  family "Quillmoor Localised", in Chinese "奎尔本地字体"
    quillmoor-mac.ttf        named on the Macintosh platform only: "Quillmoor Mac"
                             (full name "Quillmoor Mac Café", in Mac Roman)
    hangul-1.ttf, hangul-2.ttf  families "나눔시험가" and "나눔시험나"
    width-p-sound.ttf, width-p-zero.ttf (and q)  one family: sound, and every advance 0
    variations.ttf, variations-zero.ttf  a cmap of (3,1) format 4 and (0,5) format 14
    many-names.ttf           family "Quillmoor Many", named in 5,000 languages
    bitmaps-cbdt.ttf, bitmaps-ebdt.ttf, bitmaps-sbix.ttf  embedded bitmaps, no outlines
    damaged-*.ttf, *.otf, *.ttc  sound files with one damage each (see DAMAGES)

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


def table(data, tag):
    """The offset and length of a table."""
    at = table_record(data, tag)
    return struct.unpack(">II", data[at + 8:at + 16])


def patched(data, at, fmt, value):
    data = bytearray(data)
    struct.pack_into(fmt, data, at, value)
    return bytes(data)


def in_table(tag, offset, fmt, value):
    """A damage that writes a value at an offset inside a table."""
    return lambda d: patched(d, table(d, tag)[0] + offset, fmt, value)


def loca_offsets(data):
    """The glyph count, whether loca is long, and the loca table's offset."""
    glyphs = struct.unpack(">H", data[table(data, b"maxp")[0] + 4:][:2])[0]
    long_offsets = struct.unpack(">h", data[table(data, b"head")[0] + 50:][:2])[0] == 1
    return glyphs, long_offsets, table(data, b"loca")[0]


def loca_past_glyf(data):
    glyphs, long_offsets, loca = loca_offsets(data)
    glyf_length = table(data, b"glyf")[1]
    if long_offsets:
        return patched(data, loca + 4 * glyphs, ">I", glyf_length + 64)
    return patched(data, loca + 2 * glyphs, ">H", (glyf_length + 64) // 2)


def glyph_past_slot(data):
    """The first glyph with an outline claims more contours than its slot holds."""
    glyphs, long_offsets, loca = loca_offsets(data)
    size, fmt = (4, ">I") if long_offsets else (2, ">H")
    scale = 1 if long_offsets else 2
    for g in range(glyphs):
        start = struct.unpack(fmt, data[loca + size * g:][:size])[0] * scale
        end = struct.unpack(fmt, data[loca + size * (g + 1):][:size])[0] * scale
        if end > start:
            return patched(data, table(data, b"glyf")[0] + start, ">h", 0x7FFF)
    raise ValueError("no glyph with an outline")


def cmap_subtable_past_end(data):
    cmap, length = table(data, b"cmap")
    return patched(data, cmap + 4 + 4, ">I", length + 16)


def cmap_glyph_out_of_range(data):
    """A format 4 segment whose delta maps its characters past the last glyph."""
    cmap, _ = table(data, b"cmap")
    count = struct.unpack(">H", data[cmap + 2:cmap + 4])[0]
    for i in range(count):
        sub = cmap + struct.unpack(">I", data[cmap + 4 + 8 * i + 4:][:4])[0]
        if struct.unpack(">H", data[sub:sub + 2])[0] == 4:
            segments = struct.unpack(">H", data[sub + 6:sub + 8])[0] // 2
            deltas = sub + 16 + 4 * segments
            ranges = deltas + 2 * segments
            for s in range(segments):
                if struct.unpack(">H", data[ranges + 2 * s:][:2])[0] == 0:
                    start = struct.unpack(">H", data[sub + 16 + 2 * segments + 2 * s:][:2])[0]
                    if start != 0xFFFF:
                        return patched(data, deltas + 2 * s, ">H", (0xFFF0 - start) & 0xFFFF)
    raise ValueError("no format 4 segment with a delta")


def os2_cut(data):
    return patched(data, table_record(data, b"OS/2") + 12, ">I", 10)


def garbage_cff(data):
    cff, length = table(data, b"CFF ")
    data = bytearray(data)
    data[cff:cff + length] = bytes((i * 7 + 0xA5) & 0xFF for i in range(length))
    return bytes(data)


# Each takes a sound TrueType file and returns it with one damage; the second item is the
# table the program's judge names for it.
DAMAGES = {
    "damaged-table-count.ttf": (lambda d: patched(d, 4, ">H", 0xFFFF), "directory"),
    "damaged-name-count.ttf": (lambda d: patched(d, name_table(d) + 2, ">H", 0xFFFF), "name"),
    "damaged-name-storage.ttf": (lambda d: patched(d, name_table(d) + 4, ">H", 0xFFFF), "name"),
    "damaged-name-offset.ttf": (lambda d: patched(d, table_record(d, b"name") + 8, ">I", 0x7FFF0000), "directory"),
    "damaged-head-length.ttf": (lambda d: patched(d, table_record(d, b"head") + 12, ">I", 0x7FFFFFFF), "directory"),
    "damaged-truncated.ttf": (lambda d: d[:len(d) // 2], "directory"),
    "damaged-loca-past-glyf.ttf": (loca_past_glyf, "loca"),
    "damaged-glyf-cut.ttf": (glyph_past_slot, "glyf"),
    "damaged-cmap-past-end.ttf": (cmap_subtable_past_end, "cmap"),
    "damaged-cmap-glyph.ttf": (cmap_glyph_out_of_range, "cmap"),
    "damaged-hhea-zero.ttf": (in_table(b"hhea", 34, ">H", 0), "hhea"),
    "damaged-hhea-many.ttf": (in_table(b"hhea", 34, ">H", 0xFFFF), "hhea"),
    "damaged-maxp-zero.ttf": (in_table(b"maxp", 4, ">H", 0), "maxp"),
    "damaged-maxp-many.ttf": (in_table(b"maxp", 4, ">H", 0xFFFF), "hmtx"),
    "damaged-head-upem.ttf": (in_table(b"head", 18, ">H", 0), "head"),
    "damaged-head-locformat.ttf": (in_table(b"head", 50, ">h", 7), "head"),
    "damaged-os2-cut.ttf": (os2_cut, "OS/2"),
}


def named(base, records):
    """The base font with its names replaced: records of (name id, platform, encoding,
    language, text)."""
    font = TTFont(io.BytesIO(base))
    names = font["name"]
    names.names = []
    for name_id, platform, encoding, language, text in records:
        names.setName(text, name_id, platform, encoding, language)
    return to_bytes(font)


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
    for name, (damage, _) in DAMAGES.items():
        write(name, damage(sound))
    write("damaged-cff.otf", garbage_cff(cff_font("Quillmoor Damaged CFF")))
    # A collection whose second member lies past the end of the file.
    write("damaged-member.ttc", patched(data.getvalue(), 16, ">I", 0x00FFFFF0))
    # What the judge names for each damaged file, for the native tests.
    with open(os.path.join(out, "damaged.txt"), "w") as f:
        for name, (_, fault) in DAMAGES.items():
            f.write(f"{name} {fault}\n")
        f.write("damaged-cff.otf CFF\n")
        f.write("damaged-member.ttc directory\n")

    write("quillmoor-names.ttf", named(base, [
        (1, 3, 1, 0x0409, "Quillmoor Names"), (2, 3, 1, 0x0409, "Regular"),
        (4, 3, 1, 0x0804, "奎尔穆尔 名字"), (4, 3, 1, 0x0409, "Quillmoor Names Regular"),
        (6, 3, 1, 0x0409, "QuillmoorNames-Regular")]))
    # A Chinese font's names: the family in Chinese (PRC) and in US English.
    write("quillmoor-localised.ttf", named(base, [
        (1, 3, 1, 0x0409, "Quillmoor Localised"), (1, 3, 1, 0x0804, "奎尔本地字体"),
        (2, 3, 1, 0x0409, "Regular"), (4, 3, 1, 0x0409, "Quillmoor Localised Regular"),
        (4, 3, 1, 0x0804, "奎尔本地字体 常规"), (6, 3, 1, 0x0409, "QuillmoorLocalised-Regular")]))
    write("quillmoor-mac.ttf", named(base, [
        (1, 1, 0, 0, "Quillmoor Mac"), (2, 1, 0, 0, "Regular"), (4, 1, 0, 0, "Quillmoor Mac Café"),
        (6, 1, 0, 0, "QuillmoorMac-Regular")]))
    # A family of two files, regular and bold, for uninstalling; and families of one file.
    write("uninstall-regular.ttf", named(base, [
        (1, 3, 1, 0x0409, "Quillmoor Uninstall"), (2, 3, 1, 0x0409, "Regular"),
        (4, 3, 1, 0x0409, "Quillmoor Uninstall"), (6, 3, 1, 0x0409, "QuillmoorUninstall-Regular")]))
    write("uninstall-bold.ttf", bold_of(base, "Quillmoor Uninstall"))
    # A family name of 40 bytes: the system names it by its first 31.
    write("long-name.ttf", to_bytes(renamed(base, "Quillmoor Family With A Long Name For 40")))
    for name in ("Held", "Interface", "Answer", "Key", "Twice", "Foo", "Foo Bar", "Recycle"):
        write(f"uninstall-{name.lower().replace(' ', '-')}.ttf", to_bytes(renamed(base, f"Quillmoor {name}")))
    # A second file of "Quillmoor Recycle", its bold.
    write("uninstall-recycle-bold.ttf", bold_of(base, "Quillmoor Recycle"))
    # Hangul names in the US English records, which every engine reads (Wine's FreeType
    # gives a font with Korean-language names only no family of its own).
    for n, family in ((1, "나눔시험가"), (2, "나눔시험나")):
        write(f"hangul-{n}.ttf", named(base, [
            (1, 3, 1, 0x0409, family), (2, 3, 1, 0x0409, "Regular"), (4, 3, 1, 0x0409, family),
            (6, 3, 1, 0x0409, f"QuillmoorHangul{n}-Regular")]))

    # Two files of one family, one sound and one whose every advance width is 0, for a
    # family installed in one press in either order: families "Quillmoor Width P" and "Q".
    for letter in ("p", "q"):
        family = f"Quillmoor Width {letter.upper()}"
        write(f"width-{letter}-sound.ttf", to_bytes(renamed(base, family)))
        write(f"width-{letter}-zero.ttf", to_bytes(zero_width(renamed(base, family))))
    # A family named in 5,000 languages, each its own short text (the strings share 64 KB)
    # but for US English and Chinese.
    records = [(1, 3, 1, 0x0409, "Quillmoor Many"), (1, 3, 1, 0x0804, "Quillmoor Many"),
               (2, 3, 1, 0x0409, "Regular"), (4, 3, 1, 0x0409, "Quillmoor Many"),
               (6, 3, 1, 0x0409, "QuillmoorMany-Regular")]
    for language in range(0x0401, 0x0401 + 5000):
        if language not in (0x0409, 0x0804):
            records.append((1, 3, 1, language, f"M{language:X}"))
    write("many-names.ttf", named(base, records))
    # Fonts of embedded bitmaps alone, one of each kind.
    for kind in ("CBDT", "EBDT", "sbix"):
        write(f"bitmaps-{kind.lower()}.ttf", bitmaps_only(to_bytes(renamed(base, f"Quillmoor {kind}")), kind))
    # A cmap of (3,1) format 4 and (0,5) format 14 alone, sound and with zero widths.
    write("variations.ttf", to_bytes(with_variations(renamed(base, "Quillmoor Variations"))))
    write("variations-zero.ttf",
          to_bytes(zero_width(with_variations(renamed(base, "Quillmoor Variations Zero")))))


def bitmaps_only(base, kind):
    """The base font with its outlines (glyf, loca) replaced by embedded bitmaps of one
    strike for every glyph but .notdef: kind "CBDT" (CBLC index format 1, image format 17),
    "EBDT" (EBLC index formats 2 and 5, image format 5) or "sbix"."""
    font = TTFont(io.BytesIO(base))
    glyphs = font["maxp"].numGlyphs
    data = bytearray(to_bytes(font))
    count = struct.unpack(">H", data[4:6])[0]
    tables = {}
    for i in range(count):
        tag, _, offset, length = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
        if tag not in (b"glyf", b"loca"):
            tables[tag] = bytes(data[offset:offset + length])
    first, last = 1, glyphs - 1
    strike = bytearray(48)
    struct.pack_into(">HH", strike, 40, first, last)
    strike[44] = strike[45] = 16
    if kind == "CBDT":
        image = b"\x89PNG\r\n\x1a\n"
        glyph = bytes([16, 16, 0, 16, 16]) + struct.pack(">I", len(image)) + image
        cbdt = struct.pack(">HH", 3, 0) + glyph * (last - first + 1)
        offsets = b"".join(struct.pack(">I", g * len(glyph)) for g in range(last - first + 2))
        subtable = struct.pack(">HHI", 1, 17, 4) + offsets
        struct.pack_into(">III", strike, 0, 56, 8 + len(subtable), 1)
        strike[46] = 32
        cblc = struct.pack(">HHI", 3, 0, 1) + bytes(strike) + struct.pack(">HHI", first, last, 8) + subtable
        tables[b"CBLC"], tables[b"CBDT"] = cblc, cbdt
    elif kind == "EBDT":
        # Two index subtables: glyphs 1-9 all of one size (format 2), the rest named (5).
        size = 2 * 16  # 16 rows of 16 pixels, one bit each
        metrics = bytes([16, 16, 0, 16, 16, 0, 0, 16])
        part = min(9, last)
        named = list(range(part + 1, last + 1))
        second = struct.pack(">HHI", 2, 5, 4) + struct.pack(">I", size) + metrics
        fifth = (struct.pack(">HHI", 5, 5, 4 + size * part) + struct.pack(">I", size) + metrics +
                 struct.pack(">I", len(named)) + b"".join(struct.pack(">H", g) for g in named))
        entries = struct.pack(">HHI", first, part, 16) + struct.pack(">HHI", part + 1, last, 16 + len(second))
        struct.pack_into(">III", strike, 0, 56, len(entries) + len(second) + len(fifth), 2)
        strike[46] = 1
        eblc = struct.pack(">HHI", 2, 0, 1) + bytes(strike) + entries + second + fifth
        tables[b"EBLC"], tables[b"EBDT"] = eblc, struct.pack(">HH", 2, 0) + bytes(size * (last - first + 1))
    else:
        header = 4 + 4 * (glyphs + 1)
        image = struct.pack(">hh", 0, 0) + b"png " + b"\x89PNG\r\n\x1a\n"
        offsets = [header] + [header + len(image) * g for g in range(glyphs)]
        body = struct.pack(">HH", 16, 72) + b"".join(struct.pack(">I", o) for o in offsets) + image * (glyphs - 1)
        tables[b"sbix"] = struct.pack(">HHII", 1, 1, 1, 12) + body
    tags = sorted(tables)
    out = bytearray(struct.pack(">IHHHH", 0x00010000, len(tags), 0, 0, 0))
    directory = len(out)
    out += bytes(16 * len(tags))
    for i, tag in enumerate(tags):
        while len(out) % 4:
            out += b"\0"
        struct.pack_into(">4sIII", out, directory + 16 * i, tag, 0, len(out), len(tables[tag]))
        out += tables[tag]
    return bytes(out)


def bold_of(base, family):
    """The bold style of a family: its names, weight 700 and the bold bits."""
    bold = TTFont(io.BytesIO(named(base, [
        (1, 3, 1, 0x0409, family), (2, 3, 1, 0x0409, "Bold"),
        (4, 3, 1, 0x0409, f"{family} Bold"), (6, 3, 1, 0x0409, family.replace(" ", "") + "-Bold")])))
    bold["OS/2"].usWeightClass = 700
    bold["OS/2"].fsSelection = (bold["OS/2"].fsSelection & ~0x40) | 0x20
    bold["head"].macStyle |= 1
    return to_bytes(bold)


def zero_width(font):
    """The font with every glyph's advance width 0."""
    for glyph, (_, lsb) in list(font["hmtx"].metrics.items()):
        font["hmtx"].metrics[glyph] = (0, lsb)
    font["hhea"].advanceWidthMax = 0
    return font


def with_variations(font):
    """The font's cmap cut to its (3,1) format 4 subtable and a (0,5) format 14 one."""
    from fontTools.ttLib.tables._c_m_a_p import CmapSubtable
    cmap = font["cmap"]
    windows = next(t for t in cmap.tables if (t.platformID, t.platEncID, t.format) == (3, 1, 4))
    variations = CmapSubtable.newSubtable(14)
    variations.platformID, variations.platEncID, variations.language = 0, 5, 0
    variations.cmap = {}
    variations.uvsDict = {0xFE00: [(0x41, None)]}
    cmap.tables = [variations, windows]
    return font


if __name__ == "__main__":
    main()
