#include "app/program.h"

#include <windows.h>

#include "app/dispatch.h"
#include "app/exit_routine.h"
#include "app/failure_injection.h"
#include "app/fatal.h"
#include "app/main_window.h"
#include "calc/fp_environment.h"
#include "calc/text.h"

namespace kalvoro::app {

namespace {

void* refuse_allocation(std::size_t) { return nullptr; }

// Test builds: make the requested failure happen where it would in earnest.
void arrange_injected_failure() {
  if (injected_failure() == InjectedFailure::text_allocation) {
    const TextAllocator system = set_text_allocator({});
    set_text_allocator({&refuse_allocation, system.release});
  }
}

}  // namespace

void program_init() {}

void program_exit_routine() {}

int program_main() {
  // Step 1: the command line is not read.
  // Step 2: the evaluation rule, before any calculation.
  set_evaluation_environment();
  set_out_of_memory_handler(&out_of_memory);
  arrange_injected_failure();
  // Step 3.
  program_init();
  // Step 4.
  register_exit_routine(&program_exit_routine);
  // Step 5.
  MainWindow window;
  if (!load_main_window(window)) fatal_failure(L"无法创建 Kalvoro 的主窗口。");
  // Step 6.
  run_event_loop(window);
  // Step 7: the quit request carried 0.
  return 0;
}

bool load_main_window(MainWindow& window) {
  // Steps 1 and 2: the hidden window and every control.
  if (!window.create(GetModuleHandleW(nullptr))) return false;
  // Step 3: the created event, before the window is first visible.
  dispatch_event(kMainWindowSource, Event::created, {});
  // Step 4: shown and activated; the focus goes to 编辑框1.
  window.show();
  return true;
}

void run_event_loop(MainWindow& window) {
  MSG message;
  // GetMessageW gives 0 for the quit request and -1 only for an invalid
  // window handle, which this loop never passes.
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.preprocess(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace kalvoro::app
