#include "tools/author_compile.h"

#include <memory>
#include <system_error>

#include "compiler/description_source.h"
#include "driver/file_names.h"
#include "output/scenario_output.h"
#include "platform/bounded_read.h"
#include "platform/file_replace.h"
#include "platform/staged_files.h"

namespace tracciato {
namespace {

void create_out_dir(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) throw IoError(dir, ec.message());
}

// The files a compile is about to write, as they will be named.
std::vector<std::string> files_to_write(const AuthorCompileOptions& options) {
  const ScenarioFileNames names = scenario_file_names(options.line_name, options.train_number);
  std::vector<std::string> files;
  if (options.track) files.push_back(names.track_file);
  files.push_back(names.item_file);
  files.push_back(names.cell_file);
  return files;
}

// A description named like an output file in the output folder would be
// replaced by the compile of itself; the author would lose the source.
void refuse_to_replace_descriptions(const AuthorDescriptions& descriptions,
                                    const AuthorCompileOptions& options) {
  for (const std::string& name : files_to_write(options)) {
    const std::filesystem::path target = options.out_dir / file_name_path(name);
    for (const auto* input : {&descriptions.line_file, &descriptions.train_file}) {
      std::error_code ec;
      if (std::filesystem::equivalent(target, *input, ec)) {
        throw TargetRefused(target,
                            "this is the description being compiled; nothing was replaced: give "
                            "another --out");
      }
    }
  }
}

}  // namespace

AuthorCompileResult compile_outcome(CompileStop stop, const ScenarioModel& model) {
  AuthorCompileResult result;
  result.stop = stop;
  result.error_code = model.error_code;
  result.error_position = model.error_position;
  result.error_site = model.error_site;
  result.code_site = model.code_site;
  result.error_detail = model.error_detail;
  result.error_notes = model.error_notes;
  return result;
}

AuthorDescriptions read_author_descriptions(const std::filesystem::path& line_file,
                                            const std::filesystem::path& train_file) {
  const std::string what = "a description";
  return {line_file, train_file, read_bounded_file(line_file, kLargestDescription, what),
          read_bounded_file(train_file, kLargestDescription, what)};
}

AuthorCompileResult compile_author_scenario(const AuthorDescriptions& descriptions,
                                            const AuthorCompileOptions& options) {
  // The model of a long line is large; keep it off the stack.
  auto model = std::make_unique<ScenarioModel>();
  model->line_name = options.line_name;
  model->train_number = options.train_number;
  DescriptionTexts source(descriptions.line_text, descriptions.train_text);

  AuthorCompileResult result =
      compile_outcome(compile_scenario(*model, options.track ? 1 : 0, source), *model);

  if (result.stop != CompileStop::kNone) return result;
  if (result.error_code != 0 && !options.keep_going) return result;
  if (!options.write) return result;

  AuthorCompileOptions where = options;
  if (where.out_dir.empty()) where.out_dir = ".";
  create_out_dir(where.out_dir);
  refuse_to_replace_descriptions(descriptions, where);
  WrittenScenario written = write_scenario_files(where.out_dir, *model);
  result.written = std::move(written.written);
  result.recovered = std::move(written.recovered);
  return result;
}

}  // namespace tracciato
