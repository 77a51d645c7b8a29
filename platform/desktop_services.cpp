#include "desktop_services.h"

#include <windows.h>
#include <objbase.h>

#include <cstring>

#include "heap.h"
#include "text.h"
#include "win_handles.h"

namespace vantorel {
namespace {

constexpr char kNoticeTitle[] = "\xCC\xE1\xCA\xBE";  // 提示

// Another program, or the system's own clipboard manager, may hold the clipboard for a moment.
constexpr int kOpenClipboardTries = 10;
constexpr DWORD kOpenClipboardPauseMs = 10;

class OpenedClipboard {
 public:
  OpenedClipboard() {
    for (int i = 0; i < kOpenClipboardTries && !open_; ++i) {
      if (i > 0) Sleep(kOpenClipboardPauseMs);
      open_ = OpenClipboard(nullptr) != FALSE;
    }
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  explicit operator bool() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace

void WindowsDesktopServices::ShowInfoMessage(std::string_view text) {
  MessageBoxW(nullptr, ToUtf16(text).c_str(), ToUtf16(kNoticeTitle).c_str(),
              MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

void WindowsDesktopServices::ShowErrorMessage(std::string_view text) {
  MessageBoxW(nullptr, ToUtf16(text).c_str(), L"Vantorel", MB_OK | MB_ICONERROR);
}

bool WindowsDesktopServices::SetClipboardText(std::string_view text) {
  // The block is made before the clipboard is opened and emptied, so that a failure never
  // leaves the user's clipboard empty. GMEM_ZEROINIT provides the terminating NUL.
  GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1));
  if (!block) return false;
  {
    GlobalLockScope lock(block.get());
    if (lock.data() == nullptr) return false;
    std::memcpy(lock.data(), text.data(), text.size());
  }

  OpenedClipboard clipboard;
  if (!clipboard || !EmptyClipboard()) return false;
  if (SetClipboardData(CF_TEXT, block.get()) == nullptr) return false;
  block.release();  // the system owns it now
  return true;
}

// shell32 and ole32, with the COM apartment that the shell's extensions expect on this thread.
struct WindowsDesktopServices::Shell {
  using CoInitializeExProc = HRESULT(WINAPI*)(void*, DWORD);
  using CoUninitializeProc = void(WINAPI*)();
  using ShellExecuteWProc = HINSTANCE(WINAPI*)(HWND, const wchar_t*, const wchar_t*, const wchar_t*,
                                               const wchar_t*, int);

  Shell() {
    const auto initialize = ole.Find<CoInitializeExProc>("CoInitializeEx");
    uninitialize = ole.Find<CoUninitializeProc>("CoUninitialize");
    execute = shell.Find<ShellExecuteWProc>("ShellExecuteW");
    apartment = initialize != nullptr && uninitialize != nullptr &&
                SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  }
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;
  ~Shell() {
    if (apartment) uninitialize();
  }

  SystemLibrary ole{L"ole32.dll"};
  SystemLibrary shell{L"shell32.dll"};
  CoUninitializeProc uninitialize = nullptr;
  ShellExecuteWProc execute = nullptr;
  bool apartment = false;
};

WindowsDesktopServices::~WindowsDesktopServices() {
  HeapDelete(shell_);
}

void WindowsDesktopServices::OpenUrl(std::string_view address) {
  if (shell_ == nullptr) shell_ = HeapNew<Shell>();
  if (shell_ == nullptr || shell_->execute == nullptr) return;
  // An open Internet Explorer window becomes the owner of anything the shell shows.
  HWND owner = FindWindowExW(nullptr, nullptr, nullptr, L"Microsoft Internet Explorer");
  shell_->execute(owner, L"open", ToUtf16(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vantorel
