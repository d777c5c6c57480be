#include "lsp/description_outline.h"

#include <algorithm>

#include "authoring/key_field_check.h"

namespace tracciato::lsp {
namespace {

bool before_or_at(FieldSite a, FieldSite b) {
  return a.line < b.line || (a.line == b.line && a.column <= b.column);
}

}  // namespace

void DescriptionOutline::general_heading(FieldSite site) { heading_ = site; }

void DescriptionOutline::general_section_ends(FieldSite last) { general_end_ = last; }

void DescriptionOutline::key_field(const KeyFieldRead& key) {
  // Records begun from here on are this field's, when it is a key.
  pending_key_ = -1;
  OutlineField field{key.site, key.length, FieldRole::kKey, key.part};
  switch (key.role) {
    case KeyRole::kHeadingSearch:
      field.role = FieldRole::kHeadingSearch;
      break;
    case KeyRole::kComment:
      field.role = FieldRole::kComment;
      break;
    case KeyRole::kUnexamined:
      field.role = FieldRole::kUnexamined;
      break;
    case KeyRole::kKey:
      // Settled once its records, if any, are known.
      field.role = is_filler(key.text) ? FieldRole::kFiller : FieldRole::kUnknownKey;
      pending_key_ = static_cast<int32_t>(fields_.size());
      break;
  }
  fields_.push_back(field);
}

void DescriptionOutline::record_begins(const RecordRule& rule, FieldSite key_site) {
  const int32_t index = static_cast<int32_t>(records_.size());
  OutlineRecord record{&rule, key_site, 0, static_cast<uint32_t>(values_.size()), 0};
  if (pending_key_ >= 0) {
    OutlineField& key = fields_[static_cast<size_t>(pending_key_)];
    record.key_length = key.length;
    if (key.record < 0) key.record = index;  // its first record
    key.role = FieldRole::kKey;
  }
  records_.push_back(std::move(record));
}

void DescriptionOutline::value_read(const RecordRule& rule, const ValueRead& value) {
  if (records_.empty()) return;
  ++records_.back().value_count;
  values_.push_back({value.site, value.length, value.number});
  fields_.push_back({value.site, value.length, FieldRole::kValue, rule.part,
                     static_cast<int32_t>(records_.size() - 1), static_cast<int32_t>(value.index)});
}

const OutlineField* DescriptionOutline::field_before(FieldSite site) const {
  // Fields stand in text order.
  const auto after =
      std::upper_bound(fields_.begin(), fields_.end(), site,
                       [](FieldSite s, const OutlineField& f) { return !before_or_at(f.site, s); });
  if (after == fields_.begin()) return nullptr;
  return &*std::prev(after);
}

const OutlineField* DescriptionOutline::field_at(FieldSite site) const {
  const OutlineField* f = field_before(site);
  if (f == nullptr || f->site.line != site.line) return nullptr;
  if (site.column > f->site.column + std::max(f->length, 1)) return nullptr;
  return f;
}

const OutlineRecord* DescriptionOutline::record_around(FieldSite site) const {
  const OutlineField* f = field_before(site);
  if (f == nullptr || f->record < 0) return nullptr;
  return &records_[static_cast<size_t>(f->record)];
}

std::optional<GrammarPart> DescriptionOutline::part_at(FieldSite site) const {
  const OutlineField* f = field_before(site);
  if (f == nullptr) return std::nullopt;
  // Past the general section's last field, before any feature is written.
  if (general_end_ && f->part == GrammarPart::kLineGeneral && f->site == *general_end_ &&
      (site.line > f->site.line || site.column > f->site.column + f->length)) {
    return GrammarPart::kLineFeatures;
  }
  return f->part;
}

const OutlineRecord* DescriptionOutline::record_at_key(FieldSite site) const {
  const OutlineField* f = field_at(site);
  if (f == nullptr || f->role != FieldRole::kKey || f->record < 0) return nullptr;
  return &records_[static_cast<size_t>(f->record)];
}

}  // namespace tracciato::lsp
