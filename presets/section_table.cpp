#include "presets/section_table.h"

#include <algorithm>
#include <utility>

#include "presets/settings_store.h"

namespace lumra {
namespace {

template <typename Values>
auto FindValue(Values& values, std::string_view name) {
  return std::find_if(values.begin(), values.end(),
                      [name](const NamedValue& v) { return SameValueName(v.Name, name); });
}

}  // namespace

const Section* SectionTable::FindSection(std::string_view name) const {
  const auto it = std::find_if(sections_.begin(), sections_.end(),
                               [name](const Section& s) { return SameValueName(s.Name, name); });
  return it == sections_.end() ? nullptr : &*it;
}

Section* SectionTable::FindSection(std::string_view name) {
  return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

const std::string* SectionTable::Find(std::string_view section, std::string_view name) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return nullptr;
  const auto it = FindValue(s->Values, name);
  return it == s->Values.end() ? nullptr : &it->Value;
}

void SectionTable::Set(std::string_view section, std::string_view name, std::string_view value) {
  Section* s = FindSection(section);
  if (s == nullptr) s = &sections_.emplace_back(Section{std::string(section), {}});
  const auto it = FindValue(s->Values, name);
  if (it != s->Values.end())
    it->Value = value;
  else
    s->Values.push_back({std::string(name), std::string(value)});
}

bool SectionTable::Erase(std::string_view section, std::string_view name) {
  Section* s = FindSection(section);
  if (s == nullptr) return false;
  const auto it = FindValue(s->Values, name);
  if (it == s->Values.end()) return false;
  s->Values.erase(it);
  return true;
}

std::vector<std::string> SectionTable::Names(std::string_view section) const {
  std::vector<std::string> names;
  if (const Section* s = FindSection(section))
    for (const NamedValue& v : s->Values) names.push_back(v.Name);
  return names;
}

}  // namespace lumra
