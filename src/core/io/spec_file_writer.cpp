#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/io/spec_file.h"
#include "core/io/temporary_file.h"
#include "core/model/gather_specs.h"
#include "core/model/large_array.h"
#include "core/parallel/ordered_pipeline.h"
#include "core/parallel/parallel_for.h"
#include "engine/number_text.h"

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

// The kind of terms as the record stores it: a flag for the first two kinds, a quoted
// name for Chebyshev terms (spec_file.h).
const char* KindItem(TermKind kind) {
  switch (kind) {
    case TermKind::Power:
      return "#TRUE#";
    case TermKind::Trigonometric:
      return "#FALSE#";
    case TermKind::Chebyshev:
      return ChebyshevKindItem;
  }
  return "";
}

// The limits and the number of terms as gathering reads them; centre and period as typed,
// or "*" for a kind that has none.
void AppendRecord(std::string& out, std::string_view name, const VariableFields& f, double pi) {
  const VariableReading r = ReadVariableFields(f, pi);
  AppendTextItem(out, name);
  out.push_back(',');
  out += TextForm(r.LowerLimit);
  out.push_back(',');
  out += TextForm(r.UpperLimit);
  out.push_back(',');
  AppendTextItem(out, UsesCenter(r.Kind) ? std::string_view(f.Expansion) : "*");
  out.push_back(',');
  out += KindItem(r.Kind);
  out.push_back(',');
  AppendTextItem(out, UsesCenter(r.Kind) ? std::string_view(f.Period) : "*");
  out.push_back(',');
  out += TextForm(r.TermsMinusOne);
  out += kLineEnd;
}

// Coefficient lines of values[0..count) into out (room for kLineMax per value): the print
// form, a blank and CR LF each. Returns the end of what was written.
constexpr std::size_t kLineMax = PrintFormMaxChars + 3;

char* FormatCoefficients(char* out, const double* values, std::size_t count) {
  for (std::size_t n = 0; n < count; ++n) {
    out = PrintFormTo(out, values[n]);
    *out++ = ' ';
    *out++ = '\r';
    *out++ = '\n';
  }
  return out;
}

// Hands the coefficient lines of the whole array to sink(data, size), in order, a block at
// a time. The workers format blocks into a ring of reused buffers while the block next in
// line goes to the sink, so the writing of one block overlaps the formatting of the next
// ones; memory stays at a few megabytes however large the array.
template <typename Sink>
void StreamCoefficients(const CoefArray& coef, Sink&& sink) {
  constexpr std::size_t kBlock = std::size_t{1} << 15;
  const std::size_t count = coef.size();
  const std::size_t bytes = std::min(kBlock, count) * kLineMax;
  const std::size_t blocks = (count + kBlock - 1) / kBlock;
  const std::size_t workers = WorkerCount(blocks);
  const std::size_t slots = 2 * workers;
  std::vector<char, LargeArrayAllocator<char>> buffers(slots * bytes);
  std::vector<std::size_t> used(slots);
  OrderedPipeline(
      blocks, workers, slots,
      [&](std::size_t, std::size_t block, std::size_t slot) {
        const std::size_t begin = block * kBlock;
        char* buffer = buffers.data() + slot * bytes;
        const char* end =
            FormatCoefficients(buffer, coef.data() + begin, std::min(kBlock, count - begin));
        used[slot] = static_cast<std::size_t>(end - buffer);
      },
      [&](std::size_t, std::size_t slot) { sink(buffers.data() + slot * bytes, used[slot]); });
}

bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

std::size_t VariablesInUse(const ProblemModel& model) {
  return static_cast<std::size_t>(VariableCount(model));
}

}  // namespace

