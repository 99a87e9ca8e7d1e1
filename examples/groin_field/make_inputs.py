#!/usr/bin/env python3
"""Writes the input files of the example coast: a 15 km straight beach of 300
cells with a gentle bay, dated 3-hourly offshore waves for three years with a
seasonal swing of direction and storms, and the initial shoreline.
Run once; the files it writes are kept beside it. Deterministic (fixed seed)."""
import datetime
import math
import random

random.seed(20200101)
NX = 300

# Initial shoreline: 200 m from the baseline with a shallow bay in the middle.
with open("shoreline.dat", "w") as f:
    f.write("Initial shoreline of the example coast (m from the baseline)\n")
    f.write("300 cells of 50 m\n\n\n")
    ys = [200.0 - 25.0 * math.exp(-(((i - 180) / 40.0) ** 2)) for i in range(1, NX + 1)]
    for k in range(0, NX, 10):
        f.write(" ".join(f"{y:8.2f}" for y in ys[k:k + 10]) + "\n")

# Waves: 3-hourly records from 2020-01-01 00:00 for three years.
start = datetime.datetime(2020, 1, 1)
records = []
t = start
end = datetime.datetime(2023, 1, 1)
storm = 0.0
while t < end:
    day = (t - start).total_seconds() / 86400.0
    season = math.cos(2.0 * math.pi * day / 365.25)          # +1 in winter
    if storm <= 0.0 and random.random() < 0.004:
        storm = random.uniform(1.0, 2.5)                      # a storm builds
    height = max(0.2, 0.9 + 0.4 * season + storm + random.gauss(0.0, 0.15))
    storm = max(0.0, storm - 0.05)
    period = min(14.0, 5.0 + 2.2 * math.sqrt(height) + random.gauss(0.0, 0.4))
    direction = 12.0 + 18.0 * season + random.gauss(0.0, 8.0)
    direction = max(-80.0, min(80.0, direction))
    records.append(f"{t:%Y%m%d} {t:%H%M} {height:6.2f} {period:6.2f} {direction:7.1f}")
    t += datetime.timedelta(hours=3)

with open("waves.dat", "w") as f:
    f.write("\n".join(records) + "\n")
print(len(records), "wave records")
