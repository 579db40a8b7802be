#include "app/text_pagination.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace velmar {
namespace {

// Ten characters to a line, ten units per line; "\n" ends a line early.
struct LineMeasure : TextMeasure {
  int MeasureHeight(std::string_view text) override {
    ++calls;
    int lines = text.empty() ? 0 : 1;
    for (int column = 0; char ch : text) {
      const bool breaks = ch == '\n' || column == 10;
      lines += breaks;
      column = (breaks ? 0 : column) + (ch != '\n');
    }
    return lines * 10;
  }
  int calls = 0;
};

TEST(TextPagination, SplitsByCharacterCountIntoPagesThatFit) {
  const std::string page(30, 'x');  // three lines
  const std::string a20(20, 'a'), b10(10, 'b');
  // Text, page height, pages, measurements (0: not checked).
  const std::tuple<std::string, int, std::vector<std::string>, int> cases[] = {
      {"", 30, {}, 0},
      {"abc\ndef", 30, {"abc\ndef"}, 1},  // one page after a single measurement
      {page, 30, {page}, 1},              // its height equals the page height
      {page + "y", 30, {page, "y"}, 7},
      {"ab", 5, {"a", "b"}, 0},  // a page lower than a line still takes a character at a time
      // Every probe of the search for the first page lands on a count as tall as the page or
      // taller: the one meeting it exactly is kept, never one that overflows.
      {a20 + "\n" + b10 + b10 + b10 + b10, 20, {a20, "\n" + b10, b10 + b10, b10}, 0},
  };
  for (const auto& [text, pageHeight, expected, measurements] : cases) {
    LineMeasure measure;
    std::vector<std::string> pages;
    for (std::string_view piece : PaginateText(text, pageHeight, measure)) {
      pages.emplace_back(piece);
    }
    EXPECT_EQ(pages, expected) << text;
    EXPECT_TRUE(measurements == 0 || measure.calls == measurements) << text << measure.calls;
  }
}

}  // namespace
}  // namespace velmar
