#include "core/export/python_source.h"

#include "engine/number_text.h"

namespace quon {
namespace {

std::string Index(std::size_t k) { return std::to_string(k); }

void EmitLevel(const SourcePlan& plan, std::size_t k, const std::string& pad, std::string& out) {
  const SourceVariable& v = plan.Variables[k];
  const LevelSum sum = SumOf(v.Kind);
  const std::string j = "j" + Index(k);
  const std::string s = "s" + Index(k);
  const std::string o = "o" + Index(k);
  const std::string p = "p" + Index(k);
  const std::string q = "q" + Index(k);
  const std::string last = std::to_string(v.Terms - 1);
  out += pad + s + " = 0.0\n";
  if (sum == LevelSum::Clenshaw) out += pad + p + " = 0.0\n" + pad + q + " = 0.0\n";
  out += pad + "for " + j +
         (sum == LevelSum::Ascending ? " in range(0, " + std::to_string(v.Terms) + "):\n"
                                     : " in range(" + last + ", -1, -1):\n");
  std::string inner;
  if (k == 0) {
    std::vector<std::string> index;
    for (std::size_t i = 0; i < plan.Variables.size(); ++i) index.push_back("j" + Index(i));
    inner = "_COEF[" + FlatIndexExpression(plan, index) + "]";
  } else {
    EmitLevel(plan, k - 1, pad + "    ", out);
    inner = "s" + Index(k - 1);
  }
  switch (sum) {
    case LevelSum::Ascending:
      out += pad + "    " + s + " = " + s + " + " + inner + " * t" + Index(k) + "[" + j + "]\n";
      break;
    case LevelSum::Horner:
      out += pad + "    " + s + " = " + s + " * " + o + " + " + inner + "\n";
      break;
    case LevelSum::Clenshaw: {
      const std::string r = "r" + Index(k);
      out += pad + "    if " + j + " > 0:\n";
      out += pad + "        " + r + " = " + inner + " + 2.0 * " + o + " * " + p + " - " + q + "\n";
      out += pad + "        " + q + " = " + p + "\n" + pad + "        " + p + " = " + r + "\n";
      out += pad + "    else:\n";
      out += pad + "        " + s + " = " + inner + " + " + o + " * " + p + " - " + q + "\n";
      break;
    }
  }
}

}  // namespace

std::string PythonSource(const SourcePlan& plan) {
  std::string out;
  for (const std::string& line : plan.Header) out += "# " + line + "\n";
  out += "import math\n\nimport numpy\n\n_COEF = (";
  for (std::size_t i = 0; i < plan.Coefficients.size(); ++i) {
    out += (i % 3 == 0 ? "\n    " : " ") + SeventeenDigits(plan.Coefficients[i]) + ",";
  }
  out += "\n)\n\n\ndef " + plan.FunctionName + "(";
  for (std::size_t k = 0; k < plan.Variables.size(); ++k) {
    out += (k == 0 ? "" : ", ") + plan.Variables[k].Parameter;
  }
  out += "):\n";
  for (std::size_t k = 0; k < plan.Variables.size(); ++k) {
    const SourceVariable& v = plan.Variables[k];
    const std::string o = "o" + Index(k);
    const std::string value = "numpy.asarray(" + v.Parameter + ", dtype=numpy.float64)";
    const std::string offset = value + " - (" + SeventeenDigits(v.Center) + ")";
    switch (SumOf(v.Kind)) {
      case LevelSum::Horner:
        out += "    " + o + " = " + offset + "\n";
        continue;
      case LevelSum::Clenshaw:
        out += "    " + o + " = (" + value + " - (" + SeventeenDigits(v.Middle) + ")) / (" +
               SeventeenDigits(v.HalfWidth) + ")\n";
        continue;
      case LevelSum::Ascending:
        break;
    }
    const std::string t = "t" + Index(k);
    const std::string a = "a" + Index(k);
    const std::string j = "j" + Index(k);
    out +=
        "    " + o + " = " +
        AngleStepExpression({"math.atan(1.0)", "8.0", false}, offset, SeventeenDigits(v.Period)) +
        "\n";
    out += "    " + t + " = []\n    " + a + " = 0.0\n";
    out += "    for " + j + " in range(0, " + std::to_string(v.Terms) + "):\n";
    out += "        if " + j + " % 2 == 1:\n            " + a + " = " + a + " + " + o + "\n";
    out += "        " + t + ".append(numpy.cos(" + a + ") if " + j + " % 2 == 0 else numpy.sin(" +
           a + "))\n";
  }
  const std::size_t top = plan.Variables.size() - 1;
  EmitLevel(plan, top, "    ", out);
  const std::string result = "s" + Index(top);
  // Plain numbers in, a plain number out.
  out += "    " + result + " = numpy.asarray(" + result + ", dtype=numpy.float64)\n";
  out += "    return float(" + result + ") if " + result + ".ndim == 0 else " + result + "\n";
  return out;
}

}  // namespace quon
