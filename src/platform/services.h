#pragma once
// What the window and the commands reach the outside world through. The
// program builds one set at start; tests build their own with scripted parts.
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/printers.h"
#include "platform/settings_store.h"

namespace platform {

struct Services {
  Dialogs& dialogs;
  SettingsStore& settings;
  Printers& printers;  // the current printer of the process
  Clock& clock = DefaultClock();
  Clipboard& clipboard = DefaultClipboard();
};

}  // namespace platform
