// Small descriptions of the scenario "T" (line T, train 1) that each show one
// outcome of a compile.
#pragma once

#include <string_view>

namespace tracciato::test_support {

// A 2000 m line with nothing on it, and a train with one signal at 1000 m.
inline constexpr std::string_view kLine =
    "[generale]\r\nlunghezza percorso, 2000\r\n[fine]\r\n\r\n";
inline constexpr std::string_view kTrain =
    "[generale]\r\nsegnale, 1000, 1, 5, 6, 0, 0, 1, 3,1,0, 0\r\n\r\n";

// Two indication signs in one cell: code 6 at 500 m, on line 5, column 3.
inline constexpr std::string_view kLineSignClash =
    "[generale]\r\nlunghezza percorso, 2000\r\n[fine]\r\n"
    "cartello_indicatore, 500, (A)\r\n"
    "  cartello_indicatore, 500, (B)\r\n\r\n";

// Two signals in one cell: code 16 at 1000 m, on line 3 after a tab, column 2.
inline constexpr std::string_view kTrainSignalClash =
    "[generale]\r\nsegnale, 1000, 1, 5, 6, 0, 0, 1, 3,1,0, 0\r\n"
    "\tsegnale, 1000, 1, 5, 6, 0, 0, 1, 3,1,0, 0\r\n\r\n";

// A signal at 0 m with a first aspect puts a value where 5121 goes: stop 1250.
inline constexpr std::string_view kTrainReserved1250 =
    "[generale]\r\nsegnale, 0, 1, 5, 6, 0, 0, 1, 3,1,0, 0\r\n\r\n";

// A signal at 0 m with only a second aspect fills the plain code's slot: stop
// 1251.
inline constexpr std::string_view kTrainReserved1251 =
    "[generale]\r\nsegnale, 0, 1, 0, 6, 0, 0, 0, 0,1,0, 0\r\n\r\n";

// A length above 1,000,000 m: code 1 on line 2, and no route cells.
inline constexpr std::string_view kLineTooLong =
    "[generale]\r\nlunghezza percorso, 1000001\r\n[fine]\r\n\r\n";

}  // namespace tracciato::test_support
