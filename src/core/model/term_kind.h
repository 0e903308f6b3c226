// The kind of terms of one variable. Every place that works term by term switches over
// it without a default, so that a new kind is a compile-time warning (-Wswitch) in each
// place that must learn it: gathering and the entry fields, the node geometry, the basis,
// the evaluator and its kernel, term values, derivatives and integrals, labels, report,
// problem files and every export.
#pragma once

#include <cstdint>

namespace quon {

enum class TermKind : uint8_t {
  Power,          // powers of (x - c)
  Trigonometric,  // 1, sin(w (x - c)), cos(w (x - c)), sin(2 w (x - c)), ... with w = 2 pi / P
  Chebyshev,      // T0(s), T1(s), T2(s), ... of s = (x - m) / h on [m - h, m + h]
};

// Whether the variable's period enters its terms (only sines and cosines have one).
bool UsesPeriod(TermKind kind);

// Whether the variable's centre of expansion enters its terms (Chebyshev terms are taken
// about the middle of the interval, whatever the centre field says).
bool UsesCenter(TermKind kind);

// Whether the fit solves the variable's samples by elimination with a basis matrix, whose
// cost grows as the cube of the terms (Chebyshev terms take a cosine transform instead).
bool SolvedByElimination(TermKind kind);

// The kind's name in running text: "power", "trigonometric", "Chebyshev".
const char* KindName(TermKind kind);

}  // namespace quon
