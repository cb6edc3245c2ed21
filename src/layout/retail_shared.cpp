#include "layout/retail_layouts.h"

#include <algorithm>
#include <cmath>

namespace layout {

QFont PictureFont(double points) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96 / 72.0))));
  return font;
}

void AddBars(std::vector<QRect>& bars, std::string_view modules, int left, int moduleWidth, int top, int height) {
  for (size_t i = 0; i < modules.size();) {
    if (modules[i] != '1') {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < modules.size() && modules[i] == '1') ++i;
    bars.emplace_back(left + static_cast<int>(start) * moduleWidth, top, static_cast<int>(i - start) * moduleWidth,
                      height);
  }
}

}  // namespace layout
