#include "cli/key_value_output.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include "cli/cli_output.h"
#include "engine/number_text.h"

namespace quon::cli {
namespace {

using JsonObject = nlohmann::ordered_json;

// A number as JSON: a whole number as an integer, another as the double the text reads as;
// any other text as a string.
JsonObject JsonValue(const std::string& text) {
  int64_t whole = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), whole);
  if (ec == std::errc() && end == text.data() + text.size()) return whole;
  if (IsNumber(text)) return LeadingNumber(text);
  return text;
}

std::string Joined(const std::vector<std::string>& texts, const std::string& between) {
  std::string joined;
  for (std::size_t i = 0; i < texts.size(); ++i) joined += (i > 0 ? between : "") + texts[i];
  return joined;
}

}  // namespace

void KeyValueOutput::Add(const std::string& key, const std::string& text) {
  entries_.push_back({Shape::Text, key, text, {}, {}, {}});
}

void KeyValueOutput::AddNamed(const std::string& key, const std::string& name,
                              const std::string& text) {
  entries_.push_back({Shape::Named, key, text, {name}, {}, {}});
}

void KeyValueOutput::AddList(const std::string& key, const std::vector<std::string>& texts,
                             const std::string& between) {
  entries_.push_back({Shape::List, key, {}, {}, texts, between});
}

void KeyValueOutput::AddLocated(const std::string& key, const std::string& value,
                                const std::vector<std::string>& names,
                                const std::vector<std::string>& at) {
  entries_.push_back({Shape::Located, key, value, names, at, {}});
}

void KeyValueOutput::AddLabelled(const std::string& key, const std::string& label,
                                 const std::vector<std::string>& names,
                                 const std::vector<std::string>& values) {
  entries_.push_back({Shape::Labelled, key, label, names, values, " "});
}

std::string KeyValueOutput::Lines() const {
  std::string text;
  for (const Entry& e : entries_) {
    std::string value;
    switch (e.Form) {
      case Shape::Text:
        value = e.Text;
        break;
      case Shape::Named:
        value = e.Names[0] + "=" + e.Text;
        break;
      case Shape::List:
        value = Joined(e.Items, e.Between);
        break;
      case Shape::Located: {
        std::vector<std::string> pairs;
        for (std::size_t k = 0; k < e.Names.size(); ++k)
          pairs.push_back(e.Names[k] + "=" + e.Items[k]);
        value = e.Text + " at " + Joined(pairs, ",");
        break;
      }
      case Shape::Labelled:
        value = e.Text + " " + Joined(e.Items, e.Between);
        break;
    }
    std::string line = e.Key + separator_ + value;
    // An empty list leaves "roots:", not "roots: ".
    if (e.Form == Shape::List && e.Items.empty()) {
      while (!line.empty() && line.back() == ' ') line.pop_back();
    }
    text += line + "\n";
  }
  return text;
}

std::string KeyValueOutput::Json() const {
  JsonObject object = JsonObject::object();
  for (const Entry& e : entries_) {
    int count = 0;
    for (const Entry& other : entries_) count += other.Key == e.Key && other.Form != Shape::Named;
    JsonObject value;
    switch (e.Form) {
      case Shape::Text:
        value = JsonValue(e.Text);
        break;
      case Shape::Named:
        object[e.Key][e.Names[0]] = JsonValue(e.Text);
        continue;
      case Shape::List:
        value = JsonObject::array();
        for (const std::string& item : e.Items) value.push_back(JsonValue(item));
        break;
      case Shape::Located:
        value["value"] = JsonValue(e.Text);
        value["at"] = JsonObject::object();
        for (std::size_t k = 0; k < e.Names.size(); ++k)
          value["at"][e.Names[k]] = JsonValue(e.Items[k]);
        break;
      case Shape::Labelled:
        value["label"] = e.Text;
        for (std::size_t k = 0; k < e.Names.size(); ++k) value[e.Names[k]] = JsonValue(e.Items[k]);
        break;
    }
    if (count > 1) {
      object[e.Key].push_back(value);
    } else {
      object[e.Key] = value;
    }
  }
  return object.dump(2);
}

bool KeyValueOutput::Write(std::FILE* out, std::FILE* err, bool json) const {
  return WriteAll(out, err, json ? Json() + "\n" : Lines());
}

}  // namespace quon::cli
