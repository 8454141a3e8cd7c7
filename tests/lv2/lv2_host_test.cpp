// The plug-in as a host drives it: state, presets, several instances, automation.

#include <gtest/gtest.h>
#include <lv2/atom/atom.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "lilv_host.h"
#include "lv2/ttl/port_names.h"

namespace lumra::lv2 {
namespace {

std::vector<std::uint8_t> Bytes(const ParamBlock& block) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(&block);
  return {p, p + sizeof block};
}

void ExpectSameAudio(const Audio& a, const Audio& b, const std::string& what) {
  ASSERT_EQ(a.size(), b.size()) << what;
  for (std::size_t c = 0; c < a.size(); ++c)
    for (std::size_t i = 0; i < a[c].size(); ++i)
      ASSERT_EQ(std::bit_cast<std::uint32_t>(a[c][i]), std::bit_cast<std::uint32_t>(b[c][i]))
          << what << ": channel " << c << " frame " << i;
}

// Values no port can hold: not-a-number with a payload, infinities, out of range, a denormal;
// and the reserved bytes as a host wrote them.
ParamBlock UnportableBlock() {
  ParamBlock block = LoadTimeBlock();
  block.Values[knob::ReverbTime] = std::bit_cast<float>(0x7fc12345u);
  block.Values[knob::Color] = std::numeric_limits<float>::infinity();
  block.Values[knob::SizeZ] = -std::numeric_limits<float>::infinity();
  block.Values[knob::Density] = -3.5f;
  block.Values[knob::WetGain] = 7.25f;
  block.Values[knob::Predelay] = std::numeric_limits<float>::denorm_min();
  block.Power = 3;
  block.Reserved = {0xAB, 0xCD, 0xEF};
  return block;
}

TEST(Lv2State, RoundTripsEveryByteAndSoundsAsTheBlock) {
  const ParamBlock block = UnportableBlock();
  const Audio in = Noise(2, 20000, 1);
  HostedReverb reverb(StereoUri, 48000);
  ASSERT_EQ(RestoreBlock(reverb, Bytes(block), TestHost::Get().Urid(LV2_ATOM__Chunk)),
            LV2_STATE_SUCCESS);
  // The host's ports still hold the load-time values: they are taken as seen, not applied.
  ExpectSameAudio(reverb.Render(in, 333), EngineRender(block, 48000, in), "restored block");
  EXPECT_EQ(SaveBlock(reverb), Bytes(block));

  // A knob the host turns afterwards changes that value alone.
  reverb.Control(knob::Predelay) = 0.5f;
  reverb.Render(in, 4096);
  ParamBlock turned = block;
  turned.Values[knob::Predelay] = 0.5f;
  EXPECT_EQ(SaveBlock(reverb), Bytes(turned));

  // Through lilv's own state, as a session file stores it.
  LilvState* state = lilv_state_new_from_instance(
      TestHost::Get().Plugin(StereoUri), reverb.Instance(), TestHost::Get().Map(), nullptr, nullptr,
      nullptr, nullptr,
      [](const char*, void*, uint32_t*, uint32_t*) -> const void* { return nullptr; }, nullptr,
      LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, nullptr);
  char* text = lilv_state_to_string(TestHost::Get().World(), TestHost::Get().Map(),
                                    TestHost::Get().Unmap(), state, "urn:test:state", nullptr);
  LilvState* reread =
      lilv_state_new_from_string(TestHost::Get().World(), TestHost::Get().Map(), text);
  HostedReverb other(MonoUri, 44100);
  lilv_state_restore(reread, other.Instance(), nullptr, nullptr, 0, nullptr);
  EXPECT_EQ(SaveBlock(other), Bytes(turned)) << text;
  lilv_free(text);
  lilv_state_free(reread);
  lilv_state_free(state);
}

TEST(Lv2State, RefusesWhatIsNotABlock) {
  HostedReverb reverb(StereoUri, 48000);
  const std::vector<std::uint8_t> bytes = Bytes(UnportableBlock());
  EXPECT_EQ(
      RestoreBlock(reverb, {bytes.begin(), bytes.end() - 1}, TestHost::Get().Urid(LV2_ATOM__Chunk)),
      LV2_STATE_ERR_BAD_TYPE);
  EXPECT_EQ(RestoreBlock(reverb, bytes, TestHost::Get().Urid(LV2_ATOM__String)),
            LV2_STATE_ERR_BAD_TYPE);
  EXPECT_EQ(SaveBlock(reverb), Bytes(LoadTimeBlock()));
}

TEST(Lv2Presets, FactoryPresetsRestoreTheirBlocks) {
  for (const std::string_view name : {"02_Church", "06_Hall L", "12_Room"}) {
    LilvNode* uri = lilv_new_uri(TestHost::Get().World(), PresetUri(name).c_str());
    lilv_world_load_resource(TestHost::Get().World(), uri);
    LilvState* preset =
        lilv_state_new_from_world(TestHost::Get().World(), TestHost::Get().Map(), uri);
    ASSERT_NE(preset, nullptr) << name;
    HostedReverb reverb(StereoUri, 44100);
    const auto setPort = [](const char* symbol, void* host, const void* value, uint32_t size,
                            uint32_t) {
      auto& r = *static_cast<HostedReverb*>(host);
      for (int i = 0; i < KnobCount; ++i)
        if (KnobPortSymbol(i) == symbol && size == sizeof(float))
          std::memcpy(&r.Control(i), value, size);
    };
    lilv_state_restore(preset, reverb.Instance(), setPort, &reverb, 0, nullptr);
    const ParamBlock block = FactoryBlock(name);
    const Audio in = Noise(2, 30000, 2);
    ExpectSameAudio(reverb.Render(in, 512), EngineRender(block, 44100, in), std::string(name));
    EXPECT_EQ(SaveBlock(reverb), Bytes(block)) << name;
    for (int i = 0; i < KnobCount; ++i)
      EXPECT_EQ(reverb.Control(i), block.Values[i]) << name << " port " << i;
    lilv_state_free(preset);
    lilv_node_free(uri);
  }
}

TEST(Lv2Instances, EachSoundsAsItWouldAlone) {
  const Audio stereoIn = Noise(2, 24000, 3), monoIn = Noise(1, 24000, 4);
  HostedReverb a(StereoUri, 48000), b(StereoUri, 48000), mono(MonoUri, 48000);
  const ParamBlock hall = FactoryBlock("06_Hall L");
  b.SetKnobs(hall);
  Audio outA(2, std::vector<float>(24000)), outB = outA, outMono(1, std::vector<float>(24000));
  // Interleaved runs of different sizes, as hosts on several threads may call them.
  for (std::size_t at = 0, i = 0; at < 24000; ++i) {
    const auto n =
        static_cast<std::uint32_t>(std::min<std::size_t>(1 + (i * 977) % 3000, 24000 - at));
    a.Run(stereoIn, outA, at, n);
    b.Run(stereoIn, outB, at, n);
    mono.Run(monoIn, outMono, at, n);
    at += n;
  }
  ExpectSameAudio(outA, EngineRender(LoadTimeBlock(), 48000, stereoIn), "load-time instance");
  ExpectSameAudio(outB, EngineRender(hall, 48000, stereoIn), "preset instance");
  ExpectSameAudio(outMono, EngineRender(LoadTimeBlock(), 48000, monoIn), "mono instance");
}

TEST(Lv2Instances, PowerOffPassesTheInputThrough) {
  HostedReverb reverb(StereoUri, 48000);
  const Audio in = Noise(2, 5000, 5);
  reverb.Render(in, 700);
  EXPECT_GT(reverb.Control(port::PeakLeft), 0.0f);
  reverb.Control(port::Power) = 0.0f;
  ExpectSameAudio(reverb.Render(in, 700), in, "bypassed");
  EXPECT_EQ(reverb.Control(port::PeakLeft), 0.0f);
  EXPECT_EQ(reverb.Control(port::PeakRight), 0.0f);
  EXPECT_EQ(SaveBlock(reverb)[offsetof(ParamBlock, Power)], 0);
  // Back on, the rings start empty, as after the face's Power switch.
  reverb.Control(port::Power) = 1.0f;
  ExpectSameAudio(reverb.Render(in, 700), EngineRender(LoadTimeBlock(), 48000, in),
                  "power on again");
}

TEST(Lv2Automation, SweepingEveryKnobEveryBlockStaysFiniteAndBounded) {
  for (const std::string_view uri : {StereoUri, MonoUri}) {
    HostedReverb reverb(uri, 44100);
    const Audio in = Noise(reverb.Channels(), 44100 * 3, 6);
    Audio out = in;
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (std::size_t at = 0; at < in[0].size(); at += 256) {
      for (int i = 0; i < KnobCount; ++i) reverb.Control(i) = value(gen);
      reverb.Run(in, out, at,
                 static_cast<std::uint32_t>(std::min<std::size_t>(256, in[0].size() - at)));
    }
    for (const auto& channel : out)
      for (const float x : channel)
        ASSERT_TRUE(std::isfinite(x) && std::fabs(x) < 64.0f) << uri << " " << x;
  }
}

}  // namespace
}  // namespace lumra::lv2
