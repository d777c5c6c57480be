#include "lsp/message_framing.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>

namespace tracciato::lsp {
namespace {

constexpr size_t kChunk = size_t{64} << 10;
constexpr std::string_view kLengthName = "content-length:";

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The value of a Content-Length header: digits only; a value past any
// real length is held at a bound that no input reaches.
std::optional<size_t> length_value(std::string_view value) {
  constexpr size_t kBeyondAnyInput = size_t{1} << 60;
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  if (value.empty()) return std::nullopt;
  size_t n = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    n = std::min(n * 10 + static_cast<size_t>(c - '0'), kBeyondAnyInput);
  }
  return n;
}

}  // namespace

size_t TextSource::read(char* buffer, size_t size) {
  const size_t n = std::min(size, text_.size() - pos_);
  std::memcpy(buffer, text_.data() + pos_, n);
  pos_ += n;
  return n;
}

bool MessageReader::fill() {
  if (pos_ > 0) {
    buffer_.erase(0, pos_);
    pos_ = 0;
  }
  const size_t old = buffer_.size();
  buffer_.resize(old + kChunk);
  const size_t got = source_.read(buffer_.data() + old, kChunk);
  buffer_.resize(old + got);
  return got > 0;
}

MessageReader::LineRead MessageReader::read_line(std::string& line) {
  line.clear();
  bool too_long = false;
  for (;;) {
    const size_t end = buffer_.find('\n', pos_);
    const size_t stop = end == std::string::npos ? buffer_.size() : end;
    if (!too_long) {
      line.append(buffer_, pos_, std::min(stop - pos_, kLongestHeaderLine + 1 - line.size()));
      too_long = line.size() > kLongestHeaderLine;
    }
    if (end != std::string::npos) {
      pos_ = end + 1;
      if (too_long) return LineRead::kTooLong;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return LineRead::kLine;
    }
    pos_ = buffer_.size();
    if (!fill()) {
      // A last line with no line end is still a line; the end comes after.
      if (too_long) return LineRead::kTooLong;
      return line.empty() ? LineRead::kEnd : LineRead::kLine;
    }
  }
}

bool MessageReader::skip(size_t count) {
  while (count > 0) {
    if (pos_ == buffer_.size() && !fill()) return false;
    const size_t n = std::min(count, buffer_.size() - pos_);
    pos_ += n;
    count -= n;
  }
  return true;
}

FrameRead MessageReader::next() {
  std::optional<size_t> length;
  std::string problem;
  bool any_header = false;
  std::string line;
  for (;;) {
    const LineRead read = read_line(line);
    if (read == LineRead::kEnd) {
      if (!any_header) return EndOfInput{};
      return FramingProblem{"the input ended inside a message's header"};
    }
    if (read == LineRead::kTooLong) {
      any_header = true;
      problem = "a header line longer than " + std::to_string(kLongestHeaderLine) + " bytes";
      continue;
    }
    if (line.empty()) {
      if (!any_header) continue;  // blank lines between messages
      break;
    }
    any_header = true;
    // A body sent without its length runs into the next header line: the
    // message it starts is found again at its name.
    std::string folded = lower(line);
    const size_t at = folded.find(kLengthName);
    if (at != std::string::npos && at > 0) {
      problem = "bytes that are not a header before a Content-Length header";
      folded.erase(0, at);
      line.erase(0, at);
    }
    if (folded.rfind(kLengthName, 0) == 0) {
      length = length_value(std::string_view(line).substr(kLengthName.size()));
      if (!length) problem = "a Content-Length that is not a number: '" + line + "'";
    } else if (line.find(':') == std::string::npos) {
      problem = "a header line that is not 'Name: value': '" + line.substr(0, 80) + "'";
    }
  }
  if (!length) {
    if (problem.empty()) problem = "a message header with no Content-Length";
    return FramingProblem{problem};
  }
  if (*length > largest_) {
    // A length beyond the limit is passed over whole, so the next message
    // is found where it starts.
    const size_t n = *length;
    if (!skip(n)) return FramingProblem{"the input ended inside a message's body"};
    return FramingProblem{"a message of " + std::to_string(n) + " bytes, larger than the " +
                          std::to_string(largest_) + " the server takes; passed over"};
  }
  FramedMessage message;
  message.body.reserve(*length);
  size_t wanted = *length;
  while (wanted > 0) {
    if (pos_ == buffer_.size() && !fill()) {
      return FramingProblem{"the input ended inside a message's body"};
    }
    const size_t n = std::min(wanted, buffer_.size() - pos_);
    message.body.append(buffer_, pos_, n);
    pos_ += n;
    wanted -= n;
  }
  // The message came through whole; what was passed over before it is only
  // told.
  message.passed_over = std::move(problem);
  return message;
}

std::string frame_message(std::string_view body) {
  std::string framed = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  framed += body;
  return framed;
}

}  // namespace tracciato::lsp
