#include <gtest/gtest.h>

#include <map>
#include <set>

#include "authoring/route_svg.h"
#include "embedded_scenario.h"
#include "lint_fixture.h"
#include "svg_outline.h"

namespace tracciato {
namespace {

using test_support::SvgOutline;

SvgOutline plot_of(const std::string& line, const std::string& train) {
  const auto model = test_support::compile_texts(line, train);
  EXPECT_EQ(model->error_code, 0);
  return SvgOutline(render_route_svg(route_plot(*model)));
}

// The structure of the embedded scenario's drawing, not its pixels: every
// station, signal and mountain span is there once, with its name or number.
TEST(RoutePlot, TheEmbeddedScenarioShowsEveryStationSignalAndSpan) {
  const SvgOutline svg =
      plot_of(test_support::embedded_line_text(), test_support::embedded_train_text());
  ASSERT_TRUE(svg.well_formed()) << svg.problem();

  EXPECT_EQ(svg.ids_of_class("station"),
            (std::vector<std::string>{"station-1", "station-2", "station-3", "station-4",
                                      "station-5", "station-6"}));
  EXPECT_EQ(svg.texts_of_class("station-name"),
            (std::vector<std::string>{"TARVO", "BIVIO CASCINA DELL' ERBA", "SAN LORIANO di TARVO",
                                      "LAVRETTO", "VALLORENE", "BELMIRA"}));
  EXPECT_EQ(svg.texts_of_class("station-time"),
            (std::vector<std::string>{"13:05", "13:16", "13:27"}));
  EXPECT_EQ(svg.ids_of_class("signal"),
            (std::vector<std::string>{"signal-38", "signal-59", "signal-106", "signal-130",
                                      "signal-138", "signal-162", "signal-221", "signal-245",
                                      "signal-331", "signal-355", "signal-456", "signal-480"}));
  EXPECT_EQ(svg.ids_of_class("span").size(), 11u);
  EXPECT_EQ(svg.count_of_class("slowdown"), 0u);
  EXPECT_EQ(svg.count_of_class("plan-station"), 6u);
  EXPECT_EQ(svg.count_of_class("plan-signal"), 12u);

  // One kilometre axis, labelled 0 to 32, and both profiles.
  std::vector<std::string> km;
  for (int i = 0; i <= 32; ++i) km.push_back(std::to_string(i));
  EXPECT_EQ(svg.texts_of_class("tick-label"), km);
  for (const char* id : {"track-plan", "gradient-profile", "speed-profile", "adhesion-profile",
                         "distance-axis", "spans", "cell-marks", "signals", "slowdowns"}) {
    EXPECT_TRUE(svg.has_id(id)) << id;
  }
  EXPECT_EQ(svg.count_of_class("profile"), 3u);
  // Every indication sign and speed indicator group the line places.
  EXPECT_EQ(svg.count_of_class("sign"), 37u);
  EXPECT_EQ(svg.ids_of_class("speed-indicator"),
            (std::vector<std::string>{"speed-indicator-16", "speed-indicator-39",
                                      "speed-indicator-463", "speed-indicator-467",
                                      "speed-indicator-471", "speed-indicator-520"}));
  // Each step of the three profiles can be pointed at.
  EXPECT_GT(svg.count_of_class("profile-step"), 20u);
  EXPECT_EQ(svg.count_of_class("track"), 1u);
}

// Opened from a file, the drawing must need nothing else.
TEST(RoutePlot, TheDrawingIsSelfContained) {
  const SvgOutline svg =
      plot_of(test_support::embedded_line_text(), test_support::embedded_train_text());
  EXPECT_EQ(svg.count_of_tag("script"), 0u);
  EXPECT_EQ(svg.count_of_tag("image"), 0u);
  EXPECT_FALSE(svg.any_attribute_named("href"));
  EXPECT_FALSE(svg.any_attribute_named("xlink:href"));
}

TEST(RoutePlot, SlowdownsAreDrawnWithTheirWarningBoards) {
  const SvgOutline svg =
      plot_of(test_support::line_with({}),
              test_support::train_with({"velocita, 0, 100", "rallentamento, 5000, 30, 400, 1, 1, 0",
                                        "rallentamento, 8000, 60, 200, 1, 0, 0",
                                        "rallentamento, 1000, 50, 200, 1, 0, 0"}));
  ASSERT_TRUE(svg.well_formed()) << svg.problem();
  EXPECT_EQ(svg.ids_of_class("slowdown"),
            (std::vector<std::string>{"slowdown-1", "slowdown-2", "slowdown-3"}));
  // A slowdown starting within 1500 m has no warning board.
  EXPECT_EQ(svg.count_of_class("warning-board"), 2u);
  EXPECT_EQ(svg.count_of_class("slowdown-speed"), 3u);
  // The completion pass's abbattimento marks before the slowdowns are drawn.
  EXPECT_GT(svg.count_of_class("abbattimento"), 0u);
}

// Names come from the description as Windows-1252 bytes; the drawing is
// UTF-8, and text that looks like markup stays text.
TEST(RoutePlot, StationNamesAreEscapedAndConverted) {
  const SvgOutline svg =
      plot_of(test_support::line_with({}),
              test_support::train_with(
                  {"stazione, 0, 12, 700, 1,0,0, 4,1,0, 2,1,1, 1, 13,5,0, <A&B> \xC8 \"C\""}));
  ASSERT_TRUE(svg.well_formed()) << svg.problem();
  EXPECT_EQ(svg.texts_of_class("station-name"), (std::vector<std::string>{"<A&B> \xC3\x88 \"C\""}));
}

}  // namespace
}  // namespace tracciato
