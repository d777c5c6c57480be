// The editor's Unicode text and the compiler's Windows-1252 bytes: one byte
// per character, every column mapped both ways in the encoding negotiated.
#include "lsp/editor_text.h"

#include <gtest/gtest.h>

namespace tracciato::lsp {
namespace {

constexpr auto kUtf16 = PositionEncoding::kUtf16;
constexpr auto kUtf8 = PositionEncoding::kUtf8;

TEST(EditorText, EveryCharacterIsOneByteOfTheCodePage) {
  // "€" is 0x80, "à" 0xE0; "→" has no byte, "😀" needs two UTF-16 units.
  const EditorText text("a\xE2\x82\xAC\xC3\xA0\r\n\xE2\x86\x92x\xF0\x9F\x98\x80y\rz\n");
  EXPECT_EQ(text.windows1252(), "a\x80\xE0\r\n?x?y\rz\n");
  ASSERT_EQ(text.unmappable().size(), 2u);
  EXPECT_EQ(text.unmappable()[0].site, (FieldSite{2, 1}));
  EXPECT_EQ(text.unmappable()[0].code_point, U'\u2192');
  EXPECT_EQ(text.unmappable()[1].site, (FieldSite{2, 3}));
  EXPECT_EQ(text.line_count(), 4);
}

TEST(EditorText, ColumnsMapBothWaysInEitherEncoding) {
  const EditorText text("a\xE2\x82\xAC\xC3\xA0 b\r\nx\xF0\x9F\x98\x80y\r\n");
  struct Case {
    FieldSite site;
    PositionEncoding encoding;
    Position position;
  } cases[] = {
      {{1, 1}, kUtf16, {0, 0}}, {{1, 2}, kUtf16, {0, 1}}, {{1, 4}, kUtf16, {0, 3}},
      {{1, 2}, kUtf8, {0, 1}},  {{1, 3}, kUtf8, {0, 4}},  {{1, 4}, kUtf8, {0, 6}},
      {{2, 3}, kUtf16, {1, 3}}, {{2, 3}, kUtf8, {1, 5}},  {{2, 4}, kUtf16, {1, 4}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text.position_of(c.site, c.encoding), c.position)
        << c.site.line << ":" << c.site.column;
    EXPECT_EQ(text.site_of(c.position, c.encoding), c.site) << c.site.line << ":" << c.site.column;
  }
  // Past a line's end is its end; inside a character is that character.
  EXPECT_EQ(text.site_of({0, 99}, kUtf16), (FieldSite{1, 6}));
  EXPECT_EQ(text.site_of({1, 2}, kUtf16), (FieldSite{2, 2}));
}

TEST(EditorText, ChangesApplyAtTheEditorsPositions) {
  EditorText text("segnalle, 1\r\n\xF0\x9F\x98\x80segnale\r\n");
  text.apply_change(Range{{0, 0}, {0, 8}}, "segnale", kUtf16);
  text.apply_change(Range{{1, 2}, {1, 2}}, ", ", kUtf16);
  EXPECT_EQ(text.utf8(), "segnale, 1\r\n\xF0\x9F\x98\x80, segnale\r\n");
  text.apply_change(Range{{1, 4}, {2, 0}}, "", kUtf8);
  EXPECT_EQ(text.utf8(), "segnale, 1\r\n\xF0\x9F\x98\x80");
  text.apply_change(std::nullopt, "all new", kUtf16);
  EXPECT_EQ(text.windows1252(), "all new");
  EXPECT_THROW(text.apply_change(Range{{0, 5}, {0, 1}}, "", kUtf16), std::out_of_range);

  // Several changes, each at the positions the one before left; one that
  // cannot apply leaves the text as it was.
  text.apply_changes({{Range{{0, 0}, {0, 3}}, "a\r\nb"}, {Range{{1, 1}, {1, 1}}, "c"}}, kUtf16);
  EXPECT_EQ(text.utf8(), "a\r\nbc new");
  EXPECT_THROW(
      text.apply_changes({{Range{{0, 0}, {0, 1}}, "x"}, {Range{{0, 1}, {0, 0}}, ""}}, kUtf16),
      std::out_of_range);
  EXPECT_EQ(text.utf8(), "a\r\nbc new");
}

}  // namespace
}  // namespace tracciato::lsp
