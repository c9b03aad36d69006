// The program's registered exit routine: run once by the normal exit
// sequence, forgotten without running by the fatal failure path.
#pragma once

namespace kalvoro::app {

using ExitRoutine = void (*)();

// Registers `routine` as the one exit routine (replacing any earlier one).
void register_exit_routine(ExitRoutine routine) noexcept;

// Runs the registered routine, if any, and forgets it: a second call runs
// nothing.
void run_exit_routine();

// Forgets the registered routine without running it.
void forget_exit_routine() noexcept;

}  // namespace kalvoro::app
