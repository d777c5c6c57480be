#include "authoring/description_scan.h"

#include <algorithm>
#include <utility>

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

// Writes down what the walk reads, in the shape the lint checks use.
class ScanBuilder final : public ParseListener {
 public:
  explicit ScanBuilder(DescriptionScan& scan) : scan_(scan) {}

  void general_heading(FieldSite) override { scan_.general_heading_found = true; }

  void key_field(const KeyFieldRead& read) override {
    const int32_t before = std::exchange(last_line_, read.site.line);
    if (read.role == KeyRole::kHeadingSearch || read.role == KeyRole::kUnexamined) return;
    KeyField key;
    key.text = read.text;
    key.site = read.site;
    key.section = section_of(read.part);
    key.comment = read.role == KeyRole::kComment;
    key.comment_read_as_key = read.comment_read_as_key;
    key.line_before = before;
    scan_.key_fields.push_back(std::move(key));
  }

  void record_begins(const RecordRule& rule, FieldSite key_site) override {
    KeyField& key = scan_.key_fields.back();
    key.started.push_back(rule.kind);
    pending_ = {rule.kind, key_site, {}, {}, {}};
    pending_.numbers.reserve(rule.values.size());
    pending_values_ = 0;
  }

  void value_read(const RecordRule& rule, const ValueRead& value) override {
    last_line_ = value.site.line;
    ScannedRecord& record = pending_;
    if (rule.values[value.index].width == ValueWidth::kText) {
      record.text = value.text;
      record.text_site = value.site;
    } else {
      record.numbers.push_back({value.number, value.site});
    }
    // Only a record read whole is checked: one that failed to read is the
    // compile's code 25.
    if (++pending_values_ == rule.values.size()) scan_.records.push_back(std::move(pending_));
  }

 private:
  DescriptionScan& scan_;
  int32_t last_line_ = 0;
  ScannedRecord pending_{};
  size_t pending_values_ = 0;
};

template <typename Walk>
DescriptionScan scan(std::string_view text, Description description, Walk walk_it) {
  DescriptionScan result;
  result.description = description;
  // Room for as many key fields and records as the text has fields, at
  // most: a large description is then not copied over and over as the lists
  // grow, and the room it does not use is never touched.
  const size_t fields =
      static_cast<size_t>(std::count_if(
          text.begin(), text.end(), [](char c) { return c == ',' || c == '\n' || c == '\r'; })) +
      1;
  result.key_fields.reserve(fields);
  result.records.reserve(fields);
  ScanBuilder builder(result);
  DescriptionWalk walk(text);
  walk.listen(builder);
  ReadEverything handler;
  try {
    walk_it(walk, handler);
  } catch (const RuntimeFailure&) {
    result.stopped_at = walk.last_site();
  }
  return result;
}

}  // namespace

// The author's compile always computes the track, so curves are read.
DescriptionScan scan_line_description(std::string_view text) {
  return scan(text, Description::kLine,
              [](DescriptionWalk& w, RecordHandler& h) { w.walk_line(h, {.curves = true}); });
}

DescriptionScan scan_train_description(std::string_view text) {
  return scan(text, Description::kTrain,
              [](DescriptionWalk& w, RecordHandler& h) { w.walk_train(h); });
}

}  // namespace tracciato
