// The one reader of both descriptions: walks a description through its
// grammar tables (description_grammar.h) and tells what it reads.
//
// The walk finds the "[generale]" field, passes over comment fields, tests
// every key field against the rows of its part in table order and, for each
// row the field matches, hands the record to a RecordHandler, which pulls the
// record's values one by one through RecordValues and says whether the walk
// goes on. Every field read is reported to the ParseListeners: the model's
// placement, lint's scan and the diagnostics all hear the same walk, so they
// cannot disagree on the grammar.
//
// A value that cannot be read (not a number, too wide for its field, past the
// end of the text) throws RuntimeFailure out of the walk, as the field reader
// does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/description_grammar.h"
#include "compiler/field_reader.h"

namespace tracciato {

// What a key field read was for.
enum class KeyRole {
  kHeadingSearch,  // read while looking for "[generale]"
  kComment,        // holds a dash and was passed over
  kKey,            // tested against the keys of its part
  kUnexamined,     // its read reached the end of the text, so it is not tested
};

struct KeyFieldRead {
  std::string_view text;
  FieldSite site;
  int32_t length = 0;  // bytes of its line the field covers (FieldReader::last_length)
  GrammarPart part = GrammarPart::kTrain;
  KeyRole role = KeyRole::kKey;
  // A field with a dash tested as a key because the comment fields before it
  // used up the number passed over in a row.
  bool comment_read_as_key = false;
};

struct ValueRead {
  size_t index = 0;  // into the row's values
  int32_t number = 0;
  std::string_view text;  // for a text value
  FieldSite site;
  int32_t length = 0;  // bytes of its line the field covers (FieldReader::last_length)
};

class ParseListener {
 public:
  virtual ~ParseListener() = default;
  virtual void general_heading(FieldSite) {}
  // The line's general section has ended with the field at `last` (its
  // heading, or the last value of the records the heading started); what
  // follows is the feature part.
  virtual void general_section_ends(FieldSite /*last*/) {}
  virtual void key_field(const KeyFieldRead&) {}
  virtual void record_begins(const RecordRule&, FieldSite /*key_site*/) {}
  virtual void value_read(const RecordRule&, const ValueRead&) {}
};

// The values of the record at hand, read in the widths of its row. Each read
// must ask for the width the row gives next; the row is the authority.
class RecordValues {
 public:
  RecordValues(FieldReader& reader, const RecordRule& rule,
               const std::vector<ParseListener*>& listeners)
      : reader_(reader), rule_(rule), listeners_(listeners) {}

  int32_t read_number();
  uint8_t read_u8();
  int16_t read_i16();
  std::string read_stored_text();

  // Reads what the handler left unread.
  void read_rest();
  bool all_read() const { return next_ == rule_.values.size(); }

 private:
  const ValueRule& expect(ValueWidth width);
  int32_t read_field();
  [[noreturn]] void refuse_width(int32_t n, std::string_view range);
  void report_number(int32_t n);

  FieldReader& reader_;
  const RecordRule& rule_;
  const std::vector<ParseListener*>& listeners_;
  size_t next_ = 0;
};

// What the walk does after a record.
enum class WalkStep {
  kGoOn,
  kEndRecords,  // the records end here; the description is complete
  kStop,        // a problem: the walk ends, the description is not complete
};

class RecordHandler {
 public:
  virtual ~RecordHandler() = default;
  virtual WalkStep record(const RecordRule& rule, RecordValues& values) = 0;
  // The line's general section has ended; the feature part follows.
  virtual void features_begin() {}
};

// How a walk ended.
enum class WalkEnd {
  kNoHeading,  // the line description has no "[generale]" field
  kStopped,    // a handler stopped it
  kCompleted,  // the records ran out, or a handler ended them
};

struct WalkOptions {
  bool curves = true;  // curves are read only when the track is computed
};

class DescriptionWalk {
 public:
  explicit DescriptionWalk(std::string_view text) : reader_(text) {}

  void listen(ParseListener& listener) { listeners_.push_back(&listener); }

  // The line description: the text up to "[generale]" (which must be there),
  // the general section up to its section-end field, the feature part.
  WalkEnd walk_line(RecordHandler& handler, WalkOptions options = {});
  // The train description: the text up to "[generale]", if any, then its
  // records.
  WalkEnd walk_train(RecordHandler& handler);

  // Where the field most recently read starts.
  FieldSite last_site() const { return reader_.last_site(); }

 private:
  std::string read_key(GrammarPart part, KeyRole role);
  void report(std::string_view text, GrammarPart part, KeyRole role, bool comment_as_key = false);
  // Runs every row the key matches; false when a handler ended the records.
  WalkStep run_rows(GrammarPart part, std::string_view key, RecordHandler& handler,
                    WalkOptions options);
  bool find_heading(GrammarPart part, bool end_test_first);
  WalkEnd walk_records(GrammarPart part, RecordHandler& handler, WalkOptions options);

  FieldReader reader_;
  std::vector<ParseListener*> listeners_;
};

}  // namespace tracciato
