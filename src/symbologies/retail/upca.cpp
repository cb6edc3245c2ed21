#include "symbologies/retail/upca.h"

#include "platform/blanks.h"

namespace retail {

namespace {

using enum UpcPrimitive;

// The pixel column a twip lands on (the nearest one).
constexpr int PixelOf(int twips) { return (2 * twips + kUpcModuleTwips) / (2 * kUpcModuleTwips); }
static_assert(PixelOf(kUpcPenStart) == PixelOf(kUpcPenStart + kUpcModuleTwips - 1),
              "a module's fifteen twips must share one pixel column");

// One element, all of one colour, from the bar top down through the bar
// height. A module's fifteen one-twip lines all fall on one pixel column, so
// one line per module draws exactly the same pixels.
void DrawPrimitive(platform::PictureBox& picture, int& penX, UpcPrimitive p) {
  const QRgb colour = IsBar(p) ? platform::kBlack : platform::kWhite;
  for (int i = 0; i < ModuleCount(p); ++i) {
    picture.Line(penX, kUpcBarTop, penX, kUpcBarTop + kUpcBarHeight, colour);
    penX += kUpcModuleTwips;
  }
}

void Append(std::vector<UpcPrimitive>& out, const UpcGlyph& glyph) {
  out.insert(out.end(), glyph.begin(), glyph.end());
}

}  // namespace

bool IsBar(UpcPrimitive p) { return p == Bar1 || p == Bar2 || p == Bar3 || p == Bar4; }

int ModuleCount(UpcPrimitive p) {
  switch (p) {
    case Bar1: case Space1: return 1;
    case Bar2: case Space2: return 2;
    case Bar3: case Space3: return 3;
    case Bar4: case Space4: return 4;
  }
  return 0;
}

const UpcGlyph& GuardGlyph() {
  static const UpcGlyph g{Bar1, Space1, Bar1, Space1};
  return g;
}

const UpcGlyph& EndGuardGlyph() {
  static const UpcGlyph g{Bar1, Space1, Bar1, Space1, Space1};
  return g;
}

const std::array<UpcGlyph, 10>& LeftDigit() {
  static const std::array<UpcGlyph, 10> t{{
      {Space2, Bar2, Space1, Bar1, Space1},  // 0011010
      {Space1, Bar2, Space2, Bar1, Space1},  // 0110010
      {Space1, Bar1, Space2, Bar2, Space1},  // 0100110
      {Bar4, Space1, Bar1, Space1},          // 1111010
      {Bar1, Space3, Bar2, Space1},          // 1000110
      {Bar2, Space3, Bar1, Space1},          // 1100010
      {Bar1, Space1, Bar4, Space1},          // 1011110
      {Bar3, Space1, Bar2, Space1},          // 1110110
      {Bar2, Space1, Bar3, Space1},          // 1101110
      {Space2, Bar1, Space1, Bar2, Space1},  // 0010110
  }};
  return t;
}

const std::array<UpcGlyph, 10>& RightDigit() {
  static const std::array<UpcGlyph, 10> t{{
      {Bar3, Space2, Bar1, Space1},          // 1110010
      {Bar2, Space2, Bar2, Space1},          // 1100110
      {Bar2, Space1, Bar2, Space1, Space1},  // 1101100
      {Bar1, Space4, Bar1, Space1},          // 1000010
      {Bar1, Space1, Bar3, Space1, Space1},  // 1011100
      {Bar1, Space2, Bar3, Space1},          // 1001110
      {Bar1, Space1, Bar1, Space3, Space1},  // 1010000
      {Bar1, Space3, Bar1, Space1, Space1},  // 1000100
      {Bar1, Space2, Bar1, Space2, Space1},  // 1001000
      {Bar3, Space1, Bar1, Space1, Space1},  // 1110100
  }};
  return t;
}

int UpcACheckDigit(const std::array<int, 11>& d) {
  const int t = 3 * (d[0] + d[2] + d[4] + d[6] + d[8] + d[10]) + (d[1] + d[3] + d[5] + d[7] + d[9]);
  const int check = (t / 10) * 10 + 10 - t;
  return check == 10 ? 0 : check;
}

std::vector<UpcPrimitive> UpcAPrimitives(const std::array<int, 11>& digits) {
  std::vector<UpcPrimitive> out;
  Append(out, GuardGlyph());
  for (int i = 0; i < 6; ++i) Append(out, LeftDigit().at(digits[i]));
  Append(out, GuardGlyph());
  for (int i = 6; i < 11; ++i) Append(out, RightDigit().at(digits[i]));
  Append(out, RightDigit().at(UpcACheckDigit(digits)));
  Append(out, EndGuardGlyph());
  return out;
}

symbologies::Outcome DrawUpcA(const QString& text, platform::PictureBox& Picture9, int check2Value) {
  const QString code = platform::TrimBlanks(text);
  Picture9.SetCurrentX(kUpcTextX);
  Picture9.SetCurrentY(kUpcTextY);

  // Bars for anything but exactly eleven digits would carry other data than
  // typed (padded, cut or zeroed digits): draw none and say why.
  if (code.size() != 11) {
    Picture9.Print(kUpcLengthText);
    Picture9.SetPicture(Picture9.Image());
    return symbologies::Outcome::Refused(
        QStringLiteral("UPC-A needs 11 digits (the check digit is added); got %1 characters.").arg(code.size()));
  }
  std::array<int, 11> digits{};
  for (qsizetype i = 0; i < 11; ++i) {
    const char16_t c = code.at(i).unicode();
    if (c < u'0' || c > u'9')
      return symbologies::Outcome::Refused(
          QStringLiteral("UPC-A takes digits only: \"%1\" (character %2) is not a digit.")
              .arg(code.mid(i, 1))
              .arg(i + 1));
    digits[static_cast<size_t>(i)] = c - u'0';
  }

  int penX = kUpcPenStart;
  for (const UpcPrimitive p : UpcAPrimitives(digits)) DrawPrimitive(Picture9, penX, p);

  if (check2Value == 1) {
    Picture9.SetCurrentX(kUpcTextX);
    Picture9.SetCurrentY(kUpcTextY);
    Picture9.Print(code + QString::number(UpcACheckDigit(digits)));
  }
  Picture9.SetPicture(Picture9.Image());
  return symbologies::Outcome::Drawn();
}

}  // namespace retail
