"""Icons of the event player: transport buttons, the list switch and the
add/delete pair of the event list's menus."""
from make_icons import BLACK, BLUE, GREEN, GREY, PAPER, RED, WHITE

DARK = (60, 60, 60, 255)


def play(c, w, h):
    c.polygon([(6, 4), (20, 12), (6, 20)], GREEN)


def pause(c, w, h):
    c.rect(6, 5, 10, 19, DARK)
    c.rect(14, 5, 18, 19, DARK)


def record(c, w, h):
    c.ellipse(12, 12, 7, 7, RED)


def recpause(c, w, h):
    c.ellipse(9, 12, 6, 6, RED)
    c.rect(16, 6, 18, 18, DARK)
    c.rect(20, 6, 22, 18, DARK)


def repeat(c, w, h):
    c.ring(12, 12, 7, 2.5, BLUE, 30, 330)
    c.polygon([(17, 2), (23, 7), (16, 10)], BLUE)


def undo(c, w, h):
    c.ring(13, 13, 7, 2.5, BLUE, 200, 90)
    c.polygon([(1, 11), (9, 11), (5, 17)], BLUE)


def lines(c, w, h):
    c.rect(3, 3, 21, 21, BLACK)
    c.rect(4, 4, 20, 20, PAPER)
    for y in (7, 11, 15):
        c.rect(6, y, 9, y + 2, GREY)
        c.rect(10, y, 18, y + 2, DARK)


def delete(c, w, h):
    c.line(5, 5, 19, 19, 3.5, RED)
    c.line(19, 5, 5, 19, 3.5, RED)


def add(c, w, h):
    c.ellipse(12, 12, 10, 10, GREEN)
    c.rect(10.5, 5, 13.5, 19, WHITE)
    c.rect(5, 10.5, 19, 13.5, WHITE)


def icons(draw):
    return [
        draw("24play.png", 24, 24, play),
        draw("24pause.png", 24, 24, pause),
        draw("24record.png", 24, 24, record),
        draw("24recpause.png", 24, 24, recpause),
        draw("24repeat.png", 24, 24, repeat),
        draw("24undo.png", 24, 24, undo),
        draw("24list.png", 24, 24, lines),
        draw("delete.png", 24, 24, delete),
        draw("add.png", 24, 24, add),
    ]
