#!/usr/bin/env python3
"""Draws the pictures of Sonoraflux's windows (button pictures, balloon title
pictures, banner, glyphs, the recording indicator's frames) as PNG files, and
writes ui_pictures.rc, which makes each one an RCDATA resource of the same name,
into the folder given as the only argument. Plain Python: no imaging package."""
import math
import os
import struct
import sys
import zlib

SAMPLES = 4  # per side: 16 coverage samples per pixel


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[(0, 0, 0, 0)] * w for _ in range(h)]

    def blend(self, x, y, rgb, alpha):
        """Paints rgb over pixel x, y with coverage alpha (straight alpha)."""
        if not (0 <= x < self.w and 0 <= y < self.h) or alpha <= 0:
            return
        a = min(1.0, alpha)
        r0, g0, b0, a0 = self.px[y][x]
        a0 /= 255
        out = a + a0 * (1 - a)
        mix = lambda c0, c1: (c1 * a + c0 * a0 * (1 - a)) / out
        self.px[y][x] = (round(mix(r0, rgb[0])), round(mix(g0, rgb[1])), round(mix(b0, rgb[2])), round(out * 255))

    def shape(self, box, inside, rgb):
        """Fills the points of box (x0, y0, x1, y1) for which inside(x, y) holds."""
        x0, y0, x1, y1 = box
        step = 1 / SAMPLES
        offsets = [(i + 0.5) * step for i in range(SAMPLES)]
        for y in range(max(0, math.floor(y0)), min(self.h, math.ceil(y1))):
            for x in range(max(0, math.floor(x0)), min(self.w, math.ceil(x1))):
                hits = sum(1 for dy in offsets for dx in offsets if inside(x + dx, y + dy))
                self.blend(x, y, rgb, hits / (SAMPLES * SAMPLES))

    def rect(self, x0, y0, x1, y1, rgb):
        self.shape((x0, y0, x1, y1), lambda x, y: x0 <= x < x1 and y0 <= y < y1, rgb)

    def round_rect(self, x0, y0, x1, y1, r, rgb):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self.shape((x0, y0, x1, y1), inside, rgb)

    def framed_round_rect(self, x0, y0, x1, y1, r, fill, border, width=1.0):
        self.round_rect(x0, y0, x1, y1, r, border)
        self.round_rect(x0 + width, y0 + width, x1 - width, y1 - width, max(0, r - width), fill)

    def ellipse(self, cx, cy, rx, ry, rgb):
        self.shape((cx - rx, cy - ry, cx + rx, cy + ry),
                   lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1, rgb)

    def disc(self, cx, cy, r, rgb):
        self.ellipse(cx, cy, r, r, rgb)

    def ring(self, cx, cy, r, width, rgb):
        self.shape((cx - r, cy - r, cx + r, cy + r),
                   lambda x, y: r - width <= math.hypot(x - cx, y - cy) <= r, rgb)

    def polygon(self, points, rgb):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.shape((min(xs), min(ys), max(xs), max(ys)), lambda x, y: inside_polygon(points, x, y), rgb)

    def line(self, x0, y0, x1, y1, width, rgb):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
            return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2
        m = width
        self.shape((min(x0, x1) - m, min(y0, y1) - m, max(x0, x1) + m, max(y0, y1) + m), inside, rgb)

    def polyline(self, points, width, rgb):
        for (xa, ya), (xb, yb) in zip(points, points[1:]):
            self.line(xa, ya, xb, yb, width, rgb)

    def arc(self, cx, cy, r, a0, a1, width, rgb):
        """Arc of angles a0..a1 in degrees, counter-clockwise from the right, y up."""
        def inside(x, y):
            angle = math.degrees(math.atan2(cy - y, x - cx))
            return a0 <= angle <= a1 and abs(math.hypot(x - cx, y - cy) - r) <= width / 2
        self.shape((cx - r - width, cy - r - width, cx + r + width, cy + r + width), inside, rgb)

    def greyed(self):
        """The disabled look: same lightness in grey, lifted half way to white."""
        out = Canvas(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                r, g, b, a = self.px[y][x]
                luma = (r * 299 + g * 587 + b * 114) / 1000
                grey = round((luma + 255) / 2)
                out.px[y][x] = (grey, grey, grey, a)
        return out

    def paste(self, other, left, top):
        for y in range(other.h):
            for x in range(other.w):
                r, g, b, a = other.px[y][x]
                self.blend(left + x, top + y, (r, g, b), a / 255)

    def png(self):
        rows = b"".join(b"\0" + bytes(c for p in row for c in p) for row in self.px)
        chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data
                                    + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
        header = struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9))
                + chunk(b"IEND", b""))


