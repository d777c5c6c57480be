// The replacement record a killed run leaves: whatever it holds, it is read
// as a whole record or as none, and a record read writes back to its bytes.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "platform/replacement_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tracciato;
  const std::string_view bytes = fuzz::bytes_of(data, size);
  const auto record = decode_replacement_record(bytes);
  if (record && encode_replacement_record(*record) != bytes) std::abort();
  return 0;
}
