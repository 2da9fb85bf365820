#!/usr/bin/env python3
"""Builds the program icon from the hand-drawn SVGs: 16 px from
miravel-16.svg, 32, 48 and 256 px from miravel.svg. The small sizes are
stored as 32-bit DIBs with an AND mask (what every Windows version and Wine
read), the 256 px image as PNG.

usage: make_icon.py OUT.ico [--preview DIR]
"""

import argparse
import os
import struct
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SIZES = ((16, "miravel-16.svg"), (32, "miravel.svg"),
         (48, "miravel.svg"), (256, "miravel.svg"))
PNG_FROM = 256  # sizes from here up are stored as PNG


def rasterise(svg, size):
    """Straight (not premultiplied) RGBA bytes, top row first."""
    png = subprocess.run(
        ["rsvg-convert", "-w", str(size), "-h", str(size),
         os.path.join(HERE, svg)],
        check=True, capture_output=True).stdout
    rgba = subprocess.run(
        ["convert", "png:-", "-depth", "8", "rgba:-"],
        input=png, check=True, capture_output=True).stdout
    if len(rgba) != size * size * 4:
        raise SystemExit(f"make_icon: {svg} at {size} px gave {len(rgba)} bytes")
    return rgba


def png_bytes(rgba, size):
    """A minimal PNG: no time or text chunks, so the bytes never change."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    stride = size * 4
    raw = b"".join(b"\x00" + rgba[y * stride:(y + 1) * stride] for y in range(size))
    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib_bytes(rgba, size):
    """BITMAPINFOHEADER (height doubled for the mask), BGRA rows bottom-up,
    then the 1-bit AND mask, set where the pixel is mostly transparent."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         0, 0, 0, 0, 0)
    colour = bytearray()
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row_mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = rgba[(y * size + x) * 4:(y * size + x) * 4 + 4]
            colour += bytes((b, g, r, a))
            if a < 128:
                row_mask[x >> 3] |= 0x80 >> (x & 7)
        mask += row_mask
    return header + bytes(colour) + bytes(mask)


def ico_file(images):
    """images: (size, data) in directory order."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in images:
        dim = 0 if size >= 256 else size  # 0 stands for 256
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + entries + b"".join(data for _, data in images)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n", maxsplit=1)[0])
    ap.add_argument("out")
    ap.add_argument("--preview", help="also write each size as PNG into this folder")
    args = ap.parse_args()
    images = []
    for size, svg in SIZES:
        rgba = rasterise(svg, size)
        png = png_bytes(rgba, size)
        if args.preview:
            os.makedirs(args.preview, exist_ok=True)
            with open(os.path.join(args.preview, f"miravel-{size}.png"), "wb") as f:
                f.write(png)
        images.append((size, png if size >= PNG_FROM else dib_bytes(rgba, size)))
    with open(args.out, "wb") as f:
        f.write(ico_file(images))
    print(f"{args.out}: " + ", ".join(f"{s} px" for s, _ in SIZES))
    return 0


if __name__ == "__main__":
    sys.exit(main())
