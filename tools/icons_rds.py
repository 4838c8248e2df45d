"""Icons of the RDS page: adding and deleting rows, sources and files."""
from make_icons import BLACK, GREEN, RED


def plus(c, w, h):
    c.ellipse(w / 2, h / 2, w / 2 - 1, h / 2 - 1, BLACK)
    c.ellipse(w / 2, h / 2, w / 2 - 2, h / 2 - 2, GREEN)
    c.rect(w * .22, h * .42, w * .78, h * .58, (255, 255, 255, 255))
    c.rect(w * .42, h * .22, w * .58, h * .78, (255, 255, 255, 255))


def cross(c, w, h):
    c.ellipse(w / 2, h / 2, w / 2 - 1, h / 2 - 1, BLACK)
    c.ellipse(w / 2, h / 2, w / 2 - 2, h / 2 - 2, RED)
    c.line(w * .3, h * .3, w * .7, h * .7, w * .14, (255, 255, 255, 255))
    c.line(w * .7, h * .3, w * .3, h * .7, w * .14, (255, 255, 255, 255))


def icons(draw):
    return [draw("add.png", 24, 24, plus), draw("delete.png", 24, 24, cross)]
