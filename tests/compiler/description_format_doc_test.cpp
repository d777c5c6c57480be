// The authors' reference, docs/description_format.md, against the tables it
// describes: every record of the grammar with its key and values, every
// problem code with its sentence and fix, and nothing the tables lack; and
// the minimal line and train it gives to copy, which must compile with no
// problem and no warning.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/code_explanations.h"
#include "compiler/description_grammar.h"
#include "compiler/diagnostics.h"
#include "tools/lint_report.h"

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

// The fenced block after the line "`FILE`:", as a file whose lines end with
// `line_end`; empty when there is no such block.
std::string file_after(const std::vector<std::string>& lines, const std::string& file,
                       std::string_view line_end) {
  auto at = std::find(lines.begin(), lines.end(), "`" + file + "`:");
  while (at != lines.end() && !at->starts_with("```")) ++at;
  std::string text;
  if (at == lines.end()) return text;
  for (++at; at != lines.end() && !at->starts_with("```"); ++at) (text += *at) += line_end;
  return text;
}

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

// An author copies the files from the page with the line ends of their
// system; the scenario's own files have CR LF.
TEST_F(DescriptionFormatDoc, TheMinimalLineAndTrainCompileWithNoProblemAndNoWarning) {
  const std::string line_file = "Prova_linea.txt";
  const std::string train_file = "Prova_100-.txt";
  for (std::string_view line_end : {"\r\n", "\n"}) {
    SCOPED_TRACE(line_end == "\n" ? "LF" : "CR LF");
    const AuthorDescriptions descriptions{line_file, train_file,
                                          file_after(lines_, line_file, line_end),
                                          file_after(lines_, train_file, line_end)};
    ASSERT_NE(descriptions.line_text, "") << "no block after `" << line_file << "`:";
    ASSERT_NE(descriptions.train_text, "") << "no block after `" << train_file << "`:";
    const auto [line_name, train_number] = analysis_names(line_file, train_file);
    EXPECT_EQ(line_name, "Prova");
    EXPECT_EQ(train_number, "100");
    const LintResult result = lint_scenario(descriptions, line_name, train_number);
    EXPECT_EQ(lint_messages(descriptions, result), "");
    EXPECT_EQ(lint_exit_status(result, true), 0);
  }
}

}  // namespace
}  // namespace tracciato
