#include "system_library.h"

namespace vantorel {

SystemLibrary::SystemLibrary(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
  if (folder == 0 || folder >= MAX_PATH) return;
  path[folder] = L'\\';
  if (lstrcpynW(path + folder + 1, name, MAX_PATH - static_cast<int>(folder) - 1) == nullptr)
    return;
  module_ = LoadLibraryW(path);
}

SystemLibrary::~SystemLibrary() {
  if (module_ != nullptr) FreeLibrary(module_);
}

}  // namespace vantorel
