"""Icons of the board dialogs: the add button of the connection dialog and
the three band flags of the band dialog (56 x 38, as the dialog shows them)."""
import math

from make_icons import BLUE, GREEN, RED, WHITE, YELLOW

EU_BLUE = (0, 51, 153, 255)
JP_RED = (188, 0, 45, 255)
BR_GREEN = (0, 151, 57, 255)
BR_YELLOW = (254, 221, 0, 255)
BR_BLUE = (1, 33, 105, 255)


def add(c, w, h):
    c.ellipse(w / 2, h / 2, w / 2 - 0.5, h / 2 - 0.5, GREEN)
    c.rect(w * .22, h * .42, w * .78, h * .58, WHITE)
    c.rect(w * .42, h * .22, w * .58, h * .78, WHITE)


def star(c, cx, cy, r, colour):
    points = []
    for i in range(10):
        a = math.radians(-90 + i * 36)
        radius = r if i % 2 == 0 else r * .4
        points.append((cx + math.cos(a) * radius, cy + math.sin(a) * radius))
    c.polygon(points, colour)


def flag_eu(c, w, h):
    c.rect(0, 0, w, h, EU_BLUE)
    for i in range(12):
        a = math.radians(i * 30)
        star(c, w / 2 + math.cos(a) * h / 3, h / 2 + math.sin(a) * h / 3, h / 18, YELLOW)


def flag_jp(c, w, h):
    c.rect(0, 0, w, h, WHITE)
    c.ellipse(w / 2, h / 2, h * .3, h * .3, JP_RED)


def flag_br(c, w, h):
    c.rect(0, 0, w, h, BR_GREEN)
    c.polygon([(w * .08, h / 2), (w / 2, h * .1), (w * .92, h / 2), (w / 2, h * .9)], BR_YELLOW)
    c.ellipse(w / 2, h / 2, h * .24, h * .24, BR_BLUE)
    c.ring(w / 2, h / 2, h * .34, h * .05, WHITE, 20, 160)


def icons(draw):
    return [
        draw("add.png", 16, 16, add),
        draw("flag36eu.png", 56, 38, flag_eu),
        draw("flag36jpn.png", 56, 38, flag_jp),
        draw("flag36br.png", 56, 38, flag_br),
    ]
