// The descriptions the editor has open, and which line and train are
// analysed together.
//
// A train description "<line>_<train>-.txt" is analysed with the line
// description "<line>_linea.txt" of its folder; a line description with the
// train of its folder the editor has open, else with the first train file
// beside it on the disk, else alone. An open buffer's text is taken before
// the file on the disk, and is never written anywhere.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "compiler/scenario_model.h"
#include "lsp/editor_text.h"

namespace tracciato::lsp {

struct OpenDocument {
  std::string uri;
  std::filesystem::path path;  // empty for a URI that names no file
  int32_t version = 0;
  // Shared with the analyses that read it; a change makes a new one when an
  // analysis still holds it.
  std::shared_ptr<const EditorText> text;
  uint64_t generation = 0;  // grows with every change

  // The editor's changes, all or none (EditorText::apply_changes).
  void change(const std::vector<EditorText::Change>& changes, PositionEncoding encoding);
};

// The two descriptions analysed together. A side that does not exist has
// an empty path and URI.
struct DescriptionPair {
  std::string line_uri;
  std::string train_uri;
  std::filesystem::path line_path;
  std::filesystem::path train_path;

  std::string key() const { return line_uri + '\n' + train_uri; }
};

class Workspace {
 public:
  OpenDocument& open(const std::string& uri, int32_t version, std::string text);
  void close(const std::string& uri);
  OpenDocument* find(const std::string& uri);
  const OpenDocument* find(const std::string& uri) const;
  const std::map<std::string, OpenDocument>& documents() const { return documents_; }

  // The pair a document belongs to; nullopt for a document that is neither
  // a line nor a train description.
  std::optional<DescriptionPair> pair_of(const std::string& uri) const;
  // Which description of its pair a document is.
  Description role_of(const std::string& uri) const;

  // A side of a pair as the analysis reads it: the open buffer, else the
  // file on the disk converted for the editor, else nothing.
  std::shared_ptr<const EditorText> text_of(const std::string& uri,
                                            const std::filesystem::path& path) const;
  // What an analysis of a pair read: it is current while this stays as it
  // was.
  std::string generation_of(const DescriptionPair& pair) const;
  // Marks a document changed.
  void touch(OpenDocument& doc) { doc.generation = next_generation_++; }

  // Files on the disk may have changed (a save, a file event).
  void disk_changed() { ++disk_generation_; }

 private:
  std::map<std::string, OpenDocument> documents_;
  uint64_t next_generation_ = 1;
  uint64_t disk_generation_ = 0;
};

}  // namespace tracciato::lsp
