#include <string>

#include "compiler/checked_int.h"
#include "compiler/route_access.h"
#include "compiler/train_phase.h"

namespace tracciato {
namespace {

constexpr int32_t kStationNotOnCell = 8;
constexpr int32_t kStationLengthNotWhole = 9;
constexpr int32_t kStationsMeetSigns = 10;
constexpr int32_t kStationsTooClose = 22;
constexpr int32_t kStopMarkBeforeRoute = 24;

// A station needs 800 m of route after its position for its span.
constexpr int32_t kStationMargin = 800;
constexpr int32_t kLengthUnit = 100;
// Kinds from this one on (junctions) have no stop and no approach codes.
constexpr uint8_t kFirstKindWithoutStop = 25;
// A short station's span ends 150 m after its position.
constexpr int32_t kShortSpanEnd = 150;
constexpr int32_t kEndExtension = 50;
constexpr int32_t kStationGap = 350;
// A station shorter than this has no use for byte_4.
constexpr int32_t kByte4From = 600;
constexpr int kApproachCodes = 4;
constexpr uint8_t kStationApproachCode = 80;

double in_cells(int32_t metres) { return static_cast<double>(metres) / kCellLength; }

// Fields 4 to 13 and the time of day, stored as they are read: a field that
// fails leaves the ones before it in the entry.
void read_parameters(RecordValues& in, ItemRecord& station) {
  station.flag = in.read_u8();
  station.byte_4 = in.read_u8();
  station.byte_3 = in.read_u8();  // the end extension flag
  station.small_1 = in.read_i16();
  station.small_2 = in.read_i16();
  station.byte_1 = in.read_u8();
  station.small_3 = in.read_i16();
  station.small_4 = in.read_i16();
  station.small_5 = in.read_i16();
  station.byte_2 = in.read_u8();
  const int32_t hours = in.read_number();
  const int32_t minutes = in.read_number();
  const int32_t seconds = in.read_number();
  station.num_4 =
      checked::add(checked::mul(checked::add(checked::mul(hours, 60), minutes), 60), seconds);
  station.name = in.read_stored_text();
}

// The stretch of route the station occupies, from num_1 to num_2 metres.
void compute_span(ItemRecord& station, int32_t p, int32_t length) {
  switch (station.kind) {
    case 5:
    case 6:
      station.num_1 = checked::sub(p, length);
      station.num_2 = checked::add(p, kShortSpanEnd);
      station.byte_3 = 0;
      break;
    case 7:
    case 8:
      station.num_1 = checked::sub(p, length);
      station.num_2 = checked::add(p, length);
      station.byte_3 = 0;
      break;
    default:
      station.num_1 = round_half_even(p - static_cast<double>(length) / 2);
      station.num_2 = station.byte_3 != 0
                          ? round_half_even(p + static_cast<double>(length) / 2 + kEndExtension)
                          : round_half_even(p + static_cast<double>(length) / 2);
  }
}

}  // namespace

RecordEnd read_station(TrainPhase& phase) {
  ScenarioModel& model = phase.model;
  RecordValues& in = *phase.values;
  const int32_t s = phase.station_index;
  // The entry belongs to an indication sign: refuse before reading anything.
  if (s > phase.sign_slot) {
    phase.record_code(kStationsMeetSigns);
    return RecordEnd::kReturn;
  }
  ItemRecord& station = model.item_table[static_cast<size_t>(s)];

  station.num_3 = in.read_number();
  const int32_t p = station.num_3;
  if (!phase.inside_route(p, kStationMargin)) {
    return phase.beyond_route(p, kStationMargin);
  }
  if (p % kCellLength != 0) {
    phase.record_at(kStationNotOnCell, p);
    return RecordEnd::kReturn;
  }
  station.kind = in.read_u8();
  const int32_t length = in.read_number();
  if (length % kLengthUnit != 0) {
    phase.record_at(kStationLengthNotWhole, p, 2);
    const int64_t below =
        int64_t{length} / kLengthUnit * kLengthUnit - (length < 0 ? kLengthUnit : 0);
    model.error_detail = "the station's length " + std::to_string(length) +
                         " m is not a multiple of 100 metres: the nearest valid lengths are " +
                         std::to_string(below) + " and " + std::to_string(below + kLengthUnit) +
                         " m";
    return RecordEnd::kReturn;
  }
  read_parameters(in, station);

  compute_span(station, p, length);  // with byte_3 as read
  if (length < kByte4From) station.byte_4 = 0;
  if (s == 1) {
    station.byte_3 = 0;
    station.byte_4 = 0;
  }

  const bool stops = station.kind < kFirstKindWithoutStop;
  const double end_cells = in_cells(station.num_2);
  if (stops && round_half_even(end_cells - 1) > model.last_cell) {
    phase.record_at(kOutsideRouteCells, p);
    return RecordEnd::kReturn;
  }
  // The cab counts down to the stop: codes 81 to 84 in the cells 2 to 5
  // before the station's end, away from the station.
  if (stops && station.kind != 5 && station.kind != 6) {
    for (int32_t k = 1; k <= kApproachCodes; ++k) {
      const double before = end_cells - k - 1;
      if (before > 1) {
        route_cell(model, round_half_even(before)).approach_code =
            static_cast<uint8_t>(kStationApproachCode + k);
      }
    }
  }
  if (stops) {
    if (!(end_cells - 1 > 1)) {
      phase.record_code(kStopMarkBeforeRoute);
      return RecordEnd::kReturn;
    }
    RouteCell& stop = route_cell(model, round_half_even(end_cells - 1));
    stop.kind = kStationStopCell;
    stop.value_1 = static_cast<int16_t>(s);
    note_placed(model, round_half_even(end_cells - 1));
  }

  if (s > 1 && checked::sub(station.num_1, kStationGap) <
                   model.item_table[static_cast<size_t>(s - 1)].num_2) {
    phase.record_at(kStationsTooClose, p);
    return RecordEnd::kReturn;
  }
  phase.station_index = s + 1;
  if (phase.station_index >= phase.sign_slot) {
    phase.record_code(kStationsMeetSigns);
    return RecordEnd::kReturn;
  }
  return RecordEnd::kGoOn;
}

}  // namespace tracciato
