#!/usr/bin/env python3
"""Draws Scourly's pictures: the toolbar/menu/tab image strip (31 images) at
16, 24 and 32 pixels, and the application icon. Our own work, no external
artwork. Pure Python (no imaging library needed); run it after changing a
picture and commit the generated files:

    python3 res/draw_images.py res/

Every picture is drawn in a 16-unit square and rendered at each size with
4x4 supersampling, so the 24 and 32 pixel strips (144 and 192 DPI) are drawn,
not stretched.
"""
import math
import struct
import sys

SS = 4  # samples per pixel along each axis


class Canvas:
    def __init__(self, n):
        self.n = n
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * n for _ in range(n)]

    def fill(self, inside, color):
        """Composites `color` (r, g, b[, a]) over the pixels where `inside`
        (a test in 16-unit coordinates) holds."""
        r, g, b = [c / 255.0 for c in color[:3]]
        a0 = color[3] / 255.0 if len(color) > 3 else 1.0
        n = self.n
        k = 16.0 / n
        for py in range(n):
            row = self.px[py]
            for px in range(n):
                hits = 0
                for sy in range(SS):
                    y = (py + (sy + 0.5) / SS) * k
                    for sx in range(SS):
                        x = (px + (sx + 0.5) / SS) * k
                        if inside(x, y):
                            hits += 1
                if not hits:
                    continue
                a = a0 * hits / (SS * SS)
                dr, dg, db, da = row[px]
                oa = a + da * (1 - a)
                if oa <= 0:
                    continue
                row[px] = ((r * a + dr * da * (1 - a)) / oa, (g * a + dg * da * (1 - a)) / oa,
                           (b * a + db * da * (1 - a)) / oa, oa)


# ---- shapes (all in 16-unit coordinates) ----
def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rrect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def ellipse(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def ring(cx, cy, ro, ri):
    return lambda x, y: ri * ri <= (x - cx) ** 2 + (y - cy) ** 2 <= ro * ro


def poly(*pts):
    def inside(x, y):
        c = False
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                c = not c
            j = i
        return c
    return inside


def line(x0, y0, x1, y1, w):
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / ll))
        return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= (w / 2) ** 2
    return inside


