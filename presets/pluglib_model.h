#pragma once
// What the preset library dialog does, apart from its window: the list of stored presets, the
// name being typed, which buttons are enabled and which one is the default, and what storing,
// recalling, deleting and cancelling do to the store and to the live parameter block.
// The Win32 dialog (pluglib_win32.h) forwards its control events to the handlers below, named
// after control and event, and shows the state after each one.
//
// The block is only reached through the two functions handed in, shaped like the plug-in's
// SetData and GetData exports. Errors of the store (StoreError) pass through the handlers and
// leave the state as it was before the handler ran.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "presets/settings_store.h"

namespace lumra {

// Copies size bytes into the live block and applies them; a size other than 148 is ignored.
using ApplyBlockFn = std::function<void(void* data, std::int32_t size)>;
// Yields the address and size of the live block.
using FetchBlockFn = std::function<void(void** data, std::int32_t* size)>;

enum class DialogButton { OK, Store };
enum class ModalResult { None = 0, OK = 1, Cancel = 2 };

inline constexpr int EscapeKey = 27;

class PlugLibModel {
 public:
  // PrepareDialog: keeps the block as it is now, to be put back by Cancel. The presets are the
  // values of the section named after the product.
  PlugLibModel(SettingsStore& presetKey, std::string_view sectionName, ApplyBlockFn applyBlock,
               FetchBlockFn fetchBlock);

  void FormShow() { RefreshList(); }
  // Returns true when the key was handled (Escape: cancel and close).
  bool FormKeyDown(int key);
  void Ed_StoreEnter() { defaultButton_ = DialogButton::Store; }
  void Ed_StoreChange(std::string_view text);
  void Bu_StoreExit() { defaultButton_ = DialogButton::OK; }
  void Bu_StoreClick();
  // A change of the list's selection to the item named name.
  void Li_RecallClick(std::string_view name);
  void Li_RecallDblClick() { result_ = ModalResult::OK; }
  void Bu_DeleteClick();
  // Puts the block from opening back and closes.
  void Bu_CancelClick();
  void Bu_OKClick() { result_ = ModalResult::OK; }
  // Closing by the title bar keeps the last recall.
  void FormClose() { result_ = ModalResult::Cancel; }

  void RefreshList();

  // Sorted without regard to case, as the list box shows them.
  const std::vector<std::string>& Items() const { return items_; }
  const std::optional<std::string>& Selected() const { return selected_; }
  const std::string& StoreName() const { return storeName_; }
  bool StoreEnabled() const { return !storeName_.empty(); }
  bool DeleteEnabled() const { return deleteEnabled_; }
  DialogButton DefaultButton() const { return defaultButton_; }
  // None while the dialog stays open.
  ModalResult Result() const { return result_; }

 private:
  SettingsStore& presetKey_;
  std::string sectionName_;
  ApplyBlockFn applyBlock_;
  FetchBlockFn fetchBlock_;
  std::vector<std::uint8_t> backup_;

  std::vector<std::string> items_;
  std::optional<std::string> selected_;
  std::string storeName_;
  bool deleteEnabled_ = false;
  DialogButton defaultButton_ = DialogButton::OK;
  ModalResult result_ = ModalResult::None;
};

// The bytes of the live block, copied; empty when FetchBlock yields nothing.
std::vector<std::uint8_t> FetchBlockCopy(const FetchBlockFn& fetchBlock);

}  // namespace lumra
