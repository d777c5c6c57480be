#include "compiler/code_explanations.h"

#include <gtest/gtest.h>

#include <string>

#include "authoring/embedded_scenario.h"
#include "compiler/diagnostics.h"

namespace tracciato {
namespace {

TEST(CodeExplanations, EveryRecordedCodeHasEachPart) {
  const std::string_view unknown = error_message(0);
  int32_t previous = 0;
  for (const CodeExplanation& e : code_explanations()) {
    SCOPED_TRACE(e.code);
    EXPECT_GT(e.code, previous) << "in ascending order, each once";
    previous = e.code;
    EXPECT_NE(error_message(e.code), unknown) << "a code the compiler never records";
    EXPECT_FALSE(e.meaning.empty());
    EXPECT_FALSE(e.causes.empty());
    for (std::string_view cause : e.causes) EXPECT_FALSE(cause.empty());
    EXPECT_FALSE(e.wrong.empty());
    EXPECT_FALSE(e.right.empty());
    EXPECT_NE(e.wrong, e.right);
    EXPECT_FALSE(e.fix.empty());
    EXPECT_EQ(code_explanation(e.code), &e);
  }
  // Every code with a sentence has its long form too.
  for (int32_t code = 1; code <= 200; ++code) {
    if (error_message(code) != unknown) {
      EXPECT_NE(code_explanation(code), nullptr) << code;
    }
  }
  EXPECT_EQ(code_explanation(14), nullptr);
}

TEST(CodeExplanations, TheTextHasTheSentenceTheCausesAndBothExamples) {
  EXPECT_EQ(explanation_text(*code_explanation(9)),
            "error 9: the station's length is not a multiple of 100 metres\n"
            "\n"
            "A station's length must be a multiple of 100 metres.\n"
            "\n"
            "Common causes:\n"
            "  - a station length such as 450 or 250\n"
            "\n"
            "Wrong (train description):\n"
            "    stazione,   13200, 12,  450,  0, 0, 0,  1,1,0,  4,1,1,   30,  13,16, 0, LAVRETTO\n"
            "Right (train description):\n"
            "    stazione,   13200, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   30,  13,16, 0, LAVRETTO\n"
            "\n"
            "Fix: Take one of the two nearest lengths the message names.\n");
}

// The text with its line `number` (1-based, CR LF lines) replaced, or a line
// put before it.
std::string edited(const std::string& text, int number, std::string_view line, bool insert) {
  std::string out;
  size_t start = 0;
  for (int n = 1; start < text.size(); ++n) {
    const size_t end = text.find("\r\n", start);
    const size_t next = end == std::string::npos ? text.size() : end + 2;
    if (n == number) {
      out += std::string(line) + "\r\n";
      if (insert) out += text.substr(start, next - start);
    } else {
      out += text.substr(start, next - start);
    }
    start = next;
  }
  return out;
}

// The examples are true: in the embedded scenario the wrong line gives its
// code and the right one compiles cleanly. Left out: the codes whose examples
// need more around them than one line (a full item table, 80 spans or 80
// signs: 10, 27 and 29), and 101, whose example is a file name.
TEST(CodeExplanations, EachWrongExampleGivesItsCodeAndTheRightOneNone) {
  const struct {
    int32_t code;
    int line;  // of the description the example belongs to
    bool insert;
  } cases[] = {
      {1, 2, false},   {2, 3, false},   {3, 9, false},   {4, 9, false},   {5, 9, false},
      {6, 123, true},  {7, 37, true},   {8, 20, false},  {9, 20, false},  {11, 37, true},
      {12, 37, true},  {13, 37, true},  {15, 77, false}, {16, 29, false}, {17, 37, true},
      {18, 37, true},  {19, 37, true},  {20, 37, true},  {21, 123, true}, {22, 21, false},
      {24, 17, false}, {25, 123, true}, {26, 37, true},  {28, 37, true},  {102, 1, false},
      {103, 48, true}, {104, 48, true},
  };
  const std::string line = test_support::embedded_line_text();
  const std::string train = test_support::embedded_train_text();
  for (const auto& c : cases) {
    const CodeExplanation& e = *code_explanation(c.code);
    // Code 25 belongs to either description; its example is a gradient.
    const bool in_line = e.description == Description::kLine || c.code == 25;
    for (const bool wrong : {true, false}) {
      const std::string_view example = wrong ? e.wrong : e.right;
      const auto model =
          in_line ? test_support::compile_texts(edited(line, c.line, example, c.insert), train)
                  : test_support::compile_texts(line, edited(train, c.line, example, c.insert));
      EXPECT_EQ(model->error_code, wrong ? c.code : 0) << c.code << ": " << example;
    }
  }
}

}  // namespace
}  // namespace tracciato
