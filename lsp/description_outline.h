// Every field of one description as the compile's grammar reads it: where
// each key field, comment and value stands, how long it is and what it is,
// and the records in reading order. The language server answers hover,
// signature help, inlay hints, symbols and semantic tokens from it.
//
// The outline listens to the scan's walk (the one that reads on past a
// compile problem), so it is the grammar table's own reading, never a
// second one.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "compiler/description_grammar.h"
#include "compiler/description_walk.h"

namespace tracciato::lsp {

enum class FieldRole {
  kHeadingSearch,  // read while looking for "[generale]", and the heading itself
  kComment,        // holds a dash and was passed over
  kKey,            // started at least one record
  kFiller,         // an empty field or a "[heading]" where a key may stand
  kUnknownKey,     // matched no key: the record it was meant to start is dropped
  kUnexamined,     // the last field of the text, never tested as a key
  kValue,
};

struct OutlineField {
  FieldSite site;
  int32_t length = 0;
  FieldRole role = FieldRole::kValue;
  GrammarPart part = GrammarPart::kTrain;
  int32_t record = -1;  // for a key or a value: its (first) record
  int32_t value = -1;   // for a value: its index in the record's row
};

// A value as read; a text value's bytes are the text's own at its site.
struct OutlineValue {
  FieldSite site;
  int32_t length = 0;
  int32_t number = 0;
};

// A large description holds millions of records: each is a few numbers,
// its values a run of the outline's one list.
struct OutlineRecord {
  const RecordRule* rule = nullptr;
  FieldSite key_site;
  int32_t key_length = 0;
  uint32_t first_value = 0;
  uint32_t value_count = 0;  // as many as were read
};

class DescriptionOutline final : public ParseListener {
 public:
  void general_heading(FieldSite site) override;
  void general_section_ends(FieldSite last) override;
  void key_field(const KeyFieldRead& key) override;
  void record_begins(const RecordRule& rule, FieldSite key_site) override;
  void value_read(const RecordRule& rule, const ValueRead& value) override;

  const std::vector<OutlineField>& fields() const { return fields_; }
  const std::vector<OutlineRecord>& records() const { return records_; }
  std::span<const OutlineValue> values_of(const OutlineRecord& record) const {
    return std::span<const OutlineValue>(values_).subspan(record.first_value, record.value_count);
  }
  std::optional<FieldSite> heading() const { return heading_; }

  // The field that covers `site` (its last byte included, and the column
  // just past it); nullptr when none does.
  const OutlineField* field_at(FieldSite site) const;
  // The last field that starts at or before `site`; nullptr before the first.
  const OutlineField* field_before(FieldSite site) const;
  // The record whose key field is at or before `site` and that was read up
  // to `site` or beyond, or is the last one begun: the record a cursor there
  // is writing.
  const OutlineRecord* record_around(FieldSite site) const;
  // The part of the description `site` lies in: that of the key field at
  // or before it (the general section before any).
  std::optional<GrammarPart> part_at(FieldSite site) const;
  // The record whose key field stands at `site`.
  const OutlineRecord* record_at_key(FieldSite site) const;

 private:
  std::vector<OutlineField> fields_;
  std::vector<OutlineRecord> records_;
  std::vector<OutlineValue> values_;
  std::optional<FieldSite> heading_;
  std::optional<FieldSite> general_end_;  // the general section's last field
  int32_t pending_key_ = -1;              // the key field whose records are being read
};

}  // namespace tracciato::lsp
