#include "symbologies/retail/ean.h"

#include "platform/controls.h"

#include <QFontMetrics>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace retail {

namespace {

bool AllDigits(const QString& code) {
  for (const QChar c : code)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

int DigitAt(const QString& code, qsizetype i) { return code.at(i).unicode() - u'0'; }

const std::string& LeftPattern(const EanTables& t, int digit, bool even) {
  return even ? t.setB.at(static_cast<size_t>(digit)) : t.setA.at(static_cast<size_t>(digit));
}

const std::string& RightPattern(const EanTables& t, int digit) { return t.setC.at(static_cast<size_t>(digit)); }

// The digits under the bars, one under each seven-module digit as on retail
// labels, in a font small enough that every digit's ink leaves a white
// column on both sides of its cell: no digit touches a guard bar.
constexpr int kDigitModules = 7;

// The ink box of each digit 0-9 in a font. Measuring ink shapes the text,
// which costs more than drawing the symbol: each font is measured once.
std::array<QRect, 10> DigitInk(const QFont& font) {
  thread_local std::map<QString, std::array<QRect, 10>> measured;
  const QString key = font.key();
  auto found = measured.find(key);
  if (found == measured.end()) {
    if (measured.size() >= 64) measured.clear();  // a few fonts in use at a time
    const QFontMetrics fm(font);
    std::array<QRect, 10> ink;
    for (int d = 0; d < 10; ++d) ink[static_cast<size_t>(d)] = fm.tightBoundingRect(QString(QLatin1Char('0' + d)));
    found = measured.emplace(key, ink).first;
  }
  return found->second;
}

// The largest font (from 8 points down) whose digits are at most
// five pixels wide.
void ChooseDigitFont(platform::PictureBox& target) {
  for (double points = 8; points > 3; points -= 0.75) {
    target.SetFontSize(points);
    int widest = 0;
    for (const QRect& ink : DigitInk(target.Font())) widest = std::max(widest, ink.width());
    if (widest <= kDigitModules - 2) return;
  }
}

// Prints digits in consecutive cells from module firstModule (module 0 is the
// first of the start guard), their ink one white row below the data bars.
void PrintDigits(EanPen& pen, const QString& digits, int firstModule) {
  const QFontMetrics fm(pen.target.Font());
  const std::array<QRect, 10> inks = DigitInk(pen.target.Font());
  for (qsizetype i = 0; i < digits.size(); ++i) {
    const int digit = DigitAt(digits, i);
    const QRect ink = digit >= 0 && digit <= 9 ? inks[static_cast<size_t>(digit)] : fm.tightBoundingRect(digits.mid(i, 1));
    const double cellLeft = kEanFirstModuleX + firstModule + kDigitModules * static_cast<double>(i);
    pen.target.SetCurrentX(std::round(cellLeft + (kDigitModules - ink.width()) / 2.0) - ink.left());
    pen.target.SetCurrentY(pen.barTop + pen.h + 1 - fm.ascent() - ink.top());
    pen.target.Print(digits.mid(i, 1));
  }
}

// Everything but the drawing itself is shared by both lengths.
symbologies::Outcome DrawEanSymbol(platform::PictureBox& target, int height, const QString& code, bool showText,
                                   bool ean13) {
  const EanTables tables = InitEanTables();
  target.SetPicture(QImage());
  if (!(ean13 ? IsValidEan13Code(code) : IsValidEan8Code(code))) {
    const qsizetype wanted = ean13 ? 12 : 7;
    for (qsizetype i = 0; i < code.size(); ++i)
      if (code.at(i) < QLatin1Char('0') || code.at(i) > QLatin1Char('9'))
        return symbologies::Outcome::Refused(
            QStringLiteral("EAN takes digits only: \"%1\" (character %2) is not a digit.")
                .arg(code.mid(i, 1))
                .arg(i + 1));
    return symbologies::Outcome::Refused(
        QStringLiteral("EAN-%1 needs %2 digits; got %3 characters.").arg(ean13 ? 13 : 8).arg(wanted).arg(code.size()));
  }

  EanPen pen{target, 10, height * 4, 5};
  target.SetBackColor(platform::kWhite);
  target.SetScaleMode(platform::ScaleMode::Pixels);
  if (showText) ChooseDigitFont(target);
  // Tall enough for the guard bars (h + 15) and the digits below them
  // (h + 10 plus one text line).
  const double twipsPerPixel = platform::kTwipsPerPixel;
  if (showText)
    target.SetHeight((target.TextHeight(code) + pen.h + 25) * twipsPerPixel - 200);
  else
    target.SetHeight(twipsPerPixel * (pen.h + 20));
  target.SetWidth(ean13 ? code.size() * 160 + 4500 : (code.size() * 8 + 20) * 20 + 4500);

  if (ean13)
    EncodeEan13(pen, code, tables, showText);
  else
    EncodeEan8(pen, code, tables, showText);
  target.SetPicture(target.Image());
  return symbologies::Outcome::Drawn();
}

}  // namespace

EanTables InitEanTables() {
  EanTables t;
  t.setA = {"0001101", "0011001", "0010011", "0111101", "0100011",
            "0110001", "0101111", "0111011", "0110111", "0001011"};
  t.setB = {"0100111", "0110011", "0011011", "0100001", "0011101",
            "0111001", "0000101", "0010001", "0001001", "0010111"};
  t.setC = {"1110010", "1100110", "1101100", "1000010", "1011100",
            "1001110", "1010000", "1000100", "1001000", "1110100"};
  t.parity = {"OOOOOO", "OOEOEE", "OOEEOE", "OOEEEO", "OEOOEE",
              "OEEOOE", "OEEEOO", "OEOEOE", "OEOEEO", "OEEOEO"};
  return t;
}

bool IsValidEan13Code(const QString& code) { return code.size() == 12 && AllDigits(code); }

bool IsValidEan8Code(const QString& code) { return code.size() == 7 && AllDigits(code); }

int EanCheckDigit(const QString& digits) {
  const qsizetype n = digits.size();
  int sum = 0;
  for (qsizetype i = 1; i <= n; ++i) sum += DigitAt(digits, i - 1) * ((n + 1 - i) % 2 == 0 ? 1 : 3);
  const int remainder = sum % 10;
  return remainder == 0 ? 0 : 10 - remainder;
}

std::vector<EanSegment> Ean13Segments(const QString& code, const EanTables& tables) {
  std::vector<EanSegment> out{{"101", true}};
  const std::string& parity = tables.parity.at(static_cast<size_t>(DigitAt(code, 0)));
  // The first digit is carried by the parity of the next six.
  for (qsizetype i = 2; i <= 12; ++i) {
    if (i == 8) out.push_back({"01010", true});
    const int d = DigitAt(code, i - 1);
    if (i <= 7)
      out.push_back({LeftPattern(tables, d, parity.at(static_cast<size_t>(i - 2)) == 'E'), false});
    else
      out.push_back({RightPattern(tables, d), false});
  }
  out.push_back({RightPattern(tables, EanCheckDigit(code)), false});
  out.push_back({"101", true});
  return out;
}

std::vector<EanSegment> Ean8Segments(const QString& code, const EanTables& tables) {
  std::vector<EanSegment> out{{"101", true}};
  for (qsizetype i = 1; i <= 7; ++i) {
    if (i == 5) out.push_back({"01010", true});
    const int d = DigitAt(code, i - 1);
    out.push_back({i <= 4 ? LeftPattern(tables, d, false) : RightPattern(tables, d), false});
  }
  out.push_back({RightPattern(tables, EanCheckDigit(code)), false});
  out.push_back({"101", true});
  return out;
}

void DrawModules(EanPen& pen, std::string_view pattern, bool isGuard) {
  const int bottom = pen.barTop + pen.h + (isGuard ? 5 : 0);
  for (const char m : pattern) {
    ++pen.penX;
    pen.target.Line(pen.penX + 10, pen.barTop, pen.penX + 10, bottom, m == '1' ? platform::kBlack : platform::kWhite);
  }
}

void EncodeEan13(EanPen& pen, const QString& code, const EanTables& tables, bool showText) {
  pen.penX = 5;
  for (const EanSegment& s : Ean13Segments(code, tables)) DrawModules(pen, s.pattern, s.isGuard);
  if (showText) {
    // The leading digit stands left of the start guard, in the quiet zone.
    PrintDigits(pen, code.left(1), -kDigitModules - 1);
    PrintDigits(pen, code.mid(1, 6), 3);
    PrintDigits(pen, code.mid(7, 5) + QString::number(EanCheckDigit(code)), 50);
  }
}

void EncodeEan8(EanPen& pen, const QString& code, const EanTables& tables, bool showText) {
  pen.penX = 5;
  for (const EanSegment& s : Ean8Segments(code, tables)) DrawModules(pen, s.pattern, s.isGuard);
  if (showText) {
    PrintDigits(pen, code.left(4), 3);
    PrintDigits(pen, code.mid(4, 3) + QString::number(EanCheckDigit(code)), 36);
  }
}

symbologies::Outcome DrawEan13(platform::PictureBox& target, int height, const QString& code, bool showText) {
  return DrawEanSymbol(target, height, code, showText, true);
}

symbologies::Outcome DrawEan8(platform::PictureBox& target, int height, const QString& code, bool showText) {
  return DrawEanSymbol(target, height, code, showText, false);
}

symbologies::Outcome DrawEan(const QString& text, platform::PictureBox& Picture22) {
  if (text.size() == 7) return DrawEan8(Picture22, 12, text, true);
  if (text.size() == 12) return DrawEan13(Picture22, 12, text, true);
  return symbologies::Outcome::Refused(
      QStringLiteral("EAN needs 7 digits (EAN-8) or 12 digits (EAN-13) without the check digit; got %1 characters.")
          .arg(text.size()));
}

}  // namespace retail
