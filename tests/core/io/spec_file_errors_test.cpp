#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/io/spec_file.h"
#include "support/file_test_support.h"

namespace quon {
namespace {

using test::DataPath;
using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

const char* const kRecordX = "\"x\",0,2,\"*\",#TRUE#,\"*\",2\r\n";
const char* const kTextFile = "\"x^2\"\r\n 0 \r\n";

struct MalformedCase {
  const char* name;
  std::string main;
  const char* problem;  // part of the message
  std::string textFile = kTextFile;
  bool inTextFile = false;  // the message names the text file
};

class MalformedPair : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedPair, IsRefusedNamingTheFileAndTheProblem) {
  const MalformedCase& c = GetParam();
  try {
    ParseSpecFile(c.main, c.textFile, "dir/p.qsp");
    FAIL() << "accepted";
  } catch (const SpecFileError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find(c.problem), std::string::npos) << message;
    EXPECT_EQ(message.rfind(c.inTextFile ? "dir/p.qsp.str, line " : "dir/p.qsp, line ", 0), 0u)
        << message;
  }
}

std::string Main(const std::string& body) { return std::string(" 0 \r\n") + kRecordX + body; }

const MalformedCase kMalformed[] = {
    {"EmptyMainFile", "", "ends before the number of variables"},
    {"FiveVariables", " 4 \r\n", "1 to 4"},
    {"NegativeVariableCount", "-1 \r\n", "1 to 4"},
    {"HugeVariableCount", " 1E+300 \r\n", "1 to 4"},
    {"VariableCountNotANumber", "two\r\n", "not a number"},
    {"RecordCutShort", " 0 \r\n\"x\",0,2\r\n", "ends before the center of expansion of variable 1"},
    {"LimitNotANumber", " 0 \r\n\"x\",abc,2,\"*\",#TRUE#,\"*\",2\r\n#FALSE#\r\n",
     "the lower limit of variable 1 is not a number: \"abc\""},
    {"TwoPointsInANumber", " 0 \r\n\"x\",0,1.2.3,\"*\",#TRUE#,\"*\",2\r\n#FALSE#\r\n",
     "the upper limit of variable 1 is not a number"},
    {"KindNotABoolean", " 0 \r\n\"x\",0,2,\"*\",1,\"*\",2\r\n#FALSE#\r\n",
     "the kind of terms of variable 1 is not #TRUE# or #FALSE#"},
    {"KindMisspelt", " 0 \r\n\"x\",0,2,\"*\",\"CHEB\",\"*\",2\r\n#FALSE#\r\n",
     "is not #TRUE# or #FALSE# (nor \"CHEBYSHEV\"): \"CHEB\""},
    {"KindNameUnquoted", " 0 \r\n\"x\",0,2,\"*\",CHEBYSHEV,\"*\",2\r\n#FALSE#\r\n",
     "the kind of terms of variable 1 is not #TRUE# or #FALSE# (nor \"CHEBYSHEV\")"},
    {"UnclosedQuote", " 0 \r\n\"x,0,2\r\n", "the name of variable 1 has no closing quote"},
    {"TextAfterClosingQuote", " 0 \r\n\"x\"y,0,2\r\n",
     "after the closing quote of the name of variable 1"},
    {"LimitNaN", " 0 \r\n\"x\",NaN,2,\"*\",#TRUE#,\"*\",2\r\n#FALSE#\r\n",
     "the lower limit of variable 1 is not a finite number: \"NaN\""},
    {"LimitInfinity", " 0 \r\n\"x\",0,Infinity,\"*\",#TRUE#,\"*\",2\r\n#FALSE#\r\n",
     "the upper limit of variable 1 is not a finite number: \"Infinity\""},
    {"LimitBeyondTheLargestDouble", " 1 \r\n\"x\",0,1,\"*\",#TRUE#,\"*\",2\r\n\"y\",1E+999,2",
     "line 3: the lower limit of variable 2 is not a finite number: \"1E+999\""},
    {"NameWithATrailingBlank", " 0 \r\n\"x \",0,2,\"*\",#TRUE#,\"*\",2\r\n#FALSE#\r\n",
     "line 2: the name \"x \" has blanks or control characters around it"},
    {"NameWithACarriageReturn", " 0 \r\n\"x\r\",0,2,\"*\",#TRUE#,\"*\",2\r\n#FALSE#\r\n",
     "the name \"x?\" has blanks or control characters around it"},
    {"NamesThatDifferInCase",
     " 1 \r\n\"x\",0,2,\"*\",#TRUE#,\"*\",2\r\n\"X\",0,2,\"*\",#TRUE#,\"*\",2\r\n#FALSE#\r\n",
     "line 3: the names \"x\" and \"X\" name one variable"},
    {"OneTerm", " 0 \r\n\"x\",0,2,\"*\",#TRUE#,\"*\",0\r\n#FALSE#\r\n",
     "variable 1 has fewer than 2 terms"},
    {"TermsBeyondInt32", " 0 \r\n\"x\",0,2,\"*\",#TRUE#,\"*\",3E+09\r\n#FALSE#\r\n",
     "the number of terms of variable 1 is out of range"},
    {"NoResultsFlag", Main(""), "ends before the results flag"},
    {"FewerCoefficients", Main("#TRUE#\r\n 1 \r\n 2 \r\n"), "ends before a coefficient"},
    {"MoreCoefficients", Main("#TRUE#\r\n 1 \r\n 2 \r\n 1 \r\n 5 \r\n"), "more coefficients"},
    {"CoefficientsAfterFalse", Main("#FALSE#\r\n 1 \r\n"), "more than its results flag"},
    {"CoefficientNotANumber", Main("#TRUE#\r\n 1 \r\n x \r\n 1 \r\n"),
     "a coefficient is not a number"},
    {"GridFarLargerThanTheFile",
     " 3 \r\n\"x\",0,1,\"*\",#TRUE#,\"*\",999\r\n\"y\",0,1,\"*\",#TRUE#,\"*\",999\r\n"
     "\"z\",0,1,\"*\",#TRUE#,\"*\",999\r\n\"t\",0,1,\"*\",#TRUE#,\"*\",999\r\n#TRUE#\r\n 1 \r\n",
     "too large"},
    {"EmptyTextFile", Main("#FALSE#\r\n"), "ends before the function", "", true},
    {"NoConstantCount", Main("#FALSE#\r\n"), "ends before the number of constants", "\"x^2\"\r\n",
     true},
    {"TooManyConstants", Main("#FALSE#\r\n"), "the number of constants must be 0 to 101",
     "\"x^2\"\r\n 102 \r\n", true},
    {"NegativeConstantCount", Main("#FALSE#\r\n"), "the number of constants must be 0 to 101",
     "\"x^2\"\r\n-1 \r\n", true},
    {"ConstantsEndEarly", Main("#FALSE#\r\n"), "ends before constant 2",
     "\"x^2\"\r\n 2 \r\na=1\r\n", true},
    {"MoreConstantsThanCounted", Main("#FALSE#\r\n"), "more lines than its 1 constants",
     "\"x^2\"\r\n 1 \r\na=1\r\nb=2\r\n", true},
};

