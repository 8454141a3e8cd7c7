#pragma once
// The library's one plug-in instance: the engine, the live parameter block the host reaches
// through GetData, and the flags the entry points share across threads.

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "plugin/editor_view.h"
#include "plugin/engine.h"
#include "plugin/param_block.h"

namespace lumra::plugin {

struct Instance {
  ParamBlock Params{};
  std::atomic<std::int32_t> SampleRate{0};
  std::atomic<std::int32_t> ChannelCount{0};
  std::atomic<bool> Processing{false};
  std::atomic<bool> Reconfiguring{false};
  std::atomic<bool> MeterOn{false};
  std::atomic<float> PeakLeft{0.0f};
  std::atomic<float> PeakRight{0.0f};
  std::atomic<std::int32_t> ChangeCount{1};
  std::string CaptionText;

  void (*SetDataEntry)(const void*, std::int32_t) = nullptr;
  void (*GetDataEntry)(void**, std::int32_t*) = nullptr;

  // Empty before the library is loaded, after Destroy, or when memory ran out at load.
  std::optional<Engine> Reverb;
  // Null until the window exists; it belongs to the thread that loaded the library.
  std::unique_ptr<EditorView> Editor;

  std::uint8_t Power() const;
  void SetPower(std::uint8_t power);
};

Instance& TheInstance();

// Fills the block with the load-time values and Power 1, sets the change counter to 0 and
// applies the block.
void LoadDefaults();

// Configures the engine from Params and SampleRate and adds 1 to the change counter. Waits
// (pumping window messages) for a block in progress and for an application running on another
// thread. When newBlock is given it replaces Params first, inside the same exclusion, so no block
// and no other application sees the block half-copied.
void ApplyParameters(const ParamBlock* newBlock = nullptr);

// Clears the engine, between blocks as ApplyParameters reconfigures, without an application:
// the change counter stays.
void ClearEffects();

// The Power switch: flips the Power byte and clears every effect object.
void TogglePower();

}  // namespace lumra::plugin
