#!/usr/bin/env python3
"""Makes the program's moon bitmap: the full moon as seen from the earth,
328 x 328, 4 bits per pixel, 16 greys, the disc touching the edges, black
outside, north up.

usage: make_moon.py OUT.bmp [--source photo|texture] [--input FILE]

photo   (default) resamples the full-moon photograph of kstars-data.
texture renders the near side orthographically from the cylindrical moon
        map of openuniverse-common.
"""

import argparse
import math
import struct
import subprocess
import sys

SIZE = 328
ROW_BYTES = SIZE // 2  # 164, already a multiple of 4
LEVELS = 16
PIXELS_PER_METRE = 2835
SUBSAMPLES = 4  # per axis: smooths the limb and, for the map, the squeezed texture near it

SOURCES = {
    # 256 x 256 grey with alpha, the disc centred and filling the square; its
    # outermost ring is a dark anti-aliased outline, which the radius leaves out.
    "photo": {"input": "/usr/share/kstars/textures/moon18.png",
              "radius_trim": 1.5, "gamma": 1.35},
    # 1024 x 512 equirectangular, longitude -180 at the left, north at the top.
    "texture": {"input": "/usr/share/openuniverse/textures/moon.jpg",
                "gamma": 1.6},
}


def load_grey(path):
    """The picture as (width, height, 8-bit grey bytes, top row first), on black."""
    size = subprocess.run(
        ["convert", path, "-format", "%w %h", "info:"],
        check=True, capture_output=True, text=True).stdout.split()
    width, height = int(size[0]), int(size[1])
    grey = subprocess.run(
        ["convert", path, "-background", "black", "-alpha", "remove",
         "-colorspace", "Gray", "-depth", "8", "gray:-"],
        check=True, capture_output=True).stdout
    if len(grey) != width * height:
        raise SystemExit(f"make_moon: {path} decoded to {len(grey)} bytes, "
                         f"expected {width}x{height}")
    return width, height, grey


def bilinear(img, u, v, wrap_x):
    """Sample at pixel coordinates (u, v), pixel centres at integers."""
    width, height, grey = img
    x0 = math.floor(u)
    y0 = math.floor(v)
    fx = u - x0
    fy = v - y0

    def px(x, y):
        x = x % width if wrap_x else min(max(x, 0), width - 1)
        y = min(max(y, 0), height - 1)
        return grey[y * width + x]

    top = px(x0, y0) * (1 - fx) + px(x0 + 1, y0) * fx
    bottom = px(x0, y0 + 1) * (1 - fx) + px(x0 + 1, y0 + 1) * fx
    return top * (1 - fy) + bottom * fy


def catmull_rom(img, u, v):
    """Bicubic sample at (u, v); keeps the photograph sharper when enlarged."""
    width, height, grey = img
    x0 = math.floor(u)
    y0 = math.floor(v)
    fx = u - x0
    fy = v - y0

    def weights(t):
        t2 = t * t
        t3 = t2 * t
        return (-0.5 * t3 + t2 - 0.5 * t,
                1.5 * t3 - 2.5 * t2 + 1.0,
                -1.5 * t3 + 2.0 * t2 + 0.5 * t,
                0.5 * t3 - 0.5 * t2)

    wx = weights(fx)
    wy = weights(fy)
    total = 0.0
    for j in range(4):
        y = min(max(y0 - 1 + j, 0), height - 1)
        row = y * width
        acc = 0.0
        for i in range(4):
            x = min(max(x0 - 1 + i, 0), width - 1)
            acc += wx[i] * grey[row + x]
        total += wy[j] * acc
    return min(max(total, 0.0), 255.0)


def photo_sampler(img, radius_trim):
    width, height, _ = img
    cx = width / 2 - 0.5
    cy = height / 2 - 0.5
    r = min(width, height) / 2 - radius_trim

    def at(x, y):  # x right, y up, unit disc
        return catmull_rom(img, cx + x * r, cy - y * r)
    return at


def texture_sampler(img):
    width, height, _ = img

    def at(x, y):
        # Orthographic view from the earth: selenographic east (Mare
        # Crisium) on the right, longitude 0 at the centre.
        z = math.sqrt(max(0.0, 1.0 - x * x - y * y))
        lon = math.atan2(x, z)
        lat = math.asin(y)
        u = (lon / (2 * math.pi) + 0.5) * width - 0.5
        v = (0.5 - lat / math.pi) * height - 0.5
        return bilinear(img, u, v, wrap_x=True)
    return at


