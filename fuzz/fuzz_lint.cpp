// lint's warnings and the compile's findings, as the author reads them.
#include "fuzz/fuzz_input.h"
#include "tools/author_findings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tracciato;
  const AuthorDescriptions descriptions = fuzz::descriptions_of(fuzz::bytes_of(data, size));
  AuthorCompileOptions options;
  options.line_name = "F";
  options.train_number = "1";
  options.write = false;
  const AuthorCompileResult result = compile_author_scenario(descriptions, options);
  const std::vector<Diagnostic> warnings = description_warnings(descriptions, true);
  findings_text(descriptions, warnings, result);
  return 0;
}
