#include "tools/compile_report.h"

#include <nlohmann/json.hpp>

#include "compiler/diagnostics.h"
#include "tools/diagnostic_format.h"

namespace tracciato {
namespace {

// The location shown for a problem whose description is unknown: the tool
// itself, as compilers do for errors that belong to no file.
constexpr std::string_view kToolName = "tracciato";

std::string_view stop_sentence(CompileStop stop) {
  switch (stop) {
    case CompileStop::kNone:
      break;
    case CompileStop::kReserved1250:
      return "stop 1250: route cell 1 (objects from -24 to 24 m) or item 85 already holds a "
             "value where 610 and 5121 go; no file written";
    case CompileStop::kReserved1251:
      return "stop 1251: route cell 1 or item 85 already holds a value where the competition "
             "codes go; no file written";
    case CompileStop::kNoRoute:
      return "stop: the reading ended before the line length was known, so there are no route "
             "cells to complete and write; no file written";
  }
  return "";
}

std::string_view text_of(const AuthorDescriptions& descriptions, Description description) {
  switch (description) {
    case Description::kLine:
      return descriptions.line_text;
    case Description::kTrain:
      return descriptions.train_text;
    case Description::kNone:
      break;
  }
  return {};
}

}  // namespace

std::optional<std::string_view> stop_name(CompileStop stop) {
  switch (stop) {
    case CompileStop::kNone:
      return std::nullopt;
    case CompileStop::kReserved1250:
      return "1250";
    case CompileStop::kReserved1251:
      return "1251";
    case CompileStop::kNoRoute:
      return "no-route";
  }
  return std::nullopt;
}

std::optional<std::string> problem_file(const AuthorDescriptions& descriptions,
                                        const AuthorCompileResult& result) {
  if (result.error_code == 0) return std::nullopt;
  switch (result.error_site.description) {
    case Description::kLine:
      return descriptions.line_file.string();
    case Description::kTrain:
      return descriptions.train_file.string();
    case Description::kNone:
      break;
  }
  return std::nullopt;
}

std::string compile_messages(const AuthorDescriptions& descriptions,
                             const AuthorCompileResult& result) {
  std::string messages;
  if (result.error_code != 0) {
    const std::optional<std::string> file = problem_file(descriptions, result);
    DiagnosticPlace place{.file = file.value_or(std::string(kToolName))};
    if (file) {
      place.line = result.error_site.line;
      place.column = result.error_site.column;
    }
    const std::string headline = "error " + std::to_string(result.error_code) + " at " +
                                 std::to_string(result.error_position) +
                                 " m: " + std::string(error_message(result.error_code));
    messages +=
        format_diagnostic(place, headline, text_of(descriptions, result.error_site.description));
  }
  if (result.stop != CompileStop::kNone) {
    messages += std::string(kToolName) + ": " + std::string(stop_sentence(result.stop)) + "\n";
  }
  return messages;
}

std::string compile_report_json(const AuthorDescriptions& descriptions,
                                const AuthorCompileResult& result) {
  using Json = nlohmann::ordered_json;
  const bool problem = result.error_code != 0;
  const std::optional<std::string> file = problem_file(descriptions, result);
  const std::optional<std::string_view> stop = stop_name(result.stop);
  const auto known = [&](int32_t n) { return file && n > 0 ? Json(n) : Json(nullptr); };

  Json report;
  report["error_code"] = result.error_code;
  report["error_position"] = result.error_position;
  report["stop"] = stop ? Json(std::string(*stop)) : Json(nullptr);
  report["file"] = file ? Json(*file) : Json(nullptr);
  report["line"] = known(result.error_site.line);
  report["column"] = known(result.error_site.column);
  report["message"] = problem ? Json(std::string(error_message(result.error_code))) : Json(nullptr);
  report["written"] = result.written;
  // A path need not be valid UTF-8; JSON text must be, so such bytes are
  // shown as U+FFFD rather than failing the report.
  return report.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace tracciato
