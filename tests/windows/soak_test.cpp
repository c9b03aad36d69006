// Soak of the running program: 10,000 button clicks across the three rows
// and 1,000 credit keys (End in 编辑框1), with the process's GDI and USER
// object counts and its private bytes read before and after. Nothing may
// grow but the private bytes, and those only within a small tolerance
// (allocator and Wine bookkeeping that settles after the warm-up).
//
// The clicks: one in 50 is a real mouse click (SendInput at the button's
// centre), the rest are BM_CLICK sent to the button, which the button turns
// into its own press and release, so the program runs the same path
// (BN_CLICKED, the row's handler) without 10,000 round trips of the mouse.
// Each real click and one BM_CLICK in 97 first empties the row's result box
// and checks that the result came back; each credit key does the same with
// 编辑框7.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, whose types they use.
#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/windows/e2e_driver.h"

namespace kalvoro::e2e {
namespace {

constexpr int kRounds = 10;
constexpr int kClicksPerRound = 1000;
constexpr int kKeysPerRound = 100;
constexpr int kRealClickEvery = 50;
constexpr int kCheckedClickEvery = 97;
constexpr SIZE_T kPrivateTolerance = 256 * 1024;
constexpr UINT kSendLimitMs = 5000;

// Wine's GetGuiResources is a stub (it answers 0 with
// ERROR_CALL_NOT_IMPLEMENTED). There the figures come from elsewhere:
// - GDI objects: the used entries of the process's GDI handle table, which
//   Wine keeps in the process and points at from its PEB, as Windows does
//   (PEB field GdiSharedHandleTable, entries of 24 bytes, 65,536 of them; a
//   free entry has type 0);
// - USER objects: the process's windows, top-level and children (its menus,
//   cursors and icons are not counted there).
// Wine also answers 0 for another process's PrivateUsage; there the private
// bytes are the sum of its committed private regions (VirtualQueryEx), which
// is what PrivateUsage counts on Windows.
constexpr std::size_t kPebGdiTableOffset = 0xF8;
constexpr std::size_t kGdiEntries = 0x10000;

struct GdiEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint16_t unique;
  std::uint8_t type;
  std::uint8_t flags;
  std::uint64_t user_pointer;
};
static_assert(sizeof(GdiEntry) == 24);

struct Figures {
  long long gdi = -1;  // -1: could not be read
  long long user = -1;
  long long private_bytes = -1;
  const char* gdi_source = "GetGuiResources";
  const char* user_source = "GetGuiResources";
  const char* private_source = "PrivateUsage";
};

long long gdi_table_count(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) !=
      0) {
    return -1;
  }
  std::uint64_t table = 0;
  const auto* field = reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiTableOffset;
  if (!ReadProcessMemory(process, field, &table, sizeof table, nullptr) || table == 0) return -1;
  std::vector<GdiEntry> entries(kGdiEntries);
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                         entries.size() * sizeof(GdiEntry), nullptr)) {
    return -1;
  }
  long long used = 0;
  for (const GdiEntry& entry : entries) used += entry.type != 0 ? 1 : 0;
  return used;
}

long long window_count(DWORD pid) {
  struct Count {
    DWORD pid;
    long long windows;
  } count{pid, 0};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& c = *reinterpret_cast<Count*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != c.pid) return TRUE;
        ++c.windows;
        EnumChildWindows(
            window,
            [](HWND, LPARAM inner) -> BOOL {
              ++*reinterpret_cast<long long*>(inner);
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&c.windows));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count.windows;
}

long long committed_private(HANDLE process) {
  long long bytes = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (const char* at = nullptr;
       VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
      bytes += static_cast<long long>(region.RegionSize);
    }
  }
  return bytes;
}

