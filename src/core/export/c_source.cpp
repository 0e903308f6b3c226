#include "core/export/c_source.h"

#include "engine/number_text.h"

namespace quon {
namespace {

// A local name: the letter and the variable's index ("j0", "s3").
std::string Indexed(char letter, std::size_t k) {
  std::string name(1, letter);
  name += std::to_string(k);
  return name;
}

// The nested sums, variable k's outermost; `pad` is the indentation.
void EmitLevel(const SourcePlan& plan, std::size_t k, const std::string& pad, std::string& out) {
  const SourceVariable& v = plan.Variables[k];
  const LevelSum sum = SumOf(v.Kind);
  const std::string j = Indexed('j', k);
  const std::string s = Indexed('s', k);
  const std::string o = Indexed('o', k);
  const std::string p = Indexed('p', k);
  const std::string q = Indexed('q', k);
  out += pad + "double " + s + " = 0.0;\n";
  if (sum == LevelSum::Clenshaw) out += pad + "double " + p + " = 0.0, " + q + " = 0.0;\n";
  if (sum == LevelSum::Ascending) {
    out += pad + "for (int " + j + " = 0; " + j + " < " + std::to_string(v.Terms) + "; ++" + j +
           ") {\n";
  } else {
    out += pad + "for (int " + j + " = " + std::to_string(v.Terms - 1) + "; " + j + " >= 0; --" +
           j + ") {\n";
  }
  std::string inner;
  if (k == 0) {
    std::vector<std::string> index;
    for (std::size_t i = 0; i < plan.Variables.size(); ++i) index.push_back(Indexed('j', i));
    inner = "coef[" + FlatIndexExpression(plan, index) + "]";
  } else {
    EmitLevel(plan, k - 1, pad + "  ", out);
    inner = Indexed('s', k - 1);
  }
  switch (sum) {
    case LevelSum::Ascending:
      out +=
          pad + "  " + s + " = " + s + " + " + inner + " * " + Indexed('t', k) + "[" + j + "];\n";
      break;
    case LevelSum::Horner:
      out += pad + "  " + s + " = " + s + " * " + o + " + " + inner + ";\n";
      break;
    case LevelSum::Clenshaw: {
      const std::string r = Indexed('r', k);
      out += pad + "  if (" + j + " > 0) {\n";
      out += pad + "    const double " + r + " = " + inner + " + 2.0 * " + o + " * " + p + " - " +
             q + ";\n";
      out += pad + "    " + q + " = " + p + ";\n" + pad + "    " + p + " = " + r + ";\n";
      out += pad + "  } else {\n";
      out += pad + "    " + s + " = " + inner + " + " + o + " * " + p + " - " + q + ";\n";
      out += pad + "  }\n";
      break;
    }
  }
  out += pad + "}\n";
}

}  // namespace

std::string CSource(const SourcePlan& plan) {
  std::string out = "/*\n";
  for (std::string line : plan.Header) {
    // A comment must not end early, whatever the function text holds.
    for (std::size_t at; (at = line.find("*/")) != std::string::npos;) line.replace(at, 2, "* /");
    out += " * " + line + "\n";
  }
  out += " */\n#include <math.h>\n\ndouble " + plan.FunctionName + "(";
  for (std::size_t k = 0; k < plan.Variables.size(); ++k) {
    out += (k == 0 ? "double " : ", double ") + plan.Variables[k].Parameter;
  }
  out += ")\n{\n  static const double coef[" + std::to_string(plan.Coefficients.size()) + "] = {";
  for (std::size_t i = 0; i < plan.Coefficients.size(); ++i) {
    out += (i % 3 == 0 ? "\n    " : " ") + SeventeenDigits(plan.Coefficients[i]) + ",";
  }
  out += "\n  };\n";
  for (std::size_t k = 0; k < plan.Variables.size(); ++k) {
    const SourceVariable& v = plan.Variables[k];
    const std::string o = Indexed('o', k);
    const std::string offset = v.Parameter + " - (" + SeventeenDigits(v.Center) + ")";
    switch (SumOf(v.Kind)) {
      case LevelSum::Horner:
        out += "  const double " + o + " = " + offset + ";\n";
        continue;
      case LevelSum::Clenshaw:
        // s = (x - m) / r, as the node geometry maps a coordinate.
        out += "  const double " + o + " = (" + v.Parameter + " - (" + SeventeenDigits(v.Middle) +
               ")) / (" + SeventeenDigits(v.HalfWidth) + ");\n";
        continue;
      case LevelSum::Ascending:
        break;
    }
    // The angle step 2 pi (x - c) / P, and the terms 1, sin, cos, sin 2, ... with the
    // multiples of the step built by repeated addition.
    const std::string t = Indexed('t', k);
    const std::string a = Indexed('a', k);
    const std::string j = Indexed('j', k);
    out += "  const double " + o + " = " +
           AngleStepExpression({"atan(1.0)", "8.0", false}, offset, SeventeenDigits(v.Period)) +
           ";\n";
    out += "  double " + t + "[" + std::to_string(v.Terms) + "];\n";
    out += "  double " + a + " = 0.0;\n";
    out +=
        "  for (int " + j + " = 0; " + j + " < " + std::to_string(v.Terms) + "; ++" + j + ") {\n";
    out += "    if (" + j + " % 2 == 1) " + a + " = " + a + " + " + o + ";\n";
    out += "    " + t + "[" + j + "] = " + j + " % 2 == 0 ? cos(" + a + ") : sin(" + a + ");\n";
    out += "  }\n";
  }
  const std::size_t top = plan.Variables.size() - 1;
  EmitLevel(plan, top, "  ", out);
  out += "  return " + Indexed('s', top) + ";\n}\n";
  return out;
}

}  // namespace quon
