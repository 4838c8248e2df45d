"""Icons of the channel strips: configuration, mute button, context menu."""
import math

from make_icons import BLACK, BLUE, GREY, RED, WHITE, YELLOW, PAPER

STEEL = (200, 200, 210, 255)


def gear(c, w, h):
    cx, cy = w / 2, h / 2
    for i in range(8):
        a = math.radians(i * 45 + 22.5)
        c.line(cx + math.cos(a) * w * .25, cy + math.sin(a) * h * .25,
               cx + math.cos(a) * w * .45, cy + math.sin(a) * h * .45, w * .16, STEEL)
    c.ellipse(cx, cy, w * .32, h * .32, STEEL)
    c.ellipse(cx, cy, w * .13, h * .13, (40, 40, 40, 255))


def speaker(c, w, h):
    c.rect(w * .12, h * .36, w * .32, h * .64, WHITE)
    c.polygon([(w * .3, h * .36), (w * .55, h * .14), (w * .55, h * .86), (w * .3, h * .64)], WHITE)


def sound(c, w, h):
    speaker(c, w, h)
    for r in (.16, .3):
        c.ring(w * .55, h / 2, w * r, w * .07, (120, 230, 120, 255), 300, 60)


def muted(c, w, h):
    speaker(c, w, h)
    c.line(w * .62, h * .32, w * .9, h * .68, w * .1, RED)
    c.line(w * .9, h * .32, w * .62, h * .68, w * .1, RED)


def find(c, w, h):
    c.ring(w * .4, h * .4, w * .26, w * .1, BLACK)
    c.ellipse(w * .4, h * .4, w * .2, h * .2, (200, 225, 250, 255))
    c.line(w * .6, h * .6, w * .92, h * .92, w * .16, GREY)


def edit(c, w, h):
    c.rect(w * .1, h * .06, w * .7, h * .94, BLACK)
    c.rect(w * .16, h * .12, w * .64, h * .88, PAPER)
    for i in range(4):
        y = h * (.28 + i * .15)
        c.rect(w * .24, y, w * .56, y + h * .05, BLUE)
    c.line(w * .45, h * .85, w * .92, h * .3, w * .14, YELLOW)
    c.polygon([(w * .38, h * .94), (w * .43, h * .78), (w * .52, h * .86)], BLACK)


def icons(draw):
    return [
        draw("24config.png", 24, 24, gear),
        draw("sound.png", 24, 24, sound),
        draw("sound_muted.png", 24, 24, muted),
        draw("find.png", 16, 16, find),
        draw("edit.png", 16, 16, edit),
    ]
