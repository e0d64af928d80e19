#!/usr/bin/env python3
"""Draws res/tana_32.png: a blue disc with a white download arrow above a tray, 32 x 32, RGBA."""
import struct
import sys
import zlib

SIZE = 32
SAMPLES = 4  # per axis, for smooth edges
BLUE = (0x21, 0x89, 0xF7)
WHITE = (0xFF, 0xFF, 0xFF)


def in_disc(x, y):
    return (x - 16) ** 2 + (y - 16) ** 2 <= 15.2 ** 2


def in_arrow(x, y):
    shaft = 14.0 <= x <= 18.0 and 6.5 <= y <= 16.5
    head = 15.0 <= y <= 21.5 and abs(x - 16) <= (21.5 - y) * 1.05
    tray = 22.5 <= y <= 25.0 and 8.5 <= x <= 23.5
    return shaft or head or tray


def pixel(px, py):
    disc = arrow = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = px + (sx + 0.5) / SAMPLES
            y = py + (sy + 0.5) / SAMPLES
            if in_disc(x, y):
                disc += 1
                arrow += in_arrow(x, y)
    if disc == 0:
        return (0, 0, 0, 0)
    mix = arrow / disc
    colour = [round(b + (w - b) * mix) for b, w in zip(BLUE, WHITE)]
    return (*colour, round(255 * disc / SAMPLES ** 2))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main(path):
    rows = b"".join(b"\0" + bytes(c for px in range(SIZE) for c in pixel(px, py)) for py in range(SIZE))
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(rows, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/tana_32.png")
