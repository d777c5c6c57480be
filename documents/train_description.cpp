// The train description (<line>_<train>-.txt): the embedded service on the
// line, read back and deleted by the train parser later in the same run.
#include "documents/document.h"

namespace tracciato {
namespace {

// One entry per line of the file, transcribed exactly: inner and trailing
// blanks are part of the text.
// clang-format off
constexpr std::string_view kLines[] = {
    // [generale]: cars, braked-mass percentage, sand, starting clock (blank-separated).
    "[generale]",
    "numero vetture,    3",
    "percentuale massa frenata,    120",
    "sabbia,    300",
    "orologio,    13              4             30 ",
    // [aderenze] and [vel_limite]: adhesion and speed-limit profiles.
    "[aderenze]",
    "aderenza,   0,    100",
    "[vel_limite]",
    "velocita,       0,    75",
    "velocita,    1900,   135",
    "velocita,    2950,    60",
    "velocita,    3450,   135",
    "velocita,   24350,    75",
    "velocita,   25200,   105",
    "velocita,   25950,   145",
    // [stazioni]: stations served, the name last; [rallentamenti] has no rows.
    "[stazioni]",
    "stazione,       0, 12,  700,  1, 0, 0,  4,1,0,  2,1,1,    1,  13, 5, 0, TARVO",
    "stazione,    3300, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, BIVIO CASCINA DELL' ERBA",
    "stazione,    9000, 22,  600,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, SAN LORIANO di TARVO",
    "stazione,   13200, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   30,  13,16, 0, LAVRETTO",
    "stazione,   18450, 12,  500,  1, 0, 1,  4,1,1,  2,1,1,  222,   0, 0, 0, VALLORENE",
    "stazione,   25200, 12,  600,  1, 0, 0,  1,1,0,  2,1,1,    0,  13,27, 0, BELMIRA",
    "[rallentamenti]",
    // [segnali] and [codici]; [codici] has no rows.
    "[segnali]",
    "segnale,    1850,   1, 5, 6,  0, 0,    1,  3,1,0, 0",
    "segnale,    2900,   2, 2, 4,  0, 0,    2,  2,1,0, 0",
    "segnale,    5250,   1, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,    6450,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,    6850,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,    8050,   2, 4, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   11000,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   12200,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   16500,   1, 5, 6,  0, 0,    0,  0,0,0, 0",
    "segnale,   17700,   2, 2, 3,  0, 0,    0,  0,0,0, 0",
    "segnale,   22750,   1, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   23950,   2, 2, 3,  0, 0,    0,  0,0,0, 190",
    "[codici]",
    "[fine]",
    // Forty-one empty lines follow [fine]; the parser skips them as empty fields.
    "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "",
    "",
    kEndMarker,
};
// clang-format on

}  // namespace

DocumentTable train_description_document() { return kLines; }

}  // namespace tracciato
