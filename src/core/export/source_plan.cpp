#include "core/export/source_plan.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>

#include "core/eval/accuracy_text.h"
#include "core/model/node_geometry.h"
#include "engine/number_text.h"

namespace quon {
namespace {

const std::vector<std::string>& Keywords(SourceLanguage language) {
  static const std::vector<std::string> c = {"auto",         "break",
                                             "case",         "char",
                                             "const",        "continue",
                                             "default",      "do",
                                             "double",       "else",
                                             "enum",         "extern",
                                             "float",        "for",
                                             "goto",         "if",
                                             "inline",       "int",
                                             "long",         "register",
                                             "restrict",     "return",
                                             "short",        "signed",
                                             "sizeof",       "static",
                                             "struct",       "switch",
                                             "typedef",      "union",
                                             "unsigned",     "void",
                                             "volatile",     "while",
                                             "_Bool",        "_Complex",
                                             "_Imaginary",   "bool",
                                             "true",         "false",
                                             "class",        "new",
                                             "delete",       "this",
                                             "template",     "typename",
                                             "namespace",    "using",
                                             "private",      "public",
                                             "protected",    "virtual",
                                             "friend",       "operator",
                                             "try",          "catch",
                                             "throw",        "and",
                                             "or",           "not",
                                             "xor",          "and_eq",
                                             "or_eq",        "not_eq",
                                             "xor_eq",       "bitand",
                                             "bitor",        "compl",
                                             "mutable",      "explicit",
                                             "export",       "nullptr",
                                             "constexpr",    "decltype",
                                             "noexcept",     "static_assert",
                                             "thread_local", "alignas",
                                             "alignof",      "char8_t",
                                             "char16_t",     "char32_t",
                                             "concept",      "requires",
                                             "consteval",    "constinit",
                                             "co_await",     "co_return",
                                             "co_yield",     "wchar_t",
                                             "dynamic_cast", "static_cast",
                                             "const_cast",   "reinterpret_cast",
                                             "typeid",       "asm",
                                             "sin",          "cos",
                                             "atan",         "main"};
  static const std::vector<std::string> python = {
      "False",   "None",     "True",     "and",    "as",   "assert", "async",  "await",
      "break",   "class",    "continue", "def",    "del",  "elif",   "else",   "except",
      "finally", "for",      "from",     "global", "if",   "import", "in",     "is",
      "lambda",  "nonlocal", "not",      "or",     "pass", "raise",  "return", "try",
      "while",   "with",     "yield",    "numpy",  "math", "range",  "float"};
  // Fortran has no reserved words; what clashes are the intrinsics the code calls.
  static const std::vector<std::string> fortran = {
      "sin", "cos", "atan", "real64", "iso_fortran_env", "real", "integer"};
  switch (language) {
    case SourceLanguage::C:
      return c;
    case SourceLanguage::Python:
      return python;
    case SourceLanguage::Fortran:
      return fortran;
  }
  return c;
}

std::string Folded(const std::string& name, SourceLanguage language) {
  if (language != SourceLanguage::Fortran) return name;
  std::string folded = name;
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

bool IsIdentifier(const std::string& name, SourceLanguage language) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  if (language == SourceLanguage::Fortran && (name[0] == '_' || name.size() > 63)) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  });
}

std::string Sanitised(const std::string& name, SourceLanguage language) {
  std::string text(name);
  text.erase(0, text.find_first_not_of(" \t"));
  text.erase(text.find_last_not_of(" \t") + 1);
  for (char& c : text) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') c = '_';
  }
  if (text.empty() || std::isdigit(static_cast<unsigned char>(text[0])) ||
      (language == SourceLanguage::Fortran && text[0] == '_')) {
    text = "v" + text;
  }
  if (language == SourceLanguage::Fortran && text.size() > 60) text.resize(60);
  return text;
}

// "x - 2", "x + 2".
std::string Offset(const std::string& name, double c) {
  return c < 0 ? name + " + " + TextForm(-c) : name + " - " + TextForm(c);
}

std::string Describe(const SourceVariable& v, const ProblemModel& model, std::size_t k) {
  const std::string offset = Offset(v.Name, v.Center);
  std::string line = "  " + v.Name + ": " + std::to_string(v.Terms);
  switch (v.Kind) {
    case TermKind::Power:
      line += " power terms of (" + offset + ")";
      break;
    case TermKind::Trigonometric:
      line += " trigonometric terms of 2 pi (" + offset + ") / " + TextForm(v.Period);
      break;
    case TermKind::Chebyshev:
      line += " Chebyshev terms T0(s) .. T" + std::to_string(v.Terms - 1) + "(s) of s = (" +
              Offset(v.Name, v.Middle) + ") / " + TextForm(v.HalfWidth);
      break;
  }
  line +=
      ", fitted on [" + TextForm(model.LowerLimit[k]) + ", " + TextForm(model.UpperLimit[k]) + "]";
  if (v.Parameter != v.Name) line += "; parameter " + v.Parameter;
  return line;
}

}  // namespace

LevelSum SumOf(TermKind kind) {
  switch (kind) {
    case TermKind::Power:
      return LevelSum::Horner;
    case TermKind::Trigonometric:
      return LevelSum::Ascending;
    case TermKind::Chebyshev:
      return LevelSum::Clenshaw;
  }
  return LevelSum::Horner;
}

const std::vector<std::string>& ClenshawNames() {
  static const std::vector<std::string> names = {"p0", "p1", "p2", "p3", "q0", "q1",
                                                 "q2", "q3", "r0", "r1", "r2", "r3"};
  return names;
}

