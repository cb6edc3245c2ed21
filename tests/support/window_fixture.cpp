#include "support/window_fixture.h"

#include <QDir>

namespace test_support {

WindowTest::WindowTest() {
  settings.DeleteApplication(window::kApp);
  window_ = std::make_unique<window::MainWindow>(services);
  window_->start();
}

WindowTest::~WindowTest() {
  window_.reset();
  settings.DeleteApplication(window::kApp);
}

window::MainWindow& WindowTest::Restart() {
  window_.reset();
  window_ = std::make_unique<window::MainWindow>(services);
  window_->start();
  return *window_;
}

QString StoreFile() {
  return QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("Quillon/Quillon.conf"));
}

std::vector<int> DarkLightRuns(const QImage& image, int row) {
  std::vector<int> runs;
  bool started = false;
  bool dark = true;
  for (int x = 0; x < image.width(); ++x) {
    const bool d = qGray(image.pixel(x, row)) < 128;
    if (!started) {
      if (!d) continue;
      started = true;
      runs.push_back(0);
      dark = true;
    }
    if (d != dark) {
      runs.push_back(0);
      dark = d;
    }
    ++runs.back();
  }
  if (!runs.empty() && !dark) runs.pop_back();  // the light run after the last bar
  return runs;
}

}  // namespace test_support
