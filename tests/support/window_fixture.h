#pragma once
// A main window started (start()) on an empty settings store, with scripted
// message boxes.
#include "window/main_window.h"
#include "support/scripted_dialogs.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

// Readable failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace test_support {

// A clock that moves on by the time a wait asks for instead of waiting; each
// time it lets the window events run, then runs onEvents (a user acting
// while a long command works).
class StepClock : public platform::Clock {
 public:
  double Now() override { return now; }
  void LetEventsRun(double wait = 0) override {
    QCoreApplication::processEvents();
    if (onEvents) onEvents(wait);
    if (wait > 0) now += wait;
  }
  double now = 0;
  std::function<void(double wait)> onEvents;
};

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() {
    settings.DeleteApplication(window::kApp);
    Restart();
  }
  ~WindowTest() override {
    window_.reset();
    settings.DeleteApplication(window::kApp);
  }
  // A fresh window started on the same store (the old one is destroyed first).
  window::MainWindow& Restart();
  window::MainWindow& window() { return *window_; }

  ScriptedDialogs dialogs;
  platform::SettingsStore settings;
  // "Save as PDF" writes into a private folder; the current printer starts
  // as the system's default, as in the program.
  QTemporaryDir pdfDir;
  platform::Printers printers{pdfDir.path()};
  StepClock runClock;
  platform::Services services{dialogs, settings, printers, runClock};

 private:
  std::unique_ptr<window::MainWindow> window_;
};

// Where the window's store lives, worked out here rather than asked of the store.
QString StoreFile();

// The run lengths of one pixel row (true = dark), starting with the first dark pixel.
std::vector<int> DarkLightRuns(const QImage& image, int row);

// What a person would see cut or covered: a caption wider than its control, a
// control reaching out of its container, two sibling controls on top of each
// other, or a word of a label under a sibling (labels such as "From:   To:"
// hold the captions of several boxes).
QStringList LayoutProblems(QWidget* root);

}  // namespace test_support
