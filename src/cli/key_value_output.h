// The output of the modes that answer with figures for scripts (check, suggest-terms,
// derivative, integral, extrema, roots, sensitivity): an ordered list of keys and value
// texts, written either as "key: value" lines or, with --json, as one JSON object with the
// same keys in the same order. In the object a text that is a number (the program's text
// form, or 17 significant digits) is a JSON number, any other text a string; a key that
// occurs more than once holds an array of its values; the per-variable values of one key
// ("NAME=VALUE" on the lines) form an object with a member per variable; a list is an
// array; a value with its location is {"value": V, "at": {NAME: V, ...}}.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace quon::cli {

class KeyValueOutput {
 public:
  // `separator` goes between key and value on the lines: ": ", or "=" for Derivative=.
  explicit KeyValueOutput(std::string separator = ": ") : separator_(std::move(separator)) {}

  void Add(const std::string& key, const std::string& text);
  // "key: NAME=VALUE".
  void AddNamed(const std::string& key, const std::string& name, const std::string& text);
  // "key: V1 V2 ..." (with `between` between the items), or "key:" alone for an empty list.
  void AddList(const std::string& key, const std::vector<std::string>& texts,
               const std::string& between = " ");
  // "key: VALUE at NAME=V,NAME=V".
  void AddLocated(const std::string& key, const std::string& value,
                  const std::vector<std::string>& names, const std::vector<std::string>& at);

  // "key: LABEL V1 V2 ...": in JSON {"label": LABEL, NAME1: V1, ...}, the label a string
  // even where it reads as a number.
  void AddLabelled(const std::string& key, const std::string& label,
                   const std::vector<std::string>& names, const std::vector<std::string>& values);

  std::string Lines() const;
  std::string Json() const;
  // Writes the lines or the JSON object (and a line end) to `out`; false after a message
  // on `err` when it could not.
  bool Write(std::FILE* out, std::FILE* err, bool json) const;

 private:
  enum class Shape { Text, Named, List, Located, Labelled };
  struct Entry {
    Shape Form = Shape::Text;
    std::string Key;
    std::string Text;                // the text, the value of a located one, or a label
    std::vector<std::string> Names;  // the variable of a named one; a located one's names,
                                     // or the names of a labelled one's values
    std::vector<std::string> Items;  // a list, a located one's coordinates, or the values
    std::string Between;             // between a list's items on the line
  };
  std::string separator_;
  std::vector<Entry> entries_;
};

}  // namespace quon::cli
