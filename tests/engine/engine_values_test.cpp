// The language's values, kinds and operator rules, one row per rule: each expression is
// evaluated by a fresh engine and its value and kind compared.
#include <gtest/gtest.h>

#include "support/engine_cases.h"

namespace quon::script {
namespace {

using test::FailureCase;
using test::ValueCase;

class EngineValues : public testing::TestWithParam<ValueCase> {};

TEST_P(EngineValues, EvaluatesToValueAndKind) { test::ExpectValue(GetParam()); }

const ValueCase kValueCases[] = {
    // Literals and their typing.
    {"SmallWholeLiteralIsInteger", "32767", Kind::Integer, "32767"},
    {"LargerWholeLiteralIsLong", "32768", Kind::Long, "32768"},
    {"HugeWholeLiteralIsDouble", "2147483648", Kind::Double, "2147483648"},
    {"LiteralWithTrailingPointIsDouble", "1.", Kind::Double, "1"},
    {"LiteralWithLeadingPointIsDouble", ".5", Kind::Double, "0.5"},
    {"ExponentLiteralIsDouble", "1.5E+20", Kind::Double, "1.5E+20"},
    {"ExponentOfWholeNumberIsDouble", "1e3", Kind::Double, "1000"},
    {"TinyLiteralUnderflowsToZero", "1e-400", Kind::Double, "0"},
    {"HexFFFFIsIntegerMinusOne", "&HFFFF", Kind::Integer, "-1"},
    {"Hex10000IsLong", "&H10000", Kind::Long, "65536"},
    {"HexSuffixKeepsSmallestKind", "&H10&", Kind::Integer, "16"},
    {"OctalSuffix", "&O100000&", Kind::Long, "32768"},
    {"AmpersandBeforeNameIsConcatenation", "\"x\" &hi", Kind::String, "x"},
    {"AmpersandOBeforeNonOctalIsConcatenation", "1 &O8", Kind::String, "1"},
    {"EqualGreaterIsGreaterOrEqual", "2 => 2", Kind::Boolean, "True"},
    {"EqualLessIsLessOrEqual", "3 =< 2", Kind::Boolean, "False"},
    {"GreaterLessIsNotEqual", "1 >< 2", Kind::Boolean, "True"},
    {"DoubledQuoteInText", "\"a\"\"b\"", Kind::String, "a\"b"},
    {"TrueKeyword", "TRUE", Kind::Boolean, "True"},
    {"NegatedMinimumIntegerIsLong", "-32768", Kind::Long, "-32768"},
    // Precedence and associativity.
    {"UnaryMinusBindsTighterThanPower", "-2^2", Kind::Double, "4"},
    {"SubtractionBindsLooserThanPower", "0-2^2", Kind::Double, "-4"},
    {"PowerIsLeftAssociative", "2^3^2", Kind::Double, "64"},
    {"NegativeExponent", "2^-2", Kind::Double, "0.25"},
    {"MultiplicationBeforeIntegerDivision", "8\\2*2", Kind::Integer, "2"},
    {"MultiplicationBeforeMod", "10 Mod 3*2", Kind::Integer, "4"},
    {"IntegerDivisionBeforeMod", "7 Mod 5\\2", Kind::Integer, "1"},
    {"ModBeforeAddition", "1 + 7 Mod 4", Kind::Integer, "4"},
    {"AdditionBeforeConcatenation", "1 & 2 + 3", Kind::String, "15"},
    {"ConcatenationBeforeComparison", "1 & 2 = \"12\"", Kind::Boolean, "True"},
    {"ComparisonsChainLeftToRight", "3 > 2 > 1", Kind::Boolean, "False"},
    {"NotBindsLooserThanComparison", "Not 1 = 2", Kind::Boolean, "True"},
    {"AndBeforeOr", "True Or True And False", Kind::Boolean, "True"},
    {"OrBeforeXor", "True Xor True Or False", Kind::Boolean, "False"},
    {"ImpIsLoosest", "False Imp True Eqv False", Kind::Boolean, "True"},
    {"ParenthesesGroup", "(1 + 2) * 3", Kind::Integer, "9"},
    // Arithmetic kinds and widening.
    {"IntegerOverflowWidensToLong", "32767+1", Kind::Long, "32768"},
    {"IntegerProductWidensToLong", "200*200", Kind::Long, "40000"},
    {"LongOverflowWidensToDouble", "2147483647+1", Kind::Double, "2147483648"},
    {"DivisionGivesDouble", "6/3", Kind::Double, "2"},
    {"IntegerTimesDoubleIsDouble", "2*1.5", Kind::Double, "3"},
    {"BooleanArithmeticIsInteger", "True + True", Kind::Integer, "-2"},
    {"NegatedTrueIsIntegerOne", "-True", Kind::Integer, "1"},
    // Integer division and Mod.
    {"IntegerDivisionRoundsOperandsHalfEven", "5.5\\2", Kind::Long, "3"},
    {"IntegerDivisionRoundsHalfDown", "4.5\\1", Kind::Long, "4"},
    {"ModRoundsDivisor", "5 Mod 2.5", Kind::Long, "1"},
    {"ModSignFollowsDividend", "-5 Mod 3", Kind::Integer, "-2"},
    {"ModOfPositiveByNegative", "5 Mod -3", Kind::Integer, "2"},
    {"IntegerDivisionTruncates", "-7\\2", Kind::Integer, "-3"},
    // Texts and numbers.
    {"TextPlusNumberAdds", "\"3\"+4", Kind::Double, "7"},
    {"TextPlusTextJoins", "\"3\"+\"4\"", Kind::String, "34"},
    {"BlanksAroundNumericText", "\" 3 \"+1", Kind::Double, "4"},
    {"TextTimesTextMultiplies", "\"3\"*\"4\"", Kind::Double, "12"},
    {"ConcatenationWritesDoubles", "1/4 & \"\"", Kind::String, "0.25"},
    {"ConcatenationWritesBooleans", "True & 1", Kind::String, "True1"},
    {"TextComparison", "\"a\" < \"b\"", Kind::Boolean, "True"},
    {"NumberSortsBeforeText", "1 < \"a\"", Kind::Boolean, "True"},
    // Empty and Null.
    {"UnassignedNameIsEmpty", "x", Kind::Empty, ""},
    {"EmptyCountsAsZero", "x + 1", Kind::Integer, "1"},
    {"EmptyTimesNumberIsInteger", "x * 5", Kind::Integer, "0"},
    {"EmptyPlusTextIsText", "x + \"a\"", Kind::String, "a"},
    {"EmptyEqualsEmptyText", "x = \"\"", Kind::Boolean, "True"},
    {"NullPropagatesThroughArithmetic", "Null + 1", Kind::Null, ""},
    {"NullPropagatesThroughComparison", "Null = Null", Kind::Null, ""},
    {"NullConcatenatesAsNothing", "Null & \"a\"", Kind::String, "a"},
    {"FalseAndNullIsFalse", "False And Null", Kind::Boolean, "False"},
    {"TrueOrNullIsTrue", "True Or Null", Kind::Boolean, "True"},
    {"TrueAndNullIsNull", "True And Null", Kind::Null, ""},
    // Logical operators on numbers are bitwise.
    {"NotOfOneIsMinusTwo", "Not 1", Kind::Integer, "-2"},
    {"NotOfTrueIsFalse", "Not True", Kind::Boolean, "False"},
    {"AndIsBitwise", "6 And 3", Kind::Integer, "2"},
    {"OrIsBitwise", "6 Or 3", Kind::Integer, "7"},
    {"XorIsBitwise", "6 Xor 3", Kind::Integer, "5"},
    {"EqvIsBitwise", "6 Eqv 3", Kind::Integer, "-6"},
    {"ImpIsBitwise", "6 Imp 3", Kind::Integer, "-5"},
    {"LogicalOnDoubleRoundsToLong", "2.5 Or 0", Kind::Long, "2"},
    // Built-in functions.
    {"AbsOfMinimumIntegerWidens", "Abs(-32768)", Kind::Long, "32768"},
    {"AbsOfDouble", "Abs(-2.5)", Kind::Double, "2.5"},
    {"AtnOfOne", "Atn(1)*4", Kind::Double, "3.14159265358979"},
    {"CosOfZero", "Cos(0)", Kind::Double, "1"},
    {"ExpOfOne", "Exp(1)", Kind::Double, "2.71828182845905"},
    {"FixTruncates", "Fix(-2.5)", Kind::Double, "-2"},
    {"IntFloors", "Int(-2.5)", Kind::Double, "-3"},
    {"IntKeepsInteger", "Int(7)", Kind::Integer, "7"},
    {"LogOfE", "Log(Exp(2))", Kind::Double, "2"},
    {"SgnIsInteger", "Sgn(-0.5)", Kind::Integer, "-1"},
    {"SqrOfFour", "Sqr(4)", Kind::Double, "2"},
    {"TanOfZero", "Tan(0)", Kind::Double, "0"},
    {"RoundHalfToEvenDown", "Round(2.5)", Kind::Double, "2"},
    {"RoundHalfToEvenUp", "Round(3.5)", Kind::Double, "4"},
    {"RoundToDecimals", "Round(1.2345, 2)", Kind::Double, "1.23"},
    {"RoundKeepsInteger", "Round(7)", Kind::Integer, "7"},
    {"RoundKeepsBoolean", "Round(True)", Kind::Boolean, "True"},
    {"CDblOfText", "CDbl(\"1.5\")", Kind::Double, "1.5"},
    {"CIntRoundsHalfToEven", "CInt(2.5)", Kind::Integer, "2"},
    {"CIntRoundsOtherHalfUp", "CInt(3.5)", Kind::Integer, "4"},
    {"CLngRoundsNegativeHalf", "CLng(-2.5)", Kind::Long, "-2"},
    {"CBoolOfNumber", "CBool(0.5)", Kind::Boolean, "True"},
    {"CBoolOfText", "CBool(\"false\")", Kind::Boolean, "False"},
    {"CBoolOfFileSpelling", "CBool(\"#TRUE#\")", Kind::Boolean, "True"},
    {"CStrOfDouble", "CStr(1/3)", Kind::String, "0.333333333333333"},
    // Names and comments.
    {"FunctionNamesIgnoreCase", "SIN(0) + sIn(0)", Kind::Double, "0"},
    {"ApostropheStartsComment", "1 + 2 ' and the rest", Kind::Integer, "3"},
    {"LineContinuation", "1 + _\n 2", Kind::Integer, "3"},
    {"BlanksAndTabsIgnored", " \t1\t+ 2 ", Kind::Integer, "3"},
};

INSTANTIATE_TEST_SUITE_P(Language, EngineValues, testing::ValuesIn(kValueCases), test::RowName());

class EngineFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(EngineFailures, FailsWithErrorNumber) { test::ExpectFailure(GetParam()); }

const FailureCase kFailureCases[] = {
    {"LogOfZero", "Log(0)", ErrNum::InvalidCall},
    {"SqrOfNegative", "Sqr(-1)", ErrNum::InvalidCall},
    {"RootOfNegativeBase", "(-8)^(1/3)", ErrNum::InvalidCall},
    {"RoundToNegativeDecimals", "Round(1, -1)", ErrNum::InvalidCall},
    {"ExpBeyondRange", "Exp(710)", ErrNum::Overflow},
    {"ZeroByZero", "0/0", ErrNum::Overflow},
    {"CIntBeyondInteger", "CInt(40000)", ErrNum::Overflow},
    {"CLngBeyondLong", "CLng(2147483647.5)", ErrNum::Overflow},
    {"ProductBeyondDouble", "1e300*1e300", ErrNum::Overflow},
    {"PowerBeyondDouble", "10^400", ErrNum::Overflow},
    {"IntegerDivisionBeyondLong", "3e10\\2", ErrNum::Overflow},
    {"ModBeyondLong", "3e10 Mod 2", ErrNum::Overflow},
    {"LogicalBeyondLong", "3e10 And 1", ErrNum::Overflow},
    {"DivisionByZero", "1/0", ErrNum::DivisionByZero},
    {"IntegerDivisionByZero", "1\\0", ErrNum::DivisionByZero},
    {"ModByHalfRoundsToZero", "5 Mod 0.5", ErrNum::DivisionByZero},
    {"NonNumericTextPlusNumber", "\"abc\"+1", ErrNum::TypeMismatch},
    {"EmptyTextPlusNumber", "\"\"+1", ErrNum::TypeMismatch},
    {"NegatedText", "-\"abc\"", ErrNum::TypeMismatch},
    {"CBoolOfWord", "CBool(\"yes\")", ErrNum::TypeMismatch},
    {"UnknownFunction", "foo(1)", ErrNum::TypeMismatch},
    {"VariableCalledAsFunction", "x(1)", ErrNum::TypeMismatch},
    {"SqrOfNull", "Sqr(Null)", ErrNum::InvalidUseOfNull},
    {"TooManyArguments", "Sin(1, 2)", ErrNum::WrongArgumentCount},
    {"NoArguments", "Sin()", ErrNum::WrongArgumentCount},
    {"FunctionWithoutArguments", "Sin + 1", ErrNum::WrongArgumentCount},
    {"NumberFollowedByName", "2x", ErrNum::SyntaxError},
    {"MissingOperand", "1 +", ErrNum::SyntaxError},
    {"EmptyText", "", ErrNum::SyntaxError},
    {"ReservedWordAsName", "If + 1", ErrNum::SyntaxError},
    {"RemInsideExpression", "1 + rem", ErrNum::SyntaxError},
    {"UnterminatedText", "\"abc", ErrNum::SyntaxError},
    {"ControlCharacter", "1 +\x01 2", ErrNum::SyntaxError},
    {"NonAsciiCharacter", "1 + \xc3\xa9", ErrNum::SyntaxError},
    {"LiteralBeyondDouble", "1e400", ErrNum::SyntaxError},
    {"HexBeyond32Bits", "&H100000000", ErrNum::SyntaxError},
    {"HexWithInvalidDigit", "&H1G", ErrNum::SyntaxError},
    {"IncompleteExponent", "1e+", ErrNum::SyntaxError},
    {"AssignmentIsNoExpression", "1 : 2", ErrNum::SyntaxError},
    {"CommaOutsideCall", "(1, 2)", ErrNum::SyntaxError},
};

INSTANTIATE_TEST_SUITE_P(Language, EngineFailures, testing::ValuesIn(kFailureCases),
                         test::RowName());

}  // namespace
}  // namespace quon::script
