#pragma once
// Stores for the tests that hold on every platform's store: a fresh, empty one per test.

#include <memory>

#include "presets/memory_store.h"
#include "presets/settings_store.h"

namespace lumra::test {

struct MemoryStoreMaker {
  std::unique_ptr<SettingsStore> Make() { return std::make_unique<MemoryStore>(); }
};

// The current user's store for a product only the tests use, emptied first.
struct UserStoreMaker {
  std::unique_ptr<SettingsStore> Make();
  ~UserStoreMaker();
};

}  // namespace lumra::test
