#!/usr/bin/python3
"""Writes TrueType fonts with distinct family names, for tests and benchmarks.

Each font is a copy of DejaVu Sans cut down to Basic Latin, renamed to the family
"<prefix> <n>" and saved as "<file-prefix><n>.ttf":

    make-fonts.py OUT_DIR COUNT [--family PREFIX] [--file PREFIX] [--start N]
"""
import argparse
import io
import logging
import os

from fontTools import subset
from fontTools.ttLib import TTFont

BASE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


def small_base():
    font = TTFont(BASE)
    options = subset.Options()
    options.name_IDs = ["*"]
    options.layout_features = []
    options.hinting = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=range(0x20, 0x7F))
    subsetter.subset(font)
    data = io.BytesIO()
    font.save(data)
    return data.getvalue()


def main():
    logging.getLogger("fontTools").setLevel(logging.ERROR)
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("count", type=int)
    parser.add_argument("--family", default="Quillmoor Test")
    parser.add_argument("--file", default="qtest")
    parser.add_argument("--start", type=int, default=1)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    base = small_base()
    for n in range(args.start, args.start + args.count):
        path = os.path.join(args.out, f"{args.file}{n}.ttf")
        if os.path.exists(path):
            continue
        font = TTFont(io.BytesIO(base))
        family = f"{args.family} {n}"
        names = font["name"]
        for record in list(names.names):
            if record.nameID in (1, 16):
                names.setName(family, record.nameID, record.platformID, record.platEncID, record.langID)
            elif record.nameID == 4:
                names.setName(family, 4, record.platformID, record.platEncID, record.langID)
            elif record.nameID == 6:
                names.setName(family.replace(" ", "") + "-Regular", 6, record.platformID, record.platEncID,
                              record.langID)
        font.save(path)


if __name__ == "__main__":
    main()
