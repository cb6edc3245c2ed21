#pragma once
// The program's entry: picks the window or one of the command-line forms.
#include <QString>

namespace window {
class MainWindow;
}

namespace app {

int Main(int argc, char** argv);

// Prints the file named by a command line as "Print File" would, on a
// window that has gone through start-up, with progress on stderr and Ctrl+C
// stopping the run. The exit status: 0 when the job was sent (or there was
// nothing to print), 1 with the reason on stderr otherwise.
int PrintFileCommand(window::MainWindow& window, const QString& commandLine);

}  // namespace app
