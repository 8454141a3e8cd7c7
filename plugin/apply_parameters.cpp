#include <cstring>

#include "plugin/instance.h"
#include "plugin/message_pump.h"

namespace lumra::plugin {
namespace {

// Holds Reconfiguring once no block is in progress and no other application runs. A thread
// that waits pumps its window messages; an application started by one of those messages runs to
// its end before this one claims, so the two never overlap.
class ReconfigurationClaim {
 public:
  explicit ReconfigurationClaim(Instance& instance) : instance_(instance) {
    for (;;) {
      while (instance_.Processing.load()) PumpPendingMessages();
      bool expected = false;
      if (instance_.Reconfiguring.compare_exchange_strong(expected, true)) {
        // The audio thread sets Processing before it looks at Reconfiguring again.
        if (!instance_.Processing.load()) return;
        instance_.Reconfiguring.store(false);
      }
      PumpPendingMessages();
    }
  }
  ~ReconfigurationClaim() { instance_.Reconfiguring.store(false); }
  ReconfigurationClaim(const ReconfigurationClaim&) = delete;
  ReconfigurationClaim& operator=(const ReconfigurationClaim&) = delete;

 private:
  Instance& instance_;
};

}  // namespace

void ApplyParameters(const ParamBlock* newBlock) {
  Instance& in = TheInstance();
  {
    const ReconfigurationClaim claim(in);
    if (newBlock != nullptr) {
      std::memcpy(in.Params.Values.data(), newBlock->Values.data(), sizeof(in.Params.Values));
      in.SetPower(newBlock->Power);
      in.Params.Reserved = newBlock->Reserved;
    }
    // A block at an unsupported rate is processed with the settings of the last supported one
    // instead of building absurdly long rings.
    if (in.Reverb) in.Reverb->Configure(in.Params, in.SampleRate.load());
  }
  in.ChangeCount.fetch_add(1);
}

void ClearEffects() {
  Instance& in = TheInstance();
  const ReconfigurationClaim claim(in);
  if (in.Reverb) in.Reverb->Clear();
}

void TogglePower() {
  Instance& in = TheInstance();
  in.SetPower(in.Power() ^ 1);
  ClearEffects();
}

void LoadDefaults() {
  Instance& in = TheInstance();
  ParamBlock block = in.Params;
  for (int i = 0; i < KnobCount; ++i) block.Values[i] = LoadValues[i];
  block.Power = 1;
  in.ChangeCount.store(0);
  ApplyParameters(&block);
}

}  // namespace lumra::plugin
