#include "jobs/options.h"

#include "platform/numbers.h"
#include "platform/settings_store.h"

#include <algorithm>

namespace jobs {

namespace {

// A stored symbology value as a boolean: "True" or "False" in any case, or a
// number (anything but 0 is true). Empty when it is neither.
std::optional<bool> ToBoolean(const QString& stored) {
  const QString t = stored.trimmed();
  if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
  if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
  if (const auto n = platform::ParseNumber(t)) return *n != 0;
  return std::nullopt;
}

QString Describe(const QString& what, const QString& key, const QString& stored) {
  return QStringLiteral("%1: the option \"%2\" holds \"%3\"").arg(what, key, stored);
}

}  // namespace

StoredOptions ReadOptions(const platform::SettingsStore& store) {
  StoredOptions read;
  // A store that is not one (far too large) is not read at all.
  if (const QString problem = store.Problem(kApp); !problem.isEmpty()) return {{}, problem};
  Options& o = read.options;
  const auto get = [&store](const QString& key, const QString& defaultValue) {
    return store.GetSetting(kApp, kSection, key, defaultValue);
  };
  const auto note = [&read](const QString& description) {
    if (read.error.isEmpty()) read.error = description;
  };
  o.settingsShown = get(QStringLiteral("show"), {}) != QLatin1String("0");

  // The first symbology stored as true is the one chosen; every key is
  // checked, so a bad value further down the list is not hidden.
  o.symbology.reset();
  for (const SymbologyKey& k : kSymbologyKeys) {
    const QString key = QLatin1String(k.key);
    const QString stored = get(key, QLatin1String(k.defaultValue));
    const auto value = ToBoolean(stored);
    if (!value)
      note(Describe(QStringLiteral("Type mismatch"), key, stored));
    else if (*value && !o.symbology)
      o.symbology = k.symbology;
  }

  // A check value: a whole 16-bit number (fractions rounded half to even)
  // that a check box can hold, 0 to 2.
  const auto check = [&](const char* name, int defaultValue) {
    const QString key = QLatin1String(name);
    const QString stored = get(key, QString::number(defaultValue));
    const auto number = platform::ParseNumber(stored);
    if (!number) return note(Describe(QStringLiteral("Type mismatch"), key, stored)), defaultValue;
    const auto whole = platform::ToInt16(*number);
    if (!whole) return note(Describe(QStringLiteral("Overflow"), key, stored)), defaultValue;
    if (*whole < 0 || *whole > 2) return note(Describe(QStringLiteral("Invalid property value"), key, stored)), defaultValue;
    return static_cast<int>(*whole);
  };
  o.columns = check("Checkqq", o.columns);
  o.linePattern = get(QStringLiteral("line"), {});
  o.filePath = get(QStringLiteral("file"), {});
  o.barHeight = get(QStringLiteral("text8"), o.barHeight);
  o.fontSize = get(QStringLiteral("font"), o.fontSize);
  o.includePattern = check("check1", 0);
  o.textLine = check("check2", 0);
  o.leftOffset = get(QStringLiteral("barcodeoffset14"), o.leftOffset);
  o.topOffset = get(QStringLiteral("barcodeoffset15"), o.topOffset);
  o.printer = get(QStringLiteral("c1opt"), {});
  o.width = get(QStringLiteral("text9"), o.width);
  return read;
}

QString ResetOptions(platform::SettingsStore& store, const QString& description) {
  // Deleted first, so that the message can say whether it worked: a store
  // that cannot be changed would give the same error at the next start.
  const QString restored =
      store.DeleteApplication(kApp) ? kSettingsErrorText : kSettingsNotRestoredText.arg(store.FilePath(kApp));
  return description + QStringLiteral("\r\n\r\n") + restored;
}

double BarHeightOf(const QString& box) {
  return std::clamp(platform::ParseNumber(box).value_or(1.4), kBarHeightRange.lowest, kBarHeightRange.highest);
}

double FontSizeOf(const QString& box) {
  return std::clamp(platform::ParseNumber(box).value_or(8.0), kFontSizeRange.lowest, kFontSizeRange.highest);
}

int CaptionFontSizeOf(const QString& box) {
  const auto value = platform::ParseNumber(box);
  if (!value) return 8;
  return static_cast<int>(platform::RoundHalfEven(std::clamp(*value, -1.0, kFontSizeRange.highest)));
}

std::optional<double> StretchWidthOf(const QString& box) { return platform::ParseNumber(box); }

layout::Options PictureOptions(const Options& options) {
  layout::Options o;
  o.barHeight = BarHeightOf(options.barHeight);
  o.fontSize = FontSizeOf(options.fontSize);
  o.captionFontSize = CaptionFontSizeOf(options.fontSize);
  o.textLine = options.textLine == 1;
  o.stretchWidth = StretchWidthOf(options.width);
  return o;
}

}  // namespace jobs
