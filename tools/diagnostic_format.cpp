#include "tools/diagnostic_format.h"

#include <algorithm>

#include "text/windows1252.h"

namespace tracciato {
namespace {

// Bytes a terminal must not receive raw (they could move the cursor or start
// an escape sequence), and the bytes Windows-1252 leaves undefined.
bool shown_as_question_mark(unsigned char byte) {
  if (byte == '\t') return false;
  if (byte < 0x20 || byte == 0x7F) return true;
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

// The location shown for a diagnostic that belongs to no description: the
// tool itself, as compilers do.
constexpr std::string_view kToolName = "tracciato";

// A long line cut to about kLongestExcerpt bytes around the column, with the
// column moved to match; marks show where it was cut.
struct Excerpt {
  std::string text;
  int32_t column;
};

Excerpt cut_around(std::string_view line, int32_t column) {
  if (line.size() <= kLongestExcerpt) return {std::string(line), column};
  const size_t half = kLongestExcerpt / 2;
  const size_t at = column > 0 ? static_cast<size_t>(column - 1) : 0;
  const size_t start = at > half ? std::min(at - half, line.size() - kLongestExcerpt) : 0;
  const std::string_view kept = line.substr(start, kLongestExcerpt);
  std::string text = start > 0 ? "..." : "";
  const int32_t shift = static_cast<int32_t>(text.size()) - static_cast<int32_t>(start);
  text += kept;
  if (start + kept.size() < line.size()) text += "...";
  return {std::move(text), column > 0 ? column + shift : column};
}

std::string_view file_of(const DiagnosticSources& sources, Description description) {
  switch (description) {
    case Description::kLine:
      return sources.line_file;
    case Description::kTrain:
      return sources.train_file;
    case Description::kNone:
      break;
  }
  return kToolName;
}

const LineIndex* lines_of(const DiagnosticSources& sources, Description description) {
  switch (description) {
    case Description::kLine:
      return sources.line_lines;
    case Description::kTrain:
      return sources.train_lines;
    case Description::kNone:
      break;
  }
  return nullptr;
}

}  // namespace

LineIndex::LineIndex(std::string_view text) : text_(text) {
  starts_.push_back(0);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      starts_.push_back(i + 1);
    } else if (text[i] == '\n') {
      starts_.push_back(i + 1);
    }
  }
}

std::optional<std::string_view> LineIndex::line(int32_t line) const {
  if (line < 1 || static_cast<size_t>(line) > starts_.size()) return std::nullopt;
  const size_t start = starts_[static_cast<size_t>(line - 1)];
  // A text ending with a line end has no line after it.
  if (start == text_.size() && line > 1) return std::nullopt;
  // Every line but the last ends with its line end: CR LF, a lone CR or a
  // lone LF.
  if (static_cast<size_t>(line) == starts_.size()) return text_.substr(start);
  size_t end = starts_[static_cast<size_t>(line)];
  if (text_[end - 1] == '\n') --end;
  if (end > start && text_[end - 1] == '\r') --end;
  return text_.substr(start, end - start);
}

std::optional<std::string_view> source_line(std::string_view text, int32_t line) {
  if (line < 1) return std::nullopt;
  size_t start = 0;
  for (int32_t n = 1; n < line; ++n) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) return std::nullopt;
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  // A text ending with a line end has no line after it.
  if (start == text.size() && line > 1) return std::nullopt;
  const size_t end = text.find_first_of("\r\n", start);
  return text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
}

std::string displayable_line(std::string_view line) {
  // Printable ASCII is shown as it is: one copy, no conversion.
  if (std::all_of(line.begin(), line.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x80 && !shown_as_question_mark(byte);
      })) {
    return std::string(line);
  }
  std::string masked(line);
  for (char& byte : masked) {
    if (shown_as_question_mark(static_cast<unsigned char>(byte))) byte = '?';
  }
  return windows1252_to_utf8(masked);
}

std::optional<std::string> caret_line(std::string_view line, int32_t column) {
  if (column < 1 || static_cast<size_t>(column) > line.size() + 1) return std::nullopt;
  std::string caret;
  for (size_t i = 0; i + 1 < static_cast<size_t>(column); ++i) {
    caret.push_back(line[i] == '\t' ? '\t' : ' ');
  }
  caret.push_back('^');
  return caret;
}

std::string format_diagnostic(const DiagnosticPlace& place, std::string_view headline,
                              std::string_view source_text) {
  const LineIndex lines(source_text);
  return format_diagnostic(place, headline, &lines);
}

std::string format_diagnostic(const DiagnosticPlace& place, std::string_view headline,
                              const LineIndex* lines) {
  std::string message = place.file;
  if (place.line > 0) {
    // Appended piece by piece: GCC 12 at -O3 warns falsely about ":" + string.
    message += ':';
    message += std::to_string(place.line);
    if (place.column > 0) {
      message += ':';
      message += std::to_string(place.column);
    }
  }
  message += ": ";
  message += headline;
  message += '\n';

  if (lines == nullptr) return message;
  const std::optional<std::string_view> line = lines->line(place.line);
  if (!line) return message;
  // A column far past the line points at nothing: no caret.
  const bool caret_fits =
      place.column >= 1 && static_cast<size_t>(place.column) <= line->size() + 1;
  const Excerpt excerpt = cut_around(*line, caret_fits ? place.column : 0);
  message += displayable_line(excerpt.text);
  message += '\n';
  if (const std::optional<std::string> caret = caret_line(excerpt.text, excerpt.column)) {
    message += *caret;
    message += '\n';
  }
  return message;
}

}  // namespace tracciato

