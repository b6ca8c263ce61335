"""Draws the body figure of body_figure.py with PIL, anti-aliased by supersampling."""

from PIL import Image, ImageDraw, ImageFilter

import body_figure

SUPERSAMPLE = 4

SKIN = (228, 231, 235)
SKIN_OUTLINE = (118, 128, 140)
MUSCLE = (198, 205, 213)
MUSCLE_LINE = (150, 160, 171)
PRIMARY = (214, 48, 31)
PRIMARY_LINE = (150, 26, 16)
SECONDARY = (251, 160, 126)
SECONDARY_LINE = (205, 106, 76)

# The body map shows every muscle it can name in one warm tone.
MAP_MUSCLE = (232, 150, 128)
MAP_MUSCLE_LINE = (172, 86, 64)
MAP_NEUTRAL = (236, 205, 194)


class Style:
    def __init__(self, muscle=MUSCLE, line=MUSCLE_LINE, neutral=None, highlights=None):
        self.muscle = muscle
        self.line = line
        self.neutral = neutral or muscle
        self.highlights = highlights or {}  # muscle name -> (fill, line)

    def fill_of(self, name):
        if name in self.highlights:
            return self.highlights[name]
        if name == body_figure.NEUTRAL:
            return self.neutral, self.line
        return self.muscle, self.line


def exercise_style(primary, secondary):
    highlights = {name: (SECONDARY, SECONDARY_LINE) for name in secondary}
    highlights[primary] = (PRIMARY, PRIMARY_LINE)
    return Style(highlights=highlights)


def thumbnail_style(primary, secondary):
    """For pictures a few dozen pixels high: no inner lines, so that the highlights stand out."""
    highlights = {name: (SECONDARY, None) for name in secondary}
    highlights[primary] = (PRIMARY, None)
    return Style(muscle=(206, 212, 219), line=None, highlights=highlights)


def body_map_style():
    return Style(muscle=MAP_MUSCLE, line=MAP_MUSCLE_LINE, neutral=MAP_NEUTRAL)


def _transform(points, scale, dx, dy):
    k = SUPERSAMPLE
    return [((x * scale + dx) * k, (y * scale + dy) * k) for x, y in points]


def draw_figures(image, figures, scale, dx, dy, style, line_width=1.0):
    """Draws `figures` onto the RGB `image` (output pixels), body-map point (x, y) landing on
    pixel (x * scale + dx, y * scale + dy)."""
    k = SUPERSAMPLE
    big = Image.new("RGBA", (image.width * k, image.height * k), (0, 0, 0, 0))
    mask = Image.new("L", big.size, 0)
    md = ImageDraw.Draw(mask)
    for fig in figures:
        for part in fig.silhouette:
            md.polygon(_transform(part, scale, dx, dy), fill=255)
    grow = max(3, int(round(line_width * k * 1.6)) | 1)
    outline_mask = mask.filter(ImageFilter.MaxFilter(grow))
    big.paste(SKIN_OUTLINE + (255,), (0, 0), outline_mask)
    big.paste(SKIN + (255,), (0, 0), mask)
    draw = ImageDraw.Draw(big)
    width = max(1, int(round(line_width * k * 0.8)))
    for fig in figures:
        for name, points in fig.muscles:
            fill, line = style.fill_of(name)
            pts = _transform(points, scale, dx, dy)
            draw.polygon(pts, fill=fill)
            if line is not None:
                draw.line(pts + [pts[0]], fill=line, width=width, joint="curve")
        if style.line is None:
            continue
        for points, closed in fig.lines:
            pts = _transform(points, scale, dx, dy)
            if closed:
                pts = pts + [pts[0]]
            draw.line(pts, fill=style.line, width=max(1, width - 1), joint="curve")
    small = big.resize(image.size, Image.LANCZOS)
    image.paste(small, (0, 0), small)


def label_map(figures, size):
    """The body-map picture's muscles at 1:1, one label per pixel: 0 for none, else 1 + the index
    of the muscle in MUSCLE_NAMES (the muscle drawn last wins, as on the picture)."""
    labels = Image.new("L", size, 0)
    draw = ImageDraw.Draw(labels)
    for fig in figures:
        for name, points in fig.muscles:
            value = 0 if name == body_figure.NEUTRAL else 1 + body_figure.MUSCLE_NAMES.index(name)
            draw.polygon(points, fill=value)
    return labels
