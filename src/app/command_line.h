#pragma once
// The program's entry: the window, or one of the command-line forms, which
// run the jobs without a window.
namespace app {

int Main(int argc, char** argv);

}  // namespace app
