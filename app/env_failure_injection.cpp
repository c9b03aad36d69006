// Test builds only: KALVORO_INJECT_FAILURE=window makes the creation of the
// controls fail, =text makes every Text allocation fail.
#include <windows.h>

#include <cwchar>

#include "app/failure_injection.h"

namespace kalvoro::app {

InjectedFailure injected_failure() {
  wchar_t value[16] = {};
  const DWORD n = GetEnvironmentVariableW(L"KALVORO_INJECT_FAILURE", value, 16);
  if (n == 0 || n >= 16) return InjectedFailure::none;
  if (std::wcscmp(value, L"window") == 0) return InjectedFailure::window_creation;
  if (std::wcscmp(value, L"text") == 0) return InjectedFailure::text_allocation;
  return InjectedFailure::none;
}

}  // namespace kalvoro::app
