#include "engine/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/number_text_round.h"
#include "support/engine_cases.h"

namespace quon {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// ---- Text form and print form --------------------------------------------------------

struct FormCase {
  const char* name;
  double value;
  const char* text;
  const char* print;
};

class FormTest : public ::testing::TestWithParam<FormCase> {};

TEST_P(FormTest, WritesBothForms) {
  const FormCase& c = GetParam();
  EXPECT_EQ(TextForm(c.value), c.text);
  EXPECT_EQ(PrintForm(c.value), c.print);
}

const FormCase kFormCases[] = {
    {"Zero", 0.0, "0", " 0"},
    {"NegativeZeroHasNoSign", -0.0, "0", " 0"},
    {"MinusOne", -1.0, "-1", "-1"},
    {"Half", 0.5, "0.5", " .5"},
    {"MinusQuarter", -0.25, "-0.25", "-.25"},
    {"MinusOneAndAQuarter", -1.25, "-1.25", "-1.25"},
    {"IntegerPlain", 123456.0, "123456", " 123456"},
    {"TenOverNine", 10.0 / 9.0, "1.11111111111111", " 1.11111111111111"},
    {"TwoPi", 6.283185307179586, "6.28318530717959", " 6.28318530717959"},
    {"OneThird", 1.0 / 3.0, "0.333333333333333", " .333333333333333"},
    {"SmallestPlain", 1e-4, "0.0001", " .0001"},
    {"BelowPlainRange", 1e-5, "1E-05", " 1E-05"},
    {"NegativeBelowPlainRange", -2.5e-7, "-2.5E-07", "-2.5E-07"},
    {"LargestPlainExponent", 123456789012345.0, "123456789012345", " 123456789012345"},
    {"PlainWithPaddingZeros", 1e14, "100000000000000", " 100000000000000"},
    {"AbovePlainRange", 1.5e15, "1.5E+15", " 1.5E+15"},
    {"RoundsUpIntoExponentForm", 999999999999999.5, "1E+15", " 1E+15"},
    {"RoundsUpAcrossPowerOfTen", 9.9999999999999999e-5, "0.0001", " .0001"},
    {"SixteenDigitsRoundedTo15", 0.1 + 0.2, "0.3", " .3"},
    {"ThreeDigitExponent", 1.7976931348623157e308, "1.79769313486232E+308",
     " 1.79769313486232E+308"},
    {"Subnormal", 4.9406564584124654e-324, "4.94065645841247E-324", " 4.94065645841247E-324"},
    {"LongestText", -1.2345678901234567e-100, "-1.23456789012346E-100", "-1.23456789012346E-100"},
    {"Infinity", kInf, "Infinity", " Infinity"},
    {"MinusInfinity", -kInf, "-Infinity", "-Infinity"},
    {"NotANumber", kNaN, "NaN", " NaN"},
};

INSTANTIATE_TEST_SUITE_P(NumberForms, FormTest, ::testing::ValuesIn(kFormCases), test::RowName());

// The rounding to 15 digits agrees with the C library's correctly rounded %.14e on
// random doubles of every magnitude (digits only: the separator is the locale's there).
TEST(TextFormProperty, DigitsAgreeWithCorrectlyRoundedPrintf) {
  std::mt19937_64 random(20261206);
  for (int n = 0; n < 20000; ++n) {
    uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value) || value == 0.0) continue;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    std::string expected;
    for (const char* p = buffer; *p != 'e'; ++p) {
      if (*p >= '0' && *p <= '9') expected.push_back(*p);
    }
    while (expected.size() > 1 && expected.back() == '0') expected.pop_back();
    std::string text = TextForm(value);
    std::string digits;
    for (const char ch : text.substr(0, text.find('E'))) {
      if (ch >= '0' && ch <= '9') digits.push_back(ch);
    }
    // Leading zeros of the plain form below 1 are not significant.
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    // Trailing zeros of a plain integer are padding.
    while (digits.size() > expected.size() && digits.back() == '0') digits.pop_back();
    ASSERT_EQ(digits, expected) << "value " << buffer << " written " << text;
  }
}

