#include "session.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "plugin/param_block.h"
#include "tools/demo_signal/demo_signal.h"

namespace lumra::testing {
namespace {

ParamBlock Modified(const PluginApi& api, std::initializer_list<std::pair<int, float>> changes) {
  void* live = nullptr;
  std::int32_t size = 0;
  api.GetData(&live, &size);
  ParamBlock block;
  std::memcpy(&block, live, sizeof block);
  for (const auto& [index, value] : changes) block.Values[index] = value;
  return block;
}

class Session {
 public:
  Session(const PluginApi& api) : api_(api), signal_(MakeDemoSignal(44100, 3.0)) {}

  // Feeds `frames` frames of the signal (from where the last call stopped) in blocks of
  // `block` frames, through PostWave or PostWaveData, in mono or stereo.
  void Play(std::int32_t rate, int channels, bool interleaved, std::size_t frames,
            std::int32_t block) {
    for (std::size_t done = 0; done < frames;) {
      const auto n = static_cast<std::int32_t>(std::min<std::size_t>(block, frames - done));
      std::array<std::vector<float>, 2> parts;
      for (int c = 0; c < channels; ++c) {
        const std::vector<float>& source = c == 0 ? signal_.Left : signal_.Right;
        for (std::int32_t i = 0; i < n; ++i) parts[c].push_back(source[(at_ + i) % source.size()]);
      }
      if (interleaved) {
        std::vector<float> data(static_cast<std::size_t>(n) * channels);
        for (std::int32_t i = 0; i < n; ++i)
          for (int c = 0; c < channels; ++c) data[i * channels + c] = parts[c][i];
        api_.PostWaveData(data.data(), rate, channels, n);
        output_.insert(output_.end(), data.begin(), data.end());
      } else {
        std::array<float*, 2> pointers{parts[0].data(), parts[1].data()};
        api_.PostWave(pointers.data(), rate, channels, n);
        for (int c = 0; c < channels; ++c)
          output_.insert(output_.end(), parts[c].begin(), parts[c].end());
      }
      at_ += n;
      done += n;
    }
  }

  std::vector<float> Take() { return std::move(output_); }

 private:
  const PluginApi& api_;
  StereoSignal signal_;
  std::size_t at_ = 0;
  std::vector<float> output_;
};

}  // namespace

std::vector<float> RenderSession(const PluginApi& api) {
  Session s(api);
  s.Play(44100, 2, false, 40000, 512);
  s.Play(44100, 2, true, 20000, 333);
  s.Play(44100, 1, false, 15000, 1024);

  // Every knob away from its load-time value, including dense tap patterns and the
  // treble-emphasised early reflections.
  const ParamBlock dense = Modified(api, {{0, 0.45f},  {1, 0.9f},   {2, 0.2f},  {3, 1.0f},
                                          {4, 0.8f},   {5, 0.55f},  {6, 0.9f},  {7, 0.3f},
                                          {8, 0.35f},  {9, 0.8f},   {10, 0.7f}, {11, 0.1f},
                                          {12, 0.5f},  {14, 0.2f},  {18, 0.3f}, {20, 0.6f},
                                          {21, 0.0f},  {22, 0.8f},  {23, 0.4f}, {24, 0.9f},
                                          {26, 1.0f},  {28, 0.1f},  {29, 0.5f}, {31, 0.9f}});
  api.SetData(&dense, sizeof dense);
  s.Play(44100, 2, false, 30000, 4096);
  s.Play(48000, 2, false, 30000, 256);
  s.Play(48000, 1, true, 10000, 100);
  api.Clear();
  s.Play(48000, 2, true, 12000, 64);

  ParamBlock off = dense;
  off.Power = 0;
  api.SetData(&off, sizeof off);
  s.Play(22050, 2, false, 5000, 500);
  api.SetData(&dense, sizeof dense);
  s.Play(22050, 2, false, 15000, 700);
  return s.Take();
}

}  // namespace lumra::testing
