#pragma once
// Knob values a person should hear about: not a number, infinite, or outside 0..1. The engine
// and the editor take such a value held to 0..1, not-a-number as 0 (ClampKnobValue); a host may
// hand the plug-in such blocks, but a command typed by a person reports them.

#include <string>
#include <vector>

#include "plugin/param_block.h"

namespace lumra {

struct KnobProblem {
  int Knob;
  float Value;
};

std::vector<KnobProblem> KnobProblems(const ParamBlock& block);

// One line listing the problems, runs of neighbouring knobs with the same value together:
// `knobs 0-35 are not a number` or `knob 18 (Mix "Dry Level") is -5`. With takenAs, each says
// what the engine uses instead: `... (taken as 0)`.
std::string DescribeKnobProblems(const std::vector<KnobProblem>& problems, bool takenAs);

// A knob value as a person writes it: "0.5", "-5", "3e+38", "not a number", "infinite".
std::string KnobValueText(float value);

}  // namespace lumra
