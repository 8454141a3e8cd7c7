// A careless 32-bit host may call the exports with a stack that is only 4-byte aligned; the DLL
// must work and give the same result as with an aligned stack.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "plugin_api.h"
#include "test_signal.h"

extern "C" std::uint32_t CallMisaligned(void* function, std::int32_t argumentCount,
                                        const std::uint32_t* arguments, std::int32_t misalignment);

namespace lumra::testing {
namespace {

template <typename Function>
void* Address(Function f) {
  return reinterpret_cast<void*>(f);
}

std::uint32_t Word(const void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }

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
