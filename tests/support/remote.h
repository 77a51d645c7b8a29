// Driving the real Vantorel.exe from another process, as a user would: start it, find its
// window and controls, type, click, read texts and notices, and read its exit code. Every wait
// is bounded; a program still running when the driver is destroyed is killed.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

// Polls `done` (pumping this thread's messages) until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// The text of a window, read with WM_GETTEXT (works across processes).
std::wstring TextOf(HWND window);

// Presses and releases `key` with the given modifiers held (VK_SHIFT, VK_CONTROL, VK_MENU).
void PressKey(WORD key, std::initializer_list<WORD> modifiers = {});

// Types `text` as Unicode characters, each as the keyboard would send it (VK_PACKET).
void TypeText(const std::wstring& text);

// Posts a left click at a point in `window`'s client area, or on the screen, through the real
// mouse.
void ClickAt(HWND window, POINT client);
void ClickAtScreen(POINT screen);

// True when `window` answers a message within two seconds.
bool Answers(HWND window);

class RemoteProgram {
 public:
  // Starts Vantorel.exe from the folder of the running test program and waits for its window.
  RemoteProgram();
  RemoteProgram(const RemoteProgram&) = delete;
  RemoteProgram& operator=(const RemoteProgram&) = delete;
  ~RemoteProgram();

  bool started() const { return window_ != nullptr; }
  HWND window() const { return window_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  HWND Focus() const;

  // Brings the window to the front, so that keys go to it.
  void Activate() const;

  // The notice box of the program that is open now, or null after `timeoutMs`.
  HWND WaitForNotice(DWORD timeoutMs = 5000) const;
  static std::wstring NoticeText(HWND notice);
  // Presses OK in a notice and waits until it has gone.
  static bool Dismiss(HWND notice);

  // Waits until the program waits for input with none pending; false on time-out.
  bool WaitIdle(DWORD timeoutMs = 5000) const;

  // Waits for the process to end; its exit code, or STILL_ACTIVE on time-out.
  DWORD WaitForExit(DWORD timeoutMs = 5000) const;

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

}  // namespace testing_support
