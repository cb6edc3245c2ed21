// quillon-window: the main window, which `quillon` starts when it is given
// no arguments.
#include "app/launch.h"
#include "platform/printers.h"
#include "platform/settings_store.h"
#include "window/main_window.h"
#include "window/message_boxes.h"

#include <QApplication>
#include <QTimer>

namespace {

// Says when the window has been drawn for the first time.
class FirstPaint : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // After the event loop's turn: the whole window is painted and flushed.
      QTimer::singleShot(0, [] { app::SayWhen("window drawn"); });
    }
    return false;
  }
};

}  // namespace

int main(int, char** argv) {
  app::FindHome();
  app::PrepareProcess();
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  app::SayWhen("application started");
  QApplication::setApplicationName(QStringLiteral("Quillon"));
  QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
  window::MessageBoxes dialogs;
  platform::SettingsStore settings;
  platform::Printers printers;
  platform::Services services{dialogs, settings, printers};
  window::MainWindow window(services);
  if (!window.start()) return 1;
  FirstPaint firstPaint;
  if (!qEnvironmentVariableIsEmpty("QUILLON_DEBUG")) window.installEventFilter(&firstPaint);
  window.show();
  return QApplication::exec();
}