def inside_polygon(points, x, y):
    hit = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


# Colours shared by the pictures.
INK = (40, 40, 48)
WHITE = (255, 255, 255)
PAPER_EDGE = (120, 128, 140)
FOLDER = (246, 200, 72)
FOLDER_DARK = (196, 146, 28)
FOLDER_BACK = (226, 170, 46)
RED = (214, 36, 36)
GREEN = (40, 160, 56)
BLUE = (40, 96, 200)
GREY = (128, 128, 128)


# --- parts reused by several pictures (drawn on a 16-unit grid, scaled by s) ---

def info_balloon(c, s):
    """White speech balloon with a black letter i."""
    c.polygon([(3 * s, 10 * s), (3 * s, 15.2 * s), (8 * s, 10 * s)], INK)
    c.framed_round_rect(0.5 * s, 0.8 * s, 15.5 * s, 11.5 * s, 3.5 * s, WHITE, INK, 1.0)
    c.polygon([(4 * s, 10.4 * s), (4 * s, 13.4 * s), (7 * s, 10.4 * s)], WHITE)
    c.disc(8 * s, 3.4 * s, 1.05 * s, INK)
    c.rect(7.1 * s, 5.2 * s, 8.9 * s, 9.6 * s, INK)


def sheet(c, x0, y0, x1, y1, fold=3.5):
    c.polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], PAPER_EDGE)
    c.polygon([(x0 + 1, y0 + 1), (x1 - fold - 0.4, y0 + 1), (x1 - 1, y0 + fold + 0.4), (x1 - 1, y1 - 1),
               (x0 + 1, y1 - 1)], WHITE)
    c.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], (200, 206, 216))


def folder(c, s, open_front=True):
    """Yellow folder filling the lower part of a 16-unit square."""
    c.polygon([(0.5 * s, 3 * s), (6 * s, 3 * s), (7.5 * s, 4.5 * s), (15 * s, 4.5 * s), (15 * s, 14 * s),
               (0.5 * s, 14 * s)], FOLDER_DARK)
    c.polygon([(1.5 * s, 4 * s), (5.6 * s, 4 * s), (7.1 * s, 5.5 * s), (14 * s, 5.5 * s), (14 * s, 13 * s),
               (1.5 * s, 13 * s)], FOLDER_BACK)
    if open_front:
        c.polygon([(3 * s, 7 * s), (15.8 * s, 7 * s), (13.6 * s, 14 * s), (0.5 * s, 14 * s)], FOLDER_DARK)
        c.polygon([(3.7 * s, 8 * s), (14.5 * s, 8 * s), (12.8 * s, 13.2 * s), (1.7 * s, 13.2 * s)], FOLDER)


def check_mark(c, s, x, y, scale=1.0, rgb=RED):
    k = s * scale
    c.polyline([(x, y + 2.5 * k), (x + 2.2 * k, y + 4.8 * k), (x + 6 * k, y)], 2.0 * k, rgb)