bool FieldsMatchResults(const EntryFields& fields, const ProblemModel& model) {
  if (fields.Variables.size() < VariablesInUse(model)) return false;
  for (std::size_t i = 0; i < VariablesInUse(model); ++i) {
    const VariableReading r = ReadVariableFields(fields.Variables[i], model.Pi);
    if (r.LastTerm != model.LastTerm[i] || r.Kind != model.Kind[i] ||
        !SameBits(r.LowerLimit, model.LowerLimit[i]) ||
        !SameBits(r.UpperLimit, model.UpperLimit[i]) || !SameBits(r.Center, model.Center[i]) ||
        (UsesPeriod(r.Kind) && !SameBits(r.Period, model.Period[i]))) {
      return false;
    }
  }
  return true;
}

namespace {

// The texts of the pair without the coefficient lines, and whether they follow.
struct PreparedPair {
  SpecFileTexts texts;
  bool withResults = false;
};

PreparedPair PreparePair(const EntryFields& fields, ProblemModel& model, SaveOutcome* outcome) {
  const std::size_t count = VariablesInUse(model);
  if (fields.Variables.size() < count || model.VarName.size() < count) {
    throw SpecFileError("The problem cannot be saved before its variables are defined.");
  }
  // A pair with an empty name opens with its names locked and a function that no longer
  // compiles, so no path may write one: the names are accepted first.
  if (std::ranges::any_of(std::span(model.VarName).first(count),
                          [](const std::string& name) { return name.empty(); })) {
    throw SpecFileError(
        "The problem cannot be saved before its variables are named: enter the names of the "
        "variables first.");
  }
  PreparedPair pair;
  // Coefficients go with the records only when the records describe the fit that made them.
  pair.withResults = model.HaveResults && FieldsMatchResults(fields, model);
  if (outcome) {
    *outcome = model.HaveResults && !pair.withResults ? SaveOutcome::SavedWithoutResults
                                                      : SaveOutcome::Saved;
  }
  if (!model.HaveResults) {
    for (std::size_t i = 0; i < count; ++i) model.Kind[i] = KindOf(fields.Variables[i]);
  }

  std::string& main = pair.texts.Main;
  AppendNumberLine(main, model.LastVar);
  for (std::size_t i = 0; i < count; ++i) {
    AppendRecord(main, model.VarName[i], fields.Variables[i], model.Pi);
  }
  main += pair.withResults ? "#TRUE#" : "#FALSE#";
  main += kLineEnd;

  std::string& text = pair.texts.TextFile;
  AppendTextItem(text, fields.Equation);
  text += kLineEnd;
  AppendNumberLine(text, static_cast<double>(fields.ConstantItems.size()));
  for (const std::string& item : fields.ConstantItems) {
    text += item;
    text += kLineEnd;
  }
  return pair;
}

}  // namespace

SpecFileTexts FormatSpecFile(const EntryFields& fields, ProblemModel& model, SaveOutcome* outcome) {
  PreparedPair pair = PreparePair(fields, model, outcome);
  if (pair.withResults) {
    StreamCoefficients(model.Coef, [&](const char* data, std::size_t size) {
      pair.texts.Main.append(data, size);
    });
  }
  return std::move(pair.texts);
}

SaveOutcome WriteSpecFile(const std::string& path, const EntryFields& fields, ProblemModel& model,
                          const RenameFile& rename) {
  SaveOutcome outcome = SaveOutcome::Saved;
  try {
    const PreparedPair pair = PreparePair(fields, model, &outcome);
    // Both files are complete under temporary names before either replaces the old pair.
    TemporaryFile main(path);
    main.Write(pair.texts.Main);
    if (pair.withResults) {
      StreamCoefficients(model.Coef,
                         [&](const char* data, std::size_t size) { main.Write(data, size); });
    }
    main.Close();
    TemporaryFile text(TextFilePath(path));
    text.Write(pair.texts.TextFile);
    text.Close();
    CommitPair(text, main, rename);
  } catch (const std::bad_alloc&) {
    throw SpecFileError(path + ": not enough memory to write the file.");
  }
  model.SpecFile = path;
  return outcome;
}

std::string ResultsNotSavedMessage() {
  return "The coefficients were not saved: the specifications were changed after the last "
         "Compute. Compute again and save to keep them.";
}

}  // namespace quon
