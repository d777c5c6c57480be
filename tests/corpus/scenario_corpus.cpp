#include "corpus/scenario_corpus.h"

#include <algorithm>
#include <random>
#include <stdexcept>
#include <vector>

#include "documents/document.h"
#include "driver/compile_driver.h"
#include "output/scenario_output.h"
#include "support/digest.h"

namespace tracciato::corpus {
namespace {

// Only the engine's raw output is used: the standard fixes mt19937's sequence,
// but not what the distributions make of it. Each draw is a statement of its
// own or an element of a braced list, whose order the language fixes (the
// operands of + and the arguments of a call have none).
class Dice {
 public:
  explicit Dice(uint32_t seed) : engine_(seed) {}

  int pick(int n) { return static_cast<int>(engine_() % static_cast<uint32_t>(n)); }
  int between(int low, int high) { return low + pick(high - low + 1); }
  bool chance(int percent) { return pick(100) < percent; }
  template <typename T, size_t N>
  const T& one_of(const T (&items)[N]) {
    return items[pick(static_cast<int>(N))];
  }

 private:
  std::mt19937 engine_;
};

std::string num(int64_t v) { return std::to_string(v); }

// Field separators as authors write them: padded commas, and now and then a
// bare one or a tab.
std::string sep(Dice& d) {
  static const char* const kSeparators[] = {",  ", ", ", ",", ",\t", " ,  "};
  return d.chance(80) ? std::string(",  ") : std::string(d.one_of(kSeparators));
}

std::string record(Dice& d, const std::string& key, const std::vector<std::string>& values) {
  std::string text = key;
  for (const std::string& v : values) text += sep(d) + v;
  return text + "\r\n";
}

// A position on the 50 m grid, or now and then off it (a half lands on the
// even cell, which the corpus must pin too).
int32_t position(Dice& d, int32_t low, int32_t high) {
  if (high < low) high = low;
  const int32_t on_grid = 50 * d.between(low / 50, high / 50);
  if (d.chance(6)) return on_grid + d.one_of({25, 1, 49, 75, -25});
  return on_grid;
}

std::vector<int32_t> positions(Dice& d, int count, int32_t low, int32_t high, bool sorted) {
  std::vector<int32_t> out;
  for (int i = 0; i < count; ++i) out.push_back(position(d, low, high));
  if (sorted) {
    std::sort(out.begin(), out.end());
    // Mostly one record a cell, as an author would place them.
    if (d.chance(85)) out.erase(std::unique(out.begin(), out.end()), out.end());
  }
  return out;
}

std::string sign_text(Dice& d) {
  static const char* const kWords[] = {"CAVALCAVIA", "PASSAGGIO", "A LIVELLO", "SCAMBIO",
                                       "LINEA",      "Km 6+905",  "TIRSENA'",  "CITT\xC0"};
  std::string text;
  for (int i = d.between(1, 3); i > 0; --i) text += std::string("(") + d.one_of(kWords) + ")";
  return text;
}

// A line whose records mostly fit: curves, gradients, spans, indicator groups
// and signs along a route of random length.
std::string structured_line(Dice& d, int32_t& length, bool& crowded) {
  if (d.chance(85)) {
    length = 50 * d.between(20, d.chance(15) ? 1200 : 400);
  } else {
    static const int32_t kOdd[] = {0, -50, 1234, 75, 999999, 1000001, 2000, 100};
    length = d.one_of(kOdd);
  }
  const int32_t end = std::max(length, 1000);
  std::string t = "[generale]\r\n";
  t += record(d, "lunghezza percorso", {num(length)});
  static const char* const kProgressives[] = {"progressiva chilometrica uno",
                                              "progressiva chilometrica due",
                                              "progressiva chilometrica tre"};
  for (const char* key : kProgressives) {
    if (d.chance(10)) continue;
    const int32_t a = d.chance(90) ? 50 * d.between(0, end / 50) : d.between(1, 999);
    const int32_t b = d.chance(92) ? 50 * d.between(0, 4000) : d.between(1, 999);
    t += record(d, key, {num(a), num(b), num(d.between(0, 1))});
  }
  for (const char* key : {"sfondo uno", "sfondo due", "sfondo tre"}) {
    if (d.chance(85)) t += record(d, key, {num(d.between(0, 3))});
  }
  if (d.chance(85)) {
    static const char* const kRepetition[] = {"ripetizione segnali 4 codici",
                                              "ripetizione segnali 9 codici"};
    const std::string key = d.chance(94) ? d.one_of(kRepetition) : "ripetizione segnali";
    const int32_t step = d.chance(96) ? 0 : d.between(1, 7);
    t += record(d, key, {num(d.pick(3) * 1000 + step), num(d.chance(40) ? 0 : d.pick(3) * 1000)});
  }

  const int32_t reach = std::max(end - 150, 100);
  const bool sorted = d.chance(90);
  t += "[curve]\r\n";
  for (int32_t p : positions(d, d.between(0, 25), 0, reach, sorted)) {
    const std::string side = d.chance(50) ? "d" : "s";
    const int32_t curvature = d.chance(97) ? d.between(1, 6) : d.between(0, 9);
    const std::string key = "curva" + side + num(curvature);
    t += record(d, key, {num(p), num(50 * d.between(0, 30))});
  }
  t += "[pendenze]\r\n";
  for (int32_t p : positions(d, d.between(0, 15), 0, reach, sorted)) {
    const int32_t g = d.chance(95) ? d.between(-30, 30) : d.one_of({-300, 200, 156, -101});
    t += record(d, "pendenza", {num(p), num(g)});
  }
  // Now and then a crowded line, to run out of span entries and sign slots.
  crowded = d.chance(6);
  t += "[montagne]\r\n";
  for (int32_t p : positions(d, d.between(0, crowded ? 90 : 8), 0, reach, sorted)) {
    const int32_t span = 50 * d.between(d.chance(5) ? -2 : 1, 20);
    t += record(d, "montagna", {num(p), num(p + span), num(d.chance(50) ? 12 : d.between(0, 14))});
  }
  t += "[cartelli]\r\n";
  for (int32_t p : positions(d, crowded ? 0 : d.between(0, 6), 0, reach, sorted)) {
    std::vector<std::string> v = {num(p)};
    for (int i = 0; i < 8; ++i) {
      const bool blank = i >= 4 && i < 7 && d.chance(40);
      v.push_back(blank ? "" : num(i == 3 || i == 7 ? d.between(0, 2) : 5 * d.between(6, 32)));
    }
    t += record(d, "indicatori_vmax", v);
  }
  t += "[indicazioni]\r\n";
  for (int32_t p : positions(d, crowded ? d.between(70, 90) : d.between(0, 8), 0, reach, sorted)) {
    t += "cartello_indicatore,  " + num(p) + ",   " + sign_text(d) + "\r\n";
  }
  // A feature beyond the route ends the line with its own code.
  if (d.chance(5)) t += record(d, "montagna", {num(end + 7000), num(end + 7050), "2"});
  if (d.chance(3)) t += "-- nota --\r\nsegnalle,  100\r\n";
  return t + "[fine]\r\n";
}

std::string station_name(Dice& d) {
  static const char* const kNames[] = {
      "TARVO", "BELMIRA", "SAN LORIANO di TARVO", "BIVIO CASCINA DELL' ERBA", "CITT\xC0 ALTA", "V"};
  return d.one_of(kNames);
}

// A train on a route of `length` metres: profiles, stations, signals,
// slowdowns and abbattimento marks, mostly on free cells.
std::string structured_train(Dice& d, int32_t length, bool crowded) {
  const int32_t end = std::max(length, 1000);
  const int32_t reach = end + 6800;  // records may stand on the overrun too
  std::string t = "[generale]\r\n";
  if (d.chance(90)) t += record(d, "numero vetture", {num(d.between(1, 12))});
  if (d.chance(90)) t += record(d, "percentuale massa frenata", {num(d.between(50, 160))});
  if (d.chance(90)) t += record(d, "sabbia", {num(d.between(0, 600))});
  if (d.chance(90)) {
    // Blanks alone part the clock's numbers, as in the embedded train.
    const int32_t hours = d.between(0, 23);
    const int32_t minutes = d.between(0, 59);
    const int32_t seconds = d.between(0, 59);
    t += "orologio,    " + num(hours) + "    " + num(minutes) + "   " + num(seconds) + " \r\n";
  }
  t += "[aderenze]\r\n";
  for (int32_t p : positions(d, d.between(1, 4), 0, end, true))
    t += record(d, "aderenza", {num(p), num(d.chance(99) ? d.between(60, 100) : 300)});
  t += "[vel_limite]\r\n";
  for (int32_t p : positions(d, d.between(1, 8), 0, end, true))
    t += record(d, "velocita", {num(p), num(d.chance(99) ? 5 * d.between(6, 36) : 1300)});
  t += "[stazioni]\r\n";
  // Stations mostly keep the 350 m between spans that the line needs.
  std::vector<int32_t> station_at;
  std::vector<int32_t> station_length;
  for (int32_t p = position(d, 0, 2000); p < end && static_cast<int>(station_at.size()) < 90;) {
    station_at.push_back(p);
    station_length.push_back(d.chance(90) ? 100 * d.between(2, 7) : d.one_of({450, 0, 150, 800}));
    p += d.chance(92) ? station_length.back() + 400 + 50 * d.pick(crowded ? 4 : 200)
                      : 50 * d.pick(10);
    if (!crowded && d.chance(15)) break;
  }
  for (size_t s = 0; s < station_at.size(); ++s) {
    const int32_t p = station_at[s];
    const int32_t len = station_length[s];
    std::vector<std::string> v = {num(p),
                                  num(d.chance(99) ? d.one_of({12, 22, 25, 11}) : 300),
                                  num(len),
                                  num(d.between(0, 1)),
                                  num(d.between(0, 1)),
                                  num(d.between(0, 1))};
    for (int i = 0; i < 7; ++i) v.push_back(num(d.between(0, 4)));
    v.push_back(num(d.between(0, 23)));
    v.push_back(num(d.between(0, 59)));
    v.push_back(num(d.between(0, 59)));
    v.push_back(station_name(d));
    t += record(d, "stazione", v);
  }
  // Signals and slowdowns interleave as in real timetables, by position.
  t += "[rallentamenti]\r\n";
  // A slowdown at the origin with no speed but a d_v reaches the competition
  // code's reserved slot.
  if (d.chance(3)) t += record(d, "rallentamento", {"0", "0", "100", "0", "0", "3"});
  for (int32_t x : positions(d, d.between(0, 5), 0, reach, true)) {
    t += record(
        d, "rallentamento",
        {num(x), num(5 * d.between(2, 28)), num(50 * d.between(d.chance(3) ? -3 : 0, 40)),
         num(d.between(0, 1)), num(d.between(0, 1)), num(d.chance(70) ? 0 : d.between(1, 5))});
  }
  t += "[segnali]\r\n";
  for (int32_t p : positions(d, d.between(0, 14), 0, reach, true)) {
    const int32_t sx = d.between(1, 2);
    const int32_t tempo = d.one_of({0, 0, 190, 1, 100, 101, 255, -5});
    t += record(d, "segnale",
                {num(p), num(sx), num(d.between(0, 6)), num(d.between(0, 6)), num(d.between(0, 6)),
                 num(d.chance(90) ? 0 : d.between(1, 3)), num(d.between(0, 2)),
                 num(d.between(0, 3)), num(d.between(0, 3)), num(d.between(0, 3)), num(tempo)});
  }
  t += "[codici]\r\n";
  for (int32_t p : positions(d, d.between(0, 3), 0, reach, true))
    t += record(d, "abbattimento", {num(p), num(d.chance(97) ? d.one_of({180, 0, 90}) : 40000)});
  if (d.chance(4)) t += record(d, "segnale", {num(end + 9000), "1", "1", "1", "1", "0", "1"});
  return t + "[fine]\r\n";
}

// A few bytes of `text` changed, repeated, removed, or the text cut short.
std::string mutated(Dice& d, std::string text) {
  static const std::string kAlphabet = ",- \r\n\"0123456789[]aegnorstvz";
  for (int ops = d.between(1, 6); ops > 0 && !text.empty(); --ops) {
    const size_t at = static_cast<size_t>(d.pick(static_cast<int>(text.size())));
    switch (d.pick(5)) {
      case 0:
        text[at] = kAlphabet[static_cast<size_t>(d.pick(static_cast<int>(kAlphabet.size())))];
        break;
      case 1:
        text.erase(at, static_cast<size_t>(d.pick(40)));
        break;
      case 2:
        text.insert(at, text.substr(at, static_cast<size_t>(d.pick(80))));
        break;
      case 3:
        text.insert(at, "," + num(d.one_of({2147483647, -1, 256, 65536, 1277, 32768})) + ",");
        break;
      default:
        text.resize(at);
        break;
    }
  }
  return text;
}

// Known keys with random numbers, malformed ones among them.
std::string noise(Dice& d, bool line) {
  static const char* const kLineKeys[] = {"lunghezza percorso",
                                          "progressiva uno",
                                          "sfondo due",
                                          "ripetizione segnali 4 codici",
                                          "pendenza",
                                          "curvad3",
                                          "curvas7",
                                          "montagna",
                                          "indicatori_vmax",
                                          "cartello_indicatore",
                                          "[curve]",
                                          "[generale]",
                                          "-",
                                          ""};
  static const char* const kTrainKeys[] = {
      "velocita",   "aderenza", "segnale", "rallentamento",  "abbattimento",
      "stazione",   "orologio", "sabbia",  "numero vetture", "massa frenata",
      "[generale]", "-",        ""};
  static const char* const kOdd[] = {"",      "abc",        "1.5",         "-",
                                     "+7",    "2147483648", "-2147483648", "4x",
                                     "32768", "255",        "256",         "12345678901"};
  std::string t = d.chance(85) ? "[generale]\r\n" : "";
  if (line && d.chance(80)) t += "lunghezza percorso, " + num(50 * d.between(-2, 200)) + "\r\n";
  for (int r = d.between(0, 30); r > 0; --r) {
    t += line ? d.one_of(kLineKeys) : d.one_of(kTrainKeys);
    for (int v = d.between(0, 17); v > 0; --v) {
      t += d.chance(70) ? ", " : d.one_of({"\r\n", " ", ",\t", "\n"});
      t += d.chance(8) ? std::string(d.one_of(kOdd)) : num(50 * d.between(-5, 300));
    }
    t += "\r\n";
  }
  return t;
}

std::string case_name(Dice& d, bool line) {
  static const char* const kLines[] = {"Tarvo_Belmira", "Linea_Citt\xE0", "L", "Valle Alta",
                                       "ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdef"};
  static const char* const kTrains[] = {"7351", "1", "R2045",
                                        "\xC9"
                                        "T9",
                                        "0000000000000000000"};
  return line ? d.one_of(kLines) : d.one_of(kTrains);
}

}  // namespace

CorpusCase corpus_case(int index) {
  Dice d(0x7ace0000u + static_cast<uint32_t>(index));
  CorpusCase c;
  c.line_name = case_name(d, true);
  c.train_number = case_name(d, false);
  c.track_flag = d.chance(60) ? 1 : 0;
  const int flavour = d.pick(10);
  if (flavour < 6) {
    int32_t length = 0;
    bool crowded = false;
    c.line_text = structured_line(d, length, crowded);
    c.train_text = structured_train(d, length, crowded);
    // Long lines make long track files: keep the corpus quick to run.
    if (length > 30000 && d.chance(70)) c.track_flag = 0;
  } else if (flavour < 8) {
    c.line_text = render_document(line_description_document());
    c.train_text = render_document(train_description_document());
    if (d.chance(50)) {
      c.line_text = mutated(d, c.line_text);
    } else {
      c.train_text = mutated(d, c.train_text);
    }
  } else {
    c.line_text = noise(d, true);
    c.train_text = noise(d, false);
    c.line_exists = !d.chance(3);
    c.train_exists = !d.chance(5);
  }
  return c;
}

CaseOutcome compile_case(const CorpusCase& c, CaseFiles* files) {
  ScenarioModel model;
  model.line_name = c.line_name;
  model.train_number = c.train_number;
  MemoryDescriptions source(
      c.line_exists ? std::optional<std::string>(c.line_text) : std::nullopt,
      c.train_exists ? std::optional<std::string>(c.train_text) : std::nullopt);
  CaseOutcome out;
  out.stop = static_cast<int>(compile_scenario(model, c.track_flag, source));
  out.error_code = model.error_code;
  out.error_position = model.error_position;
  if (out.stop != static_cast<int>(CompileStop::kNone)) return out;
  CaseFiles written;
  if (model.track_flag != 0) {
    written.track = encode_track_file(model);
    out.track_size = written.track->size();
  }
  written.item = encode_item_file(model);
  written.cell = encode_cell_file(model);
  out.item_size = written.item.size();
  out.cell_size = written.cell.size();
  out.digest = test_support::fnv1a64(written.track.value_or("") + written.item + written.cell);
  if (files != nullptr) *files = std::move(written);
  return out;
}

}  // namespace tracciato::corpus
