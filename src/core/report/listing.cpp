#include "core/report/listing.h"

#include <array>
#include <stdexcept>

#include "core/report/term_label.h"

namespace quon {
namespace {

// Lengths of the nested blocks of the listing: block1 is one run of index 0 and its empty
// line, block2 one run of index 1 and its empty line, block3 one run of index 2 and its
// empty line. The listing is the two heading lines followed by N3 blocks of type 3.
struct BlockSizes {
  int64_t block1, block2, block3, n3;
};

BlockSizes Blocks(const ProblemModel& model) {
  const CoefArray& coef = model.Coef;
  BlockSizes b{};
  b.block1 = int64_t{coef.extent(0)} + 1;
  b.block2 = int64_t{coef.extent(1)} * b.block1 + 1;
  b.block3 = int64_t{coef.extent(2)} * b.block2 + 1;
  b.n3 = coef.extent(3);
  return b;
}

}  // namespace

int64_t ListingLineCount(const ProblemModel& model) {
  if (model.Coef.empty()) return 0;
  const BlockSizes b = Blocks(model);
  return 2 + b.n3 * b.block3;
}

std::string ListingLine(const ProblemModel& model, int64_t line) {
  const BlockSizes b = Blocks(model);
  if (line < 0 || line >= ListingLineCount(model)) {
    throw std::out_of_range("Listing line " + std::to_string(line) + " does not exist.");
  }
  if (line == 0) return ListingHeading;
  if (line == 1) return {};
  int64_t rest = line - 2;
  std::array<int32_t, 4> termIndex{};
  termIndex[3] = static_cast<int32_t>(rest / b.block3);
  rest %= b.block3;
  if (rest == b.block3 - 1) return {};
  termIndex[2] = static_cast<int32_t>(rest / b.block2);
  rest %= b.block2;
  if (rest == b.block2 - 1) return {};
  termIndex[1] = static_cast<int32_t>(rest / b.block1);
  rest %= b.block1;
  if (rest == b.block1 - 1) return {};
  termIndex[0] = static_cast<int32_t>(rest);
  return TermLabel(model, termIndex);
}

void ListCoefficients(const ProblemModel& model,
                      const std::function<void(const std::string&)>& lineSink,
                      const std::function<void()>& pendingEventsHook) {
  const CoefArray& coef = model.Coef;
  if (coef.empty()) return;
  const std::string empty;
  lineSink(ListingHeading);
  lineSink(empty);
  std::array<int32_t, 4> termIndex{};
  for (termIndex[3] = 0; termIndex[3] < coef.extent(3); ++termIndex[3]) {
    for (termIndex[2] = 0; termIndex[2] < coef.extent(2); ++termIndex[2]) {
      for (termIndex[1] = 0; termIndex[1] < coef.extent(1); ++termIndex[1]) {
        for (termIndex[0] = 0; termIndex[0] < coef.extent(0); ++termIndex[0]) {
          lineSink(TermLabel(model, termIndex));
        }
        lineSink(empty);
      }
      lineSink(empty);
    }
    if (pendingEventsHook) pendingEventsHook();
    lineSink(empty);
  }
}

}  // namespace quon
