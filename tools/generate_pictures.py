#!/usr/bin/python3
"""Draws every bundle picture of Kinetra into resources/.

Usage: python3 tools/generate_pictures.py [RESOURCES_DIR]

Needs Debian's python3-pil and fonts-dejavu-core. The output is deterministic; it is committed,
so a checkout runs without generating anything.
"""

import os
import sys

sys.dont_write_bytecode = True

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import body_figure  # noqa: E402
import catalogue  # noqa: E402
import figure_render as fr  # noqa: E402
import pictograms  # noqa: E402

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
INK = (31, 42, 54)
MUTED = (96, 108, 122)
PAPER_TOP = (255, 255, 255)
PAPER_BOTTOM = (234, 239, 244)
BRAND = (22, 84, 122)
BRAND_DARK = (14, 36, 56)
GOOD = (46, 158, 84)
JPEG_QUALITY = 85

EXERCISE_SIZE = (320, 370)
THUMB_SIZE = (35, 40)
ICON = 32


def font(size, bold=False):
    return ImageFont.truetype(os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"),
                              size)


def gradient(size, top, bottom):
    image = Image.new("RGB", size, top)
    draw = ImageDraw.Draw(image)
    for y in range(size[1]):
        f = y / max(1, size[1] - 1)
        draw.line([(0, y), (size[0], y)], fill=tuple(int(a + (b - a) * f) for a, b in zip(top, bottom)))
    return image


def wrap(draw, text, fnt, width):
    lines, line = [], ""
    for word in text.split():
        trial = (line + " " + word).strip()
        if draw.textlength(trial, font=fnt) <= width or not line:
            line = trial
        else:
            lines.append(line)
            line = word
    if line:
        lines.append(line)
    return lines


def centered(draw, y, text, fnt, fill, width):
    draw.text(((width - draw.textlength(text, font=fnt)) / 2, y), text, font=fnt, fill=fill)


def fit_title(draw, text, width, sizes=(20, 18, 16, 14)):
    for size in sizes:
        fnt = font(size, bold=True)
        lines = wrap(draw, text, fnt, width)
        if len(lines) <= 2 and all(draw.textlength(l, font=fnt) <= width for l in lines):
            return fnt, lines
    return fnt, lines[:2]


def supersampled(size, draw_fn, background=(255, 255, 255, 0), k=4):
    big = Image.new("RGBA", (size[0] * k, size[1] * k), background)
    draw_fn(big, k)
    return big.resize(size, Image.LANCZOS)


class Writer:
    def __init__(self, directory):
        self.directory = directory
        self.written = []

    def jpg(self, name, image):
        self._save(name + ".jpg", image.convert("RGB"), "JPEG", quality=JPEG_QUALITY, optimize=True)

    def png(self, name, image):
        self._save(name + ".png", image, "PNG", optimize=True)

    def gif(self, name, image, transparent=False):
        if transparent:
            rgba = image.convert("RGBA")
            alpha = rgba.getchannel("A").point(lambda a: 255 if a >= 110 else 0)
            flat = Image.new("RGB", rgba.size, (255, 255, 255))
            flat.paste(rgba, (0, 0), alpha)
            pal = flat.quantize(colors=255)
            pal.paste(255, (0, 0), alpha.point(lambda a: 255 - a))
            self._save(name + ".gif", pal, "GIF", transparency=255)
        else:
            self._save(name + ".gif", image.convert("RGB").quantize(colors=256), "GIF")

    def _save(self, file_name, image, fmt, **options):
        image.save(os.path.join(self.directory, file_name), fmt, **options)
        self.written.append(file_name)


FIGURES = body_figure.figures()
# The extent of the two figures in body-map points.
FIG_LEFT, FIG_RIGHT, FIG_TOP, FIG_BOTTOM = 16, 304, 14, 342


def figures_into(image, box, style, line_width=1.0):
    """Draws both figures centred into box = (x, y, w, h) of `image`."""
    x, y, w, h = box
    scale = min(w / (FIG_RIGHT - FIG_LEFT), h / (FIG_BOTTOM - FIG_TOP))
    dx = x + (w - (FIG_RIGHT - FIG_LEFT) * scale) / 2 - FIG_LEFT * scale
    dy = y + (h - (FIG_BOTTOM - FIG_TOP) * scale) / 2 - FIG_TOP * scale
    fr.draw_figures(image, FIGURES, scale, dx, dy, style, line_width)


