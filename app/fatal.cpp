#include "app/fatal.h"

#include <windows.h>

#include "app/dispatch.h"
#include "app/exit_routine.h"

namespace kalvoro::app {

namespace {

constexpr UINT kFatalExitStatus = static_cast<UINT>(-1);

}  // namespace

void fatal_failure(const wchar_t* message) noexcept {
  // A second failure while the box is up (it cannot come from a handler,
  // those are stopped) ends the process at once.
  static bool in_progress = false;
  if (in_progress) ExitProcess(kFatalExitStatus);
  in_progress = true;
  // Step 1: no handler runs from here on; the box's own message loop still
  // serves MainWindow, which stays on the screen.
  stop_handlers();
  // Step 2: tell the user; the box belongs to no window.
  MessageBoxW(nullptr, message, L"Kalvoro", MB_ICONERROR | MB_OK);
  // Step 3: the exit routine is forgotten; the system takes back the rest.
  forget_exit_routine();
  ExitProcess(kFatalExitStatus);
}

void out_of_memory() noexcept { fatal_failure(L"内存不足，Kalvoro 无法继续运行。"); }

}  // namespace kalvoro::app
