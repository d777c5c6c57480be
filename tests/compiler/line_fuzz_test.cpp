// Random and mutated descriptions through memorizza_dati: whatever the text,
// the compiler must end with a recorded code and a model it can still write,
// never with a crash, an escaped exception or (under the sanitizer preset)
// an out-of-bounds access.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "documents/document.h"
#include "line_fixture.h"

namespace tracciato::test_support {
namespace {

constexpr int kRounds = 1500;

class DescriptionFuzzer {
 public:
  explicit DescriptionFuzzer(uint32_t seed) : rng_(seed) {}

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool chance(int percent) { return pick(100) < percent; }

  // A tame description has only values that read well, so that its records
  // get past their reading and reach the placement and arithmetic rules; a
  // wild one has extremes and malformed numbers too.
  std::string number() {
    if (!wild_)
      return chance(50) ? std::to_string(pick(200) * 50) : std::to_string(pick(300) - 150);
    const int kind = pick(40);
    if (kind == 0) return "";
    if (kind == 1) return "1.5";
    if (kind == 2) return "-";
    if (kind == 3) return "2147483647";
    if (kind == 4) return "-2147483648";
    if (kind < 10) return std::to_string(-pick(2000));
    if (kind < 15) return std::to_string(pick(100000) * 10);
    if (kind < 20) return std::to_string(pick(300) - 150);
    return std::to_string(pick(200) * 50);
  }

  // What ends a field: blanks alone end only a number.
  std::string separator(bool after_number) {
    static const char* const kSeparators[] = {",", ", ", "  ,", "\r\n", "\n", "\r", ",\t", "   "};
    return kSeparators[pick(static_cast<int>(std::size(kSeparators)) - (after_number ? 0 : 1))];
  }

  // A key and the values its record reads: numbers, and 'T' for a text.
  struct Key {
    const char* key;
    const char* values;
  };

  Key line_key() {
    static const Key kKeys[] = {
        {"lunghezza percorso", "N"},
        {"progressiva chilometrica uno", "NNN"},
        {"progressiva due", "NNN"},
        {"progressiva tre", "NNN"},
        {"sfondo uno", "N"},
        {"sfondo due", "N"},
        {"sfondo tre", "N"},
        {"ripetizione segnali 4 codici", "NN"},
        {"ripetizione segnali", "NN"},
        {"pendenza", "NN"},
        {"PENDENZA", "NN"},
        {"curvad4", "NN"},
        {"curvas2", "NN"},
        {"curva", "NN"},
        {"curvas6", "NN"},
        {"montagna", "NNN"},
        {"indicatori_vmax", "NNNNNNNNN"},
        {"cartello_indicatore", "NT"},
        {"[curve]", ""},
        {"[generale]", ""},
        {"-", ""},
        {"--- nota ---", ""},
        {"", ""},
        {"\"a, \r\nb\"", ""},
        {"x]y[", ""},
    };
    return kKeys[pick(std::size(kKeys))];
  }

  Key train_key() {
    static const Key kKeys[] = {
        {"velocita", "NN"},
        {"aderenza", "NN"},
        {"segnale", "NNNNNNNNNNN"},
        {"rallentamento", "NNNNNN"},
        {"abbattimento", "NN"},
        {"stazione", "NNNNNNNNNNNNNNNNT"},
        {"orologio", "NNN"},
        {"sabbia", "N"},
        {"numero vetture", "N"},
        {"massa frenata", "N"},
        {"[generale]", ""},
        {"-", ""},
        {"", ""},
    };
    return kKeys[pick(std::size(kKeys))];
  }

  std::string text_field() {
    std::string text = "(";
    for (int i = pick(20); i > 0; --i) text += static_cast<char>(' ' + pick(95));
    return text + ")";
  }

