#!/usr/bin/env python3
"""Draws res/KelvrinReaderUpgrade-128x128.png: a rounded blue square with a white download arrow
over an amber bar, 128 x 128, RGBA."""
import struct
import sys
import zlib

SIZE = 128
SAMPLES = 4  # per axis, for smooth edges
ARROW = [(52, 22), (76, 22), (76, 62), (94, 62), (64, 94), (34, 62), (52, 62)]


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def in_polygon(x, y, points):
    inside = False
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[i - 1]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
    return inside


def colour(x, y):
    if not in_rounded_rect(x, y, 6, 6, 122, 122, 24):
        return (0, 0, 0, 0)
    if in_polygon(x, y, ARROW):
        return (255, 255, 255, 255)
    if in_rounded_rect(x, y, 30, 100, 98, 110, 5):
        return (255, 196, 60, 255)
    shade = y / SIZE
    return (int(30 + 20 * shade), int(110 - 30 * shade), int(200 - 40 * shade), 255)


def pixel(px, py):
    total = [0, 0, 0, 0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            c = colour(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
            for k in range(3):
                total[k] += c[k] * c[3]
            total[3] += c[3]
    if total[3] == 0:
        return bytes(4)
    return bytes([total[k] // total[3] for k in range(3)] + [total[3] // (SAMPLES * SAMPLES)])


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def main(path):
    rows = b"".join(b"\0" + b"".join(pixel(x, y) for x in range(SIZE)) for y in range(SIZE))
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/KelvrinReaderUpgrade-128x128.png")
