#!/usr/bin/env python3
"""Draws the player's toolbar images and program icon into src/resources/images.

The toolbar strips hold six images side by side, in the order of the toolbar's
buttons (separator left out): Play, Pause, Stop, volume bar, full screen,
position slider. toolbar16.bmp has 16 x 15 images, toolbar32.bmp 32 x 31.
The grey RGB(192, 192, 192) is the background that the toolbar shows through.
vantrel.ico holds the program icon at 16 x 16 and 32 x 32 pixels. The same
icon, for Linux desktops, goes into packaging/linux/icons/ as PNG files at the
sizes of the hicolor theme and as SVG.

Shapes are drawn in a 0..1 unit square and rasterised with 4 x 4 supersampling,
so the same drawing serves every size. Run it after changing a drawing and
commit its output: the build uses the files, not this script.
"""
import os
import struct
import sys
import zlib

BACKGROUND = (192, 192, 192)
INK = (24, 40, 96)
ACCENT = (32, 140, 64)
STOP_RED = (176, 32, 32)


def polygon_contains(points, x, y):
    inside = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


# Each drawing is a list of (colour, polygon) in unit coordinates, painted in order.
DRAWINGS = {
    "play": [(ACCENT, [(0.28, 0.18), (0.80, 0.50), (0.28, 0.82)])],
    "pause": [(INK, rect(0.25, 0.2, 0.42, 0.8)), (INK, rect(0.58, 0.2, 0.75, 0.8))],
    "stop": [(STOP_RED, rect(0.25, 0.25, 0.75, 0.75))],
    "volume": [
        (INK, [(0.15, 0.38), (0.33, 0.38), (0.55, 0.18), (0.55, 0.82), (0.33, 0.62), (0.15, 0.62)]),
        (INK, rect(0.65, 0.42, 0.72, 0.58)),
        (INK, rect(0.78, 0.30, 0.85, 0.70)),
    ],
    "fullscreen": [
        (INK, rect(0.12, 0.12, 0.88, 0.22)), (INK, rect(0.12, 0.78, 0.88, 0.88)),
        (INK, rect(0.12, 0.12, 0.22, 0.88)), (INK, rect(0.78, 0.12, 0.88, 0.88)),
        (ACCENT, rect(0.35, 0.35, 0.65, 0.65)),
    ],
    "slider": [
        (INK, rect(0.08, 0.46, 0.92, 0.56)),
        (ACCENT, [(0.45, 0.22), (0.62, 0.22), (0.62, 0.62), (0.535, 0.80), (0.45, 0.62)]),
    ],
    "icon": [
        (INK, rect(0.06, 0.14, 0.94, 0.86)),
        ((240, 240, 250), rect(0.12, 0.20, 0.88, 0.80)),
        (ACCENT, [(0.36, 0.30), (0.72, 0.50), (0.36, 0.70)]),
    ],
}

TOOLBAR_ORDER = ["play", "pause", "stop", "volume", "fullscreen", "slider"]


def render(drawing, width, height, background):
    """Returns rows (top first) of (r, g, b, a) pixels."""
    samples = 4
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            totals = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / width
                    y = (py + (sy + 0.5) / samples) / height
                    colour, alpha = background, 0 if background is None else 255
                    for paint, shape in drawing:
                        if polygon_contains(shape, x, y):
                            colour, alpha = paint, 255
                    colour = colour or (0, 0, 0)
                    for c in range(3):
                        totals[c] += colour[c] * alpha
                    totals[3] += alpha
            a = totals[3] / (samples * samples)
            if totals[3]:
                rgb = [round(totals[c] / totals[3]) for c in range(3)]
            else:
                rgb = [0, 0, 0]
            if background is not None:
                # Opaque images: blend the edge samples into the background.
                rgb = [round((totals[c] + background[c] * (255 * samples * samples - totals[3]))
                             / (255 * samples * samples)) for c in range(3)]
                a = 255
            row.append((rgb[0], rgb[1], rgb[2], round(a)))
        rows.append(row)
    return rows


def bmp_24(rows):
    """A bottom-up 24-bit BMP file of the rows."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def icon_image(rows):
    """One 32-bit image of an ICO file: the DIB with doubled height and its AND mask."""
    height, width = len(rows), len(rows[0])
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def ico(images):
    entries = bytearray()
    data = bytearray()
    offset = 6 + 16 * len(images)
    for width, height, blob in images:
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(blob), offset)
        data += blob
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + entries + data


def png(rows):
    """An 8-bit RGBA PNG file of the rows."""
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def svg(drawing, size=256):
    """The drawing as an SVG file of size x size user units."""
    shapes = []
    for (r, g, b), points in drawing:
        coordinates = " ".join(f"{x * size:g},{y * size:g}" for x, y in points)
        shapes.append(f'  <polygon fill="#{r:02x}{g:02x}{b:02x}" points="{coordinates}"/>')
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
            f'viewBox="0 0 {size} {size}">\n' + "\n".join(shapes) + "\n</svg>\n")


# The sizes a desktop looks for in the hicolor theme.
DESKTOP_ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def write_desktop_icons(out):
    for size in DESKTOP_ICON_SIZES:
        folder = os.path.join(out, f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "vantrel.png"), "wb") as f:
            f.write(png(render(DRAWINGS["icon"], size, size, None)))
    folder = os.path.join(out, "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "vantrel.svg"), "w") as f:
        f.write(svg(DRAWINGS["icon"]))


def toolbar_strip(width, height):
    strip = [[] for _ in range(height)]
    for name in TOOLBAR_ORDER:
        image = render(DRAWINGS[name], width, height, BACKGROUND)
        for y in range(height):
            strip[y].extend(image[y])
    return strip


def main():
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
    out = os.path.join(root, "src", "resources", "images")
    desktop = os.path.join(root, "packaging", "linux", "icons")
    if len(sys.argv) > 1:
        out = sys.argv[1]
        desktop = os.path.join(out, "icons")
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "toolbar16.bmp"), "wb") as f:
        f.write(bmp_24(toolbar_strip(16, 15)))
    with open(os.path.join(out, "toolbar32.bmp"), "wb") as f:
        f.write(bmp_24(toolbar_strip(32, 31)))
    icons = [(size, size, icon_image(render(DRAWINGS["icon"], size, size, None))) for size in (16, 32)]
    with open(os.path.join(out, "vantrel.ico"), "wb") as f:
        f.write(ico(icons))
    write_desktop_icons(desktop)


if __name__ == "__main__":
    main()
