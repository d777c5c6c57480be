#include "compiler/code_explanations.h"

#include <algorithm>
#include <iterator>

#include "compiler/diagnostics.h"

namespace tracciato {
namespace {

using D = Description;
using Causes = std::string_view[];

constexpr std::string_view kCauses1[] = {
    "a length above 1,000,000 m (the longest line the scenario files can hold)",
    "a negative length", "the length written in kilometres with a separator: 32.000"};
constexpr std::string_view kCauses2[] = {
    "a kilometric value that is not a multiple of 50, as 75725",
    "a position that is not a multiple of 50"};
constexpr std::string_view kCauses3[] = {"a first distance that is not a multiple of 50"};
constexpr std::string_view kCauses4[] = {"a second distance that is not a multiple of 50"};
constexpr std::string_view kCauses5[] = {
    "the key field lost its 4 or 9: `ripetizione segnali codici`"};
constexpr std::string_view kCauses6[] = {"two signs within the same 50 m cell",
                                         "a sign on the cell of a maximum-speed indicator group"};
constexpr std::string_view kCauses7[] = {
    "an abbattimento mark in the cell of a signal, a slowdown mark or a station's stop mark",
    "two abbattimento marks in one cell; an abbattimento stands in the cell that begins at its "
    "position (position / 50), one cell before a signal at the same position"};
constexpr std::string_view kCauses8[] = {"a station position off the 50 m grid, as 13225"};
constexpr std::string_view kCauses9[] = {"a station length such as 450 or 250"};
constexpr std::string_view kCauses10[] = {
    "more stations than the item entries the indication signs leave: stations and signs "
    "together have the 80 entries 1 to 80"};
constexpr std::string_view kCauses11[] = {
    "a signal within 20 cells (1000 m) before a slowdown's warning board whose two cells just "
    "before it hold signs, signals or other marks"};
constexpr std::string_view kCauses12[] = {
    "signs, signals or station marks filling the three cells 5 to 7, 11 to 13 or 18 to 20 "
    "cells before a slowdown's start"};
constexpr std::string_view kCauses13[] = {
    "inside a slowdown slower than 110 km/h, a marker every 400 m finds its cell and both "
    "neighbours occupied",
    "the two cells just before the first signal after such a slowdown are occupied"};
constexpr std::string_view kCauses15[] = {
    "a record placed after the line's end plus its 7000 m of overrun, less the 100 m it needs "
    "(800 m for a station)",
    "a line length record that is too short for the records that follow",
    "a position with a digit too many"};
constexpr std::string_view kCauses16[] = {
    "a signal in the cell of an indication sign, another signal, a slowdown mark, a station's "
    "stop mark or a speed indicator group",
    "two signals in the same 50 m cell"};
constexpr std::string_view kCauses17[] = {
    "the cell 1200 m before the slowdown's start already holds a sign, signal or other mark"};
constexpr std::string_view kCauses18[] = {
    "the slowdown's start cell already holds a sign, signal or other mark",
    "two slowdowns starting in the same cell"};
constexpr std::string_view kCauses19[] = {
    "the cell of the slowdown's end (start + length) already holds a sign, signal or other mark",
    "overlapping slowdowns"};
constexpr std::string_view kCauses20[] = {
    "with f_ta set, one of the four cells just before the warning board already holds a sign, "
    "signal or other mark"};
constexpr std::string_view kCauses21[] = {
    "a speed indicator group in the cell of an indication sign or of another group"};
constexpr std::string_view kCauses22[] = {"two stations too close together",
                                          "stations not in ascending order of position"};
constexpr std::string_view kCauses24[] = {
    "a station at the start of the route whose span ends at 100 m or less"};
constexpr std::string_view kCauses25[] = {
    "a number field holding letters, as `4x`, or a sign with no digits",
    "a number wider than 32 bits, or wider than its field (0 to 255 in an 8-bit station field, "
    "-32768 to 32767 in a 16-bit one)",
    "the text ending inside a record: a record with fewer values than it needs",
    "a feature record before the `lunghezza percorso` record",
    "a speed limit above 1277 km/h, or a sum of values that overflows",
    "a sign text or station name longer than 65535 bytes",
    "a train description that cannot be opened"};
constexpr std::string_view kCauses26[] = {"a negative position",
                                          "a slowdown whose end lies beyond the route's last cell",
                                          "a mountain span whose end lies beyond the route",
                                          "a station whose stop mark would fall beyond the route"};
constexpr std::string_view kCauses27[] = {"an 81st mountain span"};
constexpr std::string_view kCauses28[] = {"a slowdown with a negative length"};
constexpr std::string_view kCauses29[] = {"an 81st indication sign"};
constexpr std::string_view kCauses101[] = {
    "the line description is missing, or named otherwise than <line>_linea.txt"};
constexpr std::string_view kCauses102[] = {
    "no `[generale]` field: a misspelt heading, as `[generali]`",
    "`[generale]` as the very last field of the file"};
constexpr std::string_view kCauses103[] = {
    "a curve key without its class digit, as `curva` or `curvas`",
    "the track bent or straightened past 1,000,000 rows"};
constexpr std::string_view kCauses104[] = {
    "a curve that ends in the last two metres of the track or beyond it"};

constexpr CodeExplanation kExplanations[] = {
    {1, D::kLine, "The line's length must lie between 0 and 1,000,000 metres.", kCauses1,
     "lunghezza percorso,    1200000", "lunghezza percorso,    32000",
     "Give the length in whole metres, at most 1,000,000."},
    {2, D::kLine,
     "The three kilometric progressives must stand on 50 m boundaries: position and value "
     "multiples of 50. The check runs after the whole train is read, so it can replace an "
     "earlier code 15.",
     kCauses2, "progressiva chilometrica uno,    0,    75725,    1",
     "progressiva chilometrica uno,    0,    75700,    1",
     "Round the position and the kilometric value to a multiple of 50."},
    {3, D::kLine, "The first signal repetition distance must be a multiple of 50 metres.", kCauses3,
     "ripetizione segnali 4 codici,    1025    ,0", "ripetizione segnali 4 codici,    1000    ,0",
     "Round the first distance to a multiple of 50."},
    {4, D::kLine, "The second signal repetition distance must be a multiple of 50 metres.",
     kCauses4, "ripetizione segnali 4 codici,    1000    ,1210",
     "ripetizione segnali 4 codici,    1000    ,1200",
     "Round the second distance to a multiple of 50; 0 means no repetition."},
    {5, D::kLine,
     "The signal repetition record takes its system from its key field, which must name 4 or 9 "
     "codes.",
     kCauses5, "ripetizione segnali codici,    1000    ,1200",
     "ripetizione segnali 4 codici,    1000    ,1200",
     "Write 4 or 9 in the key field: `ripetizione segnali 4 codici`."},
    {6, D::kLine,
     "An indication sign takes the 50 m cell of its position (position / 50 + 1, halves to the "
     "even cell); that cell must hold nothing else.",
     kCauses6, "cartello_indicatore,  1810,   (CAVALCAVIA)",
     "cartello_indicatore,  1750,   (CAVALCAVIA)",
     "Move the sign to a free cell, 50 m on, or move what is in its cell; the message names it."},
    {7, D::kTrain,
     "An abbattimento mark takes the cell that begins at its position (position / 50); that cell "
     "must hold nothing else.",
     kCauses7, "abbattimento,   1900,   90", "abbattimento,   2000,   90",
     "Move the mark to a free cell; the message names what is in the way and where it was "
     "placed."},
    {8, D::kTrain, "A station's position must be a multiple of 50 metres.", kCauses8,
     "stazione,   13225, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   30,  13,16, 0, LAVRETTO",
     "stazione,   13200, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   30,  13,16, 0, LAVRETTO",
     "Round the position to a multiple of 50."},
    {9, D::kTrain, "A station's length must be a multiple of 100 metres.", kCauses9,
     "stazione,   13200, 12,  450,  0, 0, 0,  1,1,0,  4,1,1,   30,  13,16, 0, LAVRETTO",
     "stazione,   13200, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   30,  13,16, 0, LAVRETTO",
     "Take one of the two nearest lengths the message names."},
    {10, D::kTrain,
     "Stations take the item entries from 1 up, indication signs from 80 down; a station may not "
     "reach the signs' entries.",
     kCauses10, "stazione,   31000, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   30,  13,50, 0, ULTIMA",
     "-- stazione,   31000, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   30,  13,50, 0, ULTIMA",
     "Leave out a station or an indication sign: together they have 80 entries."},
    {11, D::kTrain,
     "Each signal within 20 cells before a slowdown's warning board needs an abbattimento mark in "
     "one of the two cells just before it; both are occupied. In the example the signal at "
     "5250 m has signs in both cells before it, and the slowdown's board stands 50 m after it.",
     kCauses11, "rallentamento,  6500, 120,  400,  1,  0,  0",
     "rallentamento,  7500, 120,  400,  1,  0,  0",
     "Free one of the two cells just before the signal, or move the slowdown; the position "
     "given is the signal's cell."},
    {12, D::kTrain,
     "Before each slowdown start the compile marks one cell 5 to 7, one 11 to 13 and one 18 to "
     "20 cells before it; all three cells of one distance are occupied. In the example two signs "
     "and a signal fill the cells 11 to 13 before the slowdown's start.",
     kCauses12, "rallentamento,  5800, 120,  400,  1,  0,  0",
     "rallentamento,  5900, 120,  400,  1,  0,  0",
     "Move the slowdown, or the objects before it; the position given is the start cell's."},
    {13, D::kTrain,
     "A slowdown slower than 110 km/h gets a marker every 400 m inside it and one just before the "
     "first signal after it; no free cell was found for one of them. In the example the first "
     "signal after the slowdown, at 5250 m, has signs in both cells before it.",
     kCauses13, "rallentamento,  4600,  30,  400,  1,  0,  0",
     "rallentamento,  10000,  30,  400,  1,  0,  0",
     "Free the cells around the position given, or move the slowdown."},
    {15, D::kLine,
     "A record's position must leave 100 m of route after it (800 m for a station); the route "
     "runs on 7000 m past the line's length. A line record beyond the route ends the line "
     "description, and the train's first signal or slowdown then ends the reading and gives the "
     "position kept.",
     kCauses15, "montagna,   47800,  47850,  2", "montagna,   27800,  27850,  2",
     "Correct the position, or the line length; the message gives the last position accepted."},
    {16, D::kTrain,
     "A signal takes the cell of its position (position / 50 + 1); that cell must hold nothing "
     "but a mountain span marker.",
     kCauses16, "segnale,    6750,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
     "segnale,    6850,   1, 4, 1,  0, 0,    0,  0,0,0, 0",
     "Move the signal to a free cell, or move what is in its cell; the note shows where that "
     "was placed."},
    {17, D::kTrain,
     "A slowdown starting after 1500 m has a warning board 1200 m before its start, in a cell "
     "that must be free.",
     kCauses17, "rallentamento,  3050, 120,  400,  1,  0,  0",
     "rallentamento,  3150, 120,  400,  1,  0,  0",
     "Move the slowdown, or the object 1200 m before it; the message names it."},
    {18, D::kTrain, "A slowdown's start takes the cell of its position, which must be free.",
     kCauses18, "rallentamento,  5250, 120,  400,  1,  0,  0",
     "rallentamento,  5350, 120,  400,  1,  0,  0",
     "Move the slowdown's start to a free cell; the message names what is there."},
    {19, D::kTrain, "A slowdown's end takes the cell of start + length, which must be free.",
     kCauses19, "rallentamento,  10000, 120,  1000,  1,  0,  0",
     "rallentamento,  10000, 120,  1050,  1,  0,  0",
     "Change the length so that the end falls in a free cell; the message names what is there."},
    {20, D::kTrain,
     "With f_ta set, the four cells just before the warning board get the numbered marks 1 to 4; "
     "one of them is occupied. The start, end and warning marks are already placed.",
     kCauses20, "rallentamento,  3150, 120,  400,  1,  1,  0",
     "rallentamento,  3150, 120,  400,  1,  0,  0",
     "Move the slowdown or the object in the way, or do without the numbered marks (f_ta 0); "
     "the message names the board's cell, the four cells and the one occupied."},
    {21, D::kLine,
     "A maximum-speed indicator group takes the cell of its position (position / 50 + 1), which "
     "must be free.",
     kCauses21, "indicatori_vmax,  1800,  125,  135,  135,  0,  125,  135,  135,  0",
     "indicatori_vmax,  1950,  125,  135,  135,  0,  125,  135,  135,  0",
     "Move the group to a free cell; the message names what is in its cell."},
    {22, D::kTrain,
     "A station's span must begin at least 350 m after the previous station's span ends; "
     "stations go in ascending order.",
     kCauses22, "stazione,   13800, 12,  500,  1, 0, 1,  4,1,1,  2,1,1,  222,   0, 0, 0, VALLORENE",
     "stazione,   18450, 12,  500,  1, 0, 1,  4,1,1,  2,1,1,  222,   0, 0, 0, VALLORENE",
     "Move the station further on, shorten it, or put the stations in order."},
    {24, D::kTrain,
     "A station that stops trains needs its stop mark in a cell above 1: its span must end beyond "
     "100 m.",
     kCauses24, "stazione,       0, 12,  200,  1, 0, 0,  4,1,0,  2,1,1,    1,  13, 5, 0, TARVO",
     "stazione,       0, 12,  700,  1, 0, 0,  4,1,0,  2,1,1,    1,  13, 5, 0, TARVO",
     "Lengthen the first station or move it further from the origin."},
    {25, D::kNone,
     "The description could not be read to its end; the message says which field and why. Both "
     "descriptions are given up and no position is kept.",
     kCauses25, "pendenza,   8400,   4x", "pendenza,   8400,   4",
     "Mend the field under the caret as the message says."},
    {26, D::kTrain, "A record would mark cells before cell 0 or after the route's last cell.",
     kCauses26, "rallentamento,  38000, 120,  2000,  1,  0,  0",
     "rallentamento,  38000, 120,  800,  1,  0,  0",
     "Keep every cell the record marks inside the route: positions not negative, ends before "
     "the route's end."},
    {27, D::kLine, "The span tables hold 80 mountain spans.", kCauses27,
     "montagna,   30000,  30100,  2", "-- montagna,   30000,  30100,  2",
     "Join neighbouring spans or leave some out."},
    {28, D::kTrain, "A slowdown's length must not be negative.", kCauses28,
     "rallentamento,  10000, 120,  -400,  1,  0,  0", "rallentamento,  9600, 120,  400,  1,  0,  0",
     "Give the start where the slowdown begins and a positive length."},
    {29, D::kLine, "Indication signs take the item entries from 80 down; there are 80 of them.",
     kCauses29, "cartello_indicatore,  30000,   (CAVALCAVIA)",
     "-- cartello_indicatore,  30000,   (CAVALCAVIA)", "Leave out some signs."},
    {101, D::kNone,
     "The install package found no line description beside it. The author's tool reports a "
     "missing file as an input error instead.",
     kCauses101, "Tarvo_Belmira_line.txt", "Tarvo_Belmira_linea.txt",
     "Name the line description <line>_linea.txt, beside the program."},
    {102, D::kLine,
     "Everything before a field holding `[generale]` (in any letter case) is skipped; the line "
     "description has none, or has it as its last field.",
     kCauses102, "[generali]", "[generale]", "Begin the description with `[generale]`."},
    {103, D::kLine,
     "A curve's key field must carry its curvature class, a digit 1 to 6 (and `s` for a "
     "left-hand curve); and the track may not run past 1,000,000 metres.",
     kCauses103, "curvas,    4100,    250", "curvas2,    4100,    250",
     "Write the class into the key: `curvas2` (left) or `curvad2` (right)."},
    {104, D::kLine,
     "A curve must end at least two metres before the end of the track (the line's length plus "
     "7000 m).",
     kCauses104, "curvas2,    38500,    600", "curvas2,    38000,    600",
     "Start the curve earlier or shorten it."},
};

std::string_view description_name(Description description) {
  switch (description) {
    case Description::kLine:
      return " (line description)";
    case Description::kTrain:
      return " (train description)";
    case Description::kNone:
      break;
  }
  return "";
}

}  // namespace

std::span<const CodeExplanation> code_explanations() { return kExplanations; }

const CodeExplanation* code_explanation(int32_t code) {
  const auto* found = std::find_if(std::begin(kExplanations), std::end(kExplanations),
                                   [code](const CodeExplanation& e) { return e.code == code; });
  return found == std::end(kExplanations) ? nullptr : found;
}

std::string explanation_text(const CodeExplanation& e) {
  std::string text = "error " + std::to_string(e.code) + ": " + std::string(error_message(e.code)) +
                     "\n\n" + std::string(e.meaning) + "\n\nCommon causes:\n";
  for (std::string_view cause : e.causes) text += "  - " + std::string(cause) + "\n";
  const std::string_view where = description_name(e.description);
  text += "\nWrong" + std::string(where) + ":\n    " + std::string(e.wrong) + "\n";
  text += "Right" + std::string(where) + ":\n    " + std::string(e.right) + "\n";
  text += "\nFix: " + std::string(e.fix) + "\n";
  return text;
}

}  // namespace tracciato
