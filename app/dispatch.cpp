#include "app/dispatch.h"

#include "skin/skin.h"
#include "ui/window_definition.h"

namespace kalvoro::app {

namespace {

bool g_stopped = false;

// The silver scheme of the skinning service.
constexpr std::int32_t kSilverSkin = 3;

}  // namespace

void stop_handlers() noexcept { g_stopped = true; }
bool handlers_stopped() noexcept { return g_stopped; }

void window_created() { skin::apply_skin(kSilverSkin); }

DispatchResult dispatch_event(int source, Event event, std::span<const std::int32_t> arguments) {
  if (g_stopped) return {};
  // Step 1: the binding of the event of that source.
  if (source == kMainWindowSource) {
    if (event != Event::created) return {};
    // Step 2: run it; step 3: it gives back nothing.
    window_created();
    return {.handled = true, .result = std::nullopt};
  }
  if (source < 0 || source >= ui::kControlCount) return {};
  const ui::ControlDef& control = ui::controls()[static_cast<std::size_t>(source)];
  if (event == Event::clicked && control.on_click != nullptr) {
    control.on_click();
    return {.handled = true, .result = std::nullopt};
  }
  if (event == Event::key_down && control.on_key_down != nullptr && arguments.size() == 2) {
    control.on_key_down(arguments[0], arguments[1]);
    return {.handled = true, .result = std::nullopt};
  }
  return {};
}

}  // namespace kalvoro::app
