#include "tools/lreverb/knob_check.h"

#include <cmath>
#include <cstring>

#include "editor/control_table.h"
#include "tools/lreverb/command_line.h"

namespace lumra {
namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string KnobName(int knob) {
  std::string name(editor::KnobPanel(knob));
  name += ' ';
  name += Quote(editor::Knobs[static_cast<std::size_t>(knob)].Label);
  return '(' + name + ')';
}

}  // namespace

std::vector<KnobProblem> KnobProblems(const ParamBlock& block) {
  std::vector<KnobProblem> problems;
  for (int i = 0; i < KnobCount; ++i) {
    const float v = block.Values[static_cast<std::size_t>(i)];
    if (!(v >= 0.0f && v <= 1.0f)) problems.push_back({i, v});
  }
  return problems;
}

std::string KnobValueText(float value) {
  if (std::isnan(value)) return "not a number";
  if (std::isinf(value)) return value > 0 ? "infinite" : "minus infinite";
  return NumberText(value);
}

std::string DescribeKnobProblems(const std::vector<KnobProblem>& problems, bool takenAs) {
  std::string text;
  for (std::size_t first = 0; first < problems.size();) {
    std::size_t last = first;
    while (last + 1 < problems.size() && problems[last + 1].Knob == problems[last].Knob + 1 &&
           SameBits(problems[last + 1].Value, problems[first].Value))
      ++last;
    const KnobProblem& p = problems[first];
    if (!text.empty()) text += "; ";
    if (last == first)
      text += "knob " + std::to_string(p.Knob) + " " + KnobName(p.Knob) + " is ";
    else
      text += "knobs " + std::to_string(p.Knob) + "-" + std::to_string(problems[last].Knob) + " are ";
    text += KnobValueText(p.Value);
    if (takenAs) text += " (taken as " + NumberText(ClampKnobValue(p.Value)) + ")";
    first = last + 1;
  }
  return text;
}

}  // namespace lumra
