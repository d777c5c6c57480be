// A generated scenario on the longest line the compiler accepts, 1,000,000 m,
// dense with everything a line and a train can carry: curves, gradients,
// mountain spans, speed indicator groups, indication signs, stations, speed
// and adhesion profiles, signals, slowdowns and abbattimento marks.
//
// The features are laid out so that none takes another's cell: the compile
// records no problem and every pass does its whole work.
#pragma once

#include <string>
#include <string_view>

namespace tracciato::bench {

inline constexpr std::string_view kLongLineName = "Lunga";
inline constexpr std::string_view kLongTrainNumber = "1";
inline constexpr int kLongLineLength = 1000000;

struct GeneratedScenario {
  std::string line_description;
  std::string train_description;
};

// The scenario on a line of `length` metres (the features end with it), by
// default the longest.
GeneratedScenario generate_long_line(int length = kLongLineLength);

}  // namespace tracciato::bench
