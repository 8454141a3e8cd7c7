// The sound itself, held still: the load-time settings and four factory presets at 44.1 and
// 48 kHz, mono and stereo, through both entry points, must give exactly the stored output bits.
// Natively this checks the linked library; under Wine the same table checks lreverb.zqp.
//
// golden_outputs.inc is written by the test itself, only on purpose, when the sound is meant to
// change:
//   LREVERB_REGENERATE_GOLDEN=tests/contract/golden_outputs.inc build/native/bin/contract_tests
// from the project folder, then rebuild. Every build gives the same table, so regenerate on the
// native one.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/param_block.h"
#include "plugin_api.h"
#include "presets/factory_presets.h"

namespace lumra::testing {
namespace {

constexpr std::int32_t Frames = 8192;
constexpr std::int32_t BlockFrames = 512;
constexpr std::size_t StoredSamples = 6;

struct GoldenOutput {
  std::string_view Setting;
  std::int32_t Rate;
  std::int32_t Channels;
  std::uint64_t Checksum;  // FNV-1a 64 over the output's float bytes, planar, little-endian
  std::array<std::uint32_t, StoredSamples> Samples;  // float bits, spread over the output
};

constexpr GoldenOutput Golden[] = {
#include "golden_outputs.inc"
};

constexpr std::array<std::string_view, 5> Settings{"load-time", "02_Church", "03_Club",
                                                  "09_Live House", "11_Plate"};

ParamBlock BlockFor(std::string_view setting) {
  return FindFactoryBlock(setting).value_or(LoadTimeBlock());
}

// Integer arithmetic and exactly representable scalings only, so every build makes the same
// input: an impulse per channel, a burst of noise on the left, a decaying square tone on the right,
// then silence for the tail.
std::vector<float> Input(int channel) {
  std::vector<float> x(Frames, 0.0f);
  x[channel == 0 ? 0 : 37] = 1.0f;
  std::uint32_t state = 12345u + static_cast<std::uint32_t>(channel);
  for (std::int32_t i = 100; i < 1300; ++i) {
    state = state * 1664525u + 1013904223u;
    const auto centred = static_cast<std::int32_t>(state >> 8) - (1 << 23);
    if (channel == 0) x[i] += static_cast<float>(centred) / 33554432.0f;  // within +-0.25
  }
  if (channel == 1) {
    float level = 0.5f;
    for (std::int32_t i = 400; i < 2400; ++i) {
      x[i] += (i / 23) % 2 == 0 ? level : -level;
      level *= 0.999f;
    }
  }
  return x;
}

// The output of one case, planar: the left channel's frames, then the right's.
std::vector<float> RenderPlanar(const PluginApi& api, std::int32_t rate, std::int32_t channels) {
  std::array<std::vector<float>, 2> rows{Input(0), Input(1)};
  for (std::int32_t at = 0; at < Frames; at += BlockFrames) {
    std::array<float*, 2> block{rows[0].data() + at, rows[1].data() + at};
    api.PostWave(block.data(), rate, channels, BlockFrames);
  }
  if (channels == 1) return rows[0];
  rows[0].insert(rows[0].end(), rows[1].begin(), rows[1].end());
  return rows[0];
}

std::vector<float> RenderInterleaved(const PluginApi& api, std::int32_t rate,
                                     std::int32_t channels) {
  const std::array<std::vector<float>, 2> rows{Input(0), Input(1)};
  std::vector<float> frames(static_cast<std::size_t>(Frames) * channels);
  for (std::int32_t i = 0; i < Frames; ++i)
    for (std::int32_t c = 0; c < channels; ++c) frames[i * channels + c] = rows[c][i];
  for (std::int32_t at = 0; at < Frames; at += BlockFrames)
    api.PostWaveData(frames.data() + at * channels, rate, channels, BlockFrames);
  std::vector<float> planar(frames.size());
  for (std::int32_t i = 0; i < Frames; ++i)
    for (std::int32_t c = 0; c < channels; ++c) planar[c * Frames + i] = frames[i * channels + c];
  return planar;
}

std::uint32_t Bits(float x) {
  std::uint32_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

GoldenOutput Summarise(const GoldenOutput& which, const std::vector<float>& out) {
  GoldenOutput summary = which;
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (float x : out) {
    for (int shift = 0; shift < 32; shift += 8) {
      hash ^= (Bits(x) >> shift) & 0xFFu;
      hash *= 0x100000001b3ull;
    }
  }
  summary.Checksum = hash;
  // One from the middle of each sixth of the output: mostly past the pre-delay.
  const std::size_t sixth = out.size() / StoredSamples;
  for (std::size_t k = 0; k < StoredSamples; ++k)
    summary.Samples[k] = Bits(out[k * sixth + sixth / 2]);
  return summary;
}

// Each case on a freshly loaded plug-in, so no case depends on the ones before it.
template <class Render>
GoldenOutput RenderCase(const GoldenOutput& which, Render render) {
  LoadedPlugin plugin;
  EXPECT_EQ(plugin.Error(), "");
  if (!plugin.Error().empty()) return which;
  const ParamBlock block = BlockFor(which.Setting);
  plugin->SetData(&block, sizeof block);
  return Summarise(which, render(plugin.Api(), which.Rate, which.Channels));
}

std::string Hex(std::uint64_t value, int digits) {
  std::ostringstream text;
  text << "0x" << std::hex << std::setw(digits) << std::setfill('0') << value;
  return text.str();
}

std::string TableRow(const GoldenOutput& row) {
  std::string text = "{\"" + std::string(row.Setting) + "\", " + std::to_string(row.Rate) + ", " +
                     std::to_string(row.Channels) + ", " + Hex(row.Checksum, 16) + "ull, {";
  for (std::size_t k = 0; k < StoredSamples; ++k) text += (k ? ", " : "") + Hex(row.Samples[k], 8);
  return text + "}},\n";
}

TEST(Golden, EveryCaseHasItsStoredOutputOnBothEntryPoints) {
  std::vector<GoldenOutput> cases;
  for (std::string_view setting : Settings)
    for (std::int32_t rate : {44100, 48000})
      for (std::int32_t channels : {1, 2}) cases.push_back({setting, rate, channels, 0, {}});

  if (const char* path = std::getenv("LREVERB_REGENERATE_GOLDEN")) {
    std::ofstream table(path, std::ios::binary);
    table << "// Written by golden_test.cpp (LREVERB_REGENERATE_GOLDEN); do not edit by hand.\n"
             "// setting, rate, channels, FNV-1a 64 of the output, six samples' float bits\n";
    for (const GoldenOutput& which : cases) table << TableRow(RenderCase(which, RenderPlanar));
    ASSERT_TRUE(table.good()) << "cannot write " << path;
    GTEST_SKIP() << "golden outputs written to " << path;
  }

  ASSERT_EQ(std::size(Golden), cases.size()) << "regenerate golden_outputs.inc";
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const GoldenOutput& stored = Golden[i];
    ASSERT_EQ(TableRow({stored.Setting, stored.Rate, stored.Channels, 0, {}}),
              TableRow(cases[i])) << "regenerate golden_outputs.inc";
    // The whole row at once: a changed sound shows as one line per case and entry point.
    EXPECT_EQ(TableRow(RenderCase(stored, RenderPlanar)), TableRow(stored)) << "PostWave";
    EXPECT_EQ(TableRow(RenderCase(stored, RenderInterleaved)), TableRow(stored)) << "PostWaveData";
  }
}

}  // namespace
}  // namespace lumra::testing
