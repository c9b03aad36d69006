// The control-skinning service: a thread-local creation hook and window
// subclassing. Each restyled window keeps its record (the procedure it had
// before, its styles as found) in a window property, so switching off can
// put everything back.
#include "skin/skin.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "skin/gdi.h"
#include "skin/skin_internal.h"

namespace kalvoro::skin {

namespace detail {

std::optional<Kind> classify(const wchar_t* class_name, LONG_PTR style,
                             const wchar_t* parent_class) {
  if (lstrcmpiW(class_name, L"Button") == 0) {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        return Kind::push_button;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        return Kind::check_box;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return Kind::radio_button;
      case BS_GROUPBOX:
        return Kind::group_box;
      default:  // owner-drawn, user buttons, split buttons, command links
        return std::nullopt;
    }
  }
  if (lstrcmpiW(class_name, L"Edit") == 0) {
    if (parent_class != nullptr && lstrcmpiW(parent_class, L"ComboBox") == 0) return std::nullopt;
    return Kind::edit;
  }
  if (lstrcmpiW(class_name, L"ComboBox") == 0) return Kind::combo_box;
  if (lstrcmpiW(class_name, L"msctls_updown32") == 0) return Kind::up_down;
  return std::nullopt;
}

}  // namespace detail

namespace {

using detail::Kind;
using detail::Skinned;

constexpr const wchar_t* kRecordProperty = L"Kalvoro.Skin";

// The frame styles an edit box loses while it wears the flat frame.
constexpr LONG_PTR kEdgeExStyles = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE;
constexpr LONG_PTR kEdgeStyles = WS_BORDER | WS_DLGFRAME;

LRESULT CALLBACK skinned_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

struct ThreadState {
  int style = 0;  // 0: off
  HHOOK hook = nullptr;
  std::vector<std::unique_ptr<Skinned>> records;

  ThreadState() = default;
  ThreadState(const ThreadState&) = delete;
  ThreadState& operator=(const ThreadState&) = delete;
  // At thread exit the records go while their windows may still exist:
  // the windows get their procedures back first, so none is left pointing
  // at a freed record.
  ~ThreadState();
};

thread_local ThreadState state;

Skinned* record_of(HWND window) { return static_cast<Skinned*>(GetPropW(window, kRecordProperty)); }

void forget(Skinned* record) {
  std::erase_if(state.records, [record](const auto& owned) { return owned.get() == record; });
}

bool is_ours(HWND window) {
  return GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&skinned_procedure);
}

void redraw(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// Draws a button-like control or an up-down control at once, outside
// WM_PAINT: the standard procedures paint state changes (press, focus,
// enable) straight into a window DC, and the skin paints over them.
void repaint_now(const Skinned& record) {
  if (!IsWindowVisible(record.window)) return;
  const detail::WindowDc dc(record.window, false);
  if (record.kind == Kind::up_down) {
    detail::paint_up_down(record, dc.get());
  } else if (record.kind == Kind::combo_box) {
    detail::paint_combo_frame(record, dc.get());
  } else {
    detail::paint_button_like(record, dc.get());
  }
}

// The finishing step once the window exists: edit boxes trade their edge
// for the flat frame (the new non-client size is asked for through
// SWP_FRAMECHANGED), and everything is drawn anew.
void restyle(Skinned& record) {
  if (record.kind == Kind::edit && !record.restyled) {
    record.style = GetWindowLongPtrW(record.window, GWL_STYLE);
    record.ex_style = GetWindowLongPtrW(record.window, GWL_EXSTYLE);
    SetWindowLongPtrW(record.window, GWL_STYLE, record.style & ~kEdgeStyles);
    SetWindowLongPtrW(record.window, GWL_EXSTYLE, record.ex_style & ~kEdgeExStyles);
    record.restyled = true;
    SetWindowPos(record.window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  redraw(record.window);
}

// Hooks the window's procedure. Returns the record, or null when the
// window already wears the skin.
Skinned* attach(HWND window, Kind kind) {
  if (Skinned* existing = record_of(window); existing != nullptr) {
    if (!existing->detached) return nullptr;
    // Switched off earlier while another subclass sat on top of ours: the
    // record is still in the chain and only needs waking up.
    existing->detached = false;
    existing->scheme = &detail::scheme_for(state.style);
    return existing;
  }
  auto record = std::make_unique<Skinned>();
  record->window = window;
  record->kind = kind;
  record->scheme = &detail::scheme_for(state.style);
  if (!SetPropW(window, kRecordProperty, record.get())) return nullptr;
  record->original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&skinned_procedure)));
  if (record->original == nullptr) {
    RemovePropW(window, kRecordProperty);
    return nullptr;
  }
  state.records.push_back(std::move(record));
  return state.records.back().get();
}

