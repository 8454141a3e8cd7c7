#include <gtest/gtest.h>

#include <cctype>
#include <cstring>

#include "plugin/param_block.h"
#include "presets/block_codec.h"
#include "presets/factory_presets.h"
#include "presets/memory_store.h"
#include "presets/pluglib_model.h"

namespace lumra {
namespace {

// Stands in for the plug-in's SetData and GetData: a live block that takes 148 bytes only.
struct FakePlugin {
  ParamBlock params{};
  int applied = 0;

  ApplyBlockFn Apply() {
    return [this](void* data, std::int32_t size) {
      if (size != static_cast<std::int32_t>(ParamBlockSize)) return;
      std::memcpy(&params, data, ParamBlockSize);
      ++applied;
    };
  }
  FetchBlockFn Fetch() {
    return [this](void** data, std::int32_t* size) {
      *data = &params;
      *size = static_cast<std::int32_t>(ParamBlockSize);
    };
  }
  std::string Text() const {
    return EncodeBlock({reinterpret_cast<const std::uint8_t*>(&params), ParamBlockSize});
  }
};

FakePlugin OpeningPlugin() {
  FakePlugin plugin;
  plugin.params.Values[0] = 0.25f;
  plugin.params.Power = 1;
  return plugin;
}

class PlugLibModelTest : public ::testing::Test {
 protected:
  PlugLibModelTest() {
    for (int i = 0; i < 3; ++i)
      store_.WriteString(PresetSection, FactoryPresets[i].Name, FactoryPresets[i].Text);
    dialog_.FormShow();
  }

  FakePlugin plugin_ = OpeningPlugin();
  const std::string opening_ = plugin_.Text();
  MemoryStore store_;
  PlugLibModel dialog_{store_, PresetSection, plugin_.Apply(), plugin_.Fetch()};
};

TEST_F(PlugLibModelTest, StoreIsEnabledByANameAndIsTheDefaultWhileTheNameBoxHasFocus) {
  EXPECT_EQ(dialog_.Items(), (std::vector<std::string>{"00_Default", "01_Ambience", "02_Church"}));
  EXPECT_FALSE(dialog_.StoreEnabled());
  EXPECT_FALSE(dialog_.DeleteEnabled());
  EXPECT_EQ(dialog_.DefaultButton(), DialogButton::OK);
  dialog_.Ed_StoreEnter();
  EXPECT_EQ(dialog_.DefaultButton(), DialogButton::Store);
  dialog_.Ed_StoreChange("x");
  EXPECT_TRUE(dialog_.StoreEnabled());
  dialog_.Ed_StoreChange("");
  dialog_.Bu_StoreClick();
  EXPECT_EQ(dialog_.Items().size(), 3u);
  dialog_.Bu_StoreExit();
  EXPECT_EQ(dialog_.DefaultButton(), DialogButton::OK);
  EXPECT_EQ(dialog_.Result(), ModalResult::None);
  EXPECT_EQ(plugin_.applied, 0);
}

TEST_F(PlugLibModelTest, StoreWritesTheLiveBlockSortedIntoTheListAndReplacesSameName) {
  dialog_.Ed_StoreChange("aa Mine");
  dialog_.Bu_StoreClick();
  EXPECT_EQ(store_.ReadString(PresetSection, "aa Mine"), opening_);
  EXPECT_EQ(dialog_.Items(),
            (std::vector<std::string>{"00_Default", "01_Ambience", "02_Church", "aa Mine"}));
  EXPECT_EQ(dialog_.StoreName(), "aa Mine");

  plugin_.params.Values[1] = 0.5f;
  dialog_.Ed_StoreChange("00_Default");
  dialog_.Bu_StoreClick();
  EXPECT_EQ(store_.ReadString(PresetSection, "00_Default"), plugin_.Text());
  EXPECT_EQ(dialog_.Items().size(), 4u);
}

TEST_F(PlugLibModelTest, RecallAppliesAtOnceAndEnablesDelete) {
  dialog_.Li_RecallClick("02_Church");
  EXPECT_EQ(plugin_.Text(), FactoryPresets[2].Text);
  EXPECT_TRUE(dialog_.DeleteEnabled());

  dialog_.Bu_DeleteClick();
  EXPECT_EQ(dialog_.Items(), (std::vector<std::string>{"00_Default", "01_Ambience"}));
  EXPECT_FALSE(dialog_.DeleteEnabled());
  EXPECT_FALSE(dialog_.Selected());
  EXPECT_EQ(plugin_.Text(), FactoryPresets[2].Text);
  dialog_.Bu_DeleteClick();
  EXPECT_EQ(dialog_.Items().size(), 2u);
}

TEST_F(PlugLibModelTest, RecallOfOddTextAppliesOnlyWholeBlocks) {
  const std::string text = FactoryPresets[1].Text.data();
  store_.WriteString(PresetSection, "short", text.substr(0, 294));
  store_.WriteString(PresetSection, "odd", text + "Z");
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  store_.WriteString(PresetSection, "lower", lower);
  store_.WriteString(PresetSection, "empty", "");
  dialog_.RefreshList();

  dialog_.Li_RecallClick("short");
  EXPECT_EQ(plugin_.applied, 0);
  EXPECT_TRUE(dialog_.DeleteEnabled());
  dialog_.Li_RecallClick("odd");
  EXPECT_EQ(plugin_.Text(), text);
  plugin_.params = {};
  dialog_.Li_RecallClick("lower");
  EXPECT_EQ(plugin_.Text(), text);
  dialog_.RefreshList();
  for (const char* name : {"empty", "missing"}) {
    dialog_.Li_RecallClick(name);
    EXPECT_FALSE(dialog_.DeleteEnabled()) << name;
  }
  EXPECT_EQ(plugin_.applied, 2);
}

TEST_F(PlugLibModelTest, CancelAndEscapeRestoreTheOpeningBlockOkKeepsTheRecall) {
  dialog_.Li_RecallClick("00_Default");
  dialog_.Li_RecallClick("01_Ambience");
  dialog_.Bu_CancelClick();
  EXPECT_EQ(plugin_.Text(), opening_);
  EXPECT_EQ(dialog_.Result(), ModalResult::Cancel);

  PlugLibModel again(store_, PresetSection, plugin_.Apply(), plugin_.Fetch());
  again.Li_RecallClick("02_Church");
  EXPECT_FALSE(again.FormKeyDown('A'));
  EXPECT_EQ(again.Result(), ModalResult::None);
  EXPECT_TRUE(again.FormKeyDown(EscapeKey));
  EXPECT_EQ(again.Result(), ModalResult::Cancel);
  EXPECT_EQ(plugin_.Text(), opening_);

  for (bool doubleClick : {false, true}) {
    PlugLibModel keep(store_, PresetSection, plugin_.Apply(), plugin_.Fetch());
    keep.Li_RecallClick("02_Church");
    doubleClick ? keep.Li_RecallDblClick() : keep.Bu_OKClick();
    EXPECT_EQ(keep.Result(), ModalResult::OK);
    EXPECT_EQ(plugin_.Text(), FactoryPresets[2].Text);
    plugin_.params = {};
  }
}

}  // namespace
}  // namespace lumra
