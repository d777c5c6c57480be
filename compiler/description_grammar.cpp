#include "compiler/description_grammar.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "compiler/field_reader.h"

namespace tracciato {
namespace {

using W = ValueWidth;

constexpr ValueRule kLineLength[] = {
    {"length", W::kNumber, "m", "the line's length, 0 to 1,000,000"}};
constexpr ValueRule kProgressive[] = {
    {"position", W::kNumber, "m", "where the progressive starts, a multiple of 50"},
    {"value", W::kNumber, "m", "the kilometric value there, a multiple of 50"},
    {"flag", W::kNumber, "", "1: the kilometric value is counted 100 m further on"},
};
constexpr ValueRule kBackground[] = {
    {"background", W::kNumber, "", "the background picture's number"}};
constexpr ValueRule kSignalRepetition[] = {
    {"first distance", W::kNumber, "m", "first repetition distance, a multiple of 50"},
    {"second distance", W::kNumber, "m",
     "second repetition distance, a multiple of 50; 0 for none"},
};
constexpr ValueRule kGradient[] = {
    {"position", W::kNumber, "m", "where the gradient begins (cell of position / 50)"},
    {"gradient", W::kNumber, "per mille", "stored as gradient + 100 in one byte: -100 to 155"},
};
constexpr ValueRule kCurve[] = {
    {"start", W::kNumber, "m", "where the curve begins"},
    {"length", W::kNumber, "m", "how long it bends the track"},
};
constexpr ValueRule kMountainSpan[] = {
    {"start", W::kNumber, "m", "where the tunnel begins"},
    {"end", W::kNumber, "m", "where it ends"},
    {"kind", W::kNumber, "", "the span's kind (above 10: a marker span, kind - 10)"},
};
constexpr ValueRule kSpeedIndicators[] = {
    {"position", W::kNumber, "m", "the group's place (cell of position / 50 + 1)"},
    {"vas", W::kNumber, "km/h", "left speed a"},
    {"vbs", W::kNumber, "km/h", "left speed b"},
    {"vcs", W::kNumber, "km/h", "left speed c"},
    {"strisces", W::kNumber, "", "left stripes, 0 to 9"},
    {"vad", W::kNumber, "km/h", "right speed a"},
    {"vbd", W::kNumber, "km/h", "right speed b"},
    {"vcd", W::kNumber, "km/h", "right speed c"},
    {"strisced", W::kNumber, "", "right stripes, 0 to 9"},
};
constexpr ValueRule kIndicationSign[] = {
    {"position", W::kNumber, "m", "the sign's place (cell of position / 50 + 1)"},
    {"text", W::kText, "", "the sign's text, at most 65535 bytes"},
};
constexpr ValueRule kBrakedMass[] = {{"percentage", W::kNumber, "%", "braked mass percentage"}};
constexpr ValueRule kCoaches[] = {{"coaches", W::kNumber, "", "number of coaches"}};
constexpr ValueRule kSpeedLimit[] = {
    {"position", W::kNumber, "m", "where the limit begins (cell of position / 50)"},
    {"speed", W::kNumber, "km/h", "stored in steps of 5 km/h in one byte"},
};
constexpr ValueRule kAdhesion[] = {
    {"position", W::kNumber, "m", "where the adhesion begins (cell of position / 50)"},
    {"adhesion", W::kNumber, "", "stored in one byte, 0 to 255"},
};
constexpr ValueRule kClock[] = {
    {"hours", W::kI16, "h", "the clock at the start"},
    {"minutes", W::kI16, "min", ""},
    {"seconds", W::kI16, "s", ""},
};
constexpr ValueRule kSand[] = {{"sand", W::kI16, "", "sand available"}};
constexpr ValueRule kSignal[] = {
    {"position", W::kNumber, "m", "the signal's place (cell of position / 50 + 1)"},
    {"sx", W::kNumber, "", "left side, 0 to 2 (units of value_4: 3 x sx + dx)"},
    {"s1", W::kNumber, "", "left aspect 1: the tens of value_1"},
    {"s2", W::kNumber, "", "left aspect 2: the tens of value_2"},
    {"s3", W::kNumber, "", "left aspect 3: the tens of value_3"},
    {"rapp", W::kNumber, "", "repetition: the tens of value_4"},
    {"dx", W::kNumber, "", "right side, 0 to 2"},
    {"d1", W::kNumber, "", "right aspect 1, 0 to 9: the units of value_1"},
    {"d2", W::kNumber, "", "right aspect 2, 0 to 9: the units of value_2"},
    {"d3", W::kNumber, "", "right aspect 3, 0 to 9: the units of value_3"},
    {"tempo", W::kNumber, "s", "the signal's time, kept only with sx 2; 1 to 100 become 101"},
};
constexpr ValueRule kSlowdown[] = {
    {"x", W::kNumber, "m", "where the slowdown starts"},
    {"v", W::kNumber, "km/h", "its speed; below 110 a marker every 400 m inside it"},
    {"l", W::kNumber, "m", "its length, not negative"},
    {"f_tt", W::kNumber, "", "stored in value_3 of the start and end marks"},
    {"f_ta", W::kNumber, "", "with the four numbered marks before the warning board"},
    {"d_v", W::kNumber, "", "value carried by every mark; 0 for none"},
};
constexpr ValueRule kAbbattimento[] = {
    {"position", W::kNumber, "m", "the mark's place (the cell that begins at position / 50)"},
    {"value", W::kNumber, "", "above 0: a value mark; 16 bits"},
};
constexpr ValueRule kStation[] = {
    {"position", W::kNumber, "m", "the station's centre, a multiple of 50"},
    {"kind", W::kU8, "", "the station's kind; 25 and above have no stop"},
    {"length", W::kNumber, "m", "a multiple of 100"},
    {"field 4", W::kU8, "", "stored in the entry's flag"},
    {"field 5", W::kU8, "", "stored in byte 4 (stations of 600 m and more)"},
    {"field 6", W::kU8, "", "end extension: the span ends 50 m later"},
    {"field 7", W::kI16, "", "stored in small 1"},
    {"field 8", W::kI16, "", "stored in small 2"},
    {"field 9", W::kU8, "", "stored in byte 1"},
    {"field 10", W::kI16, "", "stored in small 3"},
    {"field 11", W::kI16, "", "stored in small 4"},
    {"field 12", W::kI16, "", "stored in small 5"},
    {"field 13", W::kU8, "", "stored in byte 2"},
    {"hours", W::kNumber, "h", "time of day"},
    {"minutes", W::kNumber, "min", ""},
    {"seconds", W::kNumber, "s", ""},
    {"name", W::kText, "", "the station's name, at most 65535 bytes"},
};

using P = GrammarPart;
constexpr KeyCase kAny = KeyCase::kAnyCase;
constexpr KeyCase kExact = KeyCase::kExact;

// The progressives, backgrounds and the signal repetition are matched in
// exact case; the backgrounds go uno, tre, due into num_1, num_2, num_3.
constexpr RecordRule kGeneralRecords[] = {
    {RecordKind::kLineLength, P::kLineGeneral, "percorso", "lunghezza", kAny, kLineLength,
     "lunghezza percorso", "line length", "sizes the route: one cell per 50 m"},
    {RecordKind::kProgressive, P::kLineGeneral, "tre", "progressiva", kExact, kProgressive,
     "progressiva chilometrica tre", "kilometric progressive", "item 81 to 83, sorted"},
    {RecordKind::kProgressive, P::kLineGeneral, "due", "progressiva", kExact, kProgressive,
     "progressiva chilometrica due", "kilometric progressive", "item 81 to 83, sorted"},
    {RecordKind::kProgressive, P::kLineGeneral, "uno", "progressiva", kExact, kProgressive,
     "progressiva chilometrica uno", "kilometric progressive", "item 81 to 83, sorted"},
    {RecordKind::kBackground, P::kLineGeneral, "sfondo", "uno", kExact, kBackground, "sfondo uno",
     "background", "item 85, num_1"},
    {RecordKind::kBackground, P::kLineGeneral, "sfondo", "due", kExact, kBackground, "sfondo due",
     "background", "item 85, num_3"},
    {RecordKind::kBackground, P::kLineGeneral, "sfondo", "tre", kExact, kBackground, "sfondo tre",
     "background", "item 85, num_2"},
    {RecordKind::kSignalRepetition, P::kLineGeneral, "segnali", "ripetizione", kExact,
     kSignalRepetition, "ripetizione segnali 4 codici", "signal repetition",
     "item 86: the distances and the 4- or 9-code system the key names"},
};

constexpr RecordRule kFeatureRecords[] = {
    {RecordKind::kGradient, P::kLineFeatures, "pendenza", "", kAny, kGradient, "pendenza",
     "gradient", "the gradient of every cell from its position on"},
    {RecordKind::kCurve, P::kLineFeatures, "curva", "", kAny, kCurve, "curva", "curve",
     "bends the track polyline; the key names the curvature class 1 to 6", true},
    {RecordKind::kMountainSpan, P::kLineFeatures, "montagna", "", kAny, kMountainSpan, "montagna",
     "mountain span", "a tunnel: the span tables and its cells"},
    {RecordKind::kSpeedIndicators, P::kLineFeatures, "indicatori_v", "", kAny, kSpeedIndicators,
     "indicatori_vmax", "speed indicator group", "one cell of kind 6"},
    {RecordKind::kIndicationSign, P::kLineFeatures, "indicat", "cartello", kAny, kIndicationSign,
     "cartello_indicatore", "indication sign", "one cell of kind 14 and an item from 80 down"},
};

constexpr RecordRule kTrainRecords[] = {
    {RecordKind::kBrakedMass, P::kTrain, "frenata", "massa", kAny, kBrakedMass,
     "percentuale massa frenata", "braked mass", "item 84, num_1"},
    {RecordKind::kCoaches, P::kTrain, "vetture", "", kAny, kCoaches, "numero vetture", "coaches",
     "item 84, num_3"},
    {RecordKind::kSpeedLimit, P::kTrain, "velocit", "", kAny, kSpeedLimit, "velocita",
     "speed limit", "the speed limit of every cell from its position on"},
    {RecordKind::kAdhesion, P::kTrain, "aderenza", "", kAny, kAdhesion, "aderenza", "adhesion",
     "the adhesion of every cell from its position on"},
    {RecordKind::kClock, P::kTrain, "orologio", "", kAny, kClock, "orologio", "clock",
     "item 86, small_3 to small_5"},
    {RecordKind::kSand, P::kTrain, "sabbia", "", kAny, kSand, "sabbia", "sand", "item 86, small_1"},
    {RecordKind::kSignal, P::kTrain, "segnale", "", kAny, kSignal, "segnale", "signal",
     "one cell of kind 1 and the approach codes before it"},
    {RecordKind::kSlowdown, P::kTrain, "rallentamento", "", kAny, kSlowdown, "rallentamento",
     "slowdown", "start, end and warning board cells (1200 m before the start)"},
    {RecordKind::kAbbattimento, P::kTrain, "abbattimento", "", kAny, kAbbattimento, "abbattimento",
     "abbattimento", "one cell of kind 12 or 13"},
    {RecordKind::kStation, P::kTrain, "stazione", "", kAny, kStation, "stazione", "station",
     "the next station item from 1 up, its stop mark and approach codes"},
};

}  // namespace

std::span<const RecordRule> grammar_records(GrammarPart part) {
  switch (part) {
    case GrammarPart::kLineGeneral:
      return kGeneralRecords;
    case GrammarPart::kLineFeatures:
      return kFeatureRecords;
    case GrammarPart::kTrain:
      break;
  }
  return kTrainRecords;
}

const RecordRule& record_rule(RecordKind kind) {
  for (GrammarPart part :
       {GrammarPart::kLineGeneral, GrammarPart::kLineFeatures, GrammarPart::kTrain}) {
    for (const RecordRule& rule : grammar_records(part)) {
      if (rule.kind == kind) return rule;
    }
  }
  throw std::logic_error("a record kind without a grammar row");
}

std::string_view record_name(RecordKind kind) { return record_rule(kind).name; }

bool key_matches(const RecordRule& rule, std::string_view field) {
  const auto has = [&](std::string_view word) {
    if (word.empty()) return true;
    return rule.key_case == KeyCase::kAnyCase ? contains_any_case(field, word)
                                              : contains(field, word);
  };
  return has(rule.word_1) && has(rule.word_2);
}

}  // namespace tracciato
