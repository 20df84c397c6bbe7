#!/usr/bin/env python3
"""Draws the programs' icons and writes them as .ico files.

    tools/art/make_icons.py [REPOSITORY]

Writes, below the repository (default: the one holding this script):
  kestrel/win32/icons/kestrel.ico         the tuning program: 16, 24, 32, 48
                                          and 64 px
  tidewatch/win32/icons/tidewatch.ico     the tray monitor: the same sizes
  tidewatch/win32/icons/tray1.ico .. tray4.ico
                                          the tray animation: waves that run
                                          to the right, 16, 20, 24 and 32 px
  tidewatch/win32/icons/tray5.ico         the resting picture: flat water
                                          under a crescent moon on a grey
                                          tile, the same sizes

The sizes are those Windows asks for at 100, 125, 150 and 200 % display
scaling: a small icon (title bar, tray) of 16, 20, 24 or 32 px, a large one
of 32, 48 or 64 px.

The .ico files are committed; the build only reads them. Run this script
again after changing a drawing, then tools/art/contact_sheet.sh to look at
the result. Only the standard library is used.

Every picture is drawn from shapes in pixel coordinates of its own size,
each pixel sampled 8 x 8 times, so that edges are smooth. At 16 px the
water lines are set pixel by pixel instead, because smooth curves blur at
tray size.
"""

import math
import os
import struct
import sys
import zlib

SAMPLES = 8  # per pixel and axis


# ---------------------------------------------------------------- shapes
# A shape is a function (x, y) -> bool in pixel coordinates, the pixel
# (i, j) covering [i, i+1) x [j, j+1).

