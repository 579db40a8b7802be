#include "app/text_pagination.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmar {
namespace {

// Ten characters to a line, ten units per line; "\n" ends a line early.
class LineMeasure : public TextMeasure {
 public:
  int MeasureHeight(std::string_view text) override {
    ++calls;
    int lines = text.empty() ? 0 : 1;
    int column = 0;
    for (char ch : text) {
      if (ch == '\n' || column == 10) {
        ++lines;
        column = 0;
      }
      if (ch != '\n') {
        ++column;
      }
    }
    return lines * 10;
  }
  int calls = 0;
};

TEST(TextPagination, SplitsByCharacterCountIntoPagesThatFit) {
  struct Case {
    const char* name;
    std::string text;
    int pageHeight;
    std::vector<std::string> pages;
    int measurements;
  };
  const std::string line(10, 'x');
  const std::vector<Case> cases = {
      {"empty text has no page", "", 30, {}, 0},
      {"short text: one page after a single measurement", "abc\ndef", 30, {"abc\ndef"}, 1},
      {"exactly a page: its height equals the page height",
       line + line + line,
       30,
       {line + line + line},
       1},
      {"one character over a page", line + line + line + "y", 30, {line + line + line, "y"}, 7},
      {"many pages",
       std::string(95, 'a'),
       30,
       {std::string(30, 'a'), std::string(30, 'a'), std::string(30, 'a'), std::string(5, 'a')},
       0},
      // A page too small for one line still takes a character at a time.
      {"page lower than a line", "ab", 5, {"a", "b"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LineMeasure measure;
    std::vector<std::string> pages;
    for (std::string_view page : PaginateText(c.text, c.pageHeight, measure)) {
      pages.emplace_back(page);
    }
    EXPECT_EQ(pages, c.pages);
    if (c.measurements > 0) {
      EXPECT_EQ(measure.calls, c.measurements);
    }
  }
}

TEST(TextPagination, TheSearchMeetingThePageHeightExactlyTakesThatCount) {
  // Every probe of the search lands on a count whose height is the page height or more: the
  // count that meets it exactly is kept, never one that overflows.
  LineMeasure measure;
  const std::string text = std::string(20, 'a') + "\n" + std::string(40, 'b');
  const std::size_t fit = FitPage(text, 20, measure);
  EXPECT_EQ(fit, 20u);
  EXPECT_LE(measure.MeasureHeight(std::string_view(text).substr(0, fit)), 20);
  EXPECT_GT(measure.MeasureHeight(std::string_view(text).substr(0, fit + 1)), 20);
}

}  // namespace
}  // namespace velmar
