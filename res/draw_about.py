#!/usr/bin/env python3
"""Draws the About window's picture (400 x 300 at 100 percent) with
ImageMagick's convert from drawing primitives and text, once for each scale
the window shows it at, so each is drawn rather than stretched:

    python3 res/draw_about.py res/

writes about100.gif (400 x 300), about150.gif (600 x 450) and about200.gif
(800 x 600). Our own work; the lettering uses the DejaVu Sans font (free
licence, see LICENSE-images.txt). Commit the generated files.

The brown band at the bottom carries the window's link label (117, 260,
159 x 14 at 100 percent, background red 142, green 101, blue 55): the band
is that colour exactly, so the label sits on it without a seam.
"""
import os
import subprocess
import sys

BAND = "rgb(142,101,55)"
FONT = "DejaVu-Sans-Bold"
FONT_PLAIN = "DejaVu-Sans"


def draw(scale, out):
    def s(v):
        return round(v * scale)

    w, h = s(400), s(300)
    cmd = ["convert", "-size", f"{w}x{h}", "xc:rgb(24,74,104)"]
    # Sky: two lighter bands across the top half.
    cmd += ["-fill", "rgb(34,96,130)", "-draw", f"rectangle 0,0 {w},{s(150)}"]
    cmd += ["-fill", "rgb(46,116,152)", "-draw", f"rectangle 0,0 {w},{s(70)}"]
    # Soap bubbles on the right: a cleaner's mark.
    for cx, cy, r in ((318, 92, 46), (262, 150, 24), (352, 176, 18), (300, 36, 12)):
        cmd += ["-fill", "rgba(255,255,255,0.16)", "-stroke", "rgba(255,255,255,0.85)",
                "-strokewidth", str(max(1, s(2))),
                "-draw", f"circle {s(cx)},{s(cy)} {s(cx + r)},{s(cy)}"]
        cmd += ["-stroke", "none", "-fill", "rgba(255,255,255,0.7)",
                "-draw", f"circle {s(cx - r * 0.4)},{s(cy - r * 0.4)} {s(cx - r * 0.4 + r * 0.18)},{s(cy - r * 0.4)}"]
    # A broom sweeping across the bottom left.
    cmd += ["-stroke", "rgb(226,196,140)", "-strokewidth", str(s(6)),
            "-draw", f"line {s(40)},{s(150)} {s(150)},{s(226)}", "-stroke", "none"]
    cmd += ["-fill", "rgb(236,178,74)",
            "-draw", f"polygon {s(138)},{s(206)} {s(170)},{s(228)} {s(186)},{s(246)} {s(132)},{s(246)} {s(126)},{s(226)}"]
    # The name and what it does.
    cmd += ["-font", FONT, "-pointsize", str(s(52)), "-fill", "white",
            "-annotate", f"+{s(28)}+{s(92)}", "Scourly"]
    cmd += ["-font", FONT_PLAIN, "-pointsize", str(s(15)), "-fill", "rgb(214,232,242)",
            "-annotate", f"+{s(31)}+{s(122)}", "Disk and browser cleaner"]
    # The band for the link, and a thin line above it.
    cmd += ["-fill", "rgb(226,196,140)", "-draw", f"rectangle 0,{s(249)} {w},{s(250) - 1}"]
    cmd += ["-fill", BAND, "-draw", f"rectangle 0,{s(250)} {w},{s(281) - 1}"]
    cmd += ["-font", FONT_PLAIN, "-pointsize", str(s(9)), "-fill", "rgb(190,210,222)",
            "-annotate", f"+{s(12)}+{s(294)}", "Copyright (C) 2026 Velmora"]
    # A GIF of our own palette; no dithering, so the band keeps its colour.
    cmd += ["+dither", "-colors", "128", out]
    subprocess.run(cmd, check=True)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for percent in (100, 150, 200):
        draw(percent / 100.0, os.path.join(folder, f"about{percent}.gif"))


if __name__ == "__main__":
    main()
