// Reads every quoted #include under src/ and fails (exit 1, one line per fault) when
//   - an include does not name its layer from src/ ("core/fit/basis.h", not "fit/basis.h"),
//   - a file reaches a layer above its own (engine < core < gui, cli < app),
//   - a file of core reaches a subfolder of core that is not below its own, in the order
//     parallel < model < fit < eval < report < io < export < batch < calculus < advisor
//     (shell stands alone: it includes no other subfolder and none includes it),
//   - the includes between files form a cycle.
// Usage: check_includes <the src folder>.
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The layers each layer may include.
const std::map<std::string, std::set<std::string>> kReachable = {
    {"engine", {"engine"}},
    {"core", {"core", "engine"}},
    {"gui", {"gui", "core", "engine"}},
    {"cli", {"cli", "core", "engine"}},
    {"app", {"app", "gui", "core", "engine"}},
};

// Core's subfolders, lowest first. A new capability's folder goes in where it belongs.
const std::vector<std::string> kCoreOrder = {"parallel", "model",    "fit",     "eval",
                                             "report",   "io",       "export",  "batch",
                                             "calculus", "analysis", "advisor", "datafit"};
const std::string kCoreAlone = "shell";

std::string FirstPart(const std::string& path) { return path.substr(0, path.find('/')); }

std::string SecondPart(const std::string& path) {
  const std::size_t first = path.find('/');
  if (first == std::string::npos) return {};
  const std::size_t second = path.find('/', first + 1);
  return second == std::string::npos ? std::string() : path.substr(first + 1, second - first - 1);
}

// -1 for a subfolder outside the order (shell, or one not listed).
int CoreRank(const std::string& subfolder) {
  const auto at = std::find(kCoreOrder.begin(), kCoreOrder.end(), subfolder);
  return at == kCoreOrder.end() ? -1 : static_cast<int>(at - kCoreOrder.begin());
}

std::vector<std::string> QuotedIncludes(const fs::path& file) {
  static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::vector<std::string> headers;
  std::ifstream in(file);
  std::string line;
  std::smatch match;
  while (std::getline(in, line)) {
    if (std::regex_search(line, match, include)) headers.push_back(match[1]);
  }
  return headers;
}

// The fault of one include, or empty.
std::string Fault(const fs::path& src, const std::string& from, const std::string& header) {
  const std::string layer = FirstPart(from);
  const std::string target = FirstPart(header);
  if (!kReachable.contains(target) || !fs::exists(src / header)) {
    return "does not name its layer from src/";
  }
  if (!kReachable.at(layer).contains(target)) return "reaches the layer " + target;
  if (layer != "core" || target != "core") return {};
  const std::string own = SecondPart(from);
  const std::string other = SecondPart(header);
  if (own == other) return {};
  if (own == kCoreAlone || other == kCoreAlone) return "crosses into or out of core/shell";
  const int ownRank = CoreRank(own);
  const int otherRank = CoreRank(other);
  if (ownRank < 0) return "lies in core/" + own + ", which has no place in core's order";
  if (otherRank < 0 || otherRank > ownRank) {
    return "reaches core/" + other + ", which is not below core/" + own;
  }
  return {};
}

// Depth-first search for a cycle in the include graph; returns one cycle, or empty.
class CycleFinder {
 public:
  explicit CycleFinder(const std::map<std::string, std::vector<std::string>>& edges)
      : edges_(edges) {}

  std::vector<std::string> Find() {
    for (const auto& [file, _] : edges_) {
      if (Visit(file)) return cycle_;
    }
    return {};
  }

 private:
  bool Visit(const std::string& file) {
    if (done_.contains(file)) return false;
    const auto open = std::find(path_.begin(), path_.end(), file);
    if (open != path_.end()) {
      cycle_.assign(open, path_.end());
      cycle_.push_back(file);
      return true;
    }
    path_.push_back(file);
    if (const auto it = edges_.find(file); it != edges_.end()) {
      for (const std::string& next : it->second) {
        if (Visit(next)) return true;
      }
    }
    path_.pop_back();
    done_.insert(file);
    return false;
  }

  const std::map<std::string, std::vector<std::string>>& edges_;
  std::vector<std::string> path_;
  std::set<std::string> done_;
  std::vector<std::string> cycle_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: check_includes <the src folder>\n";
    return 2;
  }
  const fs::path src = argv[1];
  std::vector<std::string> faults;
  std::map<std::string, std::vector<std::string>> edges;
  int checked = 0;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const fs::path& path = entry.path();
    if (!entry.is_regular_file() || (path.extension() != ".h" && path.extension() != ".cpp")) {
      continue;
    }
    const std::string from = fs::relative(path, src).generic_string();
    if (!kReachable.contains(FirstPart(from))) continue;
    for (const std::string& header : QuotedIncludes(path)) {
      ++checked;
      const std::string fault = Fault(src, from, header);
      if (!fault.empty())
        faults.push_back("src/" + from + " includes \"" + header + "\": " + fault);
      edges[from].push_back(header);
    }
  }
  std::sort(faults.begin(), faults.end());
  if (checked == 0) faults.push_back("no include was found under " + src.string());
  const std::vector<std::string> cycle = CycleFinder(edges).Find();
  if (!cycle.empty()) {
    std::string text;
    for (const std::string& file : cycle) text += (text.empty() ? "" : " -> ") + file;
    faults.push_back("the includes form a cycle: " + text);
  }
  for (const std::string& fault : faults) std::cerr << fault << '\n';
  if (!faults.empty()) return 1;
  std::cout << checked << " includes checked: every one names its layer and keeps the order\n";
  return 0;
}
