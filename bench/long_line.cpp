#include "bench/long_line.h"

#include <string>

namespace tracciato::bench {
namespace {

// Every feature repeats along the line at its own period and offset (metres);
// the offsets keep the objects of different kinds in different cells.
constexpr int kCurvePeriod = 2000;      // curves at 100 + 2000 k, 600 m long
constexpr int kGradientPeriod = 500;    // a new gradient every 500 m
constexpr int kSpanCount = 80;          // as many mountain spans as the tables hold
constexpr int kSpanPeriod = 12000;      // spans from 3000 + 12000 i, 600 m long
constexpr int kIndicatorPeriod = 5000;  // indicator groups at 750 + 5000 k
constexpr int kSignCount = 36;          // signs and stations share 80 item entries
constexpr int kSignPeriod = 20000;      // signs at 7250 + 20000 i
constexpr int kStationCount = 38;
constexpr int kStationPeriod = 25000;  // stations at 12500 + 25000 i, 400 m long
constexpr int kSpeedPeriod = 2500;     // a new speed limit every 2500 m
constexpr int kAdhesionPeriod = 10000;
constexpr int kSignalPeriod = 1000;         // signals at 500 + 1000 k
constexpr int kSlowdownPeriod = 10000;      // slowdowns from 8300 + 10000 j, 800 m long
constexpr int kAbbattimentoPeriod = 10000;  // marks at 4200 + 10000 j

void line(std::string& text, const std::string& record) {
  text += record;
  text += "\r\n";
}

std::string n(int value) { return std::to_string(value); }

std::string line_description(int length) {
  std::string text;
  line(text, "[generale]");
  line(text, "lunghezza percorso,    " + n(length));
  line(text, "progressiva chilometrica uno,    0,    75700,    1");
  line(text, "progressiva chilometrica due,    0,    0,    0");
  line(text, "progressiva chilometrica tre,    0,    0,    0");
  line(text, "sfondo uno,    1");
  line(text, "sfondo due,    0");
  line(text, "sfondo tre,    0");
  line(text, "ripetizione segnali 4 codici,    0    ,0");
  line(text, "[curve]");
  for (int k = 0; k * kCurvePeriod + 700 < length; ++k) {
    const std::string side = k % 2 == 0 ? "d" : "s";
    line(text, "curva" + side + n(1 + k % 6) + ",  " + n(100 + k * kCurvePeriod) + ",  600");
  }
  line(text, "[pendenze]");
  for (int k = 0; k * kGradientPeriod < length; ++k) {
    line(text, "pendenza,  " + n(k * kGradientPeriod) + ",   " + n((k * 7) % 21 - 10));
  }
  line(text, "[montagne]");
  for (int i = 0; i < kSpanCount && 3600 + i * kSpanPeriod < length; ++i) {
    const int start = 3000 + i * kSpanPeriod;
    line(text, "montagna,   " + n(start) + ",  " + n(start + 600) + ",  " + n(i % 2 ? 2 : 12));
  }
  line(text, "[cartelli]");
  for (int k = 0; k * kIndicatorPeriod + 750 < length; ++k) {
    line(text, "indicatori_vmax,  " + n(750 + k * kIndicatorPeriod) +
                   ",  65,  75,  75,  0,  65,  75,  75,  0");
  }
  line(text, "[indicazioni]");
  for (int i = 0; i < kSignCount && 7250 + i * kSignPeriod < length; ++i) {
    line(text,
         "cartello_indicatore,  " + n(7250 + i * kSignPeriod) + ",   (CAVALCAVIA " + n(i) + ")");
  }
  line(text, "[fine]");
  line(text, "");
  return text;
}

std::string train_description(int length) {
  std::string text;
  line(text, "[generale]");
  line(text, "numero vetture,    8");
  line(text, "percentuale massa frenata,    120");
  line(text, "sabbia,    300");
  line(text, "orologio,    6              0             0 ");
  line(text, "[aderenze]");
  for (int k = 0; k * kAdhesionPeriod < length; ++k) {
    line(text, "aderenza,   " + n(k * kAdhesionPeriod) + ",    " + n(90 + k % 11));
  }
  line(text, "[vel_limite]");
  for (int k = 0; k * kSpeedPeriod < length; ++k) {
    line(text, "velocita,   " + n(k * kSpeedPeriod) + ",   " + n(60 + 5 * (k % 19)));
  }
  line(text, "[stazioni]");
  for (int i = 0; i < kStationCount && 12900 + i * kStationPeriod < length; ++i) {
    const int minutes = 6 * 60 + 15 * i;
    line(text, "stazione,   " + n(12500 + i * kStationPeriod) + ", 12,  400,  0, 0, 0,  1,1,0,  " +
                   "4,1,1,   30,  " + n(minutes / 60) + "," + n(minutes % 60) + ", 0, STAZIONE " +
                   n(i));
  }
  line(text, "[rallentamenti]");
  for (int j = 0; j * kSlowdownPeriod + 9100 < length; ++j) {
    line(text, "rallentamento,   " + n(8300 + j * kSlowdownPeriod) + ",  " + n(30 + 10 * (j % 8)) +
                   ",  800,  1,  1,  0");
  }
  line(text, "[segnali]");
  for (int k = 0; k * kSignalPeriod + 500 < length; ++k) {
    const int sx = 1 + k % 2;
    line(text, "segnale,   " + n(500 + k * kSignalPeriod) + ",   " + n(sx) + ", 5, 6,  0, 0,    " +
                   n(k % 3) + ",  3,1,0, " + (sx == 2 ? "190" : "0"));
  }
  line(text, "[codici]");
  for (int j = 0; j * kAbbattimentoPeriod + 4200 < length; ++j) {
    line(text, "abbattimento,   " + n(4200 + j * kAbbattimentoPeriod) + ",   120");
  }
  line(text, "[fine]");
  line(text, "");
  return text;
}

}  // namespace

GeneratedScenario generate_long_line(int length) {
  return {line_description(length), train_description(length)};
}

}  // namespace tracciato::bench
