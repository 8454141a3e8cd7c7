#pragma once
// The real plug-in, lreverb.zqp from the test's own folder, reached as the editor reaches it:
// the dialog gets its exported SetData and GetData.

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "plugin/param_block.h"
#include "presets/block_codec.h"
#include "presets/pluglib_model.h"

namespace lumra::test {

class TestPlugin {
 public:
  TestPlugin() = default;
  TestPlugin(const TestPlugin&) = delete;
  TestPlugin& operator=(const TestPlugin&) = delete;
  ~TestPlugin() { Unload(); }

  // Loads the library and makes a host's first call, on which the library creates its editor
  // window and installs the factory presets.
  bool Load() {
    wchar_t path[MAX_PATH]{};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file = path;
    file = file.substr(0, file.find_last_of(L"\\/") + 1) + L"lreverb.zqp";
    module_ = ::LoadLibraryW(file.c_str());
    if (module_ == nullptr) return false;
    setData_ = Export<SetDataFn>("SetData");
    getData_ = Export<GetDataFn>("GetData");
    getPlugChanged_ = Export<GetPlugChangedFn>("GetPlugChanged");
    destroy_ = Export<DestroyFn>("Destroy");
    if (!(setData_ && getData_ && getPlugChanged_ && destroy_)) return false;
    getPlugChanged_();
    return true;
  }
  void Unload() {
    if (module_ == nullptr) return;
    if (destroy_) destroy_();
    ::FreeLibrary(module_);
    module_ = nullptr;
  }

  ApplyBlockFn ApplyBlock() const { return setData_; }
  FetchBlockFn FetchBlock() const { return getData_; }
  int ChangeCount() const { return getPlugChanged_(); }

  std::string Text() const {
    void* data = nullptr;
    std::int32_t size = 0;
    getData_(&data, &size);
    return EncodeBlock({static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(size)});
  }
  void SetValue(int index, float value) const {
    void* data = nullptr;
    std::int32_t size = 0;
    getData_(&data, &size);
    ParamBlock block;
    std::memcpy(&block, data, sizeof block);
    block.Values[index] = value;
    setData_(&block, static_cast<std::int32_t>(sizeof block));
  }

 private:
  using SetDataFn = void(__stdcall*)(const void*, std::int32_t);
  using GetDataFn = void(__stdcall*)(void**, std::int32_t*);
  using GetPlugChangedFn = std::int32_t(__stdcall*)();
  using DestroyFn = void(__stdcall*)();

  template <typename Fn>
  Fn Export(const char* name) const {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module_, name)));
  }

  HMODULE module_ = nullptr;
  SetDataFn setData_ = nullptr;
  GetDataFn getData_ = nullptr;
  GetPlugChangedFn getPlugChanged_ = nullptr;
  DestroyFn destroy_ = nullptr;
};

}  // namespace lumra::test
