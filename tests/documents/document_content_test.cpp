// The five embedded documents, byte for byte: the parsers read the two
// descriptions back, and the driver reads the other three as they are.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "documents/document.h"
#include "documents/document_bytes.h"

namespace tracciato {
namespace {

using document_testing::find_utf8_sequence;
using document_testing::fnv1a64;
using document_testing::lines_of;

struct DocumentCase {
  const char* name;
  DocumentTable (*table)();
  size_t lines;
  size_t size;
  uint64_t digest;
};

constexpr DocumentCase kDocuments[] = {
    {"line description", line_description_document, 124, 4548, 0xc9b66143dcb9b68aULL},
    {"train description", train_description_document, 79, 1659, 0x0b53227fcfd55d57ULL},
    {"notes", notes_document, 170, 10840, 0x3f3ba0ddd4cdfb88ULL},
    {"slowdown order", slowdown_order_document, 32, 1698, 0x97d9962fafdfb755ULL},
    {"timetable sheet", timetable_sheet_document, 36, 2711, 0x655fb12d9e1f4ba3ULL},
};

const DocumentCase& document(std::string_view name) {
  return *std::find_if(std::begin(kDocuments), std::end(kDocuments),
                       [&](const DocumentCase& c) { return c.name == name; });
}

std::vector<std::string> lines_of_document(std::string_view name) {
  return lines_of(render_document(document(name).table()));
}

TEST(EmbeddedDocuments, RenderToTheirExactBytes) {
  for (const auto& c : kDocuments) {
    const std::string bytes = render_document(c.table());
    EXPECT_EQ(bytes.size(), c.size) << c.name;
    EXPECT_EQ(fnv1a64(bytes), c.digest) << c.name;
    EXPECT_EQ(lines_of(bytes).size(), c.lines) << c.name;
  }
}

// The end marker closes the table exactly once; an entry holding a line
// break would shift every later line of the file.
TEST(EmbeddedDocuments, EachTableIsItsLinesThenTheEndMarker) {
  for (const auto& c : kDocuments) {
    const DocumentTable table = c.table();
    ASSERT_EQ(table.size(), c.lines + 1) << c.name;
    EXPECT_EQ(table.back(), kEndMarker) << c.name;
    EXPECT_EQ(std::count(table.begin(), table.end(), kEndMarker), 1) << c.name;
    for (size_t i = 0; i < c.lines; ++i) {
      EXPECT_EQ(table[i].find_first_of("\r\n"), std::string_view::npos)
          << c.name << " line " << i + 1;
    }
  }
}

TEST(EmbeddedDocuments, HoldNoUtf8Sequence) {
  for (const auto& c : kDocuments) {
    EXPECT_EQ(find_utf8_sequence(render_document(c.table())), std::string_view::npos) << c.name;
  }
}

TEST(EmbeddedDocuments, DescriptionAndFormsArePureAsciiButForTheDegreeSign) {
  for (const char* name : {"train description", "slowdown order", "timetable sheet"}) {
    const std::string bytes = render_document(document(name).table());
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char b) {
      return static_cast<unsigned char>(b) < 0x80;
    })) << name;
  }
  // In the line description only the two road signs carry one 0xB0 each.
  const auto lines = lines_of_document("line description");
  for (size_t n = 1; n <= lines.size(); ++n) {
    const std::string& line = lines[n - 1];
    const auto high = std::count_if(line.begin(), line.end(),
                                    [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
    const bool road_sign = n == 93 || n == 98;
    EXPECT_EQ(high, road_sign ? 1 : 0) << "line " << n;
    if (road_sign) {
      EXPECT_NE(line.find("  N\xB0 "), std::string::npos) << "line " << n;
    }
  }
}

// Lines whose exact text carries a rule of the format: uneven spacing,
// empty fields, trailing blanks, the degree sign, texts kept as written.
TEST(EmbeddedDocuments, LinesThatCarryTheFormatAreKeptExactly) {
  const struct {
    const char* document;
    size_t line;
    std::string_view text;
  } cases[] = {
      {"line description", 1, "[generale]"},
      {"line description", 9, "ripetizione segnali 4 codici,    0    ,0"},
      {"line description", 49, "pendenza,   0,    0"},
      {"line description", 81, "indicatori_vmax,  23100,  75,  75,  75,  2,  ,  ,  ,  0"},
      {"line description", 84, "indicatori_vmax,  25950,  140,  150,  150,  0,  ,  ,  ,  0"},
      {"line description", 93,
       "cartello_indicatore,  3500,   ( CAVALCAVIA   )(STRADA STATALE)(  N\xB0 589      )"},
      {"line description", 98,
       "cartello_indicatore,  4200,   ( CAVALCAVIA   )(STRADA STATALE)(  N\xB0 20       )"},
      {"line description", 123, "[fine]"},
      {"line description", 124, ""},
      {"train description", 5, "orologio,    13              4             30 "},
      {"train description", 18,
       "stazione,    3300, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, BIVIO CASCINA "
       "DELL' ERBA"},
      {"train description", 23, "[rallentamenti]"},
      {"train description", 24, "[segnali]"},
      {"train description", 36, "segnale,   23950,   2, 2, 3,  0, 0,    0,  0,0,0, 190"},
      {"train description", 38, "[fine]"},
      {"train description", 39, ""},
      {"train description", 79, ""},
      {"slowdown order", 1, ""},
      {"slowdown order", 2, "                               Modulo M. 3"},
      {"slowdown order", 16,
       " |                            NESSUNA      PRESCRIZIONE                          |"},
      {"slowdown order", 29, " D - Rallentamneto N. ... e N. ...  sono contigui"},
      {"slowdown order", 32, "     i giorni esclusi i seguenti:........."},
      {"timetable sheet", 5,
       " |   TRENO n.7351    |                   da: TARVO                 |    VS140 C   |"},
      {"timetable sheet", 9, " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       "},
      {"timetable sheet", 27,
       " |     | 120 |  62.483  |     | LAVRETTO                   | 13.15    13.16 | 1.0 |"},
      {"timetable sheet", 31,
       " |  75 |  75 |          |  75 |      Cavalcavia Km.51,357  |                |     |"},
      {"timetable sheet", 36,
       " |_____|_____|__________|_____|____________________________|________________|_____|"},
  };
  for (const auto& c : cases) {
    const auto lines = lines_of_document(c.document);
    ASSERT_LE(c.line, lines.size()) << c.document;
    EXPECT_EQ(lines[c.line - 1], c.text) << c.document << " line " << c.line;
  }
}

TEST(EmbeddedDocuments, DescriptionsEndWithTheEmptyLinesTheParsersMeet) {
  const std::string line = render_document(line_description_document());
  EXPECT_TRUE(line.ends_with(")\r\n[fine]\r\n\r\n")) << "one empty line after [fine]";

  std::string train_end = "190\r\n[codici]\r\n[fine]";
  for (int i = 0; i < 42; ++i) train_end += "\r\n";
  EXPECT_TRUE(render_document(train_description_document()).ends_with(train_end))
      << "[fine] and 42 CR LF, no more";
}

// The forms are fixed-width drawings: a cell one character off breaks the
// frame the driver reads.
TEST(EmbeddedDocuments, FormRowsHaveTheirDrawnWidth) {
  const struct {
    const char* document;
    size_t first;
    size_t last;
    size_t width;
  } cases[] = {
      {"slowdown order", 4, 4, 81},    {"slowdown order", 9, 9, 81},
      {"slowdown order", 10, 21, 82},  {"timetable sheet", 3, 3, 82},
      {"timetable sheet", 4, 7, 83},   {"timetable sheet", 13, 13, 82},
      {"timetable sheet", 14, 36, 83},
  };
  for (const auto& c : cases) {
    const auto lines = lines_of_document(c.document);
    for (size_t n = c.first; n <= c.last; ++n) {
      EXPECT_EQ(lines.at(n - 1).size(), c.width) << c.document << " line " << n;
    }
  }
  const auto sheet = lines_of_document("timetable sheet");
  EXPECT_EQ(sheet.at(35), sheet.at(15)) << "the closing rule repeats the heading rule";
}

}  // namespace
}  // namespace tracciato
