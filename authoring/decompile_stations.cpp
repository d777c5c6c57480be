// The stations read back from their item entries: the record's own fields,
// the length from the span the compile derived, the time of day split into
// hours, minutes and seconds, and the approach codes and stop mark each
// station writes into the cells.
//
// A station the compile stored only in part (its position beyond the route,
// off the 50 m grid, a length off the 100 m grid), or stored whole and then
// refused (too close to the one before, its stop mark before the route, the
// entries meeting the signs') ends the reading, so it is the last record of
// the train.
#include <algorithm>
#include <map>

#include "authoring/decompile_train.h"
#include "authoring/description_writer.h"

namespace tracciato {
namespace {

constexpr int32_t kLengthUnit = 100;
constexpr int32_t kShortSpanEnd = 150;
constexpr int32_t kEndExtension = 50;
constexpr int32_t kByte4From = 600;
constexpr int32_t kStationGap = 350;
constexpr uint8_t kFirstKindWithoutStop = 25;
constexpr uint8_t kStationApproachCode = 80;
constexpr int kApproachCodes = 4;
constexpr int32_t kSecondsPerHour = 3600;
constexpr int32_t kSecondsPerMinute = 60;
// A length that is no multiple of 100 m: the compile refuses it after
// storing the position and the kind.
constexpr int32_t kOffGridLength = 50;

// The record's values in the grammar row's order, from an entry.
std::vector<int32_t> station_values(const ItemRecord& item, int32_t length, uint8_t byte_4,
                                    uint8_t byte_3) {
  const int32_t t = item.num_4;
  return {item.num_3,
          item.kind,
          length,
          item.flag,
          byte_4,
          byte_3,
          item.small_1,
          item.small_2,
          item.byte_1,
          item.small_3,
          item.small_4,
          item.small_5,
          item.byte_2,
          t / kSecondsPerHour,
          t / kSecondsPerMinute % 60,
          t % kSecondsPerMinute,
          0};
}

class StationReader {
 public:
  StationReader(DecompileContext& ctx, TrainPlacements& out) : ctx_(ctx), out_(out) {}

  void read() {
    // Signs take the entries from 80 down; the stations' must stay below the
    // next free one.
    const int32_t lowest_sign = ctx_.lowest_sign;
    sign_slot_ = lowest_sign - 1;
    int32_t count = 0;
    for (int32_t s = 1; s < lowest_sign; ++s) {
      if (!(ctx_.items[static_cast<size_t>(s)] == ItemRecord{})) count = s;
    }
    for (int32_t s = 1; s <= count; ++s) station(s, s == count);
    // A later station's stop mark replaces an earlier one's in the same cell.
    for (const auto& [c, s] : stop_marks_) {
      const RouteCell& cell = ctx_.cells[static_cast<size_t>(c)];
      if (cell.kind != kStationStopCell || cell.value_1 != s) {
        ctx_.refuse_cell(c, "kind", cell.kind,
                         "station " + std::to_string(s) + " puts its stop mark (kind 10, value " +
                             std::to_string(s) + ") here");
      }
    }
  }

 private:
  const ItemRecord& item(int32_t s) const { return ctx_.items[static_cast<size_t>(s)]; }

  void refuse(int32_t s, const std::string& field, int64_t stored, const std::string& why) {
    ctx_.refuse_item(s, field, std::to_string(stored), why);
  }

  // Only the fields read before the record failed hold anything.
  bool only_position_and_kind(const ItemRecord& it) const {
    ItemRecord rest = it;
    rest.num_3 = 0;
    rest.kind = 0;
    return rest == ItemRecord{};
  }

