#!/usr/bin/env python3
"""Draws the program's icons into resources/icons/ as PNG files.

Plain Python (no imaging library): each icon is a list of filled shapes
painted on a 4x4 supersampled canvas and written with zlib. Run it again
after changing a drawing; the PNG files are committed.
"""
import math
import os
import struct
import zlib

SS = 4  # samples per pixel and axis


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[(0, 0, 0, 0)] * (w * SS) for _ in range(h * SS)]

    def _blend(self, x, y, c):
        r, g, b, a = c
        if a >= 255:
            self.px[y][x] = c
            return
        br, bg, bb, ba = self.px[y][x]
        fa = a / 255.0
        na = a + ba * (1 - fa)
        if na == 0:
            return
        mix = lambda s, d: int((s * a + d * ba * (1 - fa)) / na)
        self.px[y][x] = (mix(r, br), mix(g, bg), mix(b, bb), int(na))

    def shape(self, inside, c, box=None):
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        for sy in range(max(0, int(y0 * SS)), min(self.h * SS, int(math.ceil(y1 * SS)))):
            fy = (sy + 0.5) / SS
            for sx in range(max(0, int(x0 * SS)), min(self.w * SS, int(math.ceil(x1 * SS)))):
                if inside((sx + 0.5) / SS, fy):
                    self._blend(sx, sy, c)

    def rect(self, x0, y0, x1, y1, c):
        self.shape(lambda x, y: x0 <= x < x1 and y0 <= y < y1, c, (x0, y0, x1, y1))

    def ellipse(self, cx, cy, rx, ry, c):
        self.shape(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1, c,
                   (cx - rx, cy - ry, cx + rx, cy + ry))

    def ring(self, cx, cy, r, width, c, a0=0, a1=360):
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            if abs(d - r) > width / 2:
                return False
            ang = math.degrees(math.atan2(cy - y, x - cx)) % 360
            return a0 <= ang <= a1 if a0 <= a1 else (ang >= a0 or ang <= a1)
        self.shape(inside, c, (cx - r - width, cy - r - width, cx + r + width, cy + r + width))

    def polygon(self, pts, c):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]

        def inside(x, y):
            n, hit = len(pts), False
            j = n - 1
            for i in range(n):
                xi, yi = pts[i]
                xj, yj = pts[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit
        self.shape(inside, c, (min(xs), min(ys), max(xs) + 1, max(ys) + 1))

    def line(self, x0, y0, x1, y1, width, c):
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1
        nx, ny = -dy / length * width / 2, dx / length * width / 2
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], c)

    def png(self, path):
        rows = []
        for y in range(self.h):
            row = bytearray([0])
            for x in range(self.w):
                acc = [0, 0, 0, 0]
                for sy in range(SS):
                    for sx in range(SS):
                        r, g, b, a = self.px[y * SS + sy][x * SS + sx]
                        acc[0] += r * a
                        acc[1] += g * a
                        acc[2] += b * a
                        acc[3] += a
                n = SS * SS
                a = acc[3] // n
                if acc[3]:
                    row += bytes([acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], a])
                else:
                    row += bytes([0, 0, 0, 0])
            rows.append(bytes(row))
        raw = zlib.compress(b"".join(rows), 9)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
        ihdr = struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", raw) + chunk(b"IEND", b""))


BLACK = (40, 40, 40, 255)
WHITE = (255, 255, 255, 255)
RED = (210, 40, 40, 255)
GREEN = (40, 180, 60, 255)
BLUE = (40, 90, 200, 255)
YELLOW = (240, 200, 40, 255)
GREY = (120, 120, 120, 255)
PAPER = (245, 245, 235, 255)
FOLDER = (230, 180, 70, 255)


def led(c, colour, s):
    c.ellipse(s / 2, s / 2, s / 2 - 1, s / 2 - 1, BLACK)
    c.ellipse(s / 2, s / 2, s / 2 - 2, s / 2 - 2, colour)
    c.ellipse(s / 2 - s / 8, s / 2 - s / 8, s / 7, s / 7, (255, 255, 255, 150))


def draw(name, w, h, fn):
    c = Canvas(w, h)
    fn(c, w, h)
    return name, c


def page(c, s):
    c.polygon([(s * .2, s * .08), (s * .65, s * .08), (s * .82, s * .25), (s * .82, s * .92), (s * .2, s * .92)], BLACK)
    c.polygon([(s * .26, s * .14), (s * .62, s * .14), (s * .76, s * .28), (s * .76, s * .86), (s * .26, s * .86)], PAPER)


