// The fields no description gives: found while reading the files back, or by
// comparing the files with those the closest descriptions compile to; each
// placed in its file by record, field and byte offset.
#include "authoring/decompile_refusals.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <variant>

#include "authoring/decompile_context.h"
#include "text/windows1252.h"

namespace tracciato {
namespace {

constexpr size_t kTagSize = 2;

struct FieldAt {
  std::string_view name;
  uint64_t offset;
};

constexpr FieldAt kCellFields[] = {
    {"kind", 0},         {"value_1", 1},     {"value_2", 3},        {"value_3", 5},
    {"value_4", 7},      {"signal_time", 9}, {"approach_code", 10}, {"span_kind", 11},
    {"speed_limit", 12}, {"gradient", 13},   {"adhesion", 14},
};

// Item fields: before the name at a fixed offset, after it from the name's end.
constexpr FieldAt kItemFieldsBefore[] = {{"kind", 0},  {"num_1", 1}, {"num_2", 5},
                                         {"num_3", 9}, {"flag", 13}, {"name", 14}};
constexpr FieldAt kItemFieldsAfter[] = {
    {"small_1", 16}, {"small_2", 18}, {"small_3", 20}, {"small_4", 22}, {"small_5", 24},
    {"byte_1", 26},  {"byte_2", 27},  {"byte_3", 28},  {"byte_4", 29},  {"num_4", 30}};

uint64_t field_offset(std::span<const FieldAt> fields, std::string_view name) {
  for (const FieldAt& f : fields) {
    if (f.name == name) return f.offset;
  }
  return 0;
}

uint64_t item_offset(const std::vector<ItemRecord>& items, int64_t entry, std::string_view field) {
  uint64_t base = 0;
  for (int64_t e = 0; e < entry && e < static_cast<int64_t>(items.size()); ++e) {
    base += kItemRecordFixedSize + items[static_cast<size_t>(e)].name.size();
  }
  for (const FieldAt& f : kItemFieldsBefore) {
    if (f.name == field) return base + f.offset;
  }
  const size_t name = entry < static_cast<int64_t>(items.size())
                          ? items[static_cast<size_t>(entry)].name.size()
                          : 0;
  return base + name + field_offset(kItemFieldsAfter, field);
}

size_t entry_size(const TrackNumber& n) {
  if (std::holds_alternative<int16_t>(n)) return kTagSize + 2;
  if (std::holds_alternative<double>(n)) return kTagSize + 8;
  return kTagSize;
}

// The offsets of the track refusals, found in one pass over the entries.
void place_track_refusals(std::vector<Refusal>& refusals, const std::vector<TrackPoint>& track) {
  std::vector<std::pair<uint64_t, Refusal*>> wanted;  // entry index, refusal
  for (Refusal& r : refusals) {
    if (r.file != ScenarioFileKind::kTrack) continue;
    const uint64_t coordinate = r.field == "y" ? 1 : 0;
    wanted.emplace_back(coordinate * track.size() + static_cast<uint64_t>(r.record), &r);
  }
  if (wanted.empty()) return;
  std::sort(wanted.begin(), wanted.end());
  uint64_t offset = 0;
  uint64_t index = 0;
  size_t next = 0;
  for (size_t c = 0; c < 2 && next < wanted.size(); ++c) {
    for (const TrackPoint& point : track) {
      while (next < wanted.size() && wanted[next].first == index) {
        wanted[next++].second->offset = offset;
      }
      if (next == wanted.size()) return;
      offset += entry_size(point[c]);
      ++index;
    }
  }
}

std::string number_words(const TrackNumber& n) {
  if (const int16_t* i = std::get_if<int16_t>(&n)) return std::to_string(*i);
  if (const double* d = std::get_if<double>(&n)) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", *d);
    return text;
  }
  return "empty";
}

bool same_number(const TrackNumber& a, const TrackNumber& b) {
  if (a.index() != b.index()) return false;
  if (const double* d = std::get_if<double>(&a)) {
    return std::bit_cast<uint64_t>(*d) == std::bit_cast<uint64_t>(std::get<double>(b));
  }
  return a == b;
}

int64_t cell_field(const RouteCell& c, size_t f) {
  const int64_t values[] = {c.kind,        c.value_1,     c.value_2,       c.value_3,
                            c.value_4,     c.signal_time, c.approach_code, c.span_kind,
                            c.speed_limit, c.gradient,    c.adhesion};
  return values[f];
}

constexpr std::string_view kItemNumberFields[] = {
    "kind",    "num_1",   "num_2",  "num_3",  "flag",   "small_1", "small_2", "small_3",
    "small_4", "small_5", "byte_1", "byte_2", "byte_3", "byte_4",  "num_4"};

int64_t item_field(const ItemRecord& a, size_t f) {
  const int64_t values[] = {a.kind,    a.num_1,   a.num_2,   a.num_3,   a.flag,
                            a.small_1, a.small_2, a.small_3, a.small_4, a.small_5,
                            a.byte_1,  a.byte_2,  a.byte_3,  a.byte_4,  a.num_4};
  return values[f];
}

}  // namespace

