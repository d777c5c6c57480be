#include "tools/compile_report.h"

#include <nlohmann/json.hpp>
#include <utility>

#include "compiler/diagnostics.h"
#include "platform/utf8_path.h"
#include "text/windows1252.h"
#include "tools/diagnostic_format.h"

namespace tracciato {
namespace {

// The location shown for a problem whose description is unknown: the tool
// itself, as compilers do for errors that belong to no file.
constexpr std::string_view kToolName = "tracciato";

}  // namespace

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

namespace {

// The site people are pointed at: the field of the record that caused the
// code. A result made without a compile may carry only the site where the
// position came from.
const ErrorSite& reported_site(const AuthorCompileResult& result) {
  return result.code_site.description != Description::kNone ? result.code_site : result.error_site;
}

bool same_site(const ErrorSite& a, const ErrorSite& b) {
  return a.description == b.description && a.line == b.line;
}

// The line's code 15 does not end the compile: the train phase reads on, and
// its first signal or slowdown ends the reading with its own position.
std::string kept_position_note(const AuthorCompileResult& result) {
  if (result.error_code == 15) {
    return "the reading goes on into the train description until its first signal or "
           "slowdown, which ends it here: the position kept, " +
           std::to_string(result.error_position) + " m, is this record's";
  }
  return "the position kept, " + std::to_string(result.error_position) + " m, is this record's";
}

}  // namespace

std::vector<Diagnostic> compile_diagnostics(const AuthorCompileResult& result) {
  if (result.error_code == 0) return {};
  const ErrorSite& site = reported_site(result);
  Diagnostic d;
  d.severity = Severity::kError;
  d.code = result.error_code;
  d.description = site.description;
  d.site = {site.line, site.column};
  d.position = result.error_position;
  d.message = result.error_detail.empty() ? std::string(error_message(result.error_code))
                                          : result.error_detail;
  if (result.error_site.description != Description::kNone && !same_site(site, result.error_site)) {
    d.notes.push_back({result.error_site.description,
                       {result.error_site.line, result.error_site.column},
                       kept_position_note(result)});
  }
  for (const ErrorNote& note : result.error_notes) {
    d.notes.push_back({note.site.description, {note.site.line, note.site.column}, note.message});
  }
  return {d};
}

IndexedDescriptions::IndexedDescriptions(const AuthorDescriptions& descriptions)
    : line_lines_(descriptions.line_text),
      train_lines_(descriptions.train_text),
      sources_{utf8_of(descriptions.line_file), utf8_of(descriptions.train_file), &line_lines_,
               &train_lines_} {}

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
  switch (reported_site(result).description) {
    case Description::kLine:
      return utf8_of(descriptions.line_file);
    case Description::kTrain:
      return utf8_of(descriptions.train_file);
    case Description::kNone:
      break;
  }
  return std::nullopt;
}

std::string compile_messages(const AuthorDescriptions& descriptions,
                             const AuthorCompileResult& result, bool colour,
                             const std::vector<Diagnostic>& warnings) {
  std::string messages;
  write_compile_messages(descriptions, result, colour, warnings,
                         [&](std::string_view text) { messages += text; });
  return messages;
}

void write_compile_messages(const AuthorDescriptions& descriptions,
                            const AuthorCompileResult& result, bool colour,
                            const std::vector<Diagnostic>& warnings, const TextSink& out) {
  const IndexedDescriptions indexed(descriptions);
  const std::vector<Diagnostic> problems = compile_diagnostics(result);
  for (const Diagnostic* d : in_text_order(warnings, problems)) {
    out(render_diagnostic(*d, indexed.sources(), colour));
  }
  if (result.stop != CompileStop::kNone) {
    out(std::string(kToolName) + ": " + std::string(stop_sentence(result.stop)) + "\n");
  }
}

std::string compile_report_json(const AuthorDescriptions& descriptions,
                                const AuthorCompileResult& result,
                                const std::vector<Diagnostic>& warnings) {
  std::string report;
  write_compile_report_json(descriptions, result, warnings,
                            [&](std::string_view piece) { report += piece; });
  return report;
}

void write_json_diagnostics(const AuthorDescriptions& descriptions,
                            const std::vector<Diagnostic>& warnings,
                            const std::vector<Diagnostic>& problems, const TextSink& out) {
  const IndexedDescriptions indexed(descriptions);
  out("[");
  bool first = true;
  for (const Diagnostic* d : in_text_order(warnings, problems)) {
    if (!std::exchange(first, false)) out(",");
    out(json_text(diagnostic_json(*d, indexed.sources())));
  }
  out("]");
}

void write_compile_report_json(const AuthorDescriptions& descriptions,
                               const AuthorCompileResult& result,
                               const std::vector<Diagnostic>& warnings, const TextSink& out) {
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
  report["line"] = known(reported_site(result).line);
  report["column"] = known(reported_site(result).column);
  const std::vector<Diagnostic> found = compile_diagnostics(result);
  report["message"] = problem ? Json(displayable_line(found.front().message)) : Json(nullptr);
  // Written under the scenario's Windows-1252 names; shown as UTF-8.
  Json written = Json::array();
  for (const std::string& name : result.written) written.push_back(windows1252_to_utf8(name));
  report["written"] = std::move(written);
  // The diagnostics come last, written one by one into the object's text so
  // that a million warnings are never a JSON value all at once.
  std::string head = json_text(report);
  head.pop_back();  // the closing brace
  out(head + ",\"diagnostics\":");
  write_json_diagnostics(descriptions, warnings, found, out);
  out("}\n");
}

std::string json_text(const nlohmann::ordered_json& value) {
  // A path need not be valid UTF-8; JSON text must be, so such bytes are
  // shown as U+FFFD rather than failing the report.
  return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace tracciato
