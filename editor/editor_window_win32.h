#pragma once
// The editor as a Win32 window: a topmost tool window, not resizable, that shows the composed
// face, takes the mouse and the Escape key and runs the 50 ms level meter.

#include <memory>

#include "plugin/editor_view.h"

namespace lumra::editor {

// The window class's name.
inline constexpr const char* EditorWindowClass = "TFo_KelmDisp";

// Builds the face, creates the window hidden and without owner on the calling thread, which then
// runs it, and installs the factory presets where the user has none yet. Null when Windows
// refuses the window. Destroying the result closes the window, kills its timer, frees every GDI
// object, unregisters the class and runs the messages left waiting once.
std::unique_ptr<plugin::EditorView> CreateEditorWindow();

}  // namespace lumra::editor
