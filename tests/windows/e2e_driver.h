// The end-to-end driver's means: start kalvoro.exe, find its window, send
// it real input (SendInput keys, characters and mouse clicks) and read its
// state from outside (WM_GETTEXT, the focus of its thread, its exit status).
// Every wait polls the observable state with a time limit.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace kalvoro::e2e {

// Polls `done` every few milliseconds until it holds or `limit_ms` passes.
bool wait_until(const std::function<bool()>& done, DWORD limit_ms = 5000);

// GBK bytes -> UTF-16 and back, for the expectations (code page 936).
std::wstring from_gbk(const std::string& gbk);
std::string to_gbk(const std::wstring& text);

// A program path from the environment variable `name`, a Linux path turned
// into Wine's Z: drive; empty when the variable is unset.
std::wstring program_from_environment(const char* name);

// One running copy of the program.
class App {
 public:
  // Starts `program` with `failure` in KALVORO_INJECT_FAILURE (empty: none)
  // and `arguments` on its command line, and waits until it takes input.
  explicit App(const std::wstring& program, const std::wstring& failure = L"",
               const std::wstring& arguments = L"");
  ~App();  // ends the process if it still runs
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  DWORD pid() const { return process_.dwProcessId; }
  DWORD thread() const { return process_.dwThreadId; }

  // The visible top-level window of this process with the given class, or
  // with the class "#32770" for a message box; nullptr when there is none.
  HWND top_window(const wchar_t* class_name) const;
  // Waits for MainWindow; nullptr when it does not come.
  HWND wait_main_window(DWORD limit_ms = 10000);
  HWND main_window() const { return main_; }

  // The 36 child windows in stacking order (topmost first).
  std::vector<HWND> children() const;
  // The child that has the keyboard focus of the program's thread.
  HWND focus() const;
  // The control with the given name in the window definition (UTF-8, as
  // "编辑框1"); nullptr when the name or the window is unknown.
  HWND control(const std::string& name) const;

  // Waits for the process to end; its exit status, or STILL_ACTIVE.
  DWORD wait_exit(DWORD limit_ms = 10000);

 private:
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

// The text of any window of another process.
std::wstring text_of(HWND window);
// The whole text of a window of another process, however long (text_of
// reads at most 511 characters); "<no answer>" when it does not answer
// within `limit_ms` (a program laying out a long text may take a while).
std::wstring whole_text_of(HWND window, UINT limit_ms = 2000);
// Puts `text` on the clipboard as Unicode text, for a Ctrl+V paste.
bool put_on_clipboard(const std::wstring& text);
// Replaces the text of a window of another process (test set-up only).
void set_text(HWND window, const std::wstring& text);
// EM_GETSEL of an edit control of another process.
std::pair<DWORD, DWORD> selection_of(HWND edit);

// Real input.
void type(const std::wstring& text);  // characters, whatever the layout
// Presses `key` with the modifier keys (VK_SHIFT, VK_CONTROL, VK_MENU)
// held, then lets everything go.
void press(WORD key, std::initializer_list<WORD> modifiers = {});
void click(POINT screen);
POINT centre_of(HWND window);
// Lets go of every modifier key. Num Lock is left alone: this thread's view
// of it can differ from the program's, and a toggle sent on that view may
// turn it off for the program (the keypad test sets it by its effect).
void reset_keyboard();
// Makes `window` the foreground window (true when it is).
bool bring_to_front(HWND window);

}  // namespace kalvoro::e2e
