// The program's one window: its settings, its controls, its keyboard and focus handling.
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>

#include "../platform/desktop_services.h"
#include "../platform/win_handles.h"
#include "controls.h"

namespace vantorel {

class MainWindow {
 public:
  // `controls` must outlive the window; `services` is what the button handlers use.
  MainWindow(std::span<const ControlRecord> controls, DesktopServices& services);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  // Creates the window and its controls and shows it. False if any of it cannot be created.
  bool Create(HINSTANCE instance);

  HWND hwnd() const { return hwnd_; }

  // The window's own keyboard and mouse handling, for messages to it or its controls, before
  // they are translated and dispatched. True when the message was used up.
  bool PreTranslateMessage(const MSG& message);

  // From now on, destroying the window ends the message loop.
  void QuitOnDestroy() { quitOnDestroy_ = true; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool CreateControls();
  void OnPaint();
  void OnCommand(int id, int notification);
  LRESULT OnColorRequest(UINT message, WPARAM wParam, LPARAM lParam);
  void OnSetFocus();
  bool OnKeyDown(WPARAM key);
  bool OnLeftButtonDown(HWND target);

  const ControlRecord* RecordOf(HWND control) const;
  bool CanTakeFocus(std::size_t index) const;
  bool VisitedBefore(std::size_t a, std::size_t b) const;
  HWND NextInFocusOrder(HWND from, bool forward) const;
  void MoveFocus(bool forward);

  std::span<const ControlRecord> controls_;
  DesktopServices& services_;
  HWND hwnd_ = nullptr;
  HWND savedFocus_ = nullptr;
  bool quitOnDestroy_ = false;
  Icon bigIcon_;
  Icon smallIcon_;
};

// Runs the message loop until the window is gone; returns the exit code.
int RunMessageLoop(MainWindow& window);

}  // namespace vantorel
