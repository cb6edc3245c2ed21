#pragma once
#include <QString>

namespace platform {

// The text without leading and trailing blanks. Only the space character
// counts: a tab or another white space stays part of the text.
inline QString TrimBlanks(const QString& text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text.at(first) == QLatin1Char(' ')) ++first;
  while (last > first && text.at(last - 1) == QLatin1Char(' ')) --last;
  return text.mid(first, last - first);
}

}  // namespace platform
