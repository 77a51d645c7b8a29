// Owning wrappers for the Windows handles the program makes: each releases its handle exactly
// once, on every path, and none can be copied.
#pragma once

#include <windows.h>

#include <utility>

namespace vantorel {

#ifdef VANTOREL_COUNT_HANDLES
// Test builds count the handles the wrappers below hold at this moment, so that a test can see
// a leak where Windows cannot report object counts (Wine's GetGuiResources answers 0).
inline long liveHandleCount = 0;
inline void CountHandle(const void* handle, long change) {
  if (handle != nullptr) liveHandleCount += change;
}
#else
inline void CountHandle(const void*, long) {}
#endif

// A handle closed by `Close` when the wrapper goes out of scope.
template <typename Handle, BOOL(WINAPI* Close)(Handle)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) { CountHandle(handle, +1); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle release() {
    CountHandle(handle_, -1);
    return std::exchange(handle_, nullptr);
  }
  void reset(Handle handle = nullptr) {
    if (handle_ != nullptr) Close(handle_);
    CountHandle(handle_, -1);
    handle_ = handle;
    CountHandle(handle_, +1);
  }

 private:
  Handle handle_ = nullptr;
};

inline BOOL WINAPI DeleteGdiObject(HGDIOBJ object) {
  return DeleteObject(object);
}
inline BOOL WINAPI FreeGlobal(HGLOBAL block) {
  return GlobalFree(block) == nullptr;
}

// GDI objects keep their own type so that a font cannot be passed where a brush is wanted.
template <typename T>
class TypedGdiObject {
 public:
  TypedGdiObject() = default;
  explicit TypedGdiObject(T object) : object_(object) {}
  T get() const { return static_cast<T>(object_.get()); }
  explicit operator bool() const { return static_cast<bool>(object_); }
  void reset(T object = nullptr) { object_.reset(object); }

 private:
  UniqueHandle<HGDIOBJ, DeleteGdiObject> object_;
};

using Font = TypedGdiObject<HFONT>;
using Brush = TypedGdiObject<HBRUSH>;
using Bitmap = TypedGdiObject<HBITMAP>;
using MemoryDc = UniqueHandle<HDC, DeleteDC>;
using Icon = UniqueHandle<HICON, DestroyIcon>;
using GlobalBlock = UniqueHandle<HGLOBAL, FreeGlobal>;

// Selects an object into a device context and selects the previous one back on leaving.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint / EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) {
    dc_ = BeginPaint(window, &paint_);
    CountHandle(dc_, +1);
  }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() {
    EndPaint(window_, &paint_);
    CountHandle(dc_, -1);
  }
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// GetDC or GetWindowDC / ReleaseDC.
class WindowDc {
 public:
  static WindowDc Client(HWND window) { return WindowDc(window, GetDC(window)); }
  static WindowDc Whole(HWND window) { return WindowDc(window, GetWindowDC(window)); }
  WindowDc(WindowDc&& other) noexcept
      : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
    CountHandle(dc_, -1);
  }
  HDC get() const { return dc_; }

 private:
  WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) { CountHandle(dc, +1); }
  HWND window_;
  HDC dc_;
};

// GlobalLock / GlobalUnlock.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  ~GlobalLockScope() {
    if (data_ != nullptr) GlobalUnlock(block_);
  }
  void* data() const { return data_; }

 private:
  HGLOBAL block_;
  void* data_;
};

}  // namespace vantorel
