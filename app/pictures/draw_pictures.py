#!/usr/bin/env python3
"""Draws Sonoraflux's own pictures (tray icons, menu pictures, the default entry
icon, the hand cursor, sample entry icons) and writes them as ICO, BMP and CUR
files into the folder given as the only argument."""
import math
import os
import struct
import sys

# The even-odd rule of the window pictures decides which points a polygon
# covers: ui/pictures is on the PYTHONPATH the build gives this script, and
# the build leaves no compiled copy in the source tree (PYTHONDONTWRITEBYTECODE).
from draw_ui_pictures import inside_polygon as inside

COLUMN = (227, 234, 246)  # the menu's icon column, so pictures blend into it
WHITE = (255, 255, 255)


class Canvas:
    def __init__(self, w, h, background=None):
        self.w, self.h = w, h
        self.px = [[background + (255,) if background else (0, 0, 0, 0) for _ in range(w)] for _ in range(h)]

    def blend(self, x, y, rgb, alpha=1.0):
        if not (0 <= x < self.w and 0 <= y < self.h) or alpha <= 0:
            return
        r0, g0, b0, a0 = self.px[y][x]
        a = min(1.0, alpha)
        if a0 == 0:
            self.px[y][x] = rgb + (int(round(a * 255)),)
            return
        mix = lambda c0, c1: int(round(c0 * (1 - a) + c1 * a))
        self.px[y][x] = (mix(r0, rgb[0]), mix(g0, rgb[1]), mix(b0, rgb[2]), max(a0, int(round(a * 255))))

    def disc(self, cx, cy, r, rgb):
        for y in range(self.h):
            for x in range(self.w):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                self.blend(x, y, rgb, r - d + 0.5)

    def rect(self, x0, y0, x1, y1, rgb):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.blend(x, y, rgb)

    def line(self, x0, y0, x1, y1, rgb, width=1.0):
        for y in range(self.h):
            for x in range(self.w):
                px, py = x + 0.5, y + 0.5
                dx, dy = x1 - x0, y1 - y0
                t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy or 1)))
                d = math.hypot(px - (x0 + t * dx), py - (y0 + t * dy))
                self.blend(x, y, rgb, width / 2 - d + 0.5)

    def arc(self, cx, cy, r, a0, a1, rgb, width=1.3):
        for y in range(self.h):
            for x in range(self.w):
                px, py = x + 0.5 - cx, y + 0.5 - cy
                ang = math.degrees(math.atan2(-py, px))
                if a0 <= ang <= a1:
                    self.blend(x, y, rgb, width / 2 - abs(math.hypot(px, py) - r) + 0.5)

    def polygon(self, points, rgb):
        for y in range(self.h):
            for x in range(self.w):
                if inside(points, x + 0.5, y + 0.5):
                    self.blend(x, y, rgb)

    def flat(self, background):
        """Opaque copy on a background colour."""
        out = Canvas(self.w, self.h, background)
        for y in range(self.h):
            for x in range(self.w):
                r, g, b, a = self.px[y][x]
                out.blend(x, y, (r, g, b), a / 255)
        return out