  // Records mostly with the values their key reads, sometimes with a
  // random number of them.
  template <typename KeyFn>
  std::string records(KeyFn next_key, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
      const Key key = next_key();
      std::string values = key.values;
      if (chance(10)) values = std::string(static_cast<size_t>(pick(12)), 'N');
      text += key.key;
      bool after_number = false;
      for (char v : values) {
        text += separator(after_number);
        after_number = v != 'T' && !chance(1);
        text += after_number ? number() : text_field();
      }
      text += "\r\n";
    }
    return text;
  }

  std::string random_line() {
    wild_ = chance(30);
    std::string text;
    if (!chance(5)) text += "[generale]\r\n";
    if (!chance(5)) {
      const int32_t length = chance(3) ? -pick(100) : pick(20000);
      text += "lunghezza percorso, " + std::to_string(length) + "\r\n";
    }
    text += records([this] { return line_key(); }, pick(40));
    return text + (chance(80) ? "\r\n" : "");
  }

  std::string random_train() {
    wild_ = chance(30);
    return "[generale]\r\n" + records([this] { return train_key(); }, pick(30)) + "\r\n";
  }

  std::string mutate(std::string text) {
    static const char kInteresting[] = "0123456789,-\r\n\" []sdx";
    for (int ops = 1 + pick(8); ops > 0 && !text.empty(); --ops) {
      const size_t at = static_cast<size_t>(pick(static_cast<int>(text.size())));
      switch (pick(5)) {
        case 0:
          text[at] = kInteresting[pick(sizeof kInteresting - 1)];
          break;
        case 1:
          text.erase(at, static_cast<size_t>(pick(40)));
          break;
        case 2:
          text.insert(at, text.substr(at, static_cast<size_t>(pick(80))));
          break;
        case 3:
          wild_ = true;
          text.insert(at, "," + number() + separator(true));
          break;
        default:
          text.resize(at);
          break;
      }
    }
    return text;
  }

 private:
  std::mt19937 rng_;
  bool wild_ = true;
};

TEST(DescriptionFuzz, RandomAndMutatedDescriptionsEndWithARecordedCode) {
  const std::set<int32_t> codes = {0,  1,  2,  3,  4,  5,  6,   7,   8,   9,  10,
                                   11, 12, 13, 15, 16, 17, 18,  19,  20,  21, 22,
                                   24, 25, 26, 27, 28, 29, 101, 102, 103, 104};
  const std::string line_document = render_document(line_description_document());
  const std::string train_document = render_document(train_description_document());
  DescriptionFuzzer fuzz(20240611);
  for (int round = 0; round < kRounds; ++round) {
    const std::string line = fuzz.chance(50) ? fuzz.random_line() : fuzz.mutate(line_document);
    std::string train;
    switch (fuzz.pick(3)) {
      case 0:
        train = fuzz.random_train();
        break;
      case 1:
        train = fuzz.mutate(train_document);
        break;
      default:
        break;
    }
    const int32_t track_flag = fuzz.chance(25) ? 0 : 1;
    const LineRun run = run_line(line, track_flag, train);
    const ScenarioModel& model = run.model;

    SCOPED_TRACE("round " + std::to_string(round));
    EXPECT_TRUE(codes.contains(model.error_code)) << model.error_code;
    EXPECT_TRUE(run.line_discarded);
    // Only a line code leaves the train description in place.
    if (!run.train_discarded) {
      EXPECT_EQ(model.error_site.description, Description::kLine);
    }
    EXPECT_GE(model.span_count, 0);
    EXPECT_LE(model.span_count, 80);
    if (model.has_route()) {
      EXPECT_EQ(model.route_cells.size(), static_cast<size_t>(model.last_cell) + 1);
      EXPECT_EQ(model.track_points.rows(), track_flag ? model.track_length + 1 : 0);
      EXPECT_LE(model.track_points.written(), model.track_points.rows());
    }
    if (::testing::Test::HasFailure()) break;
  }
}

}  // namespace
}  // namespace tracciato::test_support
