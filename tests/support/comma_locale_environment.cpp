// When QUON_TEST_COMMA_LOCALE is set, every test of the executable runs with a numeric
// locale whose decimal separator is a comma: the C library's (de_DE.UTF-8 when it is
// installed) and the C++ global locale (a numpunct facet with ',' in any case). The
// program changes its numeric locale at run time, so nothing in the core may depend on it.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale>

namespace {

bool cLocaleIsComma = false;

class CommaNumpunct : public std::numpunct<char> {
 protected:
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

class CommaLocaleEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
      if (std::setlocale(LC_ALL, name) != nullptr) break;
    }
    cLocaleIsComma = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    std::locale::global(std::locale(std::locale::classic(), new CommaNumpunct));
  }
};

const bool registered = [] {
  if (std::getenv("QUON_TEST_COMMA_LOCALE") != nullptr) {
    ::testing::AddGlobalTestEnvironment(new CommaLocaleEnvironment);
  }
  return true;
}();

}  // namespace

// The comma locale is really in force during the run: checked by a test so that a run
// meant to prove locale independence cannot silently run under the classic locale.
TEST(CommaLocaleRun, CppGlobalLocaleUsesCommaWhenRequested) {
  if (std::getenv("QUON_TEST_COMMA_LOCALE") == nullptr) GTEST_SKIP() << "classic locale run";
  EXPECT_EQ(std::use_facet<std::numpunct<char>>(std::locale()).decimal_point(), ',');
  if (!cLocaleIsComma) std::puts("note: no comma locale installed for the C library");
}
