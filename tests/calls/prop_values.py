#!/usr/bin/env python3
"""Worked from the prop formulas: where columns, blocks and spheres stand, in double
precision with the single-precision roundings the layouts are defined with. Writes the
table that props_calls_test.cpp reads:
    python3 tests/calls/prop_values.py > tests/calls/prop_values.inc"""
import struct
from math import sin, cos


def single(v):
    return struct.unpack('f', struct.pack('f', v))[0]


def grid(first, last, step):
    v = first
    while v <= last:
        yield v
        v += step


def wave_column(x, z, t):
    """Centre height and vertical scale of the wave column at (x, z) at time t."""
    k = 0.03597 * (x + 250)
    h = single(7.5 * sin(z * k) + 12.5 * cos(0.03597 * x * (x + z)))
    d = single((t - 90330) * 0.007 - 210)
    d = 0.0 if d >= 0 else d
    scale = single(h + 1)
    return d + scale * single(0.25 * h), scale


def tunnel_block(u, v):
    """Centre of the block at (u, v) and its stretch along z."""
    k = 0.03597 * (u + 250)
    h = single(20 * sin(v * k) + 30 * cos(0.03597 * u * (u + v)))
    stretch = single(2 * h)
    return (2 * u, 2 * v, -2500 + stretch * single(5 * h)), stretch


ROWS = [(0, 24, 12, 0.0025), (30, 40, 11, 0.003), (28, 30, 9, 0.001), (34, 55, 10, 0.002),
        (30, 38, 11, 0.0015)]


def sphere_centres(t):
    """Every sphere's centre, bottom row first, relative to the group's origin."""
    centres, height = [], 0
    for lift, step, amplitude, rate in ROWS:
        height += lift
        sway = amplitude * sin(rate * t)
        for offset in grid(0, 100, step):
            centres.append((single(sway + offset), height, 0))
    return centres


def main():
    print("// Written by tests/calls/prop_values.py, worked from the prop formulas; do not edit.")
    waves = [(x, z) for x in grid(-250, 250, 20) for z in grid(-250, 250, 20)]
    mirrored = sum(1 for x, z in waves if wave_column(x, z, 130000)[1] < 0)
    print(f"constexpr int workedMirroredColumns = {mirrored};")
    print("// wave column: index in drawing order, t, x, z, centre height, vertical scale")
    print("const WorkedColumn workedColumns[] = {")
    # 0 and 675 are mirrored (a negative scale)
    for index in (0, 1, 26, 337, 675):
        x, z = waves[index]
        for t in (90330, 105330, 130000):
            height, scale = wave_column(x, z, t)
            print(f"    {{{index}, {t}, {x}, {z}, {height!r}, {scale!r}}},")
    print("};")

    blocks = [(u, v) for u in grid(-250, 250, 10) for v in grid(-250, 250, 10)]
    print("// tunnel block: index in drawing order, centre x y z, stretch along z")
    print("const WorkedBlock workedBlocks[] = {")
    for index in (0, 1, 51, 1300, 2600):
        centre, stretch = tunnel_block(*blocks[index])
        print(f"    {{{index}, {{{centre[0]!r}, {centre[1]!r}, {centre[2]!r}}}, {stretch!r}}},")
    print("};")

    print("// spheres at t: centre x, y (z is 0), bottom row first")
    for t in (0, 40000):
        print(f"const double workedSpheresAt{t}[][2] = {{")
        for cx, cy, _ in sphere_centres(t):
            print(f"    {{{cx!r}, {cy!r}}},")
        print("};")


main()
