// Values stored in fewer bits than they need, or packed so that they run
// into each other: the compiler keeps the low bits without a word.
#include <cstdint>

#include "authoring/lint.h"
#include "compiler/scenario_model.h"

namespace tracciato {
namespace {

constexpr int64_t kGradientOffset = 100;
constexpr int32_t kSpeedStep = 5;
constexpr int32_t kMarkerSpanKindOffset = 10;
constexpr int32_t kShortTimeFrom = 1;  // signal times 1 to 100 are stored as 101
constexpr int32_t kShortTimeTo = 100;
constexpr int32_t kShortTimeStored = 101;
constexpr int32_t kTimedSignalSide = 2;  // only a signal with sx 2 keeps its time

bool fits_u8(int64_t v) { return v >= 0 && v <= UINT8_MAX; }
bool fits_i16(int64_t v) { return v >= INT16_MIN && v <= INT16_MAX; }

std::string n(int64_t v) { return std::to_string(v); }

class ValueCheck final : public RecordCheck {
 public:
  explicit ValueCheck(Description description) : description_(description) {}

  std::vector<LintWarning> take_warnings() override { return std::move(warnings_); }

  void record(const ScannedRecord& r) override {
    switch (r.kind) {
      case RecordKind::kGradient:
        gradient(r);
        break;
      case RecordKind::kAdhesion:
        one_byte(r.numbers[1], "adhesion");
        break;
      case RecordKind::kSpeedLimit:
        speed_limit(r);
        break;
      case RecordKind::kMountainSpan:
        span_kind(r);
        break;
      case RecordKind::kSpeedIndicators:
        stripes(r);
        break;
      case RecordKind::kSignal:
        signal(r);
        break;
      case RecordKind::kSlowdown:
        for (size_t i : {1, 3, 5}) sixteen_bits(r.numbers[i], slowdown_value_names[i]);
        break;
      default:
        break;
    }
  }

 private:
  static constexpr const char* slowdown_value_names[] = {"x",    "speed v", "l",
                                                         "f_tt", "f_ta",    "d_v"};

  void warn(const ScannedValue& v, std::string message) {
    warnings_.push_back({description_, v.site, std::move(message), std::nullopt});
  }

  void gradient(const ScannedRecord& r) {
    const ScannedValue& g = r.numbers[1];
    const int64_t stored = g.number + kGradientOffset;
    if (fits_u8(stored)) return;
    warn(g, "gradient " + n(g.number) +
                " is stored as gradient + 100 in one byte, which holds -100 to 155: it becomes " +
                n(static_cast<uint8_t>(stored) - kGradientOffset));
  }

  void one_byte(const ScannedValue& v, std::string_view what) {
    if (fits_u8(v.number)) return;
    warn(v, std::string(what) + " " + n(v.number) +
                " is stored in one byte, which holds 0 to 255: it becomes " +
                n(static_cast<uint8_t>(v.number)));
  }

  void sixteen_bits(const ScannedValue& v, std::string_view what) {
    if (fits_i16(v.number)) return;
    warn(v, std::string(what) + " " + n(v.number) +
                " is stored in 16 bits, which hold -32768 to 32767: it becomes " +
                n(static_cast<int16_t>(v.number)));
  }

  void speed_limit(const ScannedRecord& r) {
    const ScannedValue& v = r.numbers[1];
    if (v.number % kSpeedStep == 0) return;
    const int64_t stored =
        int64_t{round_half_even(v.number / static_cast<double>(kSpeedStep))} * kSpeedStep;
    warn(v, "speed " + n(v.number) + " km/h is stored in steps of 5 km/h: it becomes " + n(stored) +
                " km/h");
  }

  void span_kind(const ScannedRecord& r) {
    const ScannedValue& tipo = r.numbers[2];
    const int64_t kind = tipo.number > kMarkerSpanKindOffset
                             ? int64_t{tipo.number} - kMarkerSpanKindOffset
                             : tipo.number;
    if (fits_u8(kind)) return;
    warn(tipo, "span kind " + n(tipo.number) + " is stored in one byte: it becomes " +
                   n(static_cast<uint8_t>(kind)));
  }

  // Two stripe counts share one value as s x 10 + d.
  void stripes(const ScannedRecord& r) {
    const ScannedValue& s = r.numbers[4];
    const ScannedValue& d = r.numbers[8];
    if (d.number >= 0 && d.number <= 9 && s.number >= 0 &&
        fits_i16(int64_t{s.number} * 10 + d.number))
      return;
    warn(d.number >= 0 && d.number <= 9 ? s : d,
         "stripe counts " + n(s.number) + " and " + n(d.number) +
             " are packed as s x 10 + d into 16 bits: d must lie in 0..9 and s in 0..3275, or they "
             "run into each other");
  }

  // The aspect numbers are packed in decimal: 10 x s + d per aspect, and
  // 10 x rapp + 3 x sx + dx, so each d must be a digit and sx, dx 0 to 2.
  void signal(const ScannedRecord& r) {
    const auto& v = r.numbers;
    const ScannedValue& sx = v[1];
    const ScannedValue& rapp = v[5];
    const ScannedValue& dx = v[6];
    for (int i = 0; i < 3; ++i) {
      const ScannedValue& s = v[2 + i];
      const ScannedValue& d = v[7 + i];
      const std::string name = n(i + 1);
      if (d.number < 0 || d.number > 9) {
        warn(d, "d" + name + " " + n(d.number) + " runs into s" + name +
                    ": they are packed as 10 x s + d, so d must lie in 0..9");
      } else if (s.number < 0 || !fits_i16(int64_t{s.number} * 10 + d.number)) {
        warn(s, "s" + name + " " + n(s.number) +
                    " does not fit the packed value 10 x s + d (16 bits): s must lie in 0..3275");
      }
    }
    for (const ScannedValue* side : {&sx, &dx}) {
      if (side->number < 0 || side->number > 2) {
        warn(*side, std::string(side == &sx ? "sx " : "dx ") + n(side->number) +
                        " must lie in 0..2: sx and dx are packed as 3 x sx + dx into one digit");
      }
    }
    const int64_t packed = int64_t{rapp.number} * 10 + int64_t{sx.number} * 3 + dx.number;
    if (rapp.number < 0 || !fits_i16(packed)) {
      warn(rapp, "rapp " + n(rapp.number) +
                     " does not fit the packed value 10 x rapp + 3 x sx + dx (16 bits): rapp must "
                     "lie in 0..3275");
    }
    if (sx.number == kTimedSignalSide) {
      const ScannedValue& tempo = v[10];
      const int32_t stored = tempo.number >= kShortTimeFrom && tempo.number <= kShortTimeTo
                                 ? kShortTimeStored
                                 : tempo.number;
      if (!fits_u8(stored)) {
        warn(tempo, "signal time " + n(tempo.number) +
                        " is stored in one byte, which holds 0 to 255: it becomes " +
                        n(static_cast<uint8_t>(stored)));
      }
    }
  }

  Description description_;
  std::vector<LintWarning> warnings_;
};

}  // namespace

std::unique_ptr<RecordCheck> value_check(Description description) {
  return std::make_unique<ValueCheck>(description);
}

}  // namespace tracciato
