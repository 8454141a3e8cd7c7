// The chain works internally in chunks of its own choosing; how a host cuts the signal into
// blocks must not change a single output bit.

#include "plugin_fixture.h"

namespace lumra::plugin {
namespace {

using BlockSizeTest = PluginTest;

enum class Layout { Planar, Interleaved, Mono };

std::vector<float> RenderInBlocks(const std::vector<float>& left, const std::vector<float>& right,
                                  Layout layout, std::int32_t block) {
  LoadLibraryInstance();
  Show();
  const auto frames = static_cast<std::int32_t>(left.size());
  std::vector<float> out;
  for (std::int32_t at = 0; at < frames; at += block) {
    const std::int32_t n = std::min(block, frames - at);
    std::vector<float> l(left.begin() + at, left.begin() + at + n);
    std::vector<float> r(right.begin() + at, right.begin() + at + n);
    if (layout == Layout::Interleaved) {
      std::vector<float> data;
      for (std::int32_t i = 0; i < n; ++i) data.insert(data.end(), {l[i], r[i]});
      PostWaveData(data.data(), 48000, 2, n);
      out.insert(out.end(), data.begin(), data.end());
    } else {
      std::array<float*, 2> channels{l.data(), r.data()};
      PostWave(channels.data(), 48000, layout == Layout::Mono ? 1 : 2, n);
      for (std::int32_t i = 0; i < n; ++i) {
        out.push_back(l[i]);
        if (layout == Layout::Planar) out.push_back(r[i]);
      }
    }
  }
  Destroy();
  return out;
}

TEST_F(BlockSizeTest, EveryBlockSizeGivesTheSameOutput) {
  Destroy();
  const std::vector<float> left = Noise(20000, 1), right = Noise(20000, 2);
  for (const Layout layout : {Layout::Planar, Layout::Interleaved, Layout::Mono}) {
    const std::vector<float> whole = RenderInBlocks(left, right, layout, 20000);
    for (const std::int32_t block : {1, 7, 127, 128, 129, 512, 4095}) {
      const std::vector<float> cut = RenderInBlocks(left, right, layout, block);
      ASSERT_EQ(cut.size(), whole.size());
      for (std::size_t i = 0; i < cut.size(); ++i)
        ASSERT_EQ(cut[i], whole[i]) << "layout " << static_cast<int>(layout) << " block " << block
                                    << " value " << i;
    }
  }
  LoadLibraryInstance();
}

}  // namespace
}  // namespace lumra::plugin
