#include "tools/package_inspection.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "driver/file_names.h"
#include "package/payload.h"
#include "platform/bounded_read.h"
#include "platform/file_replace.h"
#include "platform/utf8_path.h"
#include "text/windows1252.h"
#include "tools/author_compile.h"
#include "tools/console_output.h"

namespace tracciato {
namespace {

constexpr DocumentKind kKinds[] = {DocumentKind::kLineDescription, DocumentKind::kTrainDescription,
                                   DocumentKind::kNotes, DocumentKind::kSlowdownOrder,
                                   DocumentKind::kTimetable};

// Every document line ends with CR LF.
size_t line_count(const std::string& document) {
  return static_cast<size_t>(std::count(document.begin(), document.end(), '\n'));
}

}  // namespace

bool looks_like_program(const std::filesystem::path& file) {
  // Only a regular file is looked into: a pipe would wait for a writer.
  std::FILE* f = nullptr;
  try {
    f = open_regular_file(file, "a package");
  } catch (const IoError&) {
    return false;
  }
  char start[4] = {};
  const size_t n = std::fread(start, 1, sizeof start, f);
  std::fclose(f);
  const std::string_view head(start, n);
  return head ==
             "\x7f"
             "ELF" ||
         head.substr(0, 2) == "MZ";
}

int inspect_package(const std::filesystem::path& file, bool json,
                    const std::optional<std::string>& extract_dir) {
  const auto read = read_package(file);
  if (const auto* damage = std::get_if<PackageDamage>(&read)) {
    if (json) {
      print_out(
          nlohmann::json{{"package", utf8_of(file)}, {"intact", false}, {"reason", damage->reason}}
              .dump() +
          "\n");
    }
    print_err("tracciato inspect: " + utf8_of(file) +
              ": this package is damaged and should be downloaded again (" + damage->reason +
              ")\n");
    return finish_output(kExitDamaged);
  }
  const PackageContents& contents = std::get<PackageContents>(read);
  const InstallScenario& scenario = contents.scenario;
  const std::string platform(stub_platform(contents.stub_start));

  if (extract_dir) {
    std::filesystem::create_directories(path_from_utf8(*extract_dir));
    for (DocumentKind kind : kKinds) {
      replace_file(
          path_from_utf8(*extract_dir) /
              file_name_path(document_file_name(kind, scenario.line_name, scenario.train_number)),
          scenario.document(kind));
    }
  }
  if (json) {
    nlohmann::json documents = nlohmann::json::array();
    for (DocumentKind kind : kKinds) {
      const std::string& text = scenario.document(kind);
      documents.push_back({{"name", windows1252_to_utf8(document_file_name(kind, scenario.line_name,
                                                                           scenario.train_number))},
                           {"bytes", text.size()},
                           {"lines", line_count(text)}});
    }
    print_out(nlohmann::json{{"package", utf8_of(file)},
                             {"intact", true},
                             {"line_name", windows1252_to_utf8(scenario.line_name)},
                             {"train_number", windows1252_to_utf8(scenario.train_number)},
                             {"platform", platform},
                             {"stub_bytes", contents.stub_size},
                             {"documents", documents}}
                  .dump() +
              "\n");
  } else {
    std::string text = "package: line " + windows1252_to_utf8(scenario.line_name) + ", train " +
                       windows1252_to_utf8(scenario.train_number) + ", for " + platform +
                       " (install program " + std::to_string(contents.stub_size) +
                       " bytes); payload intact\n";
    for (DocumentKind kind : kKinds) {
      const std::string& doc = scenario.document(kind);
      text +=
          "  " +
          windows1252_to_utf8(document_file_name(kind, scenario.line_name, scenario.train_number)) +
          ": " + std::to_string(doc.size()) + " bytes, " + std::to_string(line_count(doc)) +
          (line_count(doc) == 1 ? " line\n" : " lines\n");
    }
    if (extract_dir) text += "documents written to " + *extract_dir + "\n";
    print_out(text);
  }
  return finish_output(kExitSuccess);
}

}  // namespace tracciato
