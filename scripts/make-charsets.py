#!/usr/bin/python3
"""Writes the character sets the font information counts a font's coverage against, as
compiled ranges of code points, from Unicode's own Unihan data (Debian's unicode-data):

    通用规范汉字表 levels 1-3   kTGH, by its index: 1-3500, 3501-6500, 6501-8105
    GB 2312                   kGB0
    Big5                      kBigFive
    HKSCS                     kHKSCS

GBK is not here: the program takes it from code page 936 itself; GB 18030's mandatory
ideographs of the Basic Multilingual Plane are two ranges, written in the program.

    make-charsets.py UNIHAN_OTHER_MAPPINGS.txt.bz2 OUT.cpp
"""
import bz2
import sys


def ranges(points):
    out = []
    for p in sorted(set(points)):
        if out and out[-1][1] + 1 == p:
            out[-1][1] = p
        else:
            out.append([p, p])
    return out


def main():
    source, target = sys.argv[1], sys.argv[2]
    sets = {"kTghLevel1": [], "kTghLevel2": [], "kTghLevel3": [], "kGb2312": [], "kBig5": [], "kHkscs": []}
    with bz2.open(source, "rt", encoding="utf-8") as lines:
        for line in lines:
            if not line.startswith("U+"):
                continue
            point, field, value = line.rstrip("\n").split("\t", 2)
            code = int(point[2:], 16)
            if field == "kTGH":
                index = min(int(v.split(":")[1]) for v in value.split())
                sets["kTghLevel1" if index <= 3500 else "kTghLevel2" if index <= 6500 else "kTghLevel3"].append(code)
            elif field == "kGB0":
                sets["kGb2312"].append(code)
            elif field == "kBigFive":
                sets["kBig5"].append(code)
            elif field == "kHKSCS":
                sets["kHkscs"].append(code)
    # Most of each set lies in the CJK blocks of the Basic Multilingual Plane: a bitmap of
    # U+3400-U+9FFF, one bit a character; the few others as ranges.
    base, end = 0x3400, 0xA000
    with open(target, "w", encoding="utf-8") as out:
        out.write("// Made at build time by scripts/make-charsets.py from Unihan_OtherMappings.txt. Do not edit.\n")
        out.write('#include "fontinfo/charset_tables.h"\n\n')
        out.write("namespace {\n\n")
        for name, points in sets.items():
            points = sorted(set(points))
            bits = bytearray((end - base) // 8)
            others = []
            for p in points:
                if base <= p < end:
                    bits[(p - base) // 8] |= 1 << ((p - base) % 8)
                else:
                    others.append(p)
            out.write(f"// {len(points)} characters, {len(others)} of them outside the bitmap\n")
            out.write(f"const std::uint8_t {name}Bits[] = {{\n")
            for i in range(0, len(bits), 24):
                out.write("    " + ", ".join(str(b) for b in bits[i:i + 24]) + ",\n")
            out.write("};\n")
            rs = ranges(others) or [[0, 0]]
            out.write(f"const CharRange {name}Others[] = {{\n")
            for first, last in rs:
                out.write(f"    {{0x{first:X}, 0x{last:X}}},\n")
            out.write("};\n\n")
        out.write("}  // namespace\n\n")
        for name, points in sets.items():
            others = [p for p in points if not base <= p < end]
            count = "0" if not others else f"std::size({name}Others)"
            out.write(f"const CharacterSet {name}{{{name}Bits, std::span<const CharRange>({name}Others, {count})}};\n")


if __name__ == "__main__":
    main()
