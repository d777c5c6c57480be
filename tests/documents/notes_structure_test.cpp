// The notes are worded freely, but their layout is fixed: headings and
// separators at their lines, each paragraph with its indentation, nothing
// wider than 97 characters, accents as single Windows-1252 bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "documents/document.h"
#include "documents/document_bytes.h"

namespace tracciato {
namespace {

constexpr size_t kNotesLines = 170;
constexpr size_t kNotesWidth = 97;

class NotesTest : public ::testing::Test {
 protected:
  NotesTest()
      : bytes_(render_document(notes_document())), lines_(document_testing::lines_of(bytes_)) {}

  // Line n, counted from 1 as the layout is.
  const std::string& line(size_t n) const { return lines_.at(n - 1); }

  std::string bytes_;
  std::vector<std::string> lines_;
};

struct Heading {
  size_t line;
  std::string_view text;
};
constexpr Heading kHeadings[] = {
    {1, "LINEA :  TARVO -- BELMIRA"},
    {3, "TRENO : 7351"},
    {8, "INTRODUZIONE"},
    {47, "LA LINEA SIMULATA"},
    {69, "  IMPRECISIONI NELLA LINEA SIMULATA"},
    {121, "LA LINEA REALE"},
    {125, "   TARVO"},
    {157, "   BELMIRA"},
};

struct Separator {
  size_t first;
  size_t last;
  size_t blanks;  // 0: an empty line
};
constexpr Separator kSeparators[] = {
    {2, 2, 0},     {4, 4, 0},     {7, 7, 0},     {9, 9, 2},     {17, 17, 1},    {29, 29, 1},
    {45, 46, 0},   {48, 48, 0},   {54, 54, 1},   {56, 56, 1},   {60, 60, 1},    {67, 67, 1},
    {68, 68, 0},   {70, 70, 1},   {77, 77, 1},   {80, 80, 1},   {81, 81, 9},    {84, 84, 8},
    {87, 87, 1},   {93, 93, 0},   {98, 98, 0},   {105, 105, 8}, {111, 111, 16}, {115, 115, 0},
    {118, 118, 0}, {120, 120, 0}, {122, 124, 0}, {126, 126, 8}, {133, 133, 0},  {155, 156, 0},
    {164, 167, 0}, {169, 169, 0},
};

// A paragraph's first `leading` lines are indented by `indent_first`
// blanks, the others by `indent_rest`.
struct Paragraph {
  size_t first;
  size_t last;
  size_t indent_first;
  size_t indent_rest;
  size_t leading;
};
constexpr Paragraph kParagraphs[] = {
    {10, 16, 2, 1, 1},   {18, 28, 1, 1, 1},   {30, 44, 1, 1, 1},   {49, 53, 1, 1, 1},
    {55, 55, 1, 1, 1},   {57, 59, 1, 1, 1},   {61, 66, 1, 1, 1},   {71, 76, 1, 1, 1},
    {78, 79, 1, 1, 1},   {82, 83, 1, 1, 1},   {85, 86, 9, 1, 1},   {88, 92, 1, 1, 1},
    {94, 97, 1, 1, 1},   {99, 104, 1, 8, 2},  {106, 110, 8, 8, 1}, {112, 114, 8, 8, 1},
    {116, 117, 8, 8, 1}, {119, 119, 8, 8, 1}, {127, 132, 8, 8, 1}, {134, 154, 8, 8, 1},
    {158, 163, 8, 8, 1},
};

// Blanks before the first other character; npos for a line of blanks only.
size_t indentation(const std::string& line) { return line.find_first_not_of(' '); }

TEST_F(NotesTest, HasItsLineCountAndEndsWithTheContactLine) {
  ASSERT_EQ(lines_.size(), kNotesLines);
  EXPECT_TRUE(bytes_.ends_with(line(kNotesLines) + "\r\n"));
  EXPECT_EQ(bytes_.find(kEndMarker), std::string::npos);
}

TEST_F(NotesTest, HeadingsStandAtTheirLines) {
  ASSERT_EQ(lines_.size(), kNotesLines);
  for (const auto& h : kHeadings) EXPECT_EQ(line(h.line), h.text) << "line " << h.line;
}

TEST_F(NotesTest, SeparatorsAreExactlyEmptyOrTheirBlanks) {
  ASSERT_EQ(lines_.size(), kNotesLines);
  for (const auto& s : kSeparators) {
    for (size_t n = s.first; n <= s.last; ++n) {
      EXPECT_EQ(line(n), std::string(s.blanks, ' ')) << "line " << n;
    }
  }
}

TEST_F(NotesTest, ParagraphsKeepTheirIndentation) {
  ASSERT_EQ(lines_.size(), kNotesLines);
  for (const auto& p : kParagraphs) {
    for (size_t n = p.first; n <= p.last; ++n) {
      const size_t expected = n < p.first + p.leading ? p.indent_first : p.indent_rest;
      EXPECT_EQ(indentation(line(n)), expected) << "line " << n;
    }
  }
}

TEST_F(NotesTest, ScenarioListWrapsOntoAnIndentedSecondLine) {
  ASSERT_EQ(lines_.size(), kNotesLines);
  constexpr std::string_view kLabel = "SCENARI COSTRUITI : ";
  ASSERT_TRUE(line(5).starts_with(kLabel));
  EXPECT_EQ(indentation(line(6)), 14u);
  ASSERT_TRUE(line(6).ends_with(" . "));

  // Each name is a line name (termini joined by underscores), an
  // underscore and a train number.
  std::string list = line(5).substr(kLabel.size()) + line(6);
  list.resize(list.size() - 3);
  const std::regex name(R"( *[A-Za-z]+(_[A-Za-z]+)+_[0-9]+ *)");
  size_t names = 0;
  for (size_t start = 0; start <= list.size();) {
    const size_t comma = std::min(list.find(',', start), list.size());
    const std::string entry = list.substr(start, comma - start);
    EXPECT_TRUE(std::regex_match(entry, name)) << "'" << entry << "'";
    ++names;
    start = comma + 1;
  }
  EXPECT_GE(names, 2u);
}

TEST_F(NotesTest, SignatureIsANameAnEmptyLineAndAContact) {
  ASSERT_EQ(lines_.size(), kNotesLines);
  EXPECT_EQ(indentation(line(168)), 0u);
  EXPECT_NE(line(170).find("@example.org"), std::string::npos);
}

TEST_F(NotesTest, NoLineIsWiderThanTheLimit) {
  for (size_t n = 1; n <= lines_.size(); ++n) {
    EXPECT_LE(line(n).size(), kNotesWidth) << "line " << n;
  }
}

TEST_F(NotesTest, AccentsAndDegreeSignAreSingleWindows1252Bytes) {
  // a, e, i, o, u with grave accent, and the degree sign.
  constexpr std::string_view kSingleBytes = "\xE0\xE8\xEC\xF2\xF9\xB0";
  for (char b : kSingleBytes) {
    EXPECT_NE(bytes_.find(b), std::string::npos)
        << "byte 0x" << std::hex << int(static_cast<unsigned char>(b)) << " is used";
  }
  for (size_t i = 0; i < bytes_.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes_[i]);
    if (b >= 0x80) {
      EXPECT_NE(kSingleBytes.find(static_cast<char>(b)), std::string_view::npos)
          << "unexpected byte 0x" << std::hex << int(b) << " at " << std::dec << i;
    }
  }
  EXPECT_EQ(document_testing::find_utf8_sequence(bytes_), std::string::npos);
}

}  // namespace
}  // namespace tracciato
