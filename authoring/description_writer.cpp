#include "authoring/description_writer.h"

#include <algorithm>
#include <span>
#include <vector>

namespace tracciato {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kGeneralHeading = "[generale]";
constexpr std::string_view kEndHeading = "[fine]";

// The headings the embedded descriptions file their records under. They mean
// nothing to the compiler, which passes over them as key fields that start
// no record; the first one after the general section ends it.
struct Section {
  std::string_view heading;
  std::span<const RecordKind> kinds;
};

constexpr RecordKind kLineGeneralKinds[] = {RecordKind::kLineLength, RecordKind::kProgressive,
                                            RecordKind::kBackground, RecordKind::kSignalRepetition};
constexpr RecordKind kCurveKinds[] = {RecordKind::kCurve};
constexpr RecordKind kGradientKinds[] = {RecordKind::kGradient};
constexpr RecordKind kSpanKinds[] = {RecordKind::kMountainSpan};
constexpr RecordKind kIndicatorKinds[] = {RecordKind::kSpeedIndicators};
constexpr RecordKind kSignKinds[] = {RecordKind::kIndicationSign};
constexpr Section kLineSections[] = {
    {kGeneralHeading, kLineGeneralKinds}, {"[curve]", kCurveKinds},
    {"[pendenze]", kGradientKinds},       {"[montagne]", kSpanKinds},
    {"[cartelli]", kIndicatorKinds},      {"[indicazioni]", kSignKinds},
};

constexpr RecordKind kTrainGeneralKinds[] = {RecordKind::kCoaches, RecordKind::kBrakedMass,
                                             RecordKind::kSand, RecordKind::kClock};
constexpr RecordKind kAdhesionKinds[] = {RecordKind::kAdhesion};
constexpr RecordKind kSpeedKinds[] = {RecordKind::kSpeedLimit};
constexpr RecordKind kStationKinds[] = {RecordKind::kStation};
constexpr RecordKind kSlowdownKinds[] = {RecordKind::kSlowdown};
constexpr RecordKind kSignalKinds[] = {RecordKind::kSignal};
constexpr RecordKind kAbbattimentoKinds[] = {RecordKind::kAbbattimento};
constexpr Section kTrainSections[] = {
    {kGeneralHeading, kTrainGeneralKinds}, {"[aderenze]", kAdhesionKinds},
    {"[vel_limite]", kSpeedKinds},         {"[stazioni]", kStationKinds},
    {"[rallentamenti]", kSlowdownKinds},   {"[segnali]", kSignalKinds},
    {"[codici]", kAbbattimentoKinds},
};

// A comment field (it holds a dash and no comma) before the record the
// reading stops at, so a reader knows why the description fails there.
constexpr std::string_view kStopComment =
    "-- the compile that made these files stopped at the next record; this one stops there too";

size_t section_of(std::span<const Section> sections, RecordKind kind) {
  for (size_t i = 0; i < sections.size(); ++i) {
    if (std::find(sections[i].kinds.begin(), sections[i].kinds.end(), kind) !=
        sections[i].kinds.end()) {
      return i;
    }
  }
  return 0;
}

// A record read up to a text value that the text ends before.
bool ends_text(const DescriptionRecord& record) {
  const RecordRule& rule = record_rule(record.kind);
  return record.unreadable_value >= 0 &&
         static_cast<size_t>(record.unreadable_value) < rule.values.size() &&
         rule.values[static_cast<size_t>(record.unreadable_value)].width == ValueWidth::kText;
}

bool needs_quotes(std::string_view text) {
  if (text.empty()) return false;
  return text.find_first_of(",\r\n") != std::string_view::npos || text.front() == ' ' ||
         text.front() == '\t' || text.back() == ' ' || text.back() == '\t';
}

// The value fields of a record as written.
std::vector<std::string> value_fields(const DescriptionRecord& record) {
  const RecordRule& rule = record_rule(record.kind);
  std::vector<std::string> fields;
  for (size_t i = 0; i < rule.values.size(); ++i) {
    if (static_cast<int32_t>(i) == record.unreadable_value) {
      // A text field reads anything: the text ends where it is due.
      if (rule.values[i].width != ValueWidth::kText) fields.emplace_back(kUnreadableValue);
      break;
    }
    if (rule.values[i].width == ValueWidth::kText) {
      fields.push_back(text_field(record.text).value_or(""));
    } else {
      fields.push_back(std::to_string(i < record.numbers.size() ? record.numbers[i] : 0));
    }
  }
  return fields;
}

// Records of one kind in a row, aligned: the keys padded to one width, each
// number right-aligned in its column, a text value left as it is (it ends
// the line).
void write_group(std::string& out, std::span<const DescriptionRecord> group) {
  std::vector<std::vector<std::string>> rows;
  size_t key_width = 0;
  std::vector<size_t> widths;
  for (const DescriptionRecord& record : group) {
    rows.push_back(value_fields(record));
    key_width = std::max(key_width, record.key.size() + 1);
    for (size_t i = 0; i < rows.back().size(); ++i) {
      if (widths.size() <= i) widths.push_back(0);
      widths[i] = std::max(widths[i], rows.back()[i].size());
    }
  }
  const RecordRule& rule = record_rule(group.front().kind);
  for (size_t r = 0; r < group.size(); ++r) {
    if (group[r].stops_reading) (out += kStopComment) += kLineEnd;
    std::string line = group[r].key + ",";
    line.append(key_width - line.size() + 2, ' ');
    const std::vector<std::string>& fields = rows[r];
    for (size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) line += ", ";
      const bool text = rule.values[i].width == ValueWidth::kText;
      if (!text) line.append(widths[i] - fields[i].size(), ' ');
      line += fields[i];
    }
    // A text that ends the line keeps no blank after it; the numbers never
    // leave one either.
    (out += line) += kLineEnd;
  }
}

