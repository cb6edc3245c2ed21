#pragma once
// What an encoder reports to the generate command.
#include <QString>

namespace symbologies {

struct Outcome {
  bool drawn = false;  // a complete, scannable barcode was drawn
  QString problem;     // why not, in words for the user (may be empty)

  static Outcome Drawn() { return {true, {}}; }
  static Outcome Refused(const QString& why) { return {false, why}; }
};

}  // namespace symbologies
