#!/usr/bin/env python3
"""The peer of chebyshev_bench: NumPy's numpy.polynomial.chebyshev on the same fits.

One variable: Chebyshev.interpolate of the Runge function 1/(1+25x^2) on [-1, 1] with n
terms (NumPy samples at Chebyshev points of the first kind and applies the transposed
Vandermonde matrix, O(n^2)). Four variables: x^2 sin(y) + 4 cos(z) - t on [-5, 5]^4,
sampled (vectorised) at the tensor grid of n Chebyshev points of the second kind per
variable, then the inverse of chebvander applied along each axis, the way the module
offers a tensor fit. Prints one line per size: "name n nodes ns_per_node", the best of a
few runs, so that compare_chebyshev.sh can put it beside the C++ figures.
"""
import sys
import time

import numpy
from numpy.polynomial import chebyshev


def best_seconds(run, repeat):
    best = float("inf")
    for _ in range(repeat):
        start = time.perf_counter()
        run()
        best = min(best, time.perf_counter() - start)
    return best


def one_variable(n):
    def runge(x):
        return 1.0 / (1.0 + 25.0 * x * x)

    seconds = best_seconds(lambda: chebyshev.Chebyshev.interpolate(runge, n - 1), 20)
    print(f"one_variable {n} {n} {seconds * 1e9 / n:.2f}")


def four_variables(n):
    points = 5.0 * numpy.cos(numpy.pi * numpy.arange(n) / (n - 1))
    inverse = numpy.linalg.inv(chebyshev.chebvander(points / 5.0, n - 1))

    def fit():
        x, y, z, t = numpy.meshgrid(points, points, points, points, indexing="ij",
                                    sparse=True)
        samples = x * x * numpy.sin(y) + 4.0 * numpy.cos(z) - t
        for axis in range(4):
            samples = numpy.moveaxis(numpy.tensordot(inverse, samples, axes=([1], [axis])),
                                     0, axis)
        return samples

    seconds = best_seconds(fit, 2)
    nodes = n ** 4
    print(f"four_variables {n} {nodes} {seconds * 1e9 / nodes:.2f}")


def main():
    for n in (17, 65, 257, 1025):
        one_variable(n)
    for n in (17, 33, 65):
        four_variables(n)
    return 0


if __name__ == "__main__":
    sys.exit(main())
