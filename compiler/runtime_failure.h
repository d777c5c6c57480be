// A run-time failure inside the reading of the descriptions: a value that does
// not fit its field, a read past the end of a description, an arithmetic
// overflow. The one handler of memorizza_dati turns it into code 25; it never
// leaves the compiler. Its text is a sentence for the author, and it carries
// the site of the field at fault when the reading knows it.
#pragma once

#include <stdexcept>
#include <string>

#include "compiler/field_reader.h"

namespace tracciato {

class RuntimeFailure : public std::runtime_error {
 public:
  explicit RuntimeFailure(const std::string& what) : std::runtime_error(what) {}
  RuntimeFailure(const std::string& what, FieldSite site) : std::runtime_error(what), site(site) {}

  FieldSite site;  // line 0 when unknown
};

}  // namespace tracciato
