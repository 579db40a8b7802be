#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace velmar {

// Measures the height that text takes when drawn word-wrapped, tabs expanded, into the page
// width. The printer's font metrics stand behind it when printing.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual int MeasureHeight(std::string_view text) = 0;
};

// How many leading characters of `text` fit on one page of `pageHeight`: all of them when they
// fit, else the largest count a binary search by character count finds to fit. A height equal to
// the page height fits. At least one character, so every page makes progress.
std::size_t FitPage(std::string_view text, int pageHeight, TextMeasure& measure);

// The text split into pages by FitPage; an empty text has no page.
std::vector<std::string_view> PaginateText(std::string_view text, int pageHeight,
                                           TextMeasure& measure);

}  // namespace velmar
