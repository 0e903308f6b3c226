// Double-double numbers: an unevaluated sum hi + lo of two doubles with |lo| <= ulp(hi) / 2,
// about 106 significant bits, for the few sums that must be far more accurate than a
// double (the residuals of a least-squares fit, on which its iterative refinement rests).
//
// Sums use Knuth's TwoSum and products Dekker's TwoProduct with Veltkamp's split (no fused
// multiply-add is assumed; the core is built with -ffp-contract=off, so none is formed
// behind our back). Error: a few units of 2^-104 relative per operation, as long as no
// intermediate overflows (|x| below about 1E+300) and none underflows into subnormals.
// Cost: about 20 floating-point operations per multiply-add. Source: T. J. Dekker, "A
// floating-point technique for extending the available precision", Numer. Math. 18
// (1971); D. E. Knuth, TAOCP vol. 2, 4.2.2; Y. Hida, X. S. Li, D. H. Bailey, "Library for
// double-double and quad-double arithmetic" (2000).
#pragma once

namespace quon {

struct DoubleDouble {
  double hi = 0.0;
  double lo = 0.0;

  constexpr DoubleDouble() = default;
  constexpr DoubleDouble(double value) : hi(value) {}  // NOLINT: widening is exact
  constexpr DoubleDouble(double high, double low) : hi(high), lo(low) {}

  double ToDouble() const { return hi + lo; }
};

// a + b exactly as hi + lo.
inline DoubleDouble TwoSum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// a + b exactly, when |a| >= |b| or a is 0.
inline DoubleDouble QuickTwoSum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

// a * b exactly as hi + lo (Dekker), barring overflow and underflow.
inline DoubleDouble TwoProduct(double a, double b) {
  constexpr double kSplitter = 134217729.0;  // 2^27 + 1
  const double p = a * b;
  const double ta = kSplitter * a;
  const double ah = ta - (ta - a);
  const double al = a - ah;
  const double tb = kSplitter * b;
  const double bh = tb - (tb - b);
  const double bl = b - bh;
  return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

inline DoubleDouble operator+(DoubleDouble a, DoubleDouble b) {
  DoubleDouble s = TwoSum(a.hi, b.hi);
  const DoubleDouble t = TwoSum(a.lo, b.lo);
  s.lo += t.hi;
  s = QuickTwoSum(s.hi, s.lo);
  s.lo += t.lo;
  return QuickTwoSum(s.hi, s.lo);
}

inline DoubleDouble operator-(DoubleDouble a) { return {-a.hi, -a.lo}; }
inline DoubleDouble operator-(DoubleDouble a, DoubleDouble b) { return a + (-b); }

inline DoubleDouble operator*(DoubleDouble a, DoubleDouble b) {
  DoubleDouble p = TwoProduct(a.hi, b.hi);
  p.lo += a.hi * b.lo + a.lo * b.hi;
  return QuickTwoSum(p.hi, p.lo);
}

inline DoubleDouble operator*(DoubleDouble a, double b) {
  DoubleDouble p = TwoProduct(a.hi, b);
  p.lo += a.lo * b;
  return QuickTwoSum(p.hi, p.lo);
}

inline DoubleDouble& operator+=(DoubleDouble& a, DoubleDouble b) { return a = a + b; }
inline DoubleDouble& operator-=(DoubleDouble& a, DoubleDouble b) { return a = a - b; }

}  // namespace quon