// Puts the window back as it was found.
void detach(Skinned* record) {
  const HWND window = record->window;
  if (record->restyled) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR ex_style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(window, GWL_STYLE, style | (record->style & kEdgeStyles));
    SetWindowLongPtrW(window, GWL_EXSTYLE, ex_style | (record->ex_style & kEdgeExStyles));
    record->restyled = false;
  }
  if (is_ours(window)) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->original));
    RemovePropW(window, kRecordProperty);
    forget(record);
  } else {
    // Someone subclassed the window after us: unhooking would cut their
    // procedure out of the chain. Stay in it, passing everything through.
    record->detached = true;
  }
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  redraw(window);
}

std::optional<Kind> kind_of(HWND window, LONG_PTR style, HWND parent) {
  wchar_t class_name[64]{};
  if (GetClassNameW(window, class_name, 64) == 0) return std::nullopt;
  wchar_t parent_class[64]{};
  if (parent != nullptr) GetClassNameW(parent, parent_class, 64);
  return detail::classify(class_name, style, parent_class);
}

// A window that exists already: hooked and restyled at once.
void skin_existing(HWND window) {
  if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return;
  const auto kind =
      kind_of(window, GetWindowLongPtrW(window, GWL_STYLE), GetAncestor(window, GA_PARENT));
  if (!kind) return;
  if (Skinned* record = attach(window, *kind); record != nullptr) restyle(*record);
}

BOOL CALLBACK skin_child(HWND window, LPARAM) {
  skin_existing(window);
  return TRUE;
}

BOOL CALLBACK skin_top_level(HWND window, LPARAM) {
  skin_existing(window);
  EnumChildWindows(window, &skin_child, 0);  // every descendant
  return TRUE;
}

// A window being created: hooked now, before it sees its first message;
// restyled when WM_CREATE has gone through the standard procedure.
LRESULT CALLBACK creation_hook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND && state.style != 0) {
    const HWND window = reinterpret_cast<HWND>(wparam);
    const auto* creation = reinterpret_cast<const CBT_CREATEWNDW*>(lparam);
    const auto kind =
        kind_of(window, static_cast<LONG_PTR>(creation->lpcs->style), creation->lpcs->hwndParent);
    if (kind) attach(window, *kind);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

ThreadState::~ThreadState() {
  if (hook != nullptr) UnhookWindowsHookEx(hook);
  for (const auto& record : records) {
    if (IsWindow(record->window) && is_ours(record->window)) {
      SetWindowLongPtrW(record->window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->original));
      RemovePropW(record->window, kRecordProperty);
    }
  }
}

void switch_off() {
  if (state.hook != nullptr) {
    UnhookWindowsHookEx(state.hook);
    state.hook = nullptr;
  }
  state.style = 0;
  std::vector<Skinned*> active;
  for (const auto& record : state.records) {
    if (!record->detached) active.push_back(record.get());
  }
  for (Skinned* record : active) detach(record);
}

// Mouse-over tracking of buttons and up-down controls.
void track_mouse(Skinned& record) {
  if (record.tracking) return;
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, record.window, 0};
  record.tracking = TrackMouseEvent(&track) != FALSE;
}

