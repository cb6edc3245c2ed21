#pragma once
// The program's entry: picks the window or one of the command-line forms.
namespace app {

int Main(int argc, char** argv);

}  // namespace app
