#include "authoring/plot_layout.h"

#include <cmath>

namespace tracciato::plot {

std::vector<double> nice_ticks(double lo, double hi, int count) {
  if (hi <= lo) hi = lo + 1;
  const double raw = (hi - lo) / count;
  const double magnitude = std::pow(10, std::floor(std::log10(raw)));
  double step = magnitude;
  for (double f : {1.0, 2.0, 5.0, 10.0}) {
    step = f * magnitude;
    if (step >= raw) break;
  }
  std::vector<double> ticks;
  for (double t = std::ceil(lo / step) * step; t <= hi + step * 1e-9; t += step) {
    ticks.push_back(std::abs(t) < step * 1e-9 ? 0 : t);
  }
  return ticks;
}

std::string km_label(double metres) {
  const double km = metres / 1000;
  return svg_number(km);
}

void band_title(SvgWriter& svg, double y, const std::string& title) {
  svg.text_element(
      "text", {{"x", "12"}, {"y", svg_number(y)}, {"font-weight", "bold"}, {"class", "band-title"}},
      title);
}

}  // namespace tracciato::plot
