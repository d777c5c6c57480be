#include "compiler/field_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/runtime_failure.h"

namespace tracciato {
namespace {

// Reads `ops` ('T' text, 'N' number) from `text`; each result is the field's
// value, with "$" appended when the read reached the end.
std::vector<std::string> read_fields(std::string_view text, std::string_view ops) {
  FieldReader reader(text);
  std::vector<std::string> out;
  for (char op : ops) {
    std::string value = op == 'T' ? reader.read_text() : std::to_string(reader.read_number());
    if (reader.at_end()) value += "$";
    out.push_back(value);
  }
  return out;
}

TEST(FieldReader, SplitsTheStreamIntoFields) {
  const struct {
    const char* name;
    std::string_view text;
    std::string_view ops;
    std::vector<std::string> expected;
  } cases[] = {
      {"comma and CR LF", "ab,cd\r\nef\r\n", "TTT", {"ab", "cd", "ef$"}},
      {"lone LF", "ab\ncd\n", "TT", {"ab", "cd$"}},
      {"lone CR", "ab\rcd\r", "TT", {"ab", "cd$"}},
      {"CR LF is one line end", "ab\r\n\r\ncd", "TTT", {"ab", "", "cd$"}},
      {"LF CR is two", "ab\n\rcd", "TTT", {"ab", "", "cd$"}},
      {"an empty line is one empty field", "a\r\n\r\nb\r\n", "TTT", {"a", "", "b$"}},
      {"blanks before a field skipped, inner kept, trailing dropped",
       " \t lunghezza percorso \t,x",
       "TT",
       {"lunghezza percorso", "x$"}},
      {"quoted field keeps commas and line ends, drops the rest",
       "\"a,b\r\nc\"junk,d",
       "TT",
       {"a,b\r\nc", "d$"}},
      {"quoted field ended by a line end", "\"q\" z\r\nr", "TT", {"q", "r$"}},
      {"unclosed quote runs to the end", "\"abc,def\r\n", "T", {"abc,def\r\n$"}},
      {"numbers end at blanks", "13   4   30 ", "NNN", {"13", "4", "30$"}},
      {"blanks then one separator after a number",
       "ripetizione segnali 4 codici,    0    ,0",
       "TNN",
       {"ripetizione segnali 4 codici", "0", "0$"}},
      {"only one separator is swallowed", "5 ,,7", "NNN", {"5", "0", "7$"}},
      {"a number followed by text on the same line", "5 x\r\n", "NT", {"5", "x$"}},
      {"empty number fields are 0", ",  ,  5", "NNN", {"0", "0", "5$"}},
      {"signs", "-12,+7", "NN", {"-12", "7$"}},
      {"32-bit extremes", "-2147483648,2147483647", "NN", {"-2147483648", "2147483647$"}},
      {"number ending at a line end", "5\r\nx", "NT", {"5", "x$"}},
      {"blank-only field read as text", "   ,x", "TT", {"", "x$"}},
  };
  for (const auto& c : cases) EXPECT_EQ(read_fields(c.text, c.ops), c.expected) << c.name;
}

TEST(FieldReader, MalformedNumbersAndReadsPastTheEndAreRuntimeFailures) {
  const struct {
    const char* name;
    std::string_view text;
    std::string_view ops;  // the last op must fail
  } cases[] = {
      {"decimal point", "1.5", "N"},
      {"sign alone", "-", "N"},
      {"plus alone", "+,", "N"},
      {"trailing letters", "12a", "N"},
      {"letters", "abc", "N"},
      {"above 32 bits", "2147483648", "N"},
      {"below 32 bits", "-2147483649", "N"},
      {"far above 32 bits", "99999999999999999999999", "N"},
      {"empty text, text read", "", "T"},
      {"empty text, number read", "", "N"},
      {"text read after the last field", "a", "TT"},
      {"number read after the last field", "5\r\n", "NN"},
  };
  for (const auto& c : cases) {
    EXPECT_THROW(read_fields(c.text, c.ops), RuntimeFailure) << c.name;
  }
}

TEST(FieldReader, NarrowFieldsAreCheckedAsTheyAreRead) {
  const struct {
    std::string_view text;
    bool u8_fits;
    bool i16_fits;
  } cases[] = {
      {"0", true, true},       {"255", true, true},      {"256", false, true},
      {"-1", false, true},     {"32767", false, true},   {"32768", false, false},
      {"-32768", false, true}, {"-32769", false, false},
  };
  for (const auto& c : cases) {
    FieldReader u8(c.text);
    if (c.u8_fits) {
      EXPECT_NO_THROW(u8.read_u8()) << c.text;
    } else {
      EXPECT_THROW(u8.read_u8(), RuntimeFailure) << c.text;
    }
    FieldReader i16(c.text);
    if (c.i16_fits) {
      EXPECT_NO_THROW(i16.read_i16()) << c.text;
    } else {
      EXPECT_THROW(i16.read_i16(), RuntimeFailure) << c.text;
    }
  }
}

TEST(FieldReader, StoredTextHoldsAtMost65535Bytes) {
  const std::string fits(65535, 'x');
  FieldReader ok(fits);
  EXPECT_EQ(ok.read_stored_text().size(), 65535u);
  const std::string too_long(65536, 'x');
  FieldReader long_field(too_long);
  EXPECT_THROW(long_field.read_stored_text(), RuntimeFailure);
}

TEST(FieldReader, KnowsWhereEachFieldStarts) {
  // The quoted field spans a line end; a lone CR ends a line too.
  FieldReader reader("ab,  cd\r\n  ef\r\"g\r\nh\", i\rj");
  std::vector<FieldSite> sites;
  for (int i = 0; i < 5; ++i) {
    reader.read_text();
    sites.push_back(reader.last_site());
  }
  const FieldSite expected[] = {{1, 1}, {1, 6}, {2, 3}, {3, 1}, {4, 5}};
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(sites[i].line, expected[i].line) << i;
    EXPECT_EQ(sites[i].column, expected[i].column) << i;
  }
  reader.read_text();
  EXPECT_EQ(reader.last_site().line, 5);
  EXPECT_EQ(reader.last_site().column, 1);
}

TEST(KeyTests, ExactAndAnyCaseSubstrings) {
  const struct {
    std::string_view field, word;
    bool exact, any_case;
  } cases[] = {
      {"progressiva chilometrica uno", "uno", true, true},
      {"PROGRESSIVA chilometrica uno", "progressiva", false, true},
      {"Pendenza", "pendenza", false, true},
      {"[Generale]", "[generale]", false, true},
      {"curvad4", "curva", true, true},
      {"[curve]", "curva", false, false},
      // Only ASCII letters fold: the Windows-1252 capital A grave is not a.
      {"\xC0", "\xE0", false, false},
      {"x", "", true, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(contains(c.field, c.word), c.exact) << c.field << " / " << c.word;
    EXPECT_EQ(contains_any_case(c.field, c.word), c.any_case) << c.field << " / " << c.word;
  }
}

}  // namespace
}  // namespace tracciato
