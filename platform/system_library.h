// A Windows library loaded by its full path in the system folder when it is first needed, and
// functions looked up in it.
#pragma once

#include <windows.h>

namespace vantorel {

class SystemLibrary {
 public:
  // `name` is a file name such as L"shell32.dll"; it is never searched for elsewhere.
  explicit SystemLibrary(const wchar_t* name);
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;
  ~SystemLibrary();

  explicit operator bool() const { return module_ != nullptr; }

  // The function `name` of type `Function`, or null.
  template <typename Function>
  Function Find(const char* name) const {
    const FARPROC found = module_ != nullptr ? GetProcAddress(module_, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
  }

 private:
  HMODULE module_ = nullptr;
};

}  // namespace vantorel
