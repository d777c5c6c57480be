// The table form of a decoded scenario file: one row per record, the stored
// numbers first, then what they mean.
#include <charconv>
#include <cstdio>

#include "authoring/inspect_report.h"
#include "authoring/inspect_selection.h"
#include "authoring/record_meaning.h"
#include "text/windows1252.h"

namespace tracciato {
namespace {

constexpr int kGradientOffset = 100;
constexpr int kSpeedStep = 5;

std::string row(const char* format, auto... values) {
  char text[256];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

std::string join_meanings(std::string a, const std::string& b) {
  if (b.empty()) return a;
  return a.empty() ? b : a + "; " + b;
}

std::string cell_table(const std::vector<RouteCell>& cells, const InspectOptions& options) {
  std::string out = "cell file: " + std::to_string(cells.size()) + " cells, 0 to " +
                    std::to_string(cells.size() - 1) + "\n";
  out += row("%5s %7s %4s %6s %6s %6s %6s %4s %4s %4s %4s %4s %3s  %s\n", "cell", "from_m", "kind",
             "val_1", "val_2", "val_3", "val_4", "time", "appr", "span", "km/h", "grad", "adh",
             "object");
  for (size_t i = 0; i < cells.size(); ++i) {
    const RouteCell& c = cells[i];
    if (!shown(options, i, c)) continue;
    const auto from = (static_cast<long>(i) - 1) * 50;
    out += row("%5zu %7ld %4d %6d %6d %6d %6d %4d %4d %4d %4d %4d %3d", i, from, c.kind, c.value_1,
               c.value_2, c.value_3, c.value_4, c.signal_time, c.approach_code, c.span_kind,
               c.speed_limit * kSpeedStep, c.gradient - kGradientOffset, c.adhesion);
    std::string object = cell_kind_name(c.kind);
    const std::string meaning = cell_meaning(c, i);
    if (!meaning.empty()) object += object.empty() ? meaning : ": " + meaning;
    object = join_meanings(object, approach_meaning(c.approach_code));
    out += (object.empty() ? "" : "  " + object) + "\n";
  }
  return out;
}

std::string item_table(const std::vector<ItemRecord>& items, const InspectOptions& options) {
  const std::vector<ItemRole> roles = item_roles(items);
  std::string out = "item file: 87 entries, 0 to 86\n";
  out += row("%5s %-12s %4s %8s %8s %8s %4s %6s %6s %6s %6s %6s %3s %3s %3s %3s %8s  %s\n", "entry",
             "role", "kind", "num_1", "num_2", "num_3", "flag", "sml_1", "sml_2", "sml_3", "sml_4",
             "sml_5", "b_1", "b_2", "b_3", "b_4", "num_4", "name / meaning");
  for (size_t i = 0; i < items.size(); ++i) {
    const ItemRecord& t = items[i];
    if (!shown(options, i, t)) continue;
    const std::string role(item_role_name(roles[i]));
    out += row("%5zu %-12s %4d %8d %8d %8d %4d %6d %6d %6d %6d %6d %3d %3d %3d %3d %8d", i,
               role.c_str(), t.kind, t.num_1, t.num_2, t.num_3, t.flag, t.small_1, t.small_2,
               t.small_3, t.small_4, t.small_5, t.byte_1, t.byte_2, t.byte_3, t.byte_4, t.num_4);
    std::string tail;
    if (!t.name.empty()) tail = "\"" + windows1252_to_utf8(t.name) + "\"";
    tail = join_meanings(tail, item_meaning(t, roles[i]));
    out += (tail.empty() ? "" : "  " + tail) + "\n";
  }
  return out;
}

// The shortest text that reads back as the same double.
std::string track_number_text(const TrackNumber& n) {
  if (const int16_t* i = std::get_if<int16_t>(&n)) return std::to_string(*i) + " (int)";
  if (const double* d = std::get_if<double>(&n)) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, *d);
    std::string shown(text, result.ptr);
    // A whole-numbered real still reads as a real, unlike the (int) entries.
    if (shown.find_first_of(".en") == std::string::npos) shown += ".0";
    return shown;
  }
  return "(empty)";
}

std::string track_table(const std::vector<TrackPoint>& track, const InspectOptions& options) {
  std::string out = "track file: " + std::to_string(track.size()) + " points, metres 0 to " +
                    std::to_string(track.size() - 1) + "\n";
  out += row("%7s  %-24s %s\n", "metre", "x", "y");
  for (size_t m = 0; m < track.size(); ++m) {
    if (!shown(options, m, track[m])) continue;
    out += row("%7zu  %-24s %-24s", m, track_number_text(track[m][0]).c_str(),
               track_number_text(track[m][1]).c_str());
    while (!out.empty() && out.back() == ' ') out.pop_back();
    out += "\n";
  }
  return out;
}

}  // namespace

std::optional<RecordRange> parse_record_range(std::string_view text) {
  const auto number = [](std::string_view part) -> std::optional<int64_t> {
    int64_t v = 0;
    const auto result = std::from_chars(part.data(), part.data() + part.size(), v);
    if (part.empty() || result.ec != std::errc{} || result.ptr != part.data() + part.size() ||
        v < 0) {
      return std::nullopt;
    }
    return v;
  };
  const size_t dots = text.find("..");
  const std::optional<int64_t> first = number(text.substr(0, dots));
  const std::optional<int64_t> last =
      dots == std::string_view::npos ? first : number(text.substr(dots + 2));
  if (!first || !last || *first > *last) return std::nullopt;
  return RecordRange{*first, *last};
}

std::string inspect_table(const DecodedScenarioFile& file, const InspectOptions& options) {
  switch (file.kind) {
    case ScenarioFileKind::kCell:
      return cell_table(file.cells, options);
    case ScenarioFileKind::kItem:
      return item_table(file.items, options);
    case ScenarioFileKind::kTrack:
      return track_table(file.track, options);
  }
  return {};
}

}  // namespace tracciato