namespace tracciato {

namespace {

// Bold red errors, bold magenta warnings, bold cyan notes, as compilers show
// them on a terminal.
std::string severity_word(Severity severity, bool colour) {
  const std::string word(severity_name(severity));
  if (!colour) return word;
  const char* start = severity == Severity::kError     ? "\x1b[1;31m"
                      : severity == Severity::kWarning ? "\x1b[1;35m"
                                                       : "\x1b[1;36m";
  return start + word + "\x1b[0m";
}

}  // namespace

std::string render_diagnostic(const Diagnostic& d, const DiagnosticSources& sources, bool colour) {
  // "error: 16 at 8050 m: sentence": the severity word with its colon first,
  // as compilers write it, so editors' problem matchers read the line.
  std::string headline = severity_word(d.severity, colour) + ":";
  if (d.code != 0) headline += " " + std::to_string(d.code);
  if (d.position) headline += " at " + std::to_string(*d.position) + " m";
  if (d.code != 0 || d.position) headline += ":";
  // Sentences quote fields as they stand in the description: Windows-1252.
  headline += " " + displayable_line(d.message);
  const DiagnosticPlace place{std::string(file_of(sources, d.description)), d.site.line,
                              d.site.column};
  std::string text = format_diagnostic(place, headline, lines_of(sources, d.description));
  for (const DiagnosticNote& note : d.notes) {
    const DiagnosticPlace at{std::string(file_of(sources, note.description)), note.site.line,
                             note.site.column};
    text += format_diagnostic(
        at, severity_word(Severity::kNote, colour) + ": " + displayable_line(note.message),
        lines_of(sources, note.description));
  }
  return text;
}

nlohmann::ordered_json diagnostic_json(const Diagnostic& d, const DiagnosticSources& sources) {
  using Json = nlohmann::ordered_json;
  const auto place = [&](Json& j, Description description, FieldSite site) {
    const bool known = description != Description::kNone;
    j["file"] = known ? Json(std::string(file_of(sources, description))) : Json(nullptr);
    j["line"] = known && site.line > 0 ? Json(site.line) : Json(nullptr);
    j["column"] = known && site.column > 0 ? Json(site.column) : Json(nullptr);
  };
  Json j;
  j["severity"] = std::string(severity_name(d.severity));
  j["code"] = d.code != 0 ? Json(d.code) : Json(nullptr);
  place(j, d.description, d.site);
  j["position"] = d.position ? Json(*d.position) : Json(nullptr);
  j["message"] = displayable_line(d.message);
  Json notes = Json::array();
  for (const DiagnosticNote& note : d.notes) {
    Json n;
    place(n, note.description, note.site);
    n["message"] = displayable_line(note.message);
    notes.push_back(std::move(n));
  }
  j["notes"] = std::move(notes);
  return j;
}

namespace {

bool in_text_before(const Diagnostic& a, const Diagnostic& b) {
  const auto rank = [](Description d) { return d == Description::kNone ? 3 : static_cast<int>(d); };
  if (a.description != b.description) return rank(a.description) < rank(b.description);
  if (a.site.line != b.site.line) return a.site.line < b.site.line;
  return a.site.column < b.site.column;
}

}  // namespace

std::vector<const Diagnostic*> in_text_order(const std::vector<Diagnostic>& first,
                                             const std::vector<Diagnostic>& second) {
  std::vector<const Diagnostic*> order;
  order.reserve(first.size() + second.size());
  for (const Diagnostic& d : first) order.push_back(&d);
  for (const Diagnostic& d : second) order.push_back(&d);
  const auto before = [](const Diagnostic* a, const Diagnostic* b) {
    return in_text_before(*a, *b);
  };
  // The warnings usually come in order already, and the compile adds one
  // problem at most.
  if (!std::is_sorted(order.begin(), order.end(), before)) {
    std::stable_sort(order.begin(), order.end(), before);
  }
  return order;
}

std::string diagnostic_summary(const std::vector<Diagnostic>& diagnostics) {
  size_t errors = 0;
  size_t warnings = 0;
  for (const Diagnostic& d : diagnostics) {
    if (d.severity == Severity::kError) ++errors;
    if (d.severity == Severity::kWarning) ++warnings;
  }
  return diagnostic_summary(errors, warnings);
}

std::string diagnostic_summary(size_t errors, size_t warnings) {
  const auto count = [](size_t n, std::string_view what) {
    return std::to_string(n) + " " + std::string(what) + (n == 1 ? "" : "s");
  };
  if (errors == 0 && warnings == 0) return "no problems";
  if (warnings == 0) return count(errors, "error");
  if (errors == 0) return count(warnings, "warning");
  return count(errors, "error") + ", " + count(warnings, "warning");
}

}  // namespace tracciato
