#include "authoring/description_scan.h"

#include <algorithm>
#include <utility>

#include "authoring/key_field_check.h"
#include "compiler/description_walk.h"
#include "compiler/runtime_failure.h"

namespace tracciato {
namespace {

KeySection section_of(GrammarPart part) {
  switch (part) {
    case GrammarPart::kLineGeneral:
      return KeySection::kGeneral;
    case GrammarPart::kLineFeatures:
      return KeySection::kFeatures;
    case GrammarPart::kTrain:
      break;
  }
  return KeySection::kTrain;
}

// Places nothing: every record is read whole and the walk goes on.
class ReadEverything final : public RecordHandler {
 public:
  WalkStep record(const RecordRule&, RecordValues&) override { return WalkStep::kGoOn; }
};

// Writes down what the walk reads, in the shape the lint checks use; each
// key field goes to the key field check once its records are read.
class ScanBuilder final : public ParseListener {
 public:
  ScanBuilder(DescriptionScan& scan, KeyFieldCheck& keys)
      : scan_(scan),
        keys_(keys),
        positions_(position_check(scan.description)),
        values_(value_check(scan.description)) {}

  void general_heading(FieldSite) override { scan_.general_heading_found = true; }

  void key_field(const KeyFieldRead& read) override {
    const int32_t before = std::exchange(last_line_, read.site.line);
    if (read.role == KeyRole::kHeadingSearch || read.role == KeyRole::kUnexamined) return;
    finish_key();
    // One key field at a time, its room used again.
    key_.text = read.text;
    key_.site = read.site;
    key_.length = read.length;
    key_.section = section_of(read.part);
    key_.comment = read.role == KeyRole::kComment;
    key_.comment_read_as_key = read.comment_read_as_key;
    key_.started.clear();
    key_.records_end_line = 0;
    key_.line_before = before;
    key_pending_ = true;
  }

  void record_begins(const RecordRule& rule, FieldSite key_site) override {
    key_.started.push_back(rule.kind);
    // One record at a time, its room used again.
    pending_.kind = rule.kind;
    pending_.key_site = key_site;
    pending_.numbers.clear();
    pending_.text.clear();
    pending_.text_site = {};
    pending_values_ = 0;
    pending_end_line_ = key_site.line;
  }

  void value_read(const RecordRule& rule, const ValueRead& value) override {
    last_line_ = value.site.line;
    pending_end_line_ = std::max(pending_end_line_, value.site.line);
    ScannedRecord& record = pending_;
    if (rule.values[value.index].width == ValueWidth::kText) {
      record.text = value.text;
      record.text_site = value.site;
    } else {
      record.numbers.push_back({value.number, value.site});
    }
    // Only a record read whole is checked: one that failed to read is the
    // compile's code 25.
    if (++pending_values_ == rule.values.size()) {
      key_.records_end_line = pending_end_line_;
      ++scan_.record_counts[static_cast<size_t>(record.kind)];
      positions_->record(record);
      values_->record(record);
    }
  }

  // The key field read last, once nothing more of its records can come.
  void finish_key() {
    if (std::exchange(key_pending_, false)) keys_.key_field(key_);
  }

  void finish() {
    finish_key();
    scan_.position_warnings = positions_->take_warnings();
    scan_.value_warnings = values_->take_warnings();
  }

 private:
  DescriptionScan& scan_;
  KeyFieldCheck& keys_;
  std::unique_ptr<RecordCheck> positions_;
  std::unique_ptr<RecordCheck> values_;
  KeyField key_;
  bool key_pending_ = false;
  int32_t last_line_ = 0;
  ScannedRecord pending_{};
  size_t pending_values_ = 0;
  int32_t pending_end_line_ = 0;
};

template <typename Walk>
DescriptionScan scan(std::string_view text, Description description, ParseListener* also,
                     Walk walk_it) {
  DescriptionScan result;
  result.description = description;
  KeyFieldCheck keys(description);
  ScanBuilder builder(result, keys);
  DescriptionWalk walk(text);
  walk.listen(builder);
  if (also != nullptr) walk.listen(*also);
  ReadEverything handler;
  try {
    walk_it(walk, handler);
  } catch (const RuntimeFailure&) {
    result.stopped_at = walk.last_site();
  }
  builder.finish();
  keys.finish(result.general_heading_found);
  result.key_field_warnings = keys.take_warnings();
  return result;
}

}  // namespace

// The author's compile always computes the track, so curves are read.
DescriptionScan scan_line_description(std::string_view text, ParseListener* also) {
  return scan(text, Description::kLine, also,
              [](DescriptionWalk& w, RecordHandler& h) { w.walk_line(h, {.curves = true}); });
}

DescriptionScan scan_train_description(std::string_view text, ParseListener* also) {
  return scan(text, Description::kTrain, also,
              [](DescriptionWalk& w, RecordHandler& h) { w.walk_train(h); });
}

}  // namespace tracciato
