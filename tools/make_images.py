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


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "Images")
    os.makedirs(out_dir, exist_ok=True)
    for name, colours in SCHEMES.items():
        draw(name, colours, out_dir)


if __name__ == "__main__":
    main()
