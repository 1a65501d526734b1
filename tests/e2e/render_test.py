#!/usr/bin/env python3
"""Renders the SVG of the sample's first starter as a person would see it and checks the picture:
dark box lines, ink in every given cell and in no empty cell, and the givens, read in reading
order, spelling the sentence in capitals. The givens are known from the same starter in the
line format, not from the SVG.

Usage: render_test.py PATH/TO/verbagrid WORK_DIR
Exits 77 (skipped) when rsvg-convert (Debian package librsvg2-bin) is missing.
"""
import os
import shutil
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET
import zlib

PROGRAM, WORK = sys.argv[1], sys.argv[2]
SENTENCE = "oldsailorsandlionsreadsirenlore"
MARGIN, CELL, PX_PER_MM = 10.0, 15.0, 10  # the grid's place in the document, in millimetres
NS = "{http://www.w3.org/2000/svg}"


def read_png(path):
    """Returns (width, height, rows of (r, g, b) tuples) of an 8-bit RGB or RGBA PNG."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, color = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and color in (2, 6), (depth, color)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    bpp = 4 if color == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = previous[i]
            c = previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * bpp:x * bpp + 3]) for x in range(width)])
        previous = line
    return width, height, rows


def dark(pixel):
    return sum(pixel) < 3 * 100


def main():
    if shutil.which("rsvg-convert") is None:
        print("skipped: rsvg-convert is missing (Debian package librsvg2-bin)")
        return 77
    os.makedirs(WORK, exist_ok=True)
    svg_path, png_path = os.path.join(WORK, "card.svg"), os.path.join(WORK, "card.png")
    subprocess.run([PROGRAM, "compose", SENTENCE, "--starters", "1", "--format", "svg",
                    "-o", svg_path], check=True, stderr=subprocess.DEVNULL)
    line = subprocess.run([PROGRAM, "compose", SENTENCE, "--starters", "1", "--format", "line",
                           "--quiet"], check=True, capture_output=True, text=True).stdout
    starter = line.split()[0]
    givens = {cell for cell, c in enumerate(starter) if c != "."}

    root = ET.parse(svg_path).getroot()
    assert root.get("width").endswith("mm") and root.get("height").endswith("mm")
    assert root.get("viewBox") == "0 0 %s %s" % (root.get("width")[:-2], root.get("height")[:-2])
    # the grid's text, read in reading order, is the sentence in capitals
    grid = root.find(NS + "g")
    placed = {}
    for text in grid.iter(NS + "text"):
        col = int((float(text.get("x")) - MARGIN) // CELL)
        row = int((float(text.get("y")) - MARGIN) // CELL)
        placed[9 * row + col] = text.text
    assert set(placed) == givens, sorted(set(placed) ^ givens)
    spelled = "".join(placed[cell] for cell in sorted(placed))
    assert spelled == SENTENCE.upper(), spelled

    subprocess.run(["rsvg-convert", "--dpi-x", str(PX_PER_MM * 25.4), "--dpi-y",
                    str(PX_PER_MM * 25.4), svg_path, "-o", png_path], check=True)
    width, height, rows = read_png(png_path)

    def px(mm):
        return int(round(mm * PX_PER_MM))

    faults = []
    # box lines: dark wherever they run, between the cells too
    for k in range(4):
        at = MARGIN + 3 * k * CELL
        for step in range(1, 18):
            along = MARGIN + step * CELL / 2
            if not dark(rows[px(along)][px(at)]):
                faults.append("no vertical box line at %.1f mm, %.1f mm down" % (at, along))
            if not dark(rows[px(at)][px(along)]):
                faults.append("no horizontal box line at %.1f mm, %.1f mm across" % (at, along))
    # ink in each given cell's middle, none in an empty cell's
    for cell in range(81):
        x0 = MARGIN + (cell % 9) * CELL
        y0 = MARGIN + (cell // 9) * CELL
        inked = any(dark(rows[y][x])
                    for y in range(px(y0 + 3), px(y0 + CELL - 3))
                    for x in range(px(x0 + 3), px(x0 + CELL - 3)))
        if inked != (cell in givens):
            faults.append("cell %d: %s" % (cell, "ink in an empty cell" if inked else "no ink"))
    if faults:
        print("\n".join(faults))
        return 1
    print("rendered %dx%d px: box lines dark, %d givens inked, %d empty cells clean, spelling %s"
          % (width, height, len(givens), 81 - len(givens), spelled))
    return 0


sys.exit(main())
