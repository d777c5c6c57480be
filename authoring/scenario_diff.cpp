#include "authoring/scenario_diff.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "authoring/decompile_refusals.h"
#include "authoring/description_writer.h"
#include "text/windows1252.h"

namespace tracciato {
namespace {

constexpr std::string_view kArrow = " \xE2\x86\x92 ";  // →

bool single(RecordKind kind) {
  switch (kind) {
    case RecordKind::kLineLength:
    case RecordKind::kProgressive:
    case RecordKind::kBackground:
    case RecordKind::kSignalRepetition:
    case RecordKind::kBrakedMass:
    case RecordKind::kCoaches:
    case RecordKind::kClock:
    case RecordKind::kSand:
      return true;
    default:
      return false;
  }
}

// The word of a record's grammar row that tells it from the other rows of
// its kind ("uno", "due", "tre"); "" for a kind of one row.
std::string_view row_word(const DescriptionRecord& record) {
  std::vector<const RecordRule*> rows;
  for (const RecordRule& rule : grammar_records(record_rule(record.kind).part)) {
    if (rule.kind == record.kind) rows.push_back(&rule);
  }
  if (rows.size() < 2) return "";
  const bool first_word_shared = rows[0]->word_1 == rows[1]->word_1;
  for (const RecordRule* rule : rows) {
    if (rule->shown_key == record.key) return first_word_shared ? rule->word_2 : rule->word_1;
  }
  return "";
}

struct Keyed {
  const DescriptionRecord* record;
  std::string label;  // "signal at 6850 m"
};

// Every record of a side under a name that finds its counterpart on the
// other side: a single record by its kind (and row), a station by its name
// when no other station has it, any other by its kind, position and how
// many of its kind stand there before it.
std::map<std::string, Keyed> keyed_records(const DescriptionSet& set,
                                           std::vector<std::string>& order) {
  std::map<std::string, int> station_names;
  for (const DescriptionRecord& r : set.train) {
    if (r.kind == RecordKind::kStation) ++station_names[r.text];
  }
  std::map<std::string, Keyed> out;
  std::map<std::string, int> occurrences;
  for (const auto* part : {&set.line_general, &set.line_features, &set.train}) {
    for (const DescriptionRecord& r : *part) {
      const std::string name(record_name(r.kind));
      std::string key;
      std::string label;
      if (r.unreadable_value == 0) {
        key = "stop";
        label = "the record the reading stops at";
      } else if (single(r.kind)) {
        const std::string word(row_word(r));
        key = name + " " + word;
        label = word.empty() ? name : name + " " + word;
      } else if (r.kind == RecordKind::kStation && station_names[r.text] == 1) {
        key = "station " + r.text;
        label = "station " + windows1252_to_utf8(r.text);
      } else {
        const std::string at = r.numbers.empty() ? "" : std::to_string(r.numbers[0]);
        key = name + " at " + at;
        label = name + " at " + at + " m";
      }
      const int n = occurrences[key]++;
      if (n > 0) key += " #" + std::to_string(n + 1);
      order.push_back(key);
      out.emplace(key, Keyed{&r, label});
    }
  }
  return out;
}

std::string value_words(const DescriptionRecord& r, size_t i) {
  const RecordRule& rule = record_rule(r.kind);
  if (rule.values[i].width == ValueWidth::kText) return "\"" + windows1252_to_utf8(r.text) + "\"";
  return i < r.numbers.size() ? std::to_string(r.numbers[i]) : "0";
}

std::string with_unit(const std::string& text, std::string_view unit) {
  return unit.empty() ? text : text + " " + std::string(unit);
}

class Differ {
 public:
  void add(std::string record, std::string field, std::string from, std::string to,
           std::string text) {
    diff_.changes.push_back(
        {std::move(record), std::move(field), std::move(from), std::move(to), std::move(text)});
  }

  // The values of a record that differ, one change each.
  void compare(const Keyed& a, const Keyed& b) {
    const DescriptionRecord& x = *a.record;
    const DescriptionRecord& y = *b.record;
    if (x.key != y.key) {
      add(a.label, "key", x.key, y.key, a.label + ": key " + x.key + std::string(kArrow) + y.key);
    }
    const RecordRule& rule = record_rule(x.kind);
    for (size_t i = 0; i < rule.values.size(); ++i) {
      const std::string from = value_words(x, i);
      const std::string to = value_words(y, i);
      if (from == to) continue;
      const ValueRule& value = rule.values[i];
      const std::string name(value.name);
      if (i == 0 && x.kind == RecordKind::kStation && a.label.starts_with("station ") &&
          value.unit == "m") {
        add(a.label, name, from, to,
            a.label + " moved " + from + std::string(kArrow) + with_unit(to, value.unit));
        continue;
      }
      add(a.label, name, from, to,
          a.label + ": " + name + " " + from + std::string(kArrow) + with_unit(to, value.unit));
    }
  }

