#include "lsp/workspace.h"

#include <algorithm>
#include <system_error>

#include "lsp/document_uri.h"
#include "platform/bounded_read.h"
#include "platform/utf8_path.h"
#include "text/windows1252.h"
#include "tools/author_compile.h"
#include "tools/scenario_names.h"

namespace tracciato::lsp {
namespace {

std::string file_name(const std::filesystem::path& path) { return utf8_of(path.filename()); }

bool is_line_file(const std::filesystem::path& path) {
  return line_name_from_file(path).has_value();
}

bool is_train_file(const std::filesystem::path& path) {
  const std::string name = file_name(path);
  return name.ends_with(kTrainDescriptionSuffix) && !is_line_file(path) &&
         name.find('_') != std::string::npos;
}

bool is_file(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// The train files of a line in its folder, in name order.
std::vector<std::filesystem::path> trains_beside(const std::filesystem::path& line_path,
                                                 const std::string& line_name) {
  std::vector<std::filesystem::path> found;
  std::error_code error;
  std::filesystem::directory_iterator it(line_path.parent_path(), error);
  if (error) return found;
  for (const auto& entry : it) {
    if (!entry.is_regular_file(error)) continue;
    if (train_number_from_file(entry.path(), line_name)) found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

OpenDocument& Workspace::open(const std::string& uri, int32_t version, std::string text) {
  OpenDocument& doc = documents_[uri];
  doc.uri = uri;
  doc.path = path_of_uri(uri).value_or(std::filesystem::path());
  doc.version = version;
  doc.text = std::make_shared<const EditorText>(std::move(text));
  doc.generation = next_generation_++;
  return doc;
}

void Workspace::close(const std::string& uri) { documents_.erase(uri); }

OpenDocument* Workspace::find(const std::string& uri) {
  const auto it = documents_.find(uri);
  return it == documents_.end() ? nullptr : &it->second;
}

const OpenDocument* Workspace::find(const std::string& uri) const {
  const auto it = documents_.find(uri);
  return it == documents_.end() ? nullptr : &it->second;
}

Description Workspace::role_of(const std::string& uri) const {
  const std::optional<std::filesystem::path> path = path_of_uri(uri);
  if (!path) return Description::kNone;
  if (is_line_file(*path)) return Description::kLine;
  if (is_train_file(*path)) return Description::kTrain;
  return Description::kNone;
}

std::optional<DescriptionPair> Workspace::pair_of(const std::string& uri) const {
  const std::optional<std::filesystem::path> path = path_of_uri(uri);
  if (!path) return std::nullopt;
  DescriptionPair pair;
  if (const std::optional<std::string> line_name = line_name_from_file(*path)) {
    pair.line_path = *path;
    pair.line_uri = uri;
    // An open train of this line first, then one on the disk.
    for (const auto& [other_uri, doc] : documents_) {
      if (doc.path.parent_path() == path->parent_path() &&
          train_number_from_file(doc.path, *line_name)) {
        pair.train_path = doc.path;
        pair.train_uri = other_uri;
        return pair;
      }
    }
    const std::vector<std::filesystem::path> trains = trains_beside(*path, *line_name);
    if (!trains.empty()) {
      pair.train_path = trains.front();
      pair.train_uri = uri_of_path(trains.front());
    }
    return pair;
  }
  if (!is_train_file(*path)) return std::nullopt;
  pair.train_path = *path;
  pair.train_uri = uri;
  // "<line>_<train>-.txt": the line is the longest prefix before an
  // underscore whose line description is open or on the disk.
  const std::string name = file_name(*path);
  std::optional<std::filesystem::path> fallback;
  for (size_t cut = name.rfind('_'); cut != std::string::npos && cut > 0;
       cut = name.rfind('_', cut - 1)) {
    const std::filesystem::path line_path =
        path->parent_path() /
        path_from_utf8(name.substr(0, cut) + std::string(kLineDescriptionSuffix));
    if (!fallback) fallback = line_path;
    const std::string line_uri = uri_of_path(line_path);
    if (find(line_uri) != nullptr || is_file(line_path)) {
      pair.line_path = line_path;
      pair.line_uri = line_uri;
      return pair;
    }
    if (cut == 0) break;
  }
  if (fallback) {
    pair.line_path = *fallback;
    pair.line_uri = uri_of_path(*fallback);
  }
  return pair;
}

void OpenDocument::change(const std::vector<EditorText::Change>& changes,
                          PositionEncoding encoding) {
  EditorText changed = *text;
  changed.apply_changes(changes, encoding);
  text = std::make_shared<const EditorText>(std::move(changed));
}

std::shared_ptr<const EditorText> Workspace::text_of(const std::string& uri,
                                                     const std::filesystem::path& path) const {
  if (const OpenDocument* doc = find(uri)) return doc->text;
  if (path.empty()) return nullptr;
  try {
    const std::string bytes = read_bounded_file(path, kLargestDescription, "a description");
    return std::make_shared<const EditorText>(windows1252_to_utf8(bytes));
  } catch (const std::exception&) {
    return nullptr;
  }
}

std::string Workspace::generation_of(const DescriptionPair& pair) const {
  std::string key = std::to_string(disk_generation_);
  for (const std::string* uri : {&pair.line_uri, &pair.train_uri}) {
    const OpenDocument* doc = find(*uri);
    key += ':' + std::to_string(doc != nullptr ? doc->generation : 0);
  }
  return key;
}

}  // namespace tracciato::lsp
