#include "app/main_window.h"

#include <string>

#include "app/dispatch.h"
#include "app/failure_injection.h"
#include "app/keys.h"
#include "app/resource.h"

namespace kalvoro::app {

namespace {

using ui::ControlDef;
using ui::ControlKind;

// Control identifiers: the definition index plus this base.
constexpr int kFirstControlId = 1000;

// A fixed single frame with a caption, the system menu and the close button
// only: no minimise or maximise box, no sizing border.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

// The size of the window's icon image.
constexpr int kIconSize = 32;

struct ChildClass {
  LPCWSTR name;
  DWORD style;
  DWORD ex_style;
};

ChildClass child_class(const ControlDef& control) {
  switch (control.kind) {
    case ControlKind::label:
      // Labels paint themselves (WM_DRAWITEM) and never take the focus.
      return {L"STATIC", SS_OWNERDRAW, 0};
    case ControlKind::edit_box:
      // Single line, scrolling sideways as typed, centred; a thin sunken edge.
      return {L"EDIT",
              WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER |
                  static_cast<DWORD>(control.read_only ? ES_READONLY : 0),
              WS_EX_STATICEDGE};
    case ControlKind::button:
      // Plain push buttons: none is the default button.
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
  }
  return {L"STATIC", 0, 0};
}

const ControlDef& definition(int index) { return ui::controls()[static_cast<std::size_t>(index)]; }

}  // namespace

MainWindow::MainWindow() = default;

MainWindow::~MainWindow() {
  // Only after a failed start: a closed window is already gone.
  if (hwnd() != nullptr) DestroyWindow(hwnd());
}

bool MainWindow::create(HINSTANCE instance) {
  icon_ = OwnedIcon(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(KALVORO_ICON), IMAGE_ICON, kIconSize, kIconSize, 0)));
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &BaseWindow::window_procedure;
  wc.hInstance = instance;
  wc.hIcon = icon_.get();
  wc.hIconSm = icon_.get();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"KalvoroMainWindow";
  if (!class_.register_class(wc)) return false;

  // Centred on the primary screen, each half truncated toward zero.
  const ui::Point origin =
      ui::centred_origin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const std::wstring title = ui::utf16_from_gbk(ui::kWindowTitle);
  if (BaseWindow::create(0, class_.name(), title.c_str(), kWindowStyle, origin.x, origin.y,
                         ui::kWindowWidth, ui::kWindowHeight, instance) == nullptr) {
    return false;
  }
  if (!create_controls(instance)) {
    DestroyWindow(hwnd());
    return false;
  }
  attach_box_store(&boxes_);
  quit_on_destroy_ = true;
  return true;
}

bool MainWindow::create_controls(HINSTANCE instance) {
  const bool refuse = injected_failure() == InjectedFailure::window_creation;
  HWND above = HWND_TOP;
  for (int i = 0; i < ui::kControlCount; ++i) {
    const ControlDef& control = definition(i);
    const ChildClass kind = child_class(control);
    const std::wstring text = ui::utf16_from_gbk(control.text);
    const HWND child =
        refuse ? nullptr
               : CreateWindowExW(kind.ex_style, kind.name, text.c_str(),
                                 WS_CHILD | WS_VISIBLE | kind.style, control.left, control.top,
                                 control.width, control.height, hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)),
                                 instance, nullptr);
    if (child == nullptr) return false;
    controls_[static_cast<std::size_t>(i)] = child;
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(look_.font_for(control)), FALSE);
    // The boxes set no length limit of their own; an edit control's default
    // (30,000 characters) would cut a long paste short. 0: the largest.
    if (control.kind == ControlKind::edit_box) SendMessageW(child, EM_SETLIMITTEXT, 0, 0);
    // Stacking: each control goes right under the one defined before it.
    SetWindowPos(child, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = child;
  }
  return true;
}

void MainWindow::show() {
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetForegroundWindow(hwnd());
  UpdateWindow(hwnd());
}

int MainWindow::control_of(HWND window) const {
  if (window == nullptr) return -1;
  for (int i = 0; i < ui::kControlCount; ++i) {
    if (controls_[static_cast<std::size_t>(i)] == window) return i;
  }
  return -1;
}

int MainWindow::focused_control() const { return control_of(GetFocus()); }