  void station(int32_t s, bool last) {
    const ItemRecord& it = item(s);
    if (it == ItemRecord{}) {
      refuse(s, "kind", 0, "an empty entry among the stations: each station fills the next one");
      return;
    }
    if (only_position_and_kind(it) && last) {
      partial(s, it.num_3);
      return;
    }
    // A last station that no whole record gives, with no span, was read only
    // in part.
    const size_t refusals = ctx_.refusals.size();
    const std::map<int32_t, int32_t> stop_marks = stop_marks_;
    const size_t stations = out_.stations.size();
    whole_station(s, last);
    if (ctx_.refusals.size() > refusals && last && it.num_1 == 0 && it.num_2 == 0) {
      ctx_.refusals.resize(refusals);
      out_.stations.resize(stations);
      stop_marks_ = stop_marks;
      out_.last_station.reset();
      read_in_part(s);
    }
  }

  void whole_station(int32_t s, bool last) {
    const ItemRecord& it = item(s);
    const int32_t p = it.num_3;
    const std::optional<Span> span = station_span(s, it);
    if (!span) return;
    const int32_t length = span->length;
    const bool first = s == 1;
    const uint8_t byte_4 = length < kByte4From || first ? 0 : it.byte_4;
    if (byte_4 != it.byte_4) {
      refuse(s, "byte_4", it.byte_4,
             first ? "the first station's byte 4 is always 0"
                   : "a station shorter than 600 m keeps 0 in byte 4");
    }
    // The end extension as read: the first station and kinds 5 to 8 end
    // with byte 3 at 0 whatever was read.
    const uint8_t byte_3 = first || !span->extension_kept ? (span->extended ? 1 : 0) : it.byte_3;
    ApproachWriter writer;
    writer.record = make_record(RecordKind::kStation, record_key(RecordKind::kStation),
                                station_values(it, length, byte_4, byte_3), it.name);
    if (!text_field(it.name)) {
      ctx_.refuse_item(s, "name", it.name,
                       "no field reads back as this name: it begins with a double quote, or needs "
                       "quoting and holds one");
    }
    if (!ctx_.fits_route(p, kStationMargin)) {
      refuse(s, "num_3", p, "a station needs 800 m of route after its position");
    }
    const bool stops = it.kind < kFirstKindWithoutStop;
    const int32_t end_cell = it.num_2 / kCellLength;
    if (stops && it.kind != 5 && it.kind != 6) {
      for (int32_t k = 1; k <= kApproachCodes; ++k) {
        if (end_cell - k - 1 > 1) {
          writer.codes.emplace_back(end_cell - k - 1, kStationApproachCode + k);
        }
      }
    }
    bool refused_here = false;
    if (stops) {
      if (end_cell - 1 > 1) {
        if (end_cell - 1 > ctx_.last_cell) {
          refuse(s, "num_2", it.num_2, "the station's stop mark would lie beyond the route");
        }
        stop_marks_[end_cell - 1] = s;
      } else {
        refused_here = true;  // its stop mark would lie before the route's third cell
      }
    }
    if (s > 1 && int64_t{it.num_1} - kStationGap < item(s - 1).num_2) refused_here = true;
    if (s + 1 >= sign_slot_) refused_here = true;
    if (refused_here) {
      if (!last) {
        refuse(s, "num_3", p,
               "the compile refuses this station after storing it, and reads nothing after it");
        return;
      }
      writer.record.stops_reading = true;
      out_.last_station = std::move(writer);
      return;
    }
    out_.stations.push_back(std::move(writer));
  }

  struct Span {
    int32_t length = 0;
    bool extended = false;        // the span ends 50 m later
    bool extension_kept = false;  // byte 3 keeps the end extension as read
  };

