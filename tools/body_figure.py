"""The human figure shared by the body map and every exercise picture.

Coordinates are body-map points: the front view stands around x = FRONT_MIDLINE, the back view
around x = BACK_MIDLINE, y grows downwards. Other pictures draw the same figure through an affine
scale and offset. Every muscle is a set of smooth closed outlines; the nineteen names are those
of the body map's hot spots.
"""

import math

FRONT_MIDLINE = 104.0
BACK_MIDLINE = 230.0
BODY_MAP_SIZE = (320, 367)

MUSCLE_NAMES = [
    "Deltoids", "Pectoralis", "Brachialis", "Biceps Brachii", "Rectus Abdominis", "Obliques",
    "Wrist Flexors", "Quadriceps", "Trapezius", "Rotator Cuff", "Infraspinatus",
    "Triceps Brachii", "Latissimus Dorsi", "Lower Back", "Glutes", "Wrist Extensors",
    "Hamstrings", "Soleus", "Gastrocnemius",
]

# Muscles that give the figure its shape but that no exercise names.
NEUTRAL = "neutral"


def _catmull_rom(points, samples=8):
    """A closed, smooth outline through `points`."""
    out = []
    n = len(points)
    for i in range(n):
        p0, p1, p2, p3 = (points[(i + k - 1) % n] for k in range(4))
        for s in range(samples):
            t = s / samples
            t2, t3 = t * t, t * t * t
            x = 0.5 * ((2 * p1[0]) + (-p0[0] + p2[0]) * t + (2 * p0[0] - 5 * p1[0] + 4 * p2[0] - p3[0]) * t2
                       + (-p0[0] + 3 * p1[0] - 3 * p2[0] + p3[0]) * t3)
            y = 0.5 * ((2 * p1[1]) + (-p0[1] + p2[1]) * t + (2 * p0[1] - 5 * p1[1] + 4 * p2[1] - p3[1]) * t2
                       + (-p0[1] + 3 * p1[1] - 3 * p2[1] + p3[1]) * t3)
            out.append((x, y))
    return out


class Limb:
    """A tapered segment from joint a to joint b. Local points are (u, s): u runs 0..1 along the
    bone, s runs -1..1 across it with +1 on the outer (lateral) side."""

    def __init__(self, a, b, widths, lateral_sign):
        self.a, self.b, self.widths = a, b, widths
        dx, dy = b[0] - a[0], b[1] - a[1]
        length = math.hypot(dx, dy)
        self.dir = (dx / length, dy / length)
        # The normal that points away from the body's midline.
        nx, ny = -self.dir[1], self.dir[0]
        if nx * lateral_sign < 0:
            nx, ny = -nx, -ny
        self.normal = (nx, ny)

    def half_width(self, u):
        w = self.widths
        u = min(max(u, 0.0), 1.0) * (len(w) - 1)
        i = min(int(u), len(w) - 2)
        f = u - i
        return w[i] * (1 - f) + w[i + 1] * f

    def point(self, u, s):
        hw = self.half_width(u)
        x = self.a[0] + (self.b[0] - self.a[0]) * u + s * hw * self.normal[0]
        y = self.a[1] + (self.b[1] - self.a[1]) * u + s * hw * self.normal[1]
        return (x, y)

    def shape(self, local_points):
        return _catmull_rom([self.point(u, s) for u, s in local_points])

    def outline(self, u0=-0.04, u1=1.04, steps=16):
        left = [self.point(u0 + (u1 - u0) * i / steps, -1.0) for i in range(steps + 1)]
        right = [self.point(u0 + (u1 - u0) * i / steps, 1.0) for i in range(steps + 1)]
        return left + right[::-1]


def _mirror(points, midline):
    return [(2 * midline - x, y) for x, y in points]


def _side(points, midline, sign):
    """Points given as (dx, y) on one side of the midline, placed on the side `sign` (-1 left)."""
    return [(midline + sign * dx, y) for dx, y in points]


def _ellipse(cx, cy, rx, ry, steps=40):
    return [(cx + rx * math.cos(2 * math.pi * i / steps), cy + ry * math.sin(2 * math.pi * i / steps))
            for i in range(steps)]


