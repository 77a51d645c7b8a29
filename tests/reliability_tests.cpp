// The real program in-process under faults it cannot prevent: windows that cannot be created,
// libraries planted next to it, and thousands of cycles of work that must leave nothing behind.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "../platform/desktop_services.h"
#include "../platform/library_search.h"
#include "../platform/win_handles.h"
#include "../ui/control_kinds.h"
#include "../ui/main_window.h"
#include "../ui/program.h"
#include "support/cp936_reference.h"

namespace vantorel {
namespace {

using testing_support::Cp936;

// --- A window that cannot be created ---------------------------------------------------------

// Fails the creation of the n-th window (counted from 0) of the program's own classes and of
// the standard controls it uses, as Windows does when it runs out of window handles.
class WindowCreationFault {
 public:
  explicit WindowCreationFault(int failing) {
    failing_ = failing;
    created_ = 0;
    hook_ = SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
  }
  WindowCreationFault(const WindowCreationFault&) = delete;
  WindowCreationFault& operator=(const WindowCreationFault&) = delete;
  ~WindowCreationFault() { UnhookWindowsHookEx(hook_); }
  bool installed() const { return hook_ != nullptr; }
  static int created() { return created_; }

 private:
  static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && IsProgramWindow(reinterpret_cast<HWND>(wParam))) {
      if (created_++ == failing_) return 1;  // refuse the creation
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static bool IsProgramWindow(HWND window) {
    wchar_t name[64];
    GetClassNameW(window, name, 64);
    for (const wchar_t* own :
         {L"VantorelMainWindow", kLabelClass, kPictureBoxClass, L"Edit", L"Button"}) {
      if (lstrcmpiW(name, own) == 0) return true;
    }
    return false;
  }

  static inline int failing_ = 0;
  static inline int created_ = 0;
  HHOOK hook_;
};

class ErrorRecordingServices final : public DesktopServices {
 public:
  void ShowInfoMessage(std::string_view text) override { infos.emplace_back(text); }
  void ShowErrorMessage(std::string_view text) override { errors.emplace_back(text); }
  bool SetClipboardText(std::string_view) override { return true; }
  void OpenUrl(std::string_view) override {}
  std::vector<std::string> infos;
  std::vector<std::string> errors;
};

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int WindowsOfThisThread() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

// The main window, then each of its ten controls, fails in turn: every time the user is told,
// the program ends with -1 and no window of it is left behind.
TEST(WindowCreationFailure, EveryStepEndsInTheErrorNoticeAndMinusOne) {
  const int windowsBefore = WindowsOfThisThread();
  const int steps = 1 + static_cast<int>(kMainWindowControls.size());
  for (int failing = 0; failing < steps; ++failing) {
    SCOPED_TRACE("window " + std::to_string(failing) + " cannot be created");
    ErrorRecordingServices services;
    WindowCreationFault fault(failing);
    ASSERT_TRUE(fault.installed());
    EXPECT_EQ(RunProgram(GetModuleHandleW(nullptr), kMainWindowControls, services), -1);
    EXPECT_EQ(WindowCreationFault::created(), failing + 1);
    ASSERT_EQ(services.errors.size(), 1u);
    EXPECT_EQ(services.errors[0], Cp936("无法创建主窗口。"));
    EXPECT_TRUE(services.infos.empty());
    EXPECT_EQ(FindWindowW(L"VantorelMainWindow", nullptr), nullptr);
    EXPECT_EQ(WindowsOfThisThread(), windowsBefore);
  }
}

// --- Libraries planted next to the program ---------------------------------------------------

// Irreversible for the process, so it runs in a process of its own (see CMakeLists.txt).
TEST(LibrarySearch, LibraryPlantedNextToTheProgramIsNotLoaded) {
  constexpr wchar_t kPlanted[] = L"vantorel_planted.dll";
  HMODULE before = LoadLibraryW(kPlanted);
  ASSERT_NE(before, nullptr) << "the test needs the planted library next to the test program";
  FreeLibrary(before);

  RestrictLibrarySearch();
  HMODULE after = LoadLibraryW(kPlanted);
  EXPECT_EQ(after, nullptr) << "a library beside the program was loaded";
  if (after != nullptr) FreeLibrary(after);
  HMODULE system = LoadLibraryW(L"shell32.dll");
  EXPECT_NE(system, nullptr) << "system libraries must still load";
  if (system != nullptr) FreeLibrary(system);
}

// --- Nothing leaks ---------------------------------------------------------------------------

// The desktop as the program uses it, except that notices are counted instead of shown: the
// clipboard is the real one.
class CountingServices final : public DesktopServices {
 public:
  void ShowInfoMessage(std::string_view) override { ++notices; }
  void ShowErrorMessage(std::string_view) override { ++notices; }
  bool SetClipboardText(std::string_view text) override {
    const bool copied = real_.SetClipboardText(text);
    if (copied) ++copies;
    return copied;
  }
  void OpenUrl(std::string_view) override {}
  int notices = 0;
  int copies = 0;

 private:
  WindowsDesktopServices real_;
};

struct Usage {
  DWORD gdiObjects;   // as Windows counts them; Wine answers 0
  DWORD userObjects;  // likewise
  long ownHandles;    // held by the program's handle wrappers (this is a counting build)
  SIZE_T privateBytes;
};

Usage CurrentUsage() {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                          sizeof memory);
  // Windows reports the committed private memory in both fields; Wine only in PagefileUsage.
  const SIZE_T privateBytes =
      memory.PrivateUsage > memory.PagefileUsage ? memory.PrivateUsage : memory.PagefileUsage;
  return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
          GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), liveHandleCount, privateBytes};
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

TEST(NothingLeaks, TenThousandAnalyzeCopyRepaintCycles) {
  CountingServices services;
  MainWindow window(kMainWindowControls, services);
  ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
  HWND analyze = GetDlgItem(window.hwnd(), 按钮1);
  HWND copy = GetDlgItem(window.hwnd(), 按钮2);
  const auto cycle = [&] {
    SendMessageW(analyze, BM_CLICK, 0, 0);
    SendMessageW(copy, BM_CLICK, 0, 0);
    RedrawWindow(window.hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
  };

  // Warm-up: caches of the system's own fill once.
  for (int i = 0; i < 500; ++i) cycle();
  const Usage before = CurrentUsage();
  constexpr int kCycles = 10000;
  for (int i = 0; i < kCycles; ++i) cycle();
  const Usage after = CurrentUsage();

  std::printf(
      "after %d cycles: GDI objects %lu -> %lu, USER objects %lu -> %lu, "
      "handles held by the program's wrappers %ld -> %ld, private bytes %llu -> %llu\n",
      kCycles, before.gdiObjects, after.gdiObjects, before.userObjects, after.userObjects,
      before.ownHandles, after.ownHandles, static_cast<unsigned long long>(before.privateBytes),
      static_cast<unsigned long long>(after.privateBytes));
  EXPECT_EQ(services.notices, 2 * (kCycles + 500));
  EXPECT_EQ(services.copies, kCycles + 500) << "some copies failed";
  EXPECT_EQ(after.gdiObjects, before.gdiObjects);
  EXPECT_EQ(after.userObjects, before.userObjects);
  EXPECT_GT(before.ownHandles, 0) << "not a counting build";
  EXPECT_EQ(after.ownHandles, before.ownHandles);
  // One lost font, brush or text per cycle would be hundreds of kilobytes here.
  EXPECT_LT(after.privateBytes, before.privateBytes + 64 * 1024);
}

}  // namespace
}  // namespace vantorel
