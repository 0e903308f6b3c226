"""The peer of bench/data_fit_peer.sh: NumPy's lstsq on the design quonfit --fit-data
fits (power terms centred in the intervals [-1, 1] and [0, 2], N terms per variable, the tensor product in quonfit's
order: the first variable's power fastest), from the same CSV table. Prints the seconds
the design and lstsq took, apart from reading the table.

Usage: python3 data_fit_peer.py TABLE.csv TERMS
"""
import sys
import time

import numpy as np

table, terms = sys.argv[1], int(sys.argv[2])
data = np.loadtxt(table, delimiter=",", skiprows=1)
x, y, value = data[:, 0], data[:, 1], data[:, 2]
start = time.perf_counter()
px = np.vander(x - 0.0, terms, increasing=True)
py = np.vander(y - 1.0, terms, increasing=True)
design = (py[:, :, None] * px[:, None, :]).reshape(len(x), terms * terms)
coefficients, _, rank, _ = np.linalg.lstsq(design, value, rcond=None)
print(f"numpy_fit_seconds: {time.perf_counter() - start:.2f}")
print(f"numpy_rank: {rank}")
print(f"numpy_first_coefficient: {coefficients[0]:.17e}")
