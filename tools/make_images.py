#!/usr/bin/python3
"""Draws the program's pictures (Images/*.gif): for each picture scheme of the tray clock a bottom
shading strip, a top highlight strip and a centre gradient, so that the clock looks like the panel of
that theme; the six picture buttons of the pop-up menu; the floating clock's close button and drag
handle; the calendar's month arrows and reminder marker; the program's icon in Images/icon. Run from
anywhere: tools/make_images.py [OUTPUT_DIR] (default: Images/ of the repository).
Needs Python 3 with Pillow (Debian: python3-pil)."""
import math
import os
import sys

from PIL import Image, ImageDraw

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


# The menu's buttons: 24-pixel tiles, drawn four times larger and scaled down for smooth edges.
BUTTON = 24
SCALE = 4
INK = (40, 52, 72)


def tile():
    size = BUTTON * SCALE
    image = Image.new("RGB", (size, size))
    pixels = image.load()
    for y in range(size):
        colour = mix((252, 253, 255), (206, 216, 232), y / (size - 1))
        for x in range(size):
            pixels[x, y] = colour
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle([0, 0, size - 1, size - 1], radius=4 * SCALE, outline=(120, 136, 164), width=SCALE)
    return image, draw


def finish(image):
    small = image.resize((BUTTON, BUTTON), Image.LANCZOS)
    # The tile's outside corners take the menu's plain background colour.
    corner = (236, 233, 216)
    pixels = small.load()
    for x, y in [(0, 0), (BUTTON - 1, 0), (0, BUTTON - 1), (BUTTON - 1, BUTTON - 1)]:
        pixels[x, y] = corner
    return small


def clock_face(draw, centre, radius, hour_angle, minute_angle, face=(255, 255, 255), rim=INK):
    cx, cy = centre
    draw.ellipse([cx - radius, cy - radius, cx + radius, cy + radius], fill=face, outline=rim, width=2 * SCALE)
    for angle, length in ((hour_angle, 0.5), (minute_angle, 0.75)):
        a = math.radians(angle - 90)
        draw.line([cx, cy, cx + math.cos(a) * radius * length, cy + math.sin(a) * radius * length],
                  fill=rim, width=2 * SCALE)


def button_calendar():
    image, draw = tile()
    s = SCALE
    draw.rectangle([4 * s, 5 * s, 20 * s, 20 * s], fill=(255, 255, 255), outline=INK, width=s)
    draw.rectangle([4 * s, 5 * s, 20 * s, 9 * s], fill=(196, 40, 40), outline=INK, width=s)
    for ring in (8, 16):
        draw.rectangle([ring * s, 3 * s, (ring + 1) * s, 7 * s], fill=INK)
    for row in range(3):
        for col in range(4):
            x, y = (6 + col * 3.5) * s, (11 + row * 3) * s
            draw.rectangle([x, y, x + 1.6 * s, y + 1.6 * s], fill=(90, 104, 130))
    return finish(image)


def button_alarm():
    image, draw = tile()
    s = SCALE
    for cx in (6.5, 17.5):
        draw.pieslice([(cx - 3.5) * s, 2.5 * s, (cx + 3.5) * s, 9.5 * s], 180, 360, fill=(214, 160, 30), outline=INK)
    draw.line([7 * s, 19 * s, 5 * s, 21.5 * s], fill=INK, width=2 * s)
    draw.line([17 * s, 19 * s, 19 * s, 21.5 * s], fill=INK, width=2 * s)
    clock_face(draw, (12 * s, 13.5 * s), 7.5 * s, 300, 90, face=(255, 248, 224))
    return finish(image)


def button_stopwatch():
    image, draw = tile()
    s = SCALE
    draw.rectangle([10.5 * s, 2 * s, 13.5 * s, 5 * s], fill=INK)
    draw.line([17.5 * s, 5.5 * s, 19.5 * s, 3.5 * s], fill=INK, width=2 * s)
    cx, cy, r = 12 * s, 13.5 * s, 8 * s
    draw.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(255, 255, 255), outline=INK, width=2 * s)
    draw.pieslice([cx - r + 2 * s, cy - r + 2 * s, cx + r - 2 * s, cy + r - 2 * s], 270, 20, fill=(120, 190, 120))
    draw.line([cx, cy, cx + 4.5 * s, cy - 3 * s], fill=(196, 40, 40), width=2 * s)
    return finish(image)


def button_floating_clock():
    image, draw = tile()
    s = SCALE
    draw.rectangle([3 * s, 4 * s, 21 * s, 20 * s], fill=(240, 244, 250), outline=INK, width=s)
    draw.rectangle([3 * s, 4 * s, 21 * s, 7.5 * s], fill=(48, 96, 176))
    clock_face(draw, (12 * s, 14 * s), 5 * s, 120, 0)
    return finish(image)


def button_preferences():
    image, draw = tile()
    s = SCALE
    cx, cy = 12 * s, 12 * s
    teeth = []
    for i in range(16):
        a = math.radians(i * 22.5)
        r = (8.5 if i % 2 == 0 else 6.5) * s
        teeth.append((cx + math.cos(a) * r, cy + math.sin(a) * r))
    draw.polygon(teeth, fill=(120, 132, 150), outline=INK)
    draw.ellipse([cx - 5.5 * s, cy - 5.5 * s, cx + 5.5 * s, cy + 5.5 * s], fill=(120, 132, 150), outline=INK,
                 width=s)
    draw.ellipse([cx - 2.5 * s, cy - 2.5 * s, cx + 2.5 * s, cy + 2.5 * s], fill=(236, 240, 246), outline=INK,
                 width=s)
    return finish(image)


