// The waiting window's layout, the same on every window system: client area
// 280 x 179 pixels titled "Form1", and the label "Attendere" at (64, 64),
// 177 x 53 pixels, in a bold 24-point font.
#pragma once

namespace tracciato {

inline constexpr const char* kWaitingTitle = "Form1";
inline constexpr const char* kWaitingText = "Attendere";
inline constexpr int kClientWidth = 280;
inline constexpr int kClientHeight = 179;
inline constexpr int kLabelX = 64;
inline constexpr int kLabelY = 64;
inline constexpr int kLabelWidth = 177;
inline constexpr int kLabelHeight = 53;
inline constexpr int kLabelPoints = 24;

}  // namespace tracciato
