// Start-up of Vantorel.exe.
#include <windows.h>
#include <objbase.h>

#include "../platform/desktop_services.h"
#include "../platform/library_search.h"
#include "program.h"

namespace {

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
  vantorel::RestrictLibrarySearch();
  ComApartment com;
  vantorel::WindowsDesktopServices services;
  return vantorel::RunProgram(instance, vantorel::kMainWindowControls, services);
}
