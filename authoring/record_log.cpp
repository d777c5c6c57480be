#include "authoring/record_log.h"

#include <algorithm>

namespace tracciato {
namespace {

Description description_of(const RecordRule& rule) {
  return rule.part == GrammarPart::kTrain ? Description::kTrain : Description::kLine;
}

bool starts_with_position(const RecordRule& rule) {
  return !rule.values.empty() && (rule.values[0].unit == "m");
}

}  // namespace

std::optional<int32_t> LoggedRecord::position() const {
  if (rule == nullptr || values.empty() || !starts_with_position(*rule)) return std::nullopt;
  return values[0].number;
}

RecordLog::Keep RecordLog::keep_of(RecordKind kind) {
  switch (kind) {
    case RecordKind::kStation:
    case RecordKind::kMountainSpan:
      return Keep::kAlways;
    case RecordKind::kGradient:
    case RecordKind::kSpeedLimit:
    case RecordKind::kAdhesion:
      return Keep::kByCell;
    case RecordKind::kCurve:
      return Keep::kByMetre;
    case RecordKind::kSignal:
    case RecordKind::kSlowdown:
    case RecordKind::kAbbattimento:
    case RecordKind::kIndicationSign:
    case RecordKind::kSpeedIndicators:
      return Keep::kIfPlaced;
    default:
      return Keep::kLastOfRow;
  }
}

void RecordLog::key_field(const KeyFieldRead& key) {
  if (key.role == KeyRole::kKey) key_text_ = std::string(key.text);
}

void RecordLog::record_begins(const RecordRule& rule, FieldSite key_site) {
  settle();
  pending_ = LoggedRecord{&rule, description_of(rule), key_site, key_text_, {}};
  placements_at_begin_ = model_.cell_origins.placements();
}

void RecordLog::value_read(const RecordRule&, const ValueRead& value) {
  if (pending_) pending_->values.push_back({value.number, std::string(value.text), value.site});
}

void RecordLog::finish() { settle(); }

void RecordLog::settle() {
  if (!pending_) return;
  LoggedRecord record = std::move(*pending_);
  pending_.reset();
  const bool placed = model_.cell_origins.placements() != placements_at_begin_;
  if (keep_of(record.rule->kind) == Keep::kIfPlaced && !placed) return;
  keep(std::move(record));
}

void RecordLog::keep(LoggedRecord record) {
  std::optional<size_t> slot;
  const RecordKind kind = record.rule->kind;
  const int32_t first = record.values.empty() ? 0 : record.values[0].number;
  switch (keep_of(kind)) {
    case Keep::kByCell: {
      // Every record past the route's end is refused, so a cell index stays
      // within the route and the log within the route's size.
      const int32_t cell = std::clamp(round_half_even(first / static_cast<double>(kCellLength)), 0,
                                      std::max(model_.last_cell, 0) + 1);
      const auto [it, added] = by_place_.try_emplace({kind, cell}, records_.size());
      if (!added) slot = it->second;
      break;
    }
    case Keep::kByMetre: {
      const int32_t metre = std::clamp(first, -1, model_.track_length + 1);
      const auto [it, added] = by_place_.try_emplace({kind, metre}, records_.size());
      if (!added) slot = it->second;
      break;
    }
    case Keep::kLastOfRow: {
      const auto [it, added] = by_row_.try_emplace(record.rule, records_.size());
      if (!added) slot = it->second;
      break;
    }
    case Keep::kAlways:
    case Keep::kIfPlaced:
      break;
  }
  const auto site_key = [](const LoggedRecord& r) {
    return std::tuple{r.description, r.key_site.line, r.key_site.column};
  };
  if (slot) {
    by_site_.erase(site_key(records_[*slot]));
    const auto line = by_line_.find({records_[*slot].description, records_[*slot].key_site.line});
    if (line != by_line_.end() && line->second == *slot) by_line_.erase(line);
  }
  const size_t index = slot.value_or(records_.size());
  by_site_[site_key(record)] = index;
  by_line_.try_emplace({record.description, record.key_site.line}, index);
  if (slot) {
    records_[index] = std::move(record);
  } else {
    records_.push_back(std::move(record));
  }
}

const LoggedRecord* RecordLog::at(Description description, FieldSite site) const {
  const auto it = by_site_.find({description, site.line, site.column});
  return it == by_site_.end() ? nullptr : &records_[it->second];
}

std::vector<const LoggedRecord*> RecordLog::of_kind(RecordKind kind) const {
  std::vector<const LoggedRecord*> found;
  for (const LoggedRecord& r : records_) {
    if (r.rule->kind == kind) found.push_back(&r);
  }
  return found;
}

const LoggedRecord* RecordLog::profile_at(RecordKind kind, int32_t cell) const {
  auto it = by_place_.upper_bound({kind, cell});
  if (it == by_place_.begin()) return nullptr;
  --it;
  return it->first.first == kind ? &records_[it->second] : nullptr;
}

const LoggedRecord* RecordLog::on_line(Description description, int32_t line) const {
  const auto it = by_line_.find({description, line});
  return it == by_line_.end() ? nullptr : &records_[it->second];
}

}  // namespace tracciato
