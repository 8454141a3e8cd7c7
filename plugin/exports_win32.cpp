// The DLL's export table: the fifteen entry points, stdcall, undecorated (the link strips the
// @N suffixes). Nothing here may throw across the boundary; the entry points never do.

#include <windows.h>

#include "plugin/entry_points.h"

#define LREVERB_EXPORT extern "C" __declspec(dllexport)

namespace p = lumra::plugin;

LREVERB_EXPORT void __stdcall Show() { p::Show(); }
LREVERB_EXPORT void __stdcall Hide() { p::Hide(); }
LREVERB_EXPORT void __stdcall Start() { p::Start(); }
LREVERB_EXPORT void __stdcall Stop() { p::Stop(); }
LREVERB_EXPORT void __stdcall Clear() { p::Clear(); }
LREVERB_EXPORT void __stdcall Destroy() { p::Destroy(); }
LREVERB_EXPORT void __stdcall PostWave(float** channels, std::int32_t sampleRate,
                                       std::int32_t channelCount, std::int32_t sampleCount) {
  p::PostWave(channels, sampleRate, channelCount, sampleCount);
}
LREVERB_EXPORT void __stdcall PostWaveData(float* data, std::int32_t sampleRate,
                                           std::int32_t channelCount, std::int32_t sampleCount) {
  p::PostWaveData(data, sampleRate, channelCount, sampleCount);
}
LREVERB_EXPORT const char* __stdcall GetPlugName() { return p::GetPlugName(); }
LREVERB_EXPORT std::int32_t __stdcall GetPlugVersion() { return p::GetPlugVersion(); }
LREVERB_EXPORT std::uint8_t __stdcall GetActivePlug() { return p::GetActivePlug(); }
LREVERB_EXPORT std::int32_t __stdcall GetPlugChanged() { return p::GetPlugChanged(); }
LREVERB_EXPORT void __stdcall SetData(const void* data, std::int32_t size) {
  p::SetData(data, size);
}
LREVERB_EXPORT void __stdcall GetData(void** data, std::int32_t* size) { p::GetData(data, size); }
LREVERB_EXPORT void __stdcall SetText(const char* text) { p::SetText(text); }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) p::LoadLibraryInstance();
  return TRUE;
}
