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
    std::string text;
    int pageHeight;
    std::vector<std::string> pages;
    int measurements;  // 0: not checked
  };
  const std::string page(30, 'x');  // three lines
  const Case cases[] = {
      {"", 30, {}, 0},
      {"abc\ndef", 30, {"abc\ndef"}, 1},  // one page after a single measurement
      {page, 30, {page}, 1},              // its height equals the page height
      {page + "y", 30, {page, "y"}, 7},
      {std::string(65, 'a'), 30, {std::string(30, 'a'), std::string(30, 'a'), "aaaaa"}, 0},
      {"ab", 5, {"a", "b"}, 0},  // a page lower than a line still takes a character at a time
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    LineMeasure measure;
    std::vector<std::string> pages;
    for (std::string_view piece : PaginateText(c.text, c.pageHeight, measure)) {
      pages.emplace_back(piece);
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
  EXPECT_EQ(FitPage(text, 20, measure), 20u);
}

}  // namespace
}  // namespace velmar