// The records under their headings, every heading in its order; a record
// whose section lies behind the one reached names its heading again.
std::string write_part(std::span<const Section> sections,
                       std::span<const DescriptionRecord> general,
                       std::span<const DescriptionRecord> records, bool general_section_first) {
  std::string out;
  size_t current = 0;
  (out += sections[0].heading) += kLineEnd;
  // False when the text ends inside the part's last record.
  auto write_records = [&](std::span<const DescriptionRecord> list) {
    size_t i = 0;
    while (i < list.size()) {
      const size_t section = section_of(sections, list[i].kind);
      if (section != current) {
        if (section > current) {
          for (size_t s = current + 1; s <= section; ++s) (out += sections[s].heading) += kLineEnd;
        } else {
          (out += sections[section].heading) += kLineEnd;
        }
        current = section;
      }
      size_t j = i + 1;
      while (j < list.size() && list[j].kind == list[i].kind && !list[j].stops_reading) ++j;
      write_group(out, list.subspan(i, j - i));
      if (ends_text(list[j - 1])) return false;
      i = j;
    }
    return true;
  };
  if (general_section_first && !write_records(general)) return out;
  if (!write_records(records)) return out;
  for (size_t s = current + 1; s < sections.size(); ++s) (out += sections[s].heading) += kLineEnd;
  // The empty line the reading ends on: a key field whose read reaches the
  // end of the text is never examined.
  ((out += kEndHeading) += kLineEnd) += kLineEnd;
  return out;
}

}  // namespace

std::optional<std::string> text_field(std::string_view text) {
  if (!text.empty() && text.front() == '"') return std::nullopt;
  if (!needs_quotes(text)) return std::string(text);
  if (text.find('"') != std::string_view::npos) return std::nullopt;
  return "\"" + std::string(text) + "\"";
}

std::string record_line(const DescriptionRecord& record) {
  std::string line = record.key + ",";
  for (const std::string& field : value_fields(record)) line += " " + field + ",";
  line.pop_back();
  return line;
}

std::string write_line_description(const DescriptionSet& records) {
  return write_part(kLineSections, records.line_general, records.line_features, true);
}

std::string write_train_description(const DescriptionSet& records) {
  return write_part(kTrainSections, {}, records.train, false);
}

}  // namespace tracciato
