// The route view's page and data, drawn from the compile: each mark with the
// record that placed it, what a stopped compile read before the stop, and a
// page that no description text can break out of.
#include <gtest/gtest.h>

#include "authoring/embedded_scenario.h"
#include "authoring/route_plot.h"
#include "authoring/route_svg.h"
#include "tools/route_view_build.h"

namespace tracciato {
namespace {

using Json = nlohmann::ordered_json;

AuthorDescriptions example(std::string train = test_support::embedded_train_text()) {
  return {"Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt", test_support::embedded_line_text(),
          std::move(train)};
}

DrawingCompile drawn(const AuthorDescriptions& descriptions) {
  return compile_for_drawing(descriptions, {"Tarvo_Belmira", "7351"}, true);
}

const Json* signal_at(const Json& view, int32_t position) {
  for (const Json& s : view["signals"]) {
    if (s["p"] == position) return &s;
  }
  return nullptr;
}

TEST(RouteView, EachMarkNamesTheRecordThatPlacedItWithTheGrammarsValueNames) {
  const AuthorDescriptions descriptions = example();
  const DrawingCompile drawing = drawn(descriptions);
  ASSERT_TRUE(drawing.clean());
  const Json view = view_drawing(descriptions, drawing).view;

  const Json* signal = signal_at(view, 6850);
  ASSERT_NE(signal, nullptr);
  EXPECT_EQ((*signal)["c"], 138);
  EXPECT_EQ((*signal)["s"][0], kSignalCell);
  const Json& record = view["records"][(*signal)["r"].get<size_t>()];
  EXPECT_EQ(record["f"], "Tarvo_Belmira_7351-.txt");
  EXPECT_EQ(record["l"], 29);
  EXPECT_EQ(record["c"], 1);
  EXPECT_EQ(record["n"], "signal");
  EXPECT_EQ(record["v"][0], Json::array({"position", 6850, "m"}));
  EXPECT_EQ(record["v"][10][0], "tempo");

  // Every station, sign and span has its record; the line's signs are in
  // the line description.
  for (const char* layer : {"stations", "signs", "spans", "indicators"}) {
    for (const Json& mark : view[layer]) EXPECT_TRUE(mark["r"].is_number()) << layer << mark;
  }
  const Json& sign_record = view["records"][view["signs"][0]["r"].get<size_t>()];
  EXPECT_EQ(sign_record["f"], "Tarvo_Belmira_linea.txt");
  EXPECT_EQ(sign_record["n"], "indication sign");
  // The profiles name the record from which each value runs.
  const Json& first_speed = view["speed"][0];
  EXPECT_EQ(first_speed[2], 75);
  EXPECT_EQ(view["records"][first_speed[3].get<size_t>()]["n"], "speed limit");
}

TEST(RouteView, ACompileThatStopsAtAProblemStillDrawsWhatItReadBefore) {
  std::string train = test_support::embedded_train_text();
  train.replace(train.find("segnale,    6850,"), 17, "segnale,    6750,");
  const AuthorDescriptions descriptions = example(train);
  const DrawingCompile drawing = drawn(descriptions);
  ASSERT_EQ(drawing.compile.error_code, 16);
  const Json view = view_drawing(descriptions, drawing).view;
  EXPECT_NE(signal_at(view, 1850), nullptr);
  EXPECT_EQ(signal_at(view, 8050), nullptr) << "read after the stop";

  const ViewProblems problems = view_problems(descriptions, {}, drawing);
  ASSERT_EQ(problems.list.size(), 1u);
  EXPECT_EQ(problems.list[0]["at"], 6750);
  EXPECT_EQ(problems.list[0]["cell"], 136);
  EXPECT_EQ(problems.list[0]["text"],
            "Tarvo_Belmira_7351-.txt:29:13: error: 16 at 6750 m: the signal's cell 136 (6750 to "
            "6800 m) is already occupied by the indication sign `(PASSAGGIO)(A LIVELLO)(Km "
            "68+905)`");
  const RoutePage page = route_view_page(view_drawing(descriptions, drawing), problems, false);
  EXPECT_NE(page.banner.find("recorded a problem"), std::string::npos);
}

TEST(RouteView, ThePageCarriesThePlotsDrawingForNoScriptAndItsTestInterface) {
  const AuthorDescriptions descriptions = example();
  const DrawingCompile drawing = drawn(descriptions);
  const std::string html = render_route_page(route_view_page(
      view_drawing(descriptions, drawing), view_problems(descriptions, {}, drawing), true));
  std::string svg = render_route_svg(route_plot(*drawing.model));
  svg.erase(0, svg.find("<svg"));
  EXPECT_NE(html.find("<noscript>\n" + svg + "</noscript>"), std::string::npos);
  for (const char* part :
       {"id=\"route-view\" data-view-start=\"0\" data-view-end=\"39000\" data-revision=\"1\"",
        "aria-label=\"Go to\"", "<ul id=\"problems\" aria-label=\"Problems\">"}) {
    EXPECT_NE(html.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(html.find("http"), html.find("http://www.w3.org/2000/svg")) << "nothing loaded";
}

TEST(RouteView, NoDescriptionTextEndsThePagesScript) {
  std::string line = test_support::embedded_line_text();
  line.replace(line.find("(CAVALCAVIA)"), 12, "</script><script>alert(1)</script><!--");
  const AuthorDescriptions descriptions{"L_linea.txt", "L_1-.txt", line,
                                        test_support::embedded_train_text()};
  const DrawingCompile drawing = drawn(descriptions);
  const std::string html =
      render_route_page(route_view_page(view_drawing(descriptions, drawing),
                                        view_problems(descriptions, {}, drawing), drawing.clean()));
  // The page's own two scripts end; the sign's text stands escaped.
  size_t ends = 0;
  for (size_t at = html.find("</script>"); at != std::string::npos;
       at = html.find("</script>", at + 1))
    ++ends;
  EXPECT_EQ(ends, 2u);
  EXPECT_NE(html.find("\\u003c/script>\\u003cscript>alert(1)"), std::string::npos);
}

}  // namespace
}  // namespace tracciato
