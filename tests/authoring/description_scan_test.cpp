#include "authoring/description_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>

#include "embedded_scenario.h"
#include "lint_fixture.h"

namespace tracciato {
namespace {

using test_support::line_with;
using test_support::train_with;

struct Counts {
  std::ptrdiff_t signals, stations, signs, spans, indicator_groups;
  friend bool operator==(const Counts&, const Counts&) = default;
};

std::ostream& operator<<(std::ostream& os, const Counts& c) {
  return os << c.signals << " signals, " << c.stations << " stations, " << c.signs << " signs, "
            << c.spans << " spans, " << c.indicator_groups << " indicator groups";
}

Counts scanned(const std::string& line, const std::string& train) {
  const DescriptionScan l = scan_line_description(line);
  const DescriptionScan t = scan_train_description(train);
  const auto count = [](const DescriptionScan& s, RecordKind kind) {
    return static_cast<std::ptrdiff_t>(s.record_counts[static_cast<size_t>(kind)]);
  };
  return {count(t, RecordKind::kSignal), count(t, RecordKind::kStation),
          count(l, RecordKind::kIndicationSign), count(l, RecordKind::kMountainSpan),
          count(l, RecordKind::kSpeedIndicators)};
}

Counts compiled(const std::string& line, const std::string& train) {
  const auto model = test_support::compile_texts(line, train);
  EXPECT_EQ(model->error_code, 0);
  const auto cells_of = [&](uint8_t kind) {
    return std::count_if(model->route_cells.begin(), model->route_cells.end(),
                         [kind](const RouteCell& c) { return c.kind == kind; });
  };
  std::ptrdiff_t stations = 0;
  while (stations + 1 < kFirstSignSlot && !model->item_table[stations + 1].name.empty()) ++stations;
  return {cells_of(kSignalCell), stations, cells_of(kIndicationSignCell), model->span_count,
          cells_of(kSpeedIndicatorCell)};
}

// Lint is only as good as its reading: it must find exactly the records the
// compiler places, whatever comments, headings and key spellings surround
// them.
TEST(DescriptionScan, SeesTheRecordsTheCompilerPlaces) {
  const std::string signal = "segnale, 1850, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0";
  const struct {
    const char* what;
    std::string line, train;
  } cases[] = {
      {"the embedded scenario", test_support::embedded_line_text(),
       test_support::embedded_train_text()},
      {"keys in capitals and inside longer words",
       line_with({"MONTAGNA alta, 750, 1300, 2", "Cartello_Indicatore, 450, (A)"}),
       train_with({"SEGNALE di blocco, 1850, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0"})},
      {"two comments then a key", line_with({}), train_with({"-a, -b, " + signal})},
      {"a third comment in a row is the key field", line_with({}),
       train_with({"-a, -b, -c, " + signal})},
      {"a third comment naming a key starts it", line_with({}), train_with({"-a, -b, -" + signal})},
      {"a record commented out", line_with({}),
       train_with({"-" + signal, signal.substr(0, 8) + "3000, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0"})},
      {"records before the train's heading are skipped", line_with({}),
       signal + "\r\n" + train_with({})},
      {"values continued on the next line",
       line_with({"indicatori_vmax, 750, 65, 75, 75, 0,", " 65, 75, 75, 0"}),
       train_with({"segnale, 1850, 1, 5, 6, 0, 0,", "1, 3, 1, 0, 0",
                   "stazione, 5000, 12, 500, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A"})},
      {"comments in the general section",
       "[generale]\r\n-1,-2,-3,-4,-5,-6,-7,-8,-9,-10, lunghezza percorso, "
       "10000\r\n[x]\r\nmontagna, 750, 1300, 2\r\n\r\n",
       train_with({})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(scanned(c.line, c.train), compiled(c.line, c.train));
  }
}

TEST(DescriptionScan, StopsWhereAValueCannotBeRead) {
  const DescriptionScan scan =
      scan_train_description(train_with({"sabbia, 40000", "segnale, 1850"}));
  ASSERT_TRUE(scan.stopped_at.has_value());
  EXPECT_EQ(scan.stopped_at->line, 2);
  EXPECT_EQ(scan.stopped_at->column, 9);
  EXPECT_EQ(std::count(scan.record_counts.begin(), scan.record_counts.end(), 0u),
            std::ssize(scan.record_counts));
}

}  // namespace
}  // namespace tracciato
