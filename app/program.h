// The program's main sequence and the routines it runs, in start-up order.
#pragma once

namespace kalvoro::app {

class MainWindow;

// Sets the evaluation rule, runs program_init, registers
// program_exit_routine, builds and shows MainWindow (or takes the fatal
// failure path) and runs the event loop. Gives back 0 once the loop has
// ended; the caller then runs the exit sequence.
int program_main();

// The program's own start-up and exit routines; neither has work to do.
void program_init();
void program_exit_routine();

// Builds MainWindow from its definition, raises its created event while it
// is still hidden, then shows and activates it. False when the window or a
// control cannot be created.
bool load_main_window(MainWindow& window);

// Takes and delivers messages, with the window's key pre-processing, until
// the quit request.
void run_event_loop(MainWindow& window);

}  // namespace kalvoro::app
