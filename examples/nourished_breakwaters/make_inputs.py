#!/usr/bin/env python3
"""Writes the input files of the nourishment example: a straight beach of 120
cells of 20 m at 150 m from the baseline, and dated 3-hourly offshore waves
for 2020 (about 0.9 m, 7 s, from a few degrees left of the shore normal, with
a seasonal swing). Run once; the files it writes are kept beside it."""
import datetime
import math

NX = 120
with open("shoreline.dat", "w") as f:
    f.write("Initial shoreline of the nourishment example (m from the baseline)\n")
    f.write("120 cells of 20 m\n\n\n")
    for k in range(0, NX, 10):
        f.write(" ".join(f"{150.0:8.2f}" for _ in range(10)) + "\n")

start = datetime.datetime(2020, 1, 1)
end = datetime.datetime(2021, 1, 1)
records = []
t = start
while t < end:
    day = (t - start).total_seconds() / 86400.0
    season = math.cos(2.0 * math.pi * day / 366.0)            # +1 in winter
    height = 0.9 + 0.3 * season
    period = 6.5 + 1.0 * season
    direction = 4.0 + 6.0 * season
    records.append(f"{t:%Y%m%d} {t:%H%M} {height:6.2f} {period:6.2f} {direction:7.1f}")
    t += datetime.timedelta(hours=3)
with open("waves.dat", "w") as f:
    f.write("\n".join(records) + "\n")
print(len(records), "wave records")