def button_end():
    image, draw = tile()
    s = SCALE
    red = (196, 40, 40)
    draw.arc([5 * s, 5.5 * s, 19 * s, 19.5 * s], 300, 240, fill=red, width=int(2.5 * s))
    draw.line([12 * s, 3.5 * s, 12 * s, 11.5 * s], fill=red, width=int(2.5 * s))
    return finish(image)


def floating_clock_pictures():
    # The close button: a small cross on a rounded square, 13 pixels.
    size = 13 * SCALE
    close = Image.new("RGB", (size, size), (236, 233, 216))
    draw = ImageDraw.Draw(close)
    draw.rounded_rectangle([0, 0, size - 1, size - 1], radius=3 * SCALE, fill=(214, 84, 64), outline=(128, 40, 32),
                           width=SCALE)
    for a, b in (((3.5, 3.5), (9.5, 9.5)), ((9.5, 3.5), (3.5, 9.5))):
        draw.line([a[0] * SCALE, a[1] * SCALE, b[0] * SCALE, b[1] * SCALE], fill=(255, 255, 255), width=2 * SCALE)
    # The drag handle: a strip of raised dots, 10 by 60 pixels.
    handle = Image.new("RGB", (10, 60), (200, 206, 218))
    pixels = handle.load()
    for y in range(60):
        pixels[0, y] = (255, 255, 255)
        pixels[9, y] = (128, 136, 152)
    for y in range(4, 57, 4):
        for x in (3, 6):
            pixels[x, y] = (96, 104, 120)
            pixels[x + 1, y + 1] = (255, 255, 255)
    return {"fclock_close.gif": close.resize((13, 13), Image.LANCZOS), "fclock_drag.gif": handle}


def save(image, out_dir, name):
    image.convert("P", palette=Image.Palette.ADAPTIVE, colors=256).save(os.path.join(out_dir, name))


# The calendar's pictures, on a transparent background (palette index 0).
ARROW_SIZE = 16
ARROW_FACE = (46, 84, 168)
ARROW_LIGHT = (150, 180, 240)
ARROW_DARK = (20, 40, 96)
MARKER_SIZE = (11, 4)
MARKER_FACE = (204, 60, 32)
MARKER_EDGE = (128, 30, 16)


def save_transparent(image, path):
    """Saves an RGBA picture as a GIF whose fully transparent pixels stay transparent."""
    opaque = image.convert("RGB").convert("P", palette=Image.Palette.ADAPTIVE, colors=255)
    # Shift every colour up by one so that index 0 is free for the transparent pixels.
    palette = opaque.getpalette()[: 255 * 3]
    out = Image.new("P", image.size, 0)
    out.putpalette([255, 0, 255] + palette + [0] * (768 - 3 - len(palette)))
    src, alpha, dst = opaque.load(), image.load(), out.load()
    for y in range(image.size[1]):
        for x in range(image.size[0]):
            dst[x, y] = 0 if alpha[x, y][3] < 128 else src[x, y] + 1
    out.save(path, transparency=0)


def arrow(pointing_right):
    """A round button with a triangle, for the previous and next month."""
    n = ARROW_SIZE
    image = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    px = image.load()
    centre = (n - 1) / 2
    for y in range(n):
        for x in range(n):
            dx, dy = x - centre, y - centre
            r = (dx * dx + dy * dy) ** 0.5
            if r > n / 2 - 0.3:
                continue
            # Lit from the top left: a light rim there, a dark one at the bottom right.
            if r > n / 2 - 1.6:
                colour = ARROW_LIGHT if dx + dy < 0 else ARROW_DARK
            else:
                colour = mix(ARROW_FACE, ARROW_LIGHT, max(0.0, -dy / n))
            px[x, y] = colour + (255,)
    # The triangle: 7 rows high, 4 columns deep, white.
    for row in range(-3, 4):
        depth = 4 - abs(row)
        for d in range(depth):
            x = 6 + d if pointing_right else 9 - d
            px[x, int(centre + 0.5) + row] = (255, 255, 255, 255)
    return image


def marker():
    """The bar under a day that holds a reminder."""
    w, h = MARKER_SIZE
    image = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    px = image.load()
    for y in range(h):
        for x in range(w):
            corner = (x in (0, w - 1)) and (y in (0, h - 1))
            if corner:
                continue
            px[x, y] = (MARKER_EDGE if y == h - 1 or x in (0, w - 1) else MARKER_FACE) + (255,)
    return image


def draw_calendar(out_dir):
    save_transparent(arrow(False), os.path.join(out_dir, "cal_prev.gif"))
    save_transparent(arrow(True), os.path.join(out_dir, "cal_next.gif"))
    save_transparent(marker(), os.path.join(out_dir, "cal_marker.gif"))


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
    buttons = [button_calendar, button_alarm, button_stopwatch, button_floating_clock, button_preferences,
               button_end]
    for index, make in enumerate(buttons):
        save(make(), out_dir, f"menu_button{index}.gif")
    for name, image in floating_clock_pictures().items():
        save(image, out_dir, name)
    draw_calendar(out_dir)


if __name__ == "__main__":
    main()
