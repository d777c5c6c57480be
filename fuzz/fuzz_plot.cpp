// The route drawing of any two descriptions.
#include "fuzz/fuzz_input.h"
#include "tools/route_plot_build.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tracciato;
  plot_author_scenario(fuzz::descriptions_of(fuzz::bytes_of(data, size)), "F", "1");
  return 0;
}
