#pragma once
// What every value of the parameter block is: the panel it sits on, the label under its knob
// and its load-time value. Index i of the table is value i of the block and knob i of the face.

#include <array>
#include <string_view>

#include "plugin/param_block.h"

namespace lumra {

struct KnobInfo {
  std::string_view Panel;
  std::string_view Label;
  float LoadValue;
};

// Columns: panel, label, load value.
inline constexpr std::array<KnobInfo, KnobCount> KnobTable{{
    {"Reverb", "Rev. Time", 0.2f},
    {"Reverb", "Color", 0.32f},
    {"Reverb", "Z", 0.47f},
    {"Reverb", "Density", 0.2f},
    {"Reverb", "X", 0.33f},
    {"Reverb", "Y", 0.21f},
    {"Spread", "Level", 0.5f},
    {"Spread", "Phase", 1.0f},
    {"Spread", "Cross", 1.0f},
    {"Spread", "Pan", 0.3f},
    {"Spread", "LPF Freq.", 0.39f},
    {"Spread", "Hi Ratio", 0.5f},
    {"Diffuse", "Size 1", 0.13575f},
    {"Diffuse", "Size 2", 0.05575f},
    {"Diffuse", "Gain 3", 0.658f},
    {"Diffuse", "Size 3", 0.114f},
    {"Diffuse", "Gain 1", 0.58f},
    {"Diffuse", "Gain 2", 0.613f},
    {"Mix", "Dry Level", 0.0f},
    {"Mix", "Wet Level", 1.0f},
    {"Mix", "Wet Gain", 0.4f},
    {"Mix", "HPF Freq.", 0.1f},
    {"Mix", "LPF Freq.", 0.3f},
    {"Mix", "Predelay", 0.1f},
    {"Warp", "Size X", 0.181f},
    {"Warp", "Size Y", 0.342f},
    {"Warp", "Density", 0.0f},
    {"Warp", "Size Z", 0.874f},
    {"Warp", "Size", 0.5f},
    {"Warp", "Level", 1.0f},
    {"Diffuse", "Size X", 0.08675f},
    {"Diffuse", "Size Y", 0.13275f},
    {"Diffuse", "Gain Z", 0.758f},
    {"Diffuse", "Size Z", 0.0535f},
    {"Diffuse", "Gain X", 0.787f},
    {"Diffuse", "Gain Y", 0.659f},
}};

}  // namespace lumra
