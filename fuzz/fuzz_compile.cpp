// The compiler on any two descriptions, with and without the track polyline.
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tracciato;
  const std::string_view input = fuzz::bytes_of(data, size);
  const AuthorDescriptions descriptions = fuzz::descriptions_of(input);
  AuthorCompileOptions options;
  options.line_name = "F";
  options.train_number = "1";
  options.write = false;
  options.track = size % 2 == 0;
  compile_author_scenario(descriptions, options);
  return 0;
}
