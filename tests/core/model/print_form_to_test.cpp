#include "model/print_form_to.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "model/number_forms.h"

namespace quon {
namespace {

std::string Fast(double value) {
  char buffer[PrintFormMaxChars];
  return std::string(buffer, PrintFormTo(buffer, value));
}

// Compares with PrintForm, the reference, and stops after a few mismatches.
void ExpectSameAsPrintForm(double value, int& mismatches) {
  if (mismatches > 5) return;
  const std::string expected = PrintForm(value);
  const std::string actual = Fast(value);
  if (actual != expected) {
    ++mismatches;
    ADD_FAILURE() << "value " << std::hexfloat << value << ": expected \"" << expected
                  << "\", got \"" << actual << "\"";
  }
}

TEST(PrintFormTo, AgreesWithPrintFormOnSpecialValues) {
  int mismatches = 0;
  const double specials[] = {0.0,
                             -0.0,
                             0.5,
                             -0.25,
                             1.0,
                             10.0,
                             1e-5,
                             1e-4,
                             0.00012345,
                             1.5e15,
                             999999999999999.0,
                             999999999999999.5,
                             9999999999999995.0,
                             123456789012345.0,
                             0.1 + 0.2,
                             DBL_MAX,
                             -DBL_MAX,
                             DBL_MIN,
                             std::numeric_limits<double>::denorm_min(),
                             DBL_EPSILON,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
  for (const double v : specials) {
    ExpectSameAsPrintForm(v, mismatches);
    ExpectSameAsPrintForm(-v, mismatches);
  }
}

TEST(PrintFormTo, AgreesWithPrintFormOnEveryPowerOfTenAndItsNeighbours) {
  int mismatches = 0;
  for (int k = -325; k <= 308; ++k) {
    const double p = std::pow(10.0, k);
    ExpectSameAsPrintForm(p, mismatches);
    ExpectSameAsPrintForm(std::nextafter(p, 0.0), mismatches);
    ExpectSameAsPrintForm(std::nextafter(p, HUGE_VAL), mismatches);
    // Just below a power of ten: the carry of the rounding to 15 digits.
    ExpectSameAsPrintForm(p * (1 - 4e-16), mismatches);
    ExpectSameAsPrintForm(p * (1 - 6e-16), mismatches);
  }
}

TEST(PrintFormTo, AgreesWithPrintFormOnRandomBitPatterns) {
  std::mt19937_64 random(20261206);
  int mismatches = 0;
  for (int i = 0; i < 300000; ++i) {
    ExpectSameAsPrintForm(std::bit_cast<double>(random()), mismatches);
  }
}

TEST(PrintFormTo, AgreesWithPrintFormNearRoundingBoundaries) {
  // Decimals with 16 significant digits ending in 5 lie next to a tie of the rounding to
  // 15 digits; short decimals and integers are exact in few digits.
  std::mt19937_64 random(7);
  std::uniform_int_distribution<int64_t> mantissa(100000000000000, 999999999999999);
  std::uniform_int_distribution<int> exponent(-30, 30);
  int mismatches = 0;
  for (int i = 0; i < 200000; ++i) {
    const double tie =
        std::stod(std::to_string(mantissa(random)) + "5e" + std::to_string(exponent(random)));
    ExpectSameAsPrintForm(tie, mismatches);
    ExpectSameAsPrintForm(static_cast<double>(mantissa(random) % 100000) / 1000, mismatches);
    ExpectSameAsPrintForm(std::ldexp(static_cast<double>(random() >> 11), exponent(random)),
                          mismatches);
  }
}

}  // namespace
}  // namespace quon