class Figure:
    """One view ("front" or "back") of the figure: its silhouette parts and its muscles."""

    def __init__(self, view):
        self.view = view
        self.midline = FRONT_MIDLINE if view == "front" else BACK_MIDLINE
        self.silhouette = []  # closed outlines, filled as one union
        self.muscles = []  # (name, outline) in drawing order
        self.lines = []  # (points, closed) detail strokes drawn over the muscles
        self._build()

    # The figure's own right side is on the viewer's left in the front view and on the viewer's
    # right in the back view. The right leg steps out a little and the arms hang slightly away
    # from the body, so that the muscles of both views stay clear of one another.
    def _figure_side(self, right):
        if self.view == "front":
            return -1 if right else 1
        return 1 if right else -1

    def _arm(self, sign):
        m = self.midline
        shoulder = (m + sign * 37, 80)
        right = self._figure_side(True) == sign
        if self.view == "front":
            elbow, wrist = ((m + sign * 52, 132), (m + sign * 74, 188)) if right else \
                ((m + sign * 51, 133), (m + sign * 56, 190))
        else:
            elbow, wrist = ((m + sign * 48, 134), (m + sign * 58, 192)) if right else \
                ((m + sign * 46, 134), (m + sign * 49, 192))
        upper = Limb(shoulder, elbow, [12.5, 11.5, 10.5, 9.0], sign)
        fore = Limb(elbow, wrist, [10.5, 10.0, 8.5, 6.5], sign)
        return upper, fore

    def _leg(self, sign, stepping_out):
        m = self.midline
        hip = (m + sign * 18, 170)
        if stepping_out:
            knee, ankle = (m + sign * 34, 246), (m + sign * 54, 318)
        else:
            knee, ankle = (m + sign * 21, 248), (m + sign * 20, 318)
        thigh = Limb(hip, knee, [19.0, 17.0, 14.5, 12.0], sign)
        shank = Limb(knee, ankle, [12.0, 13.0, 11.0, 8.0, 6.0], sign)
        return thigh, shank

    def _build(self):
        m = self.midline
        front = self.view == "front"
        sil = self.silhouette
        sil.append(_ellipse(m, 34, 14.5, 18.5))
        torso_half = [(0, 54), (9, 54), (10, 62), (20, 66), (33, 70), (41, 75), (37, 96), (36, 110),
                      (34, 124), (33, 138), (34, 152), (36, 164), (34, 178), (20, 188), (0, 190)]
        sil.append(_catmull_rom(_side(torso_half, m, -1) + _side(torso_half[::-1], m, 1)[1:-1], 4))
        for sign in (-1, 1):
            upper, fore = self._arm(sign)
            sil.append(upper.outline())
            sil.append(fore.outline())
            wx, wy = fore.b
            d = fore.dir
            sil.append(_ellipse(wx + d[0] * 11, wy + d[1] * 11, 7.5, 12.0))
            right = self._figure_side(True) == sign
            thigh, shank = self._leg(sign, stepping_out=right)
            sil.append(thigh.outline())
            sil.append(shank.outline(u0=-0.05, u1=1.0))
            ax, ay = shank.b
            if front:
                foot = [(-7, ay - 4), (7, ay - 4), (11, ay + 15), (3, ay + 20), (-6, ay + 17)]
                sil.append(_catmull_rom(_side(foot, ax, sign) if sign > 0 else _side(foot, ax, sign)[::-1], 6))
            else:
                sil.append(_catmull_rom([(ax - 7, ay - 4), (ax + 7, ay - 4), (ax + 8, ay + 12),
                                         (ax, ay + 17), (ax - 8, ay + 12)], 6))
        if front:
            self._front_muscles()
        else:
            self._back_muscles()

    def _add(self, name, points):
        self.muscles.append((name, points))

    def _front_muscles(self):
        m = self.midline
        for sign in (-1, 1):
            self._add("Trapezius", _catmull_rom(_side([(9, 57), (16, 63), (30, 68), (22, 70), (11, 66)], m, sign), 6))
            self._add("Pectoralis", _catmull_rom(_side(
                [(3, 72), (14, 69), (27, 71), (36, 79), (36, 91), (28, 100), (16, 103), (4, 100), (2, 86)], m, sign)))
            self._add(NEUTRAL, _catmull_rom(_side([(29, 101), (35, 97), (35, 113), (30, 112)], m, sign), 5))
            self._add("Obliques", _catmull_rom(_side(
                [(16, 104), (29, 102), (34, 116), (34, 136), (34, 152), (30, 166), (22, 172), (16, 160), (15, 130)],
                m, sign)))
            upper, fore = self._arm(sign)
            self._add("Brachialis", upper.shape([(0.5, -0.96), (0.56, 0.0), (0.5, 0.96), (0.8, 1.0),
                                                 (0.99, 0.9), (1.0, 0.0), (0.99, -0.9), (0.8, -1.0)]))
            self._add("Biceps Brachii", upper.shape([(0.14, 0.0), (0.28, -0.82), (0.48, -0.9), (0.6, -0.5),
                                                     (0.63, 0.0), (0.6, 0.5), (0.48, 0.9), (0.28, 0.82)]))
            self._add("Wrist Extensors", fore.shape([(-0.02, 0.45), (0.02, 1.0), (0.3, 1.0), (0.58, 0.9),
                                                     (0.62, 0.78), (0.3, 0.66), (0.05, 0.5)]))
            self._add("Wrist Flexors", fore.shape([(-0.02, -0.95), (0.02, 0.36), (0.3, 0.6), (0.6, 0.72),
                                                   (0.8, 0.55), (0.86, 0.0), (0.8, -0.7), (0.4, -1.0)]))
            deltoid = [(24, 68), (35, 66), (45, 71), (50, 81), (51, 94), (47, 106), (41, 99), (36, 89), (30, 79)]
            self._add("Deltoids", _catmull_rom(_side(deltoid, m, sign)))
            right = self._figure_side(True) == sign
            thigh, shank = self._leg(sign, stepping_out=right)
            self._add(NEUTRAL, thigh.shape([(0.02, -0.95), (0.1, -0.4), (0.42, -0.72), (0.5, -1.0), (0.2, -1.0)]))
            self._add("Quadriceps", thigh.shape([(0.06, 0.2), (0.02, 0.95), (0.4, 1.0), (0.8, 0.92), (0.96, 0.5),
                                                 (0.98, -0.2), (0.92, -0.88), (0.74, -0.96), (0.52, -0.8),
                                                 (0.3, -0.45)]))
            self.lines.append((thigh.shape([(0.12, 0.25), (0.5, 0.32), (0.88, 0.1), (0.5, 0.36)]), True))
            self._add(NEUTRAL, shank.shape([(0.05, 0.05), (0.1, 0.7), (0.5, 0.62), (0.86, 0.4), (0.86, 0.0),
                                            (0.5, 0.0), (0.2, -0.1)]))
            self._add("Gastrocnemius", shank.shape([(0.06, -0.3), (0.14, -1.0), (0.4, -1.0), (0.56, -0.8),
                                                    (0.5, -0.35), (0.3, -0.2)]))
            self._add("Soleus", shank.shape([(0.5, -0.3), (0.58, -0.85), (0.8, -0.95), (0.9, -0.5), (0.8, -0.1)]))
            self._add("Soleus", shank.shape([(0.3, 0.75), (0.4, 1.0), (0.75, 0.95), (0.88, 0.6), (0.6, 0.68)]))
        rectus = [(-14, 102), (14, 102), (15, 130), (13, 158), (8, 176), (0, 182), (-8, 176), (-13, 158),
                  (-15, 130)]
        self._add("Rectus Abdominis", _catmull_rom(_side(rectus, m, 1)))
        self.lines.append(([(m, 104), (m, 180)], False))
        for y in (118, 134, 150):
            self.lines.append(([(m - 13, y), (m + 13, y)], False))

    def _back_muscles(self):
        m = self.midline
        for sign in (-1, 1):
            self._add("Rotator Cuff", _catmull_rom(_side(
                [(13, 74), (26, 72), (36, 77), (39, 88), (37, 100), (32, 107), (28, 104), (30, 92), (24, 82),
                 (14, 80)], m, sign)))
            self._add("Infraspinatus", _catmull_rom(_side(
                [(11, 80), (23, 82), (30, 92), (29, 104), (21, 111), (12, 106), (9, 92)], m, sign)))
            self._add("Latissimus Dorsi", _catmull_rom(_side(
                [(12, 108), (22, 110), (32, 106), (37, 100), (37, 112), (35, 128), (33, 142), (26, 154),
                 (15, 158), (12, 146), (14, 128)], m, sign)))
            upper, fore = self._arm(sign)
            self._add("Triceps Brachii", upper.shape([(0.2, -0.9), (0.24, 0.0), (0.22, 0.92), (0.6, 1.0),
                                                      (0.9, 0.7), (0.98, 0.0), (0.9, -0.7), (0.6, -1.0)]))
            self._add("Wrist Extensors", fore.shape([(-0.02, -0.4), (0.02, 0.95), (0.4, 1.0), (0.86, 0.9),
                                                     (0.9, 0.0), (0.86, -0.6), (0.5, -0.6), (0.2, -0.5)]))
            self._add("Wrist Flexors", fore.shape([(0.02, -0.6), (0.2, -1.0), (0.6, -0.98), (0.8, -0.72),
                                                   (0.5, -0.66), (0.2, -0.56)]))
            deltoid = [(34, 71), (44, 74), (50, 84), (51, 96), (47, 106), (43, 98), (38, 88), (35, 80)]
            self._add("Deltoids", _catmull_rom(_side(deltoid, m, sign)))
            self._add("Glutes", _catmull_rom(_side(
                [(3, 160), (16, 155), (30, 160), (37, 172), (35, 186), (23, 193), (9, 191), (3, 178)], m, sign)))
            right = self._figure_side(True) == sign
            thigh, shank = self._leg(sign, stepping_out=right)
            self._add(NEUTRAL, thigh.shape([(0.06, 0.9), (0.2, 1.0), (0.8, 1.0), (0.9, 0.9), (0.7, 0.86),
                                            (0.3, 0.86)]))
            self._add("Hamstrings", thigh.shape([(0.2, 0.0), (0.24, 0.84), (0.6, 0.88), (0.94, 0.7), (0.98, 0.2),
                                                 (0.98, -0.3), (0.94, -0.8), (0.6, -0.92), (0.3, -0.9)]))
            self.lines.append((thigh.shape([(0.26, 0.0), (0.6, 0.05), (0.9, 0.0), (0.6, 0.08)]), True))
            self._add("Soleus", shank.shape([(0.2, 0.4), (0.3, 1.0), (0.7, 1.0), (0.88, 0.5), (0.92, -0.2),
                                             (0.86, -0.9), (0.6, -1.0), (0.56, -0.3), (0.6, 0.4)]))
            self._add("Gastrocnemius", shank.shape([(0.02, -0.1), (0.1, -1.0), (0.35, -1.0), (0.58, -0.7),
                                                    (0.6, -0.1), (0.52, 0.3), (0.3, 0.42), (0.08, 0.4)]))
            self.lines.append(([shank.point(0.1, 0.0), shank.point(0.5, 0.0)], False))
        trapezius = [(0, 50), (9, 52), (12, 60), (24, 66), (35, 70), (27, 74), (19, 80), (14, 96), (8, 116),
                     (0, 134)]
        self._add("Trapezius", _catmull_rom(_side(trapezius, m, -1) + _side(trapezius[::-1], m, 1)[1:-1], 5))
        lower_back = [(-13, 116), (-5, 112), (0, 128), (5, 112), (13, 116), (15, 136), (14, 156), (8, 166),
                      (-8, 166), (-14, 156), (-15, 136)]
        self._add("Lower Back", _catmull_rom(_side(lower_back, m, 1), 6))
        self.lines.append(([(m, 100), (m, 166)], False))


def figures():
    return Figure("front"), Figure("back")


# The hot spots of the body map: name, (x, y, width, height) in body-map points.
HOT_SPOTS = [
    ("Deltoids", (126, 62, 25, 25)), ("Pectoralis", (70, 71, 25, 25)), ("Brachialis", (138, 104, 25, 25)),
    ("Biceps Brachii", (43, 98, 25, 25)), ("Rectus Abdominis", (93, 112, 25, 25)),
    ("Obliques", (61, 125, 25, 25)), ("Wrist Flexors", (22, 154, 25, 25)), ("Quadriceps", (64, 195, 25, 25)),
    ("Trapezius", (225, 61, 25, 25)), ("Rotator Cuff", (190, 71, 25, 25)), ("Infraspinatus", (238, 84, 25, 25)),
    ("Triceps Brachii", (256, 100, 25, 25)), ("Latissimus Dorsi", (196, 104, 25, 25)),
    ("Lower Back", (216, 113, 25, 25)), ("Glutes", (196, 158, 22, 25)), ("Wrist Extensors", (273, 167, 25, 25)),
    ("Hamstrings", (236, 200, 25, 25)), ("Soleus", (265, 260, 25, 25)), ("Gastrocnemius", (205, 265, 25, 25)),
]
