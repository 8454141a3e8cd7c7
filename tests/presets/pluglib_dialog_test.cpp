// Drives the real "Library" dialog with window messages from a second thread while the test's
// main thread sits in the dialog's modal loop, and checks the live block and the registry.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

#include "plugin/param_block.h"
#include "presets/block_codec.h"
#include "presets/factory_presets.h"
#include "presets/pluglib_win32.h"
#include "common/utf16_win32.h"
#include "test_plugin.h"
#include "test_thread.h"

namespace lumra::test {
namespace {

constexpr const wchar_t* ProductKey = L"Software\\Quorel\\Quorel Lumra Reverb";
constexpr const wchar_t* PresetKey = L"Software\\Quorel\\Quorel Lumra Reverb\\Quorel Lumra Reverb";
constexpr const wchar_t* FlagKey = L"Software\\Quorel\\Quorel Lumra Reverb\\Preset";

std::wstring RegistryText(const wchar_t* key, const std::wstring& name) {
  DWORD bytes = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS)
    return L"<missing>";
  std::wstring text(bytes / sizeof(wchar_t), L'\0');
  ::RegGetValueW(HKEY_CURRENT_USER, key, name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &bytes);
  text.resize(std::wcslen(text.c_str()));
  return text;
}

void SetRegistryText(const wchar_t* key, const std::wstring& name, const std::wstring& text) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name.c_str(), REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool WaitUntil(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// The dialog as the driving thread sees it.
class Dialog {
 public:
  explicit Dialog(HWND window) : window_(window) {}

  HWND Window() const { return window_; }
  HWND Control(int id) const { return ::GetDlgItem(window_, id); }
  bool Open() const { return ::IsWindow(window_) && ::IsWindowVisible(window_); }
  bool Enabled(int id) const { return ::IsWindowEnabled(Control(id)); }
  int DefaultButton() const { return LOWORD(::SendMessageW(window_, DM_GETDEFID, 0, 0)); }

  // Focuses the name box, which selects its text, and types.
  void Type(std::wstring_view text) const {
    ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(Ed_StoreId)), TRUE);
    for (wchar_t c : text) ::SendMessageW(Control(Ed_StoreId), WM_CHAR, c, 1);
  }
  void Click(int id) const { ::SendMessageW(Control(id), BM_CLICK, 0, 0); }
  // A key as the user presses it: through the dialog's message loop, to the focused control.
  void Press(WORD key) const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window_, nullptr), &info);
    ::PostMessageW(info.hwndFocus, WM_KEYDOWN, key, 1);
    ::PostMessageW(info.hwndFocus, WM_KEYUP, key, 0xC0000001);
  }

  std::vector<std::wstring> Items() const {
    std::vector<std::wstring> items;
    const HWND list = Control(Li_RecallId);
    const auto count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      std::wstring text(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1,
                        L'\0');
      text.resize(static_cast<std::size_t>(
          ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
      items.push_back(text);
    }
    return items;
  }
  // A mouse click (or double-click) on the item named name.
  void ClickItem(const std::wstring& name, bool twice = false) const {
    const HWND list = Control(Li_RecallId);
    const auto index = ::SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(name.c_str()));
    ASSERT_NE(index, LB_ERR) << Narrow(name);
    RECT item{};
    ::SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
    ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(list, WM_LBUTTONUP, 0, at);
    if (twice) {
      ::SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      ::SendMessageW(list, WM_LBUTTONUP, 0, at);
    }
  }

 private:
  HWND window_;
};

class PlugLibDialogTest : public ::testing::Test {
 protected:
  // Every test starts as a user who never ran the plug-in.
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, ProductKey);
    ASSERT_TRUE(plugin_.Load());
  }
  void TearDown() override {
    plugin_.Unload();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, ProductKey);
  }

  // Opens the dialog on this thread and runs script on another one; the script has to close it.
  void RunDialog(const std::function<void(const Dialog&)>& script) {
    lumra::testing::TestThread driver([&] {
      HWND window = nullptr;
      ASSERT_TRUE(WaitUntil([&] {
        window = ::FindWindowW(L"#32770", L"Library");
        return window != nullptr && ::IsWindowVisible(window);
      }));
      const Dialog dialog(window);
      script(dialog);
      const bool closed = WaitUntil([&] { return !dialog.Open(); });
      EXPECT_TRUE(closed) << "the dialog stayed open";
      if (!closed) ::PostMessageW(window, WM_CLOSE, 0, 0);
    });
    OpenPresetLibrary("Quorel Lumra Reverb", plugin_.ApplyBlock(), plugin_.FetchBlock(), 40, 30);
    driver.join();
  }

  void Recall(const Dialog& dialog, std::size_t factoryIndex) {
    const int changes = plugin_.ChangeCount();
    dialog.ClickItem(Widen(FactoryPresets[factoryIndex].Name));
    EXPECT_EQ(plugin_.Text(), FactoryPresets[factoryIndex].Text);
    EXPECT_EQ(plugin_.ChangeCount(), changes + 1);
  }

  TestPlugin plugin_;
};