Figures figures_of(HANDLE process, DWORD pid) {
  Figures f;
  SetLastError(0);
  f.gdi = GetGuiResources(process, GR_GDIOBJECTS);
  if (f.gdi == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
    f.gdi = gdi_table_count(process);
    f.gdi_source = "GDI handle table";
  }
  SetLastError(0);
  f.user = GetGuiResources(process, GR_USEROBJECTS);
  if (f.user == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
    f.user = window_count(pid);
    f.user_source = "window count";
  }
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof memory)) {
    f.private_bytes = static_cast<long long>(memory.PrivateUsage);
  }
  if (f.private_bytes <= 0) {
    f.private_bytes = committed_private(process);
    f.private_source = "committed private regions";
  }
  return f;
}

class Soak {
 public:
  explicit Soak(App& app) : app_(app) {}

  // The row of each button and what its result boxes show.
  struct Row {
    const char* button;
    const char* box;  // the first result box
    std::wstring expected;
  };

  bool sent_click(HWND button) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kSendLimitMs, &result) !=
           0;
  }

  // `count` clicks, round the three buttons.
  void clicks(int count) {
    for (int i = 0; i < count; ++i, ++clicks_) {
      const Row& row = rows_[static_cast<std::size_t>(clicks_ % 3)];
      const HWND button = app_.control(row.button);
      const HWND box = app_.control(row.box);
      const bool real = clicks_ % kRealClickEvery == 0;
      const bool checked = real || clicks_ % kCheckedClickEvery == 0;
      if (checked) set_text(box, L"");
      if (real) {
        click(centre_of(button));
        ++real_clicks_;
      } else {
        ASSERT_TRUE(sent_click(button)) << "click " << clicks_ << " got no answer";
      }
      if (checked) {
        ASSERT_TRUE(wait_until([&] { return text_of(box) == row.expected; }))
            << "click " << clicks_ << " on " << row.button << " (" << (real ? "real" : "BM_CLICK")
            << "): " << to_gbk(text_of(box));
      }
    }
  }

  // `count` End keys in 编辑框1, each checked by the credit text it writes.
  void credit_keys(int count) {
    const HWND first = app_.control("编辑框1");
    const HWND credit_box = app_.control("编辑框7");
    click(centre_of(first));
    ASSERT_TRUE(wait_until([&] { return app_.focus() == first; }));
    for (int i = 0; i < count; ++i, ++keys_) {
      set_text(credit_box, L"");
      press(VK_END);
      ASSERT_TRUE(wait_until([&] { return text_of(credit_box) == credit_; }))
          << "credit key " << keys_ << ": " << to_gbk(text_of(credit_box));
    }
  }

  // Lets the program finish what is pending (sent messages, then painting).
  void settle() {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(app_.main_window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendLimitMs, &result);
    Sleep(300);
    SendMessageTimeoutW(app_.main_window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendLimitMs, &result);
  }

  const std::vector<Row>& rows() const { return rows_; }
  int clicks_done() const { return clicks_; }
  int real_clicks() const { return real_clicks_; }
  int keys_done() const { return keys_; }

 private:
  App& app_;
  const std::vector<Row> rows_ = {
      {"按钮1", "编辑框4", L"2.9\u20144.3\u7C73"},
      {"按钮2", "编辑框7", L"70\u2014105\u5BF8"},
      {"按钮4", "编辑框16", L"2.2138\u7C73"},
  };
  const std::wstring credit_ = from_gbk(
      "\xD7\xF7\xD5\xDF"
      "Dovrane");
  int clicks_ = 0;
  int real_clicks_ = 0;
  int keys_ = 0;
};

