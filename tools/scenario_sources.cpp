#include "tools/scenario_sources.h"

#include <system_error>

#include "driver/file_names.h"
#include "platform/bounded_read.h"
#include "platform/file_replace.h"
#include "platform/utf8_path.h"
#include "tools/author_compile.h"
#include "tools/console_output.h"
#include "tools/description_encoding.h"
#include "tools/exit_status.h"
#include "tools/scenario_names.h"

namespace tracciato {
namespace {

namespace fs = std::filesystem;

std::string read_kind(const fs::path& path, ScenarioFileKind kind) {
  return read_bounded_file(path, largest_file_size(kind),
                           "a scenario " + std::string(kind_name(kind)) + " file");
}

// The bytes of a file decoded as its kind, the file named when they do not fit.
template <typename Decode>
auto decoded(const std::string& name, const std::string& bytes, ScenarioFileKind kind,
             Decode decode) {
  try {
    return decode(bytes);
  } catch (const DecodeError& e) {
    throw DecodeError(name + ": not a scenario " + std::string(kind_name(kind)) +
                      " file: " + e.what());
  }
}

ScenarioSource read_named(const fs::path& cell, const fs::path& item,
                          const std::optional<fs::path>& track) {
  ScenarioSource source;
  source.cell_file = utf8_of(cell);
  source.item_file = utf8_of(item);
  if (track) source.track_file = utf8_of(*track);
  ScenarioFiles& files = source.files;
  files.cell_bytes = read_kind(cell, ScenarioFileKind::kCell);
  files.item_bytes = read_kind(item, ScenarioFileKind::kItem);
  if (track) files.track_bytes = read_kind(*track, ScenarioFileKind::kTrack);
  files.cells =
      decoded(source.cell_file, files.cell_bytes, ScenarioFileKind::kCell, decode_cell_file);
  files.items =
      decoded(source.item_file, files.item_bytes, ScenarioFileKind::kItem, decode_item_file);
  if (track) {
    files.track =
        decoded(source.track_file, *files.track_bytes, ScenarioFileKind::kTrack, decode_track_file);
  }
  return source;
}

bool has_extension(const fs::path& path, std::string_view extension) {
  return path.extension().string() == extension;
}

ScenarioSource read_folder(const fs::path& folder) {
  std::vector<fs::path> item_files;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    if (entry.is_regular_file(ec) && has_extension(entry.path(), ".sim")) {
      item_files.push_back(entry.path());
    }
  }
  if (ec) throw IoError(folder, ec.message());
  const std::string shown = utf8_of(folder);
  if (item_files.empty()) {
    throw ScenarioSourceError(
        shown + ": the folder holds no item file (<line>_<train>.sim): no compiled scenario",
        kExitIo);
  }
  if (item_files.size() > 1) {
    std::string names;
    for (const fs::path& p : item_files) names += " " + utf8_of(p.filename());
    throw ScenarioSourceError(shown + ": the folder holds the item files of several trains (" +
                                  names.substr(1) + "); name the cell, item and track files",
                              kExitUsage);
  }
  const fs::path& item = item_files.front();
  fs::path cell = item;
  cell.replace_extension(".dat");
  if (!fs::is_regular_file(cell, ec)) {
    throw ScenarioSourceError(
        utf8_of(cell) + ": the cell file beside " + utf8_of(item.filename()) + " is missing",
        kExitIo);
  }
  // The track file bears the line's name, which the item file carries.
  const std::vector<ItemRecord> items =
      decoded(utf8_of(item), read_kind(item, ScenarioFileKind::kItem), ScenarioFileKind::kItem,
              decode_item_file);
  const ScenarioFileNames names =
      scenario_file_names(items[kLineIdentity].name, items[kTrainIdentity].name);
  const fs::path track = folder / file_name_path(names.track_file);
  return read_named(cell, item,
                    fs::is_regular_file(track, ec) ? std::optional(track) : std::nullopt);
}

// The descriptions in a folder that holds no compiled scenario.
std::optional<std::pair<fs::path, fs::path>> descriptions_in(const fs::path& folder) {
  std::vector<fs::path> lines, trains;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    const std::string name = utf8_of(entry.path().filename());
    if (name.ends_with(kLineDescriptionSuffix)) {
      lines.push_back(entry.path());
    } else if (name.ends_with(kTrainDescriptionSuffix)) {
      trains.push_back(entry.path());
    }
  }
  if (lines.size() != 1 || trains.size() != 1) return std::nullopt;
  return std::pair{lines.front(), trains.front()};
}