  void records(const DescriptionSet& a, const DescriptionSet& b) {
    std::vector<std::string> order_a, order_b;
    const std::map<std::string, Keyed> in_a = keyed_records(a, order_a);
    const std::map<std::string, Keyed> in_b = keyed_records(b, order_b);
    std::vector<const Keyed*> removed, added;
    for (const std::string& key : order_a) {
      const auto there = in_b.find(key);
      if (there == in_b.end()) {
        removed.push_back(&in_a.at(key));
      } else {
        compare(in_a.at(key), there->second);
      }
    }
    for (const std::string& key : order_b) {
      if (in_a.count(key) == 0) added.push_back(&in_b.at(key));
    }
    // A record gone from one place and come to another, all else alike,
    // moved.
    std::set<const Keyed*> moved;
    for (const Keyed* r : removed) {
      for (const Keyed* n : added) {
        if (moved.count(n) != 0 || !same_but_position(*r->record, *n->record)) continue;
        const std::string from = std::to_string(r->record->numbers[0]);
        const std::string to = std::to_string(n->record->numbers[0]);
        const std::string name(record_name(r->record->kind));
        add(r->label, "position", from, to,
            name + " moved " + from + std::string(kArrow) + to + " m");
        moved.insert(r);
        moved.insert(n);
        break;
      }
    }
    for (const Keyed* r : removed) {
      if (moved.count(r) == 0) {
        add(r->label, "", record_line(*r->record), "",
            r->label + " removed: " + windows1252_to_utf8(record_line(*r->record)));
      }
    }
    for (const Keyed* n : added) {
      if (moved.count(n) == 0) {
        add(n->label, "", "", record_line(*n->record),
            n->label + " added: " + windows1252_to_utf8(record_line(*n->record)));
      }
    }
  }

  // Fields no record explains on one side or the other, compared as they
  // stand.
  void unexplained(const ScenarioFiles& a, const ScenarioFiles& b, const DecompileResult& ra,
                   const DecompileResult& rb) {
    std::set<std::tuple<ScenarioFileKind, int64_t, std::string>> seen;
    for (const auto* refusals : {&ra.refusals, &rb.refusals}) {
      for (const Refusal& r : *refusals) {
        if (!seen.insert({r.file, r.record, r.field}).second) continue;
        const std::string from = field_value(a, r.file, r.record, r.field).value_or("none");
        const std::string to = field_value(b, r.file, r.record, r.field).value_or("none");
        if (from == to) continue;
        const std::string place = std::string(kind_name(r.file)) + " file, " + refusal_place(r);
        add(place, r.field, from, to,
            place + ": " + r.field + " " + from + std::string(kArrow) + to +
                " (no record explains it)");
      }
    }
  }

  ScenarioDiff take() { return std::move(diff_); }

 private:
  static bool same_but_position(const DescriptionRecord& a, const DescriptionRecord& b) {
    if (a.kind != b.kind || a.key != b.key || a.text != b.text || a.numbers.empty() ||
        a.numbers.size() != b.numbers.size()) {
      return false;
    }
    return std::equal(a.numbers.begin() + 1, a.numbers.end(), b.numbers.begin() + 1);
  }

  ScenarioDiff diff_;
};

bool same_bytes(const ScenarioFiles& a, const ScenarioFiles& b) {
  return a.cell_bytes == b.cell_bytes && a.item_bytes == b.item_bytes &&
         a.track_bytes == b.track_bytes;
}

}  // namespace

ScenarioDiff diff_scenarios(const ScenarioFiles& a, const ScenarioFiles& b) {
  if (same_bytes(a, b)) return {true, {}};
  Differ differ;
  const DecompileResult ra = decompile_scenario(a);
  const DecompileResult rb = decompile_scenario(b);
  if (ra.line_name != rb.line_name) {
    differ.add("line name", "name", windows1252_to_utf8(ra.line_name),
               windows1252_to_utf8(rb.line_name),
               "line name: " + windows1252_to_utf8(ra.line_name) + std::string(kArrow) +
                   windows1252_to_utf8(rb.line_name));
  }
  if (ra.train_number != rb.train_number) {
    differ.add("train number", "name", windows1252_to_utf8(ra.train_number),
               windows1252_to_utf8(rb.train_number),
               "train number: " + windows1252_to_utf8(ra.train_number) + std::string(kArrow) +
                   windows1252_to_utf8(rb.train_number));
  }
  if (a.track.has_value() != b.track.has_value()) {
    const auto words = [](const ScenarioFiles& f) {
      return f.track ? std::string("present") : std::string("none");
    };
    differ.add("track file", "", words(a), words(b),
               "track file: " + words(a) + std::string(kArrow) + words(b));
  }
  differ.records(ra.records, rb.records);
  differ.unexplained(a, b, ra, rb);
  ScenarioDiff diff = differ.take();
  // Bytes that differ with no change found: say so rather than nothing.
  if (diff.changes.empty()) {
    diff.changes.push_back({"files", "", "", "", "the files differ in bytes no record shows"});
  }
  return diff;
}

}  // namespace tracciato
