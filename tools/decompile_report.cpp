#include "tools/decompile_report.h"

#include <nlohmann/json.hpp>

#include "text/windows1252.h"
#include "tools/compile_report.h"

namespace tracciato {
namespace {

std::string_view reading_word(ReadingEnd end) {
  switch (end) {
    case ReadingEnd::kComplete:
      return "complete";
    case ReadingEnd::kInTrain:
      return "stopped-in-train";
    case ReadingEnd::kInFeatures:
      return "stopped-in-line-features";
    case ReadingEnd::kInGeneral:
      return "stopped-in-line-general";
  }
  return "";
}

}  // namespace

std::string refusal_lines(const std::vector<Refusal>& refusals, const ScenarioSource& source) {
  std::string out;
  for (const Refusal& r : refusals) {
    out += source_file(source, r.file) + ":byte " + std::to_string(r.offset) + ": " +
           refusal_place(r) + " " + r.field + " = " + r.stored + ": " + r.why + "\n";
  }
  return out;
}

std::string reading_note(const DecompileResult& result) {
  if (!result.records.stops_reading()) return "";
  return "the files come from a compile that recorded a problem and stopped reading (its "
         "reading " +
         std::string(reading_end_words(result.records.end)) +
         "); the descriptions stop at the same record, marked with a comment: compile them with "
         "--keep-going";
}

std::string decompile_report_json(const DecompileResult& result, const ScenarioSource& source,
                                  const std::vector<std::string>& written) {
  nlohmann::ordered_json report;
  report["proven"] = result.proven;
  report["line_name"] = windows1252_to_utf8(result.line_name);
  report["train_number"] = windows1252_to_utf8(result.train_number);
  report["reading"] = result.proven ? nlohmann::ordered_json(reading_word(result.records.end))
                                    : nlohmann::ordered_json();
  report["written"] = written;
  nlohmann::ordered_json refusals = nlohmann::ordered_json::array();
  for (const Refusal& r : result.refusals) {
    refusals.push_back({{"file", source_file(source, r.file)},
                        {"kind", kind_name(r.file)},
                        {"record", r.record},
                        {"place", refusal_place(r)},
                        {"field", r.field},
                        {"offset", r.offset},
                        {"stored", r.stored},
                        {"why", r.why}});
  }
  report["refusals"] = refusals;
  return json_text(report) + "\n";
}

}  // namespace tracciato
