// The built-ins about values and kinds, and the named constants with their subtypes.
#include <gtest/gtest.h>

#include "support/engine_cases.h"

namespace quon::script {
namespace {

using test::FailureCase;
using test::ValueCase;

class InfoBuiltins : public testing::TestWithParam<ValueCase> {};
TEST_P(InfoBuiltins, EvaluateToValueAndKind) { test::ExpectValue(GetParam()); }

const ValueCase kInfoCases[] = {
    {"IsNumericOfNumber", "IsNumeric(1.5)", Kind::Boolean, "True"},
    {"IsNumericOfNumericText", "IsNumeric(\" 1.5E3 \")", Kind::Boolean, "True"},
    {"IsNumericOfHexText", "IsNumeric(\"&H1F\")", Kind::Boolean, "True"},
    {"IsNumericOfWord", "IsNumeric(\"1a\")", Kind::Boolean, "False"},
    {"IsNumericOfTextBeyondDouble", "IsNumeric(\"1E999\")", Kind::Boolean, "False"},
    {"IsNumericOfEmpty", "IsNumeric(x)", Kind::Boolean, "True"},
    {"IsNumericOfNull", "IsNumeric(Null)", Kind::Boolean, "False"},
    {"IsEmptyOfUnassigned", "IsEmpty(x)", Kind::Boolean, "True"},
    {"IsEmptyOfZero", "IsEmpty(0)", Kind::Boolean, "False"},
    {"IsNullOfNull", "IsNull(Null)", Kind::Boolean, "True"},
    {"IsNullOfEmptyText", "IsNull(\"\")", Kind::Boolean, "False"},
    {"IsArrayOfNumber", "IsArray(1)", Kind::Boolean, "False"},
    {"IsObjectOfNumber", "IsObject(1)", Kind::Boolean, "False"},
    {"VarTypeOfEmpty", "VarType(x)", Kind::Integer, "0"},
    {"VarTypeOfLong", "VarType(40000)", Kind::Integer, "3"},
    {"VarTypeOfDouble", "VarType(0.5)", Kind::Integer, "5"},
    {"VarTypeOfText", "VarType(\"a\")", Kind::Integer, "8"},
    {"VarTypeOfBoolean", "VarType(True)", Kind::Integer, "11"},
    {"HexOfByte", "Hex(255)", Kind::String, "FF"},
    {"HexOfNegativeIntegerIs16Bits", "Hex(-1)", Kind::String, "FFFF"},
    {"HexOfNegativeLongIs32Bits", "Hex(CLng(-1))", Kind::String, "FFFFFFFF"},
    {"HexRoundsHalfEven", "Hex(2.5)", Kind::String, "2"},
    {"HexOfEmptyIsZero", "Hex(x)", Kind::String, "0"},
    {"HexOfNullIsNull", "Hex(Null)", Kind::Null, ""},
    {"OctOfEight", "Oct(8)", Kind::String, "10"},
    {"OctOfNegativeInteger", "Oct(-1)", Kind::String, "177777"},
    {"RgbCombinesParts", "RGB(1, 2, 3)", Kind::Long, "197121"},
    {"RgbTakes255ForLargerParts", "RGB(300, 0, 0)", Kind::Long, "255"},
    {"ScriptEngineName", "ScriptEngine()", Kind::String, "VBScript"},
    {"ScriptEngineVersion", "ScriptEngineMajorVersion & \".\" & ScriptEngineMinorVersion",
     Kind::String, "5.8"},
    {"ScriptEngineBuildIsLong", "TypeName(ScriptEngineBuildVersion)", Kind::String, "Long"},
    // Named constants.
    {"VbCrLfIsTwoCharacters", "vbCrLf", Kind::String, "\r\n"},
    {"VbNewLineIsCrLf", "vbNewLine = vbCr & vbLf", Kind::Boolean, "True"},
    {"VbNullCharIsCodeZero", "Asc(vbNullChar)", Kind::Integer, "0"},
    {"VbNullStringIsEmptyText", "vbNullString", Kind::String, ""},
    {"VbTrueIsIntegerMinusOne", "vbTrue", Kind::Integer, "-1"},
    {"VbUseDefault", "vbUseDefault", Kind::Integer, "-2"},
    {"VbObjectErrorIsLong", "vbObjectError", Kind::Long, "-2147221504"},
    {"VarTypeConstantsMatchVarType", "VarType(1.5) = vbDouble And VarType(\"\") = vbString",
     Kind::Boolean, "True"},
    {"VbArray", "vbArray", Kind::Integer, "8192"},
    {"ColourBeyondIntegerIsLong", "vbWhite", Kind::Long, "16777215"},
    {"ConstantNamesIgnoreCase", "VBTEXTCOMPARE", Kind::Integer, "1"},
};

INSTANTIATE_TEST_SUITE_P(Info, InfoBuiltins, testing::ValuesIn(kInfoCases), test::RowName());

class InfoBuiltinFailures : public testing::TestWithParam<FailureCase> {};
TEST_P(InfoBuiltinFailures, FailWithErrorNumber) { test::ExpectFailure(GetParam()); }

const FailureCase kInfoFailures[] = {
    {"RgbOfNegativePart", "RGB(-1, 0, 0)", ErrNum::InvalidCall},
    {"HexBeyondLong", "Hex(3E10)", ErrNum::Overflow},
    {"HexOfWord", "Hex(\"abc\")", ErrNum::TypeMismatch},
    {"HexWithoutArgument", "Hex()", ErrNum::WrongArgumentCount},
    {"RgbWithTwoParts", "RGB(1, 2)", ErrNum::WrongArgumentCount},
    {"ScriptEngineWithArgument", "ScriptEngine(1)", ErrNum::WrongArgumentCount},
    {"ConstantCalled", "vbCr(1)", ErrNum::TypeMismatch},
};

INSTANTIATE_TEST_SUITE_P(Info, InfoBuiltinFailures, testing::ValuesIn(kInfoFailures),
                         test::RowName());

TEST(NamedConstants, CannotBeAssigned) {
  Engine engine;
  EXPECT_THROW(engine.ExecuteStatement("vbCr = 1"), ScriptError);
  EXPECT_EQ(engine.Error().Number, static_cast<int32_t>(ErrNum::IllegalAssignment));
  EXPECT_EQ(engine.Eval("vbCr").text, "\r");
}

}  // namespace
}  // namespace quon::script
