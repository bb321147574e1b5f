#!/usr/bin/python3
"""Draws the tray clock's scheme pictures (Images/*.gif): for each picture scheme a bottom shading
strip, a top highlight strip and a centre gradient, so that the clock looks like the panel of that
theme. Run from anywhere: tools/make_images.py [OUTPUT_DIR] (default: Images/ of the repository)."""
import os
import sys

from PIL import Image

WIDTH = 200          # wider than any tray area the clock takes
TOP_HEIGHT = 9       # drawn from 2 rows above the window's top: 7 rows show
CENTRE_HEIGHT = 120  # tall panels too; the gradient settles on the plain scheme colour early
BOTTOM_HEIGHT = 10   # laid 10 rows above the tray's bottom edge

# name: (scheme colour, top highlight, bottom shade, divider line at the left edge)
SCHEMES = {
    "def_blue": ((18, 144, 233), (122, 206, 255), (10, 104, 196), (8, 82, 160)),
    "olive_green": ((234, 226, 178), (252, 249, 228), (196, 186, 132), (168, 158, 108)),
    "silver": ((218, 219, 229), (255, 255, 255), (176, 176, 194), (150, 150, 168)),
}


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def strip(height, row_colour, divider):
    image = Image.new("RGB", (WIDTH, height))
    pixels = image.load()
    for y in range(height):
        colour = row_colour(y)
        for x in range(WIDTH):
            pixels[x, y] = colour
        # The tray's divider from the rest of the panel: a dark line, then a light one.
        pixels[0, y] = divider
        pixels[1, y] = mix(colour, (255, 255, 255), 0.35)
    return image


def draw(name, colours, out_dir):
    base, light, shade, divider = colours
    top_of_centre = mix(base, light, 0.25)

    def top_row(y):
        if y < 2:
            return light  # hidden above the window
        if y == 2:
            return light  # the bright edge along the panel's top
        return mix(mix(base, light, 0.6), top_of_centre, (y - 3) / (TOP_HEIGHT - 4))

    def centre_row(y):
        # Light at the top, reaching the plain scheme colour two thirds of the way down.
        fade_rows = 26
        return mix(top_of_centre, base, min(1.0, y / fade_rows))

    def bottom_row(y):
        t = y / (BOTTOM_HEIGHT - 1)
        colour = mix(base, shade, t * t)
        return mix(colour, divider, 0.5) if y == BOTTOM_HEIGHT - 1 else colour

    pictures = {
        f"{name}.gif": strip(BOTTOM_HEIGHT, bottom_row, divider),
        f"{name}_top.gif": strip(TOP_HEIGHT, top_row, divider),
        f"{name}_center.gif": strip(CENTRE_HEIGHT, centre_row, divider),
    }
    for file_name, image in pictures.items():
        # Few colours per picture, so the palette holds them exactly.
        image.convert("P", palette=Image.Palette.ADAPTIVE, colors=256).save(os.path.join(out_dir, file_name))


ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


def draw_icon(size):
    """The program's icon: a clock face in the blue scheme's colours, hands at ten past ten, with a
    meridian and the equator behind the hands for the world times."""
    from PIL import ImageDraw
    import math

    scale = 8  # drawn large, then scaled down, for smooth edges
    n = size * scale
    image = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    d = ImageDraw.Draw(image)
    blue, dark = (18, 144, 233), (8, 82, 160)
    pad = n * 0.04
    d.ellipse([pad, pad, n - pad, n - pad], fill=dark)
    ring = n * 0.075
    d.ellipse([pad + ring * 0.35, pad + ring * 0.35, n - pad - ring * 0.35, n - pad - ring * 0.35], fill=blue)
    face = pad + ring
    d.ellipse([face, face, n - face, n - face], fill=(250, 252, 255))
    c = n / 2
    r = c - face
    globe = (196, 222, 246)
    width = max(1, round(n * 0.018))
    d.ellipse([c - r * 0.45, face, c + r * 0.45, n - face], outline=globe, width=width)
    d.line([face, c, n - face, c], fill=globe, width=width)
    for hour in range(12):
        a = math.radians(hour * 30)
        inner = r * (0.78 if hour % 3 == 0 else 0.85)
        d.line([c + inner * math.sin(a), c - inner * math.cos(a), c + r * 0.93 * math.sin(a),
                c - r * 0.93 * math.cos(a)], fill=dark, width=max(1, round(n * (0.035 if hour % 3 == 0 else 0.02))))
    for angle, length, thickness in ((305, 0.5, 0.07), (60, 0.72, 0.05)):
        a = math.radians(angle)
        d.line([c, c, c + r * length * math.sin(a), c - r * length * math.cos(a)], fill=dark,
               width=round(n * thickness))
    dot = n * 0.05
    d.ellipse([c - dot, c - dot, c + dot, c + dot], fill=(220, 40, 40))
    return image.resize((size, size), Image.Resampling.LANCZOS)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "Images")
    os.makedirs(out_dir, exist_ok=True)
    for name, colours in SCHEMES.items():
        draw(name, colours, out_dir)
    icon_dir = os.path.join(out_dir, "icon")
    os.makedirs(icon_dir, exist_ok=True)
    for size in ICON_SIZES:
        draw_icon(size).save(os.path.join(icon_dir, f"tavrin_{size}.png"))


if __name__ == "__main__":
    main()
