// A stand-in for the script engine that records every statement and every function call.
// Statements "name=value" set a variable (the value read by LeadingNumber); the function
// is a C++ callable over the current values, which may throw ScriptFailure like the engine.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/fit/fit_engine.h"
#include "engine/number_text.h"
#include "engine/script_environment.h"

namespace quon::test {

class RecordingEngine : public FitEngine {
 public:
  using Values = std::map<std::string, double>;
  using Function = std::function<double(const Values&)>;
  using StatementCheck = std::function<void(const std::string&)>;

  explicit RecordingEngine(Function function, StatementCheck check = {})
      : function_(std::move(function)), check_(std::move(check)) {}

  void ExecuteStatement(std::string_view statement) override {
    Statements.emplace_back(statement);
    if (check_) check_(Statements.back());
    const auto equals = statement.find('=');
    values_[std::string(statement.substr(0, equals))] = LeadingNumber(statement.substr(equals + 1));
  }
  double fna() override {
    Calls.push_back(values_);
    return function_(values_);
  }
  void RecordError(int32_t number) override { Errors.push_back(number); }

  std::vector<std::string> Statements;
  std::vector<Values> Calls;  // the variables' values at each function call
  std::vector<int32_t> Errors;

 private:
  Function function_;
  StatementCheck check_;
  Values values_;
};

}  // namespace quon::test
