#include "editor/value_text.h"

#include <cmath>
#include <string_view>

#include "editor/control_table.h"

namespace lumra::editor {
namespace {

// x with `decimals` digits after the separator, halves away from zero.
std::string Fixed(double x, int decimals, char separator) {
  const double scale = decimals == 0 ? 1.0 : 10.0;
  const double units = std::round(x * scale);
  std::string text = units < 0 ? "-" : "";
  const auto magnitude = static_cast<long long>(std::fabs(units));
  if (decimals == 0) return text + std::to_string(magnitude);
  return text + std::to_string(magnitude / 10) + separator + std::to_string(magnitude % 10);
}

std::string Frequency(const ValueTextRule& rule, double hertz, char separator) {
  if (hertz >= rule.WholeKilohertzFrom) return Fixed(hertz / 1000, 0, separator) + "kHz";
  if (hertz >= 1000) return Fixed(hertz / 1000, 1, separator) + "kHz";
  return Fixed(hertz, 0, separator) + "Hz";
}

}  // namespace

std::string ValueText(int element, float v, char decimalSeparator) {
  if (element < 0 || element >= KnobCount) return {};
  const ValueTextRule& rule = Knobs[static_cast<std::size_t>(element)].Text;
  const float held = ClampKnobValue(v);
  const double x = double{held};
  const double amount = rule.Square * (x * x) + rule.Scale * x + rule.Offset;
  if (rule.Type == ValueTextRule::Kind::Frequency) {
    if (held == rule.ThruAt) return "Thru";
    return Frequency(rule, amount, decimalSeparator);
  }
  return Fixed(amount, rule.Decimals, decimalSeparator) + std::string(rule.Suffix);
}

}  // namespace lumra::editor