def secondary_muscles(record):
    return [record[k] for k in ("muscle2", "muscle3", "muscle4") if k in record]


# ----------------------------------------------------------------------------- exercises


def legend(draw, y, record, width):
    small = font(11)
    bold = font(11, bold=True)
    x = 14
    draw.ellipse([x, y + 2, x + 10, y + 12], fill=fr.PRIMARY)
    draw.text((x + 15, y), "Primary:", font=bold, fill=INK)
    draw.text((x + 15 + draw.textlength("Primary: ", font=bold), y), record["muscle1"], font=small, fill=INK)
    others = secondary_muscles(record)
    if others:
        y += 16
        draw.ellipse([x, y + 2, x + 10, y + 12], fill=fr.SECONDARY)
        label = "Also:"
        draw.text((x + 15, y), label, font=bold, fill=INK)
        text_x = x + 15 + draw.textlength(label + " ", font=bold)
        lines = wrap(draw, ", ".join(others), small, width - text_x - 10)
        draw.text((text_x, y), lines[0] + ("…" if len(lines) > 1 else ""), font=small, fill=INK)


def badge_text(record):
    regions = record["target1"] + (" · " + record["target2"] if "target2" in record else "")
    return regions + "  |  " + record["difficulty"]


def exercise_picture(record):
    image = gradient(EXERCISE_SIZE, PAPER_TOP, PAPER_BOTTOM)
    draw = ImageDraw.Draw(image)
    fnt, lines = fit_title(draw, record["name"].strip().title() if record["name"].startswith(" ")
                           else record["name"], 296)
    y = 10
    for line in lines:
        centered(draw, y, line, fnt, INK, EXERCISE_SIZE[0])
        y += fnt.size + 4
    centered(draw, y + 1, badge_text(record), font(11), MUTED, EXERCISE_SIZE[0])
    top = y + 20
    if record["name"] in catalogue.AEROBIC_NAMES:
        aerobic_card(image, record, top)
    else:
        style = fr.exercise_style(record["muscle1"], secondary_muscles(record))
        figures_into(image, (8, top, 304, 332 - top), style)
        draw = ImageDraw.Draw(image)
        draw.text((68, 330 - 12), "FRONT", font=font(9, bold=True), fill=MUTED)
        draw.text((218, 330 - 12), "BACK", font=font(9, bold=True), fill=MUTED)
    legend(ImageDraw.Draw(image), 336, record, EXERCISE_SIZE[0])
    return image


def aerobic_card(image, record, top):
    side = 332 - top - 8
    x0 = (EXERCISE_SIZE[0] - side) // 2

    def paint(big, k):
        d = ImageDraw.Draw(big)
        d.rounded_rectangle([x0 * k, top * k, (x0 + side) * k, (top + side) * k], radius=18 * k,
                            fill=(255, 255, 255, 255), outline=(210, 217, 225, 255), width=2 * k)
        pictograms.PICTOGRAMS[record["name"]](pictograms.Pen(big, (x0 + side * 0.1, top + side * 0.1, side * 0.8), k))

    layer = supersampled(EXERCISE_SIZE, paint)
    image.paste(layer, (0, 0), layer)


def exercise_thumbnail(record):
    image = gradient(THUMB_SIZE, PAPER_TOP, (226, 232, 238))
    if record["name"] in catalogue.AEROBIC_NAMES:
        def paint(big, k):
            pictograms.PICTOGRAMS[record["name"]](pictograms.Pen(big, (0.5, 3, 34), k))
        layer = supersampled(THUMB_SIZE, paint, k=8)
        image.paste(layer, (0, 0), layer)
        return image
    style = fr.thumbnail_style(record["muscle1"], secondary_muscles(record))
    figures_into(image, (0, 0, 35, 40), style, line_width=1.1)
    return image


# ----------------------------------------------------------------------------- body map


def body_map():
    image = gradient(body_figure.BODY_MAP_SIZE, (248, 250, 252), (228, 234, 240))
    fr.draw_figures(image, FIGURES, 1.0, 0, 0, fr.body_map_style())
    draw = ImageDraw.Draw(image)
    centered(draw, 346, "Touch a muscle to see its exercises", font(11), MUTED, 320)
    draw.text((body_figure.FRONT_MIDLINE - 14, 2), "FRONT", font=font(9, bold=True), fill=MUTED)
    draw.text((body_figure.BACK_MIDLINE - 12, 2), "BACK", font=font(9, bold=True), fill=MUTED)
    return image


