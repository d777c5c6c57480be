// Random and mutated train descriptions through the train phase and the
// completion pass: no crash, no sanitizer report, and the model's shape and
// diagnostics stay within what the compiler can record.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "compiler/compile.h"
#include "documents/document.h"
#include "train_fixture.h"

namespace tracciato {
namespace {

class TrainFuzz {
 public:
  explicit TrainFuzz(uint32_t seed) : rng_(seed) {}

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  std::string number() {
    static const char* const kOdd[] = {
        "",      "abc",   "1.5",    "-",   "+7",  "2147483647", "-2147483648", "2147483648",
        "32767", "32768", "-32769", "255", "256", "1277",       "1278",        "\"9\""};
    if (pick(40) == 0) return kOdd[pick(std::size(kOdd))];
    switch (pick(6)) {
      case 0:
        return std::to_string(std::uniform_int_distribution<int32_t>(INT32_MIN, INT32_MAX)(rng_));
      case 1:
      case 2:
        return std::to_string(pick(101) - 10);
      default:
        return std::to_string(50 * (pick(820) - 10));
    }
  }

  std::string separator() {
    static const char* const kSeparators[] = {", ", ",", " ", "\r\n", "\n", "\r", ",\r\n", "\t"};
    return kSeparators[pick(std::size(kSeparators))];
  }

  // A description made of records with random values, dash fields and noise.
  std::string generated() {
    static const char* const kKeys[] = {"velocita",
                                        "aderenza",
                                        "segnale",
                                        "rallentamento",
                                        "abbattimento",
                                        "stazione",
                                        "orologio",
                                        "sabbia",
                                        "numero vetture",
                                        "massa frenata",
                                        "-- nota --",
                                        "[segnali]",
                                        "SEGNALE rallentamento",
                                        ""};
    static const int kValueCounts[] = {2, 2, 11, 6, 2, 17, 3, 1, 1, 1, 0, 0, 17, 0};
    std::string text = pick(10) == 0 ? "" : "[generale]\r\n";
    const int records = pick(40);
    for (int r = 0; r < records; ++r) {
      const int key = pick(std::size(kKeys));
      text += kKeys[key];
      const int values = kValueCounts[key] + (pick(8) == 0 ? pick(3) - 1 : 0);
      for (int v = 0; v < values; ++v)
        text += separator() + (pick(60) == 0 ? std::string("NOME") : number());
      text += "\r\n";
    }
    if (pick(2) == 0) text += "\r\n";
    return text;
  }

  // The embedded description with a few bytes flipped, inserted or removed,
  // or cut short.
  std::string mutated(std::string text) {
    static const std::string kAlphabet = ",- \r\n\"0123456789[]aegnorstvz";
    const int edits = 1 + pick(8);
    for (int e = 0; e < edits && !text.empty(); ++e) {
      const size_t at = static_cast<size_t>(pick(static_cast<int>(text.size())));
      switch (pick(4)) {
        case 0:
          text[at] = kAlphabet[static_cast<size_t>(pick(static_cast<int>(kAlphabet.size())))];
          break;
        case 1:
          text.insert(at, 1,
                      kAlphabet[static_cast<size_t>(pick(static_cast<int>(kAlphabet.size())))]);
          break;
        case 2:
          text.erase(at, 1 + static_cast<size_t>(pick(20)));
          break;
        default:
          text.resize(at);
      }
    }
    return text;
  }

 private:
  std::mt19937 rng_;
};

const std::set<int32_t> kTrainAndCompletionCodes = {0,  2,  7,  8,  9,  10, 11, 12, 13, 15,
                                                    16, 17, 18, 19, 20, 22, 24, 26, 28};

void run_one(TrainFuzz& fuzz, const std::string& text, int iteration) {
  static const int32_t kLengths[] = {32000, 0, 25, 1000, 32000};
  static const int32_t kSignSlots[] = {80, 0, 1, 3, 44, 100, -1};
  ScenarioModel model;
  if (fuzz.pick(20) != 0)
    model = test_support::route_model(kLengths[fuzz.pick(std::size(kLengths))]);
  const size_t cells = model.route_cells.size();
  if (fuzz.pick(4) == 0) model.error_code = 15;
  const auto run =
      test_support::run_train(model, text, kSignSlots[fuzz.pick(std::size(kSignSlots))]);
  ASSERT_EQ(model.route_cells.size(), cells) << iteration;
  if (run.failed) return;
  ASSERT_TRUE(run.discarded) << iteration;
  // A station refused before its fields are read needs no route cells.
  if (model.has_route()) complete_signalling(model);
  ASSERT_TRUE(kTrainAndCompletionCodes.contains(model.error_code))
      << iteration << ": " << model.error_code;
}

TEST(TrainFuzz, GeneratedDescriptions) {
  TrainFuzz fuzz(20240611);
  for (int i = 0; i < 3000; ++i) run_one(fuzz, fuzz.generated(), i);
}

TEST(TrainFuzz, MutatedEmbeddedDescription) {
  const std::string embedded = render_document(train_description_document());
  TrainFuzz fuzz(7351);
  for (int i = 0; i < 3000; ++i) run_one(fuzz, fuzz.mutated(embedded), i);
}

// The completion pass only ever turns free cells into marks of 180 and lowers
// abbattimento values; nothing else changes.
TEST(TrainFuzz, CompletionPassTouchesOnlyFreeAndAbbattimentoCells) {
  static const uint8_t kKinds[] = {0, 0, 0, 0, 1, 2, 3, 4, 5, 10, 11, 12, 13};
  TrainFuzz fuzz(110);
  for (int i = 0; i < 2000; ++i) {
    ScenarioModel model = test_support::route_model(fuzz.pick(3) == 0 ? 0 : 2000);
    for (RouteCell& cell : model.route_cells) {
      cell.kind = kKinds[fuzz.pick(std::size(kKinds))];
      cell.value_1 = static_cast<int16_t>(fuzz.pick(300) - 20);
    }
    const std::vector<RouteCell> before = model.route_cells;
    complete_signalling(model);
    for (size_t c = 0; c < before.size(); ++c) {
      const RouteCell& was = before[c];
      const RouteCell& now = model.route_cells[c];
      if (now == was) continue;
      ASSERT_EQ(now.kind, kAbbattimentoValueCell) << i << " cell " << c;
      if (was.kind == kAbbattimentoValueCell) {
        ASSERT_EQ(now.value_1, std::min<int16_t>(180, was.value_1)) << i << " cell " << c;
      } else {
        ASSERT_TRUE(is_free(was)) << i << " cell " << c;
        ASSERT_EQ(now.value_1, 180) << i << " cell " << c;
      }
    }
    ASSERT_TRUE(kTrainAndCompletionCodes.contains(model.error_code)) << i;
  }
}

}  // namespace
}  // namespace tracciato
