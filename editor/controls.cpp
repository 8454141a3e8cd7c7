#include "editor/controls.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "common/exact_math.h"

namespace lumra::editor {

int KnobFrame(float v) { return static_cast<int>(RoundToInt32(63.0 * ClampKnobValue(v))); }

std::optional<int> KnobAt(std::int32_t x, std::int32_t y) {
  for (int element = 0; element < KnobCount; ++element) {
    const TPoint centre = KnobCentre(element);
    if (std::llabs(std::int64_t{x} - centre.X) < KnobGrabReach && std::llabs(std::int64_t{y} - centre.Y) < KnobGrabReach)
      return element;
  }
  return std::nullopt;
}

bool Contains(const TRect& area, std::int32_t x, std::int32_t y) {
  return x >= area.Left && x < area.Right && y >= area.Top && y < area.Bottom;
}

float AngleValue(int element, std::int32_t x, std::int32_t y) {
  const TPoint centre = KnobCentre(element);
  const double across = static_cast<double>(std::int64_t{centre.X} - x);
  const double down = static_cast<double>(std::int64_t{y} - centre.Y);
  double theta = std::atan2(across, down) * 180.0 / std::numbers::pi;
  if (theta < 0) theta += 360;
  if (theta < 30) {
    theta = 30;
  } else if (theta > 330) {
    theta = 330;
  }
  return static_cast<float>((theta - 30) / 300);
}

}  // namespace lumra::editor
