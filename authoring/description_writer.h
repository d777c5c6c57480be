// Descriptions as text, for people to read and change and for the compiler
// to read back: Windows-1252 with CR LF line ends, one record a line under
// the section headings of the embedded example, each record's values aligned
// in columns with the records of its kind around it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "authoring/description_records.h"

namespace tracciato {

// The word written in place of the value a record's reading fails at.
inline constexpr std::string_view kUnreadableValue = "stop";

// A text value as a field that the field reader gives back as `text`:
// as it stands, or between double quotes when it holds a comma, a line end
// or blanks at either end. nullopt when no field gives it (a text that
// begins with a double quote, or needs quoting and holds one).
std::optional<std::string> text_field(std::string_view text);

// One record as a description line, without alignment or line end.
std::string record_line(const DescriptionRecord& record);

// The line description: the general section, then the features.
std::string write_line_description(const DescriptionSet& records);
// The train description.
std::string write_train_description(const DescriptionSet& records);

}  // namespace tracciato
