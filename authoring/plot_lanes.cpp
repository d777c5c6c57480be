// The bands of objects along the distance axis: station names and times,
// mountain spans, signs and single-cell marks, signals, slowdowns with their
// warning boards, and the axis itself.
#include <algorithm>
#include <cmath>

#include "authoring/plot_layout.h"

namespace tracciato::plot {
namespace {

constexpr double kLabelRowHeight = 34;
constexpr double kLabelGap = 12;  // pixels between two station labels in a row

std::string hours_minutes(int32_t seconds) {
  const std::string t = time_of_day(seconds);
  return seconds % 60 == 0 ? t.substr(0, 5) : t;
}

std::string metres(int32_t m) { return std::to_string(m) + " m"; }

void titled(SvgWriter& svg, const std::string& title) { svg.text_element("title", {}, title); }

}  // namespace

std::vector<StationLabel> place_station_labels(const RoutePlot& plot, const DistanceScale& scale) {
  std::vector<StationLabel> labels;
  std::vector<double> row_ends;  // right edge of the last label in each row
  for (const PlotStation& s : plot.stations) {
    if (!scale.shows(s.position)) continue;
    StationLabel label{&s, s.time ? hours_minutes(*s.time) : "", 0, 0, 0};
    label.width =
        std::max(text_width(s.name.size(), kFontSize, true), text_width(label.time.size(), 11));
    label.left = std::clamp(scale.x(s.position) - label.width / 2, kLeft, kRight - label.width);
    // The first row with room, so that the names of close stations stack.
    while (label.row < row_ends.size() && row_ends[label.row] + kLabelGap > label.left) ++label.row;
    if (label.row == row_ends.size()) row_ends.push_back(0);
    row_ends[label.row] = label.left + label.width;
    labels.push_back(std::move(label));
  }
  return labels;
}

double station_labels_height(const std::vector<StationLabel>& labels) {
  size_t rows = 1;
  for (const StationLabel& label : labels) rows = std::max(rows, label.row + 1);
  return static_cast<double>(rows) * kLabelRowHeight + 8;
}

void draw_station_labels(SvgWriter& svg, const std::vector<StationLabel>& labels, double top) {
  svg.open("g", {{"id", "stations"}});
  band_title(svg, top + 18, "Stations");
  for (const StationLabel& label : labels) {
    const PlotStation& s = *label.station;
    const double x = label.left + label.width / 2;
    const double y = top + 16 + static_cast<double>(label.row) * kLabelRowHeight;
    svg.open("g", {{"class", "station"}, {"id", "station-" + std::to_string(s.entry)}});
    titled(svg, s.name + ": kind " + std::to_string(s.kind) + " at " + metres(s.position) +
                    ", span " + std::to_string(s.span_from) + " to " + metres(s.span_to) +
                    (s.time ? ", " + time_of_day(*s.time) : "") +
                    (s.stops ? "" : ", passed without a stop"));
    svg.text_element("text",
                     {{"class", "station-name"},
                      {"x", svg_number(x)},
                      {"y", svg_number(y)},
                      {"text-anchor", "middle"},
                      {"font-weight", "bold"},
                      {"fill", kStationColour}},
                     s.name);
    if (!label.time.empty()) {
      svg.text_element("text",
                       {{"class", "station-time"},
                        {"x", svg_number(x)},
                        {"y", svg_number(y + 15)},
                        {"text-anchor", "middle"},
                        {"font-size", "11"}},
                       label.time);
    }
    svg.close();
  }
  svg.close();
}

void draw_station_guides(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale,
                         Band band) {
  svg.open("g", {{"id", "station-guides"}});
  for (const PlotStation& s : plot.stations) {
    if (!scale.shows(s.position)) continue;
    const std::string x = svg_number(scale.x(s.position));
    // The station's span as a light band, its position as a dashed line.
    svg.element("rect",
                {{"x", svg_number(scale.x(std::max(s.span_from, 0)))},
                 {"y", svg_number(band.top)},
                 {"width", svg_number(std::max(
                               1.0, scale.x(s.span_to) - scale.x(std::max(s.span_from, 0))))},
                 {"height", svg_number(band.height)},
                 {"fill", kStationColour},
                 {"fill-opacity", "0.07"}});
    svg.element("line", {{"x1", x},
                         {"y1", svg_number(band.top)},
                         {"x2", x},
                         {"y2", svg_number(band.bottom())},
                         {"stroke", kStationColour},
                         {"stroke-opacity", "0.5"},
                         {"stroke-dasharray", "4 3"}});
  }
  svg.close();
}

void draw_spans(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale, Band band) {
  svg.open("g", {{"id", "spans"}});
  band_title(svg, band.top + band.height / 2 + 5, "Tunnels");
  for (const PlotSpan& s : plot.spans) {
    const double x1 = scale.x(s.start);
    const double x2 = std::max(scale.x(s.end), x1 + 2);  // a short span stays visible
    svg.open("rect", {{"class", "span"},
                      {"id", "span-" + std::to_string(s.number)},
                      {"x", svg_number(x1)},
                      {"y", svg_number(band.top + 4)},
                      {"width", svg_number(x2 - x1)},
                      {"height", svg_number(band.height - 8)},
                      {"fill", kSpanColour}});
    titled(svg, "mountain span " + std::to_string(s.number) + ": " + std::to_string(s.start) +
                    " to " + metres(s.end) + ", kind " + std::to_string(s.kind));
    svg.close();
  }
  svg.close();
}

void draw_cell_marks(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale, Band band) {
  svg.open("g", {{"id", "cell-marks"}});
  band_title(svg, band.top + band.height / 2 + 5, "Signs, marks");
  const double mid = band.top + band.height / 2;
  // A shape for each kind, so that marks of one cell stay apart to the eye.
  enum class Shape { kSquare, kDiamond, kTriangle };
  const struct {
    const std::vector<PlotCellMark>* marks;
    const char* kind;
    const char* named;
    Shape shape;
  } kinds[] = {{&plot.signs, "sign", "indication sign", Shape::kSquare},
               {&plot.speed_indicators, "speed-indicator", "speed indicators", Shape::kDiamond},
               {&plot.abbattimenti, "abbattimento", "abbattimento mark", Shape::kTriangle}};
  for (const auto& k : kinds) {
    for (const PlotCellMark& m : *k.marks) {
      const double x = scale.x(m.position);
      svg.open("g",
               {{"class", k.kind}, {"id", std::string(k.kind) + "-" + std::to_string(m.cell)}});
      titled(svg, std::string(k.named) + " at " + metres(m.position) + " (cell " +
                      std::to_string(m.cell) + "): " + m.text);
      if (k.shape == Shape::kSquare) {
        svg.element("rect", {{"x", svg_number(x - 4)},
                             {"y", svg_number(mid - 12)},
                             {"width", "8"},
                             {"height", "8"},
                             {"fill", kMarkColour}});
      } else if (k.shape == Shape::kDiamond) {
        svg.element("polygon", {{"points", svg_number(x) + "," + svg_number(mid - 5) + " " +
                                               svg_number(x + 5) + "," + svg_number(mid) + " " +
                                               svg_number(x) + "," + svg_number(mid + 5) + " " +
                                               svg_number(x - 5) + "," + svg_number(mid)},
                                {"fill", kSpeedColour}});
      } else {
        svg.element("polygon", {{"points", svg_number(x - 4) + "," + svg_number(mid + 12) + " " +
                                               svg_number(x + 4) + "," + svg_number(mid + 12) +
                                               " " + svg_number(x) + "," + svg_number(mid + 5)},
                                {"fill", kSignalColour}});
      }
      svg.close();
    }
  }
  svg.close();
}

void draw_signals(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale, Band band) {
  svg.open("g", {{"id", "signals"}});
  band_title(svg, band.top + band.height / 2 + 5, "Signals");
  for (const PlotSignal& s : plot.signals) {
    const std::string x = svg_number(scale.x(s.position));
    svg.open("g", {{"class", "signal"}, {"id", "signal-" + std::to_string(s.cell)}});
    titled(svg, "signal at " + metres(s.position) + " (cell " + std::to_string(s.cell) +
                    "): " + s.meaning);
    svg.element("line", {{"x1", x},
                         {"y1", svg_number(band.bottom() - 2)},
                         {"x2", x},
                         {"y2", svg_number(band.top + 10)},
                         {"stroke", kTrackColour},
                         {"stroke-width", "1.5"}});
    svg.element("circle",
                {{"cx", x}, {"cy", svg_number(band.top + 8)}, {"r", "5"}, {"fill", kSignalColour}});
    svg.close();
  }
  svg.close();
}

void draw_slowdowns(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale, Band band) {
  svg.open("g", {{"id", "slowdowns"}});
  band_title(svg, band.top + band.height / 2 + 5, "Slowdowns");
  if (plot.slowdowns.empty()) {
    svg.text_element("text",
                     {{"x", svg_number(kLeft + 8)},
                      {"y", svg_number(band.top + band.height / 2 + 5)},
                      {"fill", kMutedText},
                      {"font-style", "italic"}},
                     "none in this train");
  }
  const double mid = band.top + band.height / 2;
  int number = 0;
  for (const PlotSlowdown& s : plot.slowdowns) {
    ++number;
    const double x1 = scale.x(s.start);
    const double x2 = std::max(scale.x(s.end), x1 + 2);
    svg.open("g", {{"class", "slowdown"}, {"id", "slowdown-" + std::to_string(number)}});
    titled(svg, "slowdown to " + std::to_string(s.speed) + " km/h from " + std::to_string(s.start) +
                    " to " + metres(s.end));
    svg.element("rect", {{"x", svg_number(x1)},
                         {"y", svg_number(mid - 6)},
                         {"width", svg_number(x2 - x1)},
                         {"height", "12"},
                         {"fill", kSlowdownColour}});
    svg.text_element("text",
                     {{"x", svg_number((x1 + x2) / 2)},
                      {"y", svg_number(mid - 10)},
                      {"text-anchor", "middle"},
                      {"font-size", "11"}},
                     std::to_string(s.speed) + " km/h");
    if (s.warning) {
      const double w = scale.x(*s.warning);
      svg.element("line", {{"x1", svg_number(w)},
                           {"y1", svg_number(mid)},
                           {"x2", svg_number(x1)},
                           {"y2", svg_number(mid)},
                           {"stroke", kSlowdownColour},
                           {"stroke-dasharray", "2 2"}});
      svg.open("polygon", {{"class", "warning-board"},
                           {"points", svg_number(w) + "," + svg_number(mid - 7) + " " +
                                          svg_number(w + 7) + "," + svg_number(mid) + " " +
                                          svg_number(w) + "," + svg_number(mid + 7) + " " +
                                          svg_number(w - 7) + "," + svg_number(mid)},
                           {"fill", "white"},
                           {"stroke", kSlowdownColour},
                           {"stroke-width", "2"}});
      titled(svg, "warning board at " + metres(*s.warning));
      svg.close();
    }
    svg.close();
  }
  svg.close();
}

void draw_distance_axis(SvgWriter& svg, const DistanceScale& scale, double y) {
  svg.open("g", {{"id", "distance-axis"}});
  svg.element("line", {{"x1", svg_number(kLeft)},
                       {"y1", svg_number(y)},
                       {"x2", svg_number(kRight)},
                       {"y2", svg_number(y)},
                       {"stroke", kTrackColour}});
  // Labels at whole kilometres, as many as fit; minor ticks between.
  const double px_per_km = (kRight - kLeft) / (scale.end_m() / 1000);
  double step_km = 1;
  for (double s : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0}) {
    step_km = s;
    if (s * px_per_km >= 36) break;
  }
  for (double km = 0; km * 1000 <= scale.end_m() + 1e-6; km += step_km / 2) {
    const bool major = std::fmod(km, step_km) < 1e-9;
    const std::string x = svg_number(scale.x(km * 1000));
    svg.element("line", {{"class", major ? "tick" : "minor-tick"},
                         {"x1", x},
                         {"y1", svg_number(y)},
                         {"x2", x},
                         {"y2", svg_number(y + (major ? 7 : 4))},
                         {"stroke", kTrackColour}});
    if (major) {
      svg.text_element("text",
                       {{"class", "tick-label"},
                        {"x", x},
                        {"y", svg_number(y + 21)},
                        {"text-anchor", "middle"},
                        {"font-size", "12"}},
                       km_label(km * 1000));
    }
  }
  svg.text_element("text",
                   {{"x", svg_number((kLeft + kRight) / 2)},
                    {"y", svg_number(y + 42)},
                    {"text-anchor", "middle"},
                    {"font-weight", "bold"}},
                   "distance from the line's origin (km)");
  svg.close();
}

}  // namespace tracciato::plot
