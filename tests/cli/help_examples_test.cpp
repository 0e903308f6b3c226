// The help file's examples against the program: every "N gives M" of the number of terms
// and of variables follows the program's own rounding, and every worked example fits
// without a conditioning warning and lists the coefficients the help shows. The examples
// are read from the marked-up elements of the help file itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "core/io/spec_file.h"
#include "core/model/entry_checks.h"
#include "core/model/gather_specs.h"
#include "support/file_test_support.h"
#include "support/quonfit_run.h"

namespace quon {
namespace {

using testing::QuonfitRun;

testing::QuonfitRun RunQuonfit(const std::string& arguments) {
  return testing::RunQuonfit(QUONFIT, arguments);
}

// The text of an HTML element as it reads.
std::string Unescaped(std::string text) {
  for (const auto& [entity, character] : {std::pair<std::string, std::string>{"&quot;", "\""},
                                          {"&lt;", "<"},
                                          {"&gt;", ">"},
                                          {"&amp;", "&"}}) {
    for (std::size_t at; (at = text.find(entity)) != std::string::npos;) {
      text.replace(at, entity.size(), character);
    }
  }
  return text;
}

const std::string& HelpText() {
  static const std::string text = test::ReadBytes(QUON_HELP_FILE);
  return text;
}

// The "typed gives count" pairs of the spans of class `kind`.
std::vector<std::pair<std::string, int>> RoundingExamples(const std::string& kind) {
  const std::regex span("<span class=\"" + kind + "\">([^<]*)</span>");
  const std::regex example("\"?([^\" ]*)\"? gives (\\d+)( \\w+)?");
  std::vector<std::pair<std::string, int>> found;
  for (std::sregex_iterator it(HelpText().begin(), HelpText().end(), span), end; it != end; ++it) {
    std::smatch m;
    const std::string text = Unescaped((*it)[1]);
    if (std::regex_match(text, m, example)) {
      found.emplace_back(m[1], std::stoi(m[2]));
    } else {
      ADD_FAILURE() << "not an example of the form \"typed gives count\": " << text;
    }
  }
  return found;
}

struct WorkedExample {
  EntryFields fields;
  std::vector<std::string> names;
  std::string listing;  // empty when the help shows none
};

// The examples: each <div class="example"> gives its function, and per variable a name
// followed by its fields, in elements of those classes.
std::vector<WorkedExample> WorkedExamples() {
  const std::regex block("<div class=\"example\">([\\s\\S]*?)</div>");
  const std::regex item("class=\"(\\w+)\">([^<]*)<");
  std::vector<WorkedExample> examples;
  for (std::sregex_iterator b(HelpText().begin(), HelpText().end(), block), end; b != end; ++b) {
    WorkedExample example;
    const std::string body = (*b)[1];
    for (std::sregex_iterator i(body.begin(), body.end(), item); i != end; ++i) {
      const std::string cls = (*i)[1];
      const std::string value = Unescaped((*i)[2]);
      if (cls == "name") {
        example.names.push_back(value);
        example.fields.Variables.emplace_back();
        continue;
      }
      if (cls == "function") example.fields.Equation = value;
      if (cls == "listing") example.listing = value;
      if (example.fields.Variables.empty()) continue;
      VariableFields& v = example.fields.Variables.back();
      if (cls == "lower") v.LowerLimit = value;
      if (cls == "upper") v.UpperLimit = value;
      if (cls == "center") v.Expansion = value;
      if (cls == "period") v.Period = value;
      if (cls == "terms") v.Terms = value;
      if (cls == "kind") v.PowerChecked = value == "Power";
    }
    examples.push_back(example);
  }
  return examples;
}

// Lines without their trailing blanks, and no empty lines at the end.
std::string Trimmed(const std::string& text) {
  std::string result = std::regex_replace(text, std::regex(" +\n"), "\n");
  while (result.ends_with("\n\n")) result.pop_back();
  return result;
}

TEST(HelpExamples, NumbersOfTermsAndVariablesFollowTheProgramsRounding) {
  const auto termExamples = RoundingExamples("terms-example");
  EXPECT_GE(termExamples.size(), 3u);
  for (const auto& [typed, terms] : termExamples) {
    ProblemModel model;
    model.AllocatePerVariableArrays();
    EntryFields fields;
    fields.Variables.emplace_back().Terms = typed;
    GatherSpecs(model, fields);
    EXPECT_EQ(model.LastTerm[0] + 1, terms) << typed;
  }
  const auto variableExamples = RoundingExamples("variables-example");
  EXPECT_GE(variableExamples.size(), 2u);
  for (const auto& [typed, count] : variableExamples) {
    EXPECT_EQ(AcceptVariableCount(typed).value_or(-2) + 1, count) << typed;
  }
}

TEST(HelpExamples, WorkedExamplesFitWithoutAConditioningWarning) {
  const std::vector<WorkedExample> examples = WorkedExamples();
  EXPECT_GE(examples.size(), 2u);
  for (const WorkedExample& example : examples) {
    SCOPED_TRACE(example.fields.Equation);
    ASSERT_FALSE(example.names.empty());
    test::ScratchDir dir;
    const std::string path = dir.Path("example.qsp");
    ProblemModel model;
    model.LastVar = static_cast<int32_t>(example.names.size()) - 1;
    model.AllocatePerVariableArrays();
    model.VarName = example.names;
    WriteSpecFile(path, example.fields, model);

    const QuonfitRun check = RunQuonfit("'" + path + "' --check");
    EXPECT_EQ(check.code, 0) << check.out;
    EXPECT_EQ(check.out.find("warning:"), std::string::npos) << check.out;
    if (example.listing.empty()) continue;
    const QuonfitRun fit = RunQuonfit("'" + path + "'");
    EXPECT_EQ(Trimmed(fit.out), Trimmed(example.listing));
  }
}

}  // namespace
}  // namespace quon
