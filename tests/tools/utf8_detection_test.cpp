// Whether an author's description reads as UTF-8: ASCII is passed over in
// runs, so a sequence must be found, and a stray byte refused, wherever it
// stands in the run.
#include <gtest/gtest.h>

#include <string>

#include "text/windows1252.h"

namespace tracciato {
namespace {

TEST(Utf8Detection, FindsASequenceOrAStrayByteAnywhereInTheAsciiAroundIt) {
  const std::string ascii(20, 'a');
  const struct {
    const char* what;
    std::string text;
    bool utf8;
  } cases[] = {
      {"ASCII alone", ascii, false},
      {"empty", "", false},
      {"a sequence after a long run", ascii + "\xC2\xB0", true},
      {"a sequence inside a run", ascii + "N\xC2\xB0" + ascii, true},
      {"a sequence first", "\xC3\xA0" + ascii, true},
      {"a stray byte after a long run", ascii + "\xB0", false},
      {"a stray byte after a sequence", "\xC3\xA0" + ascii + "\xE0", false},
      {"a sequence cut at the end", ascii + "\xE2\x82", false},
      {"an overlong sequence", ascii + "\xC0\xAF", false},
      {"the byte-order mark", "\xEF\xBB\xBF" + ascii, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(looks_like_utf8(c.text), c.utf8);
  }
}

TEST(Utf8Detection, TheFirstSequenceIsPlacedByLineAndByteColumn) {
  const std::optional<TextSite> at = first_utf8_sequence(
      "[generale]\r\nlunghezza percorso, 1000\r\ncartello, 50, N\xC2\xB0 1\r\n");
  ASSERT_TRUE(at.has_value());
  EXPECT_EQ(at->line, 3u);
  EXPECT_EQ(at->column, 16u);
}

}  // namespace
}  // namespace tracciato
