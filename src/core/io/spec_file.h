// The specification file pair: the main file holds the numbers (the number of variables,
// one record per variable, the results flag and the coefficients), the text file beside
// it (the same path with ".str" appended) the function and the user constants.
//
// Both are text with CR LF line ends. Records and the flag are item lists ("x",-1,1,"*",
// #TRUE#,"*",4), counts and coefficients plain number lines in the print form followed by
// one blank (" 1 ", "-.25 "), constants plain lines. A record's kind item is #TRUE# for
// power terms, #FALSE# for trigonometric terms and the quoted text "CHEBYSHEV" for
// Chebyshev terms, whose centre and period items are written "*" (and not read: their
// centre is the middle of the interval, and they have no period). A double quote inside a quoted
// text is written doubled, the way the expression language writes it.
//
// Opening reads both files into a SpecFileContents first and touches the model only when
// everything was read, so a refused file leaves the problem held before as it was. Saving
// writes both files under temporary names and renames them into place as a pair: a failed
// save leaves the old pair as it was.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/io/rename_file.h"
#include "core/model/coef_array.h"
#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"

namespace quon {

// A refused open or a failed save. what() names the file and what is wrong, ready for the user.
class SpecFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The kind item of a Chebyshev variable's record, without its quotes.
inline constexpr const char* ChebyshevKindItem = "\"CHEBYSHEV\"";
inline constexpr const char* ChebyshevKindText = "CHEBYSHEV";

// The path of the text file that belongs to the main file at `path`.
std::string TextFilePath(const std::string& path);

// One variable's record as stored.
struct VariableRecord {
  std::string Name;
  double LowerLimit = 0.0;
  double UpperLimit = 0.0;
  std::string CenterText;  // as typed; "*" is the middle of the interval
  TermKind Kind = TermKind::Power;
  std::string PeriodText;  // as typed; "*" is 2 pi
  int32_t LastTerm = 1;    // the stored number of terms minus 1, rounded halves to even
};

// Everything a pair holds, read but not yet applied to a model.
struct SpecFileContents {
  std::vector<VariableRecord> Variables;  // 1 to 4 records
  bool HaveResults = false;
  CoefArray Coef;  // allocated only when HaveResults
  std::string Equation;
  std::vector<std::string> Constants;  // at most MaxConstants definitions
};

// Reads the pair from the two texts. `path` names the main file in messages.
// Throws SpecFileError.
SpecFileContents ParseSpecFile(std::string_view mainText, std::string_view textFileText,
                               const std::string& path);

// Reads the pair at `path` and TextFilePath(path). Throws SpecFileError.
SpecFileContents ReadSpecFile(const std::string& path);

// Puts what was read into the model as the Open command does (LastVar, the per-variable
// arrays allocated afresh and filled, centre and period resolved from their texts,
// HaveResults and Coef, Equation and the constants, SpecFile = path) and returns the texts
// the entry fields show afterwards: limits and number of terms in the text form, centre and
// period as stored, the kind, the function and the constant items.
EntryFields ApplySpecFile(SpecFileContents contents, const std::string& path, ProblemModel& model);

// ReadSpecFile then ApplySpecFile. Throws SpecFileError and then leaves the model untouched.
EntryFields OpenSpecFile(const std::string& path, ProblemModel& model);

// The two texts of a pair, as they are written.
struct SpecFileTexts {
  std::string Main;
  std::string TextFile;
};

// Whether the coefficients held by the model were written with the records.
enum class SaveOutcome {
  Saved,                // the pair holds the problem, and the results when there were any
  SavedWithoutResults,  // the model held results, but the fields no longer describe the fit
                        // that made them: the pair was written with #FALSE# and no coefficients
};

// True when the entry fields describe the problem whose fit the model holds: for every
// variable the same number of terms, limits, kind and centre (and period for
// trigonometric terms) as gathering would read from the fields.
bool FieldsMatchResults(const EntryFields& fields, const ProblemModel& model);

// The texts of the pair for the fields and the model. The records come from the fields (the
// name from VarName); the coefficients only when the model holds results that match the
// fields. Stores each variable's kind from the fields into Kind unless that would
// contradict the results held. Throws SpecFileError when the fields lack a variable or a
// variable in use has no name.
SpecFileTexts FormatSpecFile(const EntryFields& fields, ProblemModel& model,
                             SaveOutcome* outcome = nullptr);

// Writes the pair at `path` and TextFilePath(path), replacing both or neither; the files
// are moved into place by `rename`. Throws SpecFileError, and then leaves model.SpecFile
// as it was.
SaveOutcome WriteSpecFile(const std::string& path, const EntryFields& fields, ProblemModel& model,
                          const RenameFile& rename = RenameWithTheSystem);

// The message for SaveOutcome::SavedWithoutResults.
std::string ResultsNotSavedMessage();

}  // namespace quon