# ----------------------------------------------------------------------------- small pictures


def rounded_tile(size, fill, outline=None, radius=6, background=(255, 255, 255)):
    def paint(big, k):
        d = ImageDraw.Draw(big)
        d.rounded_rectangle([k, k, size[0] * k - k - 1, size[1] * k - k - 1], radius=radius * k, fill=fill,
                            outline=outline, width=k if outline else 0)
    image = Image.new("RGB", size, background)
    layer = supersampled(size, paint)
    image.paste(layer, (0, 0), layer)
    return image


def region_icon(target):
    if target == "Cardio":
        def paint(big, k):
            d = ImageDraw.Draw(big)
            s = ICON * k
            d.ellipse([0.12 * s, 0.2 * s, 0.52 * s, 0.6 * s], fill=fr.PRIMARY)
            d.ellipse([0.48 * s, 0.2 * s, 0.88 * s, 0.6 * s], fill=fr.PRIMARY)
            d.polygon([(0.14 * s, 0.46 * s), (0.86 * s, 0.46 * s), (0.5 * s, 0.88 * s)], fill=fr.PRIMARY)
            d.line([(0.16 * s, 0.5 * s), (0.36 * s, 0.5 * s), (0.44 * s, 0.36 * s), (0.54 * s, 0.64 * s),
                    (0.62 * s, 0.5 * s), (0.84 * s, 0.5 * s)], fill=(255, 255, 255), width=2 * k)
        image = Image.new("RGB", (ICON, ICON), (255, 255, 255))
        layer = supersampled((ICON, ICON), paint)
        image.paste(layer, (0, 0), layer)
        return image
    muscles = {m for r in catalogue.EXERCISES if r["target1"] == target for m in [r["muscle1"]]}
    crops = {  # view midline offset, centre y, side of the square in body-map points
        "Abs": (0, 0, 138, 96), "Back": (1, 0, 112, 110), "Biceps": (0, -50, 112, 76),
        "Calves": (1, 0, 282, 96), "Chest": (0, 0, 92, 86), "Forearms": (0, -58, 160, 80),
        "Glutes": (1, 0, 180, 84), "Legs": (0, 0, 232, 150), "Shoulders": (0, 0, 92, 104),
        "Triceps": (1, 40, 112, 76),
    }
    view, offset, cy, side = crops[target]
    mid = body_figure.BACK_MIDLINE if view else body_figure.FRONT_MIDLINE
    cx = mid + offset
    scale = ICON / side
    image = Image.new("RGB", (ICON, ICON), (255, 255, 255))
    style = fr.Style(highlights={m: (fr.PRIMARY, fr.PRIMARY_LINE) for m in muscles})
    fr.draw_figures(image, [FIGURES[view]], scale, ICON / 2 - cx * scale, ICON / 2 - cy * scale, style, 0.8)
    return image


def level_icon(level):
    colors = [GOOD, (236, 150, 30), fr.PRIMARY]

    def paint(big, k):
        d = ImageDraw.Draw(big)
        for i in range(3):
            h = (8 + 7 * i) * k
            x = (6 + 7.5 * i) * k
            color = colors[level] if i <= level else (214, 220, 227)
            d.rounded_rectangle([x, (27 * k) - h, x + 5.5 * k, 27 * k], radius=1.5 * k, fill=color)
    image = Image.new("RGB", (ICON, ICON), (255, 255, 255))
    layer = supersampled((ICON, ICON), paint)
    image.paste(layer, (0, 0), layer)
    return image


def calendar_icon(label, accent=BRAND):
    def paint(big, k):
        d = ImageDraw.Draw(big)
        d.rounded_rectangle([3 * k, 5 * k, 29 * k, 29 * k], radius=4 * k, fill=(255, 255, 255),
                            outline=(150, 160, 172), width=k)
        d.rounded_rectangle([3 * k, 5 * k, 29 * k, 12 * k], radius=4 * k, fill=accent)
        d.rectangle([3 * k, 9 * k, 29 * k, 12 * k], fill=accent)
        for x in (10, 22):
            d.rounded_rectangle([(x - 1) * k, 2 * k, (x + 1) * k, 8 * k], radius=k, fill=(90, 100, 112))
        fnt = font((12 if len(label) <= 2 else 9) * k, bold=True)
        w = d.textlength(label, font=fnt)
        d.text(((32 * k - w) / 2, 13.5 * k), label, font=fnt, fill=INK)
    image = Image.new("RGB", (ICON, ICON), (255, 255, 255))
    layer = supersampled((ICON, ICON), paint)
    image.paste(layer, (0, 0), layer)
    return image


