#include "tools/lreverb/render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "plugin/engine.h"
#include "tools/lreverb/command_line.h"
#include "tools/lreverb/output_file.h"
#include "tools/lreverb/sound_file.h"
#include "tools/lreverb/sound_format.h"

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

std::vector<std::string> Render(const RenderJob& job) {
  SoundReader reader(job.Input);
  const SF_INFO& info = reader.Info();
  const int channels = info.channels;
  const std::string input = job.Input == "-" ? "standard input" : Quote(job.Input);
  if (channels != 1 && channels != 2)
    throw std::runtime_error(input + " has " + std::to_string(channels) +
                             " channels; only mono and stereo can be rendered");
  const int format = ChooseOutputFormat(job.Format, job.Output, info.format, channels, info.samplerate);

  OutputFile output(job.Output);
  // Compared as files, not names: a link or another path to IN must not replace the dry audio.
  const std::optional<FileIdentity> in = IdentityOf(job.Input);
  if (in && output.Destination() == in)
    throw std::runtime_error("the output " + (job.Output == "-" ? "(standard output)" : Quote(job.Output)) +
                             " is the input file " + input + "; not overwriting it");

  const ParamBlock settings = job.Params.value_or(LoadTimeBlock());
  plugin::Engine engine;
  engine.Configure(settings, info.samplerate);
  // With Power off the plug-in hands every block back untouched.
  const bool power = settings.Power != 0;

  const double tail = job.TailSeconds.value_or(RingOutSeconds(settings));
  const auto tailFrames = static_cast<sf_count_t>(std::ceil(tail * info.samplerate));
  SoundWriter writer(output.Temporary(), job.Output == "-" ? "standard output" : job.Output, format, channels,
                     info.samplerate);
  ProgressBar progress(job.Progress && reader.Frames().has_value(), reader.Frames().value_or(0) + tailFrames);

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
  writer.Finish();
  output.Commit();

  std::vector<std::string> warnings;
  if (const std::string shortfall = reader.Shortfall(); !shortfall.empty()) warnings.push_back(shortfall);
  if (writer.ClippedSamples() > 0)
    warnings.push_back(std::to_string(writer.ClippedSamples()) + " samples were clipped at full scale in " +
                       (job.Output == "-" ? std::string("standard output") : Quote(job.Output)) + " (" +
                       EncodingName(format) + "); lower --wet or write float samples");
  return warnings;
}

}  // namespace lumra
