// The route plot as one self-contained SVG drawing: the track plan on top,
// then, on one distance axis in kilometres, the stations with their names and
// times, the gradient and speed-limit profiles, the mountain spans, the
// signals and the slowdowns with their warning boards. Every object carries a
// tooltip with its numbers; nothing is loaded from outside the file.
#pragma once

#include <string>

#include "authoring/route_plot.h"

namespace tracciato {

std::string render_route_svg(const RoutePlot& plot);

}  // namespace tracciato
