// The fatal failure path: the main window cannot be created, or memory for a
// Text cannot be obtained.
#pragma once

namespace kalvoro::app {

// Stops every handler, tells the user in an ownerless message box with the
// error icon and waits until it is closed, then ends the process with exit
// status -1 without running the exit routine.
[[noreturn]] void fatal_failure(const wchar_t* message) noexcept;

// calc's out-of-memory handler.
[[noreturn]] void out_of_memory() noexcept;

}  // namespace kalvoro::app