INSTANTIATE_TEST_SUITE_P(Files, MalformedPair, testing::ValuesIn(kMalformed),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SpecFileOpen, TrailingBlankLinesAreAccepted) {
  const SpecFileContents contents =
      ParseSpecFile(Main("#FALSE#\r\n\r\n  \r\n"), "\"x^2\"\r\n 1 \r\na=1\r\n\r\n", "p");
  EXPECT_EQ(contents.Constants, std::vector<std::string>{"a=1"});
}

// A refused open leaves the problem held before exactly as it was.
class RefusedOpen : public testing::Test {
 protected:
  void SetUp() override {
    OpenSpecFile(DataPath("spec/parabola_with_results.qsp"), model_);
    before_ = model_;
  }
  void ExpectModelUnchanged() const {
    EXPECT_EQ(model_.SpecFile, before_.SpecFile);
    EXPECT_EQ(model_.LastVar, before_.LastVar);
    EXPECT_EQ(model_.VarName, before_.VarName);
    EXPECT_EQ(model_.LastTerm, before_.LastTerm);
    EXPECT_EQ(model_.HaveResults, before_.HaveResults);
    EXPECT_EQ(model_.Equation, before_.Equation);
    EXPECT_EQ(model_.ConstCount, before_.ConstCount);
    ASSERT_EQ(model_.Coef.size(), before_.Coef.size());
    for (std::size_t i = 0; i < model_.Coef.size(); ++i) {
      EXPECT_EQ(model_.Coef.data()[i], before_.Coef.data()[i]);
    }
  }
  ProblemModel model_;
  ProblemModel before_;
  ScratchDir dir_;
};

