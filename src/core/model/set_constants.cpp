#include "core/model/user_constants.h"
#include "engine/script_environment.h"

namespace quon {

void SetConstants(const std::vector<std::string>& items, ScriptEnvironment& engine) {
  // In list order, so that a later entry of the same name (the engine ignores case) wins.
  for (const std::string& item : items) engine.ExecuteStatement(item);
}

}  // namespace quon