def envelope_icon():
    def paint(big, k):
        d = ImageDraw.Draw(big)
        d.rounded_rectangle([3 * k, 8 * k, 29 * k, 26 * k], radius=3 * k, fill=(255, 255, 255),
                            outline=BRAND, width=2 * k)
        d.line([(4 * k, 9 * k), (16 * k, 18 * k), (28 * k, 9 * k)], fill=BRAND, width=2 * k, joint="curve")
    image = Image.new("RGB", (ICON, ICON), (255, 255, 255))
    layer = supersampled((ICON, ICON), paint)
    image.paste(layer, (0, 0), layer)
    return image


def check_icon(checked):
    size = (30, 30)

    def paint(big, k):
        d = ImageDraw.Draw(big)
        if checked:
            d.ellipse([3 * k, 3 * k, 27 * k, 27 * k], fill=GOOD)
            d.line([(9 * k, 15.5 * k), (13.5 * k, 20 * k), (21.5 * k, 10.5 * k)], fill=(255, 255, 255),
                   width=3 * k, joint="curve")
        else:
            d.ellipse([4 * k, 4 * k, 26 * k, 26 * k], fill=(255, 255, 255), outline=(170, 179, 189),
                      width=2 * k)
    image = Image.new("RGB", size, (255, 255, 255))
    layer = supersampled(size, paint)
    image.paste(layer, (0, 0), layer)
    return image


def log_button(logged):
    size = (48, 30)

    def paint(big, k):
        d = ImageDraw.Draw(big)
        fill = GOOD if logged else (255, 255, 255)
        edge = GOOD if logged else BRAND
        ink = (255, 255, 255) if logged else BRAND
        d.rounded_rectangle([1 * k, 4 * k, 47 * k - 1, 26 * k], radius=6 * k, fill=fill, outline=edge,
                            width=2 * k if not logged else 0)
        if logged:
            d.line([(7 * k, 15 * k), (10.5 * k, 18.5 * k), (16 * k, 11 * k)], fill=ink, width=2 * k,
                   joint="curve")
        else:
            d.line([(8 * k, 20 * k), (16 * k, 10 * k)], fill=ink, width=3 * k)
            d.polygon([(7 * k, 21.5 * k), (7.2 * k, 18.2 * k), (9.8 * k, 20.6 * k)], fill=ink)
        d.text((20 * k, 8.5 * k), "Log", font=font(11 * k, bold=True), fill=ink)
    image = Image.new("RGB", size, (255, 255, 255))
    layer = supersampled(size, paint)
    image.paste(layer, (0, 0), layer)
    return image


def bar_icon(kind):
    """The exercise screen's three segment pictures: white glyphs on a transparent ground."""
    size = (28, 22)
    white = (255, 255, 255, 255)
    dark = (40, 48, 58, 255)

    def paint(big, k):
        d = ImageDraw.Draw(big)
        for color, extra in ((dark, 2), (white, 0)):
            w = (2 + extra) * k
            if kind == "rotate":
                d.arc([5 * k, 3 * k, 23 * k, 19 * k], 200, 500 - 160, fill=color, width=w)
                d.polygon([(3 * k - extra * k, 8 * k), (11 * k + extra * k, 8 * k), (6 * k, 14 * k + extra * k)],
                          fill=color)
            elif kind == "log":
                d.line([(7 * k, 17 * k), (20 * k, 4 * k)], fill=color, width=(3 + extra) * k)
                d.polygon([(5 * k - extra * k, 19.5 * k + extra * k), (5.5 * k, 14.5 * k), (9.5 * k, 18.5 * k)],
                          fill=color)
                d.line([(12 * k, 19 * k), (24 * k, 19 * k)], fill=color, width=w)
            else:
                d.line([(4 * k, 3 * k), (4 * k, 19 * k), (25 * k, 19 * k)], fill=color, width=w)
                d.line([(7 * k, 15 * k), (12 * k, 10 * k), (16 * k, 13 * k), (23 * k, 5 * k)], fill=color,
                       width=w, joint="curve")
    return supersampled(size, paint, background=(0, 0, 0, 0))


