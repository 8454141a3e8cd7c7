#pragma once
// The text under each knob that shows its value: "2.1s", "982Hz", "-18.0db", "Thru".

#include <string>

namespace lumra::editor {

// The text of element `element` at value v, v held to 0..1 (not-a-number as 0) as the effect
// holds it. Numbers are rounded to the shown precision, halves away from zero; decimalSeparator
// stands for the point. A negative value that rounds to zero shows no minus sign.
std::string ValueText(int element, float v, char decimalSeparator = '.');

}  // namespace lumra::editor
