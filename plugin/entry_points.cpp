#include "plugin/entry_points.h"

#include <cstring>
#include <new>

#include "plugin/instance.h"

namespace lumra::plugin {
namespace {

constexpr const char* PlugName = "L Reverb|Quorel Lumra Reverb";
constexpr std::int32_t PlugVersion = 101;

// Stores a new rate and reconfigures for it; runs whatever the state of Power.
void FollowSampleRate(Instance& in, std::int32_t rate) {
  if (rate == in.SampleRate.load()) return;
  in.SampleRate.store(rate);
  ApplyParameters();
}

// The audio side of the handshake with ApplyParameters: a block runs only while no
// reconfiguration does, and a reconfiguration starts only between blocks. A host that calls
// from two audio threads at once gets the answer of a reconfiguration for the second block
// instead of two blocks racing through the same effect objects.
class ProcessingScope {
 public:
  explicit ProcessingScope(Instance& in) : in_(in) {
    if (in_.Reconfiguring.load()) return;
    bool idle = false;
    if (!in_.Processing.compare_exchange_strong(idle, true)) return;
    if (in_.Reconfiguring.load()) {
      in_.Processing.store(false);
      return;
    }
    entered_ = true;
  }
  ~ProcessingScope() {
    if (entered_) in_.Processing.store(false);
  }
  ProcessingScope(const ProcessingScope&) = delete;
  ProcessingScope& operator=(const ProcessingScope&) = delete;

  bool Entered() const { return entered_; }

 private:
  Instance& in_;
  bool entered_ = false;
};

// The meter's peaks go to the window thread after each processed block; a mono block leaves the
// right peak alone.
void PublishPeaks(Instance& in, std::int32_t channelCount) {
  if (!in.MeterOn.load(std::memory_order_relaxed) || (channelCount != 1 && channelCount != 2))
    return;
  const std::array<float, 2>& peaks = in.Reverb->Peaks();
  in.PeakLeft.store(peaks[0], std::memory_order_relaxed);
  if (channelCount == 2) in.PeakRight.store(peaks[1], std::memory_order_relaxed);
}

void WriteSilence(Instance& in, float** channels, std::int32_t count, std::int32_t n) {
  for (std::int32_t c = 0; c < count; ++c)
    if (channels[c] != nullptr) std::memset(channels[c], 0, sizeof(float) * n);
  in.PeakLeft.store(0.0f, std::memory_order_relaxed);
  in.PeakRight.store(0.0f, std::memory_order_relaxed);
}

}  // namespace

// Without a window (the Linux tools) showing only turns the meter's measurement on and off.
void Show() {
  Instance& in = TheInstance();
  if (in.Editor) {
    in.Editor->Show();
  } else {
    in.MeterOn.store(true);
  }
}

void Hide() {
  Instance& in = TheInstance();
  if (in.Editor) {
    in.Editor->Hide();
  } else {
    in.MeterOn.store(false);
  }
}

void Start() {}

void Stop() {}

void Clear() { ClearEffects(); }

void PostWave(float** channels, std::int32_t sampleRate, std::int32_t channelCount,
              std::int32_t sampleCount) {
  Instance& in = TheInstance();
  if (!in.Reverb) return;
  FollowSampleRate(in, sampleRate);
  in.ChannelCount.store(channelCount, std::memory_order_relaxed);
  if (in.Power() == 0 || channels == nullptr || sampleCount <= 0) return;

  const ProcessingScope scope(in);
  if (!scope.Entered()) {
    WriteSilence(in, channels, channelCount, sampleCount);
    return;
  }
  in.Reverb->SetMetering(in.MeterOn.load(std::memory_order_relaxed));
  in.Reverb->Process(channels, channelCount, sampleCount);
  PublishPeaks(in, channelCount);
}

void PostWaveData(float* data, std::int32_t sampleRate, std::int32_t channelCount,
                  std::int32_t sampleCount) {
  Instance& in = TheInstance();
  if (!in.Reverb) return;
  FollowSampleRate(in, sampleRate);
  if (in.Power() == 0 || data == nullptr || sampleCount <= 0) return;
  if (channelCount != 1 && channelCount != 2) return;
  // Held across the split and the merge too: the interleaving buffers belong to the block.
  const ProcessingScope scope(in);
  if (!scope.Entered()) return;

  in.ChannelCount.store(channelCount, std::memory_order_relaxed);
  in.Reverb->SetMetering(in.MeterOn.load(std::memory_order_relaxed));
  in.Reverb->ProcessInterleaved(data, channelCount, sampleCount);
  PublishPeaks(in, channelCount);
}

const char* GetPlugName() { return PlugName; }

std::int32_t GetPlugVersion() { return PlugVersion; }

std::uint8_t GetActivePlug() { return TheInstance().Power(); }

std::int32_t GetPlugChanged() { return TheInstance().ChangeCount.load(); }

void SetData(const void* data, std::int32_t size) {
  if (size != static_cast<std::int32_t>(ParamBlockSize) || data == nullptr) return;
  ParamBlock block;
  std::memcpy(&block, data, ParamBlockSize);
  ApplyParameters(&block);
  Instance& in = TheInstance();
  if (in.Editor) in.Editor->ParametersChanged();
}

void GetData(void** data, std::int32_t* size) {
  if (data != nullptr) *data = &TheInstance().Params;
  if (size != nullptr) *size = static_cast<std::int32_t>(ParamBlockSize);
}

void SetText(const char* text) {
  Instance& in = TheInstance();
  in.CaptionText = text != nullptr ? text : "";
  if (in.Editor) in.Editor->CaptionChanged();
}

void LoadLibraryInstance() {
  Instance& in = TheInstance();
  in.Processing.store(false);
  in.Reconfiguring.store(false);
  in.SampleRate.store(0);
  in.ChannelCount.store(0);
  in.PeakLeft.store(0.0f);
  in.PeakRight.store(0.0f);
  in.SetDataEntry = &SetData;
  in.GetDataEntry = &GetData;
  in.Params = ParamBlock{};

  in.MeterOn.store(false);
  in.CaptionText.clear();

  // Without memory for the engine the library stays loaded and leaves the host's audio alone.
  try {
    in.Reverb.emplace();
  } catch (const std::bad_alloc&) {
    in.Reverb.reset();
  }
  LoadDefaults();
}

void Destroy() {
  Instance& in = TheInstance();
  in.Reverb.reset();
  // Closes the window, frees everything it drew with and runs the messages left waiting.
  in.Editor.reset();
  std::string().swap(in.CaptionText);
}

}  // namespace lumra::plugin
