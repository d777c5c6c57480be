#include "tools/explain_command.h"

#include <CLI/CLI.hpp>
#include <charconv>

#include "compiler/code_explanations.h"
#include "tools/author_compile.h"
#include "tools/console_output.h"
#include "tools/exit_status.h"

namespace tracciato {

CLI::App* add_explain_command(CLI::App& app, ExplainArguments& args) {
  CLI::App* command = app.add_subcommand(
      "explain", "Explain a problem code: what it means, its causes, a wrong and a right example");
  command->add_option("CODE", args.code,
                      "The code, as in `error 16`; without one, every code with its meaning");
  return command;
}

std::string known_codes() {
  std::string runs;
  const auto codes = code_explanations();
  for (size_t i = 0; i < codes.size();) {
    size_t j = i;
    while (j + 1 < codes.size() && codes[j + 1].code == codes[j].code + 1) ++j;
    if (!runs.empty()) runs += ", ";
    runs += std::to_string(codes[i].code);
    if (j > i) runs += " to " + std::to_string(codes[j].code);
    i = j + 1;
  }
  return runs;
}

int run_explain_command(const ExplainArguments& args) {
  if (!args.code) {
    // The list to choose from: each code and the first sentence of its meaning.
    std::string list = "Problem codes (tracciato explain CODE for the long form):\n";
    for (const CodeExplanation& explanation : code_explanations()) {
      const std::string_view meaning = explanation.meaning;
      const size_t end = meaning.find(". ");
      list +=
          "  " + std::to_string(explanation.code) + "  " +
          std::string(meaning.substr(0, end == std::string_view::npos ? meaning.size() : end + 1)) +
          "\n";
    }
    print_out(list);
    return finish_output(kExitSuccess);
  }
  int32_t code = 0;
  const std::string& text = *args.code;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, code);
  const CodeExplanation* explanation =
      error == std::errc{} && at == end ? code_explanation(code) : nullptr;
  if (explanation == nullptr) {
    print_err("tracciato explain: '" + text + "' is not a problem code; the codes are " +
              known_codes() + "\n");
    return kExitUsage;
  }
  print_out(explanation_text(*explanation));
  return finish_output(kExitSuccess);
}

}  // namespace tracciato
