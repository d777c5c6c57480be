// Where memorizza_dati takes the two descriptions' text from, and what becomes
// of their files once read.
//
// The install package reads the files it wrote beside itself and deletes them
// at the points the compiler names; an author's compile reads the author's own
// files and never touches them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tracciato {

class DescriptionSource {
 public:
  virtual ~DescriptionSource() = default;

  // The line description's text, valid while the source lives; nullopt when
  // the file does not exist. A long description is read once and never
  // copied: the parser reads it where the source keeps it.
  virtual std::optional<std::string_view> read_line() = 0;
  // The line description is done with: the install package deletes it.
  virtual void discard_line() = 0;

  // The train description's text, valid while the source lives; nullopt when
  // it cannot be opened.
  virtual std::optional<std::string_view> read_train() = 0;
  virtual void discard_train() = 0;
};

// Descriptions held in memory, kept by the source; discarding only records
// that it happened.
class MemoryDescriptions final : public DescriptionSource {
 public:
  MemoryDescriptions(std::optional<std::string> line, std::optional<std::string> train)
      : line_(std::move(line)), train_(std::move(train)) {}

  std::optional<std::string_view> read_line() override { return line_; }
  void discard_line() override { line_discarded = true; }
  std::optional<std::string_view> read_train() override { return train_; }
  void discard_train() override { train_discarded = true; }

  bool line_discarded = false;
  bool train_discarded = false;

 private:
  std::optional<std::string> line_;
  std::optional<std::string> train_;
};

// Descriptions an author's tool holds already: the source only points at
// them, so a long text is not copied for the compile.
// REQUIRES: both texts outlive the source.
class DescriptionTexts final : public DescriptionSource {
 public:
  DescriptionTexts(std::string_view line, std::string_view train) : line_(line), train_(train) {}

  std::optional<std::string_view> read_line() override { return line_; }
  void discard_line() override {}
  std::optional<std::string_view> read_train() override { return train_; }
  void discard_train() override {}

 private:
  std::string_view line_;
  std::string_view train_;
};

}  // namespace tracciato