def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring_sector(cx, cy, r_in, r_out, start_deg, end_deg):
    """Part of a ring; angles in degrees, counter-clockwise from east, with
    y growing downwards as on screen."""
    def inside(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if d2 < r_in * r_in or d2 > r_out * r_out:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        s, e = start_deg % 360, end_deg % 360
        return s <= a <= e if s <= e else a >= s or a <= e
    return inside


def capsule(x0, y0, x1, y1, half_width):
    """A line with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx - x, y0 + t * dy - y
        return px * px + py * py <= half_width * half_width
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        n = len(points)
        for i in range(n):
            (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                result = not result
        return result
    return inside


def wave(y_mid, amplitude, period, phase, half_width, x0=-1e9, x1=1e9):
    """A sine line y = y_mid - amplitude * sin(...); phase in periods, so that
    a larger phase moves the crests to the right."""
    k = 2 * math.pi / period

    def inside(x, y):
        if x < x0 or x > x1:
            return False
        arg = k * x - 2 * math.pi * phase
        f = y_mid - amplitude * math.sin(arg)
        slope = amplitude * k * math.cos(arg)
        return abs(y - f) <= half_width * math.sqrt(1 + slope * slope)
    return inside


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


# ---------------------------------------------------------------- canvas

def hex_color(text, alpha=255):
    text = text.lstrip('#')
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


class Canvas:
    """Premultiplied RGBA pixels, painted layer over layer."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def fill(self, shape, color):
        r, g, b, a = (c / 255.0 for c in color)
        step = 1.0 / SAMPLES
        offsets = [(i + 0.5) * step for i in range(SAMPLES)]
        total = SAMPLES * SAMPLES
        for j in range(self.size):
            for i in range(self.size):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if shape(i + ox, j + oy):
                            hits += 1
                if hits == 0:
                    continue
                alpha = a * hits / total
                p = self.pixels[j * self.size + i]
                keep = 1.0 - alpha
                p[0] = r * alpha + p[0] * keep
                p[1] = g * alpha + p[1] * keep
                p[2] = b * alpha + p[2] * keep
                p[3] = alpha + p[3] * keep

    def put(self, i, j, color):
        """Paints one whole pixel, for the pixel drawings of the smallest size."""
        self.fill(lambda x, y: i <= x < i + 1 and j <= y < j + 1, color)

    def rgba_rows(self):
        """Rows top-down of straight (not premultiplied) 8-bit RGBA."""
        rows = []
        for j in range(self.size):
            row = []
            for i in range(self.size):
                r, g, b, a = self.pixels[j * self.size + i]
                if a <= 0.0:
                    row.append((0, 0, 0, 0))
                    continue
                row.append(tuple(int(round(min(1.0, c / a) * 255)) for c in (r, g, b)) +
                           (int(round(a * 255)),))
            rows.append(row)
        return rows


# ---------------------------------------------------------------- .ico

def ico_image(canvas):
    """One image of an .ico file: a 32-bit bitmap with alpha plus the AND
    mask, so that systems that ignore alpha still see the outline."""
    size = canvas.size
    rows = canvas.rgba_rows()
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    color = bytearray()
    for row in reversed(rows):  # bottom-up
        for r, g, b, a in row:
            color += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for i, (_, _, _, a) in enumerate(row):
            if a < 128:
                line[i // 8] |= 0x80 >> (i % 8)
        mask += line
    return header + bytes(color) + bytes(mask)


# From this size up an image is stored as PNG, which Windows reads in icons
# since Vista: a bitmap of 48 or 64 pixels costs 9 to 17 KB in every copy of
# the program, its PNG one or two.
PNG_FROM = 48


def png_image(canvas):
    """One image of an .ico file as PNG: 8-bit RGBA, straight alpha."""
    size = canvas.size

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))

    raw = bytearray()
    for row in canvas.rgba_rows():
        raw.append(0)  # no filter
        for pixel in row:
            raw += bytes(pixel)
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def write_ico(path, canvases):
    images = [png_image(c) if c.size >= PNG_FROM else ico_image(c) for c in canvases]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        side = canvas.size % 256  # 256 is written as 0
        out += struct.pack('<BBBBHHII', side, side, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(out)


# ---------------------------------------------------------------- drawings

# The tile of the tray pictures: a dark rim that stands out on a light
# taskbar around a body that stands out on a dark one.
ACTIVE = {'rim': '#0b2e5c', 'body': '#1f72d6', 'front': '#ffffff', 'back': '#b3dbff'}
RESTING = {'rim': '#262e38', 'body': '#66727f', 'front': '#e9eef3', 'back': '#bcc6d0',
           'moon': '#f6e7a8'}


def tile(canvas, colors):
    s = canvas.size
    radius = s * 3.0 / 16.0
    inset = 1.0 if s < 48 else s / 32.0
    canvas.fill(rounded_rect(0, 0, s, s, radius), hex_color(colors['rim']))
    body = rounded_rect(inset, inset, s - inset, s - inset, radius - inset)
    canvas.fill(body, hex_color(colors['body']))
    return body


# At 16 px smooth curves blur, so the waves are drawn pixel by pixel: a line
# two pixels thick whose top row follows this pattern, one period of eight
# columns. Each frame moves it two columns to the right.
PIXEL_WAVE = [1, 0, 0, 1, 2, 3, 3, 2]
# (top row, colour key, columns the pattern is moved by besides the frame)
PIXEL_WAVES = [(2, 'back', 4), (8, 'front', 0)]

# The flat water of the resting picture at 16 px.
PIXEL_NIGHT = [
    '................',
    '................',
    '................',
    '................',
    '................',
    '................',
    '................',
    '................',
    '................',
    '...bbbbbbbbbb...',
    '...bbbbbbbbbb...',
    '................',
    '...ffffffffff...',
    '...ffffffffff...',
    '................',
    '................',
]

# Wave lines at the larger sizes: (centre y, amplitude, period, half width,
# colour key, phase offset). The sizes between are drawn from the 32-pixel
# lines, made no thinner than two pixels so that they stay crisp.
WAVES = {
    32: [(11.0, 2.5, 14.0, 1.5, 'back', 0.25), (20.5, 2.5, 14.0, 1.75, 'front', 0.0)],
    48: [(16.5, 3.5, 21.0, 2.5, 'back', 0.25), (30.5, 3.5, 21.0, 3.0, 'front', 0.0)],
}


def wave_lines(size):
    if size in WAVES:
        return WAVES[size]
    k = size / 32.0
    return [(y * k, amplitude * k, period * k, max(1.0, half_width * k), key, offset)
            for y, amplitude, period, half_width, key, offset in WAVES[32]]

# The resting picture per size: a crescent moon (disc centre and radius, and
# the centre and radius of the disc cut out of it) over flat water lines
# (centre y, half width, colour key).
RESTING_SCENE = {
    16: ((10.8, 4.6, 3.3), (9.0, 3.5, 2.8), []),
    32: ((22.0, 9.0, 5.0), (19.4, 6.9, 4.3), [(18.5, 1.5, 'back'), (24.5, 1.75, 'front')]),
}


def resting_scene(size):
    if size in RESTING_SCENE:
        return RESTING_SCENE[size]
    k = size / 32.0
    (mx, my, mr), (cx, cy, cr), lines = RESTING_SCENE[32]
    return ((mx * k, my * k, mr * k), (cx * k, cy * k, cr * k),
            [(y * k, max(1.0, half_width * k), key) for y, half_width, key in lines])


def waves(canvas, colors, clip, frame):
    """frame 0..3: each frame moves the crests a quarter period to the right."""
    if canvas.size == 16:
        for top, key, offset in PIXEL_WAVES:
            for x in range(1, 15):
                row = top + PIXEL_WAVE[(x - 2 * frame - offset) % len(PIXEL_WAVE)]
                canvas.put(x, row, hex_color(colors[key]))
                canvas.put(x, row + 1, hex_color(colors[key]))
        return
    for y, amplitude, period, half_width, key, offset in wave_lines(canvas.size):
        line = wave(y, amplitude, period, offset + frame / 4.0, half_width)
        canvas.fill(both(clip, line), hex_color(colors[key]))


def calm_night(canvas, colors, clip):
    """The sea at rest: flat water under a crescent moon."""
    s = canvas.size
    if s == 16:
        keys = {'b': 'back', 'f': 'front'}
        for j, line in enumerate(PIXEL_NIGHT):
            for i, key in enumerate(line):
                if key in keys:
                    canvas.put(i, j, hex_color(colors[keys[key]]))
    (mx, my, mr), (cx, cy, cr), lines = resting_scene(s)
    canvas.fill(minus(circle(mx, my, mr), circle(cx, cy, cr)), hex_color(colors['moon']))
    if s == 16:
        return
    inset = 3.0 if s == 16 else 5.0
    for y, half_width, key in lines:
        line = capsule(inset, y, s - inset, y, half_width)
        canvas.fill(both(clip, line), hex_color(colors[key]))


def tray_frame(size, frame):
    canvas = Canvas(size)
    clip = tile(canvas, ACTIVE)
    waves(canvas, ACTIVE, clip, frame)
    return canvas


def tray_resting(size):
    canvas = Canvas(size)
    clip = tile(canvas, RESTING)
    calm_night(canvas, RESTING, clip)
    return canvas


def tidewatch_app(size):
    canvas = Canvas(size)
    clip = tile(canvas, ACTIVE)
    waves(canvas, ACTIVE, clip, 0)
    return canvas


def kestrel_app(size):
    """A speed gauge: a dark dial, a scale that warms from green to red, and
    a needle far over to the fast side."""
    s = float(size)
    c = s / 2.0
    canvas = Canvas(size)
    # A dark edge for light taskbars, a silver bezel for dark ones.
    edge = max(0.75, s / 40.0)
    bezel = max(1.0, s / 20.0)
    canvas.fill(circle(c, c, c), hex_color('#0d1b2e'))
    canvas.fill(circle(c, c, c - edge), hex_color('#c4ced9'))
    canvas.fill(circle(c, c, c - edge - bezel), hex_color('#1b3050'))
    r_out = c - edge - bezel - s * 0.04
    r_in = r_out - max(2.25, s * 0.11)
    # The scale runs clockwise from the lower left (225 degrees) over the
    # top to the lower right (-45 degrees), in four coloured steps.
    steps = ['#46c35a', '#b9d93f', '#f5b335', '#ef5a3c']
    span = 270.0 / len(steps)
    for n, color in enumerate(steps):
        end = 225.0 - n * span
        canvas.fill(ring_sector(c, c, r_in, r_out, end - span, end), hex_color(color))
    # The needle, towards 30 degrees (upper right: fast).
    angle = math.radians(30.0)
    length = r_in + (r_out - r_in) * 0.3
    tip_x, tip_y = c + length * math.cos(angle), c - length * math.sin(angle)
    canvas.fill(capsule(c, c, tip_x, tip_y, max(1.0, s * 0.045)), hex_color('#ffffff'))
    canvas.fill(circle(c, c, max(1.5, s * 0.09)), hex_color('#ffffff'))
    if size > 16:
        canvas.fill(circle(c, c, s * 0.04), hex_color('#ef5a3c'))
    return canvas


PROGRAM_SIZES = (16, 24, 32, 48, 64)
TRAY_SIZES = (16, 20, 24, 32)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.normpath(os.path.join(here, '..', '..'))
    tidewatch = os.path.join(root, 'tidewatch', 'win32', 'icons')
    write_ico(os.path.join(root, 'kestrel', 'win32', 'icons', 'kestrel.ico'),
              [kestrel_app(n) for n in PROGRAM_SIZES])
    write_ico(os.path.join(tidewatch, 'tidewatch.ico'), [tidewatch_app(n) for n in PROGRAM_SIZES])
    for frame in range(4):
        write_ico(os.path.join(tidewatch, 'tray%d.ico' % (frame + 1)),
                  [tray_frame(n, frame) for n in TRAY_SIZES])
    write_ico(os.path.join(tidewatch, 'tray5.ico'), [tray_resting(n) for n in TRAY_SIZES])


if __name__ == '__main__':
    main()
