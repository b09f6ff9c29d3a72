#!/usr/bin/python3
"""Draws the editor's start-up logo and window icon.

data/logo.png  400 x 200, transparent: an embroidery hoop with a needle and a stitched thread,
               beside the "MES" wordmark and the program's full name.
data/icon.png  128 x 128, transparent corners: the hoop, needle and thread on a blue tile.
packaging/icons/hicolor/NxN/apps/mes.png
               the same icon in the sizes of the desktop's icon theme, for the installed
               program's menu entry and file associations.

Everything is drawn four times larger and scaled down, which gives clean anti-aliased edges.
The output depends only on the code, Pillow and the Noto Sans fonts, and PNG files written by
Pillow carry no time stamp, so running the script twice gives the same bytes.
"""

import argparse
import math
import os

from PIL import Image, ImageDraw, ImageFont

SS = 4  # supersampling factor

BLUE = (51, 141, 251, 255)  # the toolkit's blue
DEEP_BLUE = (24, 86, 170, 255)
THREAD = (232, 72, 88, 255)
NEEDLE = (96, 104, 116, 255)
INK = (34, 40, 49, 255)
GREY = (112, 112, 112, 255)
WHITE = (255, 255, 255, 255)
FABRIC = (234, 243, 255, 255)

BOLD = "/usr/share/fonts/truetype/noto/NotoSans-Bold.ttf"
REGULAR = "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf"


def bezier(points, steps=200):
    """Points along a cubic Bezier curve given by four control points."""
    (x0, y0), (x1, y1), (x2, y2), (x3, y3) = points
    out = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        out.append((
            u * u * u * x0 + 3 * u * u * t * x1 + 3 * u * t * t * x2 + t * t * t * x3,
            u * u * u * y0 + 3 * u * u * t * y1 + 3 * u * t * t * y2 + t * t * t * y3,
        ))
    return out


def polyline_length(points):
    return sum(math.dist(a, b) for a, b in zip(points, points[1:]))


def split_dashes(points, dash, gap):
    """Cuts a polyline into dashes of length `dash` separated by `gap` (running stitches)."""
    dashes = []
    current = [points[0]]
    drawing = True
    left = dash
    for a, b in zip(points, points[1:]):
        seg = math.dist(a, b)
        pos = 0.0
        while seg - pos > left:
            pos += left
            t = pos / seg
            p = (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t)
            if drawing:
                current.append(p)
                dashes.append(current)
            current = [p]
            drawing = not drawing
            left = gap if not drawing else dash
        left -= seg - pos
        current.append(b)
    if drawing and len(current) > 1:
        dashes.append(current)
    return dashes


def round_line(draw, points, width, fill):
    """A polyline with round joints and caps."""
    draw.line(points, fill=fill, width=int(width), joint="curve")
    r = width / 2
    for x, y in (points[0], points[-1]):
        draw.ellipse((x - r, y - r, x + r, y + r), fill=fill)


def ring(draw, cx, cy, radius, width, fill):
    draw.ellipse((cx - radius, cy - radius, cx + radius, cy + radius), outline=fill,
                 width=int(width))


def needle(img, tail, tip, width, fill):
    """A sewing needle from the eye end `tail` to the point `tip`, with a slot for the eye."""
    tx, ty = tail
    px, py = tip
    length = math.dist(tail, tip)
    ux, uy = (px - tx) / length, (py - ty) / length  # along the needle
    nx, ny = -uy, ux  # across it
    half = width / 2

    def at(s, o):
        return (tx + ux * s + nx * o, ty + uy * s + ny * o)

    shape = [at(length * 0.78, half), at(length, 0), at(length * 0.78, -half)]
    # Round back end: a half circle around the tail.
    for i in range(0, 19):
        a = 3 * math.pi / 2 - math.pi * i / 18
        shape.append(at(half + math.cos(a) * half, math.sin(a) * half))
    mask = Image.new("L", img.size, 0)
    md = ImageDraw.Draw(mask)
    md.polygon(shape, fill=255)
    # The eye: a slot near the back end, cut out of the needle.
    eye = []
    eye_len, eye_half = length * 0.16, half * 0.34
    for i in range(0, 37):
        a = 2 * math.pi * i / 36
        eye.append(at(half * 1.3 + eye_len / 2 + math.cos(a) * eye_len / 2, math.sin(a) * eye_half))
    md.polygon(eye, fill=0)
    img.paste(Image.new("RGBA", img.size, fill), (0, 0), mask)
    return at(half * 1.3 + eye_len * 0.5, 0)  # middle of the eye


def hoop(img, cx, cy, radius, scale, colour, inner_colour, fabric):
    """An embroidery hoop: the outer ring with its tightening screw at the top, the inner ring
    inside it and the fabric stretched in between."""
    d = ImageDraw.Draw(img)
    outer_w = 10 * scale
    inner_w = 5 * scale
    d.ellipse((cx - radius, cy - radius, cx + radius, cy + radius), fill=fabric)
    ring(d, cx, cy, radius, outer_w, colour)
    ring(d, cx, cy, radius - outer_w - 3 * scale, inner_w, inner_colour)
    # The split ends of the outer ring bend up into two tabs; the screw runs through them and
    # ends in a round thumb nut on the right.
    tab_w, gap = 7 * scale, 3 * scale
    top = cy - radius - 13 * scale
    for x0 in (cx - gap - tab_w, cx + gap):
        d.rounded_rectangle((x0, top, x0 + tab_w, cy - radius + 4 * scale), radius=2 * scale,
                            fill=colour)
    screw_y = top + 5 * scale
    d.rounded_rectangle((cx - 14 * scale, screw_y - 2 * scale, cx + 24 * scale,
                         screw_y + 2 * scale), radius=2 * scale, fill=colour)
    d.rounded_rectangle((cx + 21 * scale, screw_y - 6 * scale, cx + 28 * scale,
                         screw_y + 6 * scale), radius=3 * scale, fill=colour)


