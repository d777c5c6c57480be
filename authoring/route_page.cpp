#include "authoring/route_page.h"

#include <string_view>

#include "authoring/svg_writer.h"

namespace tracciato {
namespace {

using Json = nlohmann::ordered_json;

// JSON inside a script element: no "</script>" or "<!--" may appear in it,
// and '<' stands only inside strings, where \u003c reads the same.
std::string script_json(const Json& value) {
  const std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '<') {
      out += "\\u003c";
    } else {
      out += c;
    }
  }
  return out;
}

// The SVG document without its XML declaration, to stand inside HTML.
std::string_view inline_svg(std::string_view document) {
  if (document.starts_with("<?xml")) {
    const size_t end = document.find("?>");
    if (end != std::string_view::npos) document.remove_prefix(end + 2);
  }
  while (!document.empty() && (document.front() == '\n' || document.front() == '\r'))
    document.remove_prefix(1);
  return document;
}

std::string problem_items(const RoutePage& page) {
  std::string items;
  size_t i = 0;
  for (const Json& p : page.problems) {
    items += "<li><button type=\"button\" class=\"" + svg_escape(p.value("severity", "")) +
             "\" data-problem=\"" + std::to_string(i++) + "\"";
    if (p.contains("at") && p["at"].is_number()) {
      items += " data-at=\"" + std::to_string(p["at"].get<int64_t>()) + "\"";
    }
    items += ">" + svg_escape(p.value("text", "")) + "</button></li>\n";
  }
  return items;
}

}  // namespace

std::string render_route_page(const RoutePage& page) {
  Json data;
  data["revision"] = page.revision;
  data["live"] = page.live;
  data["banner"] = page.banner;
  data["view"] = page.view;
  data["problems"] = page.problems;
  data["more_problems"] = page.more_problems;

  const std::string title = svg_escape(page.title);
  std::string html;
  html.reserve(page.static_svg.size() + 4096);
  html += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  html += "<title>" + title + "</title>\n<style>\n";
  html += kRouteViewStyle;
  html += "</style>\n</head>\n<body>\n";
  html += "<main id=\"route-view\" data-view-start=\"0\" data-view-end=\"" +
          std::to_string(page.view.is_object() ? page.view.value("track", 0) : 0) +
          "\" data-revision=\"" + std::to_string(page.revision) + "\">\n";
  html += "<header>\n<h1>" + title + "</h1>\n";
  html +=
      "<form id=\"goto-form\" class=\"needs-script\" role=\"search\" hidden>"
      "<input id=\"goto\" type=\"text\" aria-label=\"Go to\" autocomplete=\"off\" "
      "placeholder=\"6850, +500, km 68+905, a station\">"
      "<button type=\"submit\">Go</button><output id=\"goto-message\"></output></form>\n";
  html +=
      "<fieldset id=\"layers\" class=\"needs-script\" hidden><legend>Layers</legend>"
      "</fieldset>\n</header>\n";
  html += "<div id=\"banner\"" + std::string(page.banner.empty() ? " hidden" : "") + ">" +
          svg_escape(page.banner) + "</div>\n";
  html += "<div id=\"picture\">\n";
  if (!page.static_svg.empty()) {
    html += "<noscript>\n";
    html += inline_svg(page.static_svg);
    html += "</noscript>\n";
  }
  html +=
      "<svg id=\"route-svg\" xmlns=\"http://www.w3.org/2000/svg\" height=\"0\" "
      "role=\"img\" aria-label=\"Route\"></svg>\n</div>\n";
  html += "<aside>\n<section>\n<h2 id=\"problems-title\">Problems (" +
          std::to_string(page.problems.size()) + ")</h2>\n";
  html += "<ul id=\"problems\" aria-label=\"Problems\">\n" + problem_items(page) + "</ul>\n";
  html += "</section>\n<section id=\"details\" aria-label=\"Details\" aria-live=\"polite\">";
  html +=
      "<h2>Details</h2><p class=\"needs-script\" hidden>Point at a mark to see the record "
      "that placed it; click to keep it.</p></section>\n</aside>\n";
  html +=
      "<script type=\"application/json\" id=\"route-data\">" + script_json(data) + "</script>\n";
  html += "<script>\n";
  html += kRouteViewScript;
  html += "</script>\n</main>\n</body>\n</html>\n";
  return html;
}

}  // namespace tracciato
