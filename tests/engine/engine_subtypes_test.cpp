// The Byte, Single and Currency kinds: one table per conversion and per operator rule,
// each row an expression evaluated by a fresh engine, and their failures.
#include <gtest/gtest.h>

#include "support/engine_cases.h"

namespace quon::script {
namespace {

using test::FailureCase;
using test::ValueCase;

class Subtypes : public testing::TestWithParam<ValueCase> {};
TEST_P(Subtypes, EvaluateToValueAndKind) { test::ExpectValue(GetParam()); }

// Near the ends of the Currency range, built exactly from two parts.
#define CUR_MAX "(CCur(922337203685477) + CCur(0.5807))"
#define CUR_MIN "(-CCur(922337203685477) - CCur(0.5808))"

const ValueCase kCByte[] = {
    {"RoundsHalfToEven", "CByte(2.5)", Kind::Byte, "2"},
    {"RoundsOddHalfUp", "CByte(3.5)", Kind::Byte, "4"},
    {"NegativeHalfIsZero", "CByte(-0.5)", Kind::Byte, "0"},
    {"ReadsText", "CByte(\" 255 \")", Kind::Byte, "255"},
};
const ValueCase kCSng[] = {
    {"TenthShowsSevenDigits", "CSng(0.1)", Kind::Single, "0.1"},
    {"ThirdRoundsToSevenDigits", "CSng(1/3)", Kind::Single, "0.3333333"},
    {"SevenDigitsStayPlain", "CSng(1234567.8)", Kind::Single, "1234568"},
    {"EightDigitsTakeExponent", "CSng(12345678)", Kind::Single, "1.234568E+07"},
    {"SmallTakesExponent", "CSng(0.00001)", Kind::Single, "1E-05"},
    {"NearLargestSingle", "CSng(3.4E+38)", Kind::Single, "3.4E+38"},
    {"TinyUnderflowsToZero", "CSng(1E-50)", Kind::Single, "0"},
};
const ValueCase kCCur[] = {
    {"RoundsToFourDecimals", "CCur(5.9555555555555)", Kind::Currency, "5.9556"},
    {"ExactHalfRoundsToEven", "CCur(0.03125)", Kind::Currency, "0.0312"},
    {"OtherExactHalfRoundsUp", "CCur(0.09375)", Kind::Currency, "0.0938"},
    {"WholeHasNoPoint", "CCur(30)", Kind::Currency, "30"},
    {"WholeUnitsStayExactBeyond2To53Counts", "CCur(922337203685477)", Kind::Currency,
     "922337203685477"},
    {"LargestDoubleInRange", "CCur(922337203685477.5)", Kind::Currency, "922337203685477.5"},
    {"LargestWritesEveryDigit", "CStr(" CUR_MAX ")", Kind::String, "922337203685477.5807"},
    {"SmallestWritesEveryDigit", CUR_MIN " & \"\"", Kind::String, "-922337203685477.5808"},
};
const ValueCase kAddSubtract[] = {
    {"ByteSumStaysByte", "CByte(100) + CByte(100)", Kind::Byte, "200"},
    {"ByteSumOverflowsIntoInteger", "CByte(200) + CByte(100)", Kind::Integer, "300"},
    {"ByteDifferenceBelowZeroIsInteger", "CByte(1) - CByte(2)", Kind::Integer, "-1"},
    {"BytePlusBooleanIsInteger", "CByte(1) + True", Kind::Integer, "0"},
    {"BytePlusEmptyStaysByte", "CByte(7) + x", Kind::Byte, "7"},
    {"IntegerPlusSingleIsSingle", "1 + CSng(0.5)", Kind::Single, "1.5"},
    {"LongPlusSingleIsDouble", "40000 + CSng(0.5)", Kind::Double, "40000.5"},
    {"SingleSumRoundsToSingle", "CSng(0.1) + CSng(0.2)", Kind::Single, "0.3"},
    {"SingleSumOverflowsIntoDouble", "TypeName(CSng(3E+38) + CSng(3E+38))", Kind::String, "Double"},
    {"SinglePlusTextIsDouble", "CSng(0.5) + \"1\"", Kind::Double, "1.5"},
    {"CurrencyPlusDoubleIsCurrency", "CCur(1) + 0.00004", Kind::Currency, "1"},
    {"CurrencyPlusTextIsCurrency", "CCur(1) - \"2.5\"", Kind::Currency, "-1.5"},
    {"CurrencyDifferenceIsExact", "CCur(0.3) - CCur(0.1)", Kind::Currency, "0.2"},
};
const ValueCase kMultiplyDivide[] = {
    {"ByteProductOverflowsIntoInteger", "CByte(16) * CByte(16)", Kind::Integer, "256"},
    {"ByteProductBeyondIntegerIsLong", "CByte(255) * CByte(255)", Kind::Long, "65025"},
    {"SingleTimesLongIsDouble", "CSng(2) * 40000", Kind::Double, "80000"},
    {"CurrencyTimesSingleIsCurrency", "CCur(1.5) * CSng(0.5)", Kind::Currency, "0.75"},
    {"CurrencyTimesDoubleIsDouble", "CCur(1.5) * 0.5", Kind::Double, "0.75"},
    {"CurrencyProductRoundsHalfEven", "CCur(0.0001) * CCur(0.5)", Kind::Currency, "0"},
    {"SingleQuotientStaysSingle", "CSng(1) / 3", Kind::Single, "0.3333333"},
    {"ByteQuotientIsDouble", "CByte(1) / CByte(4)", Kind::Double, "0.25"},
    {"SingleOverLongIsDouble", "CSng(1) / 40000", Kind::Double, "2.5E-05"},
    {"CurrencyQuotientIsDouble", "CCur(1) / CCur(4)", Kind::Double, "0.25"},
    {"BytePowerIsDouble", "CByte(2) ^ CByte(2)", Kind::Double, "4"},
    {"ByteIntegerDivisionStaysByte", "CByte(7) \\ CByte(2)", Kind::Byte, "3"},
    {"ByteModIntegerIsInteger", "CByte(7) Mod 4", Kind::Integer, "3"},
    {"SingleIntegerDivisionIsLong", "CSng(7.5) \\ 2", Kind::Long, "4"},
    {"CurrencyModIsLong", "CCur(7) Mod 4", Kind::Long, "3"},
};
const ValueCase kUnaryLogicalCompare[] = {
    {"NegatedByteIsInteger", "-CByte(5)", Kind::Integer, "-5"},
    {"NegatedSingleStaysSingle", "-CSng(1.5)", Kind::Single, "-1.5"},
    {"NegatedCurrencyStaysCurrency", "-CCur(1.5)", Kind::Currency, "-1.5"},
    {"NotByteStaysByte", "Not CByte(5)", Kind::Byte, "250"},
    {"ByteAndByteIsByte", "CByte(6) And CByte(3)", Kind::Byte, "2"},
    {"SingleOrIntegerIsLong", "CSng(1) Or 2", Kind::Long, "3"},
    {"SingleTenthIsNoDoubleTenth", "CSng(0.1) = 0.1", Kind::Boolean, "False"},
    {"CurrencyEqualsDouble", "CCur(0.5) = 0.5", Kind::Boolean, "True"},
    {"CurrenciesCompareExactly", CUR_MAX " > " CUR_MAX " - CCur(0.0001)", Kind::Boolean, "True"},
};
const ValueCase kFunctions[] = {
    {"TypeNameOfByte", "TypeName(CByte(1))", Kind::String, "Byte"},
    {"TypeNameOfSingle", "TypeName(CSng(1))", Kind::String, "Single"},
    {"TypeNameOfCurrency", "TypeName(CCur(1))", Kind::String, "Currency"},
    {"VarTypeOfByte", "VarType(CByte(1)) = vbByte", Kind::Boolean, "True"},
    {"VarTypeOfCurrency", "VarType(CCur(1))", Kind::Integer, "6"},
    {"ConcatenatedSingle", "CSng(2) / 3 & \"\"", Kind::String, "0.6666667"},
    {"AbsKeepsSingle", "Abs(CSng(-1.5))", Kind::Single, "1.5"},
    {"AbsKeepsByte", "Abs(CByte(3))", Kind::Byte, "3"},
    {"FixKeepsCurrency", "Fix(CCur(-1.5))", Kind::Currency, "-1"},
    {"IntKeepsCurrency", "Int(CCur(-1.5))", Kind::Currency, "-2"},
    {"IntKeepsSingle", "Int(CSng(-1.5))", Kind::Single, "-2"},
    {"RoundKeepsCurrencyHalfEven", "Round(CCur(2.345), 2)", Kind::Currency, "2.34"},
    {"RoundKeepsSingle", "Round(CSng(2.5))", Kind::Single, "2"},
    {"RoundKeepsByte", "Round(CByte(3))", Kind::Byte, "3"},
    {"HexOfByte", "Hex(CByte(255))", Kind::String, "FF"},
    {"HexOfNegativeSingleIs32Bits", "Hex(CSng(-1))", Kind::String, "FFFFFFFF"},
    {"OctOfCurrency", "Oct(CCur(8))", Kind::String, "10"},
    {"SinOfSingleIsDouble", "Sin(CSng(0))", Kind::Double, "0"},
    {"CIntOfCurrencyHalfEven", "CInt(CCur(2.5))", Kind::Integer, "2"},
};

INSTANTIATE_TEST_SUITE_P(CByte, Subtypes, testing::ValuesIn(kCByte), test::RowName());
INSTANTIATE_TEST_SUITE_P(CSng, Subtypes, testing::ValuesIn(kCSng), test::RowName());
INSTANTIATE_TEST_SUITE_P(CCur, Subtypes, testing::ValuesIn(kCCur), test::RowName());
INSTANTIATE_TEST_SUITE_P(AddSubtract, Subtypes, testing::ValuesIn(kAddSubtract), test::RowName());
INSTANTIATE_TEST_SUITE_P(MultiplyDivide, Subtypes, testing::ValuesIn(kMultiplyDivide),
                         test::RowName());
INSTANTIATE_TEST_SUITE_P(UnaryLogicalCompare, Subtypes, testing::ValuesIn(kUnaryLogicalCompare),
                         test::RowName());
INSTANTIATE_TEST_SUITE_P(Functions, Subtypes, testing::ValuesIn(kFunctions), test::RowName());

class SubtypeFailures : public testing::TestWithParam<FailureCase> {};
TEST_P(SubtypeFailures, FailWithErrorNumber) { test::ExpectFailure(GetParam()); }

const FailureCase kFailures[] = {
    {"CByteAbove255", "CByte(255.5)", ErrNum::Overflow},
    {"CByteOfTrue", "CByte(True)", ErrNum::Overflow},
    {"CByteOfWord", "CByte(\"a\")", ErrNum::TypeMismatch},
    {"CByteOfNull", "CByte(Null)", ErrNum::InvalidUseOfNull},
    {"CByteWithTwoArguments", "CByte(1, 2)", ErrNum::WrongArgumentCount},
    {"CSngBeyondLargestSingle", "CSng(3.5E+38)", ErrNum::Overflow},
    {"CSngWithoutArgument", "CSng()", ErrNum::WrongArgumentCount},
    {"CCurOfFirstDoubleBeyondRange", "CCur(922337203685477.625)", ErrNum::Overflow},
    {"CCurOfLowestDoubleBeyondRange", "CCur(-922337203685477.625)", ErrNum::Overflow},
    {"CCurOfWord", "CCur(\"abc\")", ErrNum::TypeMismatch},
    {"CCurWithTwoArguments", "CCur(1, 2)", ErrNum::WrongArgumentCount},
    {"CurrencySumBeyondRange", CUR_MAX " + CCur(0.0001)", ErrNum::Overflow},
    {"CurrencyDifferenceBeyondRange", CUR_MIN " - CCur(0.0001)", ErrNum::Overflow},
    {"CurrencyProductBeyondRange", CUR_MAX " * CSng(2)", ErrNum::Overflow},
    {"CurrencyPlusHugeDouble", "CCur(1) + 1E+300", ErrNum::Overflow},
    {"NegatedSmallestCurrency", "-" CUR_MIN, ErrNum::Overflow},
    {"AbsOfSmallestCurrency", "Abs(" CUR_MIN ")", ErrNum::Overflow},
    {"IntOfSmallestCurrency", "Int(" CUR_MIN ")", ErrNum::Overflow},
    {"RoundOfLargestCurrency", "Round(" CUR_MAX ")", ErrNum::Overflow},
    {"HexOfCurrencyBeyondLong", "Hex(CCur(3000000000))", ErrNum::Overflow},
    {"SingleQuotientBeyondDouble", "CSng(3E+38) / 1E-300", ErrNum::Overflow},
    {"CurrencyPlusWord", "CCur(1) + \"a\"", ErrNum::TypeMismatch},
    {"ByteDividedByZeroByte", "CByte(1) / CByte(0)", ErrNum::DivisionByZero},
    {"RoundCurrencyToNegativeDecimals", "Round(CCur(1), -1)", ErrNum::InvalidCall},
    {"SqrOfNegativeSingle", "Sqr(CSng(-1))", ErrNum::InvalidCall},
};
INSTANTIATE_TEST_SUITE_P(Subtypes, SubtypeFailures, testing::ValuesIn(kFailures), test::RowName());

}  // namespace
}  // namespace quon::script
