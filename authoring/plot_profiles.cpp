// The stretch profiles along the distance axis: gradient, speed limit and
// adhesion, each a step line over the cells with its own value axis, and a
// tooltip on every step with its value and where it runs.
#include <algorithm>
#include <cmath>

#include "authoring/plot_layout.h"

namespace tracciato::plot {
namespace {

struct ValueAxis {
  double lo = 0;
  double hi = 1;
  Band band;
  double y(double v) const { return band.bottom() - (v - lo) / (hi - lo) * band.height; }
};

// The value range of the steps shown, zero included, widened to whole ticks
// and half a tick more so the line never runs along the frame.
ValueAxis value_axis(const std::vector<ProfileStep>& steps, const DistanceScale& scale, Band band,
                     bool from_zero) {
  double lo = 0, hi = 0;
  for (const ProfileStep& s : steps) {
    if (s.to_m <= 0 || s.from_m >= scale.end_m()) continue;
    lo = std::min<double>(lo, s.value);
    hi = std::max<double>(hi, s.value);
  }
  const std::vector<double> ticks = nice_ticks(lo, hi, 4);
  const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : 1;
  const double axis_lo = std::floor(lo / step) * step;
  double axis_hi = std::ceil(hi / step) * step;
  if (axis_hi <= axis_lo) axis_hi = axis_lo + step;
  return {axis_lo - (from_zero ? 0 : step / 2), axis_hi + step / 2, band};
}

void value_grid(SvgWriter& svg, const ValueAxis& axis) {
  for (double t : nice_ticks(axis.lo, axis.hi, 4)) {
    const double y = axis.y(t);
    if (y < axis.band.top - 0.5 || y > axis.band.bottom() + 0.5) continue;
    svg.element("line", {{"x1", svg_number(kLeft)},
                         {"y1", svg_number(y)},
                         {"x2", svg_number(kRight)},
                         {"y2", svg_number(y)},
                         {"stroke", t == 0 ? "#999999" : kGridColour}});
    svg.text_element("text",
                     {{"x", svg_number(kLeft - 6)},
                      {"y", svg_number(y + 4)},
                      {"text-anchor", "end"},
                      {"font-size", "11"},
                      {"fill", kMutedText}},
                     svg_number(t));
  }
}

// The steps as one path: horizontal at each value, vertical at each change,
// clipped to the distance axis; and the area between it and zero.
void step_line(SvgWriter& svg, const std::vector<ProfileStep>& steps, const DistanceScale& scale,
               const ValueAxis& axis, const std::string& colour, const std::string& fill) {
  std::string line;
  std::string area;
  const double zero = axis.y(std::clamp(0.0, axis.lo, axis.hi));
  for (const ProfileStep& s : steps) {
    const double from = std::max<double>(s.from_m, 0);
    const double to = std::min<double>(s.to_m, scale.end_m());
    if (to <= from) continue;
    const std::string x1 = svg_number(scale.x(from));
    const std::string x2 = svg_number(scale.x(to));
    const std::string y = svg_number(axis.y(s.value));
    line += (line.empty() ? "M" : " L") + x1 + "," + y + " L" + x2 + "," + y;
    area += "M" + x1 + "," + svg_number(zero) + " L" + x1 + "," + y + " L" + x2 + "," + y + " L" +
            x2 + "," + svg_number(zero) + " Z ";
  }
  svg.element("path", {{"class", "profile-area"}, {"d", area}, {"fill", fill}, {"stroke", "none"}});
  svg.element("path", {{"class", "profile"},
                       {"d", line},
                       {"fill", "none"},
                       {"stroke", colour},
                       {"stroke-width", "2"}});
}

// A transparent strip over each step, carrying its value and its stretch as
// a tooltip: the step line itself is too thin to point at.
void step_tips(SvgWriter& svg, const std::vector<ProfileStep>& steps, const DistanceScale& scale,
               Band band, const std::string& what, const std::string& unit) {
  for (const ProfileStep& s : steps) {
    const double from = std::max<double>(s.from_m, 0);
    const double to = std::min<double>(s.to_m, scale.end_m());
    if (to <= from) continue;
    svg.open("rect", {{"class", "profile-step"},
                      {"x", svg_number(scale.x(from))},
                      {"y", svg_number(band.top)},
                      {"width", svg_number(scale.x(to) - scale.x(from))},
                      {"height", svg_number(band.height)},
                      {"fill", "transparent"}});
    svg.text_element("title", {},
                     what + " " + std::to_string(s.value) + unit + " from " +
                         std::to_string(s.from_m) + " to " + std::to_string(s.to_m) + " m");
    svg.close();
  }
}

void frame(SvgWriter& svg, Band band) {
  svg.element("rect", {{"x", svg_number(kLeft)},
                       {"y", svg_number(band.top)},
                       {"width", svg_number(kRight - kLeft)},
                       {"height", svg_number(band.height)},
                       {"fill", "none"},
                       {"stroke", "#bbbbbb"}});
}

}  // namespace

void draw_gradient(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale, Band band) {
  svg.open("g", {{"id", "gradient-profile"}});
  band_title(svg, band.top + 14, "Gradient");
  svg.text_element(
      "text",
      {{"x", "12"}, {"y", svg_number(band.top + 30)}, {"fill", kMutedText}, {"font-size", "11"}},
      "per mille, + climbs");
  const ValueAxis axis = value_axis(plot.gradient, scale, band, false);
  value_grid(svg, axis);
  step_line(svg, plot.gradient, scale, axis, kGradientColour, "#c8e6c9");
  step_tips(svg, plot.gradient, scale, band, "gradient", " per mille");
  frame(svg, band);
  svg.close();
}

void draw_speed_limit(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale,
                      Band band) {
  svg.open("g", {{"id", "speed-profile"}});
  band_title(svg, band.top + 14, "Speed limit");
  svg.text_element(
      "text",
      {{"x", "12"}, {"y", svg_number(band.top + 30)}, {"fill", kMutedText}, {"font-size", "11"}},
      "km/h");
  const ValueAxis axis = value_axis(plot.speed_limit, scale, band, true);
  value_grid(svg, axis);
  step_line(svg, plot.speed_limit, scale, axis, kSpeedColour, "#dbe8f7");
  step_tips(svg, plot.speed_limit, scale, band, "speed limit", " km/h");
  // Slowdowns lower the speed over their stretch: drawn over the limit.
  for (const PlotSlowdown& s : plot.slowdowns) {
    const double y = axis.y(std::clamp<double>(s.speed, axis.lo, axis.hi));
    svg.element("line", {{"class", "slowdown-speed"},
                         {"x1", svg_number(scale.x(s.start))},
                         {"y1", svg_number(y)},
                         {"x2", svg_number(scale.x(s.end))},
                         {"y2", svg_number(y)},
                         {"stroke", kSlowdownColour},
                         {"stroke-width", "3"}});
  }
  frame(svg, band);
  svg.close();
}

void draw_adhesion(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale, Band band) {
  svg.open("g", {{"id", "adhesion-profile"}});
  band_title(svg, band.top + 14, "Adhesion");
  svg.text_element(
      "text",
      {{"x", "12"}, {"y", svg_number(band.top + 30)}, {"fill", kMutedText}, {"font-size", "11"}},
      "as stored");
  const ValueAxis axis = value_axis(plot.adhesion, scale, band, true);
  value_grid(svg, axis);
  step_line(svg, plot.adhesion, scale, axis, kAdhesionColour, "#ede0f5");
  step_tips(svg, plot.adhesion, scale, band, "adhesion", "");
  frame(svg, band);
  svg.close();
}

}  // namespace tracciato::plot
