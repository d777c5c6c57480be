#include "authoring/description_scan.h"

namespace tracciato {

std::string_view record_name(RecordKind kind) {
  switch (kind) {
    case RecordKind::kLineLength:
      return "line length";
    case RecordKind::kProgressive:
      return "kilometric progressive";
    case RecordKind::kBackground:
      return "background";
    case RecordKind::kSignalRepetition:
      return "signal repetition";
    case RecordKind::kGradient:
      return "gradient";
    case RecordKind::kCurve:
      return "curve";
    case RecordKind::kMountainSpan:
      return "mountain span";
    case RecordKind::kSpeedIndicators:
      return "speed indicator group";
    case RecordKind::kIndicationSign:
      return "indication sign";
    case RecordKind::kBrakedMass:
      return "braked mass";
    case RecordKind::kCoaches:
      return "coaches";
    case RecordKind::kSpeedLimit:
      return "speed limit";
    case RecordKind::kAdhesion:
      return "adhesion";
    case RecordKind::kClock:
      return "clock";
    case RecordKind::kSand:
      return "sand";
    case RecordKind::kSignal:
      return "signal";
    case RecordKind::kSlowdown:
      return "slowdown";
    case RecordKind::kAbbattimento:
      return "abbattimento";
    case RecordKind::kStation:
      return "station";
  }
  return "record";
}

}  // namespace tracciato