def arc(cx, cy, r, w, a0, a1):
    """A stroke along a circle from angle a0 to a1 (degrees, clockwise from east, y down)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > w / 2:
            return False
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360
        lo, hi = a0 % 360, a1 % 360
        return lo <= a <= hi if lo <= hi else a >= lo or a <= hi
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


# ---- palette ----
INK = (40, 40, 48)
PAPER = (252, 252, 248)
PAPER_EDGE = (110, 110, 120)
BLUE = (38, 104, 196)
LBLUE = (120, 176, 236)
GREEN = (46, 150, 62)
LGREEN = (130, 205, 120)
RED = (206, 42, 36)
ORANGE = (236, 140, 30)
YELLOW = (250, 206, 50)
BROWN = (150, 100, 50)
GREY = (150, 150, 158)
LGREY = (210, 210, 214)
PURPLE = (128, 70, 170)


def document(c, x0=3, y0=1, x1=12, y1=15, fold=3):
    c.fill(poly((x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)), PAPER_EDGE)
    c.fill(poly((x0 + 1, y0 + 1), (x1 - fold - 0.5, y0 + 1), (x1 - 1, y0 + fold + 0.5),
                (x1 - 1, y1 - 1), (x0 + 1, y1 - 1)), PAPER)
    c.fill(poly((x1 - fold, y0), (x1, y0 + fold), (x1 - fold, y0 + fold)), LGREY)


def text_lines(c, x0, x1, ys, color=GREY):
    for y in ys:
        c.fill(rect(x0, y, x1, y + 1), color)


def bin_(c, color=GREY, lid=(100, 100, 110), x0=3.5, x1=12.5):
    c.fill(poly((x0, 4.5), (x1, 4.5), (x1 - 1, 15), (x0 + 1, 15)), lid)
    c.fill(poly((x0 + 1, 5.5), (x1 - 1, 5.5), (x1 - 1.8, 14), (x0 + 1.8, 14)), color)
    for x in (6.2, 8, 9.8):
        c.fill(rect(x - 0.4, 6.5, x + 0.4, 13), lid)
    c.fill(rrect(x0 - 1, 2.5, x1 + 1, 4.5, 0.6), lid)
    c.fill(rrect(6, 1, 10, 3, 0.6), lid)


def magnifier(c, cx=6.5, cy=6.5, r=4.5):
    c.fill(line(cx + 2.8, cy + 2.8, 14.5, 14.5, 2.6), BROWN)
    c.fill(ellipse(cx, cy, r + 0.9), INK)
    c.fill(ellipse(cx, cy, r - 0.4), (200, 228, 250))
    c.fill(ellipse(cx - 1.3, cy - 1.3, 1.3), (255, 255, 255))


def cross(c, color=RED, x0=3, y0=3, x1=13, y1=13, w=2.8):
    c.fill(line(x0, y0, x1, y1, w), color)
    c.fill(line(x1, y0, x0, y1, w), color)


def star(c, cx, cy, ro, ri, color, edge):
    pts = []
    for i in range(10):
        r = ro if i % 2 == 0 else ri
        a = math.radians(-90 + i * 36)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    big = []
    for i in range(10):
        r = (ro + 0.9) if i % 2 == 0 else (ri + 0.7)
        a = math.radians(-90 + i * 36)
        big.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    c.fill(poly(*big), edge)
    c.fill(poly(*pts), color)


def circle_badge(c, color, cx=8, cy=8, r=7.2):
    c.fill(ellipse(cx, cy, r + 0.6), tuple(int(v * 0.7) for v in color))
    c.fill(ellipse(cx, cy, r - 0.3), color)


def question_mark(c, cx=8, color=(255, 255, 255), top=3.5, w=2.0):
    c.fill(arc(cx, top + 2.4, 2.4, w, 180, 90), color)
    c.fill(line(cx, top + 4.8, cx, top + 6.6, w), color)
    c.fill(ellipse(cx, top + 9.2, w * 0.65), color)


def arrow_right(c, x0, y, x1, color, w=2.4, head=3.2):
    c.fill(line(x0, y, x1 - head + 0.5, y, w), color)
    c.fill(poly((x1 - head, y - head), (x1, y), (x1 - head, y + head)), color)


# ---- the 31 pictures, by image index ----
def img_find(c):  # 0
    document(c, 1, 1, 10, 13)
    text_lines(c, 3, 7, (5, 7, 9))
    magnifier(c, 9, 9, 3.8)


def img_delete_permanently(c):  # 1
    document(c, 2, 1, 11, 14)
    text_lines(c, 4, 8, (5, 7, 9))
    cross(c, RED, 6.5, 6.5, 14.5, 14.5, 2.6)


def img_select_all(c):  # 2
    c.fill(rect(1, 1, 15, 15), PAPER_EDGE)
    c.fill(rect(2, 2, 14, 14), PAPER)
    for y in (3, 7, 11):
        c.fill(rect(3, y, 13, y + 2.2), BLUE)


def img_options(c):  # 3
    c.fill(rect(1, 1, 15, 15), PAPER_EDGE)
    c.fill(rect(2, 2, 14, 14), PAPER)
    for y, on in ((3, True), (7, False), (11, True)):
        c.fill(rect(3, y, 6, y + 3), PAPER_EDGE)
        c.fill(rect(3.7, y + 0.7, 5.3, y + 2.3), PAPER)
        if on:
            c.fill(line(3.6, y + 1.4, 4.5, y + 2.4, 0.9), GREEN)
            c.fill(line(4.5, y + 2.4, 6.4, y - 0.3, 0.9), GREEN)
        c.fill(rect(7.5, y + 1, 13, y + 2), GREY)


def img_dead_shortcut(c):  # 4
    c.fill(rect(1, 5, 11, 15), PAPER_EDGE)
    c.fill(rect(2, 6, 10, 14), PAPER)
    c.fill(poly((3, 13), (3, 9.5), (4.3, 10.8), (7, 8), (8.2, 9.2), (5.5, 12), (6.8, 13)), BLUE)
    cross(c, RED, 9, 1, 15, 7, 2.2)


def img_recent(c):  # 5
    document(c, 1, 1, 10, 14)
    text_lines(c, 3, 7, (5, 7))
    c.fill(ellipse(10.5, 10.5, 5), INK)
    c.fill(ellipse(10.5, 10.5, 4.1), (255, 255, 240))
    c.fill(line(10.5, 10.5, 10.5, 7.5, 1.1), INK)
    c.fill(line(10.5, 10.5, 12.7, 11.6, 1.1), INK)


def img_exit(c):  # 6
    c.fill(rect(2, 1, 10, 15), BROWN)
    c.fill(rect(3, 2, 9, 15), (200, 150, 90))
    c.fill(ellipse(7.6, 8.5, 0.7), INK)
    arrow_right(c, 8, 8, 15.5, GREEN, 2.2, 3)


def img_browser_cache(c):  # 7
    c.fill(ellipse(8, 8, 7.2), (20, 80, 150))
    c.fill(ellipse(8, 8, 6.4), LBLUE)
    land = union(poly((3, 4), (7, 3), (8, 6), (6, 8), (7, 11), (5, 12), (3, 9), (2, 6)),
                 poly((10, 6), (13.5, 5), (14, 9), (12, 12), (10, 10)))
    c.fill(lambda x, y: land(x, y) and ellipse(8, 8, 6.4)(x, y), GREEN)
    c.fill(arc(8, 8, 6.8, 0.8, 0, 360), (20, 80, 150))


def img_open(c):  # 8
    c.fill(poly((1, 3), (6, 3), (7, 4.5), (13, 4.5), (13, 14), (1, 14)), (190, 140, 30))
    c.fill(poly((1.8, 4), (5.6, 4), (6.6, 5.5), (12.2, 5.5), (12.2, 13), (1.8, 13)), YELLOW)
    c.fill(poly((3.5, 7.5), (15.5, 7.5), (13, 14), (1, 14)), (190, 140, 30))
    c.fill(poly((4.2, 8.3), (14.4, 8.3), (12.4, 13.2), (2.2, 13.2)), (255, 226, 120))


def img_favorites(c):  # 9
    star(c, 8, 8.5, 7, 2.9, YELLOW, (190, 130, 0))


def img_home(c):  # 10
    c.fill(poly((8, 1), (15.5, 8), (13.5, 8), (13.5, 15), (2.5, 15), (2.5, 8), (0.5, 8)), (150, 40, 30))
    c.fill(poly((8, 2.6), (13.5, 7.8), (12.5, 8.8), (12.5, 14), (3.5, 14), (3.5, 8.8), (2.5, 7.8)), (250, 236, 200))
    c.fill(poly((8, 1), (15.5, 8), (14, 8.8), (8, 3), (2, 8.8), (0.5, 8)), RED)
    c.fill(rect(6.5, 9.5, 9.5, 14), BROWN)


def img_help(c):  # 11
    circle_badge(c, BLUE)
    question_mark(c)


def img_info(c):  # 12
    circle_badge(c, GREEN)
    c.fill(ellipse(8, 4.6, 1.2), (255, 255, 255))
    c.fill(rect(7, 7, 9, 12.5), (255, 255, 255))


def img_recycle_bin(c):  # 13
    bin_(c, (140, 190, 240), (40, 90, 160))
    c.fill(arc(8, 9.6, 2.2, 0.9, 200, 100), (255, 255, 255))
    c.fill(poly((9.4, 10.9), (11.3, 10.7), (10.6, 12.6)), (255, 255, 255))


def img_unneeded(c):  # 14
    document(c, 1, 1, 10, 14)
    text_lines(c, 3, 7, (5, 7, 9))
    c.fill(line(15, 1.5, 9.5, 9.5, 1.6), BROWN)
    c.fill(poly((8.2, 8.0), (11.2, 10.2), (9.6, 15), (5.6, 13.4)), YELLOW)
    c.fill(poly((8.2, 8.0), (11.2, 10.2), (10.6, 11.2), (7.6, 9.2)), (190, 60, 40))


def img_advertise(c):  # 15
    c.fill(poly((2, 6), (6, 6), (13, 2), (13, 14), (6, 10), (2, 10)), (180, 60, 30))
    c.fill(poly((3, 7), (6.3, 7), (12, 3.8), (12, 12.2), (6.3, 9), (3, 9)), ORANGE)
    c.fill(line(4, 10, 5.5, 14.5, 1.8), (180, 60, 30))
    c.fill(line(14.5, 6.5, 14.5, 9.5, 1), INK)


def img_delete_all(c):  # 16
    bin_(c, (140, 190, 240), (40, 90, 160))
    c.fill(rect(4.5, 0, 11.5, 3), PAPER_EDGE)
    c.fill(rect(5.2, 0.5, 10.8, 2.5), PAPER)
    c.fill(rrect(2.5, 2.5, 13.5, 4.5, 0.6), (40, 90, 160))


def img_products(c):  # 17
    c.fill(poly((8, 1), (15, 4.5), (15, 12), (8, 15.5), (1, 12), (1, 4.5)), (120, 80, 30))
    c.fill(poly((8, 2.2), (13.8, 5), (8, 7.8), (2.2, 5)), (240, 200, 120))
    c.fill(poly((2, 6), (7.4, 8.7), (7.4, 14.3), (2, 11.5)), (210, 160, 80))
    c.fill(poly((14, 6), (8.6, 8.7), (8.6, 14.3), (14, 11.5)), (180, 130, 60))


def img_comments(c):  # 18
    c.fill(rrect(1, 2, 15, 11.5, 2.5), (40, 110, 60))
    c.fill(poly((4, 10), (8, 10), (3.5, 15)), (40, 110, 60))
    c.fill(rrect(2, 3, 14, 10.5, 1.8), (230, 250, 230))
    text_lines(c, 4, 12, (5, 7.5), (40, 110, 60))


def img_bug(c):  # 19
    for y, dx in ((6.5, 0), (9.5, 0.5), (12.5, 0)):
        c.fill(line(2.5 - dx, y - 1, 13.5 + dx, y + 1, 1), INK)
        c.fill(line(2.5 - dx, y + 1, 13.5 + dx, y - 1, 1), INK)
    c.fill(ellipse(8, 10, 4.2, 5.2), (170, 30, 20))
    c.fill(line(8, 5.5, 8, 15, 0.8), INK)
    c.fill(ellipse(8, 4.2, 2.6, 2.2), INK)
    c.fill(line(6.5, 2.5, 5, 0.5, 0.8), INK)
    c.fill(line(9.5, 2.5, 11, 0.5, 0.8), INK)
    for x, y in ((6.2, 8.5), (9.8, 8.5), (6.2, 12), (9.8, 12)):
        c.fill(ellipse(x, y, 0.8), INK)


def img_mail(c):  # 20
    c.fill(rect(1, 3.5, 15, 13), PAPER_EDGE)
    c.fill(rect(1.8, 4.3, 14.2, 12.2), PAPER)
    c.fill(line(2, 4.6, 8, 9.2, 1), PAPER_EDGE)
    c.fill(line(14, 4.6, 8, 9.2, 1), PAPER_EDGE)


def img_about(c):  # 21
    circle_badge(c, BLUE)
    c.fill(ellipse(8, 4.6, 1.2), (255, 255, 255))
    c.fill(rect(7, 7, 9, 12.5), (255, 255, 255))


def img_update(c):  # 22
    c.fill(arc(8, 8, 5.2, 2.2, 200, 330), GREEN)
    c.fill(arc(8, 8, 5.2, 2.2, 20, 150), GREEN)
    c.fill(poly((10.5, 6.2), (15.8, 6.2), (14.6, 1.6)), GREEN)
    c.fill(poly((5.5, 9.8), (0.2, 9.8), (1.4, 14.4)), GREEN)


def img_web_page(c):  # 23
    c.fill(rect(1, 2, 15, 14), PAPER_EDGE)
    c.fill(rect(1, 2, 15, 4.5), BLUE)
    c.fill(rect(2, 5, 14, 13), PAPER)
    text_lines(c, 3, 13, (6.5, 8.5, 10.5))


def img_key(c):  # 24
    c.fill(ring(5, 8, 3.8, 1.5), YELLOW)
    c.fill(rect(8, 7, 15, 9), YELLOW)
    c.fill(rect(12, 9, 13.5, 11.5), YELLOW)
    c.fill(arc(5, 8, 3.8, 0.6, 0, 360), (170, 120, 0))


def img_faq(c):  # 25
    c.fill(rrect(1, 1, 15, 12, 3), (110, 60, 150))
    c.fill(poly((4, 10), (8, 10), (3.5, 15.5)), (110, 60, 150))
    c.fill(rrect(2, 2, 14, 11, 2.3), (240, 226, 252))
    question_mark(c, 8, (110, 60, 150), 2.3, 1.6)


def img_invert(c):  # 26
    c.fill(rect(1, 1, 15, 15), PAPER_EDGE)
    c.fill(rect(2, 2, 14, 14), PAPER)
    c.fill(rect(3, 3, 13, 5.2), BLUE)
    c.fill(rect(3, 11, 13, 13.2), BLUE)
    c.fill(rect(3, 7, 13, 9.2), LGREY)
    c.fill(line(3.5, 10, 3.5, 6.5, 0.9), RED)
    c.fill(line(12.5, 6, 12.5, 9.5, 0.9), RED)


def img_document(c):  # 27
    document(c)
    text_lines(c, 5, 10, (5, 7, 9, 11))


def img_stop(c):  # 28
    pts = [(8 + 7.4 * math.cos(math.radians(22.5 + 45 * i)),
            8 + 7.4 * math.sin(math.radians(22.5 + 45 * i))) for i in range(8)]
    inner = [(8 + 6.3 * math.cos(math.radians(22.5 + 45 * i)),
              8 + 6.3 * math.sin(math.radians(22.5 + 45 * i))) for i in range(8)]
    c.fill(poly(*pts), (140, 20, 20))
    c.fill(poly(*inner), RED)
    c.fill(rect(4, 7, 12, 9), (255, 255, 255))


def img_clear(c):  # 29
    c.fill(rect(1, 13.5, 15, 14.5), GREY)
    c.fill(poly((7, 3), (15, 9), (11, 14), (3, 8)), (60, 60, 140))
    c.fill(poly((7.2, 4.2), (13.8, 9.1), (11.8, 11.6), (5.2, 6.7)), (230, 120, 140))
    c.fill(poly((5.2, 6.7), (11.8, 11.6), (10.8, 12.8), (4.2, 7.9)), (250, 250, 255))


def img_file_types(c):  # 30
    document(c, 1, 1, 11, 15)
    c.fill(rect(3, 4, 5, 6), RED)
    c.fill(rect(3, 7.5, 5, 9.5), GREEN)
    c.fill(rect(3, 11, 5, 13), BLUE)
    text_lines(c, 6, 9, (4.5, 8, 11.5))
    c.fill(ellipse(12, 11.5, 3.8), (30, 90, 180))
    question_mark(c, 12, (255, 255, 255), 8.6, 1.2)


IMAGES = [img_find, img_delete_permanently, img_select_all, img_options, img_dead_shortcut,
          img_recent, img_exit, img_browser_cache, img_open, img_favorites, img_home, img_help,
          img_info, img_recycle_bin, img_unneeded, img_advertise, img_delete_all, img_products,
          img_comments, img_bug, img_mail, img_about, img_update, img_web_page, img_key, img_faq,
          img_invert, img_document, img_stop, img_clear, img_file_types]
assert len(IMAGES) == 31


def app_icon(c):
    c.fill(rrect(0.5, 0.5, 15.5, 15.5, 3.2), (20, 90, 120))
    c.fill(rrect(1.3, 1.3, 14.7, 14.7, 2.6), (40, 160, 190))
    c.fill(line(13.2, 2, 7.2, 9.2, 1.7), (120, 70, 30))
    c.fill(poly((5.6, 7.6), (9.3, 10.4), (7.8, 15), (2.2, 12.6)), YELLOW)
    c.fill(poly((5.6, 7.6), (9.3, 10.4), (8.6, 11.6), (4.8, 8.9)), RED)
    for x, y, r in ((11.5, 11.5, 1.2), (3.6, 4, 0.9), (13, 7.6, 0.7)):
        star(c, x, y, r * 1.6, r * 0.5, (255, 255, 255), (255, 255, 255, 0))


# ---- writers ----
def bmp32(path, width, height, pixels):
    """pixels[y][x] = (r, g, b, a) floats, straight alpha; written bottom-up BGRA."""
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for r, g, b, a in pixels[y]:
            row += bytes((round(b * 255), round(g * 255), round(r * 255), round(a * 255)))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(data), 0, 0, 14 + len(header)))
        f.write(header + data)


def ico(path, canvases):
    entries, blobs = [], []
    for c in canvases:
        n = c.n
        xor = bytearray()
        for y in range(n - 1, -1, -1):
            for r, g, b, a in c.px[y]:
                xor += bytes((round(b * 255), round(g * 255), round(r * 255), round(a * 255)))
        mask_stride = ((n + 31) // 32) * 4
        andm = bytearray()
        for y in range(n - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x, p in enumerate(c.px[y]):
                if p[3] < 0.5:
                    bits[x // 8] |= 0x80 >> (x % 8)
            andm += bits
        header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
        blobs.append(header + bytes(xor) + bytes(andm))
        entries.append(n)
    offset = 6 + 16 * len(canvases)
    out = bytearray(struct.pack("<HHH", 0, 1, len(canvases)))
    for n, blob in zip(entries, blobs):
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


def main():
    outdir = sys.argv[1] if len(sys.argv) > 1 else "."
    for size in (16, 24, 32):
        strip = [[(0.0, 0.0, 0.0, 0.0)] * (size * len(IMAGES)) for _ in range(size)]
        for i, draw in enumerate(IMAGES):
            c = Canvas(size)
            draw(c)
            for y in range(size):
                strip[y][i * size:(i + 1) * size] = c.px[y]
        bmp32(f"{outdir}/images{size}.bmp", size * len(IMAGES), size, strip)
    icons = []
    for size in (16, 24, 32, 48):
        c = Canvas(size)
        app_icon(c)
        icons.append(c)
    ico(f"{outdir}/scourly.ico", icons)


if __name__ == "__main__":
    main()
