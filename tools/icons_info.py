"""Icons of the band flag: the flags of the three FM bands and the on-air
and off-air lamps of the transmitter."""
import math

from make_icons import BLACK, BLUE, GREEN, GREY, RED, WHITE, YELLOW

FLAG_W, FLAG_H = 53, 34  # inside the flag label's 1 px frame
AIR_W, AIR_H = 70, 36
EU_BLUE = (0, 51, 153, 255)
EU_GOLD = (255, 204, 0, 255)
BR_GREEN = (0, 151, 57, 255)
BR_BLUE = (1, 33, 105, 255)
DIM = (90, 90, 90, 255)


def star(c, cx, cy, r, colour):
    pts = []
    for i in range(10):
        a = math.radians(-90 + i * 36)
        rr = r if i % 2 == 0 else r * 0.4
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    c.polygon(pts, colour)


def flag_eu(c, w, h):
    c.rect(0, 0, w, h, EU_BLUE)
    for i in range(12):
        a = math.radians(i * 30)
        star(c, w / 2 + h * .33 * math.cos(a), h / 2 + h * .33 * math.sin(a), h * .07, EU_GOLD)


def flag_jpn(c, w, h):
    c.rect(0, 0, w, h, WHITE)
    c.ellipse(w / 2, h / 2, h * .3, h * .3, (188, 0, 45, 255))


def flag_br(c, w, h):
    c.rect(0, 0, w, h, BR_GREEN)
    c.polygon([(w / 2, h * .08), (w * .93, h / 2), (w / 2, h * .92), (w * .07, h / 2)], (254, 223, 0, 255))
    c.ellipse(w / 2, h / 2, h * .25, h * .25, BR_BLUE)
    c.line(w / 2 - h * .25, h * .46, w / 2 + h * .25, h * .56, h * .06, WHITE)


def mast(c, w, h, colour, waves):
    cx = h / 2
    c.line(cx, h * .3, cx - h * .22, h * .92, 2, BLACK)
    c.line(cx, h * .3, cx + h * .22, h * .92, 2, BLACK)
    c.ellipse(cx, h * .3, h * .08, h * .08, colour)
    for r in (.2, .32):
        c.ring(cx, h * .3, h * r, 2, waves, 20, 70)
        c.ring(cx, h * .3, h * r, 2, waves, 110, 160)


def air_lamp(c, w, h, on):
    c.rect(h, h * .2, w - 2, h * .8, BLACK)
    c.rect(h + 1, h * .2 + 1, w - 3, h * .8 - 1, RED if on else DIM)
    # Three bars of a level meter: lit while the channels are sent.
    for i in range(3):
        x = h + 5 + i * (w - h - 10) / 3
        c.rect(x, h * .35, x + (w - h - 16) / 3, h * .65, YELLOW if on else GREY)
    mast(c, w, h, RED if on else GREY, BLUE if on else GREY)
    if not on:
        c.line(2, h - 2, w - 2, 2, 2.5, BLACK)


def icons(draw):
    return [
        draw("flag36eu.png", FLAG_W, FLAG_H, flag_eu),
        draw("flag36jpn.png", FLAG_W, FLAG_H, flag_jpn),
        draw("flag36br.png", FLAG_W, FLAG_H, flag_br),
        draw("onair.png", AIR_W, AIR_H, lambda c, w, h: air_lamp(c, w, h, True)),
        draw("offair.png", AIR_W, AIR_H, lambda c, w, h: air_lamp(c, w, h, False)),
    ]