def disc_badge(c, s, cx, cy, r):
    c.disc(cx * s, cy * s, r * s, (90, 96, 110))
    c.disc(cx * s, cy * s, (r - 0.9) * s, (214, 220, 232))
    c.arc(cx * s, cy * s, (r - 2.2) * s, 20, 110, 1.0 * s, WHITE)
    c.disc(cx * s, cy * s, 1.3 * s, (90, 96, 110))
    c.disc(cx * s, cy * s, 0.7 * s, WHITE)


def speaker(c, s):
    c.rect(1.5 * s, 5.5 * s, 5 * s, 10.5 * s, INK)
    c.polygon([(4.5 * s, 5.5 * s), (9 * s, 2 * s), (9 * s, 14 * s), (4.5 * s, 10.5 * s)], INK)
    c.rect(2.5 * s, 6.5 * s, 4.6 * s, 9.5 * s, (170, 176, 190))
    c.polygon([(5.2 * s, 6.3 * s), (8 * s, 4.2 * s), (8 * s, 11.8 * s), (5.2 * s, 9.7 * s)], (170, 176, 190))
    c.arc(9.5 * s, 8 * s, 2.6 * s, -50, 50, 1.2 * s, BLUE)
    c.arc(9.5 * s, 8 * s, 5.2 * s, -50, 50, 1.2 * s, BLUE)


def cross(c, x0, y0, x1, y1, width, rgb):
    c.line(x0, y0, x1, y1, width, rgb)
    c.line(x0, y1, x1, y0, width, rgb)


def seven_segment(c, x, y, w, h, digit, rgb):
    segments = {"0": "abcdef", "1": "bc", "2": "abged", "3": "abgcd", "4": "fgbc", "5": "afgcd",
                "6": "afgedc", "7": "abc", "8": "abcdefg", "9": "abcdfg"}[digit]
    t = 1.0
    mid = y + h / 2
    bars = {"a": (x, y, x + w, y + t), "g": (x, mid - t / 2, x + w, mid + t / 2), "d": (x, y + h - t, x + w, y + h),
            "f": (x, y, x + t, mid), "b": (x + w - t, y, x + w, mid), "e": (x, mid, x + t, y + h),
            "c": (x + w - t, mid, x + w, y + h)}
    for name in segments:
        c.rect(*bars[name], rgb)


def arrow(c, x0, y, x1, rgb, head=3.2, width=2.2):
    """Horizontal arrow from x0 to x1 (pointing towards x1)."""
    direction = 1 if x1 > x0 else -1
    c.line(x0, y, x1 - direction * head, y, width, rgb)
    c.polygon([(x1, y), (x1 - direction * head * 1.1, y - head), (x1 - direction * head * 1.1, y + head)], rgb)


# --- the pictures ---

def draw_info(size):
    c = Canvas(size, size)
    info_balloon(c, size / 16)
    return c


def draw_list():
    c = Canvas(16, 16)
    for row, colour in enumerate([RED, GREEN, BLUE]):
        y = 3.5 + row * 4.5
        c.disc(3, y, 2.0, colour)
        c.disc(2.5, y - 0.5, 0.7, WHITE)
        c.rect(6.5, y - 1, 15, y + 1, (70, 76, 92))
    return c


def draw_new():
    c = Canvas(16, 16)
    sheet(c, 2, 1, 13, 15.5)
    for i, y in enumerate([6.5, 9, 11.5]):
        c.rect(4, y, 11 - (i == 2) * 2, y + 1, (170, 180, 196))
    # the sparkle
    c.polygon([(12.5, 0), (13.5, 3), (16, 4), (13.5, 5), (12.5, 8), (11.5, 5), (9, 4), (11.5, 3)], RED)
    c.disc(12.5, 4, 0.9, (255, 220, 90))
    return c


