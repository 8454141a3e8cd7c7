#pragma once

namespace lumra::plugin {

// Runs the window messages waiting on the calling thread, so that a thread that waits for the
// audio thread keeps its windows alive.
void PumpPendingMessages();

}  // namespace lumra::plugin
