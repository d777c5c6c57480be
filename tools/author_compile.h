// An author's compile: the two description files of any scenario, compiled by
// the same steps as the install package, into the three binary scenario files.
//
// Unlike the install package it reads the author's files into memory and never
// deletes or changes them, and it writes nothing when the compile went wrong,
// unless the author asks to see the files anyway.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "compiler/scenario_model.h"
#include "driver/compile_driver.h"
#include "tools/exit_status.h"

namespace tracciato {

// The two descriptions as the author named them, with their bytes.
struct AuthorDescriptions {
  std::filesystem::path line_file;
  std::filesystem::path train_file;
  std::string line_text;
  std::string train_text;
};

struct AuthorCompileOptions {
  // Windows-1252, as the item file and the competition codes take them.
  std::string line_name;
  std::string train_number;
  std::filesystem::path out_dir;
  bool track = true;        // compile and write the track polyline (j = 1)
  bool keep_going = false;  // write the files even when a problem was recorded
  bool write = true;        // false: compile only, as a package checks its scenario
};

struct AuthorCompileResult {
  CompileStop stop = CompileStop::kNone;
  int32_t error_code = 0;
  int32_t error_position = 0;
  ErrorSite error_site;  // where error_position was taken from
  ErrorSite code_site;   // the field of the record that caused the code
  std::string error_detail;
  std::vector<ErrorNote> error_notes;  // related places: what occupies a cell
  std::vector<std::string> written;    // file names (Windows-1252), in the order written
  // What an interrupted run had left in the output folder, and was done.
  std::optional<std::string> recovered;
};

// What a compile that stopped with `stop` left in the model's diagnostic record.
AuthorCompileResult compile_outcome(CompileStop stop, const ScenarioModel& model);

// No description is larger: every cell of the longest line (1,000,000 m)
// holding a record of every kind, each of 256 characters, is less.
inline constexpr uint64_t kLargestDescription = uint64_t{64} << 20;

// Reads both description files whole. Throws IoError for anything but a
// regular file (a pipe, a device, a folder), and for a file larger than
// kLargestDescription, before a byte is read.
AuthorDescriptions read_author_descriptions(const std::filesystem::path& line_file,
                                            const std::filesystem::path& train_file);

// Compiles the descriptions exactly as the install package does. Writes the
// scenario files into options.out_dir, creating the folder when missing,
// unless the run stopped or a problem was recorded without keep_going.
// Throws IoError when the folder or a file cannot be written, and when an
// output file would replace one of the descriptions (before writing any).
// REQUIRES: the names pass scenario_name_problem.
AuthorCompileResult compile_author_scenario(const AuthorDescriptions& descriptions,
                                            const AuthorCompileOptions& options);

}  // namespace tracciato
