// The timetable sheet (<line>_<train>_scheda_treno.txt): the train's running
// sheet with speeds, kilometric progressives, stations and times. Its texts
// are fixed and do not follow the line or train name.
#include "documents/document.h"

namespace tracciato {
namespace {

// One entry per line of the file, transcribed exactly: inner and trailing
// blanks are part of the text.
// clang-format off
constexpr std::string_view kLines[] = {
    "",
    "",
    "  ___________________                                               ______________",
    " |                   |                    SCHEDA                   |              |",
    " |   TRENO n.7351    |                   da: TARVO                 |    VS140 C   |",
    " |___________________|                    a: BELMIRA               |     120%     |",
    "                                                                   |______________|",
    "  ___________________                ___________________",
    " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
    " |        R          |              |      150T         |",
    " |___________________|              |___________________|",
    "",
    "  ________________________________________________________________________________",
    " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
    " | Lim.|Marc.|          |  Rs |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |  75 |  75 |  75.680  |  75 | TARVO                      |          13.05 |     |",
    " |     |     |          |     |                            |                |     |",
    " | 135 | 110 |  73.812  | 135 |   Cavalcavia Belmira       |      13.07+    |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |  72.418  |     | Bivio Cascina dell'Erba    |      13.08+    |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |  66.698  |     | SAN LORIANO di TARVO       |      13.11+    |     |",
    " |     |     |          |     |                            |                |     |",
    " |     | 120 |  62.483  |     | LAVRETTO                   | 13.15    13.16 | 1.0 |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |  57.297  |     | VALORENE                   |      13.20     |     |",
    " |     |     |          |     |                            |                |     |",
    " |  75 |  75 |          |  75 |      Cavalcavia Km.51,357  |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |  50.541  |     | BELMIRA                    | 13.27          | 2.0 |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    kEndMarker,
};
// clang-format on

}  // namespace

DocumentTable timetable_sheet_document() { return kLines; }

}  // namespace tracciato