  // The length that gives the compile's span: p - L/2 to p + L/2 (50 m more
  // with the end extension), p - L to p + 150 for kinds 5 and 6, p - L to
  // p + L for kinds 7 and 8.
  std::optional<Span> station_span(int32_t s, const ItemRecord& it) {
    const int64_t p = it.num_3;
    const bool short_kind = it.kind == 5 || it.kind == 6;
    const bool long_kind = it.kind == 7 || it.kind == 8;
    const int64_t length = short_kind || long_kind ? p - it.num_1 : 2 * (p - it.num_1);
    int64_t end = p + length / 2;
    if (short_kind) end = p + kShortSpanEnd;
    if (long_kind) end = p + length;
    const bool extension_allowed = !short_kind && !long_kind;
    const bool extended = extension_allowed && it.num_2 == end + kEndExtension;
    if (p % kCellLength != 0 || length % kLengthUnit != 0 || length < INT32_MIN ||
        length > INT32_MAX || (it.num_2 != end && !extended)) {
      refuse(s, "num_2", it.num_2,
             "no length gives the station's span " + std::to_string(it.num_1) + " to " +
                 std::to_string(it.num_2) + " m around its position " + std::to_string(p));
      return std::nullopt;
    }
    if (extended != (it.byte_3 != 0) && s > 1 && extension_allowed) {
      refuse(s, "byte_3", it.byte_3, "byte 3 is the end extension: it lengthens the span by 50 m");
      return std::nullopt;
    }
    if ((s == 1 || !extension_allowed) && it.byte_3 != 0) {
      refuse(s, "byte_3", it.byte_3, "the compile leaves 0 in this station's byte 3");
      return std::nullopt;
    }
    return Span{static_cast<int32_t>(length), extended, extension_allowed};
  }

  // A station whose reading failed at a field: the fields before it are
  // stored as read and the span was never computed. The record is written
  // up to that field, which is written as no number.
  void read_in_part(int32_t s) {
    const ItemRecord& it = item(s);
    std::vector<int32_t> values = station_values(it, 0, it.byte_4, it.byte_3);
    // The grammar row's values: position, kind, length, the fields 4 to 13,
    // hours, minutes, seconds (stored together, once all three are read),
    // the name.
    constexpr size_t kTimeFields = 13;
    constexpr size_t kNameField = 16;
    size_t failing = 1;
    for (size_t v = 0; v < kTimeFields; ++v) {
      if (v != 2 && values[v] != 0) failing = v + 1;
    }
    // A time of day stored means the reading failed at the name: the text
    // ended there.
    if (it.num_4 != 0) failing = kNameField;
    if (failing == 2) failing = 3;  // the length is stored nowhere
    if (!it.name.empty() || it.num_3 % kCellLength != 0) {
      refuse(s, "num_2", 0, "a station stored without its span, whose reading cannot fail there");
      return;
    }
    ApproachWriter writer;
    writer.record = make_record(RecordKind::kStation, record_key(RecordKind::kStation), values);
    writer.record.stops_reading = true;
    writer.record.unreadable_value = static_cast<int32_t>(failing);
    out_.last_station = std::move(writer);
  }

  // A station the compile stored only its position (and kind) of.
  void partial(int32_t s, int32_t p) {
    const ItemRecord& it = item(s);
    std::vector<int32_t> values = station_values(it, 0, 0, 0);
    std::fill(values.begin() + 2, values.end(), 0);
    ApproachWriter writer;
    writer.record = make_record(RecordKind::kStation, record_key(RecordKind::kStation), values);
    writer.record.stops_reading = true;
    if (!ctx_.fits_route(p, kStationMargin)) {
      // Beyond the route: nothing after it is read, but the end steps run.
      out_.last_station_beyond_route = true;
      if (it.kind != 0) refuse(s, "kind", it.kind, "a station beyond the route stores no kind");
    } else if (p % kCellLength == 0) {
      writer.record.numbers[2] = kOffGridLength;
    } else if (it.kind != 0) {
      refuse(s, "kind", it.kind, "a station off the 50 m grid stores no kind");
    }
    out_.last_station = std::move(writer);
  }

  DecompileContext& ctx_;
  TrainPlacements& out_;
  int32_t sign_slot_ = kFirstSignSlot;
  std::map<int32_t, int32_t> stop_marks_;  // cell, the station whose mark it holds last
};

}  // namespace

void read_stations(DecompileContext& ctx, TrainPlacements& out) { StationReader(ctx, out).read(); }

}  // namespace tracciato
