#include "core/analysis/gram_matrix.h"

#include <cfloat>
#include <cmath>

#include "core/analysis/analysis_error.h"

namespace quon {
namespace {

// Means of u^s over m - h .. m + h for s = 0 .. most.
std::vector<double> PowerMoments(double m, double h, std::size_t most) {
  std::vector<double> mPower(most + 1, 1.0);
  std::vector<double> hPower(most + 1, 1.0);
  for (std::size_t s = 1; s <= most; ++s) {
    mPower[s] = mPower[s - 1] * m;
    hPower[s] = hPower[s - 1] * h;
  }
  std::vector<double> moments(most + 1, 0.0);
  std::vector<double> binomial{1.0};  // row s of Pascal's triangle
  for (std::size_t s = 0; s <= most; ++s) {
    if (s > 0) {
      binomial.push_back(1.0);
      for (std::size_t r = s - 1; r > 0; --r) binomial[r] += binomial[r - 1];
    }
    double sum = 0.0;
    for (std::size_t r = 0; r <= s; r += 2) {
      // A zero factor drops the term even where the binomial has overflowed.
      if (mPower[s - r] == 0.0 || hPower[r] == 0.0) continue;
      sum += binomial[r] * mPower[s - r] * hPower[r] / static_cast<double>(r + 1);
    }
    moments[s] = sum;
  }
  return moments;
}

double Sinc(double z) { return z == 0.0 ? 1.0 : std::sin(z) / z; }

// 1 - sin(z) / z, by its series where the difference would cancel.
double OneMinusSinc(double z) {
  if (std::fabs(z) >= 0.5) return 1.0 - std::sin(z) / z;
  const double z2 = z * z;
  double term = z2 / 6.0;
  double sum = term;
  for (int n = 2; std::fabs(term) > DBL_EPSILON * std::fabs(sum); ++n) {
    term *= -z2 / static_cast<double>((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

SquareMatrix PowerGram(std::size_t n, double m, double h) {
  const std::vector<double> moments = PowerMoments(m, h, 2 * (n - 1));
  SquareMatrix gram{n, std::vector<double>(n * n)};
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) gram.Values[i * n + j] = moments[i + j];
  }
  return gram;
}

// Term j of a trigonometric variable is cos (even j) or sin (odd j) of multiple (j + 1) / 2.
SquareMatrix TrigGram(std::size_t n, double w, double m, double h) {
  const std::size_t most = n;  // a + b never exceeds 2 ((n - 1 + 1) / 2) <= n
  std::vector<double> cosMean(most + 1);
  std::vector<double> cosDeficit(most + 1);  // 1 - cosMean, without cancellation
  std::vector<double> sinMean(most + 1);
  for (std::size_t k = 0; k <= most; ++k) {
    const double kw = static_cast<double>(k) * w;
    const double sinc = Sinc(kw * h);
    const double half = std::sin(kw * m / 2.0);
    cosMean[k] = std::cos(kw * m) * sinc;
    cosDeficit[k] = 2.0 * half * half + std::cos(kw * m) * OneMinusSinc(kw * h);
    sinMean[k] = std::sin(kw * m) * sinc;
  }
  // Means of cos(k w u) and sin(k w u) for a signed k.
  const auto cosOf = [&](long k) { return cosMean[static_cast<std::size_t>(std::labs(k))]; };
  const auto deficitOf = [&](long k) { return cosDeficit[static_cast<std::size_t>(std::labs(k))]; };
  const auto sinOf = [&](long k) {
    return k < 0 ? -sinMean[static_cast<std::size_t>(-k)] : sinMean[static_cast<std::size_t>(k)];
  };
  SquareMatrix gram{n, std::vector<double>(n * n)};
  for (std::size_t i = 0; i < n; ++i) {
    const long a = static_cast<long>((i + 1) / 2);
    const bool sinA = i % 2 == 1;
    for (std::size_t j = 0; j < n; ++j) {
      const long b = static_cast<long>((j + 1) / 2);
      const bool sinB = j % 2 == 1;
      double mean = 0.0;
      if (!sinA && !sinB) {
        mean = (cosOf(a - b) + cosOf(a + b)) / 2.0;
      } else if (sinA && sinB) {
        // cos((a-b) t) - cos((a+b) t) is a difference of numbers near 1 on a short interval.
        mean = (deficitOf(a + b) - deficitOf(a - b)) / 2.0;
      } else if (sinA) {
        mean = (sinOf(a + b) + sinOf(a - b)) / 2.0;
      } else {
        mean = (sinOf(a + b) - sinOf(a - b)) / 2.0;
      }
      gram.Values[i * n + j] = mean;
    }
  }
  return gram;
}

// Means of T_k(s) for k = 0 .. most over s in [a, b]: from the antiderivatives
// T_{k+1}/(2(k+1)) - T_{k-1}/(2(k-1)) (k >= 2), s^2/2 and s, or the values where a == b.
std::vector<double> ChebyshevMeans(double a, double b, std::size_t most) {
  const auto values = [most](double s) {
    std::vector<double> t(most + 2, 1.0);
    t[1] = s;
    for (std::size_t k = 2; k < t.size(); ++k) t[k] = 2.0 * s * t[k - 1] - t[k - 2];
    return t;
  };
  const std::vector<double> ta = values(a);
  const std::vector<double> tb = values(b);
  std::vector<double> means(most + 1);
  if (a == b) {
    for (std::size_t k = 0; k <= most; ++k) means[k] = ta[k];
    return means;
  }
  const double width = b - a;
  means[0] = 1.0;
  if (most >= 1) means[1] = (a + b) / 2.0;
  for (std::size_t k = 2; k <= most; ++k) {
    const auto up = static_cast<double>(2 * (k + 1));
    const auto down = static_cast<double>(2 * (k - 1));
    means[k] = ((tb[k + 1] - ta[k + 1]) / up - (tb[k - 1] - ta[k - 1]) / down) / width;
  }
  return means;
}

// T_i T_j = (T_{i+j} + T_{|i-j|}) / 2, so the means of the products are those of single terms.
SquareMatrix ChebyshevGram(std::size_t n, double a, double b) {
  const std::vector<double> means = ChebyshevMeans(a, b, 2 * (n - 1));
  SquareMatrix gram{n, std::vector<double>(n * n)};
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) {
      gram.Values[i * n + j] = (means[i + j] + means[i > j ? i - j : j - i]) / 2.0;
    }
  }
  return gram;
}

}  // namespace

SquareMatrix TermGram(const NodeGeometry& g, double lo, double hi) {
  const auto n = static_cast<std::size_t>(g.LastTerm) + 1;
  const double m = lo + (hi - lo) / 2.0 - g.Center;
  const double h = (hi - lo) / 2.0;
  SquareMatrix gram;
  switch (g.Kind) {
    case TermKind::Power:
      gram = PowerGram(n, m, h);
      break;
    case TermKind::Trigonometric:
      if (g.Period == 0.0) {
        throw AnalysisError("Division by zero: the period of a variable is 0.");
      }
      gram = TrigGram(n, g.AngularFactor(), m, h);
      break;
    case TermKind::Chebyshev:
      if (g.HalfWidth == 0.0) {
        throw AnalysisError("Division by zero: the interval of a variable is empty.");
      }
      gram = ChebyshevGram(n, g.MappedArgument(lo), g.MappedArgument(hi));
      break;
  }
  for (const double v : gram.Values) {
    if (!std::isfinite(v)) throw AnalysisError("Overflow in the means of products of the terms.");
  }
  return gram;
}

}  // namespace quon
