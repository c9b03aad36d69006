#include "app/exit_routine.h"

#include <utility>

namespace kalvoro::app {

namespace {
ExitRoutine g_routine = nullptr;
}  // namespace

void register_exit_routine(ExitRoutine routine) noexcept { g_routine = routine; }

void run_exit_routine() {
  // Forgotten before it runs, so that nothing it triggers can run it again.
  if (const ExitRoutine routine = std::exchange(g_routine, nullptr)) routine();
}

void forget_exit_routine() noexcept { g_routine = nullptr; }

}  // namespace kalvoro::app
