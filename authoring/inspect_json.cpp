// JSON form of a decoded scenario file, and the way back.
//
// Names are Windows-1252 bytes in the files and UTF-8 in JSON; the two
// conversions of text/windows1252.h undo each other. Track coordinates keep
// their type: a 16-bit integer entry is a JSON integer, a real entry a JSON
// number with a fraction or exponent (nlohmann writes 5.0, never 5), an
// empty entry null. JSON has no NaN or infinity, so a real that is not finite
// is written as the string of its 64 bits in hex.
#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>

#include "authoring/inspect_report.h"
#include "authoring/inspect_selection.h"
#include "authoring/record_meaning.h"
#include "text/windows1252.h"

namespace tracciato {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

ordered_json cell_json(size_t index, const RouteCell& cell) {
  ordered_json j;
  j["cell"] = index;
  j["kind"] = cell.kind;
  j["value_1"] = cell.value_1;
  j["value_2"] = cell.value_2;
  j["value_3"] = cell.value_3;
  j["value_4"] = cell.value_4;
  j["signal_time"] = cell.signal_time;
  j["approach_code"] = cell.approach_code;
  j["span_kind"] = cell.span_kind;
  j["speed_limit"] = cell.speed_limit;
  j["gradient"] = cell.gradient;
  j["adhesion"] = cell.adhesion;
  if (cell.kind != 0) j["object"] = cell_kind_name(cell.kind);
  if (const std::string meaning = cell_meaning(cell, index); !meaning.empty())
    j["meaning"] = meaning;
  if (cell.approach_code != 0) j["approach"] = approach_meaning(cell.approach_code);
  return j;
}

ordered_json item_json(size_t index, const ItemRecord& item, ItemRole role) {
  ordered_json j;
  j["entry"] = index;
  j["role"] = item_role_name(role);
  j["kind"] = item.kind;
  j["num_1"] = item.num_1;
  j["num_2"] = item.num_2;
  j["num_3"] = item.num_3;
  j["flag"] = item.flag;
  j["name"] = windows1252_to_utf8(item.name);
  j["small_1"] = item.small_1;
  j["small_2"] = item.small_2;
  j["small_3"] = item.small_3;
  j["small_4"] = item.small_4;
  j["small_5"] = item.small_5;
  j["byte_1"] = item.byte_1;
  j["byte_2"] = item.byte_2;
  j["byte_3"] = item.byte_3;
  j["byte_4"] = item.byte_4;
  j["num_4"] = item.num_4;
  if (const std::string meaning = item_meaning(item, role); !meaning.empty())
    j["meaning"] = meaning;
  return j;
}

ordered_json track_number_json(const TrackNumber& n) {
  if (const int16_t* i = std::get_if<int16_t>(&n)) return *i;
  if (const double* d = std::get_if<double>(&n)) {
    if (std::isfinite(*d)) return *d;
    char bits[24];
    std::snprintf(bits, sizeof bits, "0x%016" PRIx64, std::bit_cast<uint64_t>(*d));
    return bits;
  }
  return nullptr;
}

// ---- reading back ----

[[noreturn]] void refuse(const std::string& where, const std::string& what) {
  throw DecodeError(where + ": " + what);
}

template <typename T>
T field(const json& record, const char* name, const std::string& where) {
  const auto it = record.find(name);
  if (it == record.end() || !it->is_number_integer())
    refuse(where, std::string("no whole number \"") + name + "\"");
  const auto v = it->get<int64_t>();
  if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) {
    refuse(where, std::string("\"") + name + "\" " + std::to_string(v) + " does not fit its field");
  }
  return static_cast<T>(v);
}

const json& records(const json& doc, const char* name) {
  const auto it = doc.find(name);
  if (it == doc.end() || !it->is_array())
    throw DecodeError(std::string("no \"") + name + "\" array");
  return *it;
}

// The records must be the whole file: numbered 0 upward with none left out.
void check_numbering(const json& record, const char* index_name, size_t expected,
                     const std::string& where) {
  if (field<int64_t>(record, index_name, where) != static_cast<int64_t>(expected)) {
    refuse(where, "out of sequence: a whole file lists every record in order");
  }
}

std::vector<RouteCell> cells_from(const json& doc) {
  std::vector<RouteCell> cells;
  for (const json& r : records(doc, "cells")) {
    const std::string where = "cell record " + std::to_string(cells.size());
    check_numbering(r, "cell", cells.size(), where);
    RouteCell c;
    c.kind = field<uint8_t>(r, "kind", where);
    c.value_1 = field<int16_t>(r, "value_1", where);
    c.value_2 = field<int16_t>(r, "value_2", where);
    c.value_3 = field<int16_t>(r, "value_3", where);
    c.value_4 = field<int16_t>(r, "value_4", where);
    c.signal_time = field<uint8_t>(r, "signal_time", where);
    c.approach_code = field<uint8_t>(r, "approach_code", where);
    c.span_kind = field<uint8_t>(r, "span_kind", where);
    c.speed_limit = field<uint8_t>(r, "speed_limit", where);
    c.gradient = field<uint8_t>(r, "gradient", where);
    c.adhesion = field<uint8_t>(r, "adhesion", where);
    cells.push_back(c);
  }
  return cells;
}