def antenna(c, w, h):
    cx = w / 2
    c.line(cx, h * .3, w * .25, h * .95, w * .07, BLACK)
    c.line(cx, h * .3, w * .75, h * .95, w * .07, BLACK)
    c.line(w * .33, h * .7, w * .67, h * .7, w * .06, BLACK)
    c.ellipse(cx, h * .3, w * .08, w * .08, RED)
    for r in (.2, .33):
        c.ring(cx, h * .3, w * r, w * .06, BLUE, 20, 70)
        c.ring(cx, h * .3, w * r, w * .06, BLUE, 110, 160)


def flag_de(c, w, h):
    c.rect(0, 0, w, h / 3, BLACK)
    c.rect(0, h / 3, w, 2 * h / 3, RED)
    c.rect(0, 2 * h / 3, w, h, YELLOW)


def flag_gb(c, w, h):
    c.rect(0, 0, w, h, (20, 40, 120, 255))
    c.line(0, 0, w, h, h * .2, WHITE)
    c.line(w, 0, 0, h, h * .2, WHITE)
    c.line(0, 0, w, h, h * .07, RED)
    c.line(w, 0, 0, h, h * .07, RED)
    c.rect(0, h * .35, w, h * .65, WHITE)
    c.rect(w / 2 - h * .15, 0, w / 2 + h * .15, h, WHITE)
    c.rect(0, h * .41, w, h * .59, RED)
    c.rect(w / 2 - h * .09, 0, w / 2 + h * .09, h, RED)


def flag_us(c, w, h):
    for i in range(13):
        c.rect(0, h * i / 13, w, h * (i + 1) / 13, RED if i % 2 == 0 else WHITE)
    c.rect(0, 0, w * .4, h * 7 / 13, (20, 40, 120, 255))
    for row in range(4):
        for col in range(5):
            c.ellipse(w * (.04 + col * .08), h * (.07 + row * .12), w * .015, w * .015, WHITE)


def logo(c, w, h):
    c.ellipse(h / 2, h / 2, h * .42, h * .42, BLUE)
    c.ellipse(h / 2, h / 2, h * .25, h * .25, WHITE)
    c.polygon([(h * .9, h * .2), (w - 4, h * .2), (w - 4, h * .8), (h * .9, h * .8)], (40, 90, 200, 60))
    for i in range(5):
        x = h + i * (w - h - 8) / 5
        c.rect(x, h * .3, x + (w - h) / 8, h * .7, BLUE)


def arrow(c, s, down):
    y0, y1 = (s * .15, s * .85) if down else (s * .85, s * .15)
    c.rect(s * .4, min(y0, y1 - 0 if down else y1), s * .6, max(y0, y1), (0, 0, 0, 0))
    c.line(s / 2, y0, s / 2, (y0 + y1) / 2, s * .22, GREEN)
    c.polygon([(s * .15, (y0 + y1) / 2), (s * .85, (y0 + y1) / 2), (s / 2, y1)], GREEN)


