#pragma once
// Bars from a module string.
#include <QRect>

#include <algorithm>
#include <string>
#include <vector>

namespace layout {

// One rectangle for each run of '1' in modules (one character a module), the
// first module at x, `module` pixels a module, from y down `height` rows.
inline std::vector<QRect> BarsOf(const std::string& modules, int x, int y, int module, int height) {
  std::vector<QRect> bars;
  for (std::size_t i = 0; i < modules.size(); ++i) {
    if (modules[i] != '1' || (i > 0 && modules[i - 1] == '1')) continue;
    const std::size_t end = std::min(modules.find('0', i), modules.size());
    bars.emplace_back(x + module * static_cast<int>(i), y, module * static_cast<int>(end - i), height);
  }
  return bars;
}

}  // namespace layout
