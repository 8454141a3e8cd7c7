// The DLL as a host really uses it: loaded, driven and freed repeatedly.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "plugin/param_block.h"
#include "plugin_api.h"
#include "test_signal.h"

namespace lumra::testing {
namespace {

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

}  // namespace
}  // namespace lumra::testing
