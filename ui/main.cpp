// Start-up of Vantorel.exe.
#include <windows.h>

#include "../platform/desktop_services.h"
#include "../platform/library_search.h"
#include "program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  vantorel::RestrictLibrarySearch();
  vantorel::WindowsDesktopServices services;
  return vantorel::RunProgram(instance, vantorel::kMainWindowControls, services);
}
