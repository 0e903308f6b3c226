#include "core/io/pair_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/file_test_support.h"

namespace quon {
namespace {

// The files of a pair are recognised by the file system, whatever the spelling.
struct PairCase {
  const char* name;
  const char* path;  // in the scratch folder, which holds p.qsp, p.qsp.str and other.pdf
  const char* pair;  // empty: no pair
  bool ofPair;
};

class PairFiles : public testing::TestWithParam<PairCase> {};

TEST_P(PairFiles, AreRecognisedByTheFileSystemNotByTheirText) {
  const PairCase& c = GetParam();
  const test::ScratchDir dir;
  test::WriteBytes(dir.Path("p.qsp"), "main");
  test::WriteBytes(dir.Path("p.qsp.str"), "text");
  test::WriteBytes(dir.Path("other.pdf"), "other");
  std::filesystem::create_directory(dir.Path("sub"));
  std::filesystem::create_symlink(dir.Path("p.qsp"), dir.Path("link.pdf"));
  std::filesystem::create_hard_link(dir.Path("p.qsp.str"), dir.Path("hard.pdf"));
  const std::string pair = *c.pair == '\0' ? std::string() : dir.Path(c.pair);
  EXPECT_EQ(IsFileOfPair(dir.Path(c.path), pair), c.ofPair);
}

const PairCase kPairs[] = {
    {"TheMainFile", "p.qsp", "p.qsp", true},
    {"TheTextFile", "p.qsp.str", "p.qsp", true},
    {"AnotherSpelling", "sub/../p.qsp", "./p.qsp", true},
    {"ALinkToTheMainFile", "link.pdf", "p.qsp", true},
    {"AHardLinkToTheTextFile", "hard.pdf", "p.qsp", true},
    {"AnotherFile", "other.pdf", "p.qsp", false},
    {"ANewFile", "new.pdf", "p.qsp", false},
    {"NoPair", "p.qsp", "", false},
    {"AMissingPairOfTheSameName", "q.qsp", "q.qsp", false},
};

INSTANTIATE_TEST_SUITE_P(Paths, PairFiles, testing::ValuesIn(kPairs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quon
