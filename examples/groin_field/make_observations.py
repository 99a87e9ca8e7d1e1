#!/usr/bin/python3
"""Synthetic shoreline observations from a run, for trying coastra-calibrate:
the shoreline of RUN.slo at chosen alongshore points (linear between cell
centres, as the calibration reads a run), on dates spread evenly over the
records, with Gaussian noise of a given standard deviation. Deterministic for
a given seed. Writes CSV (date,x,y) to standard output.

  /usr/bin/python3 make_observations.py RUN.slo --dx 50 --x 1025,4925,5975,7025,7725 \
      --dates 300 --noise 3 --seed 7 > observed.csv
"""
import argparse
import sys

import numpy as np


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("slo", help="the shoreline file of a run with daily records")
    p.add_argument("--dx", type=float, required=True, help="cell width (the run's DX)")
    p.add_argument("--x", required=True, help="alongshore points, comma-separated")
    p.add_argument("--dates", type=int, default=300, help="number of dates (default 300)")
    p.add_argument("--noise", type=float, default=3.0, help="noise standard deviation (default 3)")
    p.add_argument("--seed", type=int, default=7)
    a = p.parse_args()
    with open(a.slo) as f:
        lines = f.readlines()[1:]
    labels = [l[:8] for l in lines]
    pick = np.unique(np.linspace(0, len(lines) - 1, min(a.dates, len(lines))).round().astype(int))
    rng = np.random.default_rng(a.seed)
    xs = [float(v) for v in a.x.split(",")]
    out = sys.stdout
    out.write("date,x,y\n")
    for k in pick:
        v = np.array([float(t) for t in lines[k][8:].split()])
        centres = (np.arange(len(v)) + 0.5) * a.dx
        for x in xs:
            y = np.interp(x, centres, v) + rng.normal(0.0, a.noise)
            out.write(f"{labels[k]},{x:g},{y:.2f}\n")


if __name__ == "__main__":
    main()
