"""Icons of the audio page: add and delete buttons, and "play now" of the
file table's context menu."""
from make_icons import GREEN, RED, WHITE


def add(c, w, h):
    c.ellipse(w / 2, h / 2, w * .46, h * .46, GREEN)
    c.rect(w * .22, h * .42, w * .78, h * .58, WHITE)
    c.rect(w * .42, h * .22, w * .58, h * .78, WHITE)


def delete(c, w, h):
    c.ellipse(w / 2, h / 2, w * .46, h * .46, RED)
    c.rect(w * .22, h * .42, w * .78, h * .58, WHITE)


def play(c, w, h):
    c.ellipse(w / 2, h / 2, w * .46, h * .46, GREEN)
    c.polygon([(w * .38, h * .26), (w * .76, h * .5), (w * .38, h * .74)], WHITE)


def icons(draw):
    return [
        draw("add.png", 24, 24, add),
        draw("delete.png", 24, 24, delete),
        draw("24play.png", 24, 24, play),
    ]
