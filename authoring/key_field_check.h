// The check of the key fields, run as the scan reads them: key fields that
// start no record, or more than one, or a comment that is read as a key.
// Each silently changes which records the compiler sees. The scan hands each
// key field over once its records are read and keeps none of them.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "authoring/description_scan.h"

namespace tracciato {

// A field meant to carry nothing where a key may stand: an empty one or a
// heading like "[segnali]".
bool is_filler(std::string_view field);

class KeyFieldCheck {
 public:
  explicit KeyFieldCheck(Description description) : description_(description) {}

  void key_field(const KeyField& key);
  // The walk has ended.
  void finish(bool general_heading_found);

  std::vector<LintWarning> take_warnings() { return std::move(warnings_); }

  // What is said of a key field that matches no key, and the key suggested
  // ("" when none is).
  struct UnknownKey {
    SharedText message;
    std::string_view suggestion;
  };

 private:
  void warn(FieldSite site, SharedText message, std::optional<TextFix> fix = std::nullopt);
  const UnknownKey& unknown_key_once(const KeyField& key);

  Description description_;
  std::vector<LintWarning> warnings_;
  int32_t silenced_line_ = 0;    // a line whose remaining fields were reported
  int32_t record_end_line_ = 0;  // where the previous key field's values end
  std::optional<RecordKind> last_record_;
  std::unordered_map<std::string, UnknownKey> unknown_messages_[3];  // per KeySection
};

}  // namespace tracciato
