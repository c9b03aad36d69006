#include "tests/windows/e2e_driver.h"

#include <array>
#include <cstdlib>
#include <cstring>

#include "ui/window_definition.h"

namespace kalvoro::e2e {

namespace {

constexpr UINT kGbk = 936;
constexpr DWORD kPollMs = 5;
constexpr UINT kSendLimitMs = 2000;
// Pause between the steps of a click.
constexpr DWORD kPressMs = 15;

void send(std::initializer_list<INPUT> inputs) {
  std::vector<INPUT> list(inputs);
  SendInput(static_cast<UINT>(list.size()), list.data(), sizeof(INPUT));
}

INPUT key_input(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  DWORD flags = up ? KEYEVENTF_KEYUP : 0;
  // The navigation block's End and Home, not the keypad's.
  if (key == VK_END || key == VK_HOME || key == VK_LEFT || key == VK_RIGHT || key == VK_NUMLOCK) {
    flags |= KEYEVENTF_EXTENDEDKEY;
  }
  input.ki.dwFlags = flags;
  return input;
}

}  // namespace

bool wait_until(const std::function<bool()>& done, DWORD limit_ms) {
  const ULONGLONG end = GetTickCount64() + limit_ms;
  while (!done()) {
    if (GetTickCount64() > end) return done();
    Sleep(kPollMs);
  }
  return true;
}

std::wstring from_gbk(const std::string& gbk) {
  if (gbk.empty()) return {};
  const int n = MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), n);
  return wide;
}

std::string to_gbk(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(kGbk, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string gbk(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(kGbk, 0, text.data(), static_cast<int>(text.size()), gbk.data(), n, nullptr,
                      nullptr);
  return gbk;
}

std::wstring program_from_environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return {};
  std::string path = value;
  if (path.front() == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  const int n = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), n);
  wide.resize(static_cast<std::size_t>(n - 1));
  return wide;
}

App::App(const std::wstring& program, const std::wstring& failure, const std::wstring& arguments) {
  SetEnvironmentVariableW(L"KALVORO_INJECT_FAILURE", failure.empty() ? nullptr : failure.c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring command = L"\"" + program + L"\"";
  if (!arguments.empty()) command += L" " + arguments;
  if (CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process_)) {
    WaitForInputIdle(process_.hProcess, 10000);
  }
  SetEnvironmentVariableW(L"KALVORO_INJECT_FAILURE", nullptr);
}

App::~App() {
  if (process_.hProcess == nullptr) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

HWND App::top_window(const wchar_t* class_name) const {
  struct Search {
    DWORD pid;
    const wchar_t* class_name;
    HWND found;
  } search{pid(), class_name, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        std::array<wchar_t, 64> name{};
        GetClassNameW(window, name.data(), static_cast<int>(name.size()));
        if (owner == s.pid && IsWindowVisible(window) &&
            lstrcmpiW(name.data(), s.class_name) == 0) {
          s.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND App::wait_main_window(DWORD limit_ms) {
  wait_until([&] { return (main_ = top_window(L"KalvoroMainWindow")) != nullptr; }, limit_ms);
  return main_;
}

std::vector<HWND> App::children() const {
  std::vector<HWND> list;
  for (HWND child = GetWindow(main_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    list.push_back(child);
  }
  return list;
}

HWND App::focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread(), &info) ? info.hwndFocus : nullptr;
}

HWND App::control(const std::string& name) const {
  const std::vector<HWND> list = children();
  const int index = ui::control_index(name);
  return index >= 0 && static_cast<std::size_t>(index) < list.size()
             ? list[static_cast<std::size_t>(index)]
             : nullptr;
}

DWORD App::wait_exit(DWORD limit_ms) {
  WaitForSingleObject(process_.hProcess, limit_ms);
  DWORD status = STILL_ACTIVE;
  GetExitCodeProcess(process_.hProcess, &status);
  return status;
}

std::wstring text_of(HWND window) {
  std::array<wchar_t, 512> buffer{};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG, kSendLimitMs,
                           &copied)) {
    return L"<no answer>";
  }
  return std::wstring(buffer.data(), copied);
}

std::wstring whole_text_of(HWND window, UINT limit_ms) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, limit_ms, &length)) {
    return L"<no answer>";
  }
  std::wstring buffer(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL, limit_ms,
                           &copied)) {
    return L"<no answer>";
  }
  buffer.resize(copied);
  return buffer;
}

bool put_on_clipboard(const std::wstring& text) {
  // The clipboard may still be held for a moment by the program's last paste.
  if (!wait_until([] { return OpenClipboard(nullptr) != FALSE; }, 2000)) return false;
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool placed = false;
  if (block != nullptr) {
    std::memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    placed = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!placed) GlobalFree(block);  // the clipboard did not take it over
  }
  CloseClipboard();
  return placed;
}

void set_text(HWND window, const std::wstring& text) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                      SMTO_ABORTIFHUNG, kSendLimitMs, &result);
}

std::pair<DWORD, DWORD> selection_of(HWND edit) {
  DWORD_PTR packed = 0;
  SendMessageTimeoutW(edit, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, kSendLimitMs, &packed);
  return {LOWORD(packed), HIWORD(packed)};
}

void type(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wScan = c;
    down.ki.dwFlags = KEYEVENTF_UNICODE;
    INPUT up = down;
    up.ki.dwFlags |= KEYEVENTF_KEYUP;
    send({down, up});
  }
}

void press(WORD key, std::initializer_list<WORD> modifiers) {
  for (WORD m : modifiers) send({key_input(m, false)});
  send({key_input(key, false), key_input(key, true)});
  for (WORD m : modifiers) send({key_input(m, true)});
}

void click(POINT screen) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = screen.x * 65535 / (width - 1);
  move.mi.dy = screen.y * 65535 / (height - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  INPUT down{};
  down.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  INPUT up = down;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  // As a hand does it: the pointer arrives first, then the button goes down
  // and, a moment later, up. A press sent in the same instant as the move
  // can reach the window that was under the pointer before.
  send({move});
  wait_until(
      [&] {
        POINT at{};
        return GetCursorPos(&at) && at.x == screen.x && at.y == screen.y;
      },
      kSendLimitMs);
  Sleep(kPressMs);
  send({down});
  Sleep(kPressMs);
  send({up});
}

POINT centre_of(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void reset_keyboard() {
  for (int m : {VK_SHIFT, VK_CONTROL, VK_MENU}) send({key_input(static_cast<WORD>(m), true)});
}

bool bring_to_front(HWND window) {
  return wait_until([&] {
    if (GetForegroundWindow() == window) return true;
    SetForegroundWindow(window);
    return false;
  });
}

}  // namespace kalvoro::e2e
