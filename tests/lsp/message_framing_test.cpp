// The base protocol's framing read from bytes as they arrive: every fault is
// told and passed over, and the message after it is still read whole.
#include "lsp/message_framing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tracciato::lsp {
namespace {

// Hands out its text a few bytes at a time, as a pipe may.
class TrickleSource final : public ByteSource {
 public:
  TrickleSource(std::string text, size_t step) : text_(std::move(text)), step_(step) {}
  size_t read(char* buffer, size_t size) override {
    const size_t n = std::min({size, step_, text_.size() - pos_});
    text_.copy(buffer, n, pos_);
    pos_ += n;
    return n;
  }

 private:
  std::string text_;
  size_t step_;
  size_t pos_ = 0;
};

// Each read as one line: "message BODY", "problem WHAT" or "end".
std::vector<std::string> reads(const std::string& input, size_t step, size_t largest = 64) {
  TrickleSource source(input, step);
  MessageReader reader(source, largest);
  std::vector<std::string> out;
  for (;;) {
    FrameRead r = reader.next();
    if (std::holds_alternative<EndOfInput>(r)) {
      out.push_back("end");
      return out;
    }
    if (const auto* p = std::get_if<FramingProblem>(&r)) {
      out.push_back("problem " + p->what);
      continue;
    }
    const auto& m = std::get<FramedMessage>(r);
    out.push_back((m.passed_over.empty() ? "" : "after " + m.passed_over + ": ") + "message " +
                  m.body);
  }
}

TEST(MessageFraming, ReadsMessagesAndTellsEachFault) {
  const std::string ok = "Content-Length: 2\r\n\r\n{}";
  struct Case {
    const char* name;
    std::string input;
    std::vector<std::string> expected;
  } cases[] = {
      {"two messages, other headers and any case",
       ok + "content-length: 4\r\nContent-Type: application/vscode-jsonrpc\r\n\r\n[1,2]",
       {"message {}", "message [1,2", "problem the input ended inside a message's header", "end"}},
      {"a bare LF ends a header line too", "Content-Length: 2\n\n{}", {"message {}", "end"}},
      {"no length",
       "Content-Type: x\r\n\r\n" + ok,
       {"problem a message header with no Content-Length", "message {}", "end"}},
      {"a length that is not a number",
       "Content-Length: 2x\r\n\r\n" + ok,
       {"problem a Content-Length that is not a number: 'Content-Length: 2x'", "message {}",
        "end"}},
      {"a header line beyond the limit",
       std::string(9000, 'h') + "\r\n\r\n" + ok,
       {"problem a header line longer than 8192 bytes", "message {}", "end"}},
      {"a body beyond the limit is passed over whole",
       "Content-Length: 70\r\n\r\n" + std::string(70, 'b') + ok,
       {"problem a message of 70 bytes, larger than the 64 the server takes; passed over",
        "message {}", "end"}},
      {"a body sent without its length runs into the next header",
       "{\"x\":1}Content-Length: 2\r\n\r\n{}",
       {"after bytes that are not a header before a Content-Length header: message {}", "end"}},
      {"the input ends inside a body",
       "Content-Length: 9\r\n\r\n{}",
       {"problem the input ended inside a message's body", "end"}},
      {"the input ends inside a header",
       "Content-Length: 2\r\n",
       {"problem the input ended inside a message's header", "end"}},
  };
  for (const Case& c : cases) {
    for (size_t step : {size_t{1}, size_t{3}, size_t{1} << 16}) {
      EXPECT_EQ(reads(c.input, step), c.expected) << c.name << ", " << step << " bytes a read";
    }
  }
}

TEST(MessageFraming, FramesWhatItReadsBack) {
  const std::string body = "{\"jsonrpc\":\"2.0\",\"method\":\"x\",\"params\":\"\xC3\xA0\"}";
  EXPECT_EQ(reads(frame_message(body), 5, 1000),
            (std::vector<std::string>{"message " + body, "end"}));
}

}  // namespace
}  // namespace tracciato::lsp