TEST_F(RefusedOpen, RefusalsChangeNothingAndAMissingTextFileIsNamed) {
  const std::string path = dir_.Path("lonely.qsp");
  WriteBytes(path, ReadBytes(DataPath("spec/two_variables_no_results.qsp")));
  try {
    OpenSpecFile(path, model_);
    FAIL() << "accepted";
  } catch (const SpecFileError& e) {
    EXPECT_NE(std::string(e.what()).find(path + ".str: cannot open"), std::string::npos)
        << e.what();
  }
  ExpectModelUnchanged();
  EXPECT_THROW(OpenSpecFile(dir_.Path("absent.qsp"), model_), SpecFileError);
  ExpectModelUnchanged();
  const std::string bad = dir_.Path("bad.qsp");
  WriteBytes(bad, " 1 \r\n\"a\",0,1,\"*\",#TRUE#,\"*\",3\r\n\"b\",0,1\r\n");
  WriteBytes(bad + ".str", "\"a+b\"\r\n 0 \r\n");
  EXPECT_THROW(OpenSpecFile(bad, model_), SpecFileError);
  ExpectModelUnchanged();
}

// The fields no longer describe the fit: the pair is written without the coefficients.
struct ChangedFieldCase {
  const char* name;
  void (*change)(VariableFields&);
};

class FieldsChangedAfterTheFit : public testing::TestWithParam<ChangedFieldCase> {};

TEST_P(FieldsChangedAfterTheFit, SaveDropsTheCoefficientsAndSaysSo) {
  ProblemModel model;
  EntryFields fields = OpenSpecFile(DataPath("spec/parabola_with_results.qsp"), model);
  GetParam().change(fields.Variables[0]);
  SaveOutcome outcome = SaveOutcome::Saved;
  const SpecFileTexts texts = FormatSpecFile(fields, model, &outcome);
  EXPECT_EQ(outcome, SaveOutcome::SavedWithoutResults);
  EXPECT_TRUE(texts.Main.ends_with("#FALSE#\r\n")) << texts.Main;
  // The model keeps its fit, kind included, and the pair it wrote reads back.
  EXPECT_TRUE(model.HaveResults);
  EXPECT_EQ(model.Kind[0], TermKind::Power);
  EXPECT_NO_THROW(ParseSpecFile(texts.Main, texts.TextFile, "p"));
}

const ChangedFieldCase kChangedFields[] = {
    {"MoreTerms", [](VariableFields& f) { f.Terms = "4"; }},
    {"FractionalTermsRoundingElsewhere", [](VariableFields& f) { f.Terms = "3.6"; }},
    {"LowerLimit", [](VariableFields& f) { f.LowerLimit = "-1"; }},
    {"UpperLimit", [](VariableFields& f) { f.UpperLimit = "2.5"; }},
    {"Center", [](VariableFields& f) { f.Expansion = "0"; }},
    {"Kind", [](VariableFields& f) { f.PowerChecked = false; }},
};

INSTANTIATE_TEST_SUITE_P(Fields, FieldsChangedAfterTheFit, testing::ValuesIn(kChangedFields),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SpecFileSave, UnchangedSpellingsKeepTheCoefficients) {
  ProblemModel model;
  EntryFields fields = OpenSpecFile(DataPath("spec/parabola_with_results.qsp"), model);
  fields.Variables[0].Terms = "3.4";       // still 3 terms
  fields.Variables[0].UpperLimit = "2.0";  // still 2
  fields.Variables[0].Period = "1";        // no effect on power terms
  SaveOutcome outcome = SaveOutcome::SavedWithoutResults;
  const SpecFileTexts texts = FormatSpecFile(fields, model, &outcome);
  EXPECT_EQ(outcome, SaveOutcome::Saved);
  EXPECT_NE(texts.Main.find("#TRUE#\r\n 1 \r\n 2 \r\n 1 \r\n"), std::string::npos) << texts.Main;
  EXPECT_NE(texts.Main.find(",2.4\r\n"), std::string::npos) << texts.Main;
}

