"""Correct digits (the log relative error, capped at 15) that quonfit --fit-data reaches on
the certified polynomial datasets in tests/data/strd, beside NumPy's polyfit on the same
data, run one after the other: the fewest digits over the coefficients, over the standard
errors and of the residual standard deviation, and polyfit's fewest over the coefficients.

Usage: python3 bench/strd_digits.py QUONFIT   (a python3 with NumPy)
"""
import csv
import math
import pathlib
import subprocess
import sys

import numpy as np

DATA = pathlib.Path(__file__).resolve().parent.parent / "tests" / "data" / "strd"


def digits(value, certified):
    error = abs(value) if certified == 0 else abs(value - certified) / abs(certified)
    return 15.0 if error == 0 else min(15.0, -math.log10(error))


def main():
    quonfit = sys.argv[1]
    certified = {}
    for row in csv.DictReader(open(DATA / "certified.csv")):
        certified.setdefault(row["dataset"], []).append(row)
    print(f"{'dataset':9s} {'coefficients':>12s} {'std errors':>10s} {'resid sd':>8s}"
          f" {'polyfit':>8s} {'ratio':>6s}")
    for name, rows in certified.items():
        out = subprocess.run([quonfit, DATA / f"{name}.qsp", "--fit-data", DATA / f"{name}.csv",
                              "--stats"], capture_output=True, text=True, check=True).stdout
        lines = [line.split(": ", 1) for line in out.splitlines() if ": " in line]
        stats = {key: value for key, value in lines if key != "coefficient"}
        fitted = [value.split() for key, value in lines if key == "coefficient"]
        terms = [r for r in rows if r["item"].startswith("b")]
        coefficient = min(digits(float(f[1]), float(r["certified_value"]))
                          for f, r in zip(fitted, terms))
        error = min(digits(float(f[2]), float(r["certified_standard_deviation"]))
                    for f, r in zip(fitted, terms))
        sd = next(r for r in rows if r["item"] == "residual_sd")
        residual = digits(float(stats["residual_sd"]), float(sd["certified_value"]))
        data = list(csv.DictReader(open(DATA / f"{name}.csv")))
        x = np.array([float(r["x"]) for r in data])
        y = np.array([float(r["value"]) for r in data])
        peer = np.polyfit(x, y, len(terms) - 1)[::-1]
        polyfit = min(digits(p, float(r["certified_value"])) for p, r in zip(peer, terms))
        print(f"{name:9s} {coefficient:12.2f} {error:10.2f} {residual:8.2f} {polyfit:8.2f}"
              f" {coefficient / polyfit:6.2f}")


main()
