#include "desktop_services.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

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

void WindowsDesktopServices::OpenUrl(std::string_view address) {
  // An open Internet Explorer window becomes the owner of anything the shell shows.
  HWND owner = FindWindowExW(nullptr, nullptr, nullptr, L"Microsoft Internet Explorer");
  ShellExecuteW(owner, L"open", ToUtf16(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vantorel
