// Failures that a test build of the program can be told to cause, so that
// the fatal failure path is exercised end to end. The shipped program links
// the version that causes none.
#pragma once

namespace kalvoro::app {

enum class InjectedFailure { none, window_creation, text_allocation };

// The failure asked for, decided once at start-up.
InjectedFailure injected_failure();

}  // namespace kalvoro::app
