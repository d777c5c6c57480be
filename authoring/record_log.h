// The records a compile read, kept so that the route view can show, for each
// mark on the picture, the record that placed it: where it stands in its
// description and its values under the grammar table's names.
//
// The log listens to the compile's own walk (compile_scenario's listeners),
// so it holds exactly what the compile read, never a second reading. It keeps
// what a picture can point at and no more, so that it grows with the route,
// not with the descriptions: the records that placed an object into a cell,
// every station and mountain span (the compile holds at most 80 of each),
// the last record of each profile that takes effect at a cell, the last
// curve starting at each metre, and the last record of each row of the
// general data.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "compiler/description_grammar.h"
#include "compiler/description_walk.h"
#include "compiler/scenario_model.h"

namespace tracciato {

struct LoggedValue {
  int32_t number = 0;
  std::string text;  // for a text value
  FieldSite site;
};

struct LoggedRecord {
  const RecordRule* rule = nullptr;
  Description description = Description::kNone;
  FieldSite key_site;
  std::string key;  // the key field as written
  std::vector<LoggedValue> values;

  // The record's first value, where its values begin with a position.
  std::optional<int32_t> position() const;
};

class RecordLog final : public ParseListener {
 public:
  // The model being compiled: its placements tell which records to keep.
  explicit RecordLog(const ScenarioModel& model) : model_(model) {}

  void key_field(const KeyFieldRead& key) override;
  void record_begins(const RecordRule& rule, FieldSite key_site) override;
  void value_read(const RecordRule& rule, const ValueRead& value) override;

  // Settles the last record heard. Call once the compile has returned.
  void finish();

  // The record whose key field stands at `site`; nullptr when none was kept.
  const LoggedRecord* at(Description description, FieldSite site) const;
  // The kept records of a kind, in the order they were read.
  std::vector<const LoggedRecord*> of_kind(RecordKind kind) const;
  // The profile record (gradient, speed limit, adhesion) in force at `cell`:
  // the last one taking effect at that cell or before it.
  const LoggedRecord* profile_at(RecordKind kind, int32_t cell) const;
  // A kept record standing on `line` of `description`; nullptr when none.
  const LoggedRecord* on_line(Description description, int32_t line) const;

 private:
  enum class Keep { kIfPlaced, kAlways, kByCell, kByMetre, kLastOfRow };
  static Keep keep_of(RecordKind kind);
  void settle();
  void keep(LoggedRecord record);

  const ScenarioModel& model_;
  std::string key_text_;
  std::optional<LoggedRecord> pending_;
  uint64_t placements_at_begin_ = 0;

  // In reading order; a record that replaces an earlier one takes its slot.
  std::vector<LoggedRecord> records_;
  // Where a record replaces an earlier one: (kind, cell or metre), or its row.
  std::map<std::pair<RecordKind, int32_t>, size_t> by_place_;
  std::unordered_map<const RecordRule*, size_t> by_row_;
  std::map<std::tuple<Description, int32_t, int32_t>, size_t> by_site_;
  std::map<std::pair<Description, int32_t>, size_t> by_line_;
};

}  // namespace tracciato