TEST(Soak, ClicksAndCreditKeysLeaveNoObjectsAndNoMemoryBehind) {
  const std::wstring program = program_from_environment("KALVORO_EXE");
  ASSERT_FALSE(program.empty()) << "KALVORO_EXE is not set";
  reset_keyboard();
  App app(program);
  ASSERT_NE(app.wait_main_window(), nullptr) << "no window";
  ASSERT_TRUE(bring_to_front(app.main_window()));
  const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, app.pid());
  ASSERT_NE(process, nullptr);

  // The worked examples of the three rows.
  const std::pair<const char*, const wchar_t*> inputs[] = {
      {"编辑框1", L"20"},  {"编辑框5", L"30"},  {"编辑框3", L"0.7"}, {"编辑框2", L"100"},
      {"编辑框11", L"3"},  {"编辑框8", L"0.7"}, {"编辑框10", L"20"}, {"编辑框6", L"30"},
      {"编辑框9", L"100"}, {"编辑框15", L"16"}, {"编辑框14", L"9"},
  };
  for (const auto& [box, value] : inputs) set_text(app.control(box), value);

  Soak soak(app);
  // Warm-up: every path once and then some, so that first-use allocations
  // (fonts, brushes, caches) are behind the first reading.
  soak.clicks(600);
  soak.credit_keys(50);
  soak.settle();
  const Figures before = figures_of(process, app.pid());
  const int warm_clicks = soak.clicks_done();
  const int warm_real_clicks = soak.real_clicks();
  const int warm_keys = soak.keys_done();

  const ULONGLONG start = GetTickCount64();
  for (int round = 0; round < kRounds; ++round) {
    soak.clicks(kClicksPerRound);
    soak.credit_keys(kKeysPerRound);
    if (HasFatalFailure()) break;
  }
  const double seconds = static_cast<double>(GetTickCount64() - start) / 1000.0;
  soak.settle();
  const Figures after = figures_of(process, app.pid());

  std::printf(
      "[ measured ] %d clicks (%d real) and %d credit keys after the warm-up in %.1f s\n"
      "[ measured ] GDI objects (%s): %lld before, %lld after\n"
      "[ measured ] USER objects (%s): %lld before, %lld after\n"
      "[ measured ] private bytes (%s): %lld before, %lld after (%+lld)\n",
      soak.clicks_done() - warm_clicks, soak.real_clicks() - warm_real_clicks,
      soak.keys_done() - warm_keys, seconds, after.gdi_source, before.gdi, after.gdi,
      after.user_source, before.user, after.user, after.private_source, before.private_bytes,
      after.private_bytes, after.private_bytes - before.private_bytes);
  ASSERT_FALSE(HasFatalFailure());

  ASSERT_GT(before.gdi, 0) << "no GDI figure from " << before.gdi_source;
  if (std::string(before.gdi_source) != "GetGuiResources") {
    // The table count sees an object come and go (this process's own).
    const long long own = gdi_table_count(GetCurrentProcess());
    const HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(gdi_table_count(GetCurrentProcess()), own + 1);
    DeleteObject(brush);
    EXPECT_EQ(gdi_table_count(GetCurrentProcess()), own);
  }
  ASSERT_GT(before.user, 0) << "no USER figure from " << before.user_source;
  ASSERT_GT(before.private_bytes, 0) << "no private bytes figure";
  EXPECT_LE(after.gdi, before.gdi);
  EXPECT_LE(after.user, before.user);
  EXPECT_LT(after.private_bytes - before.private_bytes, static_cast<long long>(kPrivateTolerance));

  // Still right at the end: every result box emptied, each row clicked for
  // real once more.
  for (const char* box : {"编辑框4", "编辑框7", "编辑框16", "编辑框17"}) {
    set_text(app.control(box), L"");
  }
  for (const Soak::Row& row : soak.rows()) click(centre_of(app.control(row.button)));
  for (const Soak::Row& row : soak.rows()) {
    EXPECT_TRUE(wait_until([&] { return text_of(app.control(row.box)) == row.expected; }))
        << row.box << ": " << to_gbk(text_of(app.control(row.box)));
  }
  EXPECT_TRUE(wait_until([&] { return text_of(app.control("编辑框17")) == L"1.2453\u7C73"; }))
      << to_gbk(text_of(app.control("编辑框17")));
  CloseHandle(process);
}

}  // namespace
}  // namespace kalvoro::e2e