def bmp24(canvas):
    row = (canvas.w * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(canvas.h)):
        line = bytearray()
        for x in range(canvas.w):
            r, g, b, _ = canvas.px[y][x]
            line += bytes((b, g, r))
        data += line + bytes(row - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, canvas.w, canvas.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + data


def ico32(canvas):
    xor = bytearray()
    for y in reversed(range(canvas.h)):
        for x in range(canvas.w):
            r, g, b, a = canvas.px[y][x]
            xor += bytes((b, g, r, a))
    mask_row = ((canvas.w + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(canvas.h)):
        bits = bytearray(mask_row)
        for x in range(canvas.w):
            if canvas.px[y][x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack('<IiiHHIIiiII', 40, canvas.w, canvas.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', canvas.w, canvas.h, 0, 0, 1, 32, len(image), 22)
    return directory + image


def cur1(pixels, hotspot):
    """pixels: rows of ' ' (transparent), '#' (black), '.' (white)."""
    w, h = len(pixels[0]), len(pixels)
    row_bytes = ((w + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for y in reversed(range(h)):
        xr, mr = bytearray(row_bytes), bytearray(row_bytes)
        for x in range(w):
            c = pixels[y][x]
            if c == ' ':
                mr[x // 8] |= 0x80 >> (x % 8)
            elif c == '.':
                xr[x // 8] |= 0x80 >> (x % 8)
        xor += xr
        mask += mr
    info = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = info + palette + xor + mask
    directory = struct.pack('<HHH', 0, 2, 1) + struct.pack('<BBBBHHII', w, h, 0, 0, hotspot[0], hotspot[1], len(image), 22)
    return directory + image


NAVY = (20, 40, 120)
BLUE = (40, 90, 190)
LIGHT = (110, 170, 240)
RED = (200, 30, 30)
GREEN = (40, 160, 60)
GREY = (120, 120, 130)


def speaker(c, rgb=NAVY):
    c.rect(2, 6, 4, 10, rgb)
    c.polygon([(4.5, 6), (8.5, 2.5), (8.5, 13.5), (4.5, 10)], rgb)


def tray_frame(frame, muted):
    c = Canvas(16, 16)
    speaker(c, GREY if muted else NAVY)
    radii = (5.0, 7.5, 10.0)
    for i, r in enumerate(radii):
        lit = frame == 0 or i < frame
        colour = (LIGHT if muted else BLUE) if lit else (200, 210, 230)
        c.arc(5.0, 8, r, -42, 42, colour, 1.5)
    if muted:
        c.line(9.5, 4.5, 15, 11.5, RED, 2.2)
        c.line(15, 4.5, 9.5, 11.5, RED, 2.2)
    return c


def green_ball():
    c = Canvas(16, 16)
    c.disc(8, 8, 6.5, (20, 110, 30))
    c.disc(7.6, 7.6, 5.6, GREEN)
    c.disc(6.3, 6.0, 2.6, (120, 215, 120))
    c.disc(5.8, 5.4, 1.2, (235, 255, 235))
    return c


def menu_pictures():
    pics = {}
    c = Canvas(16, 16)  # Editer...: a pencil over a sheet
    c.rect(2, 2, 11, 14, WHITE)
    c.rect(2, 2, 11, 2, GREY); c.rect(2, 14, 11, 14, GREY); c.rect(2, 2, 2, 14, GREY); c.rect(11, 2, 11, 14, GREY)
    for y in (5, 8, 11):
        c.rect(4, y, 8, y, (150, 160, 180))
    c.line(6, 13, 14, 4, (230, 160, 30), 2.6)
    c.line(5.2, 14.2, 6.6, 12.6, NAVY, 1.4)
    pics['menu_edit'] = c
    c = Canvas(16, 16)  # Ma liste: three lines with bullets
    for y in (4, 8, 12):
        c.disc(3.5, y + 0.5, 1.6, GREEN)
        c.rect(6, y, 14, y + 1, NAVY)
    pics['menu_list'] = c
    c = Canvas(16, 16)  # Arrêter: a square
    c.rect(3, 3, 12, 12, (170, 30, 30)); c.rect(4, 4, 11, 11, RED)
    pics['menu_stop'] = c
    c = Canvas(16, 16)  # Permuter...: two arrows
    c.line(2, 5, 12, 5, BLUE, 1.6); c.polygon([(11, 2), (15, 5), (11, 8)], BLUE)
    c.line(4, 11, 14, 11, GREEN, 1.6); c.polygon([(5, 8), (1, 11), (5, 14)], GREEN)
    pics['menu_rotate'] = c
    c = Canvas(16, 16)  # Enregistrer...: a red record dot
    c.disc(8, 8, 6, (150, 20, 20)); c.disc(8, 8, 5, RED); c.disc(6.5, 6.5, 1.5, (255, 140, 140))
    pics['menu_record'] = c
    for name, on in (('autostart_on', True), ('autostart_off', False)):
        c = Canvas(16, 16)  # a power switch, lit when on
        ring = GREEN if on else GREY
        c.arc(8, 8.5, 5.5, -240 + 360, 360, ring, 1.8)
        c.arc(8, 8.5, 5.5, -180, 60, ring, 1.8)
        c.line(8, 1.5, 8, 8, ring, 1.8)
        if not on:
            c.line(2, 14, 14, 2, RED, 1.4)
        pics[name] = c
    c = Canvas(16, 16)  # Tutoriel: a question mark in a blue disc
    c.disc(8, 8, 7, BLUE)
    c.arc(8, 6, 2.6, -90, 200, WHITE, 1.8)
    c.line(8, 8.5, 8, 10, WHITE, 1.8)
    c.disc(8, 12.6, 1.1, WHITE)
    pics['menu_tutorial'] = c
    c = Canvas(16, 16)  # Quitter: a door with an arrow
    c.rect(3, 2, 9, 14, (140, 90, 40)); c.rect(4, 3, 8, 13, (190, 130, 70))
    c.line(7, 8, 14, 8, RED, 1.6); c.polygon([(12, 5), (15, 8), (12, 11)], RED)
    pics['menu_quit'] = c
    return pics


def sample_entry_icons():
    icons = {}
    c = Canvas(16, 16)  # note.bmp: a musical note
    c.disc(5, 12, 2.6, NAVY); c.rect(7, 3, 7, 12, NAVY); c.line(7, 3, 12, 6, NAVY, 1.8)
    icons['note'] = c
    c = Canvas(16, 16)  # antenne.bmp: a radio mast
    c.line(8, 4, 4, 15, GREY, 1.3); c.line(8, 4, 12, 15, GREY, 1.3); c.line(5.5, 11, 10.5, 11, GREY, 1.0)
    c.arc(8, 4, 2.5, -40, 220, RED, 1.2); c.arc(8, 4, 4.5, -20, 200, RED, 1.0)
    icons['antenne'] = c
    c = Canvas(16, 16)  # info.bmp: news
    c.rect(2, 3, 13, 13, WHITE); c.rect(2, 3, 13, 5, BLUE)
    for y in (7, 9, 11):
        c.rect(4, y, 11, y, GREY)
    icons['info'] = c
    return icons


HAND = [
    "            ##                  ",
    "           #..#                 ",
    "           #..#                 ",
    "           #..#                 ",
    "           #..#                 ",
    "           #..#                 ",
    "           #..###               ",
    "           #..#..###            ",
    "           #..#..#..##          ",
    "           #..#..#..#.#         ",
    "        ## #..#..#..#..#        ",
    "       #..##........#..#        ",
    "       #...#...........#        ",
    "        #..............#        ",
    "        #..............#        ",
    "         #.............#        ",
    "         #............#         ",
    "          #...........#         ",
    "          #..........#          ",
    "           #.........#          ",
    "           #.........#          ",
    "           ###########          ",
]


def hand_cursor():
    rows = [r.ljust(32) for r in HAND]
    # The fingertip's first white pixel row is 1; move the picture so the tip
    # sits at the hot spot (12, 5).
    rows = [' ' * 32] * 4 + rows
    rows += [' ' * 32] * (32 - len(rows))
    return rows[:32]


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write = lambda name, data: open(os.path.join(out, name), 'wb').write(data)
    for muted in (False, True):
        for frame in range(4):
            write('tray_%s_%d.ico' % ('muted' if muted else 'normal', frame), ico32(tray_frame(frame, muted)))
    write('sonoraflux.ico', ico32(tray_frame(0, False)))
    write('default_entry.bmp', bmp24(green_ball().flat(COLUMN)))
    for name, c in menu_pictures().items():
        write(name + '.bmp', bmp24(c.flat(COLUMN)))
    for name, c in sample_entry_icons().items():
        write('sample_' + name + '.bmp', bmp24(c.flat(COLUMN)))
    write('hand.cur', cur1(hand_cursor(), (12, 5)))


if __name__ == '__main__':
    main()