// The rounding by integers (the x87 product emulated) gives the bits of the rounding in
// long double on random doubles of every magnitude, subnormals, the neighbours of every
// power of ten, values next to a 15-digit rounding boundary (a 16th digit 5), and odd
// integers times a power of two whose product with an exact power of ten 10^k (5^k times
// a power of two) falls halfway between two 64-bit significands: ties to even.
TEST(TextFormProperty, IntegerRoundingAgreesWithLongDouble) {
  std::mt19937_64 random(20261207);
  std::vector<double> values;
  for (int n = 0; n < 200000; ++n) {
    const double value = std::fabs(std::bit_cast<double>(random()));
    if (std::isfinite(value) && value != 0.0) values.push_back(value);
    values.push_back(std::ldexp(static_cast<double>(random() >> 11), -1126 + n % 60));
    const std::string tie = std::to_string(random() % 900000000000000 + 100000000000000) + "5E" +
                            std::to_string(static_cast<int>(random() % 600) - 320);
    const double nearTie = std::strtod(tie.c_str(), nullptr);
    for (const double v : {nearTie, std::nextafter(nearTie, 0.0), std::nextafter(nearTie, 1e308)}) {
      if (v != 0.0 && std::isfinite(v)) values.push_back(v);
    }
  }
  for (int k = 0; k <= 27; ++k) {
    const int fiveBits = static_cast<int>(std::ceil(k * std::log2(5.0) + 1e-9));
    for (const int bits : {65 - fiveBits, 66 - fiveBits}) {
      for (int n = 0; n < 64 && bits <= 53; ++n) {
        const auto odd = static_cast<double>((random() >> (65 - bits)) | 1 | (1ULL << (bits - 1)));
        const int exponent = static_cast<int>((14 - k) * std::log2(10.0)) - bits;
        for (int offset = -1; offset <= 2; ++offset)
          values.push_back(std::ldexp(odd, exponent + offset));
      }
    }
  }
  for (int k = -323; k <= 308; ++k) {
    const double power = std::strtod(("1E" + std::to_string(k)).c_str(), nullptr);
    values.insert(values.end(), {power, std::nextafter(power, 0.0), std::nextafter(power, 1e308)});
  }
  for (const double value : values) {
    const number_text::Rounded integers = number_text::RoundTo15Digits(value);
    const number_text::Rounded reference = number_text::RoundTo15DigitsInLongDouble(value);
    ASSERT_EQ(integers.digits, reference.digits) << std::hexfloat << value;
    ASSERT_EQ(integers.exponent, reference.exponent) << std::hexfloat << value;
  }
}

// The Single text form agrees with the C library's %.7G of the float (its separator made
// a point) on random floats of every magnitude.
TEST(TextFormProperty, SingleFormAgreesWithPrintfSevenSignificantDigits) {
  std::mt19937 random(20261206);
  for (int n = 0; n < 20000; ++n) {
    uint32_t bits = static_cast<uint32_t>(random());
    float value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.7G", static_cast<double>(value));
    std::string expected(buffer);
    std::replace(expected.begin(), expected.end(), ',', '.');
    if (expected == "-0") expected = "0";
    std::string text;
    AppendSingleTextForm(value, text);
    ASSERT_EQ(text, expected);
  }
}

// A decimal of at most 15 significant digits survives the trip through a double: reading
// its text form and writing it again gives the same text.
TEST(TextFormProperty, FifteenDigitDecimalsRoundTrip) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<int64_t> mantissa(1, 999999999999999);
  std::uniform_int_distribution<int> exponent(-320, 300);
  for (int n = 0; n < 20000; ++n) {
    const std::string written =
        std::to_string(mantissa(random)) + "E" + std::to_string(exponent(random));
    const double value = LeadingNumber(written);
    // Beyond the range, or below normal doubles (fewer digits), nothing to compare.
    if (!std::isfinite(value) || std::fabs(value) < DBL_MIN) continue;
    const std::string text = TextForm(value);
    EXPECT_EQ(TextForm(LeadingNumber(text)), text) << written;
    EXPECT_EQ(LeadingNumber(text), value) << written;
  }
}

// Writing to 15 digits and reading back moves a double by at most half a unit in the
// 15th digit; the print form reads back to the same value as the text form.
TEST(TextFormProperty, ReadBackIsWithinHalfUnitOfFifteenthDigit) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-300, 300);
  for (int n = 0; n < 20000; ++n) {
    const double value = std::ldexp(unit(random), exponent(random));
    const double back = LeadingNumber(TextForm(value));
    EXPECT_LE(std::fabs(back - value), 5.0000001e-15 * std::fabs(value)) << TextForm(value);
    EXPECT_EQ(LeadingNumber(PrintForm(value)), back);
  }
}

