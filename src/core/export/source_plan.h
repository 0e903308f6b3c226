// What the three source exports share: the parameters' names in the target language, each
// variable's kind, centre, period and number of terms, the coefficients in storage order
// (variable 0's index fastest) and the lines of the header comment.
//
// A parameter is named after its variable. The name changes only where the target cannot
// use it (source_names.h): it is made an identifier, and a name that the language reserves,
// one of the names the generated code uses itself, the function's name, or (Fortran ignores
// case) another parameter's, gets "_" appended, then "_2", "_3" ... Every header line is
// comment-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/export/export_format.h"
#include "core/export/source_names.h"

namespace quon {

struct SourceVariable {
  std::string Name;       // as VarName holds it
  std::string Parameter;  // as the generated function calls it
  TermKind Kind = TermKind::Power;
  int32_t Terms = 1;
  double Center = 0.0;
  double Period = 0.0;
  double Middle = 0.0;     // Chebyshev terms: s = (x - Middle) / HalfWidth
  double HalfWidth = 0.0;  // (node_geometry.h), as the evaluator forms it
};

// How a generated level sums a variable's terms, as variable_terms.h does.
enum class LevelSum { Horner, Ascending, Clenshaw };
LevelSum SumOf(TermKind kind);

struct SourcePlan {
  std::string FunctionName;
  std::vector<SourceVariable> Variables;  // those in use, in order
  std::vector<double> Coefficients;       // storage order of Coef
  std::vector<std::string> Header;        // comment lines, without comment marks
};

// Names the generated code of every language uses for its own locals (and Fortran also for its
// coefficient chunks); a parameter or a function of the same name would clash with them.
const std::vector<std::string>& InternalNames();
// The further locals of Clenshaw's recurrence, taken only when a variable has Chebyshev
// terms (so that the names of the other kinds' parameters stay as they were).
const std::vector<std::string>& ClenshawNames();

// Throws ExportError: no results, a coefficient or centre or period that is not finite,
// a zero period, an empty or infinite interval of Chebyshev terms, or a function name that
// is not an identifier of the language, is reserved by it, collides with an internal name,
// or (Fortran) makes a module name longer than the language allows.
SourcePlan MakeSourcePlan(const ProblemModel& model, const ExportInfo& info,
                          SourceLanguage language);

// Fortran limits a statement to 255 lines: the coefficients are declared in chunks of
// this many, named coef_1, coef_2, ..., and joined into one array.
inline constexpr std::size_t FortranChunkSize = 600;
std::size_t FortranChunks(std::size_t coefficients);
std::string FortranChunkName(std::size_t chunk);

// How a language spells the arithmetic of the angle step.
struct AngleStepSpelling {
  const char* AtanOfOne;  // atan(1) as a call of the language's library
  const char* Eight;      // the literal 8.0
  bool Parenthesised;     // each product in parentheses, the offset as given
};

// The angle step 2 pi (x - c) / P of a trigonometric variable as every generated evaluator
// computes it, in the evaluator's order of operations, atan(1) (x - c) 8 / P (the node
// geometry's AngleStep): "atan(1.0) * (OFFSET) * 8.0 / (PERIOD)", or for a parenthesised
// spelling "((atan(1.0) * OFFSET) * 8.0) / (PERIOD)".
std::string AngleStepExpression(const AngleStepSpelling& spelling, const std::string& offset,
                                const std::string& period);

// The offset of coefficient (j0, ..., j(n-1)) in Coefficients, as an expression of the
// index names `index` (one per variable): "j0 + 10*(j1 + 10*(j2))".
std::string FlatIndexExpression(const SourcePlan& plan, const std::vector<std::string>& index);

}  // namespace quon
