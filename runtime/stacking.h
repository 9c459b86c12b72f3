// The stacking rule: walking the description from the first control to the
// last, each control goes directly below the nearest earlier control with the
// same parent, or on top when there is none. So among siblings an earlier
// control lies above a later one.
#pragma once

#include <vector>

namespace rt {

inline constexpr int kStackOnTop = -1;

// For each control (given its parent's index, -1 for the window, and whether
// it has a window at all) the index of the control it goes directly below, or
// kStackOnTop. Controls without a window take no part (their entry is
// kStackOnTop and nothing is placed below them).
std::vector<int> StackingPlan(const std::vector<int>& parents, const std::vector<bool>& windowed);

}  // namespace rt
