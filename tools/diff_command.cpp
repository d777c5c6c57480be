#include "tools/diff_command.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "authoring/scenario_diff.h"
#include "platform/file_replace.h"
#include "tools/compile_report.h"
#include "tools/console_output.h"
#include "tools/encoding_option.h"
#include "tools/exit_status.h"
#include "tools/scenario_sources.h"

namespace tracciato {
namespace {

void complain(const std::string& text) { print_err("tracciato diff: " + text + "\n"); }

std::string diff_json(const ScenarioDiff& diff) {
  nlohmann::ordered_json changes = nlohmann::ordered_json::array();
  for (const ScenarioChange& c : diff.changes) {
    changes.push_back({{"record", c.record},
                       {"field", c.field},
                       {"from", c.from},
                       {"to", c.to},
                       {"text", c.text}});
  }
  nlohmann::ordered_json report;
  report["equal"] = diff.equal;
  report["changes"] = changes;
  return json_text(report) + "\n";
}

}  // namespace

CLI::App* add_diff_command(CLI::App& app, DiffArguments& args) {
  CLI::App* command = app.add_subcommand(
      "diff",
      "Show what changed between two scenarios, record by record: status 0 when they are the "
      "same, 1 when they differ");
  command
      ->add_option("A B", args.sides,
                   "Two scenarios, each a folder (of compiled files, or of one line and one train "
                   "description); or LINE_A TRAIN_A LINE_B TRAIN_B (descriptions, .txt); or the "
                   "cell, item and track files of each")
      ->required()
      ->expected(2, 6);
  add_encoding_option(*command, args.encoding);
  command->add_flag("--json", args.json, "Print the changes as one JSON object on standard output");
  return command;
}

int run_diff_command(const DiffArguments& args) {
  if (args.sides.size() % 2 != 0) {
    complain("give the same number of paths for each scenario");
    return kExitUsage;
  }
  const auto half = static_cast<std::ptrdiff_t>(args.sides.size() / 2);
  return with_scenario_errors("diff", [&] {
    const ScenarioSource a =
        read_scenario({args.sides.begin(), args.sides.begin() + half}, args.encoding);
    const ScenarioSource b =
        read_scenario({args.sides.begin() + half, args.sides.end()}, args.encoding);
    const ScenarioDiff diff = diff_scenarios(a.files, b.files);
    if (args.json) {
      print_out(diff_json(diff));
    } else {
      for (const ScenarioChange& c : diff.changes) print_out(c.text + "\n");
    }
    return finish_output(diff.equal ? kExitSuccess : kExitProblems);
  });
}

}  // namespace tracciato
