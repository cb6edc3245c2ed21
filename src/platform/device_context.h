#pragma once
// A GDI-style device context over a picture area's image: the Windows drawing
// calls that the Code 128 renderer and the width stretch are written in, done
// with direct pixel fills and QPainter. Coordinates are pixels with the origin
// at the top-left; the context reports 96 dots per inch.
//
// Fonts, brushes and pens belong to the context that created them (there is
// no process-wide object table); DeleteObject frees them, and the context
// frees whatever is left when it goes. Text goes in and out in the ANSI code
// page (Windows-1252), as with the "A" forms of the calls.
#include <QFont>
#include <QImage>
#include <QString>

#include <cstdint>
#include <map>

namespace platform::gdi {

using COLORREF = std::uint32_t;  // 0x00BBGGRR
constexpr COLORREF RGB(int r, int g, int b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
// The opaque Qt colour of a COLORREF.
constexpr QRgb ToQRgb(COLORREF c) {
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

using HGDIOBJ = std::uint32_t;  // 0: no object
using HFONT = HGDIOBJ;
using HBRUSH = HGDIOBJ;
using HPEN = HGDIOBJ;

struct RECT {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const RECT&, const RECT&) = default;
};

struct SIZE {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
};

struct LOGFONTA {
  std::int32_t lfHeight = 0;  // < 0: character height; > 0: cell height; 0: default
  std::int32_t lfWidth = 0;
  std::int32_t lfEscapement = 0;  // tenths of a degree, counter-clockwise
  std::int32_t lfOrientation = 0;
  std::int32_t lfWeight = 0;  // 0 default, 400 normal, 700 bold
  std::uint8_t lfItalic = 0;
  std::uint8_t lfUnderline = 0;
  std::uint8_t lfStrikeOut = 0;
  std::uint8_t lfCharSet = 0;
  std::uint8_t lfOutPrecision = 0;
  std::uint8_t lfClipPrecision = 0;
  std::uint8_t lfQuality = 0;
  std::uint8_t lfPitchAndFamily = 0;
  char lfFaceName[32] = {};  // ANSI, zero-terminated
};

struct TEXTMETRICA {
  std::int32_t tmHeight = 0;
  std::int32_t tmAscent = 0;
  std::int32_t tmDescent = 0;
  std::int32_t tmInternalLeading = 0;
  std::int32_t tmExternalLeading = 0;
  std::int32_t tmAveCharWidth = 0;
  std::int32_t tmMaxCharWidth = 0;
  std::int32_t tmWeight = 0;
  std::uint8_t tmItalic = 0;
  std::uint8_t tmUnderlined = 0;
  std::uint8_t tmStruckOut = 0;
};

// GetDeviceCaps indexes.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// DrawTextA format flags.
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;

// Stretch modes and the one raster operation supported.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
constexpr std::uint32_t SRCCOPY = 0x00CC0020;

// number * numerator / denominator with a 64-bit product, rounded to the
// nearest (halves away from zero); -1 when the denominator is 0 or the result
// does not fit 32 bits.
std::int32_t MulDiv(std::int32_t number, std::int32_t numerator, std::int32_t denominator);

bool SetRect(RECT* rect, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);

class DeviceContext {
 public:
  // Draws on image, which must outlive the context and keep its size while
  // the context is used. initialFont is the font selected at first (a picture
  // area's own font).
  explicit DeviceContext(QImage& image, const QFont& initialFont = QFont());
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  int GetDeviceCaps(int index) const;

  HFONT CreateFontIndirectA(const LOGFONTA& font);
  HBRUSH CreateSolidBrush(COLORREF colour);
  HPEN CreatePen(int style, int width, COLORREF colour);
  HGDIOBJ GetStockObject(int which) const;
  // Selects a font, brush or pen and returns the one of that kind that was
  // selected before (0 for an unknown handle).
  HGDIOBJ SelectObject(HGDIOBJ object);
  // Frees a created object. Stock objects and objects still selected are
  // not freed (false).
  bool DeleteObject(HGDIOBJ object);

  bool GetTextMetricsA(TEXTMETRICA* metrics) const;
  bool GetTextExtentPoint32A(const char* text, int count, SIZE* size) const;
  COLORREF SetTextColor(COLORREF colour);
  int SetBkMode(int mode);
  int SetTextCharacterExtra(int extra);
  // Draws text in rect: lines end at CR, LF or CR LF (unless DT_SINGLELINE);
  // DT_CENTER (which wins over DT_RIGHT) or DT_RIGHT place each line; text is
  // clipped to rect unless DT_NOCLIP. Unless DT_NOPREFIX an ampersand is not
  // drawn and underlines the next character, and "&&" draws one. With
  // DT_CALCRECT nothing is drawn and rect's right and bottom are set to
  // bound the text. count -1: the text ends at its zero byte. Returns the
  // height of the text.
  int DrawTextA(const char* text, int count, RECT* rect, unsigned format);

  // Fills with the selected brush and outlines with the selected pen the
  // pixels from (left, top) up to, not including, (right, bottom). With the
  // null pen the fill stops one pixel earlier on the right and at the bottom.
  bool Rectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);

  // 0 and unknown modes are rejected (result 0) and the mode stays.
  int SetStretchBltMode(int mode);
  int GetStretchBltMode() const { return stretchMode_; }
  // Copies a source rectangle into a destination rectangle, scaling each
  // axis. When the copy shrinks, the pixels that fall together are combined
  // by the mode: BLACKONWHITE keeps the darkest (black wins), WHITEONBLACK the
  // lightest, the others the first. Source pixels outside the source image
  // count as white. Only SRCCOPY and positive sizes are supported.
  bool StretchBlt(int xDest, int yDest, int wDest, int hDest, const DeviceContext& source, int xSrc,
                  int ySrc, int wSrc, int hSrc, std::uint32_t rop);

  const QImage& Image() const { return image_; }

 private:
  enum class Kind { Font, Brush, Pen };
  struct Object {
    Kind kind = Kind::Brush;
    bool stock = false;
    bool null = false;  // the null brush or pen
    COLORREF colour = 0;
    QFont font;
    int escapement = 0;
  };
  struct Glyph {
    QChar c;
    bool underlined = false;
  };

  const Object* Find(HGDIOBJ handle) const;
  const Object& Selected(HGDIOBJ handle) const { return objects_.at(handle); }
  int Advance(QChar c) const;
  void FillPixels(int left, int top, int right, int bottom, COLORREF colour);

  QImage& image_;
  std::map<HGDIOBJ, Object> objects_;
  HGDIOBJ next_ = 1;
  HGDIOBJ font_ = 0;
  HGDIOBJ brush_ = 0;
  HGDIOBJ pen_ = 0;
  COLORREF textColour_ = 0;
  COLORREF backColour_ = RGB(255, 255, 255);
  int bkMode_ = OPAQUE;
  int charExtra_ = 0;
  int stretchMode_ = BLACKONWHITE;
};

}  // namespace platform::gdi
