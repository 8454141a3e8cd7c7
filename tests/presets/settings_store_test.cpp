#include <gtest/gtest.h>

#include <algorithm>

#include "store_fixtures.h"

namespace lumra::test {
namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

template <typename Maker>
class SettingsStoreTest : public ::testing::Test {
 protected:
  Maker maker_;
  std::unique_ptr<SettingsStore> store_ = maker_.Make();
};

using Makers = ::testing::Types<MemoryStoreMaker, UserStoreMaker>;
TYPED_TEST_SUITE(SettingsStoreTest, Makers);

TYPED_TEST(SettingsStoreTest, WritesReadsListsAndDeletesValuesBySection) {
  SettingsStore& store = *this->store_;
  EXPECT_TRUE(store.ValueNames("Presets").empty());
  EXPECT_EQ(store.ReadString("Presets", "Hall", "none"), "none");
  store.DeleteValue("Presets", "Hall");

  store.WriteString("Presets", "Hall", "AA");
  store.WriteString("Presets", "Room", "BB");
  store.WriteString("Other", "Hall", "CC");
  store.WriteString("Presets", "Hall", "DD");
  EXPECT_EQ(Sorted(store.ValueNames("Presets")), (std::vector<std::string>{"Hall", "Room"}));
  EXPECT_EQ(store.ReadString("Presets", "Hall"), "DD");
  EXPECT_EQ(store.ReadString("Other", "Hall"), "CC");

  store.DeleteValue("Presets", "Hall");
  EXPECT_EQ(store.ValueNames("Presets"), std::vector<std::string>{"Room"});
  EXPECT_EQ(store.ReadString("Presets", "Hall"), "");
  EXPECT_EQ(store.ReadString("Other", "Hall"), "CC");
}

TYPED_TEST(SettingsStoreTest, MatchesNamesWithoutCaseButKeepsThemAsTyped) {
  SettingsStore& store = *this->store_;
  store.WriteString("Presets", "Big Hall", "1");
  store.WriteString("Presets", "BIG HALL", "2");
  EXPECT_EQ(store.ValueNames("Presets"), std::vector<std::string>{"Big Hall"});
  EXPECT_EQ(store.ReadString("Presets", "big hall"), "2");
  store.DeleteValue("Presets", "bIG hALL");
  EXPECT_TRUE(store.ValueNames("Presets").empty());
}

TYPED_TEST(SettingsStoreTest, KeepsAnyNameAUserCanType) {
  SettingsStore& store = *this->store_;
  const std::vector<std::string> names = {
      "a=b", "[x]", " lead", "trail ", "semi;colon #hash", "back\\slash", "Gr\xC3\xB6\xC3\x9F" "e",
      "\xE5\xA4\xA7\xE3\x83\x9B\xE3\x83\xBC\xE3\x83\xAB", "tab\there", "%20 \\x41"};
  for (std::size_t i = 0; i < names.size(); ++i)
    store.WriteString("Presets", names[i], std::to_string(i) + "V");
  EXPECT_EQ(Sorted(store.ValueNames("Presets")), Sorted(names));
  for (std::size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(store.ReadString("Presets", names[i]), std::to_string(i) + "V") << names[i];
}

TYPED_TEST(SettingsStoreTest, ReadsIntegersWrittenAsTextAndBooleansAsOneOrZero) {
  SettingsStore& store = *this->store_;
  EXPECT_EQ(store.ReadInteger("Preset", "Exists", 5), 5);
  const std::pair<const char*, std::int32_t> cases[] = {
      {"1", 1}, {" 42 ", 42}, {"-3", -3}, {"+8", 8}, {"", 7}, {"abc", 7}, {"1x", 7},
      {"99999999999", 7}, {"0", 0}};
  for (const auto& [text, expected] : cases) {
    store.WriteString("Preset", "Exists", text);
    EXPECT_EQ(store.ReadInteger("Preset", "Exists", 7), expected) << '"' << text << '"';
  }
  store.WriteBool("Preset", "Exists", true);
  EXPECT_EQ(store.ReadString("Preset", "Exists"), "1");
  store.WriteBool("Preset", "Exists", false);
  EXPECT_EQ(store.ReadString("Preset", "Exists"), "0");
}

}  // namespace
}  // namespace lumra::test
