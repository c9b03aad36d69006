// The yardstick of the start-up benchmark: a GUI program that only registers
// a class, creates and shows one empty top-level window and runs its event
// loop until the window is closed (WM_CLOSE, as the benchmark's driver asks).
// Built a second time with KALVORO_BENCH_CONTROLS (controls_window.exe), it
// also puts as many standard controls as kalvoro's window has (17 edit
// boxes, 3 buttons, 16 labels; system font, no look) into the window before
// showing it: the floor that the child windows alone set under Wine.
#include <windows.h>

namespace {

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"MinimalWindow";
  if (RegisterClassExW(&wc) == 0) return 1;
  // The size of kalvoro's window, so that both draw as much frame.
  const HWND window =
      CreateWindowExW(0, wc.lpszClassName, L"Minimal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                      CW_USEDEFAULT, CW_USEDEFAULT, 625, 228, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
#ifdef KALVORO_BENCH_CONTROLS
  for (int i = 0; i < 36; ++i) {
    const wchar_t* kind = i < 17 ? L"EDIT" : i < 20 ? L"BUTTON" : L"STATIC";
    CreateWindowExW(0, kind, L"", WS_CHILD | WS_VISIBLE, (i % 6) * 100, (i / 6) * 30, 90, 25,
                    window, nullptr, instance, nullptr);
  }
#endif
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
