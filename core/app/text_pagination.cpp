#include "app/text_pagination.h"

namespace velmar {

std::size_t FitPage(std::string_view text, int pageHeight, TextMeasure& measure) {
  if (text.empty() || measure.MeasureHeight(text) <= pageHeight) {
    return text.size();
  }
  // `low` characters are known to fit, `high` are known not to.
  std::size_t low = 0;
  std::size_t high = text.size();
  while (low + 1 < high) {
    const std::size_t tried = low + (high - low) / 2;
    if (measure.MeasureHeight(text.substr(0, tried)) <= pageHeight) {
      low = tried;
    } else {
      high = tried;
    }
  }
  // The count that fits, not the last one tried: a count found too tall would draw past the
  // bottom of the page and lose those lines.
  return low > 0 ? low : 1;
}

std::vector<std::string_view> PaginateText(std::string_view text, int pageHeight,
                                           TextMeasure& measure) {
  std::vector<std::string_view> pages;
  while (!text.empty()) {
    const std::size_t count = FitPage(text, pageHeight, measure);
    pages.push_back(text.substr(0, count));
    text.remove_prefix(count);
  }
  return pages;
}

}  // namespace velmar