TEST(SpecFileSave, KindFromTheFieldsQuotesWholeAndVariablesWithoutFieldsRefused) {
  ProblemModel model;
  model.LastVar = 0;
  model.VarName = {"x"};
  EntryFields fields;
  fields.Variables.resize(1);
  fields.Variables[0].PowerChecked = false;
  const SpecFileTexts texts = FormatSpecFile(fields, model);
  EXPECT_EQ(model.Kind[0], TermKind::Trigonometric);
  EXPECT_EQ(texts.Main, " 0 \r\n\"x\",-5,5,\"*\",#FALSE#,\"*\",9\r\n#FALSE#\r\n");
  EXPECT_EQ(texts.TextFile, "\"x^2*sin(y)+4*cos(z)-t\"\r\n 0 \r\n");
  fields.Variables[0].Expansion = "\"";
  fields.Equation = "Len(\"a\"\"b\")+x, \"\"";
  const SpecFileTexts quoted = FormatSpecFile(fields, model);
  const SpecFileContents back = ParseSpecFile(quoted.Main, quoted.TextFile, "p");
  EXPECT_EQ(back.Equation, fields.Equation);
  EXPECT_EQ(back.Variables[0].CenterText, "\"");
  model.LastVar = 1;
  EXPECT_THROW(FormatSpecFile(fields, model), SpecFileError);
}

// No path may write a variable in use without its name; the old pair then stays as it was.
struct NamesCase {
  const char* name;
  int32_t lastVar;
  std::vector<std::string> names;
  bool refused;
};

class VariableNamesOnSave : public testing::TestWithParam<NamesCase> {};

TEST_P(VariableNamesOnSave, AnEmptyNameInUseIsRefusedAndTheOldPairStays) {
  const NamesCase& c = GetParam();
  ScratchDir dir;
  const std::string path = dir.Path("p.qsp");
  WriteBytes(path, "old");
  ProblemModel model;
  model.LastVar = c.lastVar;
  model.VarName = c.names;
  EntryFields fields;
  fields.Variables.resize(static_cast<std::size_t>(c.lastVar) + 1);
  std::string refusal;
  try {
    WriteSpecFile(path, fields, model);
  } catch (const SpecFileError& e) {
    refusal = e.what();
  }
  EXPECT_EQ(refusal.find("named") != std::string::npos, c.refused) << refusal;
  EXPECT_EQ(ReadBytes(path) == "old", c.refused);
}

const NamesCase kNames[] = {
    {"NoneAcceptedYet", 1, std::vector<std::string>(MaxVars), true},
    {"LastInUseEmpty", 2, {"x", "y", ""}, true},
    {"FirstEmpty", 0, {"", "y", "z", "t"}, true},
    {"SlotsBeyondTheLastMayBeEmpty", 0, {"x", "", "", ""}, false},
};

INSTANTIATE_TEST_SUITE_P(Names, VariableNamesOnSave, testing::ValuesIn(kNames),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SpecFileSave, UnwritablePlaceOrFailedRenameLeavesTheOldPairElseItIsReplaced) {
  ScratchDir dir;
  ProblemModel model;
  const EntryFields fields = OpenSpecFile(DataPath("spec/two_variables_no_results.qsp"), model);
  const std::string unwritable = dir.Path("missing/p.qsp");
  try {
    WriteSpecFile(unwritable, fields, model);
    FAIL() << "written";
  } catch (const SpecFileError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(unwritable + ": cannot write", 0), 0u) << e.what();
  }
  EXPECT_EQ(dir.Files(), std::vector<std::string>{});
  EXPECT_EQ(model.SpecFile, DataPath("spec/two_variables_no_results.qsp"));

  // The failure between the two renames: the new text file is already in place when the
  // main file cannot follow it, and must go again.
  const std::string path = dir.Path("p.qsp");
  const std::string oldMain = ReadBytes(DataPath("spec/parabola_with_results.qsp"));
  const std::string oldText = ReadBytes(DataPath("spec/parabola_with_results.qsp.str"));
  WriteBytes(path, oldMain);
  WriteBytes(path + ".str", oldText);
  test::FailingRename rename({4});  // the text file is in; the main file's rename fails
  EXPECT_THROW(WriteSpecFile(path, fields, model, rename.Function()), SpecFileError);
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"p.qsp", "p.qsp.str"}));
  EXPECT_EQ(ReadBytes(path), oldMain);
  EXPECT_EQ(ReadBytes(path + ".str"), oldText);
  EXPECT_EQ(model.SpecFile, DataPath("spec/two_variables_no_results.qsp"));

  WriteSpecFile(path, fields, model);
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"p.qsp", "p.qsp.str"}));
  EXPECT_EQ(ReadBytes(path), ReadBytes(DataPath("spec/two_variables_no_results.qsp")));
}

}  // namespace
}  // namespace quon