def draw_save():
    c = Canvas(16, 16)
    c.polygon([(1, 1), (13.5, 1), (15, 2.5), (15, 15), (1, 15)], (24, 56, 128))
    c.polygon([(2, 2), (13, 2), (14, 3), (14, 14), (2, 14)], BLUE)
    c.rect(4, 2, 12, 7.5, WHITE)
    c.rect(4, 3.5, 12, 4.3, (180, 190, 210))
    c.rect(4, 5.3, 12, 6.1, (180, 190, 210))
    c.rect(4.5, 10, 11.5, 14, (40, 44, 56))
    c.rect(9, 10.8, 10.5, 13.2, (200, 206, 216))
    return c


def draw_delete():
    c = Canvas(16, 16)
    cross(c, 2.5, 2.5, 13.5, 13.5, 4.2, (140, 10, 10))
    cross(c, 2.5, 2.5, 13.5, 13.5, 2.6, RED)
    return c


def draw_cancel():
    c = Canvas(16, 16)
    c.framed_round_rect(1, 1, 15, 15, 2.5, (236, 238, 242), (150, 154, 162))
    cross(c, 4.7, 4.7, 11.3, 11.3, 2.0, (112, 116, 124))
    return c


def draw_export():
    c = Canvas(16, 16)
    sheet(c, 1, 1, 11, 15)
    for y in (5, 7.5, 10):
        c.rect(3, y, 8, y + 0.9, (170, 180, 196))
    arrow(c, 6, 11.5, 15.8, (24, 96, 210))
    return c


def draw_import():
    c = Canvas(16, 16)
    sheet(c, 5, 1, 15, 15)
    for y in (5, 7.5, 10):
        c.rect(7, y, 13, y + 0.9, (170, 180, 196))
    arrow(c, 0.2, 11.5, 10.5, GREEN)
    return c


def draw_speaker(size=16):
    c = Canvas(size, size)
    speaker(c, size / 16)
    return c


def draw_folder(size=16):
    c = Canvas(size, size)
    folder(c, size / 16)
    return c


def draw_folder_check(size=16):
    s = size / 16
    c = Canvas(size, size)
    folder(c, s)
    check_mark(c, s, 7 * s, 1 * s, 1.3)
    return c


def draw_folder_disc(size=16):
    s = size / 16
    c = Canvas(size, size)
    folder(c, s)
    disc_badge(c, s, 11, 10.5, 5)
    return c


def draw_display():
    c = Canvas(16, 16)
    c.framed_round_rect(0, 2.5, 16, 13.5, 1.5, (12, 12, 12), (110, 110, 110))
    seven_segment(c, 2.5, 4.5, 4.5, 7, "0", (80, 230, 90))
    seven_segment(c, 9, 4.5, 4.5, 7, "0", (80, 230, 90))
    return c


def draw_page_chooser():
    c = Canvas(16, 16)
    sheet(c, 5, 0, 14, 10, fold=3)
    c.rect(7, 4, 11.5, 4.9, (170, 180, 196))
    c.rect(7, 6.2, 11.5, 7.1, (170, 180, 196))
    folder(c, 1.0)
    return c


def draw_clock():
    c = Canvas(16, 16)
    c.disc(8, 8, 7.5, (40, 70, 150))
    c.disc(8, 8, 6.3, WHITE)
    for k in range(12):
        a = math.radians(k * 30)
        r0 = 4.8 if k % 3 else 4.2
        c.line(8 + r0 * math.cos(a), 8 + r0 * math.sin(a), 8 + 5.6 * math.cos(a), 8 + 5.6 * math.sin(a), 0.8, GREY)
    c.line(8, 8, 8, 3.6, 1.4, INK)
    c.line(8, 8, 11.2, 9.6, 1.4, INK)
    c.disc(8, 8, 1.0, RED)
    return c


def draw_jingle_chooser():
    c = Canvas(16, 16)
    folder(c, 1.0)
    # a quaver above the folder
    c.ellipse(6.3, 8.8, 2.0, 1.5, (120, 30, 150))
    c.rect(7.6, 1.5, 8.6, 8.8, (120, 30, 150))
    c.polygon([(8.6, 1.5), (12, 3.5), (12, 5.2), (8.6, 3.4)], (120, 30, 150))
    return c


