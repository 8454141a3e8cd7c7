#include "tools/lreverb/render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "plugin/engine.h"
#include "tools/lreverb/sound_file.h"

namespace lumra {
namespace {

class ProgressBar {
 public:
  ProgressBar(bool enabled, sf_count_t total) : enabled_(enabled && total > 0), total_(total) {}
  ~ProgressBar() {
    if (shown_ >= 0) std::fputs("\r\033[K", stderr);
  }
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Update(sf_count_t done) {
    if (!enabled_) return;
    const int percent = static_cast<int>(100 * std::min(done, total_) / total_);
    if (percent == shown_) return;
    shown_ = percent;
    constexpr int Width = 40;
    const int filled = percent * Width / 100;
    std::fprintf(stderr, "\r[%.*s%*s] %3d%%", filled, "########################################",
                 Width - filled, "", percent);
    std::fflush(stderr);
  }

 private:
  bool enabled_;
  sf_count_t total_;
  int shown_ = -1;
};

}  // namespace

double RingOutSeconds(const ParamBlock& block) {
  const double reverbTime = 9.8 * ClampKnobValue(block.Values[knob::ReverbTime]) + 0.1;
  const double predelay = ClampKnobValue(block.Values[knob::Predelay]);
  return 1.5 * reverbTime + (199.0 * predelay * predelay + 1.0) / 1000.0;
}

void Render(const RenderJob& job) {
  SoundReader reader(job.Input);
  const SF_INFO& info = reader.Info();
  const int channels = info.channels;
  if (channels != 1 && channels != 2)
    throw std::runtime_error("\"" + job.Input + "\" has " + std::to_string(channels) +
                             " channels; only mono and stereo can be rendered");

  const ParamBlock settings = job.Params.value_or(LoadTimeBlock());
  plugin::Engine engine;
  engine.Configure(settings, info.samplerate);
  // With Power off the plug-in hands every block back untouched.
  const bool power = settings.Power != 0;

  const double tail = job.TailSeconds.value_or(RingOutSeconds(settings));
  const auto tailFrames = static_cast<sf_count_t>(std::ceil(tail * info.samplerate));
  AtomicSoundWriter writer(job.Output, info.format, channels, info.samplerate);
  ProgressBar progress(job.Progress, info.frames + tailFrames);

  std::vector<float> block(static_cast<std::size_t>(job.Block) * channels);
  sf_count_t done = 0;
  sf_count_t tailLeft = tailFrames;
  for (;;) {
    sf_count_t frames = reader.Read(block);
    if (frames <= 0) {
      if (tailLeft == 0) break;
      frames = std::min<sf_count_t>(tailLeft, job.Block);
      tailLeft -= frames;
      std::fill(block.begin(), block.end(), 0.0f);
    }
    if (power) engine.ProcessInterleaved(block.data(), channels, static_cast<std::int32_t>(frames));
    writer.Write({block.data(), static_cast<std::size_t>(frames) * channels});
    done += frames;
    progress.Update(done);
  }
  writer.Commit();
}

}  // namespace lumra
