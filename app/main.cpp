// Entry point of kalvoro.exe: the main sequence, then the exit sequence.
#include <windows.h>

#include "app/exit_routine.h"
#include "app/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const int status = kalvoro::app::program_main();
  // The exit sequence: the registered exit routine runs once; the window
  // and everything else the shell held are already given back.
  kalvoro::app::run_exit_routine();
  return status;
}
