// The slowdown order (<line>_<train>_rallentamenti.txt): the form handed to
// the driver with the speed restrictions; this train has none. Its texts are
// fixed and do not follow the line or train name.
#include "documents/document.h"

namespace tracciato {
namespace {

// One entry per line of the file, transcribed exactly: inner and trailing
// blanks are part of the text.
// clang-format off
constexpr std::string_view kLines[] = {
    "",
    "                               Modulo M. 3",
    "                           ORDINE DI RALLENTAMENTO",
    " ________________________________________________________________________________",
    "  Linea  TARVO - BELMIRA",
    "",
    "  Si ordina al macchinista del treno 7351  di effettuare i seguenti rallentamenti",
    "",
    "  _______________________________________________________________________________",
    " |   |                            |Inizio dopo |          |         |            |",
    " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
    " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
    " |___|____________________________|____________|__________|_________|____________|",
    " |   |                            |            |          |         |            |",
    " |   |                                                    |         |            |",
    " |                            NESSUNA      PRESCRIZIONE                          |",
    " |   |                                                    |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |___|____________________________|____________|__________|_________|____________|",
    "",
    "              Prescrizioni specifiche",
    "",
    " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
    "",
    " B - Interessa anche la stazione di.......",
    "",
    " D - Rallentamneto N. ... e N. ...  sono contigui",
    "",
    " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
    "     i giorni esclusi i seguenti:.........",
    kEndMarker,
};
// clang-format on

}  // namespace

DocumentTable slowdown_order_document() { return kLines; }

}  // namespace tracciato