TEST(TextFormProperty, EveryFiniteDoubleNearTheTopReadsBackFinite) {
  double value = DBL_MAX;
  for (int n = 0; n < 1000; ++n, value = std::nextafter(value, 0.0)) {
    const std::string text = TextForm(value);
    ASSERT_TRUE(IsNumber(text)) << text;
    EXPECT_EQ(TextForm(LeadingNumber(text)), text);
    EXPECT_EQ(TextForm(-LeadingNumber(PrintForm(-value))), text);
  }
}

// ---- LeadingNumber --------------------------------------------------------------------

struct ReadCase {
  const char* name;
  const char* text;
  double value;
};

class LeadingNumberTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(LeadingNumberTest, ReadsTheLongestLeadingNumber) {
  const ReadCase& c = GetParam();
  const double got = LeadingNumber(c.text);
  EXPECT_EQ(got, c.value) << '"' << c.text << '"';
  EXPECT_EQ(std::signbit(got), std::signbit(c.value)) << '"' << c.text << '"';
}

const ReadCase kReadCases[] = {
    {"Empty", "", 0.0},
    {"PlainInteger", "10", 10.0},
    {"Negative", "-5", -5.0},
    {"ExplicitPlus", "+5", 5.0},
    {"Fraction", "2.5", 2.5},
    {"NoIntegerPart", ".5", 0.5},
    {"NoFractionDigits", "5.", 5.0},
    {"BlanksInsideDropped", " 1 2", 12.0},
    {"TabsAndLineFeedsDropped", "\t-\n1\t.5 ", -1.5},
    {"CarriageReturnStops", "1\r2", 1.0},
    {"TrailingGarbageIgnored", "3abc", 3.0},
    {"CommaIsNotADecimalSeparator", "1,5", 1.0},
    {"SecondPointStops", "1.5.3", 1.5},
    {"ExponentE", "1.5E3", 1500.0},
    {"ExponentLowerE", "1.5e-3", 0.0015},
    {"ExponentD", "2D2", 200.0},
    {"ExponentLowerD", "2d+2", 200.0},
    {"ExponentWithoutDigitsIgnored", "7E", 7.0},
    {"ExponentSignWithoutDigitsIgnored", "7E+x", 7.0},
    {"BlankInsideExponent", "1 e 3", 1000.0},
    {"LoneSign", "-", 0.0},
    {"LonePoint", ".", 0.0},
    {"DoubleSign", "--5", 0.0},
    {"NegativeZero", "-0", -0.0},
    {"LeadingZeros", "000123.4500", 123.45},
    {"NonFiniteWordsAreNotNumbers", "Infinity", 0.0},
    {"NegativeOverflowReadsAsMinusInfinity", "-12345678E309", -kInf},
    {"LargestDouble", "1.7976931348623157E308", 1.7976931348623157e308},
    {"TextFormOfLargestDoubleReadsBack", "1.79769313486232E+308", DBL_MAX},
    {"NegativeTextFormOfLargestDouble", "-179769313486232E294", -DBL_MAX},
    {"JustAboveTextFormOfLargestDouble", "1.79769313486233E+308", kInf},
    {"UnderflowReadsAsZero", "1E-400", 0.0},
    {"NegativeUnderflowReadsAsMinusZero", "-1E-400", -0.0},
    {"SubnormalKept", "4.9406564584124654E-324", 4.9406564584124654e-324},
    {"HugeExponentDigits", "1E99999999999999999999999", kInf},
    {"TinyMantissaHugeExponent", "0.000001E310", 1e304},
    {"ManyDigitsCorrectlyRounded", "0.1000000000000000055511151231257827021181583404541015625",
     0.1},
    {"HexByte", "&HFF", 255.0},
    {"HexLowerCase", "&hff", 255.0},
    {"Hex16BitNegative", "&HFFFF", -1.0},
    {"Hex17Bits", "&H10000", 65536.0},
    {"Hex32BitNegative", "&HFFFFFFFF", -1.0},
    {"HexLeadingZerosDoNotWiden", "&H0000FFFF", -1.0},
    {"HexStopsBeforeOverflowingDigit", "&H123456789", 305419896.0},
    {"HexSuffixMakes32Bits", "&HFFFF&", 65535.0},
    {"HexSuffixAfterOverflowIgnored", "&H123456789&", 305419896.0},
    {"HexStopsAtNonDigit", "&H1G", 1.0},
    {"HexWithoutDigits", "&H", 0.0},
    {"HexBlanksDropped", " & H 1 0", 16.0},
    {"Octal", "&O17", 15.0},
    {"OctalLowerCase", "&o17", 15.0},
    {"OctalStopsAtEight", "&O178", 15.0},
    {"SignBeforeAmpersand", "-&H10", 0.0},
    {"AmpersandAlone", "&", 0.0},
    {"AmpersandOtherLetter", "&X1", 0.0},
};

