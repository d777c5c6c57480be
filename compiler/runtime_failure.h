// A run-time failure inside the reading of the descriptions: a value that does
// not fit its field, a read past the end of a description, an arithmetic
// overflow. The one handler of memorizza_dati turns it into code 25; it never
// leaves the compiler.
#pragma once

#include <stdexcept>

namespace tracciato {

class RuntimeFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tracciato
