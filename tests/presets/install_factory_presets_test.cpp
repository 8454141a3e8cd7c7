#include <gtest/gtest.h>

#include "presets/factory_presets.h"
#include "presets/install_factory_presets.h"
#include "presets/memory_store.h"

namespace lumra {
namespace {

class CountingStore : public MemoryStore {
 public:
  void WriteString(std::string_view section, std::string_view name,
                   std::string_view value) override {
    ++writes;
    MemoryStore::WriteString(section, name, value);
  }
  int writes = 0;
};

TEST(InstallFactoryPresets, WritesTheFourteenPresetsAndTheFlagOnce) {
  CountingStore store;
  EXPECT_TRUE(InstallFactoryPresets(store));
  EXPECT_EQ(store.writes, 15);
  const std::vector<std::string> names = store.ValueNames(PresetSection);
  ASSERT_EQ(names.size(), FactoryPresetCount);
  for (std::size_t i = 0; i < FactoryPresetCount; ++i) {
    EXPECT_EQ(names[i], FactoryPresets[i].Name);
    EXPECT_EQ(store.ReadString(PresetSection, names[i]), FactoryPresets[i].Text);
  }
  EXPECT_EQ(store.ReadString(FlagSection, FlagValue), "1");

  EXPECT_FALSE(InstallFactoryPresets(store));
  EXPECT_EQ(store.writes, 15);
}

TEST(InstallFactoryPresets, KeepsUserChangesUntilTheFlagIsClearedOrNotANumber) {
  CountingStore store;
  InstallFactoryPresets(store);
  store.WriteString(PresetSection, "00_Default", "ABCD");
  store.DeleteValue(PresetSection, "05_Dome");
  EXPECT_FALSE(InstallFactoryPresets(store));
  EXPECT_EQ(store.ReadString(PresetSection, "00_Default"), "ABCD");
  EXPECT_EQ(store.ReadString(PresetSection, "05_Dome"), "");

  for (const char* flag : {"0", "yes", ""}) {
    store.WriteString(PresetSection, "00_Default", "ABCD");
    store.WriteString(FlagSection, FlagValue, flag);
    EXPECT_TRUE(InstallFactoryPresets(store)) << flag;
    EXPECT_EQ(store.ReadString(PresetSection, "00_Default"), FactoryPresets[0].Text);
    EXPECT_EQ(store.ReadString(FlagSection, FlagValue), "1");
  }
  store.WriteString(FlagSection, FlagValue, "2");
  EXPECT_FALSE(InstallFactoryPresets(store));
}

}  // namespace
}  // namespace lumra
