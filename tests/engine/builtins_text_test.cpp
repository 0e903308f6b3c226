// The built-ins on texts, one row per rule, with their failures.
#include <gtest/gtest.h>

#include "support/engine_cases.h"

namespace quon::script {
namespace {

using test::FailureCase;
using test::ValueCase;

class TextBuiltins : public testing::TestWithParam<ValueCase> {};
TEST_P(TextBuiltins, EvaluateToValueAndKind) { test::ExpectValue(GetParam()); }

const ValueCase kTextCases[] = {
    {"LenCountsCharacters", "Len(\"abc\")", Kind::Long, "3"},
    {"LenOfNumberCountsItsText", "Len(1/4)", Kind::Long, "4"},
    {"LenOfEmptyIsZero", "Len(x)", Kind::Long, "0"},
    {"LenOfNullIsNull", "Len(Null)", Kind::Null, ""},
    {"LeftTakesTheFirst", "Left(\"abcdef\", 2)", Kind::String, "ab"},
    {"LeftBeyondTheLengthTakesAll", "Left(\"ab\", 5)", Kind::String, "ab"},
    {"LeftRoundsItsCountHalfEven", "Left(\"abcdef\", 2.5)", Kind::String, "ab"},
    {"LeftOfNullIsNull", "Left(Null, 1)", Kind::Null, ""},
    {"RightTakesTheLast", "Right(\"abcdef\", 2)", Kind::String, "ef"},
    {"MidTakesFromStart", "Mid(\"abcdef\", 2, 3)", Kind::String, "bcd"},
    {"MidWithoutLengthRunsToTheEnd", "Mid(\"abcdef\", 4)", Kind::String, "def"},
    {"MidBeyondTheEndIsEmpty", "Mid(\"abc\", 5)", Kind::String, ""},
    {"InStrFindsTheFirst", "InStr(\"abcabc\", \"c\")", Kind::Long, "3"},
    {"InStrFromStart", "InStr(4, \"abcabc\", \"c\")", Kind::Long, "6"},
    {"InStrTextCompareIgnoresCase", "InStr(1, \"ABC\", \"b\", 1)", Kind::Long, "2"},
    {"InStrBinaryCompareHeedsCase", "InStr(1, \"ABC\", \"b\", vbBinaryCompare)", Kind::Long, "0"},
    {"InStrOfEmptyTextSoughtIsStart", "InStr(2, \"abc\", \"\")", Kind::Long, "2"},
    {"InStrInEmptyTextIsZero", "InStr(\"\", \"a\")", Kind::Long, "0"},
    {"InStrStartBeyondTheTextIsZero", "InStr(9, \"abc\", \"a\")", Kind::Long, "0"},
    {"InStrOfNullIsNull", "InStr(\"a\", Null)", Kind::Null, ""},
    {"InStrRevFindsTheLast", "InStrRev(\"abcabc\", \"b\")", Kind::Long, "5"},
    {"InStrRevEndsAtStart", "InStrRev(\"abcabc\", \"b\", 4)", Kind::Long, "2"},
    {"InStrRevTextCompare", "InStrRev(\"abAB\", \"a\", -1, 1)", Kind::Long, "3"},
    {"LCaseLowers", "LCase(\"AbC1\")", Kind::String, "abc1"},
    {"UCaseUppers", "UCase(\"AbC1\")", Kind::String, "ABC1"},
    {"UCaseOfNullIsNull", "UCase(Null)", Kind::Null, ""},
    {"LTrimDropsLeadingBlanks", "LTrim(\"  a  \")", Kind::String, "a  "},
    {"RTrimDropsTrailingBlanks", "RTrim(\"  a  \")", Kind::String, "  a"},
    {"TrimDropsBoth", "Trim(\"  a  \")", Kind::String, "a"},
    {"TrimKeepsTabs", "Trim(vbTab & \"a \")", Kind::String, "\ta"},
    {"SpaceRepeatsBlanks", "Space(3)", Kind::String, "   "},
    {"StringRepeatsTheFirstCharacter", "String(3, \"xy\")", Kind::String, "xxx"},
    {"StringOfCodeTakesItModulo256", "String(2, 321)", Kind::String, "AA"},
    {"StringOfNullIsNull", "String(Null, \"a\")", Kind::Null, ""},
    {"StrCompGreater", "StrComp(\"b\", \"a\")", Kind::Integer, "1"},
    {"StrCompBinaryHeedsCase", "StrComp(\"A\", \"a\")", Kind::Integer, "-1"},
    {"StrCompTextIgnoresCase", "StrComp(\"A\", \"a\", vbTextCompare)", Kind::Integer, "0"},
    {"StrCompShorterFirst", "StrComp(\"ab\", \"abc\")", Kind::Integer, "-1"},
    {"StrReverseReverses", "StrReverse(\"abc\")", Kind::String, "cba"},
    {"ReplaceEvery", "Replace(\"aXbXc\", \"X\", \"-\")", Kind::String, "a-b-c"},
    {"ReplaceStartDropsTheBeginning", "Replace(\"aXbXc\", \"X\", \"-\", 3)", Kind::String, "b-c"},
    {"ReplaceCountAndTextCompare", "Replace(\"aXbXc\", \"x\", \"-\", 1, 1, 1)", Kind::String,
     "a-bXc"},
    {"ReplaceOfEmptyFindCopies", "Replace(\"abc\", \"\", \"-\")", Kind::String, "abc"},
    {"ReplaceStartBeyondTheTextIsEmpty", "Replace(\"abc\", \"a\", \"-\", 9)", Kind::String, ""},
    {"ChrOfCode", "Chr(65)", Kind::String, "A"},
    {"AscOfFirstCharacter", "Asc(\"abc\")", Kind::Integer, "97"},
    {"AscOfNumberUsesItsText", "Asc(7)", Kind::Integer, "55"},
};

INSTANTIATE_TEST_SUITE_P(Texts, TextBuiltins, testing::ValuesIn(kTextCases), test::RowName());

class TextBuiltinFailures : public testing::TestWithParam<FailureCase> {};
TEST_P(TextBuiltinFailures, FailWithErrorNumber) { test::ExpectFailure(GetParam()); }

const FailureCase kTextFailures[] = {
    {"LeftWithNegativeCount", "Left(\"a\", -1)", ErrNum::InvalidCall},
    {"MidFromZero", "Mid(\"a\", 0)", ErrNum::InvalidCall},
    {"MidWithNegativeLength", "Mid(\"a\", 1, -1)", ErrNum::InvalidCall},
    {"InStrFromZero", "InStr(0, \"a\", \"a\")", ErrNum::InvalidCall},
    {"InStrWithUnknownCompare", "InStr(1, \"a\", \"a\", 2)", ErrNum::InvalidCall},
    {"InStrRevFromZero", "InStrRev(\"a\", \"a\", 0)", ErrNum::InvalidCall},
    {"SpaceNegative", "Space(-1)", ErrNum::InvalidCall},
    {"StringOfEmptyText", "String(2, \"\")", ErrNum::InvalidCall},
    {"ChrBeyondAByte", "Chr(256)", ErrNum::InvalidCall},
    {"AscOfEmptyText", "Asc(\"\")", ErrNum::InvalidCall},
    {"LeftCountBeyondLong", "Left(\"a\", 3E10)", ErrNum::Overflow},
    {"LeftCountNotANumber", "Left(\"a\", \"x\")", ErrNum::TypeMismatch},
    {"SpaceOfNull", "Space(Null)", ErrNum::InvalidUseOfNull},
    {"AscOfNull", "Asc(Null)", ErrNum::InvalidUseOfNull},
    {"StrReverseOfNull", "StrReverse(Null)", ErrNum::InvalidUseOfNull},
    {"ReplaceInNull", "Replace(Null, \"a\", \"b\")", ErrNum::InvalidUseOfNull},
    {"SpaceBeyondTheLongestText", "Space(1E9)", ErrNum::OutOfStringSpace},
    {"StringBeyondTheLongestText", "String(2E9, \"a\")", ErrNum::OutOfStringSpace},
    {"ReplaceGrowsBeyondTheLongestText", "Replace(Space(4000), \" \", Space(5000))",
     ErrNum::OutOfStringSpace},
    {"JoinBeyondTheLongestText", "Space(9000000) & Space(9000000)", ErrNum::OutOfStringSpace},
    {"LenWithoutArgument", "Len()", ErrNum::WrongArgumentCount},
    {"MidWithFourArguments", "Mid(\"a\", 1, 1, 1)", ErrNum::WrongArgumentCount},
    {"ReplaceWithTwoArguments", "Replace(\"a\", \"b\")", ErrNum::WrongArgumentCount},
};

INSTANTIATE_TEST_SUITE_P(Texts, TextBuiltinFailures, testing::ValuesIn(kTextFailures),
                         test::RowName());

}  // namespace
}  // namespace quon::script
