#include "core/export/fortran_source.h"

#include <algorithm>
#include <string_view>

#include "engine/number_text.h"

namespace quon {
namespace {

std::string Index(std::size_t k) { return std::to_string(k); }

std::string Real(double value) { return SeventeenDigits(value) + "_real64"; }

void EmitLevel(const SourcePlan& plan, std::size_t k, const std::string& pad, std::string& out) {
  const SourceVariable& v = plan.Variables[k];
  const LevelSum sum = SumOf(v.Kind);
  const std::string j = "j" + Index(k);
  const std::string s = "s" + Index(k);
  const std::string o = "o" + Index(k);
  const std::string p = "p" + Index(k);
  const std::string q = "q" + Index(k);
  const std::string last = std::to_string(v.Terms - 1);
  out += pad + s + " = 0.0_real64\n";
  if (sum == LevelSum::Clenshaw) {
    out += pad + p + " = 0.0_real64\n" + pad + q + " = 0.0_real64\n";
  }
  out += pad + "do " + j +
         (sum == LevelSum::Ascending ? " = 0, " + last + "\n" : " = " + last + ", 0, -1\n");
  std::string inner;
  if (k == 0) {
    std::vector<std::string> index;
    for (std::size_t i = 0; i < plan.Variables.size(); ++i) index.push_back("j" + Index(i));
    inner = "coef(1 + " + FlatIndexExpression(plan, index) + ")";
  } else {
    EmitLevel(plan, k - 1, pad + "  ", out);
    inner = "s" + Index(k - 1);
  }
  switch (sum) {
    case LevelSum::Ascending:
      out += pad + "  " + s + " = " + s + " + (" + inner + " * t" + Index(k) + "(" + j + "))\n";
      break;
    case LevelSum::Horner:
      out += pad + "  " + s + " = (" + s + " * " + o + ") + " + inner + "\n";
      break;
    case LevelSum::Clenshaw: {
      // Parenthesised as the evaluator rounds: a compiler may not regroup them.
      const std::string r = "r" + Index(k);
      out += pad + "  if (" + j + " > 0) then\n";
      out += pad + "    " + r + " = (" + inner + " + ((2.0_real64 * " + o + ") * " + p + ")) - " +
             q + "\n";
      out += pad + "    " + q + " = " + p + "\n" + pad + "    " + p + " = " + r + "\n";
      out += pad + "  else\n";
      out += pad + "    " + s + " = (" + inner + " + (" + o + " * " + p + ")) - " + q + "\n";
      out += pad + "  end if\n";
      break;
    }
  }
  out += pad + "end do\n";
}

// Comment lines stay within the 132 columns of free-form source, split between whole UTF-8
// characters.
void EmitComment(std::string_view line, std::string& out) {
  constexpr std::size_t kWidth = 120;
  do {
    const std::size_t piece = Utf8Boundary(line, kWidth);
    out += "! " + std::string(line.substr(0, piece)) + "\n";
    line.remove_prefix(piece);
  } while (!line.empty());
}

// Free-form source allows 132 columns: a longer statement line is continued at a blank
// ("... &" and "& ..." on the next line). Only names make a line long, and a name has at
// most 63 characters, so there is always a blank to break at.
std::string ContinueLongLines(const std::string& text) {
  constexpr std::size_t kColumns = 132;
  constexpr std::string_view kIndent = "      & ";
  std::string out;
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t end = text.find('\n', begin);
    std::string_view line(text.data() + begin, end - begin);
    begin = end + 1;
    bool continued = false;
    while (line.size() + (continued ? kIndent.size() : 0) > kColumns && line[0] != '!') {
      const std::size_t room = kColumns - 2 - (continued ? kIndent.size() : 0);
      const std::size_t blank = line.rfind(' ', room);
      if (blank == std::string_view::npos || blank == 0) break;
      out += (continued ? std::string(kIndent) : std::string()) +
             std::string(line.substr(0, blank)) + " &\n";
      line.remove_prefix(blank + 1);
      continued = true;
    }
    out += (continued ? std::string(kIndent) : std::string()) + std::string(line) + "\n";
  }
  return out;
}

// gfortran expands at most 65535 elements of an array constructor: a larger table is a
// module array filled by DATA statements, one per chunk, which have no such limit.
constexpr std::size_t kLargestConstructor = 65535;

void EmitDataTable(const SourcePlan& plan, std::string& out) {
  const std::size_t n = plan.Coefficients.size();
  out += "  real(real64), save :: coef(" + std::to_string(n) + ")\n";
  for (std::size_t begin = 0; begin < n; begin += FortranChunkSize) {
    const std::size_t end = std::min(n, begin + FortranChunkSize);
    out += "  data coef(" + std::to_string(begin + 1) + ":" + std::to_string(end) + ") / &";
    for (std::size_t i = begin; i < end; ++i) {
      out += ((i - begin) % 3 == 0 ? "\n    " : " ") + Real(plan.Coefficients[i]) +
             (i + 1 < end ? ((i - begin) % 3 == 2 ? ", &" : ",") : " /\n");
    }
  }
}

}  // namespace

