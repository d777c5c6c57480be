// The line description as the line parser reads it: the general section up
// to its section-end field, then the feature part.
#include <utility>

#include "authoring/scan_reader.h"
#include "compiler/runtime_failure.h"

namespace tracciato {
namespace {

using W = ValueWidth;

// Comment fields skipped in a row before a key: ten in the general section,
// with no end-of-text test between them, two in the feature part.
constexpr int kGeneralCommentFields = 10;
constexpr int kFeatureCommentFields = 2;

// In the order the parser tests them; the progressives, backgrounds and the
// signal repetition are matched in exact case.
const std::vector<KeyRule>& general_rules() {
  static const std::vector<KeyRule> rules = {
      {RecordKind::kLineLength, {"percorso", "lunghezza"}, true, {W::kNumber}},
      {RecordKind::kProgressive,
       {"tre", "progressiva"},
       false,
       {W::kNumber, W::kNumber, W::kNumber}},
      {RecordKind::kProgressive,
       {"due", "progressiva"},
       false,
       {W::kNumber, W::kNumber, W::kNumber}},
      {RecordKind::kProgressive,
       {"uno", "progressiva"},
       false,
       {W::kNumber, W::kNumber, W::kNumber}},
      {RecordKind::kBackground, {"sfondo", "uno"}, false, {W::kNumber}},
      {RecordKind::kBackground, {"sfondo", "due"}, false, {W::kNumber}},
      {RecordKind::kBackground, {"sfondo", "tre"}, false, {W::kNumber}},
      {RecordKind::kSignalRepetition, {"segnali", "ripetizione"}, false, {W::kNumber, W::kNumber}},
  };
  return rules;
}

// The author's compile always computes the track, so curves are read.
const std::vector<KeyRule>& feature_rules() {
  static const std::vector<KeyRule> rules = {
      {RecordKind::kGradient, {"pendenza"}, true, {W::kNumber, W::kNumber}},
      {RecordKind::kCurve, {"curva"}, true, {W::kNumber, W::kNumber}},
      {RecordKind::kMountainSpan, {"montagna"}, true, {W::kNumber, W::kNumber, W::kNumber}},
      {RecordKind::kSpeedIndicators, {"indicatori_v"}, true, std::vector<W>(9, W::kNumber)},
      {RecordKind::kIndicationSign, {"indicat", "cartello"}, true, {W::kNumber, W::kText}},
  };
  return rules;
}

bool is_section_end(std::string_view field) {
  const size_t start = field.find_first_not_of(" \t");
  if (start == std::string_view::npos) return false;
  const std::string_view rest = field.substr(start);
  return rest.front() != '-' && contains(rest, "[") && contains(rest, "]");
}

class LineScan {
 public:
  explicit LineScan(std::string_view text) : in_(text) { scan_.description = Description::kLine; }

  DescriptionScan run() {
    try {
      if (find_general_section()) {
        general_section();
        feature_part();
      }
    } catch (const RuntimeFailure&) {
      scan_.stopped_at = in_.last_site();
    }
    return std::move(scan_);
  }

 private:
  bool find_general_section() {
    for (;;) {
      const KeyField field = in_.read_key(KeySection::kGeneral);
      if (in_.at_end()) return false;
      if (contains_any_case(field.text, "[generale]")) {
        scan_.general_heading_found = true;
        return true;
      }
    }
  }

  void general_section() {
    while (!in_.at_end()) {
      KeyField key = in_.read_key(KeySection::kGeneral);
      if (in_.at_end()) return;
      skip_comment_fields(in_, scan_, key, KeySection::kGeneral, kGeneralCommentFields, false);
      const bool section_end = is_section_end(key.text);
      scan_.key_fields.push_back(std::move(key));
      run_rules(general_rules(), in_, scan_.key_fields.back(), scan_);
      if (section_end) return;
    }
  }

  void feature_part() {
    while (!in_.at_end()) {
      KeyField key = in_.read_key(KeySection::kFeatures);
      if (in_.at_end()) return;
      if (!skip_comment_fields(in_, scan_, key, KeySection::kFeatures, kFeatureCommentFields,
                               true)) {
        return;
      }
      scan_.key_fields.push_back(std::move(key));
      run_rules(feature_rules(), in_, scan_.key_fields.back(), scan_);
    }
  }

  ScanReader in_;
  DescriptionScan scan_;
};

}  // namespace

DescriptionScan scan_line_description(std::string_view text) { return LineScan(text).run(); }

}  // namespace tracciato
