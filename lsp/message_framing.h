// The language server's base protocol: every message is a header part of
// "Name: value" lines ended by CR LF, a blank line, then as many bytes of
// JSON as its Content-Length header says.
//
// The reader never trusts the peer: a header line or a message beyond its
// limit, a header part with no length, a length that is not a number are
// each told as a FramingProblem, the bytes they cover are passed over and
// reading goes on with the next message. Memory stays bounded by the largest
// message accepted.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace tracciato::lsp {

// A header line is a few dozen bytes; this is far beyond any real one.
inline constexpr size_t kLongestHeaderLine = 8192;
// The largest description (64 MB) sent whole as a JSON string, with room to
// spare for escapes.
inline constexpr size_t kLargestMessage = size_t{200} << 20;

// Where the bytes of the messages come from.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to `size` bytes into `buffer`, at least one unless the input has
  // ended; 0 at the end of the input.
  virtual size_t read(char* buffer, size_t size) = 0;
};

// Bytes held in memory, for the tests and the fuzzer.
class TextSource final : public ByteSource {
 public:
  explicit TextSource(std::string_view text) : text_(text) {}
  size_t read(char* buffer, size_t size) override;

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

struct FramedMessage {
  std::string body;
  // What was passed over before the message, to be told; "" for nothing.
  std::string passed_over;
};
// Something that is not a message was passed over; reading goes on.
struct FramingProblem {
  std::string what;
};
struct EndOfInput {};
using FrameRead = std::variant<FramedMessage, FramingProblem, EndOfInput>;

class MessageReader {
 public:
  explicit MessageReader(ByteSource& source, size_t largest = kLargestMessage)
      : source_(source), largest_(largest) {}

  FrameRead next();

 private:
  enum class LineRead { kLine, kTooLong, kEnd };
  LineRead read_line(std::string& line);
  bool fill();
  // Passes over `count` bytes; false when the input ends first.
  bool skip(size_t count);

  ByteSource& source_;
  size_t largest_;
  std::string buffer_;
  size_t pos_ = 0;
};

// "Content-Length: N\r\n\r\n" and the body.
std::string frame_message(std::string_view body);

}  // namespace tracciato::lsp
