#include "library_search.h"

#include <windows.h>

namespace vantorel {

void RestrictLibrarySearch() {
  // Looked up, because Windows 7 has it only with update KB2533623 installed.
  using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
  const FARPROC found =
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (found != nullptr) {
    const auto setDefault =
        reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void (*)()>(found));
    if (setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  }
  // Without it, at least the current folder leaves the search.
  SetDllDirectoryW(L"");
}

}  // namespace vantorel
