#include "tools/diagnostic_format.h"

#include <gtest/gtest.h>

namespace tracciato {
namespace {

TEST(SourceLine, LinesEndAtCrLfLoneCrOrLoneLf) {
  const std::string_view text = "one\r\ntwo\rthree\nfour\n\rsix";
  const struct {
    int32_t line;
    std::optional<std::string_view> expected;
  } cases[] = {
      {1, "one"}, {2, "two"},        {3, "three"},      {4, "four"},
      {5, ""},  // LF CR is two line ends
      {6, "six"}, {7, std::nullopt}, {0, std::nullopt}, {-1, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(source_line(text, c.line), c.expected) << c.line;
}

TEST(SourceLine, ATextEndingWithALineEndHasNoLineAfterIt) {
  EXPECT_EQ(source_line("[fine]\r\n\r\n", 2), "");
  EXPECT_EQ(source_line("[fine]\r\n\r\n", 3), std::nullopt);
  EXPECT_EQ(source_line("", 1), "");
}

TEST(DisplayableLine, EachByteStaysOneCharacterAndNoneReachesTheTerminalRaw) {
  const struct {
    std::string line;
    std::string expected;
  } cases[] = {
      {"(  N\xb0 589 )", "(  N\u00b0 589 )"},  // the degree sign of the signs
      {"\x80\x8a\x9f", "\u20ac\u0160\u0178"},  // the code page's own row
      {"a\x1b[2Jb", "a?[2Jb"},                 // an escape sequence is defused
      {"a\tb\x7f", "a\tb?"},
      {std::string("n\0l", 3), "n?l"},
      {"\x81\x8d\x8f\x90\x9d", "?????"},  // undefined in Windows-1252
  };
  for (const auto& c : cases) EXPECT_EQ(displayable_line(c.line), c.expected) << c.line;
}

TEST(CaretLine, PointsUnderTheColumnKeepingTheLinesTabs) {
  const struct {
    std::string_view line;
    int32_t column;
    std::optional<std::string> expected;
  } cases[] = {
      {"segnale, 1", 1, "^"},    {"  segnale, 1", 3, "  ^"},
      {"\t segnale", 3, "\t ^"}, {"abc", 4, "   ^"},  // just past the end: an empty last field
      {"abc", 5, std::nullopt},  {"abc", 0, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(caret_line(c.line, c.column), c.expected) << c.line << " @" << c.column;
  }
}

TEST(FormatDiagnostic, ShowsWhatIsKnownOfThePlace) {
  const std::string_view text = "[generale]\r\n  pendenza,  x\r\n";
  const struct {
    DiagnosticPlace place;
    std::string expected;
  } cases[] = {
      {{"a_linea.txt", 2, 3},
       "a_linea.txt:2:3: error: 25 at 0 m: broken\n"
       "  pendenza,  x\n"
       "  ^\n"},
      {{"a_linea.txt", 2, 0},
       "a_linea.txt:2: error: 25 at 0 m: broken\n"
       "  pendenza,  x\n"},
      {{"a_linea.txt", 0, 0}, "a_linea.txt: error: 25 at 0 m: broken\n"},
      {{"a_linea.txt", 0, 7}, "a_linea.txt: error: 25 at 0 m: broken\n"},
      // A line the text does not have: the location stays, the excerpt goes.
      {{"a_linea.txt", 9, 1}, "a_linea.txt:9:1: error: 25 at 0 m: broken\n"},
      // A column far past the line: no caret pointing at nothing.
      {{"a_linea.txt", 2, 40},
       "a_linea.txt:2:40: error: 25 at 0 m: broken\n"
       "  pendenza,  x\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(format_diagnostic(c.place, "error: 25 at 0 m: broken", text), c.expected)
        << c.place.line << ":" << c.place.column;
  }
}

}  // namespace
}  // namespace tracciato
