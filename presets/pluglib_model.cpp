#include "presets/pluglib_model.h"

#include "presets/block_codec.h"

namespace lumra {

std::vector<std::uint8_t> FetchBlockCopy(const FetchBlockFn& fetchBlock) {
  void* data = nullptr;
  std::int32_t size = 0;
  fetchBlock(&data, &size);
  if (data == nullptr || size <= 0) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  return {bytes, bytes + size};
}

PlugLibModel::PlugLibModel(SettingsStore& presetKey, std::string_view sectionName,
                           ApplyBlockFn applyBlock, FetchBlockFn fetchBlock)
    : presetKey_(presetKey),
      sectionName_(sectionName),
      applyBlock_(std::move(applyBlock)),
      fetchBlock_(std::move(fetchBlock)),
      backup_(FetchBlockCopy(fetchBlock_)) {}

bool PlugLibModel::FormKeyDown(int key) {
  if (key != EscapeKey) return false;
  Bu_CancelClick();
  return true;
}

void PlugLibModel::Ed_StoreChange(std::string_view text) { storeName_ = text; }

void PlugLibModel::Bu_StoreClick() {
  if (!StoreEnabled()) return;
  presetKey_.WriteString(sectionName_, storeName_, EncodeBlock(FetchBlockCopy(fetchBlock_)));
  RefreshList();
}

void PlugLibModel::Li_RecallClick(std::string_view name) {
  selected_ = std::string(name);
  const std::string text = presetKey_.ReadString(sectionName_, name);
  if (text.empty()) return;
  std::vector<std::uint8_t> block = DecodeBlock(text);
  applyBlock_(block.data(), static_cast<std::int32_t>(block.size()));
  deleteEnabled_ = true;
}

void PlugLibModel::Bu_DeleteClick() {
  if (!deleteEnabled_ || !selected_) return;
  presetKey_.DeleteValue(sectionName_, *selected_);
  RefreshList();
}

void PlugLibModel::Bu_CancelClick() {
  applyBlock_(backup_.data(), static_cast<std::int32_t>(backup_.size()));
  result_ = ModalResult::Cancel;
}

void PlugLibModel::RefreshList() {
  items_ = presetKey_.ValueNames(sectionName_);
  SortAsListed(items_);
  selected_.reset();
  deleteEnabled_ = false;
}

}  // namespace lumra
