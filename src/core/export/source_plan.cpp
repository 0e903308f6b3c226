#include "core/export/source_plan.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "core/eval/accuracy_text.h"
#include "core/model/node_geometry.h"
#include "engine/number_text.h"

namespace quon {
namespace {

constexpr std::string_view kModuleSuffix = "_module";

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
  if (language == SourceLanguage::Fortran &&
      name.size() + kModuleSuffix.size() > LongestIdentifier(language)) {
    throw ExportError("\"" + CommentSafe(name) + "\" is too long to name a Fortran function: " +
                      "its module name must not pass " +
                      std::to_string(LongestIdentifier(language)) + " characters.");
  }
  if (!IsIdentifier(name, language) || IsReservedName(name, language) ||
      taken.count(Folded(name, language)) != 0 ||
      taken.count(Folded(name + "_module", language)) != 0) {
    throw ExportError("\"" + CommentSafe(name) +
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
      throw ExportError("The centre or period of " + CommentSafe(v.Name) + " cannot be exported.");
    }
    if (!UsesCenter(v.Kind) &&
        !(std::isfinite(v.Middle) && std::isfinite(v.HalfWidth) && v.HalfWidth != 0.0)) {
      throw ExportError("The interval of " + CommentSafe(v.Name) + " cannot be exported.");
    }
    const std::string base = Sanitised(v.Name, language, LongestIdentifier(language) - 3);
    std::string candidate = base;
    for (int n = 1;
         IsReservedName(candidate, language) || taken.count(Folded(candidate, language)) != 0;
         ++n) {
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
  const bool trig =
      std::any_of(plan.Variables.begin(), plan.Variables.end(),
                  [](const SourceVariable& v) { return v.Kind == TermKind::Trigonometric; });
  if (language == SourceLanguage::Python && trig) {
    plan.Header.push_back(
        "NumPy's sin and cos may differ from the C library's in the last place, so a value "
        "may differ");
    plan.Header.push_back(
        "from the program's by a few units in the last place (about 1E-13 relative).");
  }
  // Names and texts come from the problem as typed: no byte of them may end a comment.
  for (std::string& line : plan.Header) line = CommentSafe(line);
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
