#include "support/form_fixture.h"

#include <QDir>

namespace test_support {

FormTest::FormTest() {
  settings.DeleteApplication(main_window::kApp);
  form_ = std::make_unique<main_window::Form1>(services);
  form_->Form_Load();
}

FormTest::~FormTest() {
  form_.reset();
  settings.DeleteApplication(main_window::kApp);
}

main_window::Form1& FormTest::Restart() {
  form_.reset();
  form_ = std::make_unique<main_window::Form1>(services);
  form_->Form_Load();
  return *form_;
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