bool MainWindow::preprocess(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  if (hwnd() == nullptr || (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd))) {
    return false;
  }
  const auto virtual_key = static_cast<std::uint32_t>(message.wParam);
  const std::int32_t modifiers =
      modifier_state_of(virtual_key, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                        GetKeyState(VK_MENU) < 0);
  // Step 1: the window's own keys, consumed.
  switch (window_key(virtual_key, modifiers)) {
    case WindowKey::next_control:
      move_focus(+1);
      return true;
    case WindowKey::previous_control:
      move_focus(-1);
      return true;
    case WindowKey::close:
      SendMessageW(hwnd(), WM_CLOSE, 0, 0);
      return true;
    case WindowKey::none:
      break;
  }
  // Step 2: the key-down event of the focused control (of the window when
  // none of its controls has the focus).
  const int focused = focused_control();
  const std::array<std::int32_t, 2> arguments{key_code_of(virtual_key), modifiers};
  const DispatchResult dispatched =
      dispatch_event(focused >= 0 ? focused : kMainWindowSource, Event::key_down, arguments);
  // Step 3: only a handler's 0 keeps the key from the control.
  return withholds_key(dispatched);
}

void MainWindow::move_focus(int step) {
  const auto order = ui::focus_order();
  const int count = static_cast<int>(order.size());
  const int focused = focused_control();
  int position = -1;
  for (int i = 0; i < count; ++i) {
    if (order[static_cast<std::size_t>(i)] == focused) position = i;
  }
  // Nothing of ours focused: Tab starts at the first, Shift+Tab at the last.
  const int next = position < 0 ? (step > 0 ? 0 : count - 1) : (position + step + count) % count;
  SetFocus(controls_[static_cast<std::size_t>(order[static_cast<std::size_t>(next)])]);
}

void MainWindow::restore_focus() {
  HWND target = remembered_focus_;
  if (control_of(target) < 0 || !IsWindow(target)) {
    target = controls_[static_cast<std::size_t>(ui::focus_order()[0])];
  }
  SetFocus(target);
}

LRESULT MainWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ACTIVATE:
      on_activate(LOWORD(wparam) != WA_INACTIVE);
      return 0;
    case WM_SETFOCUS:
      on_set_focus();
      return 0;
    case WM_COMMAND:
      on_command(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_CLOSE:
      on_close();
      return 0;
    case WM_DESTROY:
      on_destroy();
      return 0;
    case WM_ERASEBKGND:
      look_.paint_background(hwnd(), reinterpret_cast<HDC>(wparam));
      return 1;
    case WM_DRAWITEM:
      if (on_draw_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))) return TRUE;
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return on_colour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam), message,
                       wparam, lparam);
    default:
      break;
  }
  return BaseWindow::handle_message(message, wparam, lparam);
}

void MainWindow::on_activate(bool active) {
  if (!active) {
    // Remember the control that had the focus, to give it back later.
    const HWND focus = GetFocus();
    if (control_of(focus) >= 0) remembered_focus_ = focus;
    return;
  }
  if (!IsIconic(hwnd())) restore_focus();
}

void MainWindow::on_set_focus() {
  // The window itself never keeps the focus: it goes on to its control.
  restore_focus();
}

void MainWindow::on_command(int id, int code) {
  const int index = id - kFirstControlId;
  if (index < 0 || index >= ui::kControlCount) return;
  if (code == BN_CLICKED && definition(index).kind == ControlKind::button) {
    dispatch_event(index, Event::clicked, {});
  }
}

void MainWindow::on_close() {
  // While the fatal failure box is up the window stays on the screen.
  if (handlers_stopped()) return;
  DestroyWindow(hwnd());
}

void MainWindow::on_destroy() {
  attach_box_store(nullptr);
  // The quit request, carrying the exit status 0.
  if (quit_on_destroy_) PostQuitMessage(0);
}

bool MainWindow::on_draw_item(const DRAWITEMSTRUCT& item) {
  const int index = static_cast<int>(item.CtlID) - kFirstControlId;
  if (index < 0 || index >= ui::kControlCount) return false;
  const ControlDef& control = definition(index);
  if (control.kind != ControlKind::label) return false;
  look_.draw_label(item, control);
  return true;
}

LRESULT MainWindow::on_colour(HDC dc, HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  const int index = control_of(control);
  if (index >= 0 && definition(index).kind == ControlKind::edit_box) {
    return reinterpret_cast<LRESULT>(look_.colour_edit(dc, definition(index)));
  }
  return BaseWindow::handle_message(message, wparam, lparam);
}

}  // namespace kalvoro::app
