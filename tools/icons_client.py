"""Icons of the remote client Kandorel: sending an RDS log and stopping it."""
from make_icons import BLACK, GREEN, RED, WHITE


def up(c, w, h):
    c.polygon([(8, 1), (15, 8.5), (10.5, 8.5), (10.5, 15), (5.5, 15), (5.5, 8.5), (1, 8.5)], BLACK)
    c.polygon([(8, 2.6), (13, 7.6), (9.6, 7.6), (9.6, 14), (6.4, 14), (6.4, 7.6), (3, 7.6)], GREEN)


def stop(c, w, h):
    c.polygon([(5, 1), (11, 1), (15, 5), (15, 11), (11, 15), (5, 15), (1, 11), (1, 5)], BLACK)
    c.polygon([(5.5, 2), (10.5, 2), (14, 5.5), (14, 10.5), (10.5, 14), (5.5, 14), (2, 10.5), (2, 5.5)], RED)
    c.rect(5, 5, 11, 11, WHITE)


def icons(draw):
    return [draw("up.png", 16, 16, up), draw("16stop.png", 16, 16, stop)]
