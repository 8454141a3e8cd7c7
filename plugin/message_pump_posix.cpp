#include "plugin/message_pump.h"

#include <thread>

namespace lumra::plugin {

// The Linux tools have no window messages; waiting just gives the other thread the core.
void PumpPendingMessages() { std::this_thread::yield(); }

}  // namespace lumra::plugin