TAB_KINDS = ("exercise", "catalogue", "workouts", "routines", "log")


def tab_glyph(d, kind, k, fill):
    """One tab's glyph on a 30 x 30 grid (scaled by k): a dumbbell, a list, a clipboard, a
    calendar, a chart."""
    def box(x0, y0, x1, y1, r=0):
        d.rounded_rectangle([x0 * k, y0 * k, x1 * k, y1 * k], radius=r * k, fill=fill)

    if kind == "exercise":
        box(3, 9, 7, 21, 1.5)
        box(7.5, 11, 10, 19, 1)
        box(20, 11, 22.5, 19, 1)
        box(23, 9, 27, 21, 1.5)
        box(10, 14, 20, 16)
    elif kind == "catalogue":
        for row in range(4):
            y = 6 + row * 5.5
            d.ellipse([4 * k, y * k, 7.5 * k, (y + 3.5) * k], fill=fill)
            box(10, y + 0.5, 26, y + 3, 1)
    elif kind == "workouts":
        box(6, 5, 24, 27, 2.5)
        d.rounded_rectangle([8 * k, 8 * k, 22 * k, 25 * k], radius=1 * k, fill=0)
        box(11, 3, 19, 7.5, 1.5)
        for row in range(3):
            y = 11 + row * 4.5
            d.line([(10 * k, (y + 1) * k), (11.5 * k, (y + 2.5) * k), (14 * k, y * k)], fill=fill, width=int(1.6 * k))
            box(15.5, y + 0.5, 20.5, y + 2)
    elif kind == "routines":
        box(4, 6, 26, 26, 2.5)
        d.rectangle([6 * k, 11 * k, 24 * k, 24 * k], fill=0)
        box(8.5, 3, 11, 8.5, 1)
        box(19, 3, 21.5, 8.5, 1)
        for row in range(3):
            for col in range(4):
                box(7.5 + col * 4.2, 12.5 + row * 3.9, 10 + col * 4.2, 14.8 + row * 3.9)
    else:
        for i, height in enumerate((8, 14, 11, 19)):
            x = 5 + i * 5.5
            box(x, 26 - height, x + 4, 26, 1)
        box(3, 26.5, 27, 28)


def tab_icon(kind, selected):
    """A tab bar picture, 30 x 30 points at twice the pixels: grey when not selected, a bright
    blue gradient with a glossy top when selected, on a transparent ground."""
    side = 60

    def paint(big, k):
        mask = Image.new("L", big.size, 0)
        tab_glyph(ImageDraw.Draw(mask), kind, k * 2, 255)
        if selected:
            colour = gradient(big.size, (140, 205, 255), (20, 110, 230))
            gloss = Image.new("L", big.size, 0)
            ImageDraw.Draw(gloss).ellipse([-big.size[0] * 0.4, -big.size[1] * 0.9, big.size[0] * 1.4, big.size[1] * 0.45], fill=90)
            colour = Image.composite(Image.new("RGB", big.size, (255, 255, 255)), colour.convert("RGB"), gloss)
        else:
            colour = Image.new("RGB", big.size, (150, 150, 150))
        big.paste(colour.convert("RGBA"), (0, 0), mask)
    return supersampled((side, side), paint, background=(0, 0, 0, 0))


def record_star():
    """The mark of a personal record in today's table: a gold five-pointed star, 20 x 20 points
    at twice the pixels, with a darker rim, on a transparent ground."""
    side = 40

    def paint(big, k):
        import math
        d = ImageDraw.Draw(big)
        c = side * k / 2
        outer, inner = side * k * 0.48, side * k * 0.2
        points = []
        for i in range(10):
            radius = outer if i % 2 == 0 else inner
            angle = -math.pi / 2 + i * math.pi / 5
            points.append((c + radius * math.cos(angle), c + 2 * k + radius * math.sin(angle)))
        d.polygon(points, fill=(250, 190, 30, 255), outline=(196, 128, 0, 255))
        d.line(points + [points[0]], fill=(196, 128, 0, 255), width=max(1, int(1.5 * k)), joint="curve")
    return supersampled((side, side), paint, background=(0, 0, 0, 0))