bool holds_item_file(const fs::path& folder) {
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    if (has_extension(entry.path(), ".sim")) return true;
  }
  return false;
}

ScenarioSource compile_descriptions(const fs::path& line, const fs::path& train,
                                    const std::string& encoding) {
  AuthorDescriptions descriptions = read_author_descriptions(line, train);
  if (const auto problem = convert_descriptions(descriptions, encoding)) {
    throw ScenarioSourceError(*problem, kExitProblems);
  }
  // A file name that carries no name gives a placeholder, the same on both
  // sides of a diff.
  const auto [line_name, train_number] = analysis_names(utf8_of(line), utf8_of(train));
  std::optional<ScenarioFiles> files = compile_in_memory(
      descriptions.line_text, descriptions.train_text, line_name, train_number, true);
  if (!files) {
    throw ScenarioSourceError(
        utf8_of(line) + ", " + utf8_of(train) + ": the compile stops before it writes the files",
        kExitProblems);
  }
  ScenarioSource source;
  source.files = std::move(*files);
  source.cell_file = source.item_file = source.track_file =
      utf8_of(line) + " and " + utf8_of(train) + " compiled";
  return source;
}

}  // namespace

ScenarioSource read_scenario(const std::vector<std::string>& paths, const std::string& encoding) {
  if (paths.size() == 2 && paths[0].ends_with(".txt") && paths[1].ends_with(".txt")) {
    return compile_descriptions(path_from_utf8(paths[0]), path_from_utf8(paths[1]), encoding);
  }
  if (paths.size() == 1) {
    const fs::path folder = path_from_utf8(paths.front());
    std::error_code ec;
    if (fs::is_directory(folder, ec) && !holds_item_file(folder)) {
      if (const auto pair = descriptions_in(folder)) {
        return compile_descriptions(pair->first, pair->second, encoding);
      }
    }
  }
  return read_scenario_files(paths);
}

ScenarioSource read_scenario_files(const std::vector<std::string>& paths) {
  if (paths.size() == 1) {
    const fs::path folder = path_from_utf8(paths.front());
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
      throw ScenarioSourceError(paths.front() +
                                    ": not a folder; give the scenario's folder, or its cell, "
                                    "item and track files",
                                kExitUsage);
    }
    return read_folder(folder);
  }
  if (paths.size() < 2 || paths.size() > 3) {
    throw ScenarioSourceError("give a folder, or the cell, item and track files", kExitUsage);
  }
  return read_named(path_from_utf8(paths[0]), path_from_utf8(paths[1]),
                    paths.size() == 3 ? std::optional(path_from_utf8(paths[2])) : std::nullopt);
}

int with_scenario_errors(std::string_view name, const std::function<int()>& command) {
  const auto complain = [&](const char* what) {
    print_err("tracciato " + std::string(name) + ": " + what + "\n");
  };
  try {
    return command();
  } catch (const ScenarioSourceError& e) {
    complain(e.what());
    return e.status;
  } catch (const DecodeError& e) {
    complain(e.what());
    return kExitDamaged;
  } catch (const IoError& e) {
    complain(e.what());
    return kExitIo;
  } catch (const std::exception& e) {
    // Nothing else should reach here; if it does, the files are what could
    // not be handled, and the author hears why rather than a crash.
    complain(e.what());
    return kExitDamaged;
  }
}

const std::string& source_file(const ScenarioSource& source, ScenarioFileKind kind) {
  switch (kind) {
    case ScenarioFileKind::kCell:
      return source.cell_file;
    case ScenarioFileKind::kItem:
      return source.item_file;
    case ScenarioFileKind::kTrack:
      break;
  }
  return source.track_file;
}

}  // namespace tracciato
