// The text of one term of the approximation: its coefficient and, from column 25 on, the
// product of one-variable factors written as an expression over the variable names
// (for example "*x^2*sin(2*(y-1.5))"). The coefficient listing and the printed report
// print exactly these lines; nothing else spells a basis term.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/model/problem_model.h"

namespace quon {

// Column (counted from 1) where the label starts, and the blanks that follow the
// coefficient's text before the label is written over them.
inline constexpr std::size_t LabelColumn = 25;
inline constexpr std::size_t TermTextPadding = 255;

// The factor of variable k for its term index t: empty for t = 0, else "*" and the power
// of (x - c), the sine or cosine of the multiple (t + 1) / 2 of (x - c), or the Chebyshev
// polynomial T_t of the variable's mapped argument, written "T3(x)".
std::string TermFactor(const ProblemModel& model, int k, int32_t t);

// The same factor with a Chebyshev polynomial's map written out, so that the text alone
// says what it is: "*T3((x-0.5)/1.5)" for s = (x - 0.5) / 1.5. Other kinds as TermFactor.
std::string MappedTermFactor(const ProblemModel& model, int k, int32_t t);

// The line of term TermIndex (one index per variable slot; slots above LastVar hold 0):
// the coefficient Coef(TermIndex) in text form followed by 255 blanks, with the factors of
// variables 0..LastVar written over the blanks from column 25 on, cut at the end of the
// line. The line's length is always the coefficient's text length plus 255.
// Throws std::out_of_range when an index lies outside Coef.
std::string TermLabel(const ProblemModel& model, const std::array<int32_t, 4>& TermIndex);

}  // namespace quon
