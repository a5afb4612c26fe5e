#!/usr/bin/env python3
"""Draws the faint topographic contour lines of the window and pop-up backgrounds.

Writes artwork-src/background.svg (rendered to images/background.png and background@2x.png by
render.sh) and images/background-message.svg (used as it is). Run from any folder; the output is
deterministic.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def loop(cx, cy, radius, phases, points=28):
    """One closed, smooth, irregular loop as an SVG path (Catmull-Rom turned into cubic Beziers)."""
    pts = []
    for i in range(points):
        t = 2 * math.pi * i / points
        r = radius * (1 + 0.13 * math.sin(2 * t + phases[0])
                      + 0.06 * math.sin(3 * t + phases[1])
                      + 0.03 * math.sin(5 * t + phases[2]))
        pts.append((cx + r * math.cos(t), cy + 0.8 * r * math.sin(t)))
    d = "M%.1f %.1f" % pts[0]
    n = len(pts)
    for i in range(n):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[(i + 1) % n], pts[(i + 2) % n]
        c1 = (p1[0] + (p2[0] - p0[0]) / 6, p1[1] + (p2[1] - p0[1]) / 6)
        c2 = (p2[0] - (p3[0] - p1[0]) / 6, p2[1] - (p3[1] - p1[1]) / 6)
        d += " C%.1f %.1f %.1f %.1f %.1f %.1f" % (c1 + c2 + p2)
    return d + " Z"


def hill(cx, cy, radii, phases, drift):
    """Nested loops around one summit; each ring moves a little so the spacing varies like terrain."""
    return [loop(cx + drift[0] * k, cy + drift[1] * k, r, [p + 0.12 * k for p in phases])
            for k, r in enumerate(radii)]


def svg(width, height, body):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            'width="%d" height="%d" viewBox="0 0 %d %d">\n%s</svg>\n' % (width, height, width, height, body))


def group(paths, colour, width):
    return ('  <g fill="none" stroke="%s" stroke-width="%s">\n' % (colour, width)
            + "".join('    <path d="%s"/>\n' % p for p in paths) + "  </g>\n")


def main_window_background():
    # White at the top, where the logo sits, to a very pale blue-grey at the bottom; contour lines
    # only in the top-left and bottom-right corners, away from the page texts.
    body = ('  <defs>\n'
            '    <linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">\n'
            '      <stop offset="0" stop-color="#ffffff"/>\n'
            '      <stop offset="0.45" stop-color="#fbfcfe"/>\n'
            '      <stop offset="1" stop-color="#eef3f9"/>\n'
            '    </linearGradient>\n'
            '  </defs>\n'
            '  <rect x="0" y="0" width="352" height="505" fill="url(#sky)"/>\n')
    body += group(hill(372, 540, [40, 70, 100, 130, 160, 190, 222], (0.4, 1.3, 2.0), (-2.5, -1.5)),
                  "#dfe8f4", "1.2")
    body += group(hill(-24, -18, [34, 60, 86, 112], (2.1, 0.2, 1.1), (1.5, 1.0)), "#eef3fa", "1.2")
    return svg(352, 505, body)


def message_background():
    # Loops kept fully inside the picture, so a taller dialog (the picture is centred on white)
    # shows no cut edges.
    body = group(hill(262, 198, [14, 30, 46, 62], (1.0, 2.4, 0.3), (-1.5, -1.0)), "#edf3fa", "1.2")
    body += group(hill(64, 70, [12, 26, 40], (2.6, 0.9, 1.7), (1.0, 1.0)), "#f1f6fb", "1.2")
    return svg(336, 274, body)


if __name__ == "__main__":
    with open(os.path.join(HERE, "background.svg"), "w") as f:
        f.write(main_window_background())
    with open(os.path.join(HERE, "..", "images", "background-message.svg"), "w") as f:
        f.write(message_background())