std::optional<std::string> field_value(const ScenarioFiles& files, ScenarioFileKind file,
                                       int64_t record, const std::string& field) {
  if (record < 0) return std::nullopt;
  const auto r = static_cast<size_t>(record);
  switch (file) {
    case ScenarioFileKind::kCell:
      if (r >= files.cells.size()) return std::nullopt;
      for (size_t f = 0; f < std::size(kCellFields); ++f) {
        if (kCellFields[f].name == field) return std::to_string(cell_field(files.cells[r], f));
      }
      return std::nullopt;
    case ScenarioFileKind::kItem:
      if (r >= files.items.size()) return std::nullopt;
      if (field == "name") return "\"" + windows1252_to_utf8(files.items[r].name) + "\"";
      for (size_t f = 0; f < std::size(kItemNumberFields); ++f) {
        if (kItemNumberFields[f] == field) return std::to_string(item_field(files.items[r], f));
      }
      return std::nullopt;
    case ScenarioFileKind::kTrack:
      if (!files.track || r >= files.track->size()) return std::nullopt;
      return number_words((*files.track)[r][field == "y" ? 1 : 0]);
  }
  return std::nullopt;
}

std::string refusal_place(const Refusal& refusal) {
  switch (refusal.file) {
    case ScenarioFileKind::kCell:
      return "cell " + std::to_string(refusal.record) + " (" +
             std::to_string((refusal.record - 1) * kCellLength) + " m)";
    case ScenarioFileKind::kItem:
      return "item " + std::to_string(refusal.record);
    case ScenarioFileKind::kTrack:
      return "track metre " + std::to_string(refusal.record);
  }
  return "";
}

void DecompileContext::refuse_cell(int32_t cell, std::string field, int64_t stored,
                                   std::string why) {
  refusals.push_back(
      {ScenarioFileKind::kCell, cell, std::move(field), 0, std::to_string(stored), std::move(why)});
}

void DecompileContext::refuse_item(int32_t entry, std::string field, std::string stored,
                                   std::string why) {
  if (field == "name") stored = "\"" + windows1252_to_utf8(stored) + "\"";
  refusals.push_back(
      {ScenarioFileKind::kItem, entry, std::move(field), 0, std::move(stored), std::move(why)});
}

void DecompileContext::refuse_track(int32_t metre, int coordinate, std::string stored,
                                    std::string why) {
  refusals.push_back({ScenarioFileKind::kTrack, metre, coordinate == 0 ? "x" : "y", 0,
                      std::move(stored), std::move(why)});
}

void place_refusals(std::vector<Refusal>& refusals, const ScenarioFiles& files) {
  for (Refusal& r : refusals) {
    if (r.file == ScenarioFileKind::kCell) {
      r.offset =
          static_cast<uint64_t>(r.record) * kCellRecordSize + field_offset(kCellFields, r.field);
    } else if (r.file == ScenarioFileKind::kItem) {
      r.offset = item_offset(files.items, r.record, r.field);
    }
  }
  if (files.track) place_track_refusals(refusals, *files.track);
  std::stable_sort(refusals.begin(), refusals.end(), [](const Refusal& a, const Refusal& b) {
    if (a.file != b.file) return a.file < b.file;
    return a.offset < b.offset;
  });
}

void list_differences(const ScenarioFiles& stored, const ScenarioFiles& made,
                      std::vector<Refusal>& out, size_t most) {
  const auto add = [&](ScenarioFileKind file, int64_t record, std::string field, std::string value,
                       std::string given) {
    // A field already refused for a reason of its own keeps that reason.
    for (const Refusal& r : out) {
      if (r.file == file && r.record == record && r.field == field) return;
    }
    if (out.size() >= most) return;
    out.push_back({file, record, std::move(field), 0, std::move(value),
                   "no description gives it: the closest descriptions give " + std::move(given)});
  };
  const size_t cells = std::max(stored.cells.size(), made.cells.size());
  for (size_t c = 0; c < cells; ++c) {
    if (c >= stored.cells.size() || c >= made.cells.size()) {
      add(ScenarioFileKind::kCell, static_cast<int64_t>(c), "kind",
          c < stored.cells.size() ? std::to_string(stored.cells[c].kind) : "none",
          c < made.cells.size() ? "a cell here" : "no cell here");
      break;
    }
    for (size_t f = 0; f < std::size(kCellFields); ++f) {
      const int64_t a = cell_field(stored.cells[c], f);
      const int64_t b = cell_field(made.cells[c], f);
      if (a != b) {
        add(ScenarioFileKind::kCell, static_cast<int64_t>(c), std::string(kCellFields[f].name),
            std::to_string(a), std::to_string(b));
      }
    }
  }
  for (size_t e = 0; e < stored.items.size() && e < made.items.size(); ++e) {
    for (size_t f = 0; f < std::size(kItemNumberFields); ++f) {
      const int64_t a = item_field(stored.items[e], f);
      const int64_t b = item_field(made.items[e], f);
      if (a != b) {
        add(ScenarioFileKind::kItem, static_cast<int64_t>(e), std::string(kItemNumberFields[f]),
            std::to_string(a), std::to_string(b));
      }
    }
    const std::string& a = stored.items[e].name;
    const std::string& b = made.items[e].name;
    if (a != b) {
      add(ScenarioFileKind::kItem, static_cast<int64_t>(e), "name",
          "\"" + windows1252_to_utf8(a) + "\"", "\"" + windows1252_to_utf8(b) + "\"");
    }
  }
  if (stored.track && made.track) {
    const size_t rows = std::min(stored.track->size(), made.track->size());
    for (size_t m = 0; m < rows; ++m) {
      for (int c = 0; c < 2; ++c) {
        const TrackNumber& a = (*stored.track)[m][static_cast<size_t>(c)];
        const TrackNumber& b = (*made.track)[m][static_cast<size_t>(c)];
        if (!same_number(a, b)) {
          add(ScenarioFileKind::kTrack, static_cast<int64_t>(m), c == 0 ? "x" : "y",
              number_words(a), number_words(b));
        }
      }
    }
  }
}

}  // namespace tracciato
