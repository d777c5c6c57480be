// The track in plan: the polyline the compiler computed, turned so that the
// line runs from left to right, with its stations and signals.
#include <algorithm>
#include <cmath>
#include <optional>

#include "authoring/plot_layout.h"

namespace tracciato::plot {
namespace {

constexpr double kPadding = 40;  // pixels kept free around the polyline
constexpr double kScaleBarMetres = 1000;
constexpr int32_t kKmMarkEvery = 5;
constexpr size_t kClearEvery = 5;  // plan points: labels keep off the track every 50 m

// Finds free places for labels next to points, avoiding those already taken.
class LabelPlacer {
 public:
  explicit LabelPlacer(Band band) : band_(band) {}

  // A spot no label may cover, such as a stretch of the track.
  void keep_clear(double x, double y, double radius) {
    taken_.push_back({x - radius, y - radius, x + radius, y + radius});
  }

  // The text anchor (middle, baseline) of a label `width` wide near (x, y),
  // or nullopt when every place tried is taken.
  std::optional<std::pair<double, double>> place(double x, double y, double width) {
    constexpr double kHeight = 13;
    for (double dy : {-11.0, 21.0, -26.0, 36.0, -41.0, 51.0}) {
      const double cx = std::clamp(x, kLeft + width / 2 + 4, kRight - width / 2 - 4);
      const Box box{cx - width / 2, y + dy - kHeight + 2, cx + width / 2, y + dy + 3};
      if (box.top < band_.top || box.bottom > band_.bottom()) continue;
      if (std::any_of(taken_.begin(), taken_.end(), [&](const Box& t) { return t.overlaps(box); }))
        continue;
      taken_.push_back(box);
      return std::pair{cx, y + dy};
    }
    return std::nullopt;
  }

 private:
  struct Box {
    double left, top, right, bottom;
    bool overlaps(const Box& o) const {
      return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
  };
  Band band_;
  std::vector<Box> taken_;
};

// Plan metres to the drawing: a rotation that puts the line's end to the
// right of its start, one scale for both axes so no curve is distorted, and
// y flipped so that a right-hand curve still turns right on the page.
class PlanView {
 public:
  PlanView(const std::vector<PlanPoint>& points, size_t end_index, Band band) {
    const PlanPoint& a = points.front();
    const PlanPoint& b = points[std::min(end_index, points.size() - 1)];
    const double angle = std::atan2(b.y - a.y, b.x - a.x);
    cos_ = std::cos(angle);
    sin_ = std::sin(angle);
    double min_u = 1e300, max_u = -1e300, min_v = 1e300, max_v = -1e300;
    for (const PlanPoint& p : points) {
      const auto [u, v] = turned(p);
      min_u = std::min(min_u, u), max_u = std::max(max_u, u);
      min_v = std::min(min_v, v), max_v = std::max(max_v, v);
    }
    const double box_w = kRight - kLeft - 2 * kPadding;
    const double box_h = band.height - 2 * kPadding;
    scale_ = std::min(box_w / std::max(max_u - min_u, 1.0), box_h / std::max(max_v - min_v, 1.0));
    // Centre the polyline in the band.
    origin_x_ = kLeft + kPadding + (box_w - (max_u - min_u) * scale_) / 2 - min_u * scale_;
    origin_y_ = band.top + kPadding + (box_h - (max_v - min_v) * scale_) / 2 + max_v * scale_;
  }

  double x(const PlanPoint& p) const { return origin_x_ + turned(p).first * scale_; }
  double y(const PlanPoint& p) const { return origin_y_ - turned(p).second * scale_; }
  double pixels(double metres) const { return metres * scale_; }

 private:
  std::pair<double, double> turned(const PlanPoint& p) const {
    return {cos_ * p.x + sin_ * p.y, -sin_ * p.x + cos_ * p.y};
  }

