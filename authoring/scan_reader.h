// The reading side shared by the line and train scans: a FieldReader that
// remembers where the last field stood, and the table form of a key and the
// values its record reads. Not part of the lint interface.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/description_scan.h"
#include "compiler/field_reader.h"

namespace tracciato {

// How a value field is read: the parsers read each in its own width, and a
// number beyond it ends the reading.
enum class ValueWidth { kNumber, kU8, kI16, kText };

struct KeyRule {
  RecordKind kind;
  std::vector<std::string_view> words;  // all must be in the key field
  bool any_case;
  std::vector<ValueWidth> values;
};

inline bool rule_matches(const KeyRule& rule, std::string_view field) {
  for (std::string_view word : rule.words) {
    if (!(rule.any_case ? contains_any_case(field, word) : contains(field, word))) return false;
  }
  return true;
}

class ScanReader {
 public:
  explicit ScanReader(std::string_view text) : reader_(text) {}

  bool at_end() const { return reader_.at_end(); }

  // A field read as a key field, remembering the line of the field before it.
  KeyField read_key(KeySection section) {
    KeyField key;
    key.line_before = last_line_;
    key.text = reader_.read_text();
    key.site = reader_.last_site();
    key.section = section;
    last_line_ = key.site.line;
    return key;
  }

  // Reads the record's values in the widths the parser reads them.
  ScannedRecord read_record(const KeyRule& rule, const KeyField& key) {
    ScannedRecord record{rule.kind, key.text, key.site, {}, {}, {}};
    for (ValueWidth width : rule.values) {
      if (width == ValueWidth::kText) {
        record.text = reader_.read_stored_text();
        record.text_site = reader_.last_site();
      } else {
        record.numbers.push_back({read_number(width), reader_.last_site()});
      }
      last_line_ = reader_.last_site().line;
    }
    return record;
  }

  FieldSite last_site() const { return reader_.last_site(); }

 private:
  int32_t read_number(ValueWidth width) {
    switch (width) {
      case ValueWidth::kU8:
        return reader_.read_u8();
      case ValueWidth::kI16:
        return reader_.read_i16();
      default:
        return reader_.read_number();
    }
  }

  FieldReader reader_;
  int32_t last_line_ = 0;
};

// Passes over up to `limit` dash (comment) fields in a row, recording each,
// and leaves `key` at the field then at hand. With `end_test`, returns false
// when a read reaches the end of the text, where the parsers stop too.
inline bool skip_comment_fields(ScanReader& in, DescriptionScan& scan, KeyField& key,
                                KeySection section, int limit, bool end_test) {
  for (int i = 0; i < limit && contains(key.text, "-"); ++i) {
    key.comment = true;
    scan.key_fields.push_back(key);
    key = in.read_key(section);
    if (end_test && in.at_end()) return false;
  }
  key.comment_read_as_key = contains(key.text, "-");
  return true;
}

// Runs every rule the key field matches, in table order, as the parsers do.
inline void run_rules(std::span<const KeyRule> rules, ScanReader& in, KeyField& key,
                      DescriptionScan& scan) {
  for (const KeyRule& rule : rules) {
    if (!rule_matches(rule, key.text)) continue;
    key.started.push_back(rule.kind);
    scan.records.push_back(in.read_record(rule, key));
  }
}

}  // namespace tracciato
