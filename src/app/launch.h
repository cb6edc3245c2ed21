#pragma once
// What every form of the program does first, the window's and the command
// line's alike.
namespace app {

// Without HOME the settings and documents folders would be at the root: HOME
// is taken from the password database where it is unset.
void FindHome();

// Qt's runtime folder made where it is missing, and Qt's own warnings kept
// off stderr unless QUILLON_DEBUG is set (they would bury the one line that
// says what happened).
void PrepareProcess();

// Under QUILLON_DEBUG, a moment of a launch on stderr (wall clock,
// nanoseconds), for bench/launch_time.sh.
void SayWhen(const char* what);

}  // namespace app
