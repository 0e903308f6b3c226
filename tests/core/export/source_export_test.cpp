// Each exported program is built or run by the real tool and must agree with the
// evaluator at random points of the box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <locale>
#include <sstream>

#include "core/eval/evaluator.h"
#include "core/export/export_format.h"
#include "core/export/source_plan.h"
#include "support/export_problems.h"
#include "support/file_test_support.h"

namespace quon {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

struct Case {
  const char* name;
  ProblemModel (*problem)();
  ExportFormat format;
};

// The argument list "p[0], p[1], ..." (C) or "p(1), p(2), ..." (Fortran) for n variables.
std::string Arguments(int n, bool fortran) {
  std::string text;
  for (int i = 0; i < n; ++i) {
    text += (i ? ", " : "") +
            (fortran ? "p(" + std::to_string(i + 1) + ")" : "p[" + std::to_string(i) + "]");
  }
  return text;
}

// Builds and runs the export on points.txt in `dir`; the command's output is out.txt.
std::string RunCommand(ExportFormat format, const ScratchDir& dir, int n) {
  const std::string d = "'" + dir.Path("") + "'";
  switch (format) {
    case ExportFormat::C: {
      std::string declaration = "double approximation(";
      std::string format, targets;
      for (int i = 0; i < n; ++i) {
        declaration += i ? ", double" : "double";
        format += " %lf";
        targets += ", &p[" + std::to_string(i) + "]";
      }
      WriteBytes(dir.Path("main.c"), "#include <stdio.h>\n" + declaration +
                                         ");\nint main(void) {\n  double p[4];\n"
                                         "  while (scanf(\"" +
                                         format + "\"" + targets + ") == " + std::to_string(n) +
                                         ")\n    printf(\"%.17g\\n\", approximation(" +
                                         Arguments(n, false) + "));\n  return 0;\n}\n");
      return std::string(QUON_CC) + " -std=c99 -Wall -Wextra -pedantic -Werror -o " + d + "prog " +
             d + "approximation.c " + d + "main.c -lm && " + d + "prog < " + d + "points.txt > " +
             d + "out.txt";
    }
    case ExportFormat::Fortran:
      WriteBytes(dir.Path("main.f90"),
                 "program main\n  use approximation_module\n  use, intrinsic :: iso_fortran_env,"
                 " only: real64\n  implicit none\n  real(real64) :: p(4)\n  integer :: ios\n"
                 "  do\n    read (*, *, iostat=ios) p(1:" +
                     std::to_string(n) +
                     ")\n"
                     "    if (ios /= 0) exit\n    write (*, '(es26.17e3)') approximation(" +
                     Arguments(n, true) + ")\n  end do\nend program main\n");
      return std::string(QUON_GFORTRAN) + " -std=f2008 -Wall -Werror -J " + d + " -o " + d +
             "prog " + d + "approximation.f90 " + d + "main.f90 && " + d + "prog < " + d +
             "points.txt > " + d + "out.txt";
    default:
      // All points in one call, as arrays.
      WriteBytes(dir.Path("driver.py"),
                 "import importlib.util, sys, numpy\n"
                 "spec = importlib.util.spec_from_file_location('exported', sys.argv[1])\n"
                 "module = importlib.util.module_from_spec(spec)\nspec.loader.exec_module(module)\n"
                 "points = numpy.loadtxt(sys.argv[2], ndmin=2)\n"
                 "values = module.approximation(*points.T)\n"
                 "assert values.shape == (len(points),)\n"
                 "print('\\n'.join(repr(float(v)) for v in values))\n");
      return std::string(QUON_PYTHON3) + " " + d + "driver.py " + d + "approximation.py " + d +
             "points.txt > " + d + "out.txt";
  }
}

// 256 x 257 coefficients: more than a Fortran array constructor may hold.
ProblemModel LargeTableProblem() {
  return testing::FittedModel(
      {{"x", false, 256, -1, 1, 0, 0}, {"y", true, 257, 0, 1, 0, 1}},
      testing::Always([](std::span<const double> p) { return std::exp(p[0]) * std::sin(p[1]); }));
}

class SourceExport : public ::testing::TestWithParam<Case> {};

TEST_P(SourceExport, AgreesWithTheEvaluatorAtRandomPoints) {
  ProblemModel model = GetParam().problem();
  const int n = model.LastVar + 1;
  const std::vector<double> points = testing::RandomPoints(model, 40);
  ScratchDir dir;
  const std::string extension = ExportExtension(GetParam().format);
  WriteExport(dir.Path("approximation" + extension), GetParam().format, model, ExportInfo{});
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text.precision(17);
  for (std::size_t i = 0; i < points.size(); ++i) {
    text << points[i] << ((i + 1) % static_cast<std::size_t>(n) == 0 ? "\n" : " ");
  }
  WriteBytes(dir.Path("points.txt"), text.str());

  const std::string command = RunCommand(GetParam().format, dir, n);
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::istringstream out(ReadBytes(dir.Path("out.txt")));
  out.imbue(std::locale::classic());
  for (std::size_t p = 0; p < points.size() / static_cast<std::size_t>(n); ++p) {
    const double value = Evaluate(model, std::span(points).subspan(p * static_cast<std::size_t>(n),
                                                                   static_cast<std::size_t>(n)));
    double exported = 0.0;
    ASSERT_TRUE(out >> exported) << "no value for point " << p;
    // Chebyshev sums are written out operation for operation as the evaluator takes them.
    const double relative = model.Kind[0] == TermKind::Chebyshev ? 1e-15 : 1e-13;
    EXPECT_NEAR(exported, value, relative * std::max(1.0, std::abs(value))) << "point " << p;
  }
}

INSTANTIATE_TEST_SUITE_P(
    AllLanguages, SourceExport,
    ::testing::Values(Case{"CDefault", testing::DefaultProblem, ExportFormat::C},
                      Case{"CTrigonometric", testing::TrigProblem, ExportFormat::C},
                      Case{"CMixed", testing::MixedProblem, ExportFormat::C},
                      Case{"PythonDefault", testing::DefaultProblem, ExportFormat::Python},
                      Case{"PythonTrigonometric", testing::TrigProblem, ExportFormat::Python},
                      Case{"PythonMixed", testing::MixedProblem, ExportFormat::Python},
                      Case{"FortranDefault", testing::DefaultProblem, ExportFormat::Fortran},
                      Case{"FortranTrigonometric", testing::TrigProblem, ExportFormat::Fortran},
                      Case{"FortranMixed", testing::MixedProblem, ExportFormat::Fortran},
                      Case{"CHostileNames", testing::HostileProblem, ExportFormat::C},
                      Case{"PythonHostileNames", testing::HostileProblem, ExportFormat::Python},
                      Case{"FortranHostileNames", testing::HostileProblem, ExportFormat::Fortran},
                      Case{"FortranTableBeyondTheConstructorLimit", LargeTableProblem,
                           ExportFormat::Fortran},
                      Case{"CChebyshev", testing::ChebyshevProblem, ExportFormat::C},
                      Case{"PythonChebyshev", testing::ChebyshevProblem, ExportFormat::Python},
                      Case{"FortranChebyshev", testing::ChebyshevProblem, ExportFormat::Fortran}),
    [](const auto& info) { return std::string(info.param.name); });

// Parameter names: the variable's name unless the language cannot use it.
struct NameCase {
  const char* name;
  SourceLanguage language;
  const char* variable;
  const char* parameter;
};

class ParameterName : public ::testing::TestWithParam<NameCase> {};

TEST_P(ParameterName, FollowsTheVariableUnlessTheLanguageForbids) {
  ProblemModel model = testing::MixedProblem();
  model.VarName[1] = GetParam().variable;
  const SourcePlan plan = MakeSourcePlan(model, ExportInfo{}, GetParam().language);
  EXPECT_EQ(plan.Variables[1].Parameter, GetParam().parameter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParameterName,
    ::testing::Values(NameCase{"PlainNameKept", SourceLanguage::C, "speed", "speed"},
                      NameCase{"CKeyword", SourceLanguage::C, "int", "int_"},
                      NameCase{"PythonKeyword", SourceLanguage::Python, "lambda", "lambda_"},
                      NameCase{"InternalLocal", SourceLanguage::C, "s0", "s0_"},
                      NameCase{"FunctionName", SourceLanguage::Python, "approximation",
                               "approximation_"},
                      NameCase{"FortranIgnoresCase", SourceLanguage::Fortran, "X", "X_"},
                      NameCase{"FortranIntrinsic", SourceLanguage::Fortran, "sin", "sin_"},
                      NameCase{"BlanksDropped", SourceLanguage::C, " y ", "y"},
                      NameCase{"LeadingDigit", SourceLanguage::C, "2y", "v2y"},
                      NameCase{"OddCharacters", SourceLanguage::Python, "y.k", "y_k"},
                      NameCase{"CMathMacro", SourceLanguage::C, "INFINITY", "INFINITY_"},
                      NameCase{"CMathFunction", SourceLanguage::C, "sqrt", "sqrt_"},
                      NameCase{"CMathFloatTwin", SourceLanguage::C, "fabsf", "fabsf_"},
                      NameCase{"CReservedPrefix", SourceLanguage::C, "M_PI", "vM_PI"},
                      NameCase{"CReservedUnderscore", SourceLanguage::C, "__func__", "v__func__"},
                      NameCase{"PythonDunder", SourceLanguage::Python, "__debug__", "__debug___2"},
                      NameCase{"FortranCalledIntrinsic", SourceLanguage::Fortran, "MOD", "MOD_"},
                      NameCase{"ControlBytes", SourceLanguage::C, "y\r\xff", "y__"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SourceExport, RefusesAFunctionNameThatIsNoIdentifierOrAKeywordAndAModelWithoutResults) {
  ProblemModel model = testing::MixedProblem();
  const std::string longest(56, 'f');
  for (const auto& [language, name] : std::vector<std::pair<SourceLanguage, std::string>>{
           {SourceLanguage::C, ""},
           {SourceLanguage::C, "2f"},
           {SourceLanguage::C, "my-fit"},
           {SourceLanguage::C, "return"},
           {SourceLanguage::C, "coef"},
           {SourceLanguage::C, "exp"},
           {SourceLanguage::C, "isnan"},
           {SourceLanguage::C, "NAN"},
           {SourceLanguage::C, "_Generic"},
           {SourceLanguage::C, "M_PI"},
           {SourceLanguage::Python, "__debug__"},
           {SourceLanguage::Fortran, "mod"},
           {SourceLanguage::Fortran, longest + "f"}}) {
    ExportInfo info;
    info.FunctionName = name;
    EXPECT_THROW(MakeSourcePlan(model, info, language), ExportError) << name;
  }
  model.Equation = "\"\r\n\x80*/";
  ExportInfo longName;
  longName.FunctionName = longest;
  const SourcePlan plan = MakeSourcePlan(model, longName, SourceLanguage::Fortran);
  EXPECT_EQ(plan.Header[1], "  \"???*/");
  ExportInfo info;
  info.FunctionName = "my_fit";
  EXPECT_EQ(MakeSourcePlan(model, info, SourceLanguage::Fortran).FunctionName, "my_fit");
  model.HaveResults = false;
  EXPECT_THROW(ExportText(ExportFormat::C, model, ExportInfo{}), ExportError);
}

}  // namespace
}  // namespace quon
