#include "runtime/stacking.h"

namespace rt {

std::vector<int> StackingPlan(const std::vector<int>& parents, const std::vector<bool>& windowed) {
  std::vector<int> below(parents.size(), kStackOnTop);
  for (std::size_t i = 0; i < parents.size(); ++i) {
    if (!windowed[i]) continue;
    for (std::size_t j = i; j-- > 0;) {
      if (windowed[j] && parents[j] == parents[i]) {
        below[i] = static_cast<int>(j);
        break;
      }
    }
  }
  return below;
}

}  // namespace rt