std::string FortranSource(const SourcePlan& plan) {
  std::string out;
  for (const std::string& line : plan.Header) EmitComment(line, out);
  const std::string& name = plan.FunctionName;
  out += "module " + name +
         "_module\n  use, intrinsic :: iso_fortran_env, only: real64\n"
         "  implicit none\n  private\n  public :: " +
         name + "\n";
  const std::size_t n = plan.Coefficients.size();
  const std::size_t chunks = n > kLargestConstructor ? 0 : FortranChunks(n);
  if (chunks == 0) EmitDataTable(plan, out);
  for (std::size_t c = 0; c < chunks; ++c) {
    const std::size_t begin = c * FortranChunkSize;
    const std::size_t end = std::min(n, begin + FortranChunkSize);
    out += "  real(real64), parameter :: " + FortranChunkName(c + 1) + "(" +
           std::to_string(end - begin) + ") = [ &";
    for (std::size_t i = begin; i < end; ++i) {
      out += ((i - begin) % 3 == 0 ? "\n    " : " ") + Real(plan.Coefficients[i]) +
             (i + 1 < end ? ((i - begin) % 3 == 2 ? ", &" : ",") : " ]\n");
    }
  }
  if (chunks != 0) {
    out += "  real(real64), parameter :: coef(" + std::to_string(n) + ") = [";
    for (std::size_t c = 0; c < chunks; ++c) {
      out +=
          (c % 8 == 0 ? " &\n    " : " ") + FortranChunkName(c + 1) + (c + 1 < chunks ? "," : "");
    }
    out += " ]\n";
  }
  // One parameter per line: long variable names stay within the line length.
  out += "contains\n  pure elemental function " + name + "( &\n";
  for (std::size_t k = 0; k < plan.Variables.size(); ++k) {
    out += "      " + plan.Variables[k].Parameter +
           (k + 1 < plan.Variables.size() ? ", &\n" : ") result(value)\n");
  }
  for (const SourceVariable& v : plan.Variables) {
    out += "    real(real64), intent(in) :: " + v.Parameter + "\n";
  }
  out += "    real(real64) :: value\n";
  for (std::size_t k = 0; k < plan.Variables.size(); ++k) {
    const SourceVariable& v = plan.Variables[k];
    out += "    real(real64) :: o" + Index(k) + ", s" + Index(k);
    switch (SumOf(v.Kind)) {
      case LevelSum::Horner:
        break;
      case LevelSum::Ascending:
        out += ", a" + Index(k) + ", t" + Index(k) + "(0:" + std::to_string(v.Terms - 1) + ")";
        break;
      case LevelSum::Clenshaw:
        out += ", p" + Index(k) + ", q" + Index(k) + ", r" + Index(k);
        break;
    }
    out += "\n    integer :: j" + Index(k) + "\n";
  }
  for (std::size_t k = 0; k < plan.Variables.size(); ++k) {
    const SourceVariable& v = plan.Variables[k];
    const std::string o = "o" + Index(k);
    const std::string offset = "(" + v.Parameter + " - (" + Real(v.Center) + "))";
    switch (SumOf(v.Kind)) {
      case LevelSum::Horner:
        out += "    " + o + " = " + offset + "\n";
        continue;
      case LevelSum::Clenshaw:
        out += "    " + o + " = (" + v.Parameter + " - (" + Real(v.Middle) + ")) / (" +
               Real(v.HalfWidth) + ")\n";
        continue;
      case LevelSum::Ascending:
        break;
    }
    const std::string t = "t" + Index(k);
    const std::string a = "a" + Index(k);
    const std::string j = "j" + Index(k);
    out += "    " + o + " = " +
           AngleStepExpression({"atan(1.0_real64)", "8.0_real64", true}, offset, Real(v.Period)) +
           "\n";
    out +=
        "    " + a + " = 0.0_real64\n    do " + j + " = 0, " + std::to_string(v.Terms - 1) + "\n";
    out += "      if (mod(" + j + ", 2) == 1) " + a + " = " + a + " + " + o + "\n";
    out += "      if (mod(" + j + ", 2) == 0) then\n        " + t + "(" + j + ") = cos(" + a +
           ")\n      else\n        " + t + "(" + j + ") = sin(" + a + ")\n      end if\n";
    out += "    end do\n";
  }
  const std::size_t top = plan.Variables.size() - 1;
  EmitLevel(plan, top, "    ", out);
  out += "    value = s" + Index(top) + "\n  end function " + name + "\nend module " + name +
         "_module\n";
  return ContinueLongLines(out);
}

}  // namespace quon
