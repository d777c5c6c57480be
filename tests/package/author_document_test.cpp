// An author's document in the code page or in UTF-8, with any line ends,
// comes out as the install sequence writes every document.
#include "documents/author_document.h"

#include <gtest/gtest.h>

namespace tracciato {
namespace {

TEST(AuthorDocument, BecomesWindows1252LinesEndedByCrLf) {
  const struct {
    const char* what;
    std::string in;
    std::string out;
  } cases[] = {
      {"Windows-1252 CR LF unchanged", "Citt\xE0\r\n\r\n  \r\n", "Citt\xE0\r\n\r\n  \r\n"},
      {"LF ends", "a\nb\n", "a\r\nb\r\n"},
      {"lone CR ends", "a\rb\r", "a\r\nb\r\n"},
      {"mixed ends", "a\r\nb\nc\rd", "a\r\nb\r\nc\r\nd\r\n"},
      {"last line without its end", "only", "only\r\n"},
      {"empty", "", ""},
      {"UTF-8 converted", "Citt\xC3\xA0 \xE2\x82\xAC\n", "Citt\xE0 \x80\r\n"},
      {"UTF-8 byte-order mark dropped", "\xEF\xBB\xBF" "abc\n", "abc\r\n"},
      {"trailing blanks kept", "a  \n", "a  \r\n"},
  };
  for (const auto& c : cases) {
    auto bytes = author_document_bytes(c.in);
    ASSERT_TRUE(std::holds_alternative<std::string>(bytes)) << c.what;
    EXPECT_EQ(std::get<std::string>(bytes), c.out) << c.what;
  }
}

TEST(AuthorDocument, MoreLinesThanAnEmbeddedTableHoldsAreAllWritten) {
  std::string in;
  for (int i = 0; i < 5000; ++i) in += "riferimento fine del file\n";
  auto bytes = author_document_bytes(in);
  ASSERT_TRUE(std::holds_alternative<std::string>(bytes));
  EXPECT_EQ(document_line_count(std::get<std::string>(bytes)), 5000u);
}

TEST(AuthorDocument, ACharacterWithNoCodePageByteIsRefusedAtItsLineAndColumn) {
  // The Greek delta on line 3, after two characters of which one is multi-byte.
  auto bytes = author_document_bytes("uno\r\ndue\n\xC3\xA0x\xCE\x94\n");
  ASSERT_TRUE(std::holds_alternative<DocumentCharacterProblem>(bytes));
  const auto& problem = std::get<DocumentCharacterProblem>(bytes);
  EXPECT_EQ(problem.line, 3u);
  EXPECT_EQ(problem.column, 3u);
  EXPECT_NE(problem.message.find("U+0394"), std::string::npos) << problem.message;
}

}  // namespace
}  // namespace tracciato
