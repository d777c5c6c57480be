#include "tools/route_view_build.h"

#include "authoring/route_plot.h"
#include "authoring/route_svg.h"
#include "authoring/route_view_data.h"
#include "platform/utf8_path.h"
#include "text/windows1252.h"
#include "tools/compile_report.h"
#include "tools/diagnostic_format.h"

namespace tracciato {
namespace {

using Json = nlohmann::ordered_json;

// A page lists this many problems at most; lint lists them all.
constexpr size_t kMostProblemsListed = 1000;

// The first line of the diagnostic as the terminal shows it.
std::string headline(const Diagnostic& d, const DiagnosticSources& sources) {
  const std::string text = render_diagnostic(d, sources, false);
  return text.substr(0, text.find('\n'));
}

// Where on the route a diagnostic points: its position, or that of the
// record on its line.
std::optional<int32_t> place_of(const Diagnostic& d, const RecordLog& records) {
  if (d.position) return d.position;
  if (d.site.line <= 0) return std::nullopt;
  const LoggedRecord* record = records.on_line(d.description, d.site.line);
  return record != nullptr ? record->position() : std::nullopt;
}

}  // namespace

ViewDrawing view_drawing(const AuthorDescriptions& descriptions, const DrawingCompile& drawing) {
  ViewDrawing out;
  out.title = "Line " + windows1252_to_utf8(drawing.model->line_name) + ", train " +
              windows1252_to_utf8(drawing.model->train_number);
  if (!drawing.model->has_route()) return out;
  const RoutePlot plot = route_plot(*drawing.model);
  out.static_svg = render_route_svg(plot);
  out.view = route_view_data(*drawing.model, *drawing.records,
                             {utf8_of(descriptions.line_file), utf8_of(descriptions.train_file)});
  return out;
}

nlohmann::ordered_json placeless_error(const std::string& message) {
  return {{"severity", "error"}, {"code", nullptr}, {"message", message},
          {"at", nullptr},       {"cell", nullptr}, {"text", message}};
}

ViewProblems view_problems(const AuthorDescriptions& descriptions,
                           const std::vector<Diagnostic>& warnings, const DrawingCompile& drawing) {
  ViewProblems out;
  const IndexedDescriptions indexed(descriptions);
  const std::vector<Diagnostic> errors = compile_diagnostics(drawing.compile);
  out.errors = errors.size();
  out.warnings = warnings.size();
  for (const Diagnostic* d : in_text_order(warnings, errors)) {
    if (out.list.size() == kMostProblemsListed) {
      ++out.left_out;
      continue;
    }
    Json p = diagnostic_json(*d, indexed.sources());
    const std::optional<int32_t> at = place_of(*d, *drawing.records);
    p["at"] = at ? Json(*at) : Json(nullptr);
    p["cell"] = at ? Json(cell_of_position(*at)) : Json(nullptr);
    p["text"] = headline(*d, indexed.sources());
    out.list.push_back(std::move(p));
  }
  if (drawing.compile.stop != CompileStop::kNone) {
    ++out.errors;
    out.list.push_back(
        placeless_error("tracciato: " + std::string(stop_sentence(drawing.compile.stop))));
  }
  return out;
}

RoutePage route_view_page(const ViewDrawing& drawing, const ViewProblems& problems, bool clean) {
  RoutePage page;
  if (!clean) {
    page.banner = drawing.view.is_null()
                      ? "The compile stopped before the route was known: there is nothing to draw."
                      : "The compile recorded a problem: the drawing shows what it had read when "
                        "it stopped.";
  }
  page.title = drawing.title;
  page.view = drawing.view;
  page.static_svg = drawing.static_svg;
  page.problems = problems.list;
  page.more_problems = problems.left_out;
  return page;
}

}  // namespace tracciato
