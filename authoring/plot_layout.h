// The frame the route plot is drawn in: one horizontal distance scale shared
// by every band below the track plan, the bands' places, and the colours.
// Internal to the plot's drawing files.
#pragma once

#include <string>
#include <vector>

#include "authoring/route_plot.h"
#include "authoring/svg_writer.h"

namespace tracciato::plot {

inline constexpr double kWidth = 1600;
inline constexpr double kLeft = 150;  // the distance axis starts here; band titles sit left of it
inline constexpr double kRight = 1560;
inline constexpr double kFontSize = 13;
inline const std::string kFont = "DejaVu Sans, Arial, Helvetica, sans-serif";

// Colours: one per kind of thing, the same wherever it appears.
inline const std::string kTrackColour = "#333333";
inline const std::string kStationColour = "#1f5fa8";
inline const std::string kSignalColour = "#c0392b";
inline const std::string kSpanColour = "#7a6140";
inline const std::string kGradientColour = "#2e7d32";
inline const std::string kSpeedColour = "#1f5fa8";
inline const std::string kSlowdownColour = "#e67e22";
inline const std::string kAdhesionColour = "#7b3fa0";
inline const std::string kMarkColour = "#555555";
inline const std::string kGridColour = "#dddddd";
inline const std::string kMutedText = "#555555";

// A horizontal strip of the drawing.
struct Band {
  double top = 0;
  double height = 0;
  double bottom() const { return top + height; }
};

// Metres along the route to x, from 0 to `end_m` across the plot's width.
class DistanceScale {
 public:
  explicit DistanceScale(double end_m) : end_m_(end_m) {}
  double x(double metres) const { return kLeft + (kRight - kLeft) * metres / end_m_; }
  double end_m() const { return end_m_; }
  bool shows(double metres) const { return metres >= 0 && metres <= end_m_; }

 private:
  double end_m_;
};

// Round values from lo to hi, about `count` of them.
std::vector<double> nice_ticks(double lo, double hi, int count);

// "km 13.2" style labels: kilometres with at most one decimal.
std::string km_label(double metres);

// Roughly how wide a text of `chars` characters is at `size` pixels; a little
// generous, so that labels judged apart do not touch.
inline double text_width(size_t chars, double size, bool bold = false) {
  return static_cast<double>(chars) * size * (bold ? 0.7 : 0.62);
}

// A band's title at the left margin, level with `y`.
void band_title(SvgWriter& svg, double y, const std::string& title);

void draw_track_plan(SvgWriter& svg, const RoutePlot& plot, Band band);
// A station's name and time above the profiles; labels of stations too close
// for one row stack in further rows.
struct StationLabel {
  const PlotStation* station;
  std::string time;  // "13:05", or "" when the station has no time
  double left;
  double width;
  size_t row;
};
std::vector<StationLabel> place_station_labels(const RoutePlot& plot, const DistanceScale& scale);
double station_labels_height(const std::vector<StationLabel>& labels);
void draw_station_labels(SvgWriter& svg, const std::vector<StationLabel>& labels, double top);
void draw_station_guides(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale,
                         Band band);
void draw_gradient(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale, Band band);
void draw_speed_limit(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale, Band band);
void draw_adhesion(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale, Band band);
void draw_spans(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale, Band band);
// The objects of single cells that are neither signals nor stations:
// indication signs, speed indicator groups and abbattimento marks.
void draw_cell_marks(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale, Band band);
void draw_signals(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale, Band band);
void draw_slowdowns(SvgWriter& svg, const RoutePlot& plot, const DistanceScale& scale, Band band);
void draw_distance_axis(SvgWriter& svg, const DistanceScale& scale, double y);

}  // namespace tracciato::plot
