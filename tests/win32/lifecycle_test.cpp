// The DLL as a host really uses it: loaded and freed repeatedly, and called with a stack that
// is only 4-byte aligned.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "plugin/param_block.h"
#include "plugin_api.h"

extern "C" std::uint32_t CallMisaligned(void* function, std::int32_t argumentCount,
                                        const std::uint32_t* arguments, std::int32_t misalignment);

namespace lumra::testing {
namespace {

std::vector<float> Signal(std::size_t n) {
  std::vector<float> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<float>((i * 7919) % 2000) / 1000.0f - 1.0f;
  return v;
}

template <typename Function>
void* Address(Function f) {
  return reinterpret_cast<void*>(f);
}

std::uint32_t Word(const void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }

TEST(Lifecycle, RepeatedLoadDestroyFreeCyclesStartFresh) {
  for (int cycle = 0; cycle < 15; ++cycle) {
    LoadedPlugin plugin;
    ASSERT_EQ(plugin.Error(), "") << "cycle " << cycle;
    EXPECT_EQ(plugin->GetPlugChanged(), 1) << "cycle " << cycle;
    EXPECT_EQ(plugin->GetActivePlug(), 1);
    std::vector<float> left = Signal(2048), right = Signal(2048);
    std::array<float*, 2> channels{left.data(), right.data()};
    plugin->PostWave(channels.data(), 44100 + cycle, 2, 2048);
    EXPECT_EQ(plugin->GetPlugChanged(), 2);
    ParamBlock block;
    void* live = nullptr;
    std::int32_t size = 0;
    plugin->GetData(&live, &size);
    std::memcpy(&block, live, sizeof block);
    block.Values[3] = 1.0f;
    plugin->SetData(&block, 148);
  }
}

TEST(Lifecycle, CallsWithA4ByteAlignedStackWorkAndGiveTheSameResult) {
  std::vector<float> reference;
  {
    LoadedPlugin plugin;
    ASSERT_EQ(plugin.Error(), "");
    std::vector<float> data = Signal(4096);
    plugin->PostWaveData(data.data(), 48000, 2, 2048);
    reference = data;
  }
  for (const std::int32_t misalignment : {4, 8, 12}) {
    LoadedPlugin plugin;
    ASSERT_EQ(plugin.Error(), "");
    const PluginApi& api = plugin.Api();
    void* live = nullptr;
    std::int32_t size = 0;
    const std::array<std::uint32_t, 2> getArgs{Word(&live), Word(&size)};
    CallMisaligned(Address(api.GetData), 2, getArgs.data(), misalignment);
    ASSERT_EQ(size, 148);
    const std::array<std::uint32_t, 2> setArgs{Word(live), 148};
    CallMisaligned(Address(api.SetData), 2, setArgs.data(), misalignment);
    EXPECT_EQ(CallMisaligned(Address(api.GetPlugChanged), 0, nullptr, misalignment), 2u);
    EXPECT_EQ(CallMisaligned(Address(api.GetActivePlug), 0, nullptr, misalignment) & 0xFF, 1u);

    std::vector<float> data = Signal(4096);
    const std::array<std::uint32_t, 4> waveArgs{Word(data.data()), 48000, 2, 2048};
    CallMisaligned(Address(api.PostWaveData), 4, waveArgs.data(), misalignment);
    EXPECT_EQ(data, reference) << "misalignment " << misalignment;
    CallMisaligned(Address(api.Clear), 0, nullptr, misalignment);
  }
}

}  // namespace
}  // namespace lumra::testing
