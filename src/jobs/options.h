#pragma once
// The saved options: what the settings store holds under "Quillon"/"options",
// one key a control, read back as values. The window keeps them in its
// controls; one-off runs (the command line) read them and override some.
#include "barcode/symbology.h"
#include "layout/options.h"

#include <QString>

#include <optional>

namespace platform {
class SettingsStore;
}

namespace jobs {

inline const QString kApp = QStringLiteral("Quillon");
inline const QString kSection = QStringLiteral("options");

struct Options {
  // The symbology chosen; none chosen draws Code 39.
  std::optional<barcode::Symbology> symbology = barcode::Symbology::Code128B;
  bool settingsShown = true;         // "show"
  int columns = 0;                   // "Checkqq": three barcodes to a row
  QString linePattern;               // "line"
  QString filePath;                  // "file"
  QString barHeight = QStringLiteral("1.4");  // "text8"
  QString fontSize = QStringLiteral("8");     // "font"
  int includePattern = 0;            // "check1": the pattern stays part of the value
  int textLine = 0;                  // "check2": the text under the bars
  int printLine = 0;                 // "CheckPrintLine": saved, never restored
  QString leftOffset = QStringLiteral("1");   // "barcodeoffset14", centimetres
  QString topOffset = QStringLiteral("1");    // "barcodeoffset15"
  QString printer;                   // "c1opt"
  QString width = QStringLiteral("500");      // "text9": the stretch of Code 128-1 and Code 2/5

  barcode::Symbology Drawn() const { return symbology.value_or(barcode::Symbology::Code39); }
};

// The store's options. A value that cannot be converted (a symbology that is
// neither a boolean word nor a number, a check value that is not a whole
// number from 0 to 2) keeps its default; error describes the first such one
// ("" when every value was good).
struct StoredOptions {
  Options options;
  QString error;
};
StoredOptions ReadOptions(const platform::SettingsStore& store);

inline const QString kSettingsErrorText =
    QStringLiteral("Error in Settings, Default Settings will be restored and Quillon should be restarted");
// When the saved options cannot be deleted (%1: the settings file).
inline const QString kSettingsNotRestoredText = QStringLiteral(
    "Error in Settings. The Default Settings could not be restored: %1 cannot be changed. "
    "Correct or remove it, then restart Quillon");

// The settings error path's store side: deletes every saved option and
// gives the message that says so after the error's description (or that the
// store could not be changed).
QString ResetOptions(platform::SettingsStore& store, const QString& description);

// The symbology keys in the order they are read and written, "type1" first.
struct SymbologyKey {
  const char* key;
  barcode::Symbology symbology;
  const char* defaultValue;
};
inline constexpr SymbologyKey kSymbologyKeys[] = {
    {"type1", barcode::Symbology::Code128B, "1"},        {"type2", barcode::Symbology::Code39, "0"},
    {"type4", barcode::Symbology::Code128Pattern, "0"},  {"type5", barcode::Symbology::Interleaved2of5, "0"},
    {"type8", barcode::Symbology::UpcA, "0"},            {"type9", barcode::Symbology::Ean, "0"}};

// The ranges the size boxes are kept in, by the generator, the window's
// hints and the command line's flags alike.
struct SizeRange {
  double lowest, highest;
};
inline constexpr SizeRange kBarHeightRange{0.1, 25};
inline constexpr SizeRange kFontSizeRange{1, 144};

// The size boxes as numbers, with the fallbacks the generate command uses:
// a bar height that is no number is 1.4 and stays within kBarHeightRange; a
// font size is 8 and stays within kFontSizeRange; the Code 128 B caption's size is whole
// points, 8 for no number, at most 144, and 0 or below goes on to be refused.
double BarHeightOf(const QString& box);
double FontSizeOf(const QString& box);
int CaptionFontSizeOf(const QString& box);
// The width box: none when it is empty or holds no number.
std::optional<double> StretchWidthOf(const QString& box);

// What a picture is drawn with, from the options as saved.
layout::Options PictureOptions(const Options& options);

}  // namespace jobs
