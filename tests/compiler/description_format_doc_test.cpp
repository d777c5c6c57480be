// The authors' reference, docs/description_format.md, against the tables it
// describes: every record of the grammar with its key and values, every
// problem code with its sentence and fix, and nothing the tables lack.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "compiler/code_explanations.h"
#include "compiler/description_grammar.h"
#include "compiler/diagnostics.h"

namespace tracciato {
namespace {

std::vector<std::string> doc_lines() {
  std::ifstream in(std::string(TRACCIATO_SOURCE_DIR) + "/docs/description_format.md");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string record_heading(const RecordRule& rule) {
  const size_t n = rule.values.size();
  return "`" + std::string(rule.shown_key) + "`: " + std::string(rule.name) + " (" +
         std::to_string(n) + (n == 1 ? " value)" : " values)");
}

bool is_heading(const std::string& line) { return line.starts_with("#"); }

class DescriptionFormatDoc : public ::testing::Test {
 protected:
  void SetUp() override {
    lines_ = doc_lines();
    if (lines_.empty()) {
#ifdef _WIN32
      GTEST_SKIP() << "the source tree is not reachable from this build";
#endif
      FAIL() << "docs/description_format.md cannot be read";
    }
  }
  std::vector<std::string> lines_;
};

TEST_F(DescriptionFormatDoc, EveryRecordHasItsKeyAndEachValueInOrder) {
  for (GrammarPart part :
       {GrammarPart::kLineGeneral, GrammarPart::kLineFeatures, GrammarPart::kTrain}) {
    for (const RecordRule& rule : grammar_records(part)) {
      const std::string heading = record_heading(rule);
      SCOPED_TRACE(heading);
      size_t at = 0;
      while (at < lines_.size() && !(is_heading(lines_[at]) && lines_[at].ends_with(heading))) {
        ++at;
      }
      ASSERT_LT(at, lines_.size()) << "no heading";
      std::string section;
      for (size_t i = at + 1; i < lines_.size() && !is_heading(lines_[i]); ++i) {
        section += lines_[i] + "\n";
      }
      std::string key = "contains `" + std::string(rule.word_1) + "`";
      if (!rule.word_2.empty()) key += " and `" + std::string(rule.word_2) + "`";
      key += rule.key_case == KeyCase::kAnyCase ? ", in any letter case"
                                                : ", in exactly this letter case";
      EXPECT_NE(section.find(key), std::string::npos) << "the key words and their case";
      for (size_t v = 0; v < rule.values.size(); ++v) {
        const std::string row =
            "\n| " + std::to_string(v + 1) + " | " + std::string(rule.values[v].name) + " |";
        EXPECT_NE(section.find(row), std::string::npos) << "value " << v + 1;
      }
    }
  }
}

TEST_F(DescriptionFormatDoc, EveryRecordItDescribesIsOneOfTheGrammar) {
  const std::regex record(R"(^#+ `[^`]+`: .* \(\d+ values?\)$)");
  for (const std::string& line : lines_) {
    if (!std::regex_match(line, record)) continue;
    bool known = false;
    for (GrammarPart part :
         {GrammarPart::kLineGeneral, GrammarPart::kLineFeatures, GrammarPart::kTrain}) {
      for (const RecordRule& rule : grammar_records(part)) {
        known = known || line.ends_with(" " + record_heading(rule));
      }
    }
    EXPECT_TRUE(known) << line;
  }
}

TEST_F(DescriptionFormatDoc, EveryCodeHasItsSentenceAndFixAndNoOtherCodeIsListed) {
  for (const CodeExplanation& e : code_explanations()) {
    const std::string row = "| " + std::to_string(e.code) + " | " +
                            std::string(error_message(e.code)) + " | " + std::string(e.fix) + " |";
    EXPECT_NE(std::find(lines_.begin(), lines_.end(), row), lines_.end()) << row;
  }
  const auto codes = std::find(lines_.begin(), lines_.end(), "## Problem codes");
  ASSERT_NE(codes, lines_.end());
  const std::regex code_row(R"(^\| (\d+) \| .*)");
  for (auto line = codes; line != lines_.end(); ++line) {
    std::smatch m;
    if (!std::regex_match(*line, m, code_row)) continue;
    EXPECT_NE(code_explanation(std::stoi(m[1].str())), nullptr) << *line;
  }
}

}  // namespace
}  // namespace tracciato
