// A package's trailer and payload, however damaged.
#include "fuzz/fuzz_input.h"
#include "package/payload.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tracciato::decode_package(tracciato::fuzz::bytes_of(data, size));
  return 0;
}
