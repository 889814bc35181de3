#!/usr/bin/env python3
"""Draws the recorder window's pictures (the file choice, the Flumen's symbol,
the recordings folder, the help-balloon switch and the four frames of the
recording indicator) as 24-bit BMP files on magenta, the colour the window
treats as see-through, into the folder given as the only argument."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'app', 'pictures'))
from draw_pictures import Canvas, bmp24, NAVY, BLUE, RED, GREEN, GREY, WHITE  # noqa: E402

MAGENTA = (255, 0, 255)
YELLOW = (240, 200, 60)
DARK_YELLOW = (180, 130, 20)


def keyed(canvas):
    """Opaque copy: pixels at least half covered keep their colour, the rest is magenta."""
    out = Canvas(canvas.w, canvas.h, MAGENTA)
    for y in range(canvas.h):
        for x in range(canvas.w):
            r, g, b, a = canvas.px[y][x]
            if a >= 128:
                out.px[y][x] = (r, g, b, 255)
    return out


def folder(c):
    c.rect(1, 4, 7, 5, DARK_YELLOW)
    c.rect(1, 5, 15, 14, DARK_YELLOW)
    c.rect(2, 6, 14, 13, YELLOW)


def choose_picture():
    c = Canvas(17, 17)  # folder with a red check mark
    folder(c)
    c.line(6, 10, 9, 14, RED, 2.2)
    c.line(9, 14, 16, 3, RED, 2.2)
    return c


def folder_picture():
    c = Canvas(17, 17)  # folder with a disc
    folder(c)
    c.disc(11, 11, 5.2, (90, 90, 100))
    c.disc(11, 11, 4.6, (200, 205, 215))
    c.disc(11, 11, 1.6, (90, 90, 100))
    return c


def symbol_picture():
    c = Canvas(17, 17)  # the Flumen: waves of sound from a mast
    c.line(8.5, 6, 5, 16, WHITE, 1.4)
    c.line(8.5, 6, 12, 16, WHITE, 1.4)
    c.disc(8.5, 5, 1.8, RED)
    c.arc(8.5, 5, 4.0, -40, 220, (160, 200, 255), 1.3)
    c.arc(8.5, 5, 6.8, -30, 210, (110, 170, 240), 1.3)
    return c


def help_switch_picture():
    c = Canvas(17, 17)  # white speech balloon with a black letter i
    c.disc(8.5, 7.5, 7.2, (60, 60, 70))
    c.disc(8.5, 7.5, 6.2, WHITE)
    c.polygon([(4, 11), (3, 16), (9, 13)], (60, 60, 70))
    c.polygon([(5, 11), (4.3, 14.5), (8.5, 12.5)], WHITE)
    c.disc(8.5, 4.2, 1.2, (0, 0, 0))
    c.rect(8, 6, 9, 11, (0, 0, 0))
    return c


def indicator_strip():
    """Four 27x7 frames side by side: a dark strip whose red lights run left to right."""
    c = Canvas(27 * 4, 7)
    for frame in range(4):
        x0 = frame * 27
        c.rect(x0, 0, x0 + 26, 6, (30, 30, 30))
        for lamp in range(4):
            lit = frame > 0 and lamp <= frame  # frame 0, the stopped one, is dark
            colour = RED if lit else (90, 20, 20)
            c.rect(x0 + 2 + lamp * 6, 2, x0 + 5 + lamp * 6, 4, colour)
    return c


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    pictures = {
        'rec_choose.bmp': choose_picture(),
        'rec_folder.bmp': folder_picture(),
        'rec_symbol.bmp': symbol_picture(),
        'help_switch.bmp': help_switch_picture(),
        'rec_indicator.bmp': indicator_strip(),
    }
    for name, canvas in pictures.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(bmp24(keyed(canvas)))


if __name__ == '__main__':
    main()