def thumb_background():
    size = (47, 52)
    image = Image.new("RGB", size, (226, 230, 235))

    def paint(big, k):
        d = ImageDraw.Draw(big)
        d.rounded_rectangle([1 * k, 2 * k, 46 * k, 51 * k], radius=7 * k, fill=(190, 198, 207))
        d.rounded_rectangle([1 * k, 1 * k, 46 * k, 50 * k], radius=7 * k, fill=(255, 255, 255),
                            outline=(176, 186, 197), width=k)
    layer = supersampled(size, paint)
    image.paste(layer, (0, 0), layer)
    return image


def aerobic_log_picture(name):
    size = (250, 74)

    def paint(big, k):
        d = ImageDraw.Draw(big)
        d.rounded_rectangle([k, k, size[0] * k - k, size[1] * k - k], radius=10 * k, fill=(255, 255, 255),
                            outline=(200, 208, 217), width=k)
        pictograms.PICTOGRAMS[name](pictograms.Pen(big, (6, 7, 60), k))
        labels = catalogue.AEROBIC_VALUES[name]
        fnt = font(12 * k)
        for i, label in enumerate(labels):
            col, row = i % 2, i // 2
            x = (78 + col * 86) * k
            y = (13 + row * 28) * k
            d.ellipse([x, y, x + 18 * k, y + 18 * k], fill=BRAND)
            num = str(i + 1)
            nf = font(11 * k, bold=True)
            d.text((x + (18 * k - d.textlength(num, font=nf)) / 2, y + 2.5 * k), num, font=nf,
                   fill=(255, 255, 255))
            d.text((x + 23 * k, y + 1.5 * k), label, font=fnt, fill=INK)
    return supersampled(size, paint, background=(0, 0, 0, 0))


def routine_thumbnail(index, routine):
    size = (60, 84)
    hues = [(22, 84, 122), (120, 60, 140), (20, 120, 110), (150, 60, 40), (40, 90, 160), (70, 120, 50),
            (160, 100, 20), (180, 50, 80), (90, 70, 150), (30, 110, 140)]
    top = hues[(index - 1) % len(hues)]
    image = gradient(size, tuple(min(255, c + 50) for c in top), top)
    primary, secondary = set(), set()
    by_name = {r["name"]: r for r in catalogue.EXERCISES}
    for key, value in routine.items():
        if "exercise" in key and value in by_name:
            record = by_name[value]
            primary.add(record["muscle1"])
            secondary.update(secondary_muscles(record))
    highlights = {m: ((255, 226, 120), (200, 150, 40)) for m in secondary - primary}
    highlights.update({m: ((255, 120, 90), (170, 40, 20)) for m in primary})
    style = fr.Style(muscle=(225, 231, 238), line=(150, 162, 175), highlights=highlights)
    figures_into(image, (3, 4, 54, 62), style, line_width=1.2)
    draw = ImageDraw.Draw(image)
    centered(draw, 68, "%d" % index, font(11, bold=True), (255, 255, 255), size[0])
    return image


# ----------------------------------------------------------------------------- large pictures


def logo():
    image = gradient(EXERCISE_SIZE, (23, 62, 94), BRAND_DARK)
    style = fr.Style(muscle=(238, 122, 96), line=(150, 52, 36), neutral=(245, 176, 156),
                     highlights={})
    layer = Image.new("RGB", EXERCISE_SIZE, (0, 0, 0))
    figures_into(layer, (30, 112, 260, 230), style, line_width=0.9)
    mask = Image.new("L", EXERCISE_SIZE, 0)
    figures_into_mask = layer.convert("L").point(lambda v: 255 if v > 8 else 0)
    mask.paste(figures_into_mask)
    image.paste(layer, (0, 0), mask)
    draw = ImageDraw.Draw(image)
    centered(draw, 22, "Kinetra", font(46, bold=True), (255, 255, 255), 320)
    centered(draw, 80, "your training log", font(15), (180, 205, 225), 320)
    centered(draw, 348, "Turn the card for help", font(11), (150, 175, 196), 320)
    return image


