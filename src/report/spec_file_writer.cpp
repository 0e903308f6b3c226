#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

#include "model/number_forms.h"
#include "report/spec_file.h"

namespace quon {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A text item: quoted, with a quote inside doubled so that the reader gets it back whole.
void AppendTextItem(std::string& out, std::string_view text) {
  out.push_back('"');
  for (const char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

// A plain number line: the print form and one blank.
void AppendNumberLine(std::string& out, double value) {
  out += PrintForm(value);
  out.push_back(' ');
  out += kLineEnd;
}

void AppendRecord(std::string& out, std::string_view name, const VariableFields& f) {
  AppendTextItem(out, name);
  out.push_back(',');
  out += TextForm(LeadingNumber(f.LowerLimit));
  out.push_back(',');
  out += TextForm(LeadingNumber(f.UpperLimit));
  out.push_back(',');
  AppendTextItem(out, f.Expansion);
  out.push_back(',');
  out += f.PowerChecked ? "#TRUE#" : "#FALSE#";
  out.push_back(',');
  AppendTextItem(out, f.Period);
  out.push_back(',');
  out += TextForm(LeadingNumber(f.Terms) - 1);
  out += kLineEnd;
}

void AppendCoefficients(std::string& out, const CoefArray& coef) {
  out.reserve(out.size() + coef.size() * 24);
  const double* values = coef.data();
  for (std::size_t n = 0; n < coef.size(); ++n) AppendNumberLine(out, values[n]);
}

bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

std::size_t VariableCount(const ProblemModel& model) {
  return static_cast<std::size_t>(model.LastVar) + 1;
}

// Writes `text` to a fresh temporary file beside `path` and returns its name.
std::string WriteTemporary(const std::string& path, const std::string& text) {
  std::string name = path + ".XXXXXX";
  const int fd = ::mkstemp(name.data());
  if (fd < 0) throw SpecFileError(path + ": cannot write the file: " + std::strerror(errno) + ".");
  // mkstemp creates the file for its owner only; a saved pair gets the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      ::unlink(name.c_str());
      throw SpecFileError(path + ": cannot write the file: " + std::strerror(error) + ".");
    }
    written += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(name.c_str());
    throw SpecFileError(path + ": cannot write the file: " + std::strerror(error) + ".");
  }
  return name;
}

}  // namespace

bool FieldsMatchResults(const EntryFields& fields, const ProblemModel& model) {
  if (fields.Variables.size() < VariableCount(model)) return false;
  for (std::size_t i = 0; i < VariableCount(model); ++i) {
    const VariableFields& f = fields.Variables[i];
    const double lower = LeadingNumber(f.LowerLimit);
    const double upper = LeadingNumber(f.UpperLimit);
    const std::optional<int32_t> lastTerm = RoundHalfEvenToInt32(LeadingNumber(f.Terms) - 1);
    const double center = f.Expansion == "*" ? (upper + lower) / 2 : LeadingNumber(f.Expansion);
    const double period = f.Period == "*" ? model.Pi + model.Pi : LeadingNumber(f.Period);
    if (lastTerm != model.LastTerm[i] || f.PowerChecked != model.IsPower[i] ||
        !SameBits(lower, model.LowerLimit[i]) || !SameBits(upper, model.UpperLimit[i]) ||
        !SameBits(center, model.Center[i]) ||
        (!f.PowerChecked && !SameBits(period, model.Period[i]))) {
      return false;
    }
  }
  return true;
}

SpecFileTexts FormatSpecFile(const EntryFields& fields, ProblemModel& model, SaveOutcome* outcome) {
  const std::size_t count = VariableCount(model);
  if (fields.Variables.size() < count || model.VarName.size() < count) {
    throw SpecFileError("The problem cannot be saved before its variables are defined.");
  }
  // Coefficients go with the records only when the records describe the fit that made them.
  const bool withResults = model.HaveResults && FieldsMatchResults(fields, model);
  if (outcome) {
    *outcome =
        model.HaveResults && !withResults ? SaveOutcome::SavedWithoutResults : SaveOutcome::Saved;
  }
  if (!model.HaveResults) {
    for (std::size_t i = 0; i < count; ++i) {
      model.IsPower[i] = fields.Variables[i].PowerChecked;
      model.IsTrig[i] = !model.IsPower[i];
    }
  }

  SpecFileTexts texts;
  AppendNumberLine(texts.Main, model.LastVar);
  for (std::size_t i = 0; i < count; ++i) {
    AppendRecord(texts.Main, model.VarName[i], fields.Variables[i]);
  }
  texts.Main += withResults ? "#TRUE#" : "#FALSE#";
  texts.Main += kLineEnd;
  if (withResults) AppendCoefficients(texts.Main, model.Coef);

  AppendTextItem(texts.TextFile, fields.Equation);
  texts.TextFile += kLineEnd;
  AppendNumberLine(texts.TextFile, static_cast<double>(fields.ConstantItems.size()));
  for (const std::string& item : fields.ConstantItems) {
    texts.TextFile += item;
    texts.TextFile += kLineEnd;
  }
  return texts;
}

SaveOutcome WriteSpecFile(const std::string& path, const EntryFields& fields, ProblemModel& model) {
  SaveOutcome outcome = SaveOutcome::Saved;
  SpecFileTexts texts;
  try {
    texts = FormatSpecFile(fields, model, &outcome);
  } catch (const std::bad_alloc&) {
    throw SpecFileError(path + ": not enough memory to write the coefficients.");
  }
  const std::string textPath = TextFilePath(path);
  // Both files are complete under temporary names before either replaces the old pair.
  const std::string mainTemporary = WriteTemporary(path, texts.Main);
  std::string textTemporary;
  try {
    textTemporary = WriteTemporary(textPath, texts.TextFile);
  } catch (...) {
    ::unlink(mainTemporary.c_str());
    throw;
  }
  if (std::rename(textTemporary.c_str(), textPath.c_str()) != 0) {
    const int error = errno;
    ::unlink(mainTemporary.c_str());
    ::unlink(textTemporary.c_str());
    throw SpecFileError(textPath + ": cannot write the file: " + std::strerror(error) + ".");
  }
  if (std::rename(mainTemporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(mainTemporary.c_str());
    throw SpecFileError(path + ": cannot write the file: " + std::strerror(error) + ".");
  }
  model.SpecFile = path;
  return outcome;
}

std::string ResultsNotSavedMessage() {
  return "The coefficients were not saved: the specifications were changed after the last "
         "Compute. Compute again and save to keep them.";
}

}  // namespace quon
