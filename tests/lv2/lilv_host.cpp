#include "lilv_host.h"

#include <lv2/atom/atom.h>

#include <algorithm>
#include <stdexcept>

#include "plugin/engine.h"
#include "presets/factory_presets.h"

namespace lumra::lv2 {
namespace {

LV2_URID MapUri(LV2_URID_Map_Handle handle, const char* uri) {
  return static_cast<TestHost*>(handle)->Urid(uri);
}
const char* UnmapUrid(LV2_URID_Unmap_Handle handle, LV2_URID urid) {
  return static_cast<TestHost*>(handle)->Uri(urid);
}

struct Stored {
  std::uint32_t Key = 0, Type = 0;
  std::vector<std::uint8_t> Bytes;
};

LV2_State_Status Store(LV2_State_Handle handle, uint32_t key, const void* value, size_t size,
                       uint32_t type, uint32_t) {
  auto* stored = static_cast<Stored*>(handle);
  const auto* bytes = static_cast<const std::uint8_t*>(value);
  *stored = {key, type, {bytes, bytes + size}};
  return LV2_STATE_SUCCESS;
}

const void* Retrieve(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type,
                     uint32_t* flags) {
  const auto* stored = static_cast<const Stored*>(handle);
  if (key != stored->Key) return nullptr;
  *size = stored->Bytes.size();
  *type = stored->Type;
  *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
  return stored->Bytes.data();
}

}  // namespace

Audio Noise(int channels, std::size_t frames, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<float> d(-0.5f, 0.5f);
  Audio audio(channels, std::vector<float>(frames));
  for (auto& channel : audio)
    for (float& x : channel) x = d(gen);
  // A silent stretch, so the tail is heard on its own too.
  for (auto& channel : audio)
    std::fill(channel.begin() + static_cast<std::ptrdiff_t>(frames / 2), channel.end(), 0.0f);
  return audio;
}

TestHost& TestHost::Get() {
  static TestHost host;
  return host;
}

TestHost::TestHost() : world_(lilv_world_new()) {
  map_ = {this, MapUri};
  unmap_ = {this, UnmapUrid};
  mapFeature_ = {LV2_URID__map, &map_};
  features_ = {&mapFeature_, nullptr};
  lilv_world_load_all(world_);
}

std::uint32_t TestHost::Urid(const char* uri) {
  const auto found = std::find(uris_.begin(), uris_.end(), uri);
  if (found != uris_.end()) return static_cast<std::uint32_t>(found - uris_.begin()) + 1;
  uris_.emplace_back(uri);
  return static_cast<std::uint32_t>(uris_.size());
}

const char* TestHost::Uri(std::uint32_t urid) const {
  return urid >= 1 && urid <= uris_.size() ? uris_[urid - 1].c_str() : nullptr;
}

const LilvPlugin* TestHost::Plugin(std::string_view uri) const {
  LilvNode* node = lilv_new_uri(world_, std::string(uri).c_str());
  const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_), node);
  lilv_node_free(node);
  if (plugin == nullptr)
    throw std::runtime_error("no plug-in " + std::string(uri) + " on LV2_PATH");
  return plugin;
}

HostedReverb::HostedReverb(std::string_view uri, double rate)
    : channels_(uri == MonoUri ? 1 : 2),
      instance_(
          lilv_plugin_instantiate(TestHost::Get().Plugin(uri), rate, TestHost::Get().Features())) {
  if (instance_ == nullptr) throw std::runtime_error("instantiation failed");
  SetKnobs(LoadTimeBlock());
  controls_[port::Power] = 1.0f;
  for (std::uint32_t p = 0; p < port::FirstAudio; ++p)
    lilv_instance_connect_port(instance_, p, &controls_[p]);
  lilv_instance_activate(instance_);
}

HostedReverb::~HostedReverb() {
  lilv_instance_deactivate(instance_);
  lilv_instance_free(instance_);
}

void HostedReverb::SetKnobs(const ParamBlock& block) {
  std::copy(block.Values.begin(), block.Values.end(), controls_.begin());
}

void HostedReverb::Run(const Audio& in, Audio& out, std::size_t at, std::uint32_t frames) {
  for (int c = 0; c < channels_; ++c) {
    audio_[c].assign(in[c].begin() + static_cast<std::ptrdiff_t>(at),
                     in[c].begin() + static_cast<std::ptrdiff_t>(at + frames));
    audio_[2 + c].resize(frames);
    lilv_instance_connect_port(instance_, InputPort(c), audio_[c].data());
    lilv_instance_connect_port(instance_, OutputPort(channels_, c), audio_[2 + c].data());
  }
  lilv_instance_run(instance_, frames);
  for (int c = 0; c < channels_; ++c)
    std::copy(audio_[2 + c].begin(), audio_[2 + c].end(),
              out[c].begin() + static_cast<std::ptrdiff_t>(at));
}

Audio HostedReverb::Render(const Audio& in, std::uint32_t block) {
  Audio out(in.size(), std::vector<float>(in[0].size()));
  for (std::size_t at = 0; at < in[0].size(); at += block)
    Run(in, out, at, static_cast<std::uint32_t>(std::min<std::size_t>(block, in[0].size() - at)));
  return out;
}

const LV2_State_Interface& HostedReverb::State() const {
  return *static_cast<const LV2_State_Interface*>(
      lilv_instance_get_extension_data(instance_, LV2_STATE__interface));
}

LV2_Handle HostedReverb::Handle() const { return lilv_instance_get_handle(instance_); }

std::vector<std::uint8_t> SaveBlock(const HostedReverb& reverb) {
  Stored stored;
  if (reverb.State().save(reverb.Handle(), Store, &stored, 0, nullptr) != LV2_STATE_SUCCESS)
    return {};
  if (stored.Key != TestHost::Get().Urid(BlockStateKey.data()) ||
      stored.Type != TestHost::Get().Urid(LV2_ATOM__Chunk))
    return {};
  return stored.Bytes;
}

LV2_State_Status RestoreBlock(HostedReverb& reverb, const std::vector<std::uint8_t>& bytes,
                              std::uint32_t type) {
  Stored stored{TestHost::Get().Urid(BlockStateKey.data()), type, bytes};
  return reverb.State().restore(reverb.Handle(), Retrieve, &stored, 0, nullptr);
}

Audio EngineRender(const ParamBlock& block, std::int32_t rate, const Audio& in) {
  Audio out = in;
  if (block.Power == 0) return out;
  plugin::Engine engine;
  engine.Configure(block, rate);
  const auto frames = static_cast<std::int32_t>(in[0].size());
  for (std::int32_t at = 0; at < frames; at += 512) {
    std::array<float*, 2> channels{out[0].data() + at,
                                   out.size() == 2 ? out[1].data() + at : nullptr};
    engine.Process(channels.data(), static_cast<std::int32_t>(out.size()),
                   std::min(512, frames - at));
  }
  return out;
}

ParamBlock FactoryBlock(std::string_view name) {
  if (const std::optional<ParamBlock> block = FindFactoryBlock(name)) return *block;
  throw std::runtime_error("no factory preset " + std::string(name));
}

}  // namespace lumra::lv2
