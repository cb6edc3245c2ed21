#include "symbologies/code128/pattern_barcode.h"

#include "platform/controls.h"

#include <algorithm>
#include <cmath>

namespace code128 {

namespace {

// The pattern the last encoder built; an unknown selector draws it again.
BarPattern barPattern;

std::vector<std::string_view> Split(std::string_view list, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = list.find(separator, start);
    parts.push_back(list.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

QString Interleaved2of5Problem(const QString& typed) {
  for (qsizetype i = 0; i < typed.size(); ++i) {
    if (typed.at(i) < u'0' || typed.at(i) > u'9')
      return QStringLiteral("Code 2/5 takes digits only: \"%1\" (character %2) is not a digit.")
          .arg(typed.mid(i, 1))
          .arg(i + 1);
  }
  if (typed.size() < 2)
    return QStringLiteral("Code 2/5 needs at least two digits (the text has %1).").arg(typed.size());
  if (typed.size() > 20) return QStringLiteral("Code 2/5 takes at most 20 digits (the text has %1).").arg(typed.size());
  return {};
}

QString Code128TooLong(qsizetype length, qsizetype position) {
  return QStringLiteral("The text is too long for a Code 128 barcode (%1 characters): a character's value times "
                        "its position may be at most 32767, and character %2 passes that.")
      .arg(length)
      .arg(position);
}

const std::vector<std::string_view>& Code128Patterns() {
  static const std::vector<std::string_view> patterns = Split(kCode128Widths, ',');
  return patterns;
}

std::optional<BarPattern> EncodeCode128B(const QString& text) {
  const auto& patterns = Code128Patterns();
  BarPattern pattern(patterns[kStartB]);
  std::int64_t sum = kStartB;
  std::int64_t position = 0;
  for (const QChar c : text) {
    if (c.unicode() < 32 || c.unicode() > 126) continue;  // no symbol character in code set B
    const int value = c.unicode() - 32;
    ++position;
    if (value * position > 32767) return std::nullopt;
    pattern += patterns[static_cast<std::size_t>(value)];
    sum += value * position;
  }
  pattern += patterns[static_cast<std::size_t>(sum % 103)];
  pattern += patterns[kStop];
  return pattern;
}

std::optional<BarPattern> EncodeInterleaved2of5(const QString& text) {
  // Element widths of the digits 0 to 9: 1 narrow, 3 wide.
  constexpr std::string_view kDigits[10] = {"11331", "31113", "13113", "33111", "11313",
                                                   "31311", "13311", "11133", "31131", "13131"};
  if (text.size() % 2 != 0 || text.size() > 20) return std::nullopt;
  BarPattern pattern = "1111";
  for (qsizetype i = 0; i < text.size(); i += 2) {
    const QChar bars = text.at(i);
    const QChar spaces = text.at(i + 1);
    if (bars < u'0' || bars > u'9' || spaces < u'0' || spaces > u'9') return std::nullopt;
    for (int k = 0; k < 5; ++k) {
      pattern += kDigits[bars.unicode() - u'0'][static_cast<std::size_t>(k)];
      pattern += kDigits[spaces.unicode() - u'0'][static_cast<std::size_t>(k)];
    }
  }
  return pattern + "311";
}

symbologies::Outcome DrawPatternBarcode(const QString& selector, QString& text, platform::PictureBox& target,
                                        std::int16_t moduleWidth, float barHeight, float left, float top,
                                        int check2Value) {
  using symbologies::Outcome;
  if (selector == QStringLiteral("128")) {
    // Code set B has no symbol for anything outside space to "~": skipping it
    // would give a barcode that says less than the text line under it.
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text.at(i).unicode() < 32 || text.at(i).unicode() > 126)
        return Outcome::Refused(
            QStringLiteral("Code 128-1 cannot encode \"%1\" (character %2). It takes the characters from space to ~.")
                .arg(text.mid(i, 1))
                .arg(i + 1));
    }
    const auto encoded = EncodeCode128B(text);
    barPattern = encoded.value_or(BarPattern());
    if (!encoded) {
      qsizetype at = 0;
      while (at < text.size() && (text.at(at).unicode() - 32) * (at + 1) <= 32767) ++at;
      return Outcome::Refused(Code128TooLong(text.size(), at + 1));
    }
  } else if (selector == QStringLiteral("25")) {
    const QString typed = text;
    if (text.size() % 2 != 0) text += QLatin1Char('0');
    const auto encoded = EncodeInterleaved2of5(text);
    barPattern = encoded.value_or(BarPattern());
    if (!encoded) {
      // A partial symbol would be printable but unreadable: draw nothing.
      return Outcome::Refused(Interleaved2of5Problem(typed), kSubscriptOutOfRange);
    }
  }
  if (barPattern.empty()) return Outcome::Refused({});

  // Make room for the whole drawing first, so nothing is cut off.
  const double onePixel = target.FromPixelsX(1) - target.FromPixelsX(0);
  double modules = 0;
  for (const char d : barPattern) modules += d - '0';
  double right = left + modules * moduleWidth;
  double bottom = top + barHeight;
  const float textTop = top * 1.2f + barHeight;
  if (check2Value == 1) {
    target.SetFontSize(16);
    right = std::max(right, left + target.TextWidth(text));
    bottom = std::max(bottom, textTop + target.TextHeight(text));
  }
  const double widthPx = std::ceil(target.ToPixelsX(right)) + 1;
  const double heightPx = std::ceil(target.ToPixelsY(bottom)) + 1;
  if (widthPx > platform::PictureBox::kMaxPixels || heightPx > platform::PictureBox::kMaxPixels)
    return Outcome::Refused(QStringLiteral("The text is too long for a %1 barcode (%2 characters).")
                                .arg(selector == QStringLiteral("25") ? QStringLiteral("Code 2/5")
                                                                      : QStringLiteral("Code 128"))
                                .arg(text.size()));
  if (widthPx > target.PixelWidth()) target.SetWidth(widthPx * platform::kTwipsPerPixel);
  if (heightPx > target.PixelHeight()) target.SetHeight(heightPx * platform::kTwipsPerPixel);

  // Every element covers exactly its width: a box includes both corners, so
  // a bar ends one pixel before the next element starts.
  float x = left;
  for (std::size_t i = 0; i < barPattern.size(); ++i) {
    const float w = static_cast<float>((barPattern[i] - '0') * moduleWidth);
    if (i % 2 == 0) target.FilledBox(x, top, std::max<double>(x, x + w - onePixel), top + barHeight, platform::kBlack);
    x = x + w;
  }

  if (check2Value == 1) {
    target.SetCurrentX(left);
    target.SetCurrentY(textTop);
    target.Print(text);
  }
  return Outcome::Drawn();
}

}  // namespace code128
