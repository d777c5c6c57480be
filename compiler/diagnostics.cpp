#include "compiler/diagnostics.h"

#include <algorithm>
#include <iterator>

namespace tracciato {

const std::string& SharedText::str() const {
  static const std::string kNothing;
  return text_ ? *text_ : kNothing;
}
namespace {

struct CodeMessage {
  int32_t code;
  std::string_view message;
};

// Codes 14 and 23 are never recorded.
constexpr CodeMessage kMessages[] = {
    {1, "the line length is negative or above 1,000,000 metres"},
    {2, "a kilometric progressive has a position or value that is not a multiple of 50 metres"},
    {3, "the first signal repetition distance is not a multiple of 50 metres"},
    {4, "the second signal repetition distance is not a multiple of 50 metres"},
    {5, "the signal repetition record names neither the 4-code nor the 9-code system"},
    {6, "the indication sign's cell is already occupied"},
    {7, "the abbattimento mark's cell is already occupied"},
    {8, "the station's position is not a multiple of 50 metres"},
    {9, "the station's length is not a multiple of 100 metres"},
    {10, "there is no item entry left for another station below the indication signs"},
    {11,
     "there is no free cell just before a signal that stands ahead of a slowdown warning board"},
    {12, "there is no free cell at one of the approach distances before a slowdown start"},
    {13,
     "there is no free cell for a marker inside a slow slowdown or before the first signal after "
     "it"},
    {15, "the record's position lies beyond the end of the route"},
    {16, "the signal's cell is already occupied"},
    {17, "the slowdown's warning board cell is already occupied"},
    {18, "the slowdown's start cell is already occupied"},
    {19, "the slowdown's end cell is already occupied"},
    {20, "one of the four cells before the slowdown's warning board is already occupied"},
    {21, "the maximum-speed indicator group's cell is already occupied"},
    {22, "the station's span starts less than 350 metres after the previous station's span ends"},
    {24, "the station ends too near the start of the route for its stop mark"},
    {25,
     "the description could not be read: a value is malformed or does not fit its field, a sum "
     "overflows, a record needs the route before its length, or the text ends too early"},
    {26, "the record would mark cells outside the route"},
    {27, "the line already has 80 mountain spans"},
    {28, "the slowdown's length is negative"},
    {29, "there is no item entry left for another indication sign"},
    {101, "the line description does not exist"},
    {102, "the line description has no [generale] section"},
    {103,
     "the curve names no curvature class from 1 to 6, or the track runs past 1,000,000 metres"},
    {104, "the curve runs past the end of the track"},
};

}  // namespace

std::string_view severity_name(Severity severity) {
  switch (severity) {
    case Severity::kError:
      return "error";
    case Severity::kWarning:
      return "warning";
    case Severity::kNote:
      break;
  }
  return "note";
}

std::string_view error_message(int32_t code) {
  const auto* found = std::find_if(std::begin(kMessages), std::end(kMessages),
                                   [code](const CodeMessage& m) { return m.code == code; });
  if (found == std::end(kMessages)) return "an unknown problem";
  return found->message;
}

}  // namespace tracciato
