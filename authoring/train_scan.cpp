// The train description as the train parser reads it: everything up to a
// "[generale]" field is skipped, then every key field is tested against every
// key, in any letter case.
#include <utility>

#include "authoring/scan_reader.h"
#include "compiler/runtime_failure.h"

namespace tracciato {
namespace {

using W = ValueWidth;

constexpr int kCommentFields = 2;

// In the order the parser tests them.
const std::vector<KeyRule>& train_rules() {
  static const std::vector<KeyRule> rules = {
      {RecordKind::kBrakedMass, {"frenata", "massa"}, true, {W::kNumber}},
      {RecordKind::kCoaches, {"vetture"}, true, {W::kNumber}},
      {RecordKind::kSpeedLimit, {"velocit"}, true, {W::kNumber, W::kNumber}},
      {RecordKind::kAdhesion, {"aderenza"}, true, {W::kNumber, W::kNumber}},
      {RecordKind::kClock, {"orologio"}, true, {W::kI16, W::kI16, W::kI16}},
      {RecordKind::kSand, {"sabbia"}, true, {W::kI16}},
      {RecordKind::kSignal, {"segnale"}, true, std::vector<W>(11, W::kNumber)},
      {RecordKind::kSlowdown, {"rallentamento"}, true, std::vector<W>(6, W::kNumber)},
      {RecordKind::kAbbattimento, {"abbattimento"}, true, {W::kNumber, W::kNumber}},
      // Position, kind, length, ten parameters, the time of day, the name.
      {RecordKind::kStation,
       {"stazione"},
       true,
       {W::kNumber, W::kU8, W::kNumber, W::kU8, W::kU8, W::kU8, W::kI16, W::kI16, W::kU8, W::kI16,
        W::kI16, W::kI16, W::kU8, W::kNumber, W::kNumber, W::kNumber, W::kText}},
  };
  return rules;
}

class TrainScan {
 public:
  explicit TrainScan(std::string_view text) : in_(text) { scan_.description = Description::kTrain; }

  DescriptionScan run() {
    try {
      if (find_general_section()) records();
    } catch (const RuntimeFailure&) {
      scan_.stopped_at = in_.last_site();
    }
    return std::move(scan_);
  }

 private:
  bool find_general_section() {
    while (!in_.at_end()) {
      if (contains_any_case(in_.read_key(KeySection::kTrain).text, "[generale]")) {
        scan_.general_heading_found = true;
        return true;
      }
    }
    return false;
  }

  // A key field whose read reaches the end of the text is never examined.
  void records() {
    while (!in_.at_end()) {
      KeyField key = in_.read_key(KeySection::kTrain);
      if (in_.at_end()) return;
      if (!skip_comment_fields(in_, scan_, key, KeySection::kTrain, kCommentFields, true)) return;
      scan_.key_fields.push_back(std::move(key));
      run_rules(train_rules(), in_, scan_.key_fields.back(), scan_);
    }
  }

  ScanReader in_;
  DescriptionScan scan_;
};

}  // namespace

DescriptionScan scan_train_description(std::string_view text) { return TrainScan(text).run(); }

}  // namespace tracciato
