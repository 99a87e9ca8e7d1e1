#!/usr/bin/env python3
"""Writes a benchmark case into the current directory: 4000 cells of 25 m,
ten years of hourly dated waves at one station, four groins, 1-hour steps.
With --structures the coast also has two detached breakwaters and two
diffracting groins, so that every step runs the diffraction stage."""
import datetime
import math
import random
import sys

random.seed(7)
NX = 4000
with open("shoreline.dat", "w") as f:
    f.write("benchmark shoreline\n\n\n\n")
    ys = [300.0 + 20.0 * math.sin(i / 150.0) for i in range(1, NX + 1)]
    for k in range(0, NX, 10):
        f.write(" ".join(f"{y:.2f}" for y in ys[k:k + 10]) + "\n")

start = datetime.datetime(2000, 1, 1)
hours = int((datetime.datetime(2010, 1, 1) - start).total_seconds() // 3600)
with open("waves.dat", "w") as f:
    for h in range(hours):
        t = start + datetime.timedelta(hours=h)
        season = math.cos(2.0 * math.pi * h / 8766.0)
        height = max(0.3, 1.0 + 0.4 * season + random.gauss(0.0, 0.2))
        period = 6.0 + 2.0 * math.sqrt(height)
        direction = 10.0 + 15.0 * season + random.gauss(0.0, 6.0)
        f.write(f"{t:%Y%m%d} {t:%H%M} {height:.2f} {period:.2f} {direction:.1f}\n")

groins = "".join(f"IXNDG: {w}\nYNDG: 360.0\nPNDG: 0.2\n" for w in (800, 1600, 2400, 3200))
if "--structures" in sys.argv[1:]:
    # Two diffracting groins reaching 3 m depth and two detached breakwaters
    # 100 m long, 150 m off the mean shoreline, in 4 m of water.
    groins += "".join(f"IXDG: {w}\nYDG: 420.0\nDDG: 3.0\nPDG: 0.0\n" for w in (1200, 2800))
    groins += "".join(f"DBI1: {a}\nDBY1: 450.0\nDBDEP1: 4.0\nDBI2: {a + 4}\nDBY2: 450.0\n"
                      f"DBDEP2: 4.0\nTRANDB: 0.3\n" for a in (2000, 3600))
with open("bench.cfg", "w") as f:
    f.write(f"""COASTRA:
TITLE: Benchmark 4000 cells, 10 years, hourly waves
CSTUNITS: (m)
WAVUNITS: (m)
PRFILE: bench.out
INIFILE: shoreline.dat
NUMWAVES: 1
WAVEID: 1 12.0 {hours} waves.dat
NX: {NX}
DX: 25.0
SIMDATS: 20000101
SIMDATE: 20100101
DT: 1.0
DTSAVE: 8760.0
K1: 0.5
K2: 0.25
HAMP: 1.0
THETAAMP: 1.0
THETADEL: 0.0
BERMHT: 2.0
DCLOS: 8.0
D50: 0.3
LBCTYPE: 0
RBCTYPE: 0
{groins}""")
print(NX, "cells,", hours, "hourly steps")
