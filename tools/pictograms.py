"""Pictograms of the nine aerobic activities, drawn in a 100 x 100 box."""

import math

from PIL import ImageDraw

PERSON = (38, 52, 68)
MACHINE = (132, 146, 160)
ACCENT = (214, 48, 31)
WATER = (70, 150, 210)


class Pen:
    def __init__(self, image, box, supersample):
        self.draw = ImageDraw.Draw(image)
        self.x0, self.y0, self.size = box
        self.k = supersample

    def p(self, x, y):
        return ((self.x0 + x * self.size / 100) * self.k, (self.y0 + y * self.size / 100) * self.k)

    def w(self, width):
        return max(1, int(width * self.size / 100 * self.k))

    def line(self, points, color, width):
        pts = [self.p(*q) for q in points]
        w = self.w(width)
        self.draw.line(pts, fill=color, width=w, joint="curve")
        for x, y in (pts[0], pts[-1]):
            self.draw.ellipse([x - w / 2, y - w / 2, x + w / 2, y + w / 2], fill=color)

    def circle(self, x, y, r, color, outline=None, width=0):
        cx, cy = self.p(x, y)
        rr = r * self.size / 100 * self.k
        self.draw.ellipse([cx - rr, cy - rr, cx + rr, cy + rr], fill=color, outline=outline,
                          width=self.w(width) if width else 0)

    def arc(self, x, y, rx, ry, start, end, color, width):
        pts = [(x + rx * math.cos(math.radians(a)), y + ry * math.sin(math.radians(a)))
               for a in range(start, end + 1, 4)]
        self.line(pts, color, width)

    def polygon(self, points, color):
        self.draw.polygon([self.p(*q) for q in points], fill=color)

    def person(self, head, neck, hip, arms, legs, color=PERSON, width=9):
        """arms and legs: lists of joint chains starting at neck or hip."""
        self.line([neck, hip], color, width + 1)
        for chain in arms:
            self.line([neck] + chain, color, width)
        for chain in legs:
            self.line([hip] + chain, color, width + 1)
        self.circle(head[0], head[1], 7.5, color)


def treadmill(pen):
    pen.line([(8, 86), (74, 86)], MACHINE, 7)
    pen.circle(10, 86, 5, MACHINE)
    pen.circle(72, 86, 5, MACHINE)
    pen.line([(74, 86), (86, 34), (70, 38)], MACHINE, 5)
    pen.person((47, 14), (46, 26), (42, 52), [[(55, 38), (64, 32)], [(36, 40), (30, 48)]],
               [[(54, 64), (50, 80)], [(34, 66), (22, 74)]])


def jogging(pen):
    pen.line([(6, 92), (94, 92)], MACHINE, 4)
    pen.person((58, 12), (56, 25), (48, 52), [[(67, 38), (76, 30)], [(42, 36), (34, 46)]],
               [[(62, 66), (58, 86)], [(38, 64), (22, 70)]])
    for y in (40, 50, 60):
        pen.line([(6, y), (18, y)], ACCENT, 3)


def cycling(pen):
    for x in (24, 76):
        pen.circle(x, 72, 17, None, MACHINE, 4)
    pen.line([(24, 72), (44, 72), (66, 48), (76, 72)], MACHINE, 4)
    pen.line([(44, 72), (38, 46), (66, 48)], MACHINE, 4)
    pen.line([(38, 46), (36, 40)], MACHINE, 4)
    pen.line([(66, 48), (68, 38), (74, 38)], MACHINE, 4)
    pen.person((62, 16), (56, 26), (38, 40), [[(64, 34), (72, 38)]],
               [[(54, 54), (46, 74)], [(46, 58), (40, 66)]])


def elliptical(pen):
    pen.line([(8, 90), (90, 90)], MACHINE, 6)
    pen.line([(84, 90), (80, 30)], MACHINE, 5)
    pen.line([(16, 84), (76, 72)], MACHINE, 5)
    pen.circle(80, 78, 9, None, MACHINE, 4)
    pen.line([(80, 30), (66, 22)], MACHINE, 4)
    pen.person((44, 12), (44, 24), (42, 50), [[(56, 34), (66, 24)], [(50, 38), (60, 44)]],
               [[(50, 64), (46, 80)], [(36, 66), (30, 82)]])


def jump_rope(pen):
    pen.line([(10, 94), (90, 94)], MACHINE, 4)
    pen.arc(50, 44, 34, 46, 180, 360, ACCENT, 3)
    pen.person((50, 16), (50, 28), (50, 54), [[(36, 40), (24, 46)], [(64, 40), (76, 46)]],
               [[(40, 66), (38, 82)], [(60, 66), (62, 82)]])
    pen.arc(50, 44, 34, 46, 0, 180, ACCENT, 3)


def rowing(pen):
    pen.line([(6, 88), (94, 88)], MACHINE, 5)
    pen.circle(82, 70, 12, None, MACHINE, 5)
    pen.line([(20, 80), (44, 80)], MACHINE, 6)
    pen.line([(62, 60), (82, 70)], ACCENT, 2)
    pen.person((26, 28), (32, 40), (30, 72), [[(46, 50), (62, 58)]],
               [[(50, 58), (64, 82)]])


def step_machine(pen):
    steps = [(10, 92), (10, 78), (30, 78), (30, 64), (50, 64), (50, 50), (70, 50), (70, 92)]
    pen.polygon(steps, (205, 212, 220))
    pen.line(steps, MACHINE, 3)
    pen.line([(78, 92), (80, 24), (66, 20)], MACHINE, 4)
    pen.person((44, 8), (43, 20), (40, 44), [[(52, 30), (62, 24)], [(34, 32), (30, 42)]],
               [[(50, 52), (48, 63)], [(32, 58), (24, 76)]])


def swimming(pen):
    for y in (62, 80):
        pts = [(x, y + 4 * math.sin(x / 8.0)) for x in range(4, 97, 3)]
        pen.line(pts, WATER, 4)
    pen.person((70, 50), (62, 54), (32, 58), [[(78, 42), (90, 32)], [(56, 62), (44, 66)]],
               [[(18, 54), (6, 52)], [(20, 62), (8, 66)]])


def tennis(pen):
    pen.line([(6, 94), (94, 94)], MACHINE, 4)
    pen.person((40, 16), (40, 28), (42, 56), [[(54, 34), (64, 26)], [(28, 38), (20, 46)]],
               [[(52, 70), (56, 88)], [(34, 70), (26, 86)]])
    pen.line([(64, 26), (70, 16)], MACHINE, 3)
    pen.circle(75, 9, 7, None, MACHINE, 3)
    pen.circle(88, 22, 5, (200, 220, 40))


PICTOGRAMS = {
    " treadmill": treadmill, " cycling": cycling, " elliptical": elliptical, " jogging": jogging,
    " jump rope": jump_rope, " rowing": rowing, " step machine": step_machine,
    " swimming": swimming, " tennis": tennis,
}
