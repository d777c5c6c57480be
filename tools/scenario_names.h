// The line name and train number of an author's scenario, read from the names
// of its description files when the author gives none.
//
// The install package names its descriptions <line>_linea.txt and
// <line>_<train>-.txt; an author who keeps that naming need not repeat the
// names on the command line.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tracciato {

inline constexpr std::string_view kLineDescriptionSuffix = "_linea.txt";
inline constexpr std::string_view kTrainDescriptionSuffix = "-.txt";

// The names are read from the file names as UTF-8 text.
//
// The line name of "<line>_linea.txt": the file name without the suffix.
// nullopt when the file name does not end so, or when what is left is not a
// usable name.
std::optional<std::string> line_name_from_file(const std::filesystem::path& line_file);

// The train number of "<line>_<train>-.txt" for the given line name. nullopt
// when the file name does not have that shape or the number is not a usable
// name.
std::optional<std::string> train_number_from_file(const std::filesystem::path& train_file,
                                                  std::string_view line_name);

// Why `name` cannot stand in the names of a scenario's files, or nullopt when
// it can. Every output file name is built from the line name and the train
// number, so neither may be empty or hold a path separator: the files would
// land outside the output folder.
std::optional<std::string> scenario_name_problem(std::string_view name);

// Why `name`, given in UTF-8 (the command line, a file name), cannot go into
// the scenario's files, which hold one Windows-1252 byte per character; or
// nullopt when it can. Names the first character the code page cannot hold.
std::optional<std::string> code_page_problem(std::string_view utf8_name);

// The line name and train number a compile in memory (lint, the language
// server, decompile's and diff's sources) runs under: those the file names
// carry, in Windows-1252, or "line" and "train" when they carry none the
// code page can hold. They reach only the item table and the competition
// codes, which nothing checks there. The files are named in UTF-8.
std::pair<std::string, std::string> analysis_names(const std::string& line_file_utf8,
                                                   const std::string& train_file_utf8);

// The name as the item file and the competition codes take it.
// REQUIRES: code_page_problem(utf8_name) is nullopt.
std::string windows1252_name(std::string_view utf8_name);

}  // namespace tracciato
