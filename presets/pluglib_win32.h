#pragma once
// The preset library dialog ("Library") as a modal Win32 dialog over the current user's
// registry store. Its behaviour is PlugLibModel's; this part is the window.

#include <string_view>

#include "presets/pluglib_model.h"

namespace lumra {

// Control identifiers, for the editor and for tests that drive the dialog with messages.
enum PlugLibControl : int {
  Bu_OKId = 1,      // IDOK
  Bu_CancelId = 2,  // IDCANCEL
  Ed_StoreId = 101,
  Bu_StoreId = 102,
  Li_RecallId = 103,
  Bu_DeleteId = 104,
};

// Opens HKEY_CURRENT_USER\Software\Quorel\<name>, shows the dialog with its top left corner at
// left, top (kept on the screen) and returns when it is closed. A store that cannot be opened is
// reported in a message box and the dialog is not shown.
void OpenPresetLibrary(std::string_view name, ApplyBlockFn applyBlock, FetchBlockFn fetchBlock,
                       int left, int top);

}  // namespace lumra
