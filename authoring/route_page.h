// The route view as one self-contained HTML page: the interactive drawing
// (route_view_*.js over the data of route_view_data.h), and, for a browser
// with scripts off, the route plot's own SVG drawing with its tooltips. The
// problems panel lists the compile's errors and warnings. Nothing is loaded
// from outside the page.
//
// The page's test interface: the root element #route-view carries the range
// in view in metres (data-view-start, data-view-end) and the drawing's
// revision (data-revision); the Go to box has the accessible name "Go to";
// the problems panel is a list with the accessible name "Problems".
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

namespace tracciato {

struct RoutePage {
  std::string title;
  // The route plot's SVG document, or "" when there is no route to draw.
  std::string static_svg;
  // route_view_data(), or null when there is no route to draw.
  nlohmann::ordered_json view;
  // The problems, in the order of the texts: the diagnostics' JSON objects
  // (diagnostic_json), each with `at` (the position to show, or null) and
  // `cell` (the cell to highlight, or null).
  nlohmann::ordered_json problems = nlohmann::ordered_json::array();
  // How many problems were left out of the panel.
  size_t more_problems = 0;
  // A line above the picture ("" for none), e.g. that it is an earlier drawing.
  std::string banner;
  int64_t revision = 1;
  // The page is served: it asks the server for new revisions.
  bool live = false;
};

std::string render_route_page(const RoutePage& page);

// The page's script and styles (route_view_*.js, route_view.css).
extern const char* const kRouteViewScript;
extern const char* const kRouteViewStyle;

}  // namespace tracciato
