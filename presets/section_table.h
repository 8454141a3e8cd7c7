#pragma once
// Sections of named string values in the order they were first written: the content of a
// settings store, held in memory by MemoryStore and by the INI file store between reading and
// writing its file. Names are matched as SameValueName does.

#include <string>
#include <string_view>
#include <vector>

namespace lumra {

struct NamedValue {
  std::string Name;
  std::string Value;
};

struct Section {
  std::string Name;
  std::vector<NamedValue> Values;
};

class SectionTable {
 public:
  const std::string* Find(std::string_view section, std::string_view name) const;
  // Replacing keeps the stored spelling of the name, as the registry does.
  void Set(std::string_view section, std::string_view name, std::string_view value);
  // True when a value was removed.
  bool Erase(std::string_view section, std::string_view name);
  std::vector<std::string> Names(std::string_view section) const;

  std::vector<Section>& Sections() { return sections_; }
  const std::vector<Section>& Sections() const { return sections_; }

 private:
  const Section* FindSection(std::string_view name) const;
  Section* FindSection(std::string_view name);

  std::vector<Section> sections_;
};

}  // namespace lumra
