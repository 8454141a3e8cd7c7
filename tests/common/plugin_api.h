#pragma once
// The fifteen entry points as a host sees them, and a loaded instance of the plug-in. The same
// contract tests and session renderings drive the natively linked library and, under Wine, the
// real lreverb.zqp through LoadLibrary and GetProcAddress.

#include <cstdint>
#include <string>

#include "plugin/entry_points.h"

namespace lumra::testing {

struct PluginApi {
  void(LREVERB_STDCALL* Show)();
  void(LREVERB_STDCALL* Hide)();
  void(LREVERB_STDCALL* Start)();
  void(LREVERB_STDCALL* Stop)();
  void(LREVERB_STDCALL* Clear)();
  void(LREVERB_STDCALL* Destroy)();
  void(LREVERB_STDCALL* PostWave)(float**, std::int32_t, std::int32_t, std::int32_t);
  void(LREVERB_STDCALL* PostWaveData)(float*, std::int32_t, std::int32_t, std::int32_t);
  const char*(LREVERB_STDCALL* GetPlugName)();
  std::int32_t(LREVERB_STDCALL* GetPlugVersion)();
  std::uint8_t(LREVERB_STDCALL* GetActivePlug)();
  std::int32_t(LREVERB_STDCALL* GetPlugChanged)();
  void(LREVERB_STDCALL* SetData)(const void*, std::int32_t);
  void(LREVERB_STDCALL* GetData)(void**, std::int32_t*);
  void(LREVERB_STDCALL* SetText)(const char*);
};

// Loads the plug-in on construction; calls Destroy and unloads it on destruction.
class LoadedPlugin {
 public:
  LoadedPlugin();
  ~LoadedPlugin();
  LoadedPlugin(const LoadedPlugin&) = delete;
  LoadedPlugin& operator=(const LoadedPlugin&) = delete;

  const PluginApi* operator->() const { return &api_; }
  const PluginApi& Api() const { return api_; }
  // Empty when loading worked; otherwise what went wrong.
  const std::string& Error() const { return error_; }

 private:
  PluginApi api_{};
  void* module_ = nullptr;
  std::string error_;
};

}  // namespace lumra::testing
