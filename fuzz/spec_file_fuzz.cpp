// Fuzzes the reader of the specification file pair. One input holds both files: the main
// file up to the first NUL byte, the text file after it. Whatever the reader accepts must
// survive apply -> write -> read -> apply -> write unchanged; whatever it refuses must be
// refused with a SpecFileError, never a crash. (The first write may differ from the input:
// it spells numbers in the text form and drops results whose limits the fields cannot
// show exactly; from then on the pair is stable.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/io/spec_file.h"
#include "core/model/problem_model.h"

namespace {

quon::SpecFileTexts Rewrite(quon::SpecFileContents contents) {
  quon::ProblemModel model;
  const quon::EntryFields fields = quon::ApplySpecFile(std::move(contents), "f", model);
  return quon::FormatSpecFile(fields, model);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string_view mainText = input.substr(0, split);
  const std::string_view textFileText =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  quon::SpecFileContents contents;
  try {
    contents = quon::ParseSpecFile(mainText, textFileText, "f");
  } catch (const quon::SpecFileError&) {
    return 0;
  }
  const quon::SpecFileTexts first = Rewrite(std::move(contents));
  const quon::SpecFileTexts second = Rewrite(quon::ParseSpecFile(first.Main, first.TextFile, "f"));
  if (first.Main != second.Main || first.TextFile != second.TextFile) std::abort();
  return 0;
}
