#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "core/io/spec_file.h"
#include "core/io/spec_item_reader.h"
#include "core/model/entry_checks.h"
#include "engine/number_text.h"

namespace quon {
namespace {

std::string VariableItem(const char* item, std::size_t index) {
  return std::string(item) + " of variable " + std::to_string(index + 1);
}

// A count stored as a number: the value rounded halves to even, as the number of terms
// is read from its field. nullopt when it does not fit a 32-bit integer.
std::optional<int32_t> RoundedCount(SpecItemReader& reader, const std::string& what) {
  return RoundHalfEvenToInt32(reader.ReadNumber(what));
}

// #TRUE#, #FALSE# or "CHEBYSHEV" (spec_file.h).
TermKind ReadKind(SpecItemReader& reader, const std::string& what) {
  switch (reader.ReadFlagOrName(what, ChebyshevKindText)) {
    case SpecItemReader::FlagOrName::True:
      return TermKind::Power;
    case SpecItemReader::FlagOrName::False:
      return TermKind::Trigonometric;
    case SpecItemReader::FlagOrName::Name:
      return TermKind::Chebyshev;
  }
  return TermKind::Power;
}

// The names are checked as the names field checks them, each as it is read: a problem is
// the latest name's, and the message names its line.
VariableRecord ReadRecord(SpecItemReader& reader, std::vector<std::string>& names) {
  const std::size_t i = names.size();
  VariableRecord record;
  record.Name = reader.ReadText(VariableItem("the name", i));
  names.push_back(record.Name);
  if (const std::optional<std::string> problem = NamesProblem(names)) {
    reader.FailAtLastItem(*problem);
  }
  record.LowerLimit = reader.ReadFiniteNumber(VariableItem("the lower limit", i));
  record.UpperLimit = reader.ReadFiniteNumber(VariableItem("the upper limit", i));
  record.CenterText = reader.ReadText(VariableItem("the center of expansion", i));
  record.Kind = ReadKind(reader, VariableItem("the kind of terms", i));
  record.PeriodText = reader.ReadText(VariableItem("the period", i));
  const std::string what = VariableItem("the number of terms", i);
  const std::optional<int32_t> lastTerm = RoundedCount(reader, what);
  if (!lastTerm) reader.Fail(what + " is out of range.");
  // At least two terms, as the entry field demands: one node gives no node spacing.
  if (*lastTerm < 1) reader.Fail("variable " + std::to_string(i + 1) + " has fewer than 2 terms.");
  record.LastTerm = *lastTerm;
  return record;
}

void ReadCoefficients(SpecItemReader& reader, SpecFileContents& contents) {
  CoefArray::LastTerms lastTerms{0, 0, 0, 0};
  for (std::size_t k = 0; k < contents.Variables.size(); ++k) {
    lastTerms[k] = contents.Variables[k].LastTerm;
  }
  std::size_t count = 0;
  try {
    count = CoefArray::CheckedElementCount(lastTerms);
  } catch (const GridTooLarge& e) {
    reader.Fail(e.what());
  }
  // Every coefficient takes at least one character: a file far too short for its grid is
  // refused before the array is allocated.
  if (reader.Remaining() < count) {
    reader.Fail("the file holds fewer coefficients than the " + std::to_string(count) +
                " its variables' terms call for.");
  }
  try {
    contents.Coef.Allocate(lastTerms);
  } catch (const GridTooLarge& e) {
    reader.Fail(e.what());
  }
  double* values = contents.Coef.data();
  const std::string what = "a coefficient";
  for (std::size_t n = 0; n < count; ++n) values[n] = reader.ReadNumber(what);
}

void ParseMain(std::string_view text, const std::string& path, SpecFileContents& contents) {
  SpecItemReader reader(text, path);
  const std::optional<int32_t> lastVar = RoundedCount(reader, "the number of variables");
  if (!lastVar || *lastVar < 0 || *lastVar >= MaxVars) {
    reader.Fail("the number of variables must be 1 to 4.");
  }
  std::vector<std::string> names;
  for (std::size_t i = 0; i <= static_cast<std::size_t>(*lastVar); ++i) {
    contents.Variables.push_back(ReadRecord(reader, names));
  }
  contents.HaveResults = reader.ReadBoolean("the results flag");
  if (contents.HaveResults) ReadCoefficients(reader, contents);
  reader.ExpectEnd(contents.HaveResults
                       ? "the file holds more coefficients than its variables' terms call for."
                       : "the file holds more than its results flag #FALSE# allows.");
}

void ParseTextFile(std::string_view text, const std::string& path, SpecFileContents& contents) {
  SpecItemReader reader(text, path);
  contents.Equation = reader.ReadText("the function");
  const std::optional<int32_t> count = RoundedCount(reader, "the number of constants");
  if (!count || *count < 0 || *count > MaxConstants) {
    reader.Fail("the number of constants must be 0 to " + std::to_string(MaxConstants) + ".");
  }
  // Each constant is its whole line: a value text may hold commas ("d=Round(2.567,2)").
  for (int32_t i = 0; i < *count; ++i) {
    contents.Constants.push_back(reader.ReadLine("constant " + std::to_string(i + 1)));
  }
  reader.ExpectEnd("the file holds more lines than its " + std::to_string(*count) + " constants.");
}

// The whole file as text; a missing or unreadable file is refused with the system's reason.
std::string ReadWholeFile(const std::string& path) {
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw SpecFileError(path + ": cannot open the file: " + std::strerror(errno) + ".");
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
    try {
      text.append(buffer, n);
    } catch (const std::bad_alloc&) {
      throw SpecFileError(path + ": the file is too large to read.");
    }
    if (n < sizeof buffer) break;
  }
  if (std::ferror(file.get())) {
    throw SpecFileError(path + ": cannot read the file: " + std::strerror(errno) + ".");
  }
  return text;
}

// The value of a centre or period text at opening: the marker "*" or its leading number;
// a kind that has no centre or period reads both as "*".
double ResolvedCenter(const VariableRecord& r) {
  return r.CenterText == "*" || !UsesCenter(r.Kind) ? (r.UpperLimit + r.LowerLimit) / 2
                                                    : LeadingNumber(r.CenterText);
}

double ResolvedPeriod(const VariableRecord& r, double pi) {
  return r.PeriodText == "*" || !UsesCenter(r.Kind) ? pi + pi : LeadingNumber(r.PeriodText);
}

}  // namespace