TEST_F(PlugLibDialogTest, TheFirstLoadInstallsTheFactoryPresetsAndLaterLoadsKeepUserChanges) {
  for (const FactoryPreset& preset : FactoryPresets)
    EXPECT_EQ(RegistryText(PresetKey, Widen(preset.Name)), Widen(preset.Text));
  EXPECT_EQ(RegistryText(FlagKey, L"Exists"), L"1");

  plugin_.SetValue(3, 0.5f);
  const std::string mine = plugin_.Text();
  RunDialog([](const Dialog& dialog) {
    dialog.Type(L"00_Default");
    dialog.Click(Bu_StoreId);
    dialog.Click(Bu_OKId);
  });
  ::RegDeleteKeyValueW(HKEY_CURRENT_USER, PresetKey, L"05_Dome");
  plugin_.Unload();
  ASSERT_TRUE(plugin_.Load());
  EXPECT_EQ(RegistryText(PresetKey, L"00_Default"), Widen(mine));
  EXPECT_EQ(RegistryText(PresetKey, L"05_Dome"), L"<missing>");

  SetRegistryText(FlagKey, L"Exists", L"0");
  plugin_.Unload();
  ASSERT_TRUE(plugin_.Load());
  EXPECT_EQ(RegistryText(PresetKey, L"00_Default"), Widen(FactoryPresets[0].Text));
  EXPECT_EQ(RegistryText(PresetKey, L"05_Dome"), Widen(FactoryPresets[5].Text));
  EXPECT_EQ(RegistryText(FlagKey, L"Exists"), L"1");
}

