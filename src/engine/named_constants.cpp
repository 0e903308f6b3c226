#include "engine/named_constants.h"

#include <map>
#include <string>

#include "engine/conversions.h"

namespace quon::script {
namespace {

struct Numeric {
  std::string_view name;
  int32_t value;
};

constexpr Numeric kNumbers[] = {
    // Comparison, tristate and error base.
    {"vbbinarycompare", 0},
    {"vbtextcompare", 1},
    {"vbusedefault", -2},
    {"vbtrue", -1},
    {"vbfalse", 0},
    {"vbobjecterror", -2147221504},
    // VarType values.
    {"vbempty", 0},
    {"vbnull", 1},
    {"vbinteger", 2},
    {"vblong", 3},
    {"vbsingle", 4},
    {"vbdouble", 5},
    {"vbcurrency", 6},
    {"vbdate", 7},
    {"vbstring", 8},
    {"vbobject", 9},
    {"vberror", 10},
    {"vbboolean", 11},
    {"vbvariant", 12},
    {"vbdataobject", 13},
    {"vbbyte", 17},
    {"vbarray", 8192},
    // Colours.
    {"vbblack", 0x000000},
    {"vbred", 0x0000FF},
    {"vbgreen", 0x00FF00},
    {"vbyellow", 0x00FFFF},
    {"vbblue", 0xFF0000},
    {"vbmagenta", 0xFF00FF},
    {"vbcyan", 0xFFFF00},
    {"vbwhite", 0xFFFFFF},
    // Days, weeks and date formats.
    {"vbusesystemdayofweek", 0},
    {"vbsunday", 1},
    {"vbmonday", 2},
    {"vbtuesday", 3},
    {"vbwednesday", 4},
    {"vbthursday", 5},
    {"vbfriday", 6},
    {"vbsaturday", 7},
    {"vbusesystem", 0},
    {"vbfirstjan1", 1},
    {"vbfirstfourdays", 2},
    {"vbfirstfullweek", 3},
    {"vbgeneraldate", 0},
    {"vblongdate", 1},
    {"vbshortdate", 2},
    {"vblongtime", 3},
    {"vbshorttime", 4},
    // Message box buttons, icons and answers.
    {"vbokonly", 0},
    {"vbokcancel", 1},
    {"vbabortretryignore", 2},
    {"vbyesnocancel", 3},
    {"vbyesno", 4},
    {"vbretrycancel", 5},
    {"vbcritical", 16},
    {"vbquestion", 32},
    {"vbexclamation", 48},
    {"vbinformation", 64},
    {"vbdefaultbutton1", 0},
    {"vbdefaultbutton2", 256},
    {"vbdefaultbutton3", 512},
    {"vbdefaultbutton4", 768},
    {"vbapplicationmodal", 0},
    {"vbsystemmodal", 4096},
    {"vbok", 1},
    {"vbcancel", 2},
    {"vbabort", 3},
    {"vbretry", 4},
    {"vbignore", 5},
    {"vbyes", 6},
    {"vbno", 7},
};

struct Text {
  std::string_view name;
  std::string_view value;
};

constexpr Text kTexts[] = {
    {"vbcr", "\r"},          {"vblf", "\n"},
    {"vbcrlf", "\r\n"},      {"vbnewline", "\r\n"},
    {"vbtab", "\t"},         {"vbformfeed", "\f"},
    {"vbverticaltab", "\v"}, {"vbnullchar", std::string_view("\0", 1)},
    {"vbnullstring", ""},
};

// The table, with the texts the String constants refer to, built on first use.
struct Table {
  Table() {
    for (const Numeric& n : kNumbers) values.emplace(std::string(n.name), SmallestWhole(n.value));
    for (const Text& t : kTexts) {
      const std::string& text =
          texts.emplace(std::string(t.name), std::string(t.value)).first->second;
      values.emplace(std::string(t.name), Variant::String(&text));
    }
  }
  std::map<std::string, std::string, std::less<>> texts;
  std::map<std::string, Variant, std::less<>> values;
};

}  // namespace

const Variant* FindNamedConstant(std::string_view name) {
  // Every constant's name begins with "vb" and is at most 20 characters long.
  constexpr size_t kLongest = 20;
  if (name.size() < 3 || name.size() > kLongest) return nullptr;
  char lower[kLongest];
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    lower[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  if (lower[0] != 'v' || lower[1] != 'b') return nullptr;
  static const Table table;
  const auto found = table.values.find(std::string_view(lower, name.size()));
  return found == table.values.end() ? nullptr : &found->second;
}

}  // namespace quon::script
