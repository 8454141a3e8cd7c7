#pragma once
// One fixed host session: parameter changes, both entry points, mono and stereo, rate changes,
// Clear and Power. Rendered through the natively linked library and through the DLL, the
// outputs must be identical bit for bit.

#include <vector>

#include "plugin_api.h"

namespace lumra::testing {

// Everything the host got back, block after block, in order.
std::vector<float> RenderSession(const PluginApi& api);

}  // namespace lumra::testing