  double cos_ = 1, sin_ = 0, scale_ = 1, origin_x_ = 0, origin_y_ = 0;
};

std::string points_of(const PlanView& view, const std::vector<PlanPoint>& plan, size_t from,
                      size_t to) {
  std::string points;
  for (size_t i = from; i < to && i < plan.size(); ++i) {
    points += (points.empty() ? "" : " ") + svg_number(view.x(plan[i])) + "," +
              svg_number(view.y(plan[i]));
  }
  return points;
}

// The plan point nearest `metres`, clamped to the points there are.
const PlanPoint& at(const std::vector<PlanPoint>& plan, int32_t metres) {
  const auto i = static_cast<size_t>(
      std::clamp<int64_t>(metres / kPlanStep, 0, static_cast<int64_t>(plan.size()) - 1));
  return plan[i];
}

}  // namespace

void draw_track_plan(SvgWriter& svg, const RoutePlot& plot, Band band) {
  svg.open("g", {{"id", "track-plan"}});
  band_title(svg, band.top + 18, "Track plan");
  svg.text_element(
      "text",
      {{"x", "12"}, {"y", svg_number(band.top + 36)}, {"fill", kMutedText}, {"font-size", "11"}},
      "turned: start left");
  svg.element("rect", {{"x", svg_number(kLeft)},
                       {"y", svg_number(band.top)},
                       {"width", svg_number(kRight - kLeft)},
                       {"height", svg_number(band.height)},
                       {"fill", "#fafafa"},
                       {"stroke", kGridColour}});
  if (plot.plan.size() < 2) {
    svg.text_element(
        "text",
        {{"x", svg_number(kLeft + 20)}, {"y", svg_number(band.top + 30)}, {"fill", kMutedText}},
        "no track computed");
    svg.close();
    return;
  }
  const size_t line_end = static_cast<size_t>(std::max(plot.line_length, 0) / kPlanStep);
  const PlanView view(plot.plan, line_end, band);

  svg.element("polyline", {{"class", "track"},
                           {"points", points_of(view, plot.plan, 0, line_end + 1)},
                           {"fill", "none"},
                           {"stroke", kTrackColour},
                           {"stroke-width", "2.5"},
                           {"stroke-linejoin", "round"}});
  // The route runs on beyond the line's end; the simulator needs that track.
  if (line_end + 1 < plot.plan.size()) {
    svg.element("polyline", {{"class", "track-overrun"},
                             {"points", points_of(view, plot.plan, line_end, plot.plan.size())},
                             {"fill", "none"},
                             {"stroke", "#999999"},
                             {"stroke-width", "1.5"},
                             {"stroke-dasharray", "6 4"}});
  }

  for (const PlotSignal& s : plot.signals) {
    const PlanPoint& p = at(plot.plan, s.position);
    svg.open("g", {{"class", "plan-signal"}});
    svg.text_element("title", {}, "signal at " + std::to_string(s.position) + " m");
    svg.element("circle", {{"cx", svg_number(view.x(p))},
                           {"cy", svg_number(view.y(p))},
                           {"r", "3"},
                           {"fill", kSignalColour}});
    svg.close();
  }
  // Station names go where they overlap neither another name nor the
  // track's kilometre marks: above the station first, then below, then
  // further out.
  LabelPlacer labels(band);
  for (size_t i = 0; i < plot.plan.size(); i += kClearEvery) {
    labels.keep_clear(view.x(plot.plan[i]), view.y(plot.plan[i]), 3);
  }
  for (const PlotStation& s : plot.stations) {
    const PlanPoint& p = at(plot.plan, s.position);
    const double x = view.x(p);
    const double y = view.y(p);
    svg.open("g", {{"class", "plan-station"}});
    svg.element("circle", {{"cx", svg_number(x)},
                           {"cy", svg_number(y)},
                           {"r", "6"},
                           {"fill", s.stops ? kStationColour : "white"},
                           {"stroke", kStationColour},
                           {"stroke-width", "2"}});
    const double width = text_width(s.name.size(), 12);
    if (const auto spot = labels.place(x, y, width)) {
      svg.text_element("text",
                       {{"x", svg_number(spot->first)},
                        {"y", svg_number(spot->second)},
                        {"text-anchor", "middle"},
                        {"font-size", "12"},
                        {"fill", kStationColour}},
                       s.name);
    }
    svg.close();
  }
  // Every 5 km a small mark, so the plan reads against the distance axis.
  for (int32_t km = kKmMarkEvery; km * 1000 <= plot.line_length; km += kKmMarkEvery) {
    const PlanPoint& p = at(plot.plan, km * 1000);
    const double x = view.x(p);
    const double y = view.y(p);
    svg.open("g", {{"class", "plan-km"}});
    svg.element("circle", {{"cx", svg_number(x)},
                           {"cy", svg_number(y)},
                           {"r", "2.5"},
                           {"fill", "white"},
                           {"stroke", kTrackColour}});
    const std::string text = std::to_string(km) + " km";
    if (const auto spot = labels.place(x, y, text_width(text.size(), 10))) {
      svg.text_element("text",
                       {{"x", svg_number(spot->first)},
                        {"y", svg_number(spot->second)},
                        {"text-anchor", "middle"},
                        {"font-size", "10"},
                        {"fill", kMutedText}},
                       text);
    }
    svg.close();
  }

  // A scale bar, since the plan has its own scale.
  const double bar = view.pixels(kScaleBarMetres);
  const double bx = kLeft + 16;
  const double by = band.bottom() - 14;
  svg.open("g", {{"class", "scale-bar"}});
  svg.element("line", {{"x1", svg_number(bx)},
                       {"y1", svg_number(by)},
                       {"x2", svg_number(bx + bar)},
                       {"y2", svg_number(by)},
                       {"stroke", kTrackColour},
                       {"stroke-width", "2"}});
  for (double x : {bx, bx + bar}) {
    svg.element("line", {{"x1", svg_number(x)},
                         {"y1", svg_number(by - 4)},
                         {"x2", svg_number(x)},
                         {"y2", svg_number(by + 4)},
                         {"stroke", kTrackColour},
                         {"stroke-width", "2"}});
  }
  svg.text_element(
      "text", {{"x", svg_number(bx + bar + 6)}, {"y", svg_number(by + 4)}, {"font-size", "11"}},
      "1 km");
  svg.close();
  svg.close();
}

}  // namespace tracciato::plot
