#pragma once
// The live parameter block the dialog works on, reached as the editor reaches it: through
// SetData- and GetData-shaped functions.

#include <cstdint>
#include <cstring>
#include <string>

#include "plugin/param_block.h"
#include "presets/block_codec.h"
#include "presets/pluglib_model.h"

namespace lumra::test {

class TestPlugin {
 public:
  void Load() {
    params_ = {};
    params_.Power = 1;
    changes_ = 1;
  }
  ApplyBlockFn ApplyBlock() {
    return [this](void* data, std::int32_t size) {
      if (size != static_cast<std::int32_t>(ParamBlockSize)) return;
      std::memcpy(&params_, data, ParamBlockSize);
      ++changes_;
    };
  }
  FetchBlockFn FetchBlock() {
    return [this](void** data, std::int32_t* size) {
      *data = &params_;
      *size = static_cast<std::int32_t>(ParamBlockSize);
    };
  }
  int ChangeCount() const { return changes_; }
  void SetValue(int index, float value) {
    ParamBlock block = params_;
    block.Values[index] = value;
    ApplyBlock()(&block, static_cast<std::int32_t>(ParamBlockSize));
  }
  std::string Text() const {
    return EncodeBlock({reinterpret_cast<const std::uint8_t*>(&params_), ParamBlockSize});
  }

 private:
  ParamBlock params_{};
  int changes_ = 0;
};

}  // namespace lumra::test
