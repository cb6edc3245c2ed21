#pragma once
// What an encoder reports to the generate command.
#include <QString>

namespace symbologies {

// The least bar height drawn where the bar height box sets it: a quarter
// inch at 96 pixels per inch, the least the Code 39, Code 128 and
// Interleaved 2 of 5 standards allow for any symbol.
inline constexpr int kMinBarPixels = 24;

struct Outcome {
  bool drawn = false;  // a complete, scannable barcode was drawn
  QString problem;     // why not, in words for the user (may be empty)
  // The message box text that an explicit command ("Bar Code", the command
  // line) shows for this refusal; typing only shows the problem.
  QString boxText;

  static Outcome Drawn() { return {true, {}, {}}; }
  static Outcome Refused(const QString& why, const QString& box = {}) { return {false, why, box}; }
};

}  // namespace symbologies