def hoop_motif(img, cx, cy, radius, scale, hoop_colour, inner_colour, fabric, needle_colour,
               thread_colour, needle_width=7):
    """The hoop with a row of running stitches across its fabric and the needle that made them,
    its thread running from the last stitch up through the eye."""
    hoop(img, cx, cy, radius, scale, hoop_colour, inner_colour, fabric)
    d = ImageDraw.Draw(img)
    r = radius
    end = (cx + 0.02 * r, cy + 0.30 * r)
    stitched = bezier([(cx - 0.60 * r, cy + 0.10 * r), (cx - 0.40 * r, cy + 0.55 * r),
                       (cx - 0.20 * r, cy + 0.05 * r), end])
    for dash in split_dashes(stitched, 12 * scale, 6 * scale):
        round_line(d, dash, 5 * scale, thread_colour)
    tip = (cx + 0.10 * r, cy + 0.22 * r)
    eye = needle(img, (cx + 0.56 * r, cy - 0.62 * r), tip, needle_width * scale, needle_colour)
    free = bezier([end, (cx + 0.10 * r, cy + 0.50 * r), (cx + 0.70 * r, cy + 0.10 * r),
                   (eye[0] + 0.02 * r, eye[1] + 0.02 * r)])
    round_line(d, free, 2.5 * scale, thread_colour)


def make_logo(path):
    w, h = 400, 200
    img = Image.new("RGBA", (w * SS, h * SS), (255, 255, 255, 0))
    hoop_motif(img, 100 * SS, 106 * SS, 72 * SS, SS, BLUE, DEEP_BLUE, FABRIC, NEEDLE, THREAD)
    d = ImageDraw.Draw(img)
    word = ImageFont.truetype(BOLD, 84 * SS)
    small = ImageFont.truetype(REGULAR, 15 * SS)
    left = 198 * SS
    d.text((left, 108 * SS), "MES", font=word, fill=INK, anchor="ls")
    word_right = left + d.textlength("MES", font=word)
    # Running-stitch underline in the thread colour, as wide as the wordmark.
    y = 124 * SS
    x = left + 2 * SS
    while x + 12 * SS <= word_right:
        d.rounded_rectangle((x, y - 2 * SS, x + 12 * SS, y + 2 * SS), radius=2 * SS, fill=THREAD)
        x += 19 * SS
    d.text((left + 1 * SS, 152 * SS), "Mivo Embroidery System", font=small, fill=GREY,
           anchor="ls")
    img.resize((w, h), Image.LANCZOS).save(path, optimize=True)


def make_icon(path, size):
    img = Image.new("RGBA", (size * SS, size * SS), (255, 255, 255, 0))
    d = ImageDraw.Draw(img)
    s = size * SS
    d.rounded_rectangle((0, 0, s - 1, s - 1), radius=s * 0.2, fill=BLUE)
    scale = SS * size / 128 * 0.9
    hoop_motif(img, s / 2, s * 0.55, s * 0.36, scale, WHITE, WHITE, (112, 176, 253, 255),
               WHITE, (255, 214, 90, 255), needle_width=8)
    img.resize((size, size), Image.LANCZOS).save(path, optimize=True)


# The sizes desktops look up in the hicolor icon theme.
HICOLOR_SIZES = (16, 22, 24, 32, 48, 64, 128, 256, 512)


def make_hicolor_icons(folder):
    for size in HICOLOR_SIZES:
        apps = os.path.join(folder, f"{size}x{size}", "apps")
        os.makedirs(apps, exist_ok=True)
        make_icon(os.path.join(apps, "mes.png"), size)


def make_lightmap(path, width=64, height=16):
    """The "3D Effect" light drawn over every stitch, stretched to the stitch's length.

    Across the thread (vertically) a highlight sits a little above the middle and the edges fall
    into shadow, as on a round thread lit from above; along it, faint diagonal bands suggest the
    twist of the plies. White light and black shade are carried in the alpha channel so that the
    thread colour underneath shows through.
    """
    img = Image.new("RGBA", (width, height), (0, 0, 0, 0))
    px = img.load()
    for y in range(height):
        v = (y + 0.5) / height * 2.0 - 1.0          # -1 top edge .. 1 bottom edge
        light = math.exp(-((v + 0.25) / 0.35) ** 2)  # highlight above the middle
        shade = max(0.0, abs(v) - 0.45) / 0.55       # edges turn away from the light
        for x in range(width):
            twist = 0.5 + 0.5 * math.cos(2.0 * math.pi * (x + y * 1.5) / 12.0)
            l = light * (0.75 + 0.25 * twist)
            if l >= shade:
                px[x, y] = (255, 255, 255, int(round(255 * min(1.0, l))))
            else:
                px[x, y] = (0, 0, 0, int(round(255 * min(1.0, shade * 0.9))))
    img.save(path, optimize=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--logo", required=True)
    parser.add_argument("--icon", required=True)
    parser.add_argument("--lightmap", required=True)
    parser.add_argument("--hicolor", required=True, help="folder of the icon theme sizes")
    args = parser.parse_args()
    make_logo(args.logo)
    make_icon(args.icon, 128)
    make_lightmap(args.lightmap)
    make_hicolor_icons(args.hicolor)


if __name__ == "__main__":
    main()