const std::vector<std::string>& InternalNames() {
  static const std::vector<std::string> names = {
      "coef", "_COEF", "value", "o0", "o1", "o2", "o3", "s0", "s1", "s2", "s3", "a0",
      "a1",   "a2",    "a3",    "t0", "t1", "t2", "t3", "j0", "j1", "j2", "j3"};
  return names;
}

SourcePlan MakeSourcePlan(const ProblemModel& model, const ExportInfo& info,
                          SourceLanguage language) {
  if (!model.HaveResults || model.Coef.empty()) {
    throw ExportError("There are no results to export: compute the fit first.");
  }
  std::set<std::string> taken;
  for (const std::string& n : Keywords(language)) taken.insert(Folded(n, language));
  for (const std::string& n : InternalNames()) taken.insert(Folded(n, language));
  const int count = VariableCount(model);
  bool chebyshev = false;
  for (int i = 0; i < count; ++i) {
    chebyshev = chebyshev || SumOf(model.Kind[static_cast<std::size_t>(i)]) == LevelSum::Clenshaw;
  }
  if (chebyshev) {
    for (const std::string& n : ClenshawNames()) taken.insert(Folded(n, language));
  }
  if (language == SourceLanguage::Fortran) {
    for (std::size_t i = 1; i <= FortranChunks(model.Coef.size()); ++i) {
      taken.insert(FortranChunkName(i));
    }
  }
  const std::string& name = info.FunctionName;
  if (!IsIdentifier(name, language) || taken.count(Folded(name, language)) != 0 ||
      taken.count(Folded(name + "_module", language)) != 0) {
    throw ExportError("\"" + name +
                      "\" cannot name the function: use letters, digits and _, "
                      "not starting with a digit, and no keyword or name the code uses itself.");
  }
  SourcePlan plan;
  plan.FunctionName = name;
  taken.insert(Folded(name, language));
  if (language == SourceLanguage::Fortran) taken.insert(Folded(name + "_module", language));

  for (int i = 0; i < count; ++i) {
    const auto k = static_cast<std::size_t>(i);
    SourceVariable v;
    v.Name = model.VarName[k];
    v.Kind = model.Kind[k];
    v.Terms = model.Coef.extent(i);
    v.Center = model.Center[k];
    v.Period = model.Period[k];
    const NodeGeometry g = VariableGeometry(model, i);
    v.Middle = g.Middle;
    v.HalfWidth = g.HalfWidth;
    if (!std::isfinite(v.Center) || !std::isfinite(v.Period) ||
        (UsesPeriod(v.Kind) && v.Period == 0.0)) {
      throw ExportError("The centre or period of " + v.Name + " cannot be exported.");
    }
    if (!UsesCenter(v.Kind) &&
        !(std::isfinite(v.Middle) && std::isfinite(v.HalfWidth) && v.HalfWidth != 0.0)) {
      throw ExportError("The interval of " + v.Name + " cannot be exported.");
    }
    const std::string base = Sanitised(v.Name, language);
    std::string candidate = base;
    for (int n = 1; taken.count(Folded(candidate, language)) != 0; ++n) {
      candidate = base + "_" + (n == 1 ? std::string() : std::to_string(n));
    }
    taken.insert(Folded(candidate, language));
    v.Parameter = candidate;
    plan.Variables.push_back(v);
  }
  plan.Coefficients.assign(model.Coef.data(), model.Coef.data() + model.Coef.size());
  if (!std::all_of(plan.Coefficients.begin(), plan.Coefficients.end(),
                   [](double c) { return std::isfinite(c); })) {
    throw ExportError("A coefficient is not a finite number: the fit cannot be exported.");
  }

  std::string signature;
  for (const SourceVariable& v : plan.Variables) {
    signature += (signature.empty() ? "" : ", ") + v.Parameter;
  }
  plan.Header = {name + "(" + signature + "): the fitted approximation of the function",
                 "  " + model.Equation};
  for (const std::string& constant : info.Constants) plan.Header.push_back("  with " + constant);
  plan.Header.push_back("Variables:");
  for (std::size_t k = 0; k < plan.Variables.size(); ++k) {
    plan.Header.push_back(Describe(plan.Variables[k], model, k));
  }
  plan.Header.push_back(info.Accuracy ? "Accuracy: " + AccuracySummaryLine(*info.Accuracy)
                                      : "Accuracy: not checked.");
  plan.Header.push_back(
      "The sums run as in the program that made the fit: Horner's scheme for "
      "power terms,");
  plan.Header.push_back(
      "1, sin, cos, sin 2, cos 2, ... with the angle stepped by addition "
      "for trigonometric ones.");
  if (chebyshev) {
    plan.Header.push_back(
        "Chebyshev terms by Clenshaw's recurrence: b = c + 2 s b1 - b2 from the highest term "
        "down, then c0 + s b1 - b2.");
  }
  return plan;
}

std::size_t FortranChunks(std::size_t coefficients) {
  return (coefficients + FortranChunkSize - 1) / FortranChunkSize;
}

std::string FortranChunkName(std::size_t chunk) { return "coef_" + std::to_string(chunk); }

std::string FlatIndexExpression(const SourcePlan& plan, const std::vector<std::string>& index) {
  std::string text = index.back();
  for (std::size_t k = plan.Variables.size() - 1; k-- > 0;) {
    text = index[k] + " + " + std::to_string(plan.Variables[k].Terms) + "*(" + text + ")";
  }
  return text;
}

std::string AngleStepExpression(const AngleStepSpelling& spelling, const std::string& offset,
                                const std::string& period) {
  const std::string atan = spelling.AtanOfOne;
  const std::string eight = spelling.Eight;
  if (spelling.Parenthesised)
    return "((" + atan + " * " + offset + ") * " + eight + ") / (" + period + ")";
  return atan + " * (" + offset + ") * " + eight + " / (" + period + ")";
}

}  // namespace quon
