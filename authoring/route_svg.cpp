#include "authoring/route_svg.h"

#include <algorithm>
#include <cmath>

#include "authoring/plot_layout.h"

namespace tracciato {

using namespace plot;

namespace {

constexpr double kTitleHeight = 56;
constexpr double kPlanHeight = 300;
constexpr double kBandGap = 22;
constexpr double kProfileHeight = 130;
constexpr double kAdhesionHeight = 88;
constexpr double kLaneHeight = 34;
constexpr double kAxisHeight = 60;

// The axis reaches the line's end, or the furthest object beyond it, rounded
// up to a whole kilometre.
double axis_end(const RoutePlot& plot) {
  double end = std::max(plot.line_length, 1000);
  for (const PlotStation& s : plot.stations) end = std::max<double>(end, s.position);
  for (const PlotSignal& s : plot.signals) end = std::max<double>(end, s.position);
  for (const PlotSlowdown& s : plot.slowdowns) end = std::max<double>(end, s.end);
  return std::ceil(end / 1000) * 1000;
}

std::string count_of(size_t n, const std::string& thing) {
  return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

std::string title_of(const RoutePlot& plot) {
  return "Line " + plot.line_name + ", train " + plot.train_number + " (" +
         svg_number(plot.line_length / 1000.0) + " km, " +
         count_of(plot.stations.size(), "station") + ", " +
         count_of(plot.signals.size(), "signal") + ")";
}

}  // namespace

std::string render_route_svg(const RoutePlot& plot) {
  const DistanceScale scale(axis_end(plot));
  const Band plan{kTitleHeight, kPlanHeight};
  const double labels_top = plan.bottom() + kBandGap;
  const std::vector<StationLabel> labels = place_station_labels(plot, scale);
  const double labels_height = station_labels_height(labels);

  const Band gradient{labels_top + labels_height, kProfileHeight};
  const Band speed{gradient.bottom() + kBandGap, kProfileHeight};
  const Band adhesion{speed.bottom() + kBandGap, kAdhesionHeight};
  const Band spans{adhesion.bottom() + kBandGap / 2, kLaneHeight};
  const Band marks{spans.bottom(), kLaneHeight};
  const Band signals{marks.bottom(), kLaneHeight};
  const Band slowdowns{signals.bottom(), kLaneHeight + 8};
  const double axis_y = slowdowns.bottom() + 6;
  const double height = axis_y + kAxisHeight;

  SvgWriter svg;
  svg.open("svg", {{"xmlns", "http://www.w3.org/2000/svg"},
                   {"width", svg_number(kWidth)},
                   {"height", svg_number(height)},
                   {"viewBox", "0 0 " + svg_number(kWidth) + " " + svg_number(height)},
                   {"font-family", kFont},
                   {"font-size", svg_number(kFontSize)}});
  svg.text_element("title", {}, title_of(plot));
  svg.element("rect", {{"width", "100%"}, {"height", "100%"}, {"fill", "white"}});
  svg.text_element("text",
                   {{"x", "12"},
                    {"y", "32"},
                    {"font-size", "20"},
                    {"font-weight", "bold"},
                    {"id", "plot-title"}},
                   title_of(plot));
  draw_station_guides(svg, plot, scale, {gradient.top, axis_y - gradient.top});
  draw_track_plan(svg, plot, plan);
  draw_station_labels(svg, labels, labels_top);
  draw_gradient(svg, plot, scale, gradient);
  draw_speed_limit(svg, plot, scale, speed);
  draw_adhesion(svg, plot, scale, adhesion);
  draw_spans(svg, plot, scale, spans);
  draw_cell_marks(svg, plot, scale, marks);
  draw_signals(svg, plot, scale, signals);
  draw_slowdowns(svg, plot, scale, slowdowns);
  draw_distance_axis(svg, scale, axis_y);
  svg.close();
  return svg.document();
}

}  // namespace tracciato