def render(at):
    """Brightness 0..255 and disc coverage 0..1 per pixel, top row first."""
    radius = SIZE / 2
    brightness = [0.0] * (SIZE * SIZE)
    coverage = [0.0] * (SIZE * SIZE)
    n = SUBSAMPLES
    for j in range(SIZE):
        for i in range(SIZE):
            total = 0.0
            hits = 0
            for sj in range(n):
                y = (radius - (j + (sj + 0.5) / n)) / radius
                for si in range(n):
                    x = (i + (si + 0.5) / n - radius) / radius
                    if x * x + y * y >= 1.0:
                        continue
                    total += at(x, y)
                    hits += 1
            if hits:
                k = j * SIZE + i
                brightness[k] = total / hits
                coverage[k] = hits / (n * n)
    return brightness, coverage


def tone_map(brightness, coverage, gamma):
    """Palette index 0..15 per pixel. The grey range inside the disc is
    stretched between its 0.5 % and 99.8 % points; a gamma above 1 deepens
    the maria against the highlands. The darkest floor is kept off black so
    that the disc stays whole on a black desktop; limb pixels are blended
    with the black outside by their coverage. Errors are diffused
    (Floyd-Steinberg) so that 16 levels show no contour bands."""
    inside = sorted(b for b, c in zip(brightness, coverage) if c == 1.0)
    lo = inside[int(len(inside) * 0.005)]
    hi = inside[int(len(inside) * 0.998)]
    top = LEVELS - 1
    want = [0.0] * (SIZE * SIZE)
    for k, (b, c) in enumerate(zip(brightness, coverage)):
        if c > 0.0:
            t = min(max((b - lo) / (hi - lo), 0.0), 1.0) ** gamma
            want[k] = (0.1 + 0.9 * t) * c * top
    indices = bytearray(SIZE * SIZE)
    for j in range(SIZE):
        for i in range(SIZE):
            k = j * SIZE + i
            if coverage[k] == 0.0:
                continue
            level = min(top, max(0, int(want[k] + 0.5)))
            indices[k] = level
            err = want[k] - level
            # diffuse only into the disc, so the black outside stays black
            for di, dj, w in ((1, 0, 7), (-1, 1, 3), (0, 1, 5), (1, 1, 1)):
                ii, jj = i + di, j + dj
                if 0 <= ii < SIZE and jj < SIZE and coverage[jj * SIZE + ii] > 0.0:
                    want[jj * SIZE + ii] += err * w / 16
    return indices


def bmp_file(indices):
    palette = b"".join(bytes((g, g, g, 0)) for g in
                       (round(i * 255 / (LEVELS - 1)) for i in range(LEVELS)))
    offset = 14 + 40 + len(palette)
    rows = []
    for j in range(SIZE - 1, -1, -1):  # bottom row first
        row = indices[j * SIZE:(j + 1) * SIZE]
        rows.append(bytes((row[i] << 4) | row[i + 1]
                          for i in range(0, SIZE, 2)))
    pixels = b"".join(rows)
    assert len(pixels) == ROW_BYTES * SIZE
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 4, 0, len(pixels),
                       PIXELS_PER_METRE, PIXELS_PER_METRE, LEVELS, LEVELS)
    return header + info + palette + pixels


def main():
    ap = argparse.ArgumentParser(
        description=__doc__.split("\n\n", maxsplit=1)[0],
        formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("out")
    ap.add_argument("--source", choices=sorted(SOURCES), default="photo")
    ap.add_argument("--input", help="picture to use instead of the packaged one")
    args = ap.parse_args()
    cfg = SOURCES[args.source]
    img = load_grey(args.input or cfg["input"])
    if args.source == "photo":
        at = photo_sampler(img, cfg["radius_trim"])
    else:
        at = texture_sampler(img)
    indices = tone_map(*render(at), cfg["gamma"])
    with open(args.out, "wb") as f:
        f.write(bmp_file(indices))
    print(f"{args.out}: {SIZE}x{SIZE}, 4 bpp, {len(set(indices))} grey levels used")
    return 0


if __name__ == "__main__":
    sys.exit(main())