std::string TextFilePath(const std::string& path) { return path + ".str"; }

SpecFileContents ParseSpecFile(std::string_view mainText, std::string_view textFileText,
                               const std::string& path) {
  SpecFileContents contents;
  ParseMain(mainText, path, contents);
  ParseTextFile(textFileText, TextFilePath(path), contents);
  return contents;
}

SpecFileContents ReadSpecFile(const std::string& path) {
  const std::string mainText = ReadWholeFile(path);
  const std::string textFileText = ReadWholeFile(TextFilePath(path));
  return ParseSpecFile(mainText, textFileText, path);
}

EntryFields ApplySpecFile(SpecFileContents contents, const std::string& path, ProblemModel& model) {
  EntryFields fields;
  model.SpecFile = path;
  model.LastVar = static_cast<int32_t>(contents.Variables.size()) - 1;
  model.AllocatePerVariableArrays();
  for (std::size_t i = 0; i < contents.Variables.size(); ++i) {
    const VariableRecord& r = contents.Variables[i];
    model.VarName[i] = r.Name;
    model.LowerLimit[i] = r.LowerLimit;
    model.UpperLimit[i] = r.UpperLimit;
    model.Center[i] = ResolvedCenter(r);
    model.Kind[i] = r.Kind;
    model.Period[i] = ResolvedPeriod(r, model.Pi);
    model.LastTerm[i] = r.LastTerm;

    VariableFields shown;
    shown.LowerLimit = TextForm(r.LowerLimit);
    shown.UpperLimit = TextForm(r.UpperLimit);
    shown.Expansion = r.CenterText;
    shown.Period = r.PeriodText;
    shown.Terms = TextForm(static_cast<double>(r.LastTerm) + 1);
    ShowKind(shown, r.Kind);
    fields.Variables.push_back(std::move(shown));
  }
  model.HaveResults = contents.HaveResults;
  model.Origin = ResultsOrigin::Function;
  model.Coef = std::move(contents.Coef);  // empty when the file holds no results
  model.Equation = contents.Equation;
  model.ConstCount = static_cast<int32_t>(contents.Constants.size());
  for (std::size_t j = 0; j < model.Constants.size(); ++j) {
    model.Constants[j] = j < contents.Constants.size() ? contents.Constants[j] : std::string();
  }
  fields.Equation = std::move(contents.Equation);
  fields.ConstantItems = std::move(contents.Constants);
  return fields;
}

EntryFields OpenSpecFile(const std::string& path, ProblemModel& model) {
  return ApplySpecFile(ReadSpecFile(path), path, model);
}

}  // namespace quon