INSTANTIATE_TEST_SUITE_P(NumberForms, LeadingNumberTest, ::testing::ValuesIn(kReadCases),
                         test::RowName());

// ---- IsNumber -------------------------------------------------------------------------

struct IsNumberCase {
  const char* name;
  const char* text;
  bool isNumber;
};

class IsNumberTest : public ::testing::TestWithParam<IsNumberCase> {};

TEST_P(IsNumberTest, ChecksTheWholeText) {
  EXPECT_EQ(IsNumber(GetParam().text), GetParam().isNumber) << '"' << GetParam().text << '"';
}

const IsNumberCase kIsNumberCases[] = {
    {"Negative", "-5", true},
    {"Plus", "+5", true},
    {"Fraction", "1.99", true},
    {"NoIntegerPart", ".5", true},
    {"NoFractionDigits", "5.", true},
    {"Exponent", "1E5", true},
    {"LowerExponentWithSign", "1e-5", true},
    {"BlanksAround", "  2  ", true},
    {"TabsAround", "\t2\t", true},
    {"Empty", "", false},
    {"OnlyBlanks", "   ", false},
    {"BlankInside", "1 2", false},
    {"TrailingGarbage", "3abc", false},
    {"Comma", "1,5", false},
    {"TwoPoints", "1.2.3", false},
    {"LoneSign", "-", false},
    {"ExponentWithoutDigits", "1E", false},
    {"ExponentD", "1D5", false},
    {"Hexadecimal", "&H10", false},
    {"Star", "*", false},
    {"BeyondDouble", "1E400", false},
    {"TextFormOfLargestDouble", "1.79769313486232E+308", true},
    {"LineFeedInside", "1\n", false},
};

INSTANTIATE_TEST_SUITE_P(NumberForms, IsNumberTest, ::testing::ValuesIn(kIsNumberCases),
                         test::RowName());

// ---- RoundHalfEvenToInt32 -------------------------------------------------------------

struct RoundCase {
  const char* name;
  double value;
  std::optional<int32_t> rounded;
};

class RoundTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundTest, RoundsHalvesToEven) {
  EXPECT_EQ(RoundHalfEvenToInt32(GetParam().value), GetParam().rounded);
}

const RoundCase kRoundCases[] = {
    {"OneAndAHalfToTwo", 1.5, 2},
    {"TwoAndAHalfToTwo", 2.5, 2},
    {"MinusHalfToZero", -0.5, 0},
    {"MinusOneAndAHalfToMinusTwo", -1.5, -2},
    {"MinusTwoAndAHalfToMinusTwo", -2.5, -2},
    {"BelowHalfDown", 2.4999999999999996, 2},
    {"AboveHalfUp", 2.5000000000000004, 3},
    {"NegativeBelowHalf", -0.49999999999999994, 0},
    {"LargestInt32", 2147483647.0, 2147483647},
    {"LargestInt32RoundedDown", 2147483647.4, 2147483647},
    {"BeyondInt32", 2147483647.5, std::nullopt},
    {"SmallestInt32", -2147483648.0, -2147483647 - 1},
    {"SmallestInt32FromHalf", -2147483648.5, -2147483647 - 1},
    {"BelowInt32", -2147483649.0, std::nullopt},
    {"Infinity", kInf, std::nullopt},
    {"NotANumber", kNaN, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(NumberForms, RoundTest, ::testing::ValuesIn(kRoundCases), test::RowName());

}  // namespace
}  // namespace quon
