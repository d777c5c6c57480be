#include <utility>

#include "compiler/compile.h"
#include "compiler/line_parser.h"
#include "compiler/runtime_failure.h"
#include "compiler/train_parser.h"

namespace tracciato {
namespace {

constexpr int32_t kReadingFailed = 25;

// Passes everything on to the real source and remembers which descriptions
// are gone, so that the failure handler deletes only those that still exist.
class TrackedDescriptions final : public DescriptionSource {
 public:
  explicit TrackedDescriptions(DescriptionSource& source) : source_(source) {}

  std::optional<std::string_view> read_line() override { return source_.read_line(); }
  void discard_line() override {
    if (std::exchange(line_gone_, true)) return;
    source_.discard_line();
  }
  std::optional<std::string_view> read_train() override { return source_.read_train(); }
  void discard_train() override {
    if (std::exchange(train_gone_, true)) return;
    source_.discard_train();
  }

 private:
  DescriptionSource& source_;
  bool line_gone_ = false;
  bool train_gone_ = false;
};

}  // namespace

void memorizza_dati(ScenarioModel& model, DescriptionSource& source,
                    std::span<ParseListener* const> listeners) {
  TrackedDescriptions descriptions(source);
  // Where a run-time failure of the line phase is pinned; the train phase
  // pins its own failures in error_site before they reach the handler.
  ErrorSite line_reading{Description::kLine, 0, 0};
  bool in_train_phase = false;
  try {
    const LinePhaseEnd line = read_line_description(model, descriptions, line_reading, listeners);
    // Every line code but 15 ends here, and the train description stays
    // where it is, unread.
    if (!line.train_follows) return;
    in_train_phase = true;
    read_train_description(model, descriptions, line.sign_slot, listeners);
  } catch (const RuntimeFailure& failure) {
    // The one handler for both halves: whatever failed, both descriptions
    // are closed and deleted, and the problem is code 25, with no position.
    descriptions.discard_line();
    descriptions.discard_train();
    model.error_code = kReadingFailed;
    if (!in_train_phase) model.error_site = line_reading;
    model.code_site = model.error_site;
    model.error_detail = failure.what();
    model.error_notes.clear();
    // The field at fault, when the reading knew it, rather than its record.
    if (failure.site.line > 0) {
      model.code_site.line = failure.site.line;
      model.code_site.column = failure.site.column;
    }
  }
}

}  // namespace tracciato