LRESULT button_message(Skinned& record, UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND window = record.window;
  switch (message) {
    case WM_PAINT: {
      const detail::PaintDc dc(window);
      detail::paint_button_like(record, dc.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      detail::paint_button_like(record, reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the painter covers every pixel
    case WM_MOUSEMOVE:
      if (!record.hot) {
        record.hot = true;
        track_mouse(record);
        repaint_now(record);
      }
      break;
    case WM_MOUSELEAVE:
      record.hot = false;
      record.tracking = false;
      repaint_now(record);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_UPDATEUISTATE:
    case WM_CAPTURECHANGED:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
    case BM_CLICK: {
      // The standard procedure keeps the state and may draw; the skin
      // draws over it afterwards.
      const LRESULT result = CallWindowProcW(record.original, window, message, wparam, lparam);
      if (record_of(window) == &record && IsWindow(window)) repaint_now(record);
      return result;
    }
    default:
      break;
  }
  return CallWindowProcW(record.original, window, message, wparam, lparam);
}

LRESULT edit_message(Skinned& record, UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND window = record.window;
  switch (message) {
    case WM_NCCALCSIZE:
      if (record.restyled) {
        RECT* area = wparam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam)->rgrc[0]
                            : reinterpret_cast<RECT*>(lparam);
        area->left += detail::kEditFrameWidth;
        area->top += detail::kEditFrameWidth;
        area->right = std::max(area->left, area->right - detail::kEditFrameWidth);
        area->bottom = std::max(area->top, area->bottom - detail::kEditFrameWidth);
        return 0;
      }
      break;
    case WM_NCPAINT:
      if (record.restyled) {
        const detail::WindowDc dc(window, true);
        detail::paint_edit_frame(record, dc.get());
        return 0;
      }
      break;
    case EM_SETREADONLY:
    case WM_ENABLE: {
      // The inner margin follows the read-only state.
      const LRESULT result = CallWindowProcW(record.original, window, message, wparam, lparam);
      RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return result;
    }
    default:
      break;
  }
  return CallWindowProcW(record.original, window, message, wparam, lparam);
}

LRESULT combo_message(Skinned& record, UINT message, WPARAM wparam, LPARAM lparam) {
  const LRESULT result = CallWindowProcW(record.original, record.window, message, wparam, lparam);
  switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CB_SETCURSEL:
      if (record_of(record.window) == &record) repaint_now(record);
      break;
    default:
      break;
  }
  return result;
}

LRESULT up_down_message(Skinned& record, UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND window = record.window;
  switch (message) {
    case WM_PAINT: {
      const detail::PaintDc dc(window);
      detail::paint_up_down(record, dc.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      detail::paint_up_down(record, reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      record.hot = true;
      track_mouse(record);
      break;
    case WM_MOUSELEAVE:
      record.hot = false;
      record.tracking = false;
      break;
    default:
      break;
  }
  const LRESULT result = CallWindowProcW(record.original, window, message, wparam, lparam);
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_TIMER:
    case WM_ENABLE:
    case WM_CAPTURECHANGED:
      if (record_of(window) == &record) repaint_now(record);
      break;
    default:
      break;
  }
  return result;
}

LRESULT CALLBACK skinned_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Skinned* record = record_of(window);
  if (record == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  const WNDPROC original = record->original;
  if (message == WM_NCDESTROY) {
    // Last message: the record goes, the chain is left as it stands.
    if (is_ours(window))
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropW(window, kRecordProperty);
    forget(record);
    return CallWindowProcW(original, window, message, wparam, lparam);
  }
  if (record->detached) return CallWindowProcW(original, window, message, wparam, lparam);
  if (message == WM_CREATE) {
    const LRESULT result = CallWindowProcW(original, window, message, wparam, lparam);
    if (result != -1) restyle(*record);
    return result;
  }
  switch (record->kind) {
    case Kind::push_button:
    case Kind::check_box:
    case Kind::radio_button:
    case Kind::group_box:
      return button_message(*record, message, wparam, lparam);
    case Kind::edit:
      return edit_message(*record, message, wparam, lparam);
    case Kind::combo_box:
      return combo_message(*record, message, wparam, lparam);
    case Kind::up_down:
      return up_down_message(*record, message, wparam, lparam);
  }
  return CallWindowProcW(original, window, message, wparam, lparam);
}

}  // namespace

int apply_skin(std::int32_t style) {
  // Step 1: whatever is in place goes first, so a second call replaces the
  // first rather than stacking on it.
  switch_off();
  if (style < 1 || style > 3) return 0;

  // Step 2: windows created from now on, then those that exist already.
  state.style = style;
  state.hook = SetWindowsHookExW(WH_CBT, &creation_hook, nullptr, GetCurrentThreadId());
  EnumThreadWindows(GetCurrentThreadId(), &skin_top_level, 0);
  return 1;
}

}  // namespace kalvoro::skin
