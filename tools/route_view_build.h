// The route view's page of an author's scenario: the drawing of a compile
// kept for drawing (route_plot_build.h), and the problems the same analysis
// as compile and lint finds, each with the place on the route it concerns.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "authoring/route_page.h"
#include "compiler/diagnostics.h"
#include "tools/author_compile.h"
#include "tools/route_plot_build.h"

namespace tracciato {

// What a page draws of one compile; `view` is null when there is no route.
struct ViewDrawing {
  std::string title;
  nlohmann::ordered_json view;
  std::string static_svg;
};

// The drawing of everything the compile read, up to a problem or a stop.
// REQUIRES: drawing.records is set.
ViewDrawing view_drawing(const AuthorDescriptions& descriptions, const DrawingCompile& drawing);

struct ViewProblems {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  size_t left_out = 0;  // beyond the most a page lists
  size_t errors = 0;
  size_t warnings = 0;
};

// An error of no place in the descriptions (a stop, a description that
// cannot be read), as the page lists it.
nlohmann::ordered_json placeless_error(const std::string& message);

// The warnings and the compile's problem in the order of the texts, then
// the stop, as the page lists them (see RoutePage::problems).
ViewProblems view_problems(const AuthorDescriptions& descriptions,
                           const std::vector<Diagnostic>& warnings, const DrawingCompile& drawing);

// The page of one drawing with its problems. A drawing that is not `clean`
// (the compile recorded a problem or stopped) says so above the picture.
RoutePage route_view_page(const ViewDrawing& drawing, const ViewProblems& problems, bool clean);

}  // namespace tracciato