def icons():
    out = []
    out.append(draw("new.png", 16, 16, lambda c, w, h: (page(c, w), c.ellipse(w * .75, h * .25, 3, 3, YELLOW))))
    out.append(draw("16open.png", 16, 16, lambda c, w, h: (
        c.polygon([(1, 3), (6, 3), (7, 5), (15, 5), (15, 14), (1, 14)], BLACK),
        c.polygon([(2, 4), (5.5, 4), (6.5, 6), (14, 6), (14, 13), (2, 13)], FOLDER),
        c.polygon([(3, 8), (15.5, 8), (13.5, 14), (1, 14)], (250, 210, 110, 255)))))
    out.append(draw("save.png", 16, 16, lambda c, w, h: (
        c.rect(1, 1, 15, 15, BLUE), c.rect(4, 2, 12, 7, WHITE), c.rect(4, 10, 12, 15, GREY), c.rect(9, 3, 11, 6, BLUE))))
    out.append(draw("16undo.png", 16, 16, lambda c, w, h: (
        c.ring(8.5, 9, 5, 2.2, BLUE, 300, 180), c.polygon([(0.5, 9), (7, 9), (3.7, 4)], BLUE))))
    out.append(draw("close.png", 16, 16, lambda c, w, h: (
        c.ellipse(8, 8, 7, 7, RED), c.line(5, 5, 11, 11, 2, WHITE), c.line(11, 5, 5, 11, 2, WHITE))))
    out.append(draw("connect.png", 16, 16, lambda c, w, h: (
        c.line(2, 14, 6, 10, 2.5, BLACK), c.line(14, 2, 10, 6, 2.5, BLACK),
        c.rect(5, 5, 11, 11, GREEN), c.line(6, 8, 10, 8, 1.2, WHITE))))
    def gear(c, w, h):
        for i in range(8):
            a = math.radians(i * 45)
            c.line(8 + math.cos(a) * 4, 8 + math.sin(a) * 4, 8 + math.cos(a) * 7, 8 + math.sin(a) * 7, 2.6, GREY)
        c.ellipse(8, 8, 5, 5, GREY)
        c.ellipse(8, 8, 2, 2, WHITE)
    out.append(draw("config.png", 16, 16, gear))
    out.append(draw("refresh-16.png", 16, 16, lambda c, w, h: (
        c.ring(8, 8, 5, 2.2, GREEN, 30, 330), c.polygon([(10, 1), (15, 5), (9, 7)], GREEN))))
    out.append(draw("flag_ge16.png", 16, 16, lambda c, w, h: (c.rect(0, 3, 16, 13, BLACK), c.rect(0, 6.3, 16, 9.7, RED), c.rect(0, 9.7, 16, 13, YELLOW))))
    out.append(draw("flag_gb16.png", 16, 10, flag_gb))
    out.append(draw("16ostvalde.png", 16, 16, lambda c, w, h: (c.ellipse(8, 8, 7, 7, BLUE), c.ellipse(8, 8, 4, 4, WHITE), c.ellipse(8, 8, 2, 2, BLUE))))
    out.append(draw("error.png", 16, 16, lambda c, w, h: led(c, RED, 16)))
    out.append(draw("ledgreen.png", 16, 16, lambda c, w, h: led(c, GREEN, 16)))
    out.append(draw("errorwarning.png", 16, 16, lambda c, w, h: (
        c.polygon([(8, 1), (15.5, 15), (0.5, 15)], BLACK), c.polygon([(8, 3), (14, 14), (2, 14)], YELLOW),
        c.rect(7.2, 6, 8.8, 11, BLACK), c.rect(7.2, 12, 8.8, 13.5, BLACK))))
    out.append(draw("32antenna.png", 32, 32, antenna))
    out.append(draw("32audio.png", 32, 32, lambda c, w, h: (
        c.rect(4, 11, 11, 21, BLACK), c.polygon([(10, 11), (19, 4), (19, 28), (10, 21)], BLACK),
        c.ring(19, 16, 6, 2, BLUE, 300, 60), c.ring(19, 16, 11, 2, BLUE, 300, 60))))
    def rds(c, w, h):
        c.rect(1, 6, 31, 26, BLUE)
        c.rect(3, 8, 29, 24, (220, 230, 250, 255))
        for i, x in enumerate((5, 13, 21)):
            c.rect(x, 12, x + 6, 20, (BLUE, GREEN, RED)[i])
    out.append(draw("32rds.png", 32, 32, rds))
    def tmc(c, w, h):
        c.polygon([(16, 2), (30, 28), (2, 28)], RED)
        c.polygon([(16, 8), (25.5, 25), (6.5, 25)], WHITE)
        c.rect(10, 20, 22, 23, BLACK)
        c.ellipse(13, 23.5, 1.8, 1.8, BLACK)
        c.ellipse(19, 23.5, 1.8, 1.8, BLACK)
        c.rect(12, 16, 20, 20, BLACK)
    out.append(draw("32tmc.png", 32, 32, tmc))
    out.append(draw("flag_germany.png", 100, 60, flag_de))
    out.append(draw("flag_ustates.png", 100, 60, flag_us))
    out.append(draw("ostvalde.png", 160, 40, logo))
    out.append(draw("update2.png", 80, 80, lambda c, w, h: (
        c.ellipse(40, 40, 38, 38, GREEN), c.line(40, 14, 40, 46, 10, WHITE), c.polygon([(22, 42), (58, 42), (40, 64)], WHITE))))
    out.append(draw("antenna.png", 60, 80, antenna))
    out.append(draw("movedown-24.png", 24, 24, lambda c, w, h: arrow(c, 24, True)))
    out.append(draw("moveup-24.png", 24, 24, lambda c, w, h: arrow(c, 24, False)))
    return out


def page_icons():
    """Icons of the pages and dialogs, one module per area beside this file
    (tools/icons_<area>.py, each with icons(draw) returning (name, canvas))."""
    import glob
    import importlib.util
    here = os.path.dirname(os.path.abspath(__file__))
    out = []
    for path in sorted(glob.glob(os.path.join(here, "icons_*.py"))):
        spec = importlib.util.spec_from_file_location(os.path.basename(path)[:-3], path)
        module = importlib.util.module_from_spec(spec)
        spec.loader.exec_module(module)
        out.extend(module.icons(draw))
    return out


def main():
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "icons")
    os.makedirs(target, exist_ok=True)
    for name, canvas in icons() + page_icons():
        canvas.png(os.path.join(target, name))
        print(name)


if __name__ == "__main__":
    main()
