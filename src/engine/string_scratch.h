// Texts built during one run of a program (the results of "&", "+" on texts and the text
// functions). A text lives while a value on the run's stack refers to it: after every
// operation that consumed texts the run sweeps the scratch (KeepOnly), so a text is freed
// as soon as the operation that used it is done, and the scratch holds at most the texts
// the stack holds at once. Without that, Len(Space(16777216))+... kept every 16 MB text
// to the end of the run, and 40,000 concatenations kept every partial text.
//
// Freed storage is kept for the next text when it is small (no allocation when a run
// builds the same texts again); a large one is given back to the system at once.
// Cost: a sweep is O(texts in use x stack depth), paid only while texts are in use.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/variant.h"

namespace quon::script {

class StringScratch {
 public:
  // An empty text, in use until a sweep finds no value referring to it.
  std::string& Next();
  // Frees every text in use that none of `live` refers to.
  void KeepOnly(std::span<const Variant> live);
  // Frees every text: a new run starts.
  void Reset();
  bool InUse() const { return !inUse_.empty(); }

 private:
  void Free(uint32_t index);

  std::vector<std::unique_ptr<std::string>> pool_;
  std::vector<uint32_t> inUse_;
  std::vector<uint32_t> free_;
};

}  // namespace quon::script
