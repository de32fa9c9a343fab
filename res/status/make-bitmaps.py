#!/usr/bin/env python3
"""Draws the status bar's three state pictures as 16 x 16, 24-bit BMP files (magenta is the transparent key).

Run from this folder to regenerate ready.bmp, running.bmp and paused.bmp."""
import struct

SIZE = 16
KEY = (255, 0, 255)


def disc(x, y, r=7.2):
    dx, dy = x + 0.5 - SIZE / 2, y + 0.5 - SIZE / 2
    return dx * dx + dy * dy <= r * r


def ring(x, y):
    return disc(x, y) and not disc(x, y, 6.0)


def ready(x, y):  # a green light
    if ring(x, y): return (0, 100, 0)
    if disc(x, y): return (60, 190, 60) if y > 4 else (150, 230, 150)
    return KEY


def running(x, y):  # an orange light with a white play mark
    if ring(x, y): return (150, 60, 0)
    if disc(x, y):
        if 5 <= x <= 11 and abs(y + 0.5 - 8) <= (11 - x) * 0.6 + 0.5: return (255, 255, 255)
        return (240, 130, 20)
    return KEY


def paused(x, y):  # a yellow light with two dark bars
    if ring(x, y): return (140, 110, 0)
    if disc(x, y):
        if 4 <= y <= 11 and x in (5, 6, 9, 10): return (70, 50, 0)
        return (250, 210, 40)
    return KEY


def write(name, colour):
    rows = b""
    for y in reversed(range(SIZE)):  # bottom-up
        row = b"".join(bytes((b, g, r)) for r, g, b in (colour(x, y) for x in range(SIZE)))
        rows += row + b"\0" * ((4 - len(row) % 4) % 4)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(name, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(rows), 0, 0, 14 + len(header)) + header + rows)


write("ready.bmp", ready)
write("running.bmp", running)
write("paused.bmp", paused)
