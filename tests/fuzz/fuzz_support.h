#pragma once
// Shared by the libFuzzer targets: a headless application, a reader of the
// fuzz bytes, and the bar widths measured in a drawn image.
#include "support/published_tables.h"

#include <QApplication>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzz {

// A fuzz target's verdict: prints what failed and aborts, which libFuzzer
// reports as a crash with the input that caused it.
#define FUZZ_CHECK(cond, ...)                                         \
  do {                                                                \
    if (!(cond)) {                                                    \
      std::fprintf(stderr, "check failed: %s\n  ", #cond);            \
      std::fprintf(stderr, __VA_ARGS__);                              \
      std::fprintf(stderr, "\n");                                     \
      std::abort();                                                   \
    }                                                                 \
  } while (0)

// The widgets need an application; one for the whole run, offscreen.
inline void StartApplication() {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
}
#define FUZZ_STARTS_APPLICATION() \
  extern "C" int LLVMFuzzerInitialize(int*, char***) { return fuzz::StartApplication(), 0; }

// Takes small numbers off the front of the fuzz bytes; the rest is the text.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  // A number from lo to hi (lo when the bytes are used up).
  int Range(int lo, int hi) {
    if (pos_ >= size_) return lo;
    return lo + data_[pos_++] % (hi - lo + 1);
  }
  std::string Rest() {
    std::string s(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
    pos_ = size_;
    return s;
  }
  QString RestUtf8() { return QString::fromUtf8(Rest()); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// The runs of one image row from its first to its last pixel of barColour,
// alternating bar and space; a space is anything but barColour.
inline std::vector<int> RowRuns(const QImage& image, int y, QRgb barColour) {
  std::vector<int> runs;
  if (y < 0 || y >= image.height()) return runs;
  const QImage row = image.copy(0, y, image.width(), 1).convertToFormat(QImage::Format_ARGB32);
  const auto* px = reinterpret_cast<const QRgb*>(row.constScanLine(0));
  int first = -1, last = -1;
  for (int x = 0; x < row.width(); ++x)
    if (px[x] == barColour) {
      if (first < 0) first = x;
      last = x;
    }
  if (first < 0) return runs;
  bool bar = true;
  int run = 0;
  for (int x = first; x <= last; ++x) {
    if ((px[x] == barColour) == bar) {
      ++run;
    } else {
      runs.push_back(run);
      bar = !bar;
      run = 1;
    }
  }
  runs.push_back(run);
  return runs;
}

// The runs as widths in modules of unit pixels, one digit each ("" when a run
// is not a whole number of modules from 1 to 9).
inline std::string ModuleWidths(const std::vector<int>& runs, int unit) {
  std::string widths;
  for (const int r : runs) {
    if (unit <= 0 || r % unit != 0 || r / unit < 1 || r / unit > 9) return {};
    widths += static_cast<char>('0' + r / unit);
  }
  return widths;
}

// EAN-13 (95 modules) or EAN-8 (67) read from one module per pixel with the
// published number sets; the digits with the check digit, or "?" and why.
inline std::string DecodeEan(const std::vector<int>& runs) {
  std::string m;
  for (std::size_t i = 0; i < runs.size(); ++i) m.append(static_cast<std::size_t>(runs[i]), i % 2 == 0 ? '1' : '0');
  const bool ean13 = m.size() == 95;
  if (!ean13 && m.size() != 67) return "?(" + std::to_string(m.size()) + " modules)";
  const std::size_t half = ean13 ? 6 : 4, centre = 3 + 7 * half;
  if (m.compare(0, 3, "101") || m.compare(centre, 5, "01010") || m.compare(m.size() - 3, 3, "101")) return "?(guards)";
  auto digit = [&](std::size_t at, char set) -> int {
    for (int d = 0; d < 10; ++d)
      if (m.compare(at, 7, published::EanDigit(d, set)) == 0) return d;
    return -1;
  };
  std::string digits, parity;
  for (std::size_t k = 0; k < 2 * half; ++k) {
    const std::size_t at = k < half ? 3 + 7 * k : centre + 5 + 7 * (k - half);
    int d = k < half ? digit(at, 'A') : digit(at, 'C');
    char set = 'A';
    if (d < 0 && k < half && ean13) d = digit(at, 'B'), set = 'B';
    if (d < 0) return digits + "?(digit)";
    if (k < half) parity += set;
    digits += static_cast<char>('0' + d);
  }
  if (!ean13) return parity == "AAAA" ? digits : "?(parity)";
  for (int first = 0; first < 10; ++first)
    if (parity == published::kEanParity[first]) return static_cast<char>('0' + first) + digits;
  return "?(parity " + parity + ")";
}

inline bool AllDigits(const QString& s) {
  return std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The published Code 128 widths, one entry per value 0-106.
inline const std::vector<std::string>& Code128Table() {
  static const std::vector<std::string> table = [] {
    std::vector<std::string> t;
    for (const char* modules : published::kCode128) t.push_back(published::Runs(modules));
    return t;
  }();
  return table;
}

}  // namespace fuzz
