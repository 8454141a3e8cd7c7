// The DLL's export table: the fifteen entry points, stdcall, undecorated (the link strips the
// @N suffixes). Nothing here may throw across the boundary.
//
// DllMain does nothing that could wait, allocate or fail under the loader lock: it only notes the
// loading thread. The instance (engine, load-time block) is set up by the first call of any
// export, from whichever thread. The editor window (whose creation builds the face and installs
// the factory presets) is created by the first call other than an audio block that comes on the
// loading thread: so the window belongs to that thread, and it exists before Show can open it or
// its Library button can open the presets.

#include <windows.h>

#include <atomic>
#include <exception>

#include "editor/editor_window_win32.h"
#include "plugin/entry_points.h"
#include "plugin/instance.h"

#define LREVERB_EXPORT extern "C" __declspec(dllexport)

namespace p = lumra::plugin;

namespace {

std::atomic<DWORD> loadingThread{0};
bool editorAttempted = false;  // touched only on the loading thread

enum class Setup { Pending, Running, Done };
std::atomic<Setup> setup{Setup::Pending};

// The first caller sets the instance up; a caller on another thread at that moment waits for it,
// which can happen only around the first calls after loading.
void EnsureInstance() {
  if (setup.load(std::memory_order_acquire) == Setup::Done) return;
  Setup expected = Setup::Pending;
  if (setup.compare_exchange_strong(expected, Setup::Running, std::memory_order_acquire)) {
    p::LoadLibraryInstance();
    setup.store(Setup::Done, std::memory_order_release);
    return;
  }
  while (setup.load(std::memory_order_acquire) != Setup::Done) Sleep(0);
}

void EnsureEditor() {
  EnsureInstance();
  if (editorAttempted || GetCurrentThreadId() != loadingThread.load()) return;
  editorAttempted = true;
  try {
    p::TheInstance().Editor = lumra::editor::CreateEditorWindow();
  } catch (const std::exception&) {
    // Without memory for the face the plug-in still processes audio, just without its window.
  }
}

}  // namespace

LREVERB_EXPORT void __stdcall Show() {
  EnsureEditor();
  p::Show();
}
LREVERB_EXPORT void __stdcall Hide() {
  EnsureEditor();
  p::Hide();
}
LREVERB_EXPORT void __stdcall Start() {
  EnsureEditor();
  p::Start();
}
LREVERB_EXPORT void __stdcall Stop() {
  EnsureEditor();
  p::Stop();
}
LREVERB_EXPORT void __stdcall Clear() {
  EnsureEditor();
  p::Clear();
}
LREVERB_EXPORT void __stdcall Destroy() {
  EnsureInstance();
  p::Destroy();
  editorAttempted = true;  // no window after the last call
}
LREVERB_EXPORT void __stdcall PostWave(float** channels, std::int32_t sampleRate,
                                       std::int32_t channelCount, std::int32_t sampleCount) {
  EnsureInstance();
  p::PostWave(channels, sampleRate, channelCount, sampleCount);
}
LREVERB_EXPORT void __stdcall PostWaveData(float* data, std::int32_t sampleRate,
                                           std::int32_t channelCount, std::int32_t sampleCount) {
  EnsureInstance();
  p::PostWaveData(data, sampleRate, channelCount, sampleCount);
}
LREVERB_EXPORT const char* __stdcall GetPlugName() {
  EnsureEditor();
  return p::GetPlugName();
}
LREVERB_EXPORT std::int32_t __stdcall GetPlugVersion() {
  EnsureEditor();
  return p::GetPlugVersion();
}
LREVERB_EXPORT std::uint8_t __stdcall GetActivePlug() {
  EnsureEditor();
  return p::GetActivePlug();
}
LREVERB_EXPORT std::int32_t __stdcall GetPlugChanged() {
  EnsureEditor();
  return p::GetPlugChanged();
}
LREVERB_EXPORT void __stdcall SetData(const void* data, std::int32_t size) {
  EnsureEditor();
  p::SetData(data, size);
}
LREVERB_EXPORT void __stdcall GetData(void** data, std::int32_t* size) {
  EnsureEditor();
  p::GetData(data, size);
}
LREVERB_EXPORT void __stdcall SetText(const char* text) {
  EnsureEditor();
  p::SetText(text);
}

namespace __gnu_cxx {
void __freeres();  // returns the C++ runtime's emergency exception pool
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    loadingThread.store(GetCurrentThreadId());
  }
  // FreeLibrary (not process exit): the statically linked runtime must give back what it holds,
  // or a host that reloads the plug-in grows with every load.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) __gnu_cxx::__freeres();
  return TRUE;
}