def draw_flumen_symbol():
    c = Canvas(17, 17)
    for row, colour in enumerate([(70, 150, 230), (40, 110, 210), (24, 70, 170)]):
        y = 5 + row * 4
        points = [(x / 2, y + 1.6 * math.sin((x / 2) * math.pi / 4)) for x in range(1, 34)]
        c.polyline(points, 1.6, colour)
    return c


def draw_indicator():
    """Four 27x7 frames side by side: a red dot and a three-step level."""
    c = Canvas(27 * 4, 7)
    for frame in range(4):
        left = frame * 27
        c.rect(left, 0, left + 27, 7, (16, 16, 16))
        lit = frame > 0
        c.disc(left + 4.5, 3.5, 2.4, (255, 40, 40) if lit else (96, 24, 24))
        for bar in range(3):
            x = left + 10 + bar * 5.5
            on = bar < frame
            colour = [(60, 220, 80), (220, 220, 60), (255, 140, 40)][bar] if on else (56, 56, 56)
            c.rect(x, 1.5, x + 4, 5.5, colour)
    return c


def draw_banner():
    w, h = 369, 73
    c = Canvas(w, h)
    top, bottom = (255, 255, 255), (214, 226, 246)
    for y in range(h):
        t = y / (h - 1)
        colour = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
        for x in range(w):
            c.px[y][x] = colour + (255,)
    # a loudspeaker in a disc, with waves, left of the texts (they start at 108)
    c.disc(44, 36, 29, (40, 96, 200))
    c.disc(44, 36, 26, (232, 240, 252))
    logo = Canvas(32, 32)
    speaker(logo, 2)
    c.paste(logo, 24, 20)
    for r in (8, 14, 20):
        c.arc(76, 36, r, -45, 45, 2.4, (40, 96, 200))
    c.rect(0, h - 1, w, h, (141, 171, 220))
    return c


PICTURES = {
    "PNG_INFO": lambda: draw_info(16),
    "PNG_LIST": draw_list,
    "PNG_LIST_GREY": lambda: draw_list().greyed(),
    "PNG_NEW": draw_new,
    "PNG_SAVE": draw_save,
    "PNG_DELETE": draw_delete,
    "PNG_CANCEL": draw_cancel,
    "PNG_EXPORT": draw_export,
    "PNG_IMPORT": draw_import,
    "PNG_SPEAKER": draw_speaker,
    "PNG_FOLDER": draw_folder,
    "PNG_FOLDER_CHECK": draw_folder_check,
    "PNG_DISPLAY": draw_display,
    "PNG_FOLDER_DISC": draw_folder_disc,
    "PNG_PAGE_CHOOSER": draw_page_chooser,
    "PNG_HELP_SWITCH": lambda: draw_info(17),
    "PNG_BANNER": draw_banner,
    "PNG_RECORD_TARGET": lambda: draw_folder_check(17),
    "PNG_RECORDINGS_FOLDER": lambda: draw_folder_disc(17),
    "PNG_FLUMEN_SYMBOL": draw_flumen_symbol,
    "PNG_INDICATOR": draw_indicator,
    "PNG_CLOCK": draw_clock,
    "PNG_JINGLE_CHOOSER": draw_jingle_chooser,
}


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: draw_ui_pictures.py OUTPUT_FOLDER")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    lines = ["// Written by draw_ui_pictures.py: the windows' PNG pictures as RCDATA resources."]
    for name, draw in PICTURES.items():
        file_name = name.lower() + ".png"
        with open(os.path.join(out, file_name), "wb") as f:
            f.write(draw().png())
        lines.append(f'{name} RCDATA "{file_name}"')
    with open(os.path.join(out, "ui_pictures.rc"), "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