TEST_F(PlugLibDialogTest, HasTheLayoutOfTheLibraryWindow) {
  RunDialog([](const Dialog& dialog) {
    RECT client{};
    ::GetClientRect(dialog.Window(), &client);
    EXPECT_EQ(client.right, 209);
    EXPECT_EQ(client.bottom, 184);
    const auto exStyle = ::GetWindowLongW(dialog.Window(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    const struct {
      int id;
      RECT place;
      const wchar_t* caption;
    } expected[] = {{Ed_StoreId, {8, 8, 121, 28}, L""},       {Bu_StoreId, {128, 8, 203, 33}, L"Store"},
                    {Li_RecallId, {8, 40, 121, 177}, L""},    {Bu_OKId, {128, 40, 203, 65}, L"OK"},
                    {Bu_CancelId, {127, 72, 202, 97}, L"Cancel"}, {Bu_DeleteId, {127, 152, 202, 177}, L"Delete"}};
    HWND previous = nullptr;
    for (const auto& c : expected) {
      const HWND control = dialog.Control(c.id);
      RECT place{};
      ::GetWindowRect(control, &place);
      ::MapWindowPoints(nullptr, dialog.Window(), reinterpret_cast<POINT*>(&place), 2);
      EXPECT_TRUE(std::memcmp(&place, &c.place, sizeof place) == 0) << c.id;
      wchar_t caption[32]{};
      if (c.id != Li_RecallId) ::GetWindowTextW(control, caption, 32);
      EXPECT_STREQ(caption, c.caption);
      if (previous != nullptr) {
        EXPECT_EQ(::GetWindow(previous, GW_HWNDNEXT), control);  // tab order
      }
      previous = control;
    }
    EXPECT_EQ(::SendMessageW(dialog.Control(Li_RecallId), LB_GETITEMHEIGHT, 0, 0), 12);
    EXPECT_EQ(dialog.Items().size(), FactoryPresetCount);
    EXPECT_FALSE(dialog.Enabled(Bu_StoreId));
    EXPECT_FALSE(dialog.Enabled(Bu_DeleteId));
    dialog.Click(Bu_OKId);
  });
}

TEST_F(PlugLibDialogTest, TypingANameMakesStoreTheDefaultAndEnterStoresTheLiveBlock) {
  plugin_.SetValue(0, 0.75f);
  RunDialog([&](const Dialog& dialog) {
    dialog.Type(L"Zed Hall");
    EXPECT_TRUE(dialog.Enabled(Bu_StoreId));
    EXPECT_EQ(dialog.DefaultButton(), Bu_StoreId);
    dialog.Press(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return dialog.Items().size() == FactoryPresetCount + 1; }));
    EXPECT_EQ(RegistryText(PresetKey, L"Zed Hall"), Widen(plugin_.Text()));
    EXPECT_EQ(RegistryText(PresetKey, L"Zed Hall").size(), 296u);
    dialog.Type(L"Zed Hall \x5927");  // focusing the box selects its text, typing replaces it
    dialog.Click(Bu_StoreId);
    EXPECT_EQ(RegistryText(PresetKey, L"Zed Hall \x5927"), Widen(plugin_.Text()));
    std::vector<std::wstring> items = dialog.Items();
    EXPECT_EQ(items.back(), L"Zed Hall \x5927");
    EXPECT_EQ(items[items.size() - 2], L"Zed Hall");
    EXPECT_EQ(items.front(), L"00_Default");

    dialog.ClickItem(L"03_Club");  // the focus leaves Store, OK is the default again
    EXPECT_EQ(dialog.DefaultButton(), Bu_OKId);
    ::SendMessageW(dialog.Control(Ed_StoreId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    EXPECT_FALSE(dialog.Enabled(Bu_StoreId));
    dialog.Press(VK_RETURN);
  });
}

TEST_F(PlugLibDialogTest, SelectingRecallsAtOnceAndDeleteRemovesThePreset) {
  RunDialog([&](const Dialog& dialog) {
    Recall(dialog, 2);
    EXPECT_TRUE(dialog.Enabled(Bu_DeleteId));
    const int changes = plugin_.ChangeCount();
    dialog.Click(Bu_DeleteId);
    EXPECT_EQ(RegistryText(PresetKey, L"02_Church"), L"<missing>");
    EXPECT_EQ(dialog.Items().size(), FactoryPresetCount - 1);
    EXPECT_FALSE(dialog.Enabled(Bu_DeleteId));
    EXPECT_EQ(plugin_.Text(), FactoryPresets[2].Text);
    EXPECT_EQ(plugin_.ChangeCount(), changes);
    dialog.Click(Bu_OKId);
  });
}

TEST_F(PlugLibDialogTest, CancelAndEscapePutBackTheBlockFromOpening) {
  plugin_.SetValue(5, 0.125f);
  const std::string opening = plugin_.Text();
  RunDialog([&](const Dialog& dialog) {
    Recall(dialog, 0);
    Recall(dialog, 7);
    Recall(dialog, 13);
    dialog.Click(Bu_CancelId);
  });
  EXPECT_EQ(plugin_.Text(), opening);
  RunDialog([&](const Dialog& dialog) {
    Recall(dialog, 4);
    dialog.Press(VK_ESCAPE);
  });
  EXPECT_EQ(plugin_.Text(), opening);
}

TEST_F(PlugLibDialogTest, OkDoubleClickAndTheTitleBarKeepTheRecall) {
  RunDialog([&](const Dialog& dialog) {
    Recall(dialog, 9);
    dialog.Click(Bu_OKId);
  });
  EXPECT_EQ(plugin_.Text(), FactoryPresets[9].Text);
  RunDialog([&](const Dialog& dialog) { dialog.ClickItem(L"11_Plate", true); });
  EXPECT_EQ(plugin_.Text(), FactoryPresets[11].Text);
  RunDialog([&](const Dialog& dialog) {
    Recall(dialog, 5);
    ::SendMessageW(dialog.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(plugin_.Text(), FactoryPresets[5].Text);
}

TEST_F(PlugLibDialogTest, RecallsOnlyTextThatHoldsAWholeBlock) {
  const std::wstring text = Widen(FactoryPresets[6].Text);
  std::wstring lower = text;
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  SetRegistryText(PresetKey, L"short", text.substr(0, 294));
  SetRegistryText(PresetKey, L"long", text + L"7");
  SetRegistryText(PresetKey, L"lower", lower);
  RunDialog([&](const Dialog& dialog) {
    const int changes = plugin_.ChangeCount();
    const std::string before = plugin_.Text();
    dialog.ClickItem(L"short");
    EXPECT_EQ(plugin_.ChangeCount(), changes);
    EXPECT_EQ(plugin_.Text(), before);
    EXPECT_TRUE(dialog.Enabled(Bu_DeleteId));
    dialog.ClickItem(L"long");
    EXPECT_EQ(plugin_.Text(), FactoryPresets[6].Text);
    plugin_.SetValue(0, 0.0f);
    dialog.ClickItem(L"lower");
    EXPECT_EQ(plugin_.Text(), FactoryPresets[6].Text);
    dialog.Click(Bu_OKId);
  });
}

}  // namespace
}  // namespace lumra::test
