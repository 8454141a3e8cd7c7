#include "presets/memory_store.h"

namespace lumra {

std::string MemoryStore::ReadString(std::string_view section, std::string_view name,
                                    std::string_view fallback) {
  const std::string* value = table_.Find(section, name);
  return value != nullptr ? *value : std::string(fallback);
}

void MemoryStore::WriteString(std::string_view section, std::string_view name,
                              std::string_view value) {
  table_.Set(section, name, value);
}

std::vector<std::string> MemoryStore::ValueNames(std::string_view section) {
  return table_.Names(section);
}

void MemoryStore::DeleteValue(std::string_view section, std::string_view name) {
  table_.Erase(section, name);
}

}  // namespace lumra