def app_icon(side):
    """The home-screen icon: the front figure on the brand gradient, with the initial."""
    size = (side, side)
    image = gradient(size, (23, 62, 94), BRAND_DARK)
    style = fr.Style(muscle=(238, 122, 96), line=(150, 52, 36), neutral=(245, 176, 156),
                     highlights={})
    layer = Image.new("RGB", size, (0, 0, 0))
    margin = side // 8
    figures_into(layer, (margin, margin * 2, side - 2 * margin, side - 3 * margin), style,
                 line_width=max(0.5, side / 256))
    mask = layer.convert("L").point(lambda v: 255 if v > 8 else 0)
    image.paste(layer, (0, 0), mask)
    draw = ImageDraw.Draw(image)
    centered(draw, side // 40, "Kinetra", font(max(10, side // 7), bold=True), (255, 255, 255), side)
    return image


HELP = [
    ("Welcome", None, "Kinetra keeps a log of your training. Pick an exercise, log your sets and watch "
                      "your progress grow. Your log is kept in files on this device."),
    ("The tabs", None, "Exercise shows the card of the exercise you chose. Catalogue finds exercises by "
                       "body region, by muscle on the body map, in the complete list, or among your own "
                       "custom exercises. Workouts holds your own lists of exercises. Routines offers "
                       "ready-made training plans. Log lists what you did by day and period and sends "
                       "your log by e-mail."),
    ("The card", "rotate", "The front of the card shows which muscles an exercise trains: the primary muscle "
                           "in red, the additional muscles in light red. Tap the turn button or double-tap "
                           "the card to read how to do the exercise and the list of its muscles."),
    ("Logging a set", "log", "Tap the pencil button to open the log. Type the weight, its decimal part and "
                             "the repetitions, choose the unit, add a note if you like and tap Add. The "
                             "set appears at the top of today's list. For cardio exercises the picture "
                             "names the four values to type, in order. Edit lets you delete a set."),
    ("Workouts", None, "Create a workout, add exercises to it and open it when you train. Each exercise "
                       "has its own log panel; swipe left and right to move between them. A green Log "
                       "button shows what you have already logged today."),
    ("The graph", "graph", "Once you have logged a strength exercise on two different days, the graph "
                           "button shows your progress. Choose how many logged days to show and which "
                           "value to plot: average weight, heaviest weight, average or most repetitions. "
                           "Tap the graph to close it."),
    ("Your log", None, "The Log tab shows today, the previous training day, the past 7, 14 or 30 days or "
                       "all records. Open a day to see every set, or delete a whole day from All Records. "
                       "Export sends the log as a spreadsheet file by e-mail."),
]


def logo_back():
    width = 320
    body = font(13)
    head = font(16, bold=True)
    scratch = ImageDraw.Draw(Image.new("RGB", (1, 1)))
    blocks = []
    for title, icon, text in HELP:
        lines = wrap(scratch, text, body, width - 40)
        blocks.append((title, icon, lines))
    height = 84 + sum(44 + 18 * len(lines) + 14 for _, _, lines in blocks) + 20
    image = gradient((width, height), (250, 252, 254), (236, 241, 246))
    banner = gradient((width, 70), (23, 62, 94), BRAND_DARK)
    image.paste(banner, (0, 0))
    draw = ImageDraw.Draw(image)
    centered(draw, 12, "Kinetra", font(26, bold=True), (255, 255, 255), width)
    centered(draw, 46, "How it works", font(12), (180, 205, 225), width)
    y = 84
    for title, icon, lines in blocks:
        draw.rounded_rectangle([10, y, width - 10, y + 34 + 18 * len(lines) + 6], radius=8, fill=(255, 255, 255),
                               outline=(214, 221, 229))
        x = 22
        if icon:
            pill = Image.new("RGB", (34, 26), (70, 84, 100))
            glyph = bar_icon(icon)
            pill.paste(glyph, (3, 2), glyph)
            image.paste(pill, (x, y + 8))
            x += 42
        draw.text((x, y + 10), title, font=head, fill=BRAND)
        ty = y + 36
        for line in lines:
            draw.text((20, ty), line, font=body, fill=INK)
            ty += 18
        y += 44 + 18 * len(lines) + 14
    return image


def custom_picture(size, thumbnail):
    image = gradient(size, PAPER_TOP, PAPER_BOTTOM)
    style = fr.Style(muscle=(214, 219, 225), line=(170, 178, 188))
    if thumbnail:
        figures_into(image, (0, 0) + size, style, line_width=1.1)
        draw = ImageDraw.Draw(image)
        draw.ellipse([19, 23, 34, 38], fill=BRAND)
        draw.text((22.5, 21.5), "+", font=font(13, bold=True), fill=(255, 255, 255))
        return image
    figures_into(image, (8, 60, 304, 270), style)
    draw = ImageDraw.Draw(image)
    centered(draw, 14, "Custom exercise", font(20, bold=True), INK, size[0])
    centered(draw, 40, "Choose a photo of your own in the editor", font(11), MUTED, size[0])
    draw.ellipse([130, 150, 190, 210], fill=BRAND)
    draw.rounded_rectangle([143, 168, 177, 194], radius=4, outline=(255, 255, 255), width=3)
    draw.ellipse([153, 174, 167, 188], outline=(255, 255, 255), width=3)
    draw.rectangle([151, 164, 160, 168], fill=(255, 255, 255))
    return image


def no_graph():
    size = (480, 240)
    image = gradient(size, (52, 56, 61), (36, 39, 43))
    draw = ImageDraw.Draw(image)
    for y in range(20, 221, 20):
        draw.line([(65, y), (470, y)], fill=(66, 70, 76))
    draw.line([(65, 10), (65, 222)], fill=(96, 101, 108), width=2)
    draw.line([(60, 222), (470, 222)], fill=(96, 101, 108), width=2)
    pts = [(110, 170), (160, 150), (210, 158), (260, 120), (310, 128), (360, 92), (410, 80)]
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        for t in range(0, 10, 2):
            a, b = t / 10, (t + 1) / 10
            draw.line([(x0 + (x1 - x0) * a, y0 + (y1 - y0) * a), (x0 + (x1 - x0) * b, y0 + (y1 - y0) * b)],
                      fill=(92, 116, 140), width=3)
    draw.rounded_rectangle([90, 70, 390, 170], radius=12, fill=(28, 31, 35), outline=(80, 86, 94))
    centered(draw, 88, "Not enough data yet", font(20, bold=True), (230, 232, 235), 480)
    centered(draw, 122, "Log this exercise on two different days", font(13), (190, 196, 204), 480)
    centered(draw, 142, "to see your progress here.", font(13), (190, 196, 204), 480)
    return image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    directory = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources")
    os.makedirs(directory, exist_ok=True)
    out = Writer(directory)
    for record in catalogue.EXERCISES:
        out.jpg(record["image"], exercise_picture(record))
        out.jpg(record["image"] + "_t", exercise_thumbnail(record))
    out.jpg("body", body_map())
    for target in catalogue.TARGETS:
        out.jpg(target, region_icon(target))
    for level, name in enumerate(("beginner", "intermediate", "advanced")):
        out.jpg(name, level_icon(level))
    labels = ["1", "<", "7", "14", "30", "ALL"]
    for text, label in zip(catalogue.LOG_DATES, labels):
        out.jpg(text.replace(" ", "_"), calendar_icon(label, GOOD if text == catalogue.LOG_DATES[0] else BRAND))
    out.jpg(catalogue.EXPORT_ENTRY.replace(" ", "_"), envelope_icon())
    out.gif("checkMark", check_icon(True))
    out.jpg("unchecked", check_icon(False))
    out.jpg("log_t", log_button(False))
    out.jpg("log_t2", log_button(True))
    for kind in ("rotate", "log", "graph"):
        out.gif(kind + "_icon", bar_icon(kind), transparent=True)
    for kind in TAB_KINDS:
        out.png("tab_" + kind, tab_icon(kind, selected=False))
        out.png("tab_" + kind + "_selected", tab_icon(kind, selected=True))
    out.png("record_star", record_star())
    out.jpg("background", thumb_background())
    for name in catalogue.AEROBIC_NAMES:
        out.png(name.strip().replace(" ", "_") + "_log", aerobic_log_picture(name))
    for index, routine in enumerate(catalogue.ROUTINES, start=1):
        out.jpg("routine_t%d" % index, routine_thumbnail(index, routine))
    out.jpg("logo", logo())
    out.jpg("logo_back", logo_back())
    out.jpg("custom", custom_picture(EXERCISE_SIZE, thumbnail=False))
    out.jpg("custom_t", custom_picture(THUMB_SIZE, thumbnail=True))
    out.jpg("noGraph", no_graph())
    out.png("Icon", app_icon(192))
    out.png("Icon@2x", app_icon(512))
    print("wrote %d pictures into %s" % (len(out.written), os.path.abspath(directory)))


if __name__ == "__main__":
    main()
