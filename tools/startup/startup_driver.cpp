// The start-up benchmark's driver: starts each program given on its command
// line N times, alternating between them, and measures the time from just
// before CreateProcess to its first visible top-level window (polled every
// millisecond), then closes the window with WM_CLOSE and waits for the
// process to end. Prints, per program, the median, minimum and maximum and
// the median's ratio to the first program's, and the file size.
//
// Usage: startup_driver.exe <runs> <program.exe>...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWindowLimitMs = 20000;
constexpr DWORD kExitLimitMs = 10000;

struct Search {
  DWORD pid;
  HWND found;
};

HWND visible_window_of(DWORD pid) {
  Search search{pid, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.pid && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
          s.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

double now_ms() {
  LARGE_INTEGER t{};
  LARGE_INTEGER f{};
  QueryPerformanceCounter(&t);
  QueryPerformanceFrequency(&f);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// One start: milliseconds to the visible window, or a negative number when
// it never came.
double one_start(const std::wstring& program) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring command = L"\"" + program + L"\"";
  const double start = now_ms();
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  HWND window = nullptr;
  while ((window = visible_window_of(process.dwProcessId)) == nullptr &&
         now_ms() - start < kWindowLimitMs) {
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  const double elapsed = now_ms() - start;
  if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, kExitLimitMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, kExitLimitMs);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return window != nullptr ? elapsed : -1;
}

long long size_of(const std::wstring& program) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(program.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring name_of(const std::wstring& program) {
  const std::size_t slash = program.find_last_of(L"\\/");
  return slash == std::wstring::npos ? program : program.substr(slash + 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_driver <runs> <program.exe>...\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  std::vector<std::wstring> programs(argv + 2, argv + argc);
  std::vector<std::vector<double>> times(programs.size());

  // One start of each first, unmeasured: the loader's and the file cache's
  // first touches go to neither.
  for (const std::wstring& program : programs) one_start(program);
  for (int run = 0; run < runs; ++run) {
    for (std::size_t p = 0; p < programs.size(); ++p) {
      const double ms = one_start(programs[p]);
      if (ms < 0) {
        std::fprintf(stderr, "%ls: no visible window\n", programs[p].c_str());
        return 1;
      }
      times[p].push_back(ms);
    }
  }

  std::printf("%-22s %6s %10s %8s %8s %8s %12s\n", "program", "runs", "median ms", "min ms",
              "max ms", "ratio", "size bytes");
  double baseline = 0;
  for (std::size_t p = 0; p < programs.size(); ++p) {
    std::vector<double>& t = times[p];
    std::sort(t.begin(), t.end());
    const double median =
        t.size() % 2 == 1 ? t[t.size() / 2] : (t[t.size() / 2 - 1] + t[t.size() / 2]) / 2;
    if (p == 0) baseline = median;
    std::printf("%-22ls %6zu %10.1f %8.1f %8.1f %8.3f %12lld\n", name_of(programs[p]).c_str(),
                t.size(), median, t.front(), t.back(), median / baseline, size_of(programs[p]));
  }
  return 0;
}
