// Delivery of events to the handlers bound in the window definition: the
// created event of MainWindow, the clicked events of the buttons and the
// key-down event of 编辑框1. No other event has a handler.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kalvoro::app {

enum class Event { created, clicked, key_down };

// The source of an event: an index into ui::controls(), or the window.
inline constexpr int kMainWindowSource = -1;

struct DispatchResult {
  bool handled = false;                // a handler ran
  std::optional<std::int32_t> result;  // what it gave back, if anything
};

// Runs the handler bound to `event` of `source` with `arguments` in order,
// if there is one and handlers have not been stopped. A key-down event takes
// two arguments (key_code, modifier_state); the others none.
DispatchResult dispatch_event(int source, Event event, std::span<const std::int32_t> arguments);

// Whether a key-down event with this result keeps the key from the control:
// only a handler that ran and gave back 0 does.
constexpr bool withholds_key(const DispatchResult& dispatched) {
  return dispatched.handled && dispatched.result == 0;
}

// From the fatal failure path on, no handler runs.
void stop_handlers() noexcept;
bool handlers_stopped() noexcept;

// The handler of MainWindow's created event: switches the control skin on
// in its silver scheme before the window is first shown.
void window_created();

}  // namespace kalvoro::app
