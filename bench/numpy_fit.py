#!/usr/bin/env python3
"""The peer of `quonfit FILE -o OUT` on the default problem: the same fit done the way a
NumPy user would do it, timed alone (the import and the reading of FILE excluded).

Reads the variables' limits and numbers of terms from a specification file whose
variables are power terms centred in their intervals (bench/data/default_function_40.qsp:
four variables, 40 terms each on [-5, 5]), samples x^2*sin(y)+4*cos(z)-t on the grid of
nodes by broadcasting, builds each variable's basis matrix (node^m) and solves along each
axis with numpy.linalg.solve on the array reshaped to (terms, lines). Prints the seconds
the fit took on the wall clock and in processor time.
"""
import sys
import time

import numpy as np


def read_variables(path):
    """(lower, upper, terms) per variable from the records of the main file."""
    with open(path, encoding="ascii") as f:
        lines = f.read().splitlines()
    count = int(lines[0]) + 1
    variables = []
    for record in lines[1 : 1 + count]:
        items = record.split(",")
        variables.append((float(items[1]), float(items[2]), int(items[6]) + 1))
    return variables


def fit(variables):
    nodes = []
    for lower, upper, terms in variables:
        centre = (lower + upper) / 2
        step = (upper - lower) / (terms - 1)
        nodes.append(np.arange(terms) * step + (lower - centre))
    # Index 0 (x) varies fastest in the coefficient array: axis 3 of a C-ordered array.
    x, y, z, t = (
        (n + (lo + up) / 2).reshape([-1 if axis == k else 1 for axis in range(4)])
        for k, (n, (lo, up, _)) in zip((3, 2, 1, 0), zip(nodes, variables))
    )
    values = x**2 * np.sin(y) + 4 * np.cos(z) - t
    for k, n in enumerate(nodes):
        basis = n[:, None] ** np.arange(len(n))[None, :]
        axis = 3 - k
        lines = np.moveaxis(values, axis, 0)
        shape = lines.shape
        solved = np.linalg.solve(basis, lines.reshape(len(n), -1))
        values = np.moveaxis(solved.reshape(shape), 0, axis)
    return values


def main():
    variables = read_variables(sys.argv[1] if len(sys.argv) > 1 else "bench/data/default_function_40.qsp")
    start, cpu = time.perf_counter(), time.process_time()
    fit(variables)
    print(f"{time.perf_counter() - start:.4f} {time.process_time() - cpu:.4f}")


if __name__ == "__main__":
    main()
