// Start-up: the window, the message loop, the exit code.
#include <windows.h>
#include <objbase.h>

#include "../platform/desktop_services.h"
#include "../platform/text.h"
#include "main_window.h"

namespace {

constexpr char kCannotCreateWindow[] =  // 无法创建主窗口。
    "\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8\xD6\xF7\xB4\xB0\xBF\xDA\xA1\xA3";

// Libraries loaded from now on come from the system folder only, never from the folder the
// program was started from: opening the help page makes the shell load many, and a library of
// the same name planted next to the program (in a Downloads folder, say) must not be one of
// them. SetDefaultDllDirectories is looked up because systems before Windows 8 may lack it;
// there, the current folder at least is taken out of the search.
void RestrictLibrarySearch() {
  using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
  const FARPROC found =
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (found != nullptr) {
    const auto setDefault =
        reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void (*)()>(found));
    if (setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  }
  SetDllDirectoryW(L"");
}

// The shell may hand the help page to COM-based extensions, which want an apartment.
class ComApartment {
 public:
  ComApartment()
      : initialized_(
            SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (initialized_) CoUninitialize();
  }

 private:
  bool initialized_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RestrictLibrarySearch();
  ComApartment com;
  vantorel::WindowsDesktopServices services;
  vantorel::MainWindow window(vantorel::kMainWindowControls, services);
  if (!window.Create(instance)) {
    MessageBoxW(nullptr, vantorel::ToUtf16(kCannotCreateWindow).c_str(), L"Vantorel",
                MB_OK | MB_ICONERROR);
    return -1;
  }
  return vantorel::RunMessageLoop(window);
}
