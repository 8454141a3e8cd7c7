#pragma once
// The two small line drawings of the display panels, computed from the parameter block: the
// decay (a comb of reflections after the direct sound) and the room (a box in perspective).
// Values are held to 0..1 as the effect holds them.

#include "gui/fdib.h"
#include "plugin/param_block.h"

namespace lumra::editor {

// Draws the decay sketch into the middle panel; returns the number of reflection lines drawn
// (some may have height 0 and leave no pixel). The pattern is drawn from a generator seeded
// from "Color", so a block always gives the same sketch.
int DrawDecaySketch(TFDIB& surface, const ParamBlock& block);

// Draws the room sketch into the lower panel.
void DrawRoomSketch(TFDIB& surface, const ParamBlock& block);

}  // namespace lumra::editor