std::vector<ItemRecord> items_from(const json& doc) {
  std::vector<ItemRecord> items;
  for (const json& r : records(doc, "items")) {
    const std::string where = "item record " + std::to_string(items.size());
    check_numbering(r, "entry", items.size(), where);
    ItemRecord item;
    item.kind = field<uint8_t>(r, "kind", where);
    item.num_1 = field<int32_t>(r, "num_1", where);
    item.num_2 = field<int32_t>(r, "num_2", where);
    item.num_3 = field<int32_t>(r, "num_3", where);
    item.flag = field<uint8_t>(r, "flag", where);
    const auto name = r.find("name");
    if (name == r.end() || !name->is_string()) refuse(where, "no text \"name\"");
    const std::optional<std::string> bytes = utf8_to_windows1252(name->get<std::string>());
    if (!bytes) refuse(where, "the name holds a character that Windows-1252 cannot carry");
    if (bytes->size() > std::numeric_limits<uint16_t>::max())
      refuse(where, "the name is longer than 65535 bytes");
    item.name = *bytes;
    item.small_1 = field<int16_t>(r, "small_1", where);
    item.small_2 = field<int16_t>(r, "small_2", where);
    item.small_3 = field<int16_t>(r, "small_3", where);
    item.small_4 = field<int16_t>(r, "small_4", where);
    item.small_5 = field<int16_t>(r, "small_5", where);
    item.byte_1 = field<uint8_t>(r, "byte_1", where);
    item.byte_2 = field<uint8_t>(r, "byte_2", where);
    item.byte_3 = field<uint8_t>(r, "byte_3", where);
    item.byte_4 = field<uint8_t>(r, "byte_4", where);
    item.num_4 = field<int32_t>(r, "num_4", where);
    items.push_back(std::move(item));
  }
  if (items.size() != kItemCount) {
    throw DecodeError("an item file has 87 records; the JSON holds " +
                      std::to_string(items.size()));
  }
  return items;
}

TrackNumber track_number_from(const json& v, const std::string& where) {
  if (v.is_null()) return std::monostate{};
  if (v.is_number_integer()) {
    const auto i = v.get<int64_t>();
    if (i < INT16_MIN || i > INT16_MAX) refuse(where, "an integer entry beyond 16 bits");
    return static_cast<int16_t>(i);
  }
  if (v.is_number_float()) return v.get<double>();
  if (v.is_string()) {
    uint64_t bits = 0;
    const std::string text = v.get<std::string>();
    if (std::sscanf(text.c_str(), "0x%" SCNx64, &bits) == 1) return std::bit_cast<double>(bits);
  }
  refuse(where, "an entry is neither null, an integer, a real nor the bits of a real");
}

std::vector<TrackPoint> track_from(const json& doc) {
  std::vector<TrackPoint> track;
  for (const json& r : records(doc, "points")) {
    const std::string where = "track row " + std::to_string(track.size());
    check_numbering(r, "metre", track.size(), where);
    if (!r.contains("x") || !r.contains("y")) refuse(where, "no \"x\" and \"y\"");
    track.push_back({track_number_from(r["x"], where), track_number_from(r["y"], where)});
  }
  return track;
}

}  // namespace

std::string inspect_json(const DecodedScenarioFile& file, const InspectOptions& options) {
  ordered_json doc;
  doc["format"] = kind_name(file.kind);
  switch (file.kind) {
    case ScenarioFileKind::kCell: {
      doc["cell_count"] = file.cells.size();
      ordered_json& out = doc["cells"] = ordered_json::array();
      for (size_t i = 0; i < file.cells.size(); ++i) {
        if (shown(options, i, file.cells[i])) out.push_back(cell_json(i, file.cells[i]));
      }
      break;
    }
    case ScenarioFileKind::kItem: {
      const std::vector<ItemRole> roles = item_roles(file.items);
      ordered_json& out = doc["items"] = ordered_json::array();
      for (size_t i = 0; i < file.items.size(); ++i) {
        if (shown(options, i, file.items[i])) out.push_back(item_json(i, file.items[i], roles[i]));
      }
      break;
    }
    case ScenarioFileKind::kTrack: {
      doc["point_count"] = file.track.size();
      ordered_json& out = doc["points"] = ordered_json::array();
      for (size_t m = 0; m < file.track.size(); ++m) {
        if (!shown(options, m, file.track[m])) continue;
        ordered_json p;
        p["metre"] = m;
        p["x"] = track_number_json(file.track[m][0]);
        p["y"] = track_number_json(file.track[m][1]);
        out.push_back(std::move(p));
      }
      break;
    }
  }
  return doc.dump(1) + "\n";
}

DecodedScenarioFile decoded_file_from_json(std::string_view text) {
  const json doc = json::parse(text, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) throw DecodeError("not a JSON object");
  const auto format = doc.find("format");
  if (format == doc.end() || !format->is_string()) throw DecodeError("no \"format\"");
  const std::optional<ScenarioFileKind> kind = kind_from_word(format->get<std::string>());
  if (!kind) throw DecodeError("\"format\" is none of cell, item, track");
  DecodedScenarioFile file;
  file.kind = *kind;
  switch (*kind) {
    case ScenarioFileKind::kCell:
      file.cells = cells_from(doc);
      break;
    case ScenarioFileKind::kItem:
      file.items = items_from(doc);
      break;
    case ScenarioFileKind::kTrack:
      file.track = track_from(doc);
      break;
  }
  return file;
}

}  // namespace tracciato
